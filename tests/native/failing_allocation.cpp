// The test program's own operator new and delete, on malloc and free, with
// the switch that makes new fail.
#include "failing_allocation.h"

#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define PLENWICK_OWN_ALLOCATOR 0
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PLENWICK_OWN_ALLOCATOR 0
#endif
#ifndef PLENWICK_OWN_ALLOCATOR
#define PLENWICK_OWN_ALLOCATOR 1
#endif

namespace {

bool g_failing = false;

}  // namespace

namespace plenwick_test {

bool FailingAllocations::Supported() { return PLENWICK_OWN_ALLOCATOR; }
FailingAllocations::FailingAllocations() { g_failing = true; }
FailingAllocations::~FailingAllocations() { g_failing = false; }

}  // namespace plenwick_test

#if PLENWICK_OWN_ALLOCATOR
namespace {

void* Allocate(std::size_t size) {
  if (g_failing) throw std::bad_alloc();
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
#endif
