// The sparse size axis against a plain walk over every cell: positions, the cell at a position
// and the search used for scrolling must agree whatever mix of sizes the axis holds.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "platform/grids/Grids.h"

namespace qel::test {
namespace {

// Starts of every cell (and the end) by walking the sizes one by one.
std::vector<int64_t> Walk(const TGridAxis& A) {
  std::vector<int64_t> pos{0};
  for (int i = 0; i < A.GetCount(); ++i) pos.push_back(pos.back() + A.GetSize(i) + A.GetLine());
  return pos;
}

TEST(GridAxisTest, PositionsAndLookupsMatchAWalkOverMixedSizes) {
  std::mt19937 rng(7);
  for (int line : {0, 1, 3}) {
    TGridAxis a;
    a.SetLine(line);
    a.SetCount(300);
    a.SetDefault(17);
    std::uniform_int_distribution<int> index(0, 299), size(0, 40);
    for (int k = 0; k < 80; ++k) a.SetSize(index(rng), size(rng));  // zero sizes included
    std::vector<int64_t> pos = Walk(a);
    for (int i = 0; i <= a.GetCount(); ++i) ASSERT_EQ(a.Pos(i), pos[i]) << "line " << line;
    for (int64_t p = -2; p < pos.back() + 3; ++p) {
      int expected = -1;
      for (int i = 0; i < a.GetCount(); ++i)
        if (p >= pos[i] && p < pos[i + 1]) expected = i;
      ASSERT_EQ(a.IndexAt(p), expected) << "at " << p << " line " << line;
    }
    for (int64_t p = 0; p < pos.back(); p += 7) {
      int from = index(rng) % 50, expected = a.GetCount();
      for (int i = from; i <= a.GetCount(); ++i)
        if (pos[i] >= p) {
          expected = i;
          break;
        }
      ASSERT_EQ(a.FirstAtOrAfter(p, from), expected);
    }
  }
}

TEST(GridAxisTest, ShrinkingDropsSizesBeyondTheCountAndNewDefaultsResetSizes) {
  TGridAxis a;
  a.SetCount(10);
  a.SetDefault(20);
  a.SetSize(8, 5);
  a.SetSize(2, 30);
  a.SetCount(5);
  a.SetCount(10);
  EXPECT_EQ(a.GetSize(8), 20);  // not resurrected by growing again
  EXPECT_EQ(a.GetSize(2), 30);
  a.SetSize(2, -4);  // negative sizes hide the cell instead of going backwards
  EXPECT_EQ(a.GetSize(2), 0);
  EXPECT_EQ(a.Pos(3), a.Pos(2) + a.GetLine());
  a.SetDefault(12);
  EXPECT_EQ(a.GetSize(2), 12);
  EXPECT_EQ(a.GetSize(-1), 0);
  EXPECT_EQ(a.GetSize(10), 0);
}

TEST(GridAxisTest, MovingACellCarriesItsSizeAndShiftsTheOthers) {
  for (auto [from, to] : {std::pair{1, 6}, {6, 1}, {0, 9}, {9, 0}, {4, 4}, {3, 12}}) {
    TGridAxis a;
    a.SetCount(10);
    a.SetDefault(10);
    std::vector<int> sizes(10, 10);
    for (int i : {1, 2, 5, 6, 9}) {
      a.SetSize(i, 20 + i);
      sizes[i] = 20 + i;
    }
    a.Move(from, to);
    if (to < 10 && from != to) {
      int s = sizes[from];
      sizes.erase(sizes.begin() + from);
      sizes.insert(sizes.begin() + to, s);
    }
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a.GetSize(i), sizes[i]) << from << "->" << to;
    EXPECT_EQ(a.Pos(10), Walk(a).back());
  }
}

TEST(GridAxisTest, AMillionCellsWithExceptionsStayExact) {
  TGridAxis a;
  a.SetCount(1000000);
  a.SetDefault(18);
  a.SetSize(10, 40);
  a.SetSize(999998, 2);
  int64_t stride = 19;
  EXPECT_EQ(a.Pos(11), 11 * stride + 22);
  EXPECT_EQ(a.Pos(1000000), 1000000 * stride + 22 - 16);
  EXPECT_EQ(a.IndexAt(a.Pos(1000000) - 1), 999999);
  EXPECT_EQ(a.IndexAt(a.Pos(999999) - 1), 999998);
  EXPECT_EQ(a.IndexAt(a.Pos(500000) + 5), 500000);
}

}  // namespace
}  // namespace qel::test
