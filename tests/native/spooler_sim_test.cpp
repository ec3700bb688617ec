// The simulated spooler that the page loop's tests stand on: documents,
// pages, forced results and a Cancel pressed during page output.
#include "render/cancel_dialog.h"
#include "test_support.h"

namespace {

class SpoolerSimTest : public plenwick_test::SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    plenwick::ClearAbortFlag();
    dc_ = CreateDCA("wineps.drv", "PDF", nullptr, nullptr);
    ASSERT_NE(dc_, nullptr);
  }

  int StartDoc(const char* name) {
    DOCINFOA info{sizeof(DOCINFOA), name, nullptr, nullptr, 0};
    return StartDocA(dc_, &info);
  }

  // One page with a tick mark of the ruler on it.
  int PrintPage() {
    int started = StartPage(dc_);
    if (started <= 0) return started;
    MoveToEx(dc_, 0, 0, nullptr);
    LineTo(dc_, 0, 20);
    return EndPage(dc_);
  }

  HDC dc_ = nullptr;
};

TEST_F(SpoolerSimTest, ForcedResultsHitTheChosenCall) {
  // Results of StartDoc, StartPage, EndPage, StartPage, EndPage, EndDoc.
  const struct {
    const char* call;
    int nth;
    int result;
    std::vector<int> results;
  } cases[] = {
      {"StartDoc", 1, SP_ERROR, {-1, -1, -1, -1, -1, -1}},
      {"StartPage", 2, SP_ERROR, {1, 1, 1, -1, -1, 1}},  // the page was never started
      {"EndPage", 1, SP_OUTOFDISK, {1, 1, -4, 1, 1, 1}},
      {"EndPage", 2, SP_USERABORT, {1, 1, 1, 1, -3, 1}},
      {"EndDoc", 1, SP_OUTOFMEMORY, {1, 1, 1, 1, 1, -5}},
      {"StartPage", 1, 7, {1, 7, 1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.nth));
    plenwick_test::FreshMachine();
    dc_ = CreateDCA("wineps.drv", "PDF", nullptr, nullptr);
    simwin::ForceSpoolerResult(c.call, c.result, c.nth);
    std::vector<int> results{StartDoc("a"),  StartPage(dc_), EndPage(dc_),
                             StartPage(dc_), EndPage(dc_),   EndDoc(dc_)};
    EXPECT_EQ(results, c.results);
  }
}

TEST_F(SpoolerSimTest, CancelPressedDuringPageOutput) {
  // Cancel comes just before the second page's EndPage. Windows NT asks the
  // abort procedure there and gives the job up; Wine never asks it during
  // pages, so the press waits in the queue and the document ends normally.
  const struct {
    const char* what;
    simwin::SpoolerStyle style;
    std::vector<int> results;  // page 1, page 2, another StartPage, EndDoc
    int abortCalls;
    simwin::SpooledDocument::End end;
    bool secondPageEnded;
  } cases[] = {
      {"Windows NT",
       simwin::SpoolerStyle::kWindowsNt,
       {1, SP_APPABORT, SP_APPABORT, SP_APPABORT},
       4,
       simwin::SpooledDocument::kAbandoned,
       false},
      {"Wine", simwin::SpoolerStyle::kWine, {1, 1, 1, 1}, 1, simwin::SpooledDocument::kEnded, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    plenwick_test::FreshMachine();
    plenwick::ClearAbortFlag();
    simwin::SetSpoolerStyle(c.style);
    dc_ = CreateDCA("wineps.drv", "PDF", nullptr, nullptr);
    plenwick::CancelDialog dialog(nullptr, false);
    ASSERT_EQ(SetAbortProc(dc_, AbrtProc), 1);
    plenwick_test::PressCancelBeforeSpoolerCall("EndPage", 2);
    EXPECT_GT(StartDoc("report.txt"), 0);
    std::vector<int> results{PrintPage(), PrintPage(), StartPage(dc_), EndDoc(dc_)};
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(simwin::AbortProcCalls(), c.abortCalls);
    EXPECT_EQ(plenwick::AbortRequested(), c.style == simwin::SpoolerStyle::kWindowsNt);

    std::vector<simwin::SpooledDocument> documents = simwin::Documents();
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].name, "report.txt");
    EXPECT_EQ(documents[0].end, c.end);
    ASSERT_GE(documents[0].pages.size(), 2u);
    EXPECT_TRUE(documents[0].pages[0].ended);
    ASSERT_EQ(documents[0].pages[0].lines.size(), 1u);
    EXPECT_EQ(documents[0].pages[0].lines[0].y2, 20);
    EXPECT_EQ(documents[0].pages[1].ended, c.secondPageEnded);
  }
}

TEST_F(SpoolerSimTest, WineAsksTheAbortProcedureOnlyWhenTheDocumentStarts) {
  simwin::SetSpoolerStyle(simwin::SpoolerStyle::kWine);
  plenwick::CancelDialog dialog(nullptr, false);
  ASSERT_EQ(SetAbortProc(dc_, AbrtProc), 1);
  simwin::PressDialogButton(dialog.window(), IDCANCEL);
  EXPECT_EQ(StartDoc("report.txt"), 0);
  EXPECT_EQ(simwin::AbortProcCalls(), 1);
  EXPECT_TRUE(simwin::Documents().empty());
}

}  // namespace
