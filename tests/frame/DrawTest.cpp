// Mark symbols and frames, probed on small bitmaps.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "frame/QEL_qelbase.h"
#include "platform/graphics/Graphics.h"

namespace qel {
namespace {

constexpr int kBox = 2 * kMarkRadius + 1;

bool Bit(const TMarkMask& m, int x, int y) { return (m[y] >> x) & 1u; }

TEST(Marks, AllFiftyTwoAreDistinctCentredAndSymmetric) {
  std::set<std::vector<uint16_t>> seen;
  for (int t = 0; t < kMarkCount; ++t) {
    const TMarkMask& m = MarkMask(static_cast<uint8_t>(t));
    int left = kBox, right = -1, top = kBox, bottom = -1;
    bool mirrorX = true, mirrorY = true;
    for (int y = 0; y < kBox; ++y)
      for (int x = 0; x < kBox; ++x) {
        if (Bit(m, x, y)) {
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
        mirrorX = mirrorX && Bit(m, x, y) == Bit(m, kBox - 1 - x, y);
        mirrorY = mirrorY && Bit(m, x, y) == Bit(m, x, kBox - 1 - y);
      }
    ASSERT_GE(right, 0) << "mark " << t << " is empty";
    EXPECT_EQ(left + right, 2 * kMarkRadius) << MarkName(t) << " is not centred across";
    EXPECT_EQ(top + bottom, 2 * kMarkRadius) << MarkName(t) << " is not centred down";
    EXPECT_TRUE(mirrorX || mirrorY) << MarkName(t) << " is not symmetric";
    EXPECT_TRUE(seen.insert(std::vector<uint16_t>(m.begin(), m.end())).second)
        << MarkName(t) << " repeats an earlier mark";
    EXPECT_STRNE(MarkName(t), "");
  }
  EXPECT_EQ(MarkMask(52), TMarkMask{});
  EXPECT_STREQ(MarkName(200), "");
}

TEST(Marks, HollowMarksAreTheOutlinesOfTheirFilledTwins) {
  // Pairs (hollow, filled) of the table.
  const int pairs[][2] = {{3, 4},   {5, 6},   {7, 8},   {9, 10},  {11, 12}, {13, 14}, {15, 16},
                          {17, 18}, {19, 20}, {21, 22}, {23, 24}, {25, 26}, {44, 45}, {46, 47}};
  for (const auto& p : pairs) {
    const TMarkMask& hollow = MarkMask(static_cast<uint8_t>(p[0]));
    const TMarkMask& filled = MarkMask(static_cast<uint8_t>(p[1]));
    int inner = 0;
    for (int y = 0; y < kBox; ++y) {
      EXPECT_EQ(hollow[y] & ~filled[y], 0) << MarkName(p[0]);
      inner += std::popcount(static_cast<unsigned>(filled[y] & ~hollow[y]));
    }
    EXPECT_GT(inner, 0) << MarkName(p[0]) << " has no inside";
  }
}

TEST(Marks, DrawnInThePenColourAtTheGivenCentre) {
  TBitmap bmp(40, 30);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clYellow);
  c->FillRect(Rect(0, 0, 40, 30));
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clBlue);
  c->Brush()->SetStyle(bsClear);
  DrawMarkOnCanvas(c, 36, 20, 12);  // asterisk 9
  const TMarkMask& m = MarkMask(36);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const int mx = x - 20 + kMarkRadius, my = y - 12 + kMarkRadius;
      const bool on = mx >= 0 && my >= 0 && mx < kBox && my < kBox && Bit(m, mx, my);
      ASSERT_EQ(c->GetPixel(x, y), on ? clRed : clYellow) << x << "," << y;
    }
  EXPECT_EQ(c->GetPixel(20, 12), clRed);
  EXPECT_EQ(c->GetPixel(20, 8), clRed);  // upper arm end
  EXPECT_EQ(c->GetPixel(20, 7), clYellow);
  EXPECT_EQ(c->Brush()->GetColor(), clBlue);  // the brush is given back
  EXPECT_EQ(c->Brush()->GetStyle(), bsClear);
  DrawMarkOnCanvas(c, 52, 5, 5);  // unknown: nothing
  EXPECT_EQ(c->GetPixel(5, 5), clYellow);
  DrawMarkOnCanvas(c, 8, -3, 29);  // clipped at the corner without harm
  EXPECT_EQ(c->GetPixel(0, 29), clRed);
  DrawMarkOnCanvas(nullptr, 8, 0, 0);
}

constexpr TColor kBack = 0x123456;
constexpr TColor kLight = 0xF0F0F0, kFace = 0xC0C0C0, kShade = 0x707070, kDark1 = 0x101010,
                 kDark2 = 0x202020;

std::unique_ptr<TBitmap> Blank() {
  auto b = std::make_unique<TBitmap>(12, 10);
  b->Canvas()->Brush()->SetColor(kBack);
  b->Canvas()->FillRect(Rect(0, 0, 12, 10));
  return b;
}

// The pixels a style paints on the inclusive rectangle (1, 1)-(10, 8), as a picture.
std::vector<std::string> Picture(TFrameStyle style) {
  auto b = Blank();
  DrawFrame(b->Canvas(), style, 1, 1, 10, 8, kLight, kFace, kShade, kDark1, kDark2);
  std::vector<std::string> rows;
  for (int y = 0; y < 10; ++y) {
    std::string row;
    for (int x = 0; x < 12; ++x) {
      const TColor p = b->Canvas()->GetPixel(x, y);
      row += p == kBack    ? '.'
             : p == kLight ? 'L'
             : p == kShade ? 'S'
             : p == kDark1 ? '4'
             : p == kDark2 ? '5'
                           : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(Frames, EachStylePaintsItsEdges) {
  using P = std::vector<std::string>;
  EXPECT_EQ(Picture(fsNone), P(10, "............"));
  EXPECT_EQ(Picture(fsSimple),
            (P{"............", ".SSSSSSSSSS.", ".S........S.", ".S........S.", ".S........S.",
               ".S........S.", ".S........S.", ".S........S.", ".SSSSSSSSSS.", "............"}));
  EXPECT_EQ(Picture(fsLowered),
            (P{"............", ".SSSSSSSSS..", ".S4444444SL.", ".S4......SL.", ".S4......SL.",
               ".S4......SL.", ".S4......SL.", ".SSSSSSSSSL.", "..LLLLLLLLL.", "............"}));
  EXPECT_EQ(Picture(fsRaised),
            (P{"............", ".SSSSSSSSS..", ".SLLLLLLLS5.", ".SL......S5.", ".SL......S5.",
               ".SL......S5.", ".SL......S5.", ".SSSSSSSSS5.", "..555555555.", "............"}));
  EXPECT_EQ(Picture(fsEmbossed),
            (P{"............", ".LLLLLLLLL..", ".LSSSSSSSLS.", ".LS......LS.", ".LS......LS.",
               ".LS......LS.", ".LS......LS.", ".LLLLLLLLLS.", "..SSSSSSSSS.", "............"}));
  EXPECT_EQ(Picture(fsEngraved),
            (P{"............", ".SSSSSSSSS..", ".SLLLLLLLSL.", ".SL......SL.", ".SL......SL.",
               ".SL......SL.", ".SL......SL.", ".SSSSSSSSSL.", "..LLLLLLLLL.", "............"}));
  EXPECT_EQ(Picture(static_cast<TFrameStyle>(9)), P(10, "............"));
}

// A component frame drawn the way the progress bar describes its own (pen lines and
// rectangles on L, T, R, B with R and B one beyond the last pixel, corners in the margin
// colour) must look exactly like DrawFrame on the inclusive rectangle.
void ComponentFrame(TCanvas* c, int style, int L, int T, int R, int B, TColor black, TColor dark,
                    TColor light, TColor margin) {
  c->Brush()->SetStyle(bsClear);
  auto line = [&](TColor col, std::vector<TPoint> pts) {
    c->Pen()->SetColor(col);
    c->MoveTo(pts[0].X, pts[0].Y);
    for (size_t i = 1; i < pts.size(); ++i) c->LineTo(pts[i].X, pts[i].Y);
  };
  auto closing = [&](TColor pen) {
    c->Pen()->SetColor(pen);
    c->Rectangle(L, T, R - 1, B - 1);
    c->SetPixel(L, B - 1, margin);
    c->SetPixel(R - 1, T, margin);
  };
  switch (style) {
    case 1:
      c->Pen()->SetColor(dark);
      c->Rectangle(L, T, R, B);
      break;
    case 2:
    case 3: {
      const TColor a = style == 2 ? black : light, b = style == 2 ? light : black;
      line(a, {{L + 1, B - 3}, {L + 1, T + 1}, {R - 1, T + 1}});
      line(b, {{L + 1, B - 1}, {R - 1, B - 1}, {R - 1, T}});
      closing(dark);
      break;
    }
    case 4:
      c->Pen()->SetColor(dark);
      c->Rectangle(L + 1, T + 1, R, B);
      closing(light);
      break;
    case 5:
      c->Pen()->SetColor(light);
      c->Rectangle(L + 1, T + 1, R, B);
      closing(dark);
      break;
  }
}

TEST(Frames, AgreeWithTheFramesComponentsDrawThemselves) {
  for (int style = 1; style <= 5; ++style) {
    auto ours = Blank();
    auto theirs = Blank();
    DrawFrame(ours->Canvas(), static_cast<TFrameStyle>(style), 0, 0, 11, 9, clWhite, clSilver,
              clGray, clBlack, clBlack);
    ComponentFrame(theirs->Canvas(), style, 0, 0, 12, 10, clBlack, clGray, clWhite, kBack);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 12; ++x)
        ASSERT_EQ(ours->Canvas()->GetPixel(x, y), theirs->Canvas()->GetPixel(x, y))
            << "style " << style << " at " << x << "," << y;
  }
}

TEST(Frames, KeepsTheCanvasStateAndSurvivesDegenerateRectangles) {
  auto b = Blank();
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clLime);
  c->Brush()->SetStyle(bsClear);
  DrawFrame(c, fsLowered, 10, 8, 1, 1, kLight, kFace, kShade, kDark1, kDark2);  // swapped
  EXPECT_EQ(Picture(fsLowered)[1], ".SSSSSSSSS..");
  EXPECT_EQ(c->Brush()->GetColor(), clLime);
  EXPECT_EQ(c->Brush()->GetStyle(), bsClear);
  for (int style = 0; style <= 5; ++style) {
    DrawFrame(c, static_cast<TFrameStyle>(style), 3, 3, 3, 3, kLight, kFace, kShade, kDark1,
              kDark2);
    DrawFrame(c, static_cast<TFrameStyle>(style), -100000, -5, 1 << 30, 1 << 30, kLight, kFace,
              kShade, kDark1, kDark2);
  }
  DrawFrame(nullptr, fsSimple, 0, 0, 1, 1, 0, 0, 0, 0, 0);
}

TEST(Frames, DrawRectangleOutlinesInclusiveCornersInThePen) {
  auto b = Blank();
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clRed);
  DrawRectangle(c, 2, 2, 5, 4);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool edge = (x == 2 || x == 5) && y >= 2 && y <= 4;
      const bool side = (y == 2 || y == 4) && x >= 2 && x <= 5;
      EXPECT_EQ(c->GetPixel(x, y), edge || side ? clRed : kBack) << x << "," << y;
    }
  DrawRectangle(c, 8, 7, 8, 7);
  EXPECT_EQ(c->GetPixel(8, 7), clRed);
  // An inverting pen touches each outline pixel once, so drawing twice restores the picture.
  auto x = Blank();
  x->Canvas()->Pen()->SetMode(pmXor);
  x->Canvas()->Pen()->SetColor(clWhite);
  DrawRectangle(x->Canvas(), 1, 1, 9, 7);
  EXPECT_NE(x->Canvas()->GetPixel(9, 7), kBack);
  DrawRectangle(x->Canvas(), 1, 1, 9, 7);
  for (int yy = 0; yy < 10; ++yy)
    for (int xx = 0; xx < 12; ++xx) ASSERT_EQ(x->Canvas()->GetPixel(xx, yy), kBack);
}

}  // namespace
}  // namespace qel
