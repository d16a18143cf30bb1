// The 52 mark symbols as pixel masks. Masks are built from exact integer shapes (never from
// rasterised primitives) so every mark is pixel-symmetric about its centre lines and centred on
// its point, whatever the canvas does with odd coordinates.
#include <cstdlib>
#include <functional>

#include "frame/QEL_qelbase.h"

namespace qel {
namespace {

constexpr int R = kMarkRadius;
constexpr int N = 2 * R + 1;

using TShape = std::function<bool(int dx, int dy)>;

TMarkMask FromShape(const TShape& In) {
  TMarkMask m{};
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x)
      if (In(x - R, y - R)) m[y] |= static_cast<uint16_t>(1u << x);
  return m;
}

bool Has(const TMarkMask& m, int x, int y) {
  return x >= 0 && y >= 0 && x < N && y < N && (m[y] >> x) & 1u;
}

// The one-pixel outline of a filled mask: its pixels with a 4-neighbour outside.
TMarkMask Outline(const TMarkMask& f) {
  TMarkMask m{};
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x)
      if (Has(f, x, y) &&
          (!Has(f, x - 1, y) || !Has(f, x + 1, y) || !Has(f, x, y - 1) || !Has(f, x, y + 1)))
        m[y] |= static_cast<uint16_t>(1u << x);
  return m;
}

TMarkMask Or(const TMarkMask& a, const TMarkMask& b) {
  TMarkMask m{};
  for (int y = 0; y < N; ++y) m[y] = a[y] | b[y];
  return m;
}

TMarkMask FromArt(const char* const (&Rows)[N]) {
  TMarkMask m{};
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x)
      if (Rows[y][x] == '#') m[y] |= static_cast<uint16_t>(1u << x);
  return m;
}

TMarkMask Disc(int r) {
  return FromShape([r](int dx, int dy) { return dx * dx + dy * dy <= r * r + r; });
}
TMarkMask Square(int h) {
  return FromShape([h](int dx, int dy) { return std::abs(dx) <= h && std::abs(dy) <= h; });
}
TMarkMask Diamond(int h) {
  return FromShape([h](int dx, int dy) { return std::abs(dx) + std::abs(dy) <= h; });
}
// Apex at the top, base of 2h + 1 pixels at the bottom; the others by mirroring/transposing.
bool TriUp(int h, int dx, int dy) { return std::abs(dy) <= h && 2 * std::abs(dx) <= dy + h; }
TMarkMask Triangle(int h, int dir) {
  return FromShape([h, dir](int dx, int dy) {
    switch (dir) {
      case 0:
        return TriUp(h, dx, dy);
      case 1:
        return TriUp(h, dx, -dy);
      case 2:
        return TriUp(h, dy, dx);
      default:
        return TriUp(h, dy, -dx);
    }
  });
}
TMarkMask Plus(int h) {
  return FromShape([h](int dx, int dy) {
    return (dx == 0 && std::abs(dy) <= h) || (dy == 0 && std::abs(dx) <= h);
  });
}
TMarkMask Cross(int h) {
  return FromShape(
      [h](int dx, int dy) { return std::abs(dx) == std::abs(dy) && std::abs(dx) <= h; });
}
TMarkMask Hexagon() {
  return FromShape([](int dx, int dy) {
    // Flat top and bottom, pointed left and right.
    return std::abs(dy) <= 4 && std::abs(dx) <= 5 - (std::abs(dy) + 1) / 2;
  });
}

struct TMarkTable {
  std::array<TMarkMask, kMarkCount> Masks{};
  std::array<const char*, kMarkCount> Names{};
};

TMarkTable BuildMarks() {
  TMarkTable t;
  int i = 0;
  auto add = [&](const TMarkMask& m, const char* name) {
    t.Masks[i] = m;
    t.Names[i] = name;
    ++i;
  };
  const TMarkMask centre = FromShape([](int dx, int dy) { return dx == 0 && dy == 0; });
  const char* const star[N] = {
      ".....#.....", "....###....", "....###....", "###########", ".#########.", "..#######..",
      "...#####...", "..#######..", "..###.###..", ".##.....##.", ".#.......#.",
  };
  add(centre, "point");
  add(Plus(1), "small plus 3");
  add(Square(1), "filled square 3");
  add(Outline(Disc(2)), "circle 5");
  add(Disc(2), "filled circle 5");
  add(Outline(Disc(3)), "circle 7");
  add(Disc(3), "filled circle 7");
  add(Outline(Disc(4)), "circle 9");
  add(Disc(4), "filled circle 9");
  add(Outline(Square(2)), "square 5");
  add(Square(2), "filled square 5");
  add(Outline(Square(3)), "square 7");
  add(Square(3), "filled square 7");
  add(Outline(Square(4)), "square 9");
  add(Square(4), "filled square 9");
  add(Outline(Triangle(4, 0)), "triangle up");
  add(Triangle(4, 0), "filled triangle up");
  add(Outline(Triangle(4, 1)), "triangle down");
  add(Triangle(4, 1), "filled triangle down");
  add(Outline(Triangle(4, 2)), "triangle left");
  add(Triangle(4, 2), "filled triangle left");
  add(Outline(Triangle(4, 3)), "triangle right");
  add(Triangle(4, 3), "filled triangle right");
  add(Outline(Diamond(3)), "diamond 7");
  add(Diamond(3), "filled diamond 7");
  add(Outline(Diamond(5)), "diamond 11");
  add(Diamond(5), "filled diamond 11");
  add(Plus(2), "plus 5");
  add(Plus(3), "plus 7");
  add(Plus(4), "plus 9");
  add(Cross(2), "cross 5");
  add(Cross(3), "cross 7");
  add(Cross(4), "cross 9");
  add(FromShape([](int dx, int dy) {
        return (std::abs(dx) <= 1 && std::abs(dy) <= 4) || (std::abs(dy) <= 1 && std::abs(dx) <= 4);
      }),
      "bold plus 9");
  add(FromShape([](int dx, int dy) {
        return std::abs(std::abs(dx) - std::abs(dy)) <= 1 && std::abs(dx) <= 4 && std::abs(dy) <= 4;
      }),
      "bold cross 9");
  add(Or(Plus(3), Cross(2)), "asterisk 7");
  add(Or(Plus(4), Cross(3)), "asterisk 9");
  add(Or(Outline(Square(4)), centre), "square 9 with dot");
  add(Or(Outline(Disc(4)), centre), "circle 9 with dot");
  add(Or(Outline(Diamond(5)), centre), "diamond 11 with dot");
  add(Or(Outline(Square(4)), Plus(4)), "square 9 with plus");
  add(Or(Outline(Disc(4)), Plus(4)), "circle 9 with plus");
  add(Or(Outline(Square(4)), Cross(4)), "square 9 with cross");
  add(Or(Outline(Disc(4)), Cross(3)), "circle 9 with cross");
  add(Outline(FromArt(star)), "star");
  add(FromArt(star), "filled star");
  add(Outline(Hexagon()), "hexagon");
  add(Hexagon(), "filled hexagon");
  add(FromShape([](int dx, int dy) { return dx == 0 && std::abs(dy) <= 4; }), "vertical bar");
  add(FromShape([](int dx, int dy) { return dy == 0 && std::abs(dx) <= 4; }), "horizontal bar");
  add(FromShape([](int dx, int dy) { return std::abs(dx) <= std::abs(dy) && std::abs(dy) <= 4; }),
      "hourglass");
  add(FromShape([](int dx, int dy) { return std::abs(dy) <= std::abs(dx) && std::abs(dx) <= 4; }),
      "bow tie");
  return t;
}

const TMarkTable& Marks() {
  static const TMarkTable table = BuildMarks();  // immutable once built
  return table;
}

}  // namespace

const TMarkMask& MarkMask(uint8_t MarkType) {
  static const TMarkMask empty{};
  if (MarkType >= kMarkCount) return empty;
  return Marks().Masks[MarkType];
}

const char* MarkName(uint8_t MarkType) {
  if (MarkType >= kMarkCount) return "";
  return Marks().Names[MarkType];
}

}  // namespace qel
