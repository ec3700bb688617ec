// The marker itself: a marked failure on its platform is expected, a
// marked block that passes there fails the case, and a failure marked for
// another platform counts as any failure.
#include <gtest/gtest-spi.h>

#include "conformance.h"

namespace conformance {
namespace {

// A marked block as DIVERGES_ON makes it, kept out of the run's list.
void MarkedBlock(unsigned platforms, int value) {
  for (Divergence marker(platforms, "the marker's own test", __FILE__, __LINE__, false);
       marker.Running(); marker.Finish()) {
    EXPECT_EQ(value, 1);
  }
}

TEST(DivergenceMarker, AFailureMarkedForThisPlatformIsExpected) { MarkedBlock(ThisPlatform(), 2); }

TEST(DivergenceMarker, ABlockThatPassesOnItsPlatformFails) {
  EXPECT_NONFATAL_FAILURE(MarkedBlock(ThisPlatform(), 1), "behaves as on Windows now");
}

TEST(DivergenceMarker, AFailureMarkedForAnotherPlatformCounts) {
  EXPECT_NONFATAL_FAILURE(MarkedBlock(0, 2), "Expected equality");
}

TEST(DivergenceMarker, APassingBlockMarkedForAnotherPlatformPasses) { MarkedBlock(0, 1); }

}  // namespace
}  // namespace conformance
