#include "platform/graphics/Graphics.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TPen

void TPen::Assign(const TPersistent* Source) {
  if (auto* pen = dynamic_cast<const TPen*>(Source)) {
    if (pen == this) return;
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 1) Value = 1;
  if (FWidth == Value) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value > psInsideFrame) throw ERangeError("Invalid pen style");
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value > pmNotXor) throw ERangeError("Invalid pen mode");
  if (FMode == Value) return;
  FMode = Value;
  Changed();
}

// ---------------------------------------------------------------- TBrush

void TBrush::Assign(const TPersistent* Source) {
  if (auto* brush = dynamic_cast<const TBrush*>(Source)) {
    if (brush == this) return;
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  // Giving a clear brush a colour asks for it to be painted.
  bool styleChanges = FStyle == bsClear;
  if (FColor == Value && !styleChanges) return;
  FColor = Value;
  if (styleChanges) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value > bsDiagCross) throw ERangeError("Invalid brush style");
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

// ---------------------------------------------------------------- TFont

void TFont::Assign(const TPersistent* Source) {
  if (auto* font = dynamic_cast<const TFont*>(Source)) {
    if (font == this) return;
    FName = font->FName;
    FHeight = font->FHeight;
    FColor = font->FColor;
    FStyle = font->FStyle;
    FOrientation = font->FOrientation;
    FPitch = font->FPitch;
    FQuality = font->FQuality;
    FCharset = font->FCharset;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || FName == Value) return;  // a nameless font keeps its face
  FName = Value;
  Changed();
}

int TFont::GetSize() const { return -MulDiv(FHeight, 72, kScreenPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, kScreenPixelsPerInch, 72)); }

void TFont::SetHeight(int Value) {
  if (FHeight == Value) return;
  FHeight = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TFont::SetOrientation(int Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (FPitch == Value) return;
  FPitch = Value;
  Changed();
}

void TFont::SetQuality(TFontQuality Value) {
  if (FQuality == Value) return;
  FQuality = Value;
  Changed();
}

void TFont::SetCharset(uint8_t Value) {
  if (FCharset == Value) return;
  FCharset = Value;
  Changed();
}

bool TFont::SameAs(const TFont& Other) const {
  return FName == Other.FName && FHeight == Other.FHeight && FColor == Other.FColor &&
         FStyle == Other.FStyle && FOrientation == Other.FOrientation && FPitch == Other.FPitch &&
         FQuality == Other.FQuality && FCharset == Other.FCharset;
}

// ---------------------------------------------------------------- TGraphic

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphic::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Changed();
}

}  // namespace qel
