// Eight host threads calling all seven native methods at once, each with a
// virtual machine environment of its own, as the threads of one Java
// server do. Every answer must be the one a lone caller gets, every print
// a whole document. Under ThreadSanitizer (the tsan tree) it also shows
// that nothing is shared without a lock.
#include <atomic>
#include <mutex>
#include <thread>

#include "bridge/native_methods.h"
#include "fake_jni.h"
#include "test_support.h"

namespace {

using plenwick_test::FakeJni;

constexpr int kThreads = 8;
constexpr int kCalls = 200;
const jint kCurrentUser = static_cast<jint>(0x80000001u);

class ConcurrentCallsTest : public plenwick_test::SimTest {
 protected:
  void Problem(const std::string& what) {
    std::lock_guard<std::mutex> hold(lock_);
    if (problems_.size() < 20) problems_.push_back(what);
    ++problemCount_;
  }
  void Expect(const std::string& what, const std::string& expected, const std::string& actual) {
    if (expected != actual) Problem(what + ": expected [" + expected + "] got [" + actual + "]");
  }

  // One call of one thread; each thread turns through the methods, and
  // prints every tenth call.
  void Call(FakeJni& jni, int thread, int index) {
    JNIEnv* env = jni.env();
    auto text = [&jni](jstring string) { return string ? jni.Text(string) : "(null)"; };
    switch ((thread + index) % 10) {
      case 0:
        Expect("getver", "1", std::to_string(Java_doc_NativeWindows_getver(env, nullptr)));
        break;
      case 1:
        Expect("get_printer_name", "PDF",
               text(Java_doc_NativeWindows_get_1printer_1name(env, nullptr)));
        break;
      case 2:  // nobody confirms the dialog
        Expect("plenwick_setup", "0",
               std::to_string(Java_doc_NativeWindows_plenwick_1setup(env, nullptr)));
        break;
      case 3: {
        std::string name = "t" + std::to_string(thread) + "-" + std::to_string(index) + ".txt";
        WriteFile(name, "thread " + std::to_string(thread) + "\n");
        jobjectArray request = jni.Array({jni.String("-interactive=none"),
                                          jni.String("-disposition=scratch"), jni.String(name)});
        Expect("plenwick", "1",
               std::to_string(Java_doc_NativeWindows_plenwick(env, nullptr, request)));
        if (Exists(Path(name))) Problem(name + " was not printed");
        ++prints_;
        break;
      }
      case 4:
        Java_doc_NativeWindows_shellexec(env, nullptr,
                                         jni.Array({jni.String("/W prog a"), jni.String("doc")}));
        launches_ += 2;
        break;
      case 5:
        Java_doc_NativeWindows_launch_1document(env, nullptr, jni.String("open"),
                                                jni.String("/W report.txt"));
        ++launches_;
        break;
      case 6:
        Expect("registry value", "Hello from the registry",
               text(Java_doc_NativeWindows_read_1registry_1string(
                   env, nullptr, kCurrentUser, jni.String("Software\\Plenwick\\Test"),
                   jni.String("Greeting"))));
        break;
      case 7:
        Expect("registry value outside ASCII", "caf\xC3\xA9 \xE2\x82\xAC 5",
               text(Java_doc_NativeWindows_read_1registry_1string(
                   env, nullptr, kCurrentUser, jni.String("Software\\Caf\xC3\xA9"),
                   jni.String("Pr\xC3\xAAt"))));
        break;
      case 8: {
        std::string key = "Software\\T" + std::to_string(thread);
        Expect("missing key", "**ERROR** RegOpenKeyEx() Registry Key not found: " + key,
               text(Java_doc_NativeWindows_read_1registry_1string(
                   env, nullptr, kCurrentUser, jni.String(key), jni.String("x"))));
        break;
      }
      default:
        Expect("default value", "Plenwick test key",
               text(Java_doc_NativeWindows_read_1registry_1string(
                   env, nullptr, kCurrentUser, jni.String("Software\\Plenwick\\Test"),
                   jni.String(""))));
        break;
    }
  }

  std::mutex lock_;
  std::vector<std::string> problems_;
  int problemCount_ = 0;
  std::atomic<int> prints_{0};
  std::atomic<int> launches_{0};
};

TEST_F(ConcurrentCallsTest, EveryMethodFromEightThreadsAtOnce) {
  simwin::SetRegistryValue(HKEY_CURRENT_USER, "Software\\Caf\xC3\xA9", "Pr\xC3\xAAt", REG_SZ,
                           std::string("caf\xE9 \x80 5\0", 9));
  std::atomic<int> waiting{kThreads};
  std::vector<std::thread> threads;
  std::vector<std::unique_ptr<FakeJni>> machines;
  for (int t = 0; t < kThreads; ++t) machines.push_back(std::make_unique<FakeJni>(t % 2 == 0));
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // All start together, so that the calls overlap from the first one.
      --waiting;
      while (waiting > 0) std::this_thread::yield();
      for (int i = 0; i < kCalls; ++i) Call(*machines[t], t, i);
    });
  }
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(problemCount_, 0) << ::testing::PrintToString(problems_);
  for (const auto& machine : machines) {
    EXPECT_TRUE(machine->Faults().empty()) << ::testing::PrintToString(machine->Faults());
    EXPECT_TRUE(machine->Unbalanced().empty()) << ::testing::PrintToString(machine->Unbalanced());
  }
  EXPECT_EQ(prints_, kThreads * kCalls / 10);
  std::vector<simwin::SpooledDocument> documents = simwin::Documents();
  ASSERT_EQ(documents.size(), static_cast<size_t>(prints_));
  for (const simwin::SpooledDocument& document : documents) {
    EXPECT_EQ(document.end, simwin::SpooledDocument::kEnded) << document.name;
    ASSERT_EQ(document.pages.size(), 1u) << document.name;
    EXPECT_EQ(document.pages[0].Text().rfind("thread ", 0), 0u) << document.name;
  }
  EXPECT_EQ(simwin::ShellExecutions().size(), static_cast<size_t>(launches_));
  EXPECT_EQ(simwin::OpenHandleCount(), 0u);
}

}  // namespace
