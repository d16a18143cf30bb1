// One reviewed picture of the standard controls in their states, compared with its reference.
#include <gtest/gtest.h>

#include "platform/widgets/Buttons.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class LooksTest : public WidgetTest {};

template <class T>
T* Put(TWinControl* Parent, int X, int Y, int W, int H) {
  auto* c = new T(Parent->GetOwner() ? Parent->GetOwner() : Parent);
  c->SetParent(Parent);
  c->SetBounds(X, Y, W, H);
  return c;
}

TEST_F(LooksTest, StandardControlsInTheirStates) {
  Form->SetBounds(0, 0, 440, 250);
  // Edits: focused with a selection, plain, read-only, masked, borderless, disabled.
  auto* focused = Put<TEdit>(Form, 10, 10, 130, 21);
  focused->SetText("Selected text");
  auto* plain = Put<TEdit>(Form, 10, 36, 130, 21);
  plain->SetText("Plain edit");
  auto* masked = Put<TEdit>(Form, 10, 62, 130, 21);
  masked->SetPasswordChar(U'*');
  masked->SetText("secret");
  auto* flat = Put<TEdit>(Form, 10, 88, 130, 21);
  flat->SetBorderStyle(bsNone);
  flat->SetText("No border");
  auto* off = Put<TEdit>(Form, 10, 114, 130, 21);
  off->SetText("Disabled");
  off->SetEnabled(false);
  // A memo with a vertical scroll bar, wrapping.
  auto* memo = Put<TMemo>(Form, 150, 10, 150, 80);
  memo->SetScrollBars(ssVertical);
  TStringList lines;
  for (int i = 1; i <= 8; ++i) lines.Add("Line " + std::to_string(i) + " of the memo text");
  memo->SetLines(&lines);
  // Labels.
  auto* l1 = Put<TLabel>(Form, 150, 100, 0, 0);
  l1->SetCaption("&Accelerated label");
  auto* l2 = Put<TLabel>(Form, 150, 118, 0, 0);
  l2->SetCaption("Disabled label");
  l2->SetEnabled(false);
  auto* l3 = Put<TLabel>(Form, 150, 136, 150, 30);
  l3->SetAutoSize(false);
  l3->SetTransparent(false);
  l3->SetColor(clWindow);
  l3->SetAlignment(taCenter);
  l3->SetLayout(tlCenter);
  l3->SetCaption("Centred, opaque");
  // Panels.
  auto* raised = Put<TPanel>(Form, 310, 10, 120, 35);
  raised->SetCaption("Raised");
  auto* lowered = Put<TPanel>(Form, 310, 50, 120, 35);
  lowered->SetBevelOuter(bvLowered);
  lowered->SetCaption("Lowered");
  auto* framed = Put<TPanel>(Form, 310, 90, 120, 50);
  framed->SetBevelInner(bvLowered);
  framed->SetBorderWidth(3);
  framed->SetCaption("Both bevels");
  framed->SetAlignment(taLeftJustify);
  // Speed buttons: up, down in a group, flat, flat and hot, disabled, with a glyph.
  TBitmap glyph(16, 16);
  FillBitmap(glyph, clFuchsia);
  glyph.Canvas()->Brush()->SetColor(clGreen);
  glyph.Canvas()->Pen()->SetColor(clBlack);
  glyph.Canvas()->Ellipse(3, 3, 13, 13);
  auto* up = Put<TSpeedButton>(Form, 10, 150, 60, 25);
  up->SetCaption("Up");
  auto* down = Put<TSpeedButton>(Form, 75, 150, 60, 25);
  down->SetCaption("Down");
  down->SetGroupIndex(1);
  down->SetDown(true);
  auto* fl = Put<TSpeedButton>(Form, 140, 180, 60, 25);
  fl->SetCaption("Flat");
  fl->SetFlat(true);
  auto* hot = Put<TSpeedButton>(Form, 205, 180, 60, 25);
  hot->SetCaption("Hot");
  hot->SetFlat(true);
  auto* dis = Put<TSpeedButton>(Form, 270, 180, 70, 25);
  dis->SetCaption("Disabled");
  dis->SetGlyph(&glyph);
  dis->SetEnabled(false);
  auto* withGlyph = Put<TSpeedButton>(Form, 10, 180, 120, 25);
  withGlyph->SetGlyph(&glyph);
  withGlyph->SetCaption("Glyph left");
  auto* glyphTop = Put<TSpeedButton>(Form, 350, 150, 80, 55);
  glyphTop->SetGlyph(&glyph);
  glyphTop->SetLayout(blGlyphTop);
  glyphTop->SetCaption("On top");

  ShowForm();
  focused->SetFocus();
  focused->SetSelStart(0);
  focused->SetSelLength(8);
  Input().MouseMove(hot->GetLeft() + 5, hot->GetTop() + 5);
  const TBitmap& shot = Surface();
  ExpectMatchesGolden(shot, "widgets_standard");
}

}  // namespace
}  // namespace qel::test
