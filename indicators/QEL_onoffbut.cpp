// TOnOffBut's properties, glyph sets, radio groups and mouse handling.
#include "indicators/QEL_onoffbut.h"

#include <algorithm>
#include <filesystem>

#include "frame/QEL_errors.h"

namespace qel {

// ---------------------------------------------------------------- life

TOnOffBut::TOnOffBut(TComponent* AOwner) : TGraphicControl(AOwner) {
  // The captions are the four texts; the name never shows.
  FControlStyle = FControlStyle - TControlStyle{csSetCaption};
  for (int k = 0; k < 4; ++k) {
    FGlyphs[k] = std::make_unique<TBitmap>();
    FUserGlyphs[k] = std::make_unique<TBitmap>(20, 20);
  }
  DrawDefaultUserGlyphs();
  FMask = std::make_unique<TBitmap>();
  LoadGlyphs();
  SetBounds(GetLeft(), GetTop(), 100, 50);
}

TOnOffBut::~TOnOffBut() = default;

// The user glyphs before any are given: a cross when off, a ring when on, nothing when
// disabled, all on the see-through colour.
void TOnOffBut::DrawDefaultUserGlyphs() {
  for (auto& g : FUserGlyphs) {
    TCanvas* c = g->Canvas();
    c->Brush()->SetColor(kOnOffSeeThrough);
    c->FillRect(Rect(0, 0, 20, 20));
    c->Pen()->SetColor(clBlack);
  }
  TCanvas* off = FUserGlyphs[OnOffGlyphIndex(false, true)]->Canvas();
  off->MoveTo(0, 0);
  off->LineTo(20, 20);
  off->MoveTo(0, 20);
  off->LineTo(20, 0);
  TCanvas* on = FUserGlyphs[OnOffGlyphIndex(true, true)]->Canvas();
  on->Brush()->SetStyle(bsClear);
  on->Ellipse(5, 5, 15, 15);
}

void TOnOffBut::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TOnOffBut*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (s == this) return;
  FLeftSpace = s->FLeftSpace;
  FTopSpace = s->FTopSpace;
  FAutoCenter = s->FAutoCenter;
  FLeftText = s->FLeftText;
  FTopText = s->FTopText;
  FRightText = s->FRightText;
  FBottomText = s->FBottomText;
  FLeftTextAlignment = s->FLeftTextAlignment;
  FTopTextAlignment = s->FTopTextAlignment;
  FRightTextAlignment = s->FRightTextAlignment;
  FBottomTextAlignment = s->FBottomTextAlignment;
  FFrameStyle = s->FFrameStyle;
  FColorBackgnd = s->FColorBackgnd;
  FColorScheme = s->FColorScheme;
  FOnOff = s->FOnOff;
  for (int k = 0; k < 4; ++k) {
    FGlyphs[k]->Assign(s->FGlyphs[k].get());
    FUserGlyphs[k]->Assign(s->FUserGlyphs[k].get());
  }
  FButtonStyle = s->FButtonStyle;
  FMouseAction = s->FMouseAction;
  FColorText = s->FColorText;
  FGlyphWidth = s->FGlyphWidth;
  FGlyphHeight = s->FGlyphHeight;
  FTransparent = s->FTransparent;
  TGraphicControl::SetEnabled(s->GetEnabled());
  Invalidate();
}

void TOnOffBut::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TOnOffBut*>(Dest))
    d->Assign(this);
  else
    TGraphicControl::AssignTo(Dest);
}

void TOnOffBut::Loaded() {
  TGraphicControl::Loaded();
  // The spaces a form file gives are where the glyph sat when it was written (a button not
  // yet resized since it was made need not be centred); one the file leaves out is centred.
  if (FAutoCenter) {
    if (!FLeftSpaceRead) FLeftSpace = (GetWidth() - FGlyphWidth) / 2;
    if (!FTopSpaceRead) FTopSpace = (GetHeight() - FGlyphHeight) / 2;
  }
  FLeftSpaceRead = FTopSpaceRead = false;
  // The group is settled once every member is read: the members read later would otherwise
  // switch off the one the form file saved as on.
  if (FOnOff) UpdateExclusive();
  Invalidate();
}

// ---------------------------------------------------------------- glyphs

void TOnOffBut::LoadGlyphs() {
  if (FButtonStyle == oobsUser) {
    for (int k = 0; k < 4; ++k) FGlyphs[k]->Assign(FUserGlyphs[k].get());
    FGlyphWidth = FUserGlyphs[OnOffGlyphIndex(true, true)]->GetWidth();
    FGlyphHeight = FUserGlyphs[OnOffGlyphIndex(true, true)]->GetHeight();
    return;
  }
  TBitmap res;
  res.LoadFromResourceName(kOnOffGlyphSets[FButtonStyle].Resource);
  ExtractGlyphs(res);
}

void TOnOffBut::CheckQuadrantBitmap(const TBitmap* Bitmap, const std::string& Source) const {
  auto fail = [&](const std::string& Why) {
    throw EQELError(ComponentMessage(GetName(), "\": " + Source + Why));
  };
  if (!Bitmap) fail("no bitmap given");
  const int w = Bitmap->GetWidth(), h = Bitmap->GetHeight();
  if (w < 2 || h < 2 || w % 2 != 0 || h % 2 != 0)
    fail("a glyph bitmap needs an even width and height of at least 2 (four quadrants), not " +
         std::to_string(w) + " x " + std::to_string(h));
}

namespace {
// Cuts a four-quadrant bitmap into glyphs by index: off/disabled, off/enabled, on/disabled,
// on/enabled.
void CutQuadrants(const TBitmap& Bitmap, std::array<std::unique_ptr<TBitmap>, 4>& Out) {
  const int gw = Bitmap.GetWidth() / 2, gh = Bitmap.GetHeight() / 2;
  const TPoint origin[4] = {{gw, gh}, {gw, 0}, {0, gh}, {0, 0}};
  // Built aside first, so that the glyphs in use stay whole should an allocation fail.
  std::array<std::unique_ptr<TBitmap>, 4> cut;
  for (int k = 0; k < 4; ++k) {
    cut[k] = std::make_unique<TBitmap>(gw, gh);
    cut[k]->Canvas()->CopyRect(Rect(0, 0, gw, gh), Bitmap.Canvas(),
                               Bounds(origin[k].X, origin[k].Y, gw, gh));
  }
  Out.swap(cut);
}
}  // namespace

void TOnOffBut::ExtractGlyphs(const TBitmap& Bitmap) {
  CheckQuadrantBitmap(&Bitmap, "");
  CutQuadrants(Bitmap, FGlyphs);
  FGlyphWidth = Bitmap.GetWidth() / 2;
  FGlyphHeight = Bitmap.GetHeight() / 2;
}

void TOnOffBut::SetUserGlyph(const TBitmap* Bitmap) {
  CheckQuadrantBitmap(Bitmap, "");
  CutQuadrants(*Bitmap, FUserGlyphs);
  if (FButtonStyle != oobsUser) return;
  LoadGlyphs();
  if (FAutoCenter) AdjustAutoCenter();
  Invalidate();
}

void TOnOffBut::LoadUserGlyph(const std::string& FileName) {
  const std::string source = "cannot use \"" + FileName + "\" as user glyph: ";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(FileName, ec))
    throw EQELError(ComponentMessage(GetName(), "\": " + source + "not a readable file"));
  TBitmap b;
  try {
    b.LoadFromFile(FileName);
  } catch (const std::exception& e) {
    throw EQELError(ComponentMessage(GetName(), "\": " + source + e.what()));
  }
  CheckQuadrantBitmap(&b, source);
  SetUserGlyph(&b);
}

// ---------------------------------------------------------------- geometry

TRect TOnOffBut::GlyphRect() const {
  return Bounds(FLeftSpace + 1, FTopSpace + 1, FGlyphWidth, FGlyphHeight);
}

bool TOnOffBut::MouseHits(int X, int Y) const {
  switch (FMouseAction) {
    case oomaNone:
      return false;
    case oomaPlain:
      return GetClientRect().Contains({X, Y});
    case oomaFocused:
      return FLeftSpace < X && X < FLeftSpace + FGlyphWidth && FTopSpace < Y &&
             Y < FTopSpace + FGlyphHeight;
  }
  return false;
}

TPoint TOnOffBut::TextPosition(TTextSide Side, int TextW, int TextH) const {
  const int w = GetWidth(), ls = FLeftSpace, ts = FTopSpace;
  const int gw = FGlyphWidth, gh = FGlyphHeight;
  const int midY = ts + (gh - TextH) / 2;
  switch (Side) {
    case tsLeft:
      switch (FLeftTextAlignment) {
        case taLeftJustify:
          return {4, midY};
        case taRightJustify:
          return {ls - TextW - 3, midY};
        case taCenter:
          return {(ls - TextW) / 2, midY};
      }
      break;
    case tsRight:
      switch (FRightTextAlignment) {
        case taLeftJustify:
          return {ls + gw + 4, midY};
        case taRightJustify:
          return {w - TextW - 4, midY};
        case taCenter:
          return {(w - TextW - ls - gw) / 2 + ls + gw + 1, midY};
      }
      break;
    case tsTop:
    case tsBottom: {
      const int y = Side == tsTop ? ts - TextH - 4 : ts + gh + 4;
      switch (Side == tsTop ? FTopTextAlignment : FBottomTextAlignment) {
        case taLeftJustify:
          return {4, y};
        case taRightJustify:
          return {w - TextW - 4, y};
        case taCenter:
          return {ls + (gw - TextW) / 2, y};
      }
      break;
    }
  }
  return {0, 0};
}

void TOnOffBut::AdjustAutoCenter() {
  // While a form file is read, AutoCenter may still be its default with the file's value and
  // spaces to come: Loaded centres once everything is read.
  if (IsLoading()) return;
  FLeftSpace = (GetWidth() - FGlyphWidth) / 2;
  FTopSpace = (GetHeight() - FGlyphHeight) / 2;
}

void TOnOffBut::RefreshLayout() {
  if (FTransparent || IsLoading())
    Invalidate();
  else
    Repaint();
}

void TOnOffBut::ProcessResize(TObject*) {
  if (!GetParent() || !FAutoCenter) return;
  AdjustAutoCenter();
  RefreshLayout();
}

// Centring follows the size here rather than through OnResize, so that a host's own OnResize
// handler does not switch it off.
void TOnOffBut::Resize() {
  ProcessResize(this);
  TGraphicControl::Resize();
}

// ---------------------------------------------------------------- setters

void TOnOffBut::SetOnOff(bool Value) {
  if (Value == FOnOff) return;
  if (IsLoading()) {
    FOnOff = Value;
    return;
  }
  if (!Value && FGroupIndex != 0 && !FAllowAllOff) return;
  FOnOff = Value;
  Repaint();
  if (FOnOff) UpdateExclusive();
}

void TOnOffBut::SetButStyle(TOnOffButStyle Value) {
  if (Value == FButtonStyle || Value >= kOnOffStyleCount) return;
  FButtonStyle = Value;
  LoadGlyphs();
  if (FAutoCenter) AdjustAutoCenter();
  Invalidate();
}

void TOnOffBut::SetButMode(TOOButMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  if (FMode == oobmSpeedBut) FOnOff = false;
  Invalidate();
}

void TOnOffBut::SetMouseAction(TOOButMouseAction Value) { FMouseAction = Value; }

void TOnOffBut::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TOnOffBut::SetAllowAllOff(bool Value) {
  if (Value == FAllowAllOff) return;
  FAllowAllOff = Value;
  UpdateExclusive();
}

void TOnOffBut::SetEnabled(bool Value) {
  if (Value == GetEnabled()) return;
  TGraphicControl::SetEnabled(Value);
  Invalidate();
}

void TOnOffBut::SetAutoCenter(bool Value) {
  if (Value == FAutoCenter) return;
  FAutoCenter = Value;
  if (FAutoCenter) AdjustAutoCenter();
  RefreshLayout();
}

void TOnOffBut::SetLeftSpace(int Value) {
  if (Value < 0) return;
  if (IsLoading()) {
    FLeftSpace = Value;
    FLeftSpaceRead = true;
    return;
  }
  if (Value == FLeftSpace) return;
  if (FAutoCenter)
    AdjustAutoCenter();
  else
    FLeftSpace = std::min(Value, GetWidth());
  Invalidate();
}

void TOnOffBut::SetTopSpace(int Value) {
  if (Value < 0) return;
  if (IsLoading()) {
    FTopSpace = Value;
    FTopSpaceRead = true;
    return;
  }
  if (Value == FTopSpace) return;
  if (FAutoCenter)
    AdjustAutoCenter();
  else
    FTopSpace = std::min(Value, GetHeight());
  Invalidate();
}

namespace {
template <class V>
bool Change(V& Field, const V& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void TOnOffBut::SetLeftText(const std::string& Value) {
  if (Change(FLeftText, Value)) Invalidate();
}
void TOnOffBut::SetTopText(const std::string& Value) {
  if (Change(FTopText, Value)) Invalidate();
}
void TOnOffBut::SetRightText(const std::string& Value) {
  if (Change(FRightText, Value)) Invalidate();
}
void TOnOffBut::SetBottomText(const std::string& Value) {
  if (Change(FBottomText, Value)) Invalidate();
}
void TOnOffBut::SetLTAlignment(TAlignment Value) {
  if (Change(FLeftTextAlignment, Value)) Invalidate();
}
void TOnOffBut::SetTTAlignment(TAlignment Value) {
  if (Change(FTopTextAlignment, Value)) Invalidate();
}
void TOnOffBut::SetRTAlignment(TAlignment Value) {
  if (Change(FRightTextAlignment, Value)) Invalidate();
}
void TOnOffBut::SetBTAlignment(TAlignment Value) {
  if (Change(FBottomTextAlignment, Value)) Invalidate();
}
void TOnOffBut::SetColorText(TColor Value) {
  if (Change(FColorText, Value)) Repaint();
}
void TOnOffBut::SetColorBakG(TColor Value) {
  if (Change(FColorBackgnd, Value)) Repaint();
}
void TOnOffBut::SetFrameStyle(TFrameStyle Value) {
  if (Change(FFrameStyle, Value)) Repaint();
}
void TOnOffBut::SetColorScheme(TColorScheme Value) {
  if (Change(FColorScheme, Value)) Invalidate();
}
void TOnOffBut::SetTransparent(bool Value) {
  if (Change(FTransparent, Value)) Invalidate();
}

// ---------------------------------------------------------------- radio groups

void TOnOffBut::UpdateExclusive() {
  if (FGroupIndex == 0 || !GetParent() || IsLoading()) return;
  TMessage m;
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = static_cast<WPARAM>(FGroupIndex);
  m.LParam = reinterpret_cast<LPARAM>(static_cast<TControl*>(this));
  GetParent()->Broadcast(m);
}

void TOnOffBut::CMButtonPressed(TMessage& Message) {
  if (static_cast<int>(Message.WParam) != FGroupIndex) return;
  auto* sender = dynamic_cast<TOnOffBut*>(reinterpret_cast<TControl*>(Message.LParam));
  if (!sender || sender == this) return;
  if (sender->FOnOff && FOnOff) {
    FOnOff = false;
    Repaint();
  }
  FAllowAllOff = sender->FAllowAllOff;
}

void TOnOffBut::WndProc(TMessage& Message) {
  if (Message.Msg == CM_BUTTONPRESSED) {
    CMButtonPressed(Message);
    return;
  }
  TGraphicControl::WndProc(Message);
}

// ---------------------------------------------------------------- mouse

void TOnOffBut::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !MouseHits(X, Y)) return;
  if (FGroupIndex != 0 && !FAllowAllOff && FOnOff) return;
  FOnOff = !FOnOff;
  FSpeedPressed = FMode == oobmSpeedBut && FOnOff;
  Repaint();
  if (FOnOff) UpdateExclusive();
}

void TOnOffBut::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  // A momentary button comes back off on every release that follows its press, also when the
  // pointer was dragged off the glyph meanwhile; only a release over the glyph is a click.
  const bool release = FSpeedPressed && FMode == oobmSpeedBut;
  FSpeedPressed = false;
  const bool hit = MouseHits(X, Y);
  if (FMode == oobmSpeedBut && (release || hit) && FOnOff) {
    FOnOff = false;
    Repaint();
  }
  if (hit) Click();
}

// The framework would click on every release inside the control; this button raises its
// click from MouseUp, under its own hit rule.
void TOnOffBut::WMLButtonUp(TMessage& Message) {
  FControlState >> csClicked;
  TGraphicControl::WMLButtonUp(Message);
}

}  // namespace qel
