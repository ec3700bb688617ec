// What every conformance case includes: GoogleTest, the Win32 subset the
// library calls (and nothing of any platform behind it), the stage that
// sets up what a case needs, and the marker for a known difference.
//
// A case states the contract as Windows keeps it. Where a platform answers
// differently on purpose, the expectations that it fails stand in a
// DIVERGES_ON block: on that platform they are expected to fail, and the
// case fails instead when they pass (the difference went away, and the
// marker with it must go); on every other platform they count as usual.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "stage.h"

namespace conformance {

// The platforms a marker names; a marker may name several (kSimwin | kLinux).
enum Platform : unsigned {
  kSimwin = 1,  // the simulated Windows of the native tests
  kLinux = 2,   // libPLENWICKDLL.so's platform on CUPS, cairo, fontconfig
  kWine32 = 4,  // the real API under 32-bit Wine
  kWine64 = 8,  // the real API under 64-bit Wine
  kWine = kWine32 | kWine64,
};

// The platform this program is linked with (defined by its stage).
Platform ThisPlatform();
const char* PlatformName(Platform platform);

// One marked block while it runs: the failures of its expectations are
// held back, then judged when the block ends.
class Divergence {
 public:
  // listed: whether the marker goes into the run's list of differences
  // (the marker's own tests keep theirs out of it).
  Divergence(unsigned platforms, const char* why, const char* file, int line, bool listed = true);
  ~Divergence();
  Divergence(const Divergence&) = delete;
  Divergence& operator=(const Divergence&) = delete;

  bool Running() const { return running_; }
  void Finish();

 private:
  struct Held;
  unsigned platforms_;
  const char* why_;
  const char* file_;
  int line_;
  bool listed_;
  bool running_ = true;
  Held* held_;
};

// Every marker met in this run on this platform, one line each, in the
// order met: "file:line: why (expected failure seen)" or "... (passes now)".
// The program prints them at its end.
std::string DivergenceList();

}  // namespace conformance

// The block's expectations are known to fail on the named platforms, for
// the reason given.
#define DIVERGES_ON(platforms, why)                                                            \
  for (::conformance::Divergence plenwick_divergence_((platforms), (why), __FILE__, __LINE__); \
       plenwick_divergence_.Running(); plenwick_divergence_.Finish())

namespace conformance {

// Every case starts on a machine as the platform's stage sets it up.
class ConformanceTest : public ::testing::Test {
 protected:
  void SetUp() override { FreshMachine(); }
};

// Whether the printer "PDF" opens; a case that prints is skipped without
// the test command's print server, and fails when the server is there but
// the printer not.
inline bool PrinterOpens() {
  char name[] = "PDF";
  HANDLE printer = nullptr;
  if (!OpenPrinterA(name, &printer, nullptr)) return false;
  ClosePrinter(printer);
  return true;
}

// A case on a device context of the printer "PDF" (made without a device
// mode), deleted after the case unless the case deleted it and set dc_ to
// null.
class PrinterContextTest : public ConformanceTest {
 protected:
  void SetUp() override;
  void TearDown() override {
    if (dc_) DeleteDC(dc_);
  }
  HDC dc_ = nullptr;
};

// A name no other run of the suite gives its documents and files, so that
// runs side by side never read each other's.
std::string UniqueName(const std::string& stem);

}  // namespace conformance

// Without the test command's print server no printer is asked for at all:
// the machine's own print server and its queues are left alone.
#define REQUIRE_PRINTER()                                                                \
  do {                                                                                   \
    if (!::conformance::PrintServerExpected()) {                                         \
      GTEST_SKIP() << "no print server: the test command starts one with the queue PDF"; \
    }                                                                                    \
    if (!::conformance::PrinterOpens()) FAIL() << "the printer PDF does not open";       \
  } while (0)
