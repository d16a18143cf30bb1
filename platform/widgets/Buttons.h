#pragma once
// The speed button: a graphic (windowless) button with a glyph and a caption, used alone or in
// groups that behave like radio buttons. Code: SpeedButton.cpp; docs/widgets.md.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/controls/Forms.h"

namespace qel {

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// How the button looks now: raised, disabled, pressed while the mouse holds it, or held down.
enum TButtonState : uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  std::string ClassName() const override { return "TSpeedButton"; }

  // The glyph holds NumGlyphs images side by side: up, disabled, pressed, down. Its bottom-left
  // pixel is the transparent colour. A disabled button without its own image embosses the first.
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* Value);
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);  // 1..4; others are ignored
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  // Distance from the edge to the glyph (-1: the glyph and caption are centred together).
  int GetMargin() const { return FMargin; }
  void SetMargin(int Value);
  // Gap between glyph and caption (-1: the free room is shared equally).
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool GetDown() const { return FDown; }
  // Only buttons of a group (GroupIndex non-zero) stay down; going up needs AllowAllUp.
  void SetDown(bool Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);  // passed on to the whole group
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }
  // Where the glyph image and the caption are drawn in the up state (client coordinates).
  void CalcLayout(TPoint& GlyphPos, TRect& TextBounds) const;

  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMButtonPressed(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  // Tells the siblings of the group that this one went down.
  void UpdateExclusive();
  TSize GlyphSize() const;
  void DrawGlyph(TCanvas* C, TPoint At) const;

 private:
  void GlyphChanged(TObject* Sender);
  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FTransparent = true;
  TButtonState FState = bsUp;
  bool FDragging = false;
  bool FMouseInControl = false;
};

}  // namespace qel
