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
    std::vector<int> results{StartDoc("a"), StartPage(dc_), EndPage(dc_),
                             StartPage(dc_), EndPage(dc_),  EndDoc(dc_)};
    EXPECT_EQ(results, c.results);
  }
}

TEST_F(SpoolerSimTest, CancelPressedDuringPageOutputAbandonsTheDocument) {
  plenwick::CancelDialog dialog(nullptr, false);
  ASSERT_EQ(SetAbortProc(dc_, AbrtProc), 1);
  plenwick_test::PressCancelAtAbortCall(2);
  EXPECT_GT(StartDoc("report.txt"), 0);
  EXPECT_GT(PrintPage(), 0);
  EXPECT_EQ(PrintPage(), SP_APPABORT);  // the second page's output is where Cancel came
  EXPECT_EQ(StartPage(dc_), SP_APPABORT);
  EXPECT_EQ(EndDoc(dc_), SP_APPABORT);
  EXPECT_EQ(simwin::AbortProcCalls(), 2);
  EXPECT_FALSE(simwin::LastAbortProcAnswer());
  EXPECT_TRUE(plenwick::AbortRequested());

  std::vector<simwin::SpooledDocument> documents = simwin::Documents();
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(documents[0].name, "report.txt");
  EXPECT_EQ(documents[0].end, simwin::SpooledDocument::kAbandoned);
  ASSERT_EQ(documents[0].pages.size(), 2u);
  EXPECT_TRUE(documents[0].pages[0].ended);
  ASSERT_EQ(documents[0].pages[0].lines.size(), 1u);
  EXPECT_EQ(documents[0].pages[0].lines[0].y2, 20);
  EXPECT_FALSE(documents[0].pages[1].ended);
}

}  // namespace
