// The simulated spooler that the page loop's tests stand on: forced results,
// and Wine's one question to the abort procedure (a Cancel pressed during
// page output is page_loop_test's, on both spooler styles).
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
