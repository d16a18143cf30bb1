#include "platform/rtl/SafeMath.h"

#include <gtest/gtest.h>

#include <limits>

namespace qel {
namespace {

TEST(SafeMath, RoundsHalvesToEven) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(3.5), 4);
  EXPECT_EQ(RoundToInt(-2.5), -2);
  EXPECT_EQ(RoundToInt(-0.4), 0);
  EXPECT_EQ(RoundToInt64(1e15 + 0.5), 1000000000000000);
}

TEST(SafeMath, SaturatesInsteadOfOverflowing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(RoundToInt(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundToInt(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(RoundToInt(nan), 0);
  EXPECT_EQ(RoundToInt64(inf), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(RoundToInt64(-inf), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(TruncToInt(-2147483649.0), std::numeric_limits<int>::min());
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt64(nan), 0);
}

TEST(SafeMath, DivisionTowardZeroNeverTraps) {
  EXPECT_EQ(DivTrunc(-7, 2), -3);
  EXPECT_EQ(DivTrunc(7, 0), 0);
  EXPECT_EQ(DivTrunc(std::numeric_limits<int>::min(), -1), std::numeric_limits<int>::max());
}

TEST(SafeMath, MulDivRoundsToNearest) {
  EXPECT_EQ(MulDiv(10, 96, 72), 13);  // 13.33
  EXPECT_EQ(MulDiv(3, 1, 2), 2);      // 1.5 away from zero
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 20), -1);  // does not fit
  EXPECT_EQ(MulDiv(1 << 30, 1 << 10, 1 << 20), 1 << 20);
}

}  // namespace
}  // namespace qel
