#include "render/report_file.h"

#include "render/line_reader.h"
#include "render/text_output.h"
#include "test_support.h"

namespace {

class ReportFileTest : public plenwick_test::SimTest {
 protected:
  static HDC PrinterDc() { return CreateDCA("wineps.drv", "PDF", nullptr, nullptr); }
};

// Two files at once (a second request on another thread, a test) each draw
// in the fonts made for them: making the second file's fonts neither
// deletes nor replaces the first's.
TEST_F(ReportFileTest, EachFileDrawsInItsOwnFonts) {
  plenwick::PrintJob small, large;
  small.pointSize = 10;
  large.pointSize = 20;
  plenwick::ReportFile first(small), second(large);
  first.deviceContext.reset(PrinterDc());
  second.deviceContext.reset(PrinterDc());
  ASSERT_TRUE(plenwick::CreateStyleFonts(first));
  ASSERT_TRUE(plenwick::CreateStyleFonts(second));
  EXPECT_EQ(simwin::LiveFonts(), 8u);
  plenwick::PutRun(first, plenwick::kBold, 0, 0, "a", 1);
  plenwick::PutRun(second, plenwick::kPlain, 0, 0, "b", 1);
  plenwick::PutRun(first, plenwick::kPlain, 0, 0, "c", 1);

  struct Drawn {
    HDC dc;
    int height, weight;
  };
  const Drawn expected[] = {
      {first.dc(), -42, 700}, {second.dc(), -83, 400}, {first.dc(), -42, 400}};
  std::vector<simwin::GdiEvent> texts;
  for (const auto& event : simwin::GdiEvents()) {
    if (event.kind == simwin::GdiEvent::kText) texts.push_back(event);
  }
  ASSERT_EQ(texts.size(), 3u);
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(texts[i].text);
    EXPECT_EQ(texts[i].dc, expected[i].dc);
    EXPECT_EQ(texts[i].height, expected[i].height);
    EXPECT_EQ(texts[i].weight, expected[i].weight);
  }
}

// Whatever a file got as far as holding, it gives back when it goes, the
// fonts before the device context they are selected into.
TEST_F(ReportFileTest, AFileGivesBackWhatItHeldWhereverItStopped) {
  WriteFile("report.txt", "line\n");
  struct Case {
    const char* name;
    const char* file;
    bool deviceContext;
    bool fonts;
  };
  const Case cases[] = {
      {"nothing opened", "missing.txt", false, false},
      {"file only", "report.txt", false, false},
      {"file and device context", "report.txt", true, false},
      {"file, device context and fonts", "report.txt", true, true},
  };
  size_t before = simwin::OpenHandleCount();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      plenwick::PrintJob job;
      job.fileName = c.file;
      plenwick::ReportFile file(job);
      EXPECT_EQ(file.Open(), std::string(c.file) == "report.txt");
      if (c.deviceContext) file.deviceContext.reset(PrinterDc());
      if (c.fonts) {
        ASSERT_TRUE(plenwick::CreateStyleFonts(file));
      }
    }
    EXPECT_EQ(simwin::OpenHandleCount(), before);
    EXPECT_EQ(simwin::LiveFonts(), 0u);
  }
}

TEST_F(ReportFileTest, AFileThatCannotBeOpenedSaysSoAndReadsNothing) {
  std::string log = EnableLog();
  plenwick::PrintJob job;
  job.fileName = "missing.txt";
  plenwick::ReportFile file(job);
  EXPECT_FALSE(file.Open());
  char buffer[16];
  plenwick::LineStatus status;
  EXPECT_EQ(plenwick::GetLine(file, buffer, sizeof buffer, status), 0);
  EXPECT_EQ(status, plenwick::CTL_EOF);
  EXPECT_EQ(ReadFile(log).rfind("lopen(missing.txt) failed because of error 2\n", 0), 0u);
}

}  // namespace
