#include <cstring>
#include <functional>
#include <string>

#include "request/print_request.h"
#include "render/page_loop.h"
#include "test_support.h"

namespace {

using plenwick_test::Arguments;

// A printer whose page holds exactly ten rows of its default font.
constexpr int kLineHeight = 50;
constexpr int kLinesPerPage = 10;

class PageLoopTest : public plenwick_test::SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    AddTenRowPrinter();
    handlesAtStart_ = simwin::OpenHandleCount();
  }

  static void AddTenRowPrinter() {
    simwin::PrinterSpec spec;
    spec.vertRes = kLinesPerPage * kLineHeight;
    spec.tmHeight = kLineHeight;
    spec.tmExternalLeading = 0;
    simwin::AddPrinter(spec);  // replaces the default "PDF"
  }

  void TearDown() override {
    EXPECT_EQ(simwin::OpenHandleCount(), handlesAtStart_) << "platform objects left open";
    SimTest::TearDown();
  }

  // Prints a request and returns the pages of its last document.
  std::vector<simwin::SpooledPage> Print(std::initializer_list<std::string> args) {
    Arguments arguments(args);
    plenwick_test::RunPrintRequest(arguments);
    return simwin::Pages();
  }

  static std::string Lines(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
  }

  // The text of a page holding these lines, one row each.
  static std::string Rows(int first, int last) {
    std::string text = Lines(first, last);
    text.pop_back();
    return text;
  }

  static std::vector<std::string> PageTexts(const std::vector<simwin::SpooledPage>& pages) {
    std::vector<std::string> texts;
    for (const auto& page : pages) texts.push_back(page.Text());
    return texts;
  }

  size_t handlesAtStart_ = 0;
};

TEST_F(PageLoopTest, PaginationRules) {
  struct Case {
    const char* what;
    std::string report;
    std::vector<std::string> pages;  // text of each page, rows joined by "\n"
  } cases[] = {
      {"empty report: a document without pages", "", {}},
      {"one line without a line end", "only", {"only"}},
      {"form feeds at the very start are skipped", "\f\f\fA\nB\n", {"A\nB"}},
      {"text then a form feed on the first line stays on page 1", "A\fB\n", {"A\nB"}},
      {"only the first line's form feed counts as initial", "\fA\nB\fC\n", {"A\nB", "C"}},
      {"a form feed ends the page after its text", "A\nB\fC\n", {"A\nB", "C"}},
      {"two form feeds make an empty page", "A\nB\f\fC\n", {"A\nB", "", "C"}},
      {"a trailing form feed adds no page", "A\f", {"A"}},
      {"ten rows per form feed: one page each",
       Lines(1, 10) + "\f" + Lines(11, 20) + "\f",
       {Rows(1, 10), Rows(11, 20)}},
      {"a full page's form feed on its last row's line ends that page",
       Lines(1, 9) + "line 10\f" + Lines(11, 19) + "line 20\f" + Lines(21, 29) + "line 30\f",
       {Rows(1, 10), Rows(11, 20), Rows(21, 30)}},
      {"a full page's form feed on a line of its own ends that page",
       Lines(1, 10) + "\f" + Lines(11, 20) + "\f" + Lines(21, 30) + "\f",
       {Rows(1, 10), Rows(11, 20), Rows(21, 30)}},
      {"eleven rows and a form feed: the eleventh row alone on the next page",
       Lines(1, 11) + "\f" + Lines(12, 22) + "\f",
       {Rows(1, 10), "line 11", Rows(12, 21), "line 22"}},
      {"a report ending with a full page adds no empty page", Lines(1, 10), {Rows(1, 10)}},
      {"without form feeds a page holds ten rows",
       Lines(1, 23),
       {Rows(1, 10), Rows(11, 20), "line 21\nline 22\nline 23"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile("report.txt", c.report);
    std::vector<simwin::SpooledPage> pages = Print({"report.txt"});
    ASSERT_EQ(simwin::Documents().size(), 1u);
    EXPECT_EQ(simwin::Documents()[0].end, simwin::SpooledDocument::kEnded);
    EXPECT_EQ(simwin::Documents()[0].name, "report.txt");
    EXPECT_EQ(PageTexts(pages), c.pages);
    plenwick_test::FreshMachine();
    simwin::PrinterSpec spec;
    spec.vertRes = kLinesPerPage * kLineHeight;
    simwin::AddPrinter(spec);
  }
}

TEST_F(PageLoopTest, RowsAreLaidOutOnTheGrid) {
  WriteFile("report.txt", "ab\n\n  cd\n");
  auto pages = Print({"report.txt"});
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].texts.size(), 3u);  // the empty line is a run of length 0
  EXPECT_EQ(pages[0].texts[0].y, 0);
  EXPECT_EQ(pages[0].texts[1].text, "");
  EXPECT_EQ(pages[0].texts[2].y, 2 * kLineHeight);  // the empty line took its row
  EXPECT_EQ(pages[0].texts[2].x, 0);
  EXPECT_EQ(pages[0].texts[2].text, "  cd");
}

TEST_F(PageLoopTest, FontTallerThanThePagePrintsOneLinePerPage) {
  simwin::PrinterSpec spec;
  spec.vertRes = kLineHeight - 1;
  simwin::AddPrinter(spec);
  WriteFile("report.txt", "A\nB\nC\n");
  EXPECT_EQ(PageTexts(Print({"report.txt"})), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(PageLoopTest, RulerOnEveryPageAndBelowAnUnfinishedLastPage) {
  WriteFile("report.txt", "A\nB\fC\n");
  auto pages = Print({"-ruler", "report.txt"});
  ASSERT_EQ(pages.size(), 2u);
  int ticks = 2479 / 10 + 1;  // from 0 to the printable width in steps of 10
  ASSERT_EQ(pages[0].lines.size(), static_cast<size_t>(ticks));
  EXPECT_EQ(pages[0].lines[0].y, 0);
  EXPECT_EQ(pages[0].lines[0].y2, 20);  // every fifth tick is long
  EXPECT_EQ(pages[0].lines[1].y2, 10);
  ASSERT_EQ(pages[1].lines.size(), static_cast<size_t>(2 * ticks));
  EXPECT_EQ(pages[1].lines[ticks].y, kLineHeight);  // just below the last line
}

TEST_F(PageLoopTest, AFullLastPageGetsNoSecondRuler) {
  int ticks = 2479 / 10 + 1;
  for (int rows : {kLinesPerPage, kLinesPerPage + 1}) {
    SCOPED_TRACE(rows);
    plenwick_test::FreshMachine();
    simwin::PrinterSpec spec;
    spec.vertRes = kLinesPerPage * kLineHeight;
    simwin::AddPrinter(spec);
    WriteFile("report.txt", Lines(1, rows));
    auto pages = Print({"-ruler", "report.txt"});
    ASSERT_EQ(pages.size(), rows == kLinesPerPage ? 1u : 2u);
    EXPECT_EQ(pages[0].lines.size(), static_cast<size_t>(ticks)) << "the full page";
    EXPECT_EQ(pages.back().lines.size(),
              static_cast<size_t>(rows == kLinesPerPage ? ticks : 2 * ticks));
  }
}

// Whatever the report, every row's cell lies inside the printable height.
TEST_F(PageLoopTest, EveryRowFitsThePrintableHeight) {
  const std::string reports[] = {
      Lines(1, 95),
      Lines(1, 10) + "\f" + Lines(11, 21) + "\f\f" + Lines(22, 40),
      "\f" + Lines(1, 9) + "line 10\fline 11\n" + Lines(12, 35),
  };
  for (const std::string& report : reports) {
    plenwick_test::FreshMachine();
    simwin::PrinterSpec spec;
    spec.vertRes = kLinesPerPage * kLineHeight + kLineHeight / 2;  // half a row to spare
    simwin::AddPrinter(spec);
    WriteFile("report.txt", report);
    auto pages = Print({"report.txt"});
    size_t rows = 0;
    for (const auto& page : pages) {
      for (const auto& text : page.texts) {
        EXPECT_LE(text.y + kLineHeight, spec.vertRes) << text.text;
        ++rows;
      }
    }
    size_t lines = 0;
    for (size_t at = report.find("line "); at != std::string::npos;
         at = report.find("line ", at + 1)) {
      ++lines;
    }
    EXPECT_EQ(rows, lines);
  }
}

TEST_F(PageLoopTest, TitlesAndLog) {
  std::string log = EnableLog();
  WriteFile("report.txt", "\fA\nB\fC");
  Print({"report.txt"});
  std::string text = ReadFile(log);
  for (const char* expected :
       {"Skipping initial FORM_FEED\n", "Printing report.txt (page 1)\n",
        "Printing report.txt (page 2)\n", "GetLine returned A\n", "GetLine returned C\n",
        "GetLine found CTL_EOF\n", "GetLine: found EOF - GetLastError() = "}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(text.find("(page 3)"), std::string::npos);
}

TEST_F(PageLoopTest, LongFileNameTitleIsCut) {
  std::string log = EnableLog();
  std::string name(120, 'r');
  WriteFile(name, "A\n");
  Print({name});
  std::string text = ReadFile(log);
  size_t at = text.find("Printing ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(text.substr(at, text.find('\n', at) - at), "Printing " + std::string(99, 'r'));
}

TEST_F(PageLoopTest, SpoolerFailuresShowTheirBoxAndEndTheFile) {
  struct Case {
    const char* call;
    int result;
    int nth;
    const char* box;
    const char* logLine;
    size_t pagesEnded;
  } cases[] = {
      {"StartDoc", -1, 1, "StartDoc returned -1 (Unknown general error).", nullptr, 0},
      {"StartPage", -1, 2, "StartPage returned -1 (Unknown general error).",
       "StartPage failed - exiting\n", 1},
      {"EndPage", -4, 1, "EndPage returned -4 (Out of disk).", "EndPage failed - exiting\n", 0},
      {"EndPage", -5, 2, "EndPage returned -5 (Out of memory).", "EndPage (2) failed - exiting\n",
       1},
      {"EndDoc", -3, 1, "EndDoc returned -3 (User Abort by Print Manager).", nullptr, 2},
      {"EndDoc", -9, 1, "EndDoc returned -9 (Unknown spooler error).", nullptr, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.nth));
    plenwick_test::FreshMachine();
    std::string log = EnableLog("fail.log");
    WriteFile("report.txt", "A\nB\fC\n");
    WriteFile("other.txt", "D\n");
    simwin::ForceSpoolerResult(c.call, c.result, c.nth);
    Print({"-disposition=scratch", "report.txt", "other.txt"});
    const auto& boxes = simwin::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.box);
    EXPECT_EQ(boxes[0].caption, "(null)");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR));
    if (c.logLine) {
      EXPECT_NE(ReadFile(log).find(c.logLine), std::string::npos);
    }
    size_t ended = 0;
    size_t documents = 0;
    for (const auto& document : simwin::Documents()) {
      if (document.name != "report.txt") continue;
      ++documents;
      for (const auto& page : document.pages) ended += page.ended;
      // Abandoned with AbortDoc, not left open for DeleteDC to discard.
      EXPECT_EQ(document.end, simwin::SpooledDocument::kAborted);
    }
    EXPECT_EQ(documents, strcmp(c.call, "StartDoc") == 0 ? 0u : 1u);
    EXPECT_EQ(ended, c.pagesEnded);
    EXPECT_TRUE(Exists("report.txt")) << "a report that failed to print is kept";
    EXPECT_FALSE(Exists("other.txt")) << "the request goes on with the next file";
    EXPECT_EQ(simwin::OpenHandleCount(), 0u);
  }
}

// A read that fails part way (a damaged disk, a share gone) is no end of
// the report: what was printed of it is abandoned, the user is told why,
// the report stays whatever the disposition, and the request goes on.
TEST_F(PageLoopTest, ReadErrorAbandonsTheDocumentAndKeepsTheReport) {
  for (long failAfter : {0L, 40L, 4096L}) {
    SCOPED_TRACE(failAfter);
    plenwick_test::FreshMachine();
    std::string log = EnableLog("read.log");
    WriteFile("report.txt", Lines(1, 1000));
    WriteFile("other.txt", "D\n");
    simwin::FailReadsAfter(failAfter, 30);  // ERROR_READ_FAULT
    Print({"-disposition=scratch", "report.txt", "other.txt"});
    const auto& boxes = simwin::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Reading report.txt failed; it was not printed. The system cannot read from the "
              "specified device.");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_NE(ReadFile(log).find("Reading report.txt failed - exiting\n"), std::string::npos);
    auto documents = simwin::Documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].end, simwin::SpooledDocument::kAborted);
    EXPECT_EQ(documents[1].end, simwin::SpooledDocument::kEnded);
    EXPECT_TRUE(Exists("report.txt"));
    EXPECT_FALSE(Exists("other.txt"));
  }
}

TEST_F(PageLoopTest, CancelAbandonsTheDocumentAndTheRequestGoesOn) {
  // A report of three pages and the next report of the request. Windows NT
  // gives the job up itself when the abort procedure says stop, and its
  // next page call fails; Wine never asks the abort procedure while pages
  // go out. Either way the user's Cancel abandons the document once, ends
  // nothing, shows no box and keeps the report.
  using simwin::SpoolerStyle;
  const struct {
    const char* what;
    SpoolerStyle style;
    std::function<void()> press;
    size_t pagesEnded;
  } cases[] = {
      {"Windows NT, Cancel as the first page starts", SpoolerStyle::kWindowsNt,
       [] { plenwick_test::PressCancelAtAbortCall(1); }, 0},
      {"Windows NT, Cancel during the first page's output", SpoolerStyle::kWindowsNt,
       [] { plenwick_test::PressCancelBeforeSpoolerCall("EndPage", 1); }, 0},
      {"Windows NT, Cancel during the last page's output", SpoolerStyle::kWindowsNt,
       [] { plenwick_test::PressCancelBeforeSpoolerCall("EndPage", 3); }, 2},
      {"Wine, Cancel during the first page", SpoolerStyle::kWine,
       [] { plenwick_test::PressCancelBeforeSpoolerCall("EndPage", 1); }, 1},
      {"Wine, Cancel during the last page", SpoolerStyle::kWine,
       [] { plenwick_test::PressCancelBeforeSpoolerCall("EndPage", 3); }, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    plenwick_test::FreshMachine();
    AddTenRowPrinter();
    simwin::SetSpoolerStyle(c.style);
    std::string log = EnableLog("cancel.log");
    WriteFile("report.txt", Lines(1, 30));
    WriteFile("other.txt", "D\n");
    c.press();
    Print({"-disposition=scratch", "report.txt", "other.txt"});

    EXPECT_TRUE(simwin::MessageBoxes().empty()) << simwin::MessageBoxes()[0].text;
    EXPECT_NE(ReadFile(log).find("report.txt cancelled by the user\n"), std::string::npos);
    std::vector<simwin::SpooledDocument> documents = simwin::Documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].end, simwin::SpooledDocument::kAborted);
    size_t ended = 0;
    for (const auto& page : documents[0].pages) ended += page.ended;
    EXPECT_EQ(ended, c.pagesEnded);
    size_t abortDocs = 0;
    size_t endDocs = 0;
    for (const auto& event : simwin::GdiEvents()) {
      abortDocs += event.kind == simwin::GdiEvent::kAbortDoc;
      endDocs += event.kind == simwin::GdiEvent::kEndDoc;
    }
    EXPECT_EQ(abortDocs, 1u) << "abandoned once";
    EXPECT_EQ(endDocs, 1u) << "only the next report's document is ended";
    EXPECT_TRUE(Exists("report.txt")) << "a cancelled report is kept";

    EXPECT_EQ(documents[1].name, "other.txt");
    EXPECT_EQ(documents[1].end, simwin::SpooledDocument::kEnded);
    EXPECT_EQ(PageTexts(documents[1].pages), std::vector<std::string>{"D"});
    EXPECT_FALSE(Exists("other.txt")) << "the next report printed and went";
  }
}

TEST_F(PageLoopTest, NoWindowsPrintsWithoutADialog) {
  WriteFile("report.txt", "A\n");
  auto pages = Print({"-interactive=none", "report.txt"});
  EXPECT_EQ(PageTexts(pages), std::vector<std::string>{"A"});
  EXPECT_EQ(simwin::DialogsCreated(), 0u);
}

TEST_F(PageLoopTest, RawModeNeedsPassThrough) {
  simwin::PrinterSpec spec;
  spec.passThrough = false;
  simwin::AddPrinter(spec);
  std::string log = EnableLog();
  WriteFile("report.txt", "A\n");
  auto pages = Print({"-raw", "report.txt"});
  EXPECT_NE(ReadFile(log).find("PASSTHROUGH not supported, ignoring -raw flag\n"),
            std::string::npos);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(pages[0].escapes.empty());
  EXPECT_EQ(pages[0].Text(), "A");
}

TEST_F(PageLoopTest, RawModePassesLinesThrough) {
  WriteFile("report.txt", "A\x1b(s3B\n");
  auto pages = Print({"-raw", "report.txt"});
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].escapes.size(), 1u);
  EXPECT_EQ(pages[0].escapes[0].text, "A\x1b(s3B\n");  // the line feed too
}

TEST_F(PageLoopTest, OptionsApplyToTheFilesAfterThem) {
  WriteFile("first.txt", "1\n");
  WriteFile("second.txt", "2\n");
  Print({"first.txt", "-copies=3", "-orientation=landscape", "second.txt"});
  const auto& calls = simwin::CreateDCCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].devMode.dmCopies, 1);
  EXPECT_EQ(calls[0].devMode.dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(calls[1].devMode.dmCopies, 3);
  EXPECT_EQ(calls[1].devMode.dmOrientation, DMORIENT_LANDSCAPE);
  ASSERT_EQ(simwin::Documents().size(), 2u);
  EXPECT_EQ(simwin::Documents()[1].name, "second.txt");
}

TEST_F(PageLoopTest, DeviceContextThatCannotBeMadeSkipsTheFile) {
  WriteFile("report.txt", "1\n");
  simwin::FailNextCreateDC();
  Print({"report.txt"});
  EXPECT_TRUE(simwin::Documents().empty());
  EXPECT_TRUE(simwin::MessageBoxes().empty());
}

// Network printer names are often longer than the device mode's 31
// characters: chosen as the selected printer or by the job, they print.
TEST_F(PageLoopTest, PrintersWithLongNamesPrint) {
  const std::string name = "\\\\PRINTSRV01\\Accounting Floor 3 LaserJet 4250";
  for (bool selected : {true, false}) {
    SCOPED_TRACE(selected ? "selected printer" : "-printer_id");
    plenwick_test::FreshMachine();
    simwin::AddPrinter(simwin::PrinterSpec{});
    simwin::PrinterSpec spec;
    spec.name = name;
    simwin::AddPrinter(spec);
    if (selected) simwin::SetDefaultPrinter(name);
    WriteFile("report.txt", "total 42\n");
    auto pages = selected ? Print({"-disposition=scratch", "report.txt"})
                          : Print({"-disposition=scratch", "-printer_id=" + name, "report.txt"});
    ASSERT_EQ(simwin::Documents().size(), 1u);
    EXPECT_EQ(simwin::CreateDCCalls().back().device, name);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].Text(), "total 42");
    EXPECT_FALSE(Exists("report.txt"));
  }
}

}  // namespace
