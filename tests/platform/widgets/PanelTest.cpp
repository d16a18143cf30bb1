// The panel: bevel pixels at the corners and edges, border width, the client area aligned
// children fill, and the caption.
#include <gtest/gtest.h>

#include "platform/widgets/ExtCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class PanelTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(0, 0, 50, 30);
  }
  TBitmap& Paint() {
    FBmp.SetSize(50, 30);
    FillBitmap(FBmp, clFuchsia);
    Panel->PaintTo(&FBmp);
    return FBmp;
  }
  TPanel* Panel = nullptr;
  TColor Hi = ColorToRGB(clBtnHighlight), Sh = ColorToRGB(clBtnShadow),
         Face = ColorToRGB(clBtnFace);

 private:
  TBitmap FBmp;
};

TEST_F(PanelTest, RaisedAndLoweredBevelsLightTheRightEdges) {
  TBitmap& b = Paint();
  EXPECT_EQ(PixelAt(b, 0, 0), Hi);
  EXPECT_EQ(PixelAt(b, 48, 0), Hi);
  EXPECT_EQ(PixelAt(b, 0, 28), Hi);
  EXPECT_EQ(PixelAt(b, 49, 29), Sh);
  EXPECT_EQ(PixelAt(b, 49, 1), Sh);
  EXPECT_EQ(PixelAt(b, 1, 29), Sh);
  EXPECT_EQ(PixelAt(b, 1, 1), Face);
  EXPECT_EQ(CountPixels(b, Rect(0, 0, 50, 30), clFuchsia), 0);
  Panel->SetBevelOuter(bvLowered);
  TBitmap& l = Paint();
  EXPECT_EQ(PixelAt(l, 0, 0), Sh);
  EXPECT_EQ(PixelAt(l, 49, 29), Hi);
  Panel->SetBevelOuter(bvNone);
  TBitmap& n = Paint();
  EXPECT_EQ(PixelAt(n, 0, 0), Face);
  EXPECT_EQ(PixelAt(n, 49, 29), Face);
}

TEST_F(PanelTest, BorderWidthSeparatesOuterAndInnerBevels) {
  Panel->SetBevelInner(bvLowered);
  Panel->SetBorderWidth(2);
  Panel->SetBevelWidth(2);
  TBitmap& b = Paint();
  for (int i = 0; i < 2; ++i) EXPECT_EQ(PixelAt(b, i, 10), Hi) << i;
  for (int i = 2; i < 4; ++i) EXPECT_EQ(PixelAt(b, i, 10), Face) << i;
  for (int i = 4; i < 6; ++i) EXPECT_EQ(PixelAt(b, i, 10), Sh) << i;
  EXPECT_EQ(PixelAt(b, 6, 10), Face);
  // The inner bevel's far side is lit.
  EXPECT_EQ(PixelAt(b, 44, 10), Hi);
  EXPECT_EQ(PixelAt(b, 49, 10), Sh);
  EXPECT_EQ(Panel->FrameSize(), 6);
  Panel->SetBorderStyle(bsSingle);
  TBitmap& s = Paint();
  EXPECT_EQ(PixelAt(s, 0, 10), ColorToRGB(clWindowFrame));
  EXPECT_EQ(PixelAt(s, 1, 10), Hi);
  EXPECT_EQ(Panel->FrameSize(), 7);
  Panel->SetBevelWidth(0);  // at least one
  EXPECT_EQ(Panel->GetBevelWidth(), 1);
}

TEST_F(PanelTest, BevelKindDrawsAnEdgeOnTheChosenSidesOnly) {
  Panel->SetBevelOuter(bvNone);
  Panel->SetBevelKind(bkFlat);
  Panel->SetBevelEdges({beTop, beBottom});
  TBitmap& b = Paint();
  EXPECT_EQ(PixelAt(b, 10, 0), Sh);
  EXPECT_EQ(PixelAt(b, 10, 29), Sh);
  EXPECT_EQ(PixelAt(b, 0, 10), Face);
  EXPECT_EQ(PixelAt(b, 49, 10), Face);
  EXPECT_EQ(Panel->InnerRect(), Rect(0, 1, 50, 29));
  Panel->SetBevelKind(bkTile);
  Panel->SetBevelEdges({beLeft, beTop, beRight, beBottom});
  Panel->SetBevelOuter(bvRaised);
  TBitmap& t = Paint();
  // Etched ring outside (shadow then highlight), then the raised bevel.
  EXPECT_EQ(PixelAt(t, 0, 10), Sh);
  EXPECT_EQ(PixelAt(t, 1, 10), Hi);
  EXPECT_EQ(PixelAt(t, 49, 10), Hi);
  EXPECT_EQ(PixelAt(t, 48, 10), Sh);
  EXPECT_EQ(PixelAt(t, 2, 10), Hi);
  EXPECT_EQ(PixelAt(t, 47, 10), Sh);
  EXPECT_EQ(Panel->InnerRect(), Rect(3, 3, 47, 27));
}

TEST_F(PanelTest, AlignedChildrenStayInsideTheBevels) {
  Panel->SetBounds(0, 0, 120, 80);
  auto* top = new TPanel(Form);
  top->SetParent(Panel);
  top->SetHeight(20);
  top->SetAlign(alTop);
  auto* rest = new TPanel(Form);
  rest->SetParent(Panel);
  rest->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), Rect(1, 1, 119, 21));
  EXPECT_EQ(rest->BoundsRect(), Rect(1, 21, 119, 79));
  Panel->SetBevelInner(bvRaised);
  Panel->SetBorderWidth(3);
  EXPECT_EQ(Panel->InnerRect(), Rect(5, 5, 115, 75));
  EXPECT_EQ(top->BoundsRect(), Rect(5, 5, 115, 25));
  EXPECT_EQ(rest->BoundsRect(), Rect(5, 25, 115, 75));
  // A panel too small for its frame gives an empty inner area, never a negative one.
  Panel->SetBounds(0, 0, 6, 6);
  EXPECT_TRUE(Panel->InnerRect().IsEmpty());
  EXPECT_GE(rest->GetWidth(), 0);
}

TEST_F(PanelTest, CaptionFollowsAlignment) {
  Panel->SetBounds(0, 0, 50, 30);
  Panel->SetCaption("Ab");
  TBitmap& c = Paint();
  TRect ink = InkBounds(c, Rect(2, 2, 48, 28), Face);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_NEAR((ink.Left + ink.Right) / 2, 25, 2);
  EXPECT_NEAR((ink.Top + ink.Bottom) / 2, 15, 3);
  Panel->SetAlignment(taLeftJustify);
  EXPECT_LE(InkBounds(Paint(), Rect(2, 2, 48, 28), Face).Left, 3);
  Panel->SetAlignment(taRightJustify);
  EXPECT_GE(InkBounds(Paint(), Rect(2, 2, 48, 28), Face).Right, 47);
}

}  // namespace
}  // namespace qel::test
