// Failed allocations on request: while armed, every operator new of the
// test program throws std::bad_alloc, as it does when memory runs out.
// AddressSanitizer and ThreadSanitizer bring their own operator new, which
// the test program cannot replace: there Supported() is false and nothing
// fails.
#pragma once

namespace plenwick_test {

class FailingAllocations {
 public:
  static bool Supported();
  FailingAllocations();
  ~FailingAllocations();
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
};

}  // namespace plenwick_test
