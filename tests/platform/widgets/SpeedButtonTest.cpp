// The speed button: click on release inside only, the pressed look while held, groups, AllowAllUp,
// the flat hot look, the disabled state and the glyph.
#include <gtest/gtest.h>

#include "platform/widgets/Buttons.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class SpeedButtonTest : public WidgetTest {
 protected:
  TSpeedButton* NewButton(int X, int Group = 0) {
    auto* b = new TSpeedButton(Form);
    b->SetParent(Form);
    b->SetBounds(X, 10, 30, 25);
    b->SetGroupIndex(Group);
    b->OnClick = [this, b](TObject* Sender) {
      EXPECT_EQ(Sender, b);
      ++Clicks;
    };
    return b;
  }
  void ClickOn(TSpeedButton* B) {
    // Far enough apart in time that two clicks never make a double click.
    Application->AdvanceTime(1000);
    Input().Click(B->GetLeft() + 10, B->GetTop() + 10);
  }
  int Clicks = 0;
};

TEST_F(SpeedButtonTest, ClickOnlyOnReleaseInside) {
  auto* b = NewButton(10);
  ShowForm();
  Input().MouseDown(20, 20);
  EXPECT_EQ(b->State(), bsDown);
  EXPECT_EQ(Clicks, 0);
  Input().MouseMove(100, 100);  // dragged off: looks up again
  EXPECT_EQ(b->State(), bsUp);
  Input().MouseMove(22, 20);  // and back: pressed again
  EXPECT_EQ(b->State(), bsDown);
  Input().MouseUp(22, 20);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(b->State(), bsUp);
  Application->AdvanceTime(1000);
  Input().MouseDown(20, 20);
  Input().MouseMove(100, 100);
  Input().MouseUp(100, 100);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(b->State(), bsUp);
  // A button outside a group never stays down.
  b->SetDown(true);
  EXPECT_FALSE(b->GetDown());
  // Other buttons of the mouse do nothing.
  Input().Click(20, 20, mbRight);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(SpeedButtonTest, PressedLookShiftsTheContent) {
  auto* b = NewButton(10);
  b->SetCaption("X");
  b->GetFont()->SetQuality(fqNonAntialiased);
  ShowForm();
  TRect box = b->BoundsRect();
  TRect inner = box.Inflate(-3, -3);
  TRect up = InkBounds(Surface(), inner, ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelAt(Surface(), box.Left, box.Top), ColorToRGB(clBtnHighlight));
  Input().MouseDown(20, 20);
  TRect down = InkBounds(Surface(), inner, ColorToRGB(clBtnFace));
  EXPECT_EQ(down.Left, up.Left + 1);
  EXPECT_EQ(down.Top, up.Top + 1);
  EXPECT_EQ(PixelAt(Surface(), box.Left, box.Top), ColorToRGB(cl3DDkShadow));
  Input().MouseUp(20, 20);
}

TEST_F(SpeedButtonTest, GroupKeepsOneButtonDown) {
  auto* a = NewButton(10, 1);
  auto* b = NewButton(50, 1);
  auto* c = NewButton(90, 1);
  auto* other = NewButton(130, 2);
  other->SetDown(true);
  ShowForm();
  ClickOn(a);
  EXPECT_TRUE(a->GetDown());
  EXPECT_EQ(a->State(), bsExclusive);
  ClickOn(b);
  EXPECT_TRUE(b->GetDown());
  EXPECT_FALSE(a->GetDown());
  EXPECT_EQ(a->State(), bsUp);
  EXPECT_FALSE(c->GetDown());
  EXPECT_TRUE(other->GetDown());  // another group is left alone
  // Clicking the down button again keeps it down (but still clicks).
  ClickOn(b);
  EXPECT_TRUE(b->GetDown());
  EXPECT_EQ(Clicks, 3);
  // Setting Down from the program releases the others too.
  c->SetDown(true);
  EXPECT_FALSE(b->GetDown());
  // Pressing and dragging off a grouped button changes nothing.
  Application->AdvanceTime(1000);
  Input().MouseDown(a->GetLeft() + 5, 20);
  Input().MouseMove(300, 200);
  Input().MouseUp(300, 200);
  EXPECT_FALSE(a->GetDown());
  EXPECT_TRUE(c->GetDown());
  EXPECT_EQ(c->State(), bsExclusive);
}

TEST_F(SpeedButtonTest, AllowAllUpLetsTheLastButtonGoUpForTheWholeGroup) {
  auto* a = NewButton(10, 1);
  auto* b = NewButton(50, 1);
  ShowForm();
  ClickOn(a);
  a->SetDown(false);
  EXPECT_TRUE(a->GetDown());
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->GetAllowAllUp());  // passed on to the group
  ClickOn(a);
  EXPECT_FALSE(a->GetDown());
  EXPECT_FALSE(b->GetDown());
  // A single grouped button with AllowAllUp is a toggle.
  auto* t = NewButton(130, 7);
  t->SetAllowAllUp(true);
  ClickOn(t);
  EXPECT_TRUE(t->GetDown());
  ClickOn(t);
  EXPECT_FALSE(t->GetDown());
}

TEST_F(SpeedButtonTest, FlatButtonShowsAFrameOnlyWhenHot) {
  auto* b = NewButton(10);
  b->SetFlat(true);
  ShowForm();
  TRect box = b->BoundsRect();
  TColor hi = ColorToRGB(clBtnHighlight);
  EXPECT_NE(PixelAt(Surface(), box.Left, box.Top), hi);
  Input().MouseMove(20, 20);
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_EQ(PixelAt(Surface(), box.Left, box.Top), hi);
  EXPECT_EQ(PixelAt(Surface(), box.Right - 1, box.Bottom - 1), ColorToRGB(clBtnShadow));
  Input().MouseMove(200, 200);
  EXPECT_FALSE(b->MouseInControl());
  EXPECT_NE(PixelAt(Surface(), box.Left, box.Top), hi);
  Input().MouseMove(20, 20);
  Input().Leave();
  EXPECT_FALSE(b->MouseInControl());
}

TEST_F(SpeedButtonTest, DisabledButtonNeitherPressesNorClicks) {
  auto* b = NewButton(10, 1);
  b->SetCaption("Off");
  b->SetEnabled(false);
  ShowForm();
  EXPECT_EQ(b->State(), bsDisabled);
  ClickOn(b);
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(b->GetDown());
  b->SetEnabled(true);
  EXPECT_EQ(b->State(), bsUp);
  ClickOn(b);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(SpeedButtonTest, GlyphIsTransparentByItsBottomLeftPixelAndPlacedByLayout) {
  TBitmap strip(16, 8);  // two 8x8 images: up and disabled
  FillBitmap(strip, clFuchsia);
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(Rect(2, 2, 6, 6));
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect(Rect(10, 2, 14, 6));
  auto* b = NewButton(10);
  b->SetGlyph(&strip);
  EXPECT_EQ(b->GetNumGlyphs(), 2);
  b->SetMargin(4);
  TBitmap bmp(30, 25);
  FillBitmap(bmp, clWhite);
  b->PaintTo(&bmp);
  EXPECT_EQ(CountPixels(bmp, Rect(0, 0, 30, 25), clFuchsia), 0);
  TRect red = InkBounds(bmp, Rect(3, 3, 27, 22), ColorToRGB(clBtnFace));
  EXPECT_EQ(red.Left, 4 + 2);
  EXPECT_EQ(PixelAt(bmp, red.Left, red.Top), clRed);
  b->SetLayout(blGlyphRight);
  FillBitmap(bmp, clWhite);
  b->PaintTo(&bmp);
  EXPECT_EQ(InkBounds(bmp, Rect(3, 3, 27, 22), ColorToRGB(clBtnFace)).Right, 30 - 4 - 2);
  // Disabled: the second image.
  b->SetEnabled(false);
  FillBitmap(bmp, clWhite);
  b->PaintTo(&bmp);
  EXPECT_EQ(CountPixels(bmp, Rect(0, 0, 30, 25), clRed), 0);
  EXPECT_EQ(CountPixels(bmp, Rect(0, 0, 30, 25), clBlue), 16);
  // One image only: disabled is embossed from it.
  b->SetNumGlyphs(1);
  FillBitmap(bmp, clWhite);
  b->PaintTo(&bmp);
  EXPECT_EQ(CountPixels(bmp, Rect(0, 0, 30, 25), clRed), 0);
  EXPECT_GT(CountPixels(bmp, Rect(3, 3, 27, 22), ColorToRGB(clBtnShadow)), 10);
}

TEST_F(SpeedButtonTest, CaptionAndGlyphShareTheFaceCentred) {
  TBitmap g(8, 8);
  FillBitmap(g, clFuchsia);
  g.Canvas()->Brush()->SetColor(clRed);
  g.Canvas()->FillRect(Rect(0, 0, 8, 7));
  auto* b = NewButton(10);
  b->SetBounds(0, 0, 80, 24);
  b->SetGlyph(&g);
  b->SetCaption("Go");
  TPoint gp;
  TRect tb;
  b->CalcLayout(gp, tb);
  EXPECT_EQ(tb.Left, gp.X + 8 + 4);
  // Centred together: equal room left and right.
  EXPECT_NEAR(gp.X, 80 - tb.Right, 1);
  b->SetLayout(blGlyphTop);
  b->SetBounds(0, 0, 40, 40);
  b->CalcLayout(gp, tb);
  EXPECT_EQ(tb.Top, gp.Y + 8 + 4);
  EXPECT_NEAR(gp.Y, 40 - tb.Bottom, 1);
  b->SetSpacing(-1);
  b->SetMargin(-1);
  b->CalcLayout(gp, tb);
  EXPECT_NEAR(gp.Y, tb.Top - (gp.Y + 8), 1);
}

}  // namespace
}  // namespace qel::test
