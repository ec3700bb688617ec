#include <functional>
#include <future>
#include <map>
#include <new>

#include "bridge/native_methods.h"
#include "fake_jni.h"
#include "test_support.h"

namespace {

using plenwick_test::FakeJni;

// Every case runs with a machine that copies (is-copy true) and with one
// that hands out its own characters (is-copy false).
class BridgeTest : public plenwick_test::SimTest, public ::testing::WithParamInterface<bool> {
 protected:
  void TearDown() override {
    EXPECT_TRUE(jni_.Faults().empty()) << ::testing::PrintToString(jni_.Faults());
    EXPECT_TRUE(jni_.Unbalanced().empty()) << ::testing::PrintToString(jni_.Unbalanced());
    EXPECT_EQ(simwin::OpenHandleCount(), 0u);
    SimTest::TearDown();
  }
  // What the characters of one string cost in calls: a copying machine's
  // characters are given back when the work is done, a machine's own at once.
  std::vector<std::string> Get(const std::string& ref) const {
    std::vector<std::string> calls{"GetStringLength(" + ref + ")", "GetStringChars(" + ref + ")"};
    if (!GetParam()) calls.push_back("ReleaseStringChars(" + ref + ")");
    return calls;
  }
  std::vector<std::string> GiveBack(const std::string& ref) const {
    if (GetParam()) return {"ReleaseStringChars(" + ref + ")", "DeleteLocalRef(" + ref + ")"};
    return {"DeleteLocalRef(" + ref + ")"};
  }
  static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  }

  FakeJni jni_{GetParam()};
  JNIEnv* env_ = jni_.env();
};

TEST_P(BridgeTest, MethodsWithoutArguments) {
  EXPECT_EQ(Java_doc_NativeWindows_getver(env_, nullptr), 1);
  jstring name = Java_doc_NativeWindows_get_1printer_1name(env_, nullptr);
  EXPECT_EQ(jni_.Text(name), "PDF");
  EXPECT_EQ(Java_doc_NativeWindows_plenwick_1setup(env_, nullptr), JNI_FALSE);  // cancelled
  simwin::ScriptPrintSetup("PDF");
  EXPECT_EQ(Java_doc_NativeWindows_plenwick_1setup(env_, nullptr), JNI_TRUE);
  EXPECT_EQ(jni_.Calls(), std::vector<std::string>{"NewString(PDF)"});
}

// Each element is fetched, worked on and given back before the next one:
// the log lines of an argument appear while its element is held.
TEST_P(BridgeTest, PlenwickHandsOverOneElementAtATime) {
  std::string log = EnableLog();
  jstring quoted = jni_.String("\"missing.txt\"");
  jobjectArray arguments = jni_.Array({jni_.String("-copies=2"), nullptr, quoted});
  std::map<std::string, size_t> logSizeAt;
  jni_.onCall = [&](const std::string& call) { logSizeAt[call] = ReadFile(log).size(); };
  EXPECT_EQ(Java_doc_NativeWindows_plenwick(env_, nullptr, arguments), JNI_TRUE);
  EXPECT_EQ(jni_.Text(quoted), "\"missing.txt\"");  // cut only in the private copy
  std::string driverLines;  // the request's own lines; the stages it calls log more
  std::istringstream lines(ReadFile(log));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("arg", 0) == 0) driverLines += line + "\n";
  EXPECT_EQ(driverLines,
            "argc = [3]\nargv[0] = [-copies=2]\nargv[1] is null: skipped\n"
            "argv[2] = [\"missing.txt\"]\n");
  EXPECT_EQ(jni_.Calls(),
            Join({{"GetArrayLength(r3)", "GetObjectArrayElement(r3, 0) = r4"},
                  Get("r4"),
                  GiveBack("r4"),
                  {"GetObjectArrayElement(r3, 1) = null", "GetObjectArrayElement(r3, 2) = r5"},
                  Get("r5"),
                  GiveBack("r5")}));
  // The log grew between fetching an element and dropping it, never after.
  EXPECT_LT(logSizeAt["GetObjectArrayElement(r3, 0) = r4"], logSizeAt["DeleteLocalRef(r4)"]);
  EXPECT_EQ(logSizeAt["DeleteLocalRef(r4)"], logSizeAt["GetObjectArrayElement(r3, 1) = null"]);
  EXPECT_LT(logSizeAt["GetObjectArrayElement(r3, 2) = r5"], logSizeAt["DeleteLocalRef(r5)"]);
}

TEST_P(BridgeTest, EmptyAndNullArraysStillDoTheRequestStart) {
  std::string log = EnableLog();
  EXPECT_EQ(Java_doc_NativeWindows_plenwick(env_, nullptr, jni_.Array({})), JNI_TRUE);
  EXPECT_EQ(Java_doc_NativeWindows_plenwick(env_, nullptr, nullptr), JNI_TRUE);
  EXPECT_EQ(Java_doc_NativeWindows_shellexec(env_, nullptr, jni_.Array({})), JNI_TRUE);
  EXPECT_EQ(Java_doc_NativeWindows_shellexec(env_, nullptr, nullptr), JNI_TRUE);
  EXPECT_EQ(jni_.Calls(), (std::vector<std::string>{"GetArrayLength(r1)", "GetArrayLength(r2)"}));
  EXPECT_EQ(ReadFile(log),
            "GetDevMode() new PRINTDLG created.\nargc = [0]\n"
            "GetDevMode() new PRINTDLG created.\nargc = [0]\n");
  EXPECT_TRUE(simwin::ShellExecutions().empty());
}

// Every command starts afresh; a waited-for command holds back the next.
TEST_P(BridgeTest, ShellexecLaunchesEachCommandInTurn) {
  jstring spaced = jni_.String("/W /MA prog x y");
  jobjectArray commands =
      jni_.Array({jni_.String("\"never closed a"), nullptr, spaced, jni_.String("next")});
  EXPECT_EQ(Java_doc_NativeWindows_shellexec(env_, nullptr, commands), JNI_TRUE);
  EXPECT_EQ(jni_.Text(spaced), "/W /MA prog x y");
  const auto& runs = simwin::ShellExecutions();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[1].nShow, SW_SHOWMAXIMIZED);
  EXPECT_EQ(runs[2].nShow, SW_SHOWNORMAL);
  EXPECT_EQ(runs[2].fMask, 0u);
  EXPECT_EQ(simwin::ShellEvents(),
            (std::vector<std::string>{"ShellExecuteExA(\"never closed a)", "ShellExecuteExA(prog)",
                                      "WaitForSingleObject(process 1, INFINITE)",
                                      "CloseHandle(process 1)", "ShellExecuteExA(next)"}));
}

TEST_P(BridgeTest, LaunchDocumentGivesBothStringsBackInOrder) {
  jstring verb = jni_.String("open");
  jstring command = jni_.String("/W /MA \"my doc.txt\" x");
  EXPECT_EQ(Java_doc_NativeWindows_launch_1document(env_, nullptr, verb, command), JNI_TRUE);
  EXPECT_EQ(jni_.Calls(), Join({Get("r1"), Get("r2"), GiveBack("r1"), GiveBack("r2")}));
  EXPECT_EQ(jni_.Text(command), "/W /MA \"my doc.txt\" x");
  ASSERT_EQ(simwin::ShellExecutions().size(), 1u);
  const simwin::ShellExecution& run = simwin::ShellExecutions()[0];
  EXPECT_EQ(run.verb.text, "open");
  EXPECT_EQ(run.file.text, "\"my doc.txt\"");
  EXPECT_EQ(run.nShow, SW_SHOWNORMAL);  // show switches are not honoured here
  EXPECT_EQ(run.fMask, static_cast<ULONG>(SEE_MASK_NOCLOSEPROCESS));
}

// A null verb is no verb; a null command launches nothing.
TEST_P(BridgeTest, LaunchDocumentWithNullStrings) {
  Java_doc_NativeWindows_launch_1document(env_, nullptr, nullptr, jni_.String("doc.txt"));
  Java_doc_NativeWindows_launch_1document(env_, nullptr, jni_.String("**NULL**"), jni_.String("x"));
  Java_doc_NativeWindows_launch_1document(env_, nullptr, jni_.String("open"), nullptr);
  ASSERT_EQ(simwin::ShellExecutions().size(), 2u);
  EXPECT_FALSE(simwin::ShellExecutions()[0].verb.present);
  EXPECT_FALSE(simwin::ShellExecutions()[1].verb.present);
}

// Java text reaches the registry in the ANSI code page (1252 here) and
// comes back from it converted to UTF-16; a null name gives an error text.
TEST_P(BridgeTest, ReadRegistryStringConvertsTheText) {
  const jint currentUser = static_cast<jint>(0x80000001u);
  jstring subKey = jni_.String("Software\\Plenwick\\Test");
  jstring name = jni_.String("Greeting");
  jstring value =
      Java_doc_NativeWindows_read_1registry_1string(env_, nullptr, currentUser, subKey, name);
  EXPECT_EQ(jni_.Text(value), "Hello from the registry");
  EXPECT_EQ(jni_.Calls(), Join({Get("r1"),
                                Get("r2"),
                                GiveBack("r1"),
                                GiveBack("r2"),
                                {"NewString(Hello from the registry)"}}));

  simwin::SetRegistryValue(HKEY_CURRENT_USER, "Software\\Caf\xC3\xA9", "Pr\xC3\xAAt", REG_SZ,
                           std::string("caf\xE9 \x80 5\0", 9));
  jstring stored = Java_doc_NativeWindows_read_1registry_1string(
      env_, nullptr, currentUser, jni_.String("Software\\Caf\u00e9"), jni_.String("Pr\u00eat"));
  EXPECT_EQ(jni_.Units(stored), u"caf\u00e9 \u20ac 5");

  // What the code page lacks (a CJK character, an emoji) reaches the
  // registry whole; a NUL character and an unpaired surrogate become '?'.
  std::u16string foreign = u"\u00e9\u20ac a";
  foreign += u'\0';
  foreign += u"b\u4e2d\U0001F600";
  foreign += static_cast<char16_t>(0xD800);
  foreign += u"!";
  jstring missing = Java_doc_NativeWindows_read_1registry_1string(
      env_, nullptr, currentUser, jni_.String(foreign), jni_.String("x"));
  EXPECT_EQ(jni_.Units(missing),
            u"**ERROR** RegOpenKeyEx() Registry Key not found: \u00e9\u20ac a?b\u4e2d\U0001F600?!");
  EXPECT_EQ(simwin::RegistryEvents().back(),
            "RegOpenKeyExA(\xC3\xA9\xE2\x82\xAC a?b\xE4\xB8\xAD\xF0\x9F\x98\x80?!, 0, 0x201) = 2");

  jstring refused = Java_doc_NativeWindows_read_1registry_1string(env_, nullptr, currentUser,
                                                                  jni_.String("Software"), nullptr);
  EXPECT_EQ(jni_.Text(refused), "**ERROR** read_registry_string() null sub key or value name");
  jstring empty = Java_doc_NativeWindows_read_1registry_1string(env_, nullptr, currentUser,
                                                                jni_.String(""), jni_.String(""));
  EXPECT_EQ(jni_.Text(empty), "**ERROR** RegQueryValueEx() Data Value not found: ");
}

// A report's name reaches the file and spooler functions whole, even
// where the ANSI code page (1252) lacks its characters.
TEST_P(BridgeTest, PlenwickOpensAReportNamedOutsideAscii) {
  const char name[] =
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA \xE5\xA0\xB1\xE5\x91\x8A.txt";  // Łódź 報告.txt
  WriteFile(name, "Umsatz\n");
  jobjectArray arguments = jni_.Array(
      {jni_.String("-interactive=none"), jni_.String(u"\u0141\u00f3d\u017a \u5831\u544a.txt")});
  EXPECT_EQ(Java_doc_NativeWindows_plenwick(env_, nullptr, arguments), JNI_TRUE);
  ASSERT_EQ(simwin::Documents().size(), 1u);
  EXPECT_EQ(simwin::Documents()[0].name, name);
  ASSERT_EQ(simwin::Pages().size(), 1u);
  EXPECT_EQ(simwin::Pages()[0].Text(), "Umsatz");
}

// Characters the machine cannot hand out end the work: nothing more is
// asked for, what is held is given back, and no result string is made.
TEST_P(BridgeTest, UnavailableCharactersEndTheWork) {
  jstring failing = jni_.String("fails");
  jni_.FailCharsOf(failing);
  jobjectArray commands = jni_.Array({jni_.String("first"), failing, jni_.String("never")});
  Java_doc_NativeWindows_shellexec(env_, nullptr, commands);
  ASSERT_EQ(simwin::ShellExecutions().size(), 1u);
  EXPECT_EQ(jni_.Calls().back(), "DeleteLocalRef(r6)");  // the failing element, then nothing

  size_t before = jni_.Calls().size();
  jstring subKey = jni_.String("x");
  jni_.FailCharsOf(subKey);
  jstring result =
      Java_doc_NativeWindows_read_1registry_1string(env_, nullptr, 0, subKey, jni_.String("y"));
  EXPECT_EQ(result, nullptr);
  std::vector<std::string> calls(jni_.Calls().begin() + before, jni_.Calls().end());
  EXPECT_EQ(calls, (std::vector<std::string>{"GetStringLength(r7)", "GetStringChars(r7)",
                                             "DeleteLocalRef(r7)", "DeleteLocalRef(r8)"}));
  EXPECT_TRUE(simwin::RegistryEvents().empty());
}

// An exception inside a method's work never reaches the virtual machine:
// the method answers as when it fails, gives every string back and says
// why in the log. Each case throws once, at one call the method makes.
TEST_P(BridgeTest, ExceptionsStayInsideEveryMethod) {
  std::string log = EnableLog();
  const jint currentUser = static_cast<jint>(0x80000001u);
  struct Case {
    const char* throwAt;                // the call, and which of its kind in the case
    std::function<std::string()> call;  // the answer as text
    int occurrence;
    const char* answer;
    const char* logLine;
  };
  auto text = [this](jstring string) { return string ? jni_.Text(string) : "(null)"; };
  const Case cases[] = {
      {"NewString(PDF)",
       [&] { return text(Java_doc_NativeWindows_get_1printer_1name(env_, nullptr)); }, 1,
       "**ERROR** Java_doc_LocalPrint_get_1printer_1name() stopped",
       "get_printer_name stopped: std::bad_alloc"},
      {"GetStringChars(",
       [&] {
         return text(Java_doc_NativeWindows_read_1registry_1string(
             env_, nullptr, currentUser, jni_.String("Software"), jni_.String("x")));
       },
       2, "**ERROR** read_registry_string() stopped",
       "read_registry_string stopped: std::bad_alloc"},
      {"GetStringLength(",
       [&] {
         return std::to_string(Java_doc_NativeWindows_shellexec(
             env_, nullptr, jni_.Array({jni_.String("first"), jni_.String("second")})));
       },
       2, "1", "shellexec stopped: std::bad_alloc"},
      {"GetStringChars(",
       [&] {
         return std::to_string(Java_doc_NativeWindows_launch_1document(
             env_, nullptr, jni_.String("open"), jni_.String("doc.txt")));
       },
       2, "1", "launch_document stopped: std::bad_alloc"},
      {"GetStringLength(",
       [&] {
         return std::to_string(Java_doc_NativeWindows_plenwick(
             env_, nullptr, jni_.Array({jni_.String("-copies=2"), jni_.String("x.txt")})));
       },
       2, "1", "plenwick stopped: std::bad_alloc"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.throwAt);
    bool thrown = false;
    int seen = 0;
    jni_.onCall = [&](const std::string& call) {
      if (!thrown && call.rfind(test.throwAt, 0) == 0 && ++seen == test.occurrence) {
        thrown = true;
        throw std::bad_alloc();
      }
    };
    std::string answer;
    EXPECT_NO_THROW(answer = test.call());
    jni_.onCall = nullptr;
    EXPECT_TRUE(thrown);
    EXPECT_EQ(answer, test.answer);
    EXPECT_NE(ReadFile(log).find(std::string(test.logLine) + "\n"), std::string::npos);
  }
  EXPECT_EQ(simwin::ShellExecutions().size(), 1u);  // the first command only
  // The request lock was given back: the next request runs.
  EXPECT_EQ(Java_doc_NativeWindows_plenwick(env_, nullptr, jni_.Array({})), JNI_TRUE);
}

// A call back from the printing thread (a window procedure the abort procedure
// runs) gets the printer's name; a print and Print Setup are refused at once.
TEST_P(BridgeTest, CallsFromThePrintingThreadDoNotWaitForThemselves) {
  std::string answers;
  simwin::BeforeAbortProcCall(1, [&] {
    answers = jni_.Text(Java_doc_NativeWindows_get_1printer_1name(env_, nullptr)) +
              std::to_string(Java_doc_NativeWindows_plenwick(env_, nullptr, nullptr)) +
              std::to_string(Java_doc_NativeWindows_plenwick_1setup(env_, nullptr));
  });
  WriteFile("r.txt", "x\n");
  auto printing = std::async(std::launch::async, [&] {
    Java_doc_NativeWindows_plenwick(env_, nullptr, jni_.Array({jni_.String("r.txt")}));
  });
  if (printing.wait_for(std::chrono::seconds(10)) != std::future_status::ready) _exit(1);
  EXPECT_EQ(answers, "PDF00");
  EXPECT_EQ(simwin::DebugStrings().back(), "plenwick: a print is already running on this thread\n");
}

INSTANTIATE_TEST_SUITE_P(IsCopy, BridgeTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "MachineCopies" : "MachineOwnsChars";
                         });

}  // namespace
