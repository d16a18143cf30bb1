// TGradFill: band rectangles and colours of every layout (the default 16 bands, one band, the
// middle band), the colour pair under flipping, the band count limits, system colours, grid
// lines at the band borders, the frame, the paint event, form files, and one golden sheet.
#include <gtest/gtest.h>

#include <memory>

#include "indicators/QEL_gradfl.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

std::unique_ptr<TBitmap> Render(const TGradFill& G) {
  auto b = std::make_unique<TBitmap>(G.GetWidth(), G.GetHeight());
  test::FillBitmap(*b, 0xFF00FF);
  G.DrawGradient(b.get());
  return b;
}

TEST(GradFill, DefaultSixteenBandsFromMaroonTowardsYellow) {
  TGradFill g(nullptr);
  int y = 0;
  for (int k = 0; k < 16; ++k) {
    const TRect r = GradBandRect(gtHoriz, k, 16, 121, 121);
    EXPECT_EQ(r.Top, y);
    EXPECT_TRUE(r.Height() == 7 || r.Height() == 8) << k;
    EXPECT_EQ(r.Left, 0);
    EXPECT_EQ(r.Right, 121);
    y = r.Bottom;
  }
  EXPECT_EQ(y, 121);
  auto b = Render(g);
  EXPECT_EQ(PixelAt(*b, 60, 0), clMaroon);
  // The last band: red 0x80 + MulDiv(15, 0x7F, 16) = 247, green MulDiv(15, 255, 16) = 239.
  EXPECT_EQ(PixelAt(*b, 60, 120), TColor{0x00EFF7});
  EXPECT_EQ(PixelAt(*b, 0, 113), TColor{0x00EFF7});  // MulDiv(15, 121, 16) = 113
  EXPECT_EQ(PixelAt(*b, 0, 112), GradBandColor(gtHoriz, 14, 16, clMaroon, clYellow));
}

TEST(GradFill, BandColoursOfEveryLayout) {
  struct Case {
    TGradType Type;
    int N, K;
    TColor First, Last, Color;
  };
  const Case cases[] = {
      {gtHoriz, 1, 0, clMaroon, clYellow, clMaroon},         // one band: ColorFirst
      {gtVert, 2, 1, clBlack, clWhite, 0x808080},            // one step short of ColorLast
      {gtMidBandHoriz, 1, 0, clMaroon, clYellow, clMaroon},  // no room to rise
      {gtMidBandVert, 5, 0, clBlack, clWhite, clBlack},
      {gtMidBandVert, 5, 1, clBlack, clWhite, 0x808080},  // MulDiv(1, 255, 2) = 128
      {gtMidBandVert, 5, 2, clBlack, clWhite, clWhite},   // the middle band is ColorLast
      {gtMidBandVert, 5, 3, clBlack, clWhite, 0x808080},
      {gtMidBandVert, 5, 4, clBlack, clWhite, clBlack},
      {gtMidBandHoriz, 2, 1, clRed, clBlue, clBlue},
      {gtHoriz, 4, 3, clWhite, clBlack, 0x404040},  // 255 - MulDiv(3, 255, 4) = 64
  };
  for (const Case& c : cases)
    EXPECT_EQ(GradBandColor(c.Type, c.K, c.N, c.First, c.Last), c.Color)
        << int(c.Type) << " n=" << c.N << " k=" << c.K;
  // At the pixels: the middle-band layout across a 121-wide control.
  TGradFill g(nullptr);
  g.SeTGradType(gtMidBandVert);
  g.SetNrColors(5);
  g.SetColorFirst(clBlack);
  g.SetColorLast(clWhite);
  auto b = Render(g);
  const int xs[] = {0, 23, 24, 48, 72, 73, 97, 120};
  const TColor want[] = {clBlack, clBlack, 0x808080, clWhite, clWhite, 0x808080, clBlack, clBlack};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(PixelAt(*b, xs[i], 60), want[i]) << xs[i];
}

TEST(GradFill, FlippingExchangesTheColoursAndKeepsThePair) {
  TGradFill g(nullptr);
  g.SetColorFlipped(true);
  EXPECT_EQ(g.GetColorFirst(), clYellow);
  EXPECT_EQ(g.GetColorLast(), clMaroon);
  g.SetColorFirst(clLime);  // stored as the pair's second colour
  g.SetColorFlipped(false);
  EXPECT_EQ(g.GetColorFirst(), clMaroon);
  EXPECT_EQ(g.GetColorLast(), clLime);
  g.SetColorFlipped(true);
  EXPECT_EQ(g.GetColorFirst(), clLime);
  g.SetColorLast(clBlue);
  g.SetColorFlipped(false);
  EXPECT_EQ(g.GetColorFirst(), clBlue);
  EXPECT_EQ(g.GetColorLast(), clLime);
}

TEST(GradFill, BandCountLimitsAndSystemColours) {
  TGradFill g(nullptr);
  const std::pair<int, int> counts[] = {{300, 255}, {0, 1}, {-7, 1}, {255, 255}, {1, 1}};
  for (auto [in, out] : counts) {
    g.SetNrColors(in);
    EXPECT_EQ(g.GetNrColors(), out) << in;
  }
  g.SetColorFirst(clBtnFace);
  auto b = Render(g);
  EXPECT_EQ(PixelAt(*b, 60, 60), ColorToRGB(clBtnFace) & 0xFFFFFF);
  // More bands than pixels: every pixel still belongs to a band.
  g.SetBounds(0, 0, 3, 3);
  g.SetNrColors(255);
  g.SetColorFirst(clBlack);
  b = Render(g);
  EXPECT_EQ(test::CountPixels(*b, Rect(0, 0, 3, 3), 0xFF00FF), 0);
}

TEST(GradFill, GridAtTheBandBordersAndFrame) {
  TGradFill g(nullptr);
  g.SetGridMode(gmHoriz);
  auto b = Render(g);
  EXPECT_EQ(PixelAt(*b, 60, 8), clNavy);  // MulDiv(1, 121, 16) = 8
  EXPECT_EQ(PixelAt(*b, 60, 113), clNavy);
  EXPECT_EQ(PixelAt(*b, 60, 0), clMaroon);  // no line before the first band
  EXPECT_EQ(PixelAt(*b, 8, 60), GradBandColor(gtHoriz, 7, 16, clMaroon, clYellow));
  g.SetGridMode(gmVert);
  g.SetGridColor(clLime);
  b = Render(g);
  EXPECT_EQ(PixelAt(*b, 8, 60), clLime);
  EXPECT_NE(PixelAt(*b, 60, 8), clLime);
  g.SetGridMode(gmBoth);
  b = Render(g);
  EXPECT_EQ(PixelAt(*b, 8, 60), clLime);
  EXPECT_EQ(PixelAt(*b, 60, 8), clLime);
  // The frame lies over bands and grid.
  g.SetFrameStyle(fsSimple);
  b = Render(g);
  EXPECT_NE(PixelAt(*b, 0, 60), clLime);
  EXPECT_NE(PixelAt(*b, 0, 60), clMaroon);
}

TEST(GradFill, PaintRaisesOnPaintAfterDrawing) {
  TGradFill g(nullptr);
  int painted = 0;
  TBitmap b(121, 121);
  g.OnPaint = [&](TObject* S) {
    EXPECT_EQ(S, &g);
    EXPECT_EQ(PixelAt(b, 60, 0), clMaroon);  // drawn before the event
    ++painted;
  };
  g.PaintTo(&b);
  EXPECT_EQ(painted, 1);
}

TEST(GradFill, FormFileRoundTripKeepsAFlippedPair) {
  RegisterGradFillClasses();
  RegisterGradFillClasses();  // twice changes nothing
  TGradFill g(nullptr);
  g.SetName("Panel1");
  g.SetColorLast(clMaroon);  // A = maroon (the default), B = maroon
  g.SetColorFirst(clGreen);
  g.SetColorFlipped(true);  // first = maroon, last = green
  g.SeTGradType(gtMidBandHoriz);
  g.SetGridMode(gmBoth);
  const std::string text = WriteComponentText(&g);
  std::unique_ptr<TGradFill> again(CreateFromText<TGradFill>(text, nullptr));
  EXPECT_EQ(again->GetColorFirst(), g.GetColorFirst());
  EXPECT_EQ(again->GetColorLast(), g.GetColorLast());
  again->SetColorFlipped(false);
  g.SetColorFlipped(false);
  EXPECT_EQ(again->GetColorFirst(), g.GetColorFirst());
  EXPECT_EQ(again->GetColorLast(), g.GetColorLast());
  EXPECT_EQ(again->GetFillType(), gtMidBandHoriz);
  EXPECT_EQ(again->GetGridMode(), gmBoth);
}

TEST(GradFill, GoldenSheet) {
  // The four layouts, a flipped pair, one band, grids and frames.
  TBitmap sheet(4 * 100 + 20, 2 * 100 + 12);
  test::FillBitmap(sheet, clWhite);
  struct Panel {
    TGradType Type;
    int N;
    TGridMode Grid;
    TFrameStyle Frame;
    bool Flipped;
  };
  const Panel panels[] = {
      {gtHoriz, 16, gmNone, fsNone, false},           {gtVert, 12, gmNone, fsRaised, false},
      {gtMidBandHoriz, 9, gmHoriz, fsLowered, false}, {gtMidBandVert, 5, gmVert, fsEmbossed, true},
      {gtHoriz, 1, gmBoth, fsSimple, false},          {gtVert, 255, gmNone, fsEngraved, true},
      {gtMidBandVert, 1, gmNone, fsRaised, false},    {gtHoriz, 7, gmBoth, fsLowered, true},
  };
  for (int i = 0; i < 8; ++i) {
    TGradFill g(nullptr);
    g.SetBounds(0, 0, 96, 96);
    g.SeTGradType(panels[i].Type);
    g.SetNrColors(panels[i].N);
    g.SetGridMode(panels[i].Grid);
    g.SetFrameStyle(panels[i].Frame);
    if (i >= 4) g.SetColorLast(clAqua);
    g.SetColorFlipped(panels[i].Flipped);
    TBitmap b(96, 96);
    g.DrawGradient(&b);
    sheet.Canvas()->Draw(4 + (i % 4) * 104, 4 + (i / 4) * 104, &b);
  }
  test::ExpectMatchesGolden(sheet, "gradfl_layouts");
}

}  // namespace
}  // namespace qel
