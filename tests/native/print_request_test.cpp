#include <sys/stat.h>

#include <cstring>

#include "failing_allocation.h"
#include "options/option_parser.h"
#include "core/regular_file.h"
#include "render/report_file.h"
#include "request/print_request.h"
#include "test_support.h"

namespace {

using plenwick_test::Arguments;

class PrintRequestTest : public plenwick_test::SimTest {};

TEST_F(PrintRequestTest, EmptyRequestSelectsTheDefaultPrinterAndPrintsNothing) {
  std::string log = EnableLog();
  Arguments args{};
  plenwick_test::RunPrintRequest(args);
  EXPECT_EQ(ReadFile(log), "GetDevMode() new PRINTDLG created.\nargc = [0]\n");
  ASSERT_EQ(simwin::PrintDlgCalls().size(), 1u);
  EXPECT_EQ(simwin::PrintDlgCalls()[0].flags, 0x14040Cu);
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
}

TEST_F(PrintRequestTest, LogsEveryArgumentAndToldOptionsFromFiles) {
  std::string log = EnableLog();
  WriteFile("report.txt", "hello\n");
  Arguments args{"-copies=2", "/ruler", "\"report.txt\"", "missing.txt"};
  plenwick_test::RunPrintRequest(args);
  // The request's own lines, in order, with the printing of report.txt
  // between its argument line and the next one.
  std::string text = ReadFile(log);
  size_t at = 0;
  for (const char* expected :
       {"GetDevMode() new PRINTDLG created.\n", "argc = [4]\n", "argv[0] = [-copies=2]\n",
        "Parse_Arg(copies=2)\n", "Parse_Arg() val=[2]\n", "argv[1] = [/ruler]\n",
        "Parse_Arg(ruler)\n", "argv[2] = [\"report.txt\"]\n", "Printing report.txt (page 1)\n",
        "argv[3] = [missing.txt]\n", "lopen(missing.txt) failed because of error 2\n"}) {
    size_t found = text.find(expected, at);
    ASSERT_NE(found, std::string::npos) << expected << " in\n" << text;
    at = found + strlen(expected);
  }
}

TEST_F(PrintRequestTest, QuotedNamesLoseTheirQuotes) {
  std::string log = EnableLog();
  Arguments args{"\"", "\"a.txtX", "\"b.txt\""};
  plenwick_test::RunPrintRequest(args);
  std::string text = ReadFile(log);
  EXPECT_NE(text.find("lopen() failed because of error"), std::string::npos);  // lone quote
  EXPECT_NE(text.find("lopen(a.txt) failed"), std::string::npos);
  EXPECT_NE(text.find("lopen(b.txt) failed"), std::string::npos);
}

TEST_F(PrintRequestTest, ScratchDeletesPrintedReportAndConfigurationFile) {
  std::string config = WriteFile("job.cfg", "-disposition=scratch\n");
  std::string first = "first.txt", second = "second.txt";
  WriteFile(first, "one\n");
  WriteFile(second, "two\n");
  Arguments args{"-config=" + config, first, second};
  plenwick_test::RunPrintRequest(args);
  EXPECT_FALSE(Exists(first));
  EXPECT_FALSE(Exists(second));
  EXPECT_FALSE(Exists(config));
  const auto& deleted = simwin::DeletedFiles();
  ASSERT_EQ(deleted.size(), 3u);  // the configuration file once, after the first report
  EXPECT_EQ(deleted[0].path, first);
  EXPECT_EQ(deleted[1].path, config);
  EXPECT_TRUE(deleted[1].deleted);
  EXPECT_EQ(deleted[2].path, second);
}

// Only regular files are read, as reports and as configuration files: a
// FIFO would hold the request (and every other caller of the library)
// until a writer came, a device may never end. Each is refused at once,
// as a file that cannot be opened, and the request goes on. The names of
// devices on Windows are refused before anything is opened.
TEST_F(PrintRequestTest, OnlyRegularFilesAreRead) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", Path("zero").c_str()), 0);
  ASSERT_EQ(symlink("/dev/null", Path("null").c_str()), 0);
  mkdir(Path("folder").c_str(), 0700);
  for (std::string name : {"fifo", "zero", "null", "folder", "CON", "nul.txt", "sub\\COM1",
                           "lpt9.log", "\\\\.\\pipe\\reports"}) {
    SCOPED_TRACE(name);
    plenwick_test::FreshMachine();
    std::string log = EnableLog();
    WriteFile("next.txt", "next\n");
    Arguments args{"-disposition=scratch", "-config=" + name, "-point=12", name, "next.txt"};
    plenwick_test::RunPrintRequest(args);
    std::string text = ReadFile(log);
    EXPECT_NE(text.find("config " + name + ": cannot be read, error 5\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("lopen(" + name + ") failed because of error 5\n"), std::string::npos)
        << text;
    ASSERT_EQ(simwin::Documents().size(), 1u);
    EXPECT_EQ(simwin::Documents()[0].name, "next.txt");
    EXPECT_FALSE(Exists("next.txt"));
  }
  EXPECT_TRUE(Exists("fifo"));
  for (const char* file : {"CONSOLE.txt", "nul-report.txt", "COM10", "LPT0", "con_txt", "a.con"}) {
    EXPECT_FALSE(plenwick::NamesReservedDevice(file)) << file;
  }
  for (const char* device :
       {"aux", "Prn.txt", "C:\\reports\\NUL", "c:nul", "com9.log", "NUL:", "\\\\?\\C:\\x"}) {
    EXPECT_TRUE(plenwick::NamesReservedDevice(device)) << device;
  }
}

// Under SCRATCH the file deleted is the one printed: a new report moved to
// the same name while the old one printed is kept, and so is the
// configuration file that belongs to it.
TEST_F(PrintRequestTest, ScratchKeepsAFileThatReplacedThePrintedOne) {
  std::string log = EnableLog();
  std::string config = WriteFile("job.cfg", "-disposition=scratch\n");
  WriteFile("report.txt", "printed\n");
  plenwick::PrintJob job;
  Arguments none{};
  plenwick_test::RunPrintRequest(none);  // the option table in order, as a request leaves it
  plenwick::OptionNesting nesting;
  std::string option = "config=" + config;
  plenwick::Parse_Arg(job, nesting, option.data());
  job.fileName = "report.txt";
  {
    plenwick::ReportFile file(job);
    ASSERT_TRUE(file.Open());
  }
  WriteFile("new.txt", "not printed yet\n");
  ASSERT_EQ(rename("new.txt", "report.txt"), 0);
  plenwick::DisposeJobFiles(job, true);
  EXPECT_EQ(ReadFile("report.txt"), "not printed yet\n");
  EXPECT_TRUE(Exists(config));
  EXPECT_NE(ReadFile(log).find("Keeping report.txt: it is no longer the file that was printed\n"),
            std::string::npos);

  // The same name still naming the printed file: both go.
  {
    plenwick::ReportFile file(job);
    ASSERT_TRUE(file.Open());
  }
  plenwick::DisposeJobFiles(job, true);
  EXPECT_FALSE(Exists("report.txt"));
  EXPECT_FALSE(Exists(config));
}

// -output hands the driver a name beside the file (lpszOutput); a failed
// EndDoc leaves nothing.
TEST_F(PrintRequestTest, OutputGoesToFilesNamedInTurn) {
  WriteFile("a.txt", "one\n");
  mkdir("out", 0755);
  simwin::ForceSpoolerResult("EndDoc", SP_ERROR, 3);
  Arguments args{"-output=out/r.pdf", "a.txt", "a.txt", "-output=out/", "a.txt"};
  plenwick_test::RunPrintRequest(args);
  std::vector<std::string> outputs;  // absolute: the spooler has a folder of its own
  char here[4096] = "";
  ASSERT_TRUE(getcwd(here, sizeof here));
  for (const auto& document : simwin::Documents())
    outputs.push_back(document.output.substr(strlen(here) + 1));
  EXPECT_EQ(outputs, (std::vector<std::string>{"out/r.pdf.partial", "out/r-2.pdf.partial",
                                               "out/a.pdf.partial"}));
  EXPECT_TRUE(Exists("out/r-2.pdf"));
  EXPECT_FALSE(Exists("out/a.pdf") || Exists("out/a.pdf.partial"));
}

TEST_F(PrintRequestTest, SaveDeletesNothingAndOptionsAfterTheLastFilePrintNothing) {
  std::string report = "report.txt";
  WriteFile(report, "x\n");
  Arguments args{report, "-disposition=scratch"};
  plenwick_test::RunPrintRequest(args);
  EXPECT_TRUE(Exists(report));
  EXPECT_TRUE(simwin::DeletedFiles().empty());
}

TEST_F(PrintRequestTest, EachRequestStartsFromAFreshJob) {
  std::string report = "report.txt";
  WriteFile(report, "x\n");
  Arguments first{"-disposition=scratch"};
  plenwick_test::RunPrintRequest(first);
  Arguments second{report};
  plenwick_test::RunPrintRequest(second);
  EXPECT_TRUE(Exists(report));
}

// Each request takes the default printer of now (changed, removed) until
// Print Setup chooses one; a chosen one that is gone gives way to it.
TEST_F(PrintRequestTest, EachRequestTakesTheDefaultPrinterOfNow) {
  using namespace simwin;
  void (*before[])() = {
      [] {}, [] { AddPrinter({"Other"}), SetDefaultPrinter("Other"); },
      [] { RemoveAllPrinters(), AddPrinter({}), SetDefaultPrinter("PDF"); },
      [] { AddPrinter({"Other"}), ScriptPrintSetup("Other"), plenwick::ShowPrintSetup(); },
      [] { FailNextOpenPrinter("Other"); }};
  std::string printers;
  for (auto step : before) {
    Arguments args{"r.txt"};
    step(), WriteFile("r.txt", "x\n"), plenwick_test::RunPrintRequest(args);
    printers += CreateDCCalls().back().device + " ";
  }
  EXPECT_EQ(printers, "PDF Other PDF Other PDF ");
  EXPECT_EQ(DebugStrings().back(),
            "plenwick: printer Other chosen in Print Setup cannot be opened (Invalid printer "
            "name.); the default printer is taken again\n");
}

// A service shows no window: no box (told instead), no cancel window, no Print Setup.
TEST_F(PrintRequestTest, AServiceShowsNoWindow) {
  using namespace simwin;
  Arguments args{"-printer_id=Nowhere", "r.txt", "-printer_id=PDF", "r.txt"};
  SetWindowStationVisible(false), WriteFile("r.txt", "x\n"), plenwick_test::RunPrintRequest(args);
  EXPECT_FALSE(plenwick::ShowPrintSetup());
  EXPECT_EQ(MessageBoxes().size() + DialogsCreated() + PrintDlgCalls().size(), 1u);
  EXPECT_EQ(DebugStrings()[0], "plenwick: Plenwick - Can't Open Printer: Invalid printer name.\n");
}

// A failed allocation inside a configuration file ends the request where
// it happens (the entry point catches it). More such failures than options
// may nest must not leave any later request without its options.
TEST_F(PrintRequestTest, OptionsApplyAfterRequestsThatFailedInsideAConfigurationFile) {
  if (!plenwick_test::FailingAllocations::Supported()) GTEST_SKIP() << "allocator not replaceable";
  // A long path, so that keeping its name allocates.
  std::string config = WriteFile("configuration-of-the-failing-request.cfg", "-copies=2\n");
  for (int i = 0; i <= plenwick::kMaxOptionNesting; ++i) {
    plenwick::PrintRequest request(1);
    char option[512];
    snprintf(option, sizeof option, "-config=%s", config.c_str());
    bool failed = false;
    try {
      plenwick_test::FailingAllocations failing;
      request.Handle(0, option);
    } catch (const std::bad_alloc&) {
      failed = true;
    }
    EXPECT_TRUE(failed) << "request " << i;
  }
  plenwick::PrintRequest request(2);
  char copies[] = "-copies=3";
  request.Handle(0, copies);
  EXPECT_EQ(request.job().copies, 3);
  char option[512];
  snprintf(option, sizeof option, "-config=%s", config.c_str());
  request.Handle(1, option);
  EXPECT_EQ(request.job().copies, 2);  // read from the configuration file
}

}  // namespace

namespace {

class RequestLoopTest : public plenwick_test::SimTest {};

// The one request loop: a null argument is skipped with its log line, and
// an argument whose copy cannot be made ends the request there, before any
// later argument is fetched.
TEST_F(RequestLoopTest, NullArgumentsAreSkippedAndAMissingCopyEndsTheRequest) {
  std::string log = EnableLog();
  std::vector<int> fetched;
  plenwick::RunPrintRequest(4, [&fetched](int index, auto handle) {
    fetched.push_back(index);
    if (index == 2) return false;
    char ruler[] = "-ruler";
    handle(index == 1 ? nullptr : ruler);
    return true;
  });
  EXPECT_EQ(fetched, (std::vector<int>{0, 1, 2}));
  std::string text = ReadFile(log);
  EXPECT_NE(
      text.find("argc = [4]\nargv[0] = [-ruler]\nParse_Arg(ruler)\nargv[1] is null: skipped\n"),
      std::string::npos)
      << text;
  EXPECT_EQ(text.find("argv[2]"), std::string::npos) << text;
}

}  // namespace
