// The label: auto size, alignment and layout probed by where the ink lies, measuring through
// DoDrawText, accelerators, transparency and the disabled look.
#include <gtest/gtest.h>

#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

// Counts DoDrawText calls and lets a test measure through it.
class TProbeLabel : public TLabel {
 public:
  using TLabel::TLabel;
  int Draws = 0;
  int Measures = 0;
  void Measure(TRect& R, unsigned Flags) { DoDrawText(R, Flags); }

 protected:
  void DoDrawText(TRect& Rect, unsigned Flags) override {
    ++((Flags & DT_CALCRECT) ? Measures : Draws);
    TLabel::DoDrawText(Rect, Flags);
  }
};

class LabelTest : public WidgetTest {
 protected:
  TProbeLabel* NewLabel(const std::string& Caption, bool AutoSize) {
    auto* l = new TProbeLabel(Form);
    l->SetParent(Form);
    l->SetAutoSize(AutoSize);
    l->SetBounds(20, 20, 200, 60);
    l->SetCaption(Caption);
    return l;
  }
  // Ink of a label painted alone on white: its bounds within the label.
  TRect Ink(TLabel* L) {
    TBitmap bmp(L->GetWidth(), L->GetHeight());
    FillBitmap(bmp, clWhite);
    L->SetTransparent(true);
    L->PaintTo(&bmp, 0, 0);
    return InkBounds(bmp, clWhite);
  }
  int TextWidthOf(const std::string& S) {
    TBitmap bmp(1, 1);
    bmp.Canvas()->Font()->Assign(Form->GetFont());
    return bmp.Canvas()->TextWidth(S);
  }
};

// Hidden labels are not aligned until shown: an auto size must not take the side the alignment
// gives them meanwhile, or showing the label (or reading it back from a form file) changes it.
TEST_F(LabelTest, AutoSizeLeavesTheSideTheAlignmentSets) {
  struct Case {
    TAlign Align;
    bool KeepWidth, KeepHeight;
  };
  for (const Case& c : {Case{alTop, true, false}, Case{alLeft, false, true},
                        Case{alClient, true, true}, Case{alNone, false, false}}) {
    SCOPED_TRACE(static_cast<int>(c.Align));
    auto* l = NewLabel("Measured", false);
    l->SetAlign(c.Align);
    const int w = l->GetWidth(), h = l->GetHeight();
    l->SetVisible(false);
    l->SetAutoSize(true);
    if (c.KeepWidth)
      EXPECT_EQ(l->GetWidth(), w);
    else
      EXPECT_EQ(l->GetWidth(), TextWidthOf("Measured"));
    if (c.KeepHeight)
      EXPECT_EQ(l->GetHeight(), h);
    else
      EXPECT_LT(l->GetHeight(), 40);
    const int shownW = l->GetWidth(), shownH = l->GetHeight();
    l->SetVisible(true);
    EXPECT_EQ(l->GetWidth(), shownW);
    EXPECT_EQ(l->GetHeight(), shownH);
    delete l;
  }
}

TEST_F(LabelTest, AutoSizeTakesTheSizeOfTheText) {
  auto* l = NewLabel("Measured", true);
  EXPECT_EQ(l->GetWidth(), TextWidthOf("Measured"));
  int h = l->GetHeight();
  EXPECT_GT(h, 5);
  l->SetCaption("Measured and longer");
  EXPECT_EQ(l->GetWidth(), TextWidthOf("Measured and longer"));
  EXPECT_EQ(l->GetHeight(), h);
  // Right justified, the right edge stays where it was.
  int right = l->GetLeft() + l->GetWidth();
  l->SetAlignment(taRightJustify);
  l->SetCaption("Short");
  EXPECT_EQ(l->GetLeft() + l->GetWidth(), right);
  // An empty caption still keeps one line of height.
  l->SetCaption("");
  EXPECT_EQ(l->GetHeight(), h);
  EXPECT_GT(l->GetWidth(), 0);
  // "&&" is one ampersand, "&x" none.
  l->SetAlignment(taLeftJustify);
  l->SetCaption("&File");
  EXPECT_EQ(l->GetWidth(), TextWidthOf("File"));
  l->SetShowAccelChar(false);
  EXPECT_EQ(l->GetWidth(), TextWidthOf("&File"));
  // Bigger font, bigger label.
  l->GetFont()->SetSize(20);
  EXPECT_GT(l->GetHeight(), 2 * h);
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsDown) {
  auto* l = NewLabel("", true);
  l->SetWordWrap(true);
  l->SetWidth(60);
  l->SetCaption("several words that will not fit on one line");
  EXPECT_EQ(l->GetWidth(), 60);
  TRect ink = Ink(l);
  EXPECT_LE(ink.Right, 60);
  EXPECT_GT(l->GetHeight(), 3 * Ink(NewLabel("x", true)).Height());
}

TEST_F(LabelTest, AlignmentPlacesTheInk) {
  auto* l = NewLabel("Hi", false);
  int w = TextWidthOf("Hi");
  TRect left = Ink(l);
  EXPECT_LE(left.Left, 2);
  EXPECT_LE(left.Right, w + 1);
  l->SetAlignment(taRightJustify);
  TRect right = Ink(l);
  EXPECT_GE(right.Right, 197);
  EXPECT_GE(right.Left, 200 - w - 1);
  l->SetAlignment(taCenter);
  TRect centre = Ink(l);
  EXPECT_NEAR((centre.Left + centre.Right) / 2, 100, 2);
}

TEST_F(LabelTest, LayoutPlacesTheInkVertically) {
  auto* l = NewLabel("Hg", false);
  TRect top = Ink(l);
  EXPECT_LE(top.Top, 4);
  l->SetLayout(tlBottom);
  TRect bottom = Ink(l);
  EXPECT_GE(bottom.Bottom, 56);
  l->SetLayout(tlCenter);
  TRect centre = Ink(l);
  EXPECT_NEAR((centre.Top + centre.Bottom) / 2, 30, 3);
  EXPECT_EQ(centre.Left, top.Left);
}

TEST_F(LabelTest, CalcRectMeasuresAndDrawsNothing) {
  auto* l = NewLabel("Only measured", false);
  l->SetTransparent(false);
  l->SetColor(clWhite);
  ShowForm();
  const TBitmap& before = Surface();
  TBitmap copy;
  copy.Assign(&before);
  TRect r = Rect(0, 0, 0, 0);
  l->Measure(r, DT_CALCRECT);
  EXPECT_EQ(r.Width(), TextWidthOf("Only measured"));
  EXPECT_GT(r.Height(), 0);
  const TBitmap& after = Surface();
  int differing = 0;
  for (int y = 0; y < after.GetHeight(); ++y)
    for (int x = 0; x < after.GetWidth(); ++x)
      differing += PixelAt(after, x, y) != PixelAt(copy, x, y);
  EXPECT_EQ(differing, 0);
  // Painting with a layout other than top measures first, then draws once.
  l->Draws = l->Measures = 0;
  l->SetLayout(tlCenter);
  l->Repaint();
  EXPECT_EQ(l->Draws, 1);
  EXPECT_EQ(l->Measures, 1);
}

TEST_F(LabelTest, TransparencyAndTheDisabledLook) {
  auto* l = NewLabel("Disabled", false);
  l->SetColor(clYellow);
  l->SetTransparent(false);
  TBitmap bmp(200, 60);
  FillBitmap(bmp, clWhite);
  l->PaintTo(&bmp);
  EXPECT_EQ(PixelAt(bmp, 190, 50), clYellow);
  l->SetTransparent(true);
  FillBitmap(bmp, clWhite);
  l->PaintTo(&bmp);
  EXPECT_EQ(PixelAt(bmp, 190, 50), clWhite);
  l->SetEnabled(false);
  FillBitmap(bmp, clWhite);
  l->GetFont()->SetQuality(fqNonAntialiased);
  l->PaintTo(&bmp);
  EXPECT_GT(CountPixels(bmp, Rect(0, 0, 200, 60), ColorToRGB(clBtnShadow)), 10);
  EXPECT_GT(CountPixels(bmp, Rect(0, 0, 200, 60), ColorToRGB(clBtnHighlight)), 10);
  EXPECT_EQ(CountPixels(bmp, Rect(0, 0, 200, 60), ColorToRGB(clWindowText)), 0);
}

TEST_F(LabelTest, AcceleratorUnderlinesAndFocusesTheFocusControl) {
  auto* l = NewLabel("&Name", false);
  l->GetFont()->SetQuality(fqNonAntialiased);
  TRect withAccel = Ink(l);
  l->SetShowAccelChar(false);
  TRect plain = Ink(l);
  // The underline runs below the glyphs; without accelerators the '&' is drawn instead.
  EXPECT_GT(withAccel.Bottom, Ink(NewLabel("Name", false)).Bottom);
  EXPECT_GT(plain.Right, withAccel.Right);
  l->SetShowAccelChar(true);

  auto* first = new TEdit(Form);
  first->SetParent(Form);
  first->SetBounds(10, 100, 80, 21);
  auto* target = new TEdit(Form);
  target->SetParent(Form);
  target->SetBounds(10, 130, 80, 21);
  l->SetFocusControl(target);
  EXPECT_EQ(AccelCharOf("&Name"), U'n');
  EXPECT_EQ(AccelCharOf("a&&b"), 0u);
  ShowForm();
  ASSERT_TRUE(first->Focused());
  EXPECT_NE(Form->Perform(CM_DIALOGCHAR, 'N'), 0);
  EXPECT_TRUE(target->Focused());
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'q'), 0);
  // The label forgets a focus control that goes away.
  delete target;
  EXPECT_EQ(l->GetFocusControl(), nullptr);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'n'), 0);
}

}  // namespace
}  // namespace qel::test
