#include "services/shell_launch.h"

#include <cstring>

#include "test_support.h"

namespace {

using plenwick::ParseShellCommand;
using plenwick::ShellCommand;

struct ParseCase {
  const char* text;
  bool honourShowSwitches;
  bool wait;
  int showState;
  const char* file;
  const char* parameters;  // null: none
};

const ParseCase kParseCases[] = {
    {"", true, false, 1, "", nullptr},
    {"    ", true, false, 1, "", nullptr},
    {"/W /MA", true, true, 3, "", nullptr},
    {"/W prog.exe one two", true, true, 1, "prog.exe", "one two"},
    {"prog.exe /W /MA x", true, false, 1, "prog.exe", "/W /MA x"},
    {"/wait /MAXIMIZED prog", true, true, 3, "prog", nullptr},
    {"/x /m /mz / /M prog", true, false, 1, "prog", nullptr},
    {"/M", true, false, 1, "", nullptr},
    {"/MA /mi prog", true, false, 7, "prog", nullptr},
    {"/MI /max prog", true, false, 3, "prog", nullptr},
    {"/MA /W /MI prog", false, true, 1, "prog", nullptr},
    {"\"C:\\Program Files\\app.exe\" -x y", true, false, 1, "\"C:\\Program Files\\app.exe\"",
     "-x y"},
    {"\"a b\"cdef", true, false, 1, "\"a b\"", "def"},
    {"/W \"a b\"", true, true, 1, "\"a b\"", nullptr},
    {"\"a b c", true, false, 1, "\"a b c", nullptr},
    {"ab\"c d\" e", true, false, 1, "ab\"c d\"", "e"},
    {"prog   x  ", true, false, 1, "prog", "  x  "},
    {"prog     ", true, false, 1, "prog", nullptr},
    {"\tprog x", true, false, 1, "\tprog", "x"},
};

TEST(ParseShellCommand, SwitchesFileTokenAndParameters) {
  for (const ParseCase& c : kParseCases) {
    SCOPED_TRACE(c.text);
    ShellCommand command;
    memset(command.buffer, 'X', sizeof command.buffer);  // nothing is read past the text
    ASSERT_TRUE(ParseShellCommand(c.text, c.honourShowSwitches, command));
    EXPECT_EQ(command.wait, c.wait);
    EXPECT_EQ(command.showState, c.showState);
    EXPECT_STREQ(command.file, c.file);
    if (c.parameters) {
      EXPECT_STREQ(command.parameters, c.parameters);
    } else {
      EXPECT_EQ(command.parameters, nullptr);
    }
  }
}

TEST(ParseShellCommand, RefusesATextLongerThanTheBuffer) {
  ShellCommand command;
  std::string text = "prog " + std::string(1018, 'x');  // 1,023 bytes: fits
  ASSERT_TRUE(ParseShellCommand(text.c_str(), true, command));
  EXPECT_EQ(std::string(command.parameters), std::string(1018, 'x'));
  text += "x";
  EXPECT_FALSE(ParseShellCommand(text.c_str(), true, command));
}

TEST(ShellVerb, OnlyALeadingNullMarkerMeansNoVerb) {
  EXPECT_EQ(plenwick::ShellVerb("**NULL**"), nullptr);
  EXPECT_EQ(plenwick::ShellVerb("**NULL**print"), nullptr);
  for (const char* verb : {"open", "", "**NULL*", "**null**", " **NULL**"}) {
    EXPECT_STREQ(plenwick::ShellVerb(verb), verb);
  }
}

class LaunchShellCommandTest : public plenwick_test::SimTest {};

TEST_F(LaunchShellCommandTest, FillsTheExecutionRecord) {
  plenwick::LaunchShellCommand("/W /MI prog.exe a b", "print", true);
  ASSERT_EQ(simwin::ShellExecutions().size(), 1u);
  const simwin::ShellExecution& run = simwin::ShellExecutions()[0];
  EXPECT_EQ(run.cbSize, sizeof(SHELLEXECUTEINFOA));
  EXPECT_EQ(run.fMask, static_cast<ULONG>(SEE_MASK_NOCLOSEPROCESS));
  EXPECT_EQ(run.hwnd, nullptr);
  EXPECT_EQ(run.verb.text, "print");
  EXPECT_EQ(run.file.text, "prog.exe");
  EXPECT_EQ(run.parameters.text, "a b");
  EXPECT_FALSE(run.directory.present);
  EXPECT_EQ(run.nShow, SW_SHOWMINNOACTIVE);
  EXPECT_TRUE(run.otherFieldsZero);

  plenwick::LaunchShellCommand("doc.txt", nullptr, false);
  const simwin::ShellExecution& plain = simwin::ShellExecutions()[1];
  EXPECT_EQ(plain.fMask, 0u);
  EXPECT_FALSE(plain.verb.present);
  EXPECT_FALSE(plain.parameters.present);
  EXPECT_EQ(plain.nShow, SW_SHOWNORMAL);
}

// Waits only for a launched process that the command asked to wait for;
// a process handle that comes back is closed in every case.
TEST_F(LaunchShellCommandTest, WaitsOnlyForALaunchedProcessWithTheWaitSwitch) {
  struct Case {
    const char* text;
    uintptr_t hInstApp;
    bool startsProcess;
    std::vector<std::string> events;
  };
  const std::string exec = "ShellExecuteExA(p)";
  const std::string wait = "WaitForSingleObject(process 1, INFINITE)";
  const std::string close = "CloseHandle(process 1)";
  const Case cases[] = {
      {"/W p", 42, true, {exec, wait, close}},
      {"/W p", 33, true, {exec, wait, close}},
      {"/W p", 0x80000000u, true, {exec, wait, close}},  // compared unsigned
      {"/W p", 32, true, {exec, close}},
      {"/W p", 2, false, {exec}},
      {"/W p", 42, false, {exec}},
      {"p", 42, true, {exec}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " hInstApp " + std::to_string(c.hInstApp));
    plenwick_test::FreshMachine();
    simwin::QueueShellOutcome(c.hInstApp, c.startsProcess);
    plenwick::LaunchShellCommand(c.text, nullptr, true);
    EXPECT_EQ(simwin::ShellEvents(), c.events);
    EXPECT_EQ(simwin::OpenHandleCount(), 0u);
  }
}

TEST_F(LaunchShellCommandTest, AnOverLongCommandIsNotLaunched) {
  std::string log = EnableLog();
  std::string text = "prog " + std::string(1019, 'x');
  plenwick::LaunchShellCommand(text.c_str(), nullptr, true);
  EXPECT_TRUE(simwin::ShellExecutions().empty());
  EXPECT_EQ(ReadFile(log),
            "LaunchShellCommand() command of 1024 bytes is longer than 1023: not launched\n");
}

}  // namespace
