// Many print requests in one process, as a long-running virtual machine
// makes them: every request gives back every platform object, and after
// the first requests the heap no longer grows.
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "request/print_request.h"
#include "test_support.h"

namespace {

using plenwick_test::Arguments;

#ifdef PLENWICK_SANITIZED
// The sanitizer's allocator keeps no mallinfo and is slow: fewer requests,
// the handle checks only.
constexpr int kRequests = 1000;
constexpr bool kMeasureHeap = false;
#else
constexpr int kRequests = 10000;
constexpr bool kMeasureHeap = true;
#endif
constexpr int kSettled = 100;  // requests before the heap is measured

// A small deterministic generator: the same requests on every run.
class Choices {
 public:
  explicit Choices(uint32_t seed) : state_(seed) {}
  uint32_t Next(uint32_t range) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % range;
  }

 private:
  uint32_t state_;
};

const char* const kOptions[] = {
    "-copies=3",
    "-orientation=landscape",
    "-orientation=portrait",
    "-point=9",
    "-point=72",
    "-font=Courier New",
    "-ruler",
    "-width=8.5",
    "-length=11",
    "-width=0x10",
    "-form_id=A4",
    "-form_id=Letter",
    "-source=upper",
    "-source=7",
    "-collate=true",
    "-interactive=none",
    "-raw",
    "-oem",
    "-ansi",
    "-printer_id=PDF",
    "-printer_id=Nowhere",
    "-config=job.cfg",
    "-config=loop.cfg",
    "-config=missing.cfg",
    "-printer_ctl=\"-copies=2 -ruler -form_id=Legal\"",
    "-disposition=scratch",
    "-disposition=save",
    "-width=11 -length=8.5",
    "-unknown=1",
};

std::string Report(Choices& choose) {
  std::string text;
  int lines = static_cast<int>(choose.Next(120));
  for (int i = 0; i < lines; ++i) {
    switch (choose.Next(6)) {
      case 0:
        text += "\f";
        break;
      case 1:
        text += "B\bBo\bol\bld\bd _\bu_\bn\r\n";  // overstrikes
        break;
      case 2:
        text += std::string(600 + choose.Next(400), 'w') + "\n";  // over-long line
        break;
      case 3:
        text += std::string(1, static_cast<char>(choose.Next(32))) + "ctl\x7f\xe9\n";
        break;
      default:
        text += "row " + std::to_string(i) + " of the soak\r\n";
    }
  }
  return text;
}

class SoakTest : public plenwick_test::SimTest {};

TEST_F(SoakTest, ManyRequestsLeaveNothingOpenAndNoGrowth) {
  WriteFile("loop.cfg", "-config=loop.cfg\n");  // names itself: cut at the nesting limit
  size_t settledHeap = 0, finalHeap = 0;
  for (int request = 1; request <= kRequests; ++request) {
    // kSettled different requests, over and over: once each has run, the
    // simulated Windows' records have grown to their largest, and what
    // grows after that is the library's.
    Choices choose(static_cast<uint32_t>(request % kSettled) * 7919u + 1u);
    // Files that SCRATCH deleted come back; the others are written once.
    if (!Exists("job.cfg")) WriteFile("job.cfg", "-copies=2\n-form_id=A4\n-ruler\n");
    std::string report = "report" + std::to_string(request % kSettled) + ".txt";
    std::string text = Report(choose);
    if (!Exists(report)) WriteFile(report, text);
    Arguments args{};
    int options = static_cast<int>(choose.Next(5));
    for (int i = 0; i < options; ++i) args.Add(kOptions[choose.Next(std::size(kOptions))]);
    args.Add(choose.Next(10) == 0 ? "missing.txt" : report);
    if (choose.Next(4) == 0) args.Add(report);  // a second document, maybe deleted
    switch (choose.Next(12)) {
      case 0:
        simwin::ForceSpoolerResult("EndPage", -1, 1 + choose.Next(3));
        break;
      case 1:
        simwin::ForceSpoolerResult("StartPage", -4, 1 + choose.Next(3));
        break;
      case 2:
        simwin::ForceSpoolerResult("EndDoc", -3);
        break;
      case 3:
        plenwick_test::PressCancelAtAbortCall(1 + choose.Next(3));
        break;
      case 4:
        simwin::QueueMessageBoxAnswer(IDCANCEL);  // the unknown printer's box, if it comes
        break;
      default:
        break;
    }
    plenwick_test::RunPrintRequest(args);
    ASSERT_EQ(simwin::OpenHandleCount(), 0u) << "request " << request;
    ASSERT_EQ(simwin::LiveGlobalBlocks(), 2u) << "request " << request;  // the selection only
    simwin::ClearRecords();
    if (request == kSettled) settledHeap = mallinfo2().uordblks;
  }
  finalHeap = mallinfo2().uordblks;
  printf(
      "soak: %d requests, platform objects open after each: 0; heap in use after %d: %zu "
      "bytes, after %d: %zu bytes\n",
      kRequests, kSettled, settledHeap, kRequests, finalHeap);
  if (kMeasureHeap) {
    // A few pages of slack for the allocator's own bookkeeping; a leak of
    // even a few bytes a request would pass it within the run.
    EXPECT_LE(finalHeap, settledHeap + 16384);
  }
}

}  // namespace
