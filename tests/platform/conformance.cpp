// What the cases share: the known-difference marker, the fixtures' setup,
// and the program's end, where the suite prints which markers it met on
// this platform.
#include <gtest/gtest-spi.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <sstream>

#include "conformance.h"

namespace conformance {
namespace {

std::mutex g_listMutex;
std::ostringstream g_list;
std::set<std::string> g_listed;

}  // namespace

struct Divergence::Held {
  testing::TestPartResultArray results;
  testing::ScopedFakeTestPartResultReporter reporter{
      testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results};
};

const char* PlatformName(Platform platform) {
  switch (platform) {
    case kSimwin:
      return "simulated Windows";
    case kLinux:
      return "Linux";
    case kWine32:
      return "Wine i686";
    case kWine64:
      return "Wine x86-64";
    default:
      return "Wine";
  }
}

Divergence::Divergence(unsigned platforms, const char* why, const char* file, int line, bool listed)
    : platforms_(platforms),
      why_(why),
      file_(file),
      line_(line),
      listed_(listed),
      held_(new Held) {}

Divergence::~Divergence() { Finish(); }

void Divergence::Finish() {
  if (!running_) return;
  running_ = false;
  // The reporter goes first, so that what is said below reaches the test.
  testing::TestPartResultArray results;
  for (int i = 0; i < held_->results.size(); ++i)
    results.Append(held_->results.GetTestPartResult(i));
  delete held_;
  held_ = nullptr;

  if (!(platforms_ & ThisPlatform())) {
    // Not this platform's difference: its failures count.
    for (int i = 0; i < results.size(); ++i) {
      const testing::TestPartResult& result = results.GetTestPartResult(i);
      ADD_FAILURE_AT(result.file_name() ? result.file_name() : file_, result.line_number())
          << result.message();
    }
    return;
  }
  int failures = 0;
  for (int i = 0; i < results.size(); ++i) failures += results.GetTestPartResult(i).failed();
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "?";
  // Named from the repository's top, wherever the build ran.
  std::string file = file_;
  size_t tests = file.rfind("tests/platform/");
  std::string where =
      (tests == std::string::npos ? file : file.substr(tests)) + ":" + std::to_string(line_);
  if (listed_) {
    // A marker in a loop is listed once for its case.
    std::lock_guard<std::mutex> lock(g_listMutex);
    if (g_listed.insert(name + " " + where + (failures ? "" : " passes")).second) {
      g_list << "  " << PlatformName(ThisPlatform()) << ": " << name << ": " << why_
             << (failures ? "" : "  ** PASSES NOW: remove the marker **") << " (" << where << ")\n";
    }
  }
  if (failures == 0) {
    ADD_FAILURE_AT(file_, line_) << "marked as differing on " << PlatformName(ThisPlatform())
                                 << " (" << why_ << "), but it behaves as on Windows now";
  } else {
    // Shown in the case's output, so that a marker hiding a new fault is seen.
    std::ostringstream seen;
    for (int i = 0; i < results.size(); ++i) {
      seen << "    " << results.GetTestPartResult(i).message() << "\n";
    }
    printf("[ DIVERGES ] %s: %s\n%s", where.c_str(), why_, seen.str().c_str());
  }
}

std::string DivergenceList() {
  std::lock_guard<std::mutex> lock(g_listMutex);
  return g_list.str();
}

}  // namespace conformance

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  std::string list = conformance::DivergenceList();
  int lines = 0;
  for (char c : list) lines += c == '\n';
  std::string summary = "Known differences on " +
                        std::string(conformance::PlatformName(conformance::ThisPlatform())) + ": " +
                        std::to_string(lines) + "\n" + list;
  fputs(summary.c_str(), stdout);
  fflush(stdout);
  // Left beside the run for the test command's summary.
  std::ofstream("known-differences.txt", std::ios::binary) << summary;
  return result;
}

namespace conformance {

std::string UniqueName(const std::string& stem) {
  static int counter = 0;
  static const unsigned long stamp =
      static_cast<unsigned long>(time(nullptr)) ^ std::random_device{}();
  return stem + "-" + std::to_string(stamp) + "-" + std::to_string(++counter);
}

}  // namespace conformance

namespace conformance {

void PrinterContextTest::SetUp() {
  ConformanceTest::SetUp();
  REQUIRE_PRINTER();
  dc_ = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
  ASSERT_NE(dc_, nullptr);
}

}  // namespace conformance
