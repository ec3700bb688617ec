// The lines a user is told (OutputDebugStringA: standard error on Linux)
// when a report does not print or an option is not applied. Those of a
// missing report, an unknown option, a bad number and an unknown printer
// are the shared failure scenario's, on every host.
#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "core/user_notice.h"
#include "machine.h"
#include "request/print_request.h"
#include "test_support.h"

namespace {

using plenwick_test::Arguments;

class UserNoticeTest : public plenwick_test::SimTest {};

struct NoticeCase {
  const char* name;
  std::vector<std::string> arguments;
  std::vector<std::string> told;          // the lines, in order
  std::function<void()> machine = [] {};  // what goes wrong on the machine
};

const NoticeCase kNoticeCases[] = {
    {"missing folder",
     {"nowhere/monthly.txt"},
     {"plenwick: nowhere/monthly.txt not printed: no such file\n"}},
    {"folder as report", {"folder"}, {"plenwick: folder not printed: access denied\n"}},
    {"each missing report",
     {"a.txt", "report.txt", "b.txt"},
     {"plenwick: a.txt not printed: no such file\n",
      "plenwick: b.txt not printed: no such file\n"}},
    {"printed report", {"report.txt"}, {}},
    {"unknown option with slash",
     {"/frobnicate"},
     {"plenwick: option -frobnicate not known, ignored\n"}},
    {"abbreviation with a value",
     {"-orient=Landscape"},
     {"plenwick: option -orient=Landscape not known, ignored\n"}},
    {"unknown option in a configuration file",
     {"-config=options.cfg"},
     {"plenwick: option -frobnicate not known, ignored\n"}},
    {"unknown option in an option list",
     {"-printer_ctl=\"-copies=2 -bogus\""},
     {"plenwick: option -bogus not known, ignored\n"}},
    {"known options", {"-copies=2", "-orient", "-ruler", "-disposition=SAVE"}, {}},
    {"pitch not a number",
     {"-pitch=big"},
     {"plenwick: -pitch=big is not a number, the printer's default size is used\n"}},
    {"point without a value",
     {"-point"},
     {"plenwick: -point has no value, the printer's default size is used\n"}},
    {"width not a number",
     {"-width=wide"},
     {"plenwick: -width=wide is not a number, the paper's own width is used\n"}},
    {"length not a number",
     {"-length=m"},
     {"plenwick: -length=m is not a number, the paper's own length is used\n"}},
    {"numbers",
     {"-point=10", "-pitch= 12", "-width=8.5i", "-length=.5", "-width=-3", "-point=+7"},
     {}},
    {"no printer",
     {"report.txt"},
     {"plenwick: report.txt not printed: no printer is installed or "
      "reachable\n"},
     [] { simwin::RemoveAllPrinters(); }},
    {"no device context",
     {"report.txt"},
     {"plenwick: report.txt not printed: no device context for printer PDF\n"},
     [] { simwin::FailNextCreateDC(); }},
    {"spooler refuses the document",
     {"report.txt"},
     {"plenwick: report.txt not printed: StartDoc returned -1 (Unknown general error).\n"},
     [] { simwin::ForceSpoolerResult("StartDoc", -1); }},
    {"cancelled by the user",
     {"report.txt"},
     {"plenwick: report.txt not printed: cancelled\n"},
     [] { plenwick_test::PressCancelAtAbortCall(1); }},
};

TEST_F(UserNoticeTest, EachFailureIsToldInOneLine) {
  for (const NoticeCase& c : kNoticeCases) {
    plenwick_test::FreshMachine();  // each case's fault is its own
    WriteFile("report.txt", "hello\n");
    WriteFile("options.cfg", "-copies=2\n-frobnicate\n");
    mkdir(Path("folder").c_str(), 0700);
    c.machine();
    Arguments args{};
    for (const std::string& argument : c.arguments) args.Add(argument);
    plenwick_test::RunPrintRequest(args);
    EXPECT_EQ(simwin::DebugStrings(), c.told) << c.name;
  }
}

TEST_F(UserNoticeTest, TheLogKeepsItsLinesBesideTheNotice) {
  std::string log = EnableLog();
  Arguments args{"-frobnicate=3", "monthly.txt"};
  plenwick_test::RunPrintRequest(args);
  EXPECT_EQ(ReadFile(log),
            "GetDevMode() new PRINTDLG created.\nargc = [2]\nargv[0] = [-frobnicate=3]\n"
            "Parse_Arg(frobnicate=3)\nargv[1] = [monthly.txt]\n"
            "lopen(monthly.txt) failed because of error 2\n");
  EXPECT_EQ(simwin::DebugStrings().size(), 2u);
  EXPECT_TRUE(simwin::MessageBoxes().empty());
}

TEST_F(UserNoticeTest, ALongLineIsCutToTheBufferWithItsLineEnd) {
  struct {
    size_t nameLength;
    size_t expectedLength;
  } const cases[] = {
      {10, 10 + 10 + 1},
      {plenwick::kUserNoticeCapacity, plenwick::kUserNoticeCapacity - 1},
      {100000, plenwick::kUserNoticeCapacity - 1},
  };
  for (const auto& c : cases) {
    simwin::ClearRecords();
    std::string name(c.nameLength, 'x');
    plenwick::TellUser("%s", name.c_str());
    // A report's line is cut the same way, whether its name or its reason
    // is the long part.
    plenwick::TellNotPrinted(name.c_str(), "printer %s cannot be opened", name.c_str());
    plenwick::TellNotPrinted("r.txt", "printer %s cannot be opened", name.c_str());
    ASSERT_EQ(simwin::DebugStrings().size(), 3u);
    for (const std::string& line : simwin::DebugStrings()) {
      EXPECT_LE(line.size(), plenwick::kUserNoticeCapacity - 1) << c.nameLength;
      EXPECT_EQ(line.back(), '\n');
    }
    const std::string& line = simwin::DebugStrings()[0];
    EXPECT_EQ(line.size(), c.expectedLength) << c.nameLength;
    EXPECT_EQ(line.rfind("plenwick: xxxxxxxxxx", 0), 0u);
    EXPECT_EQ(simwin::DebugStrings()[2].rfind("plenwick: r.txt not printed: printer xxx", 0), 0u);
  }
}

}  // namespace
