// Saving a band as strips and painting it back, against the recording platform.
#include "display/strip_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_platform.h"

namespace lab {
namespace {

// trunc(i * 597 / 20) for i = 0 to 20.
const std::vector<int> Boundaries597 = {0,   29,  59,  89,  119, 149, 179, 208, 238, 268, 298,
                                        328, 358, 388, 417, 447, 477, 507, 537, 567, 597};

TEST(StripStore, BoundariesTruncate) {
  for (int i = 0; i <= 20; ++i) EXPECT_EQ(stripBoundary(i, 597, 20), Boundaries597[i]) << i;
  EXPECT_EQ(stripBoundary(19, 764, 20), 725);  // 725.8
  EXPECT_EQ(stripBoundary(3, 477, 20), 71);    // 71.55
  EXPECT_EQ(stripBoundary(5, 100, 0), 0);      // no strips: no division by zero
}

TEST(StripStore, SaveCapturesNeighbouringStripsSharingTheirBoundary) {
  test::RecordingPlatform p(800, 600);
  StripSet set;
  SaveStrips(p, set, 0, 398, 597, 20);
  std::vector<std::string> expected;
  for (int i = 1; i <= 20; ++i) {
    expected.push_back("capture_image [0 " + std::to_string(Boundaries597[i - 1]) + " 398 " +
                       std::to_string(Boundaries597[i]) + "]");
  }
  EXPECT_EQ(p.calls, expected);
  EXPECT_FALSE(set[0]);
  EXPECT_FALSE(set[21]);
  for (int i = 1; i <= 20; ++i) EXPECT_TRUE(set[i]) << i;
}

TEST(StripStore, RestorePaintsStripOneFirstAtItsTopRow) {
  test::RecordingPlatform p(800, 600);
  StripSet set;
  SaveStrips(p, set, 0, 398, 597, 20);
  p.takeCalls();
  RestoreStrips(p, set, 0, 597, 20);
  const auto calls = p.takeCalls();
  ASSERT_EQ(calls.size(), 20u);
  EXPECT_EQ(calls.front(), "put_image [0 0 398 29] 0 0");
  EXPECT_EQ(calls[1], "put_image [0 29 398 59] 0 29");
  EXPECT_EQ(calls.back(), "put_image [0 567 398 597] 0 567");
}

TEST(StripStore, EmptyElementsPaintNothing) {
  test::RecordingPlatform p(800, 600);
  StripSet set;
  RestoreStrips(p, set, 0, 597, 20);
  EXPECT_TRUE(p.calls.empty());

  SaveStrips(p, set, 0, 398, 597, 20);
  set[2].reset();
  p.takeCalls();
  RestoreStrips(p, set, 0, 597, 20);
  const auto calls = p.takeCalls();
  ASSERT_EQ(calls.size(), 19u);
  EXPECT_EQ(calls[1], "put_image [0 59 398 89] 0 59");
}

TEST(StripStore, TooManyStripsNeverWritePastTheSet) {
  test::RecordingPlatform p(800, 600);
  StripSet set;
  SaveStrips(p, set, 0, 100, 300, 50);
  EXPECT_EQ(p.calls.size(), 20u);
  EXPECT_FALSE(set[21]);
}

}  // namespace
}  // namespace lab
