// TRasterLab: properties, raster building, painting and scrolling.
#include "displays/QEL_RasterLab.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <climits>
#include <cstdint>

#include "frame/QEL_errors.h"
#include "platform/controls/Messages.h"

namespace qel {

namespace {

// The code points of a UTF-8 text mapped to raster codes: up to 255 themselves, '?' for the
// rest; a byte that starts no valid sequence stands for itself (Latin-1 text).
std::vector<uint8_t> RasterCodes(const std::string& S) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < S.size();) {
    const auto b = static_cast<unsigned char>(S[i]);
    int n = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
    uint32_t c = n == 0 ? b : b & (0x3F >> n);
    bool ok = i + n < S.size();
    for (int k = 1; ok && k <= n; ++k) {
      const auto t = static_cast<unsigned char>(S[i + k]);
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok) {
      c = b;
      n = 0;
    }
    out.push_back(c <= 255 ? static_cast<uint8_t>(c) : static_cast<uint8_t>('?'));
    i += n + 1;
  }
  return out;
}

// A non-negative remainder: grid lines stay aligned to the text however far it has scrolled.
int FloorMod(int A, int B) {
  const int r = A % B;
  return r < 0 ? r + B : r;
}

// UTF-8 of a Latin-1 code, for drawing it in a font.
std::string Utf8Of(int Code) {
  if (Code < 0x80) return std::string(1, static_cast<char>(Code));
  return {static_cast<char>(0xC0 | (Code >> 6)), static_cast<char>(0x80 | (Code & 0x3F))};
}

}  // namespace

TRasterLab::TRasterLab(TComponent* AOwner) : TGraphicControl(AOwner) {
  FMatrix = DefaultRasterFont();
  FWnd = AllocateHWnd([this](TMessage& M) { TimerWndProc(M); });
  SetBounds(0, 0, 400, 68);
  GetFont()->SetName("default");
  GetFont()->SetSize(8);
  CreateBitFont();
}

TRasterLab::~TRasterLab() {
  StopTimer();
  if (FWnd) DeallocateHWnd(FWnd);
}

void TRasterLab::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TRasterLab*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  FFrameStyle = s->FFrameStyle;
  FText = s->FText;
  FColorLabBakG = s->FColorLabBakG;
  FColorDotOn = s->FColorDotOn;
  FColorShadow = s->FColorShadow;
  FColorHighlight = s->FColorHighlight;
  FColorScheme = s->FColorScheme;
  ApplyAutoSizeAndCentre();
  Repaint();
}

void TRasterLab::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TRasterLab*>(Dest))
    d->Assign(this);
  else
    TGraphicControl::AssignTo(Dest);
}

void TRasterLab::Loaded() {
  TGraphicControl::Loaded();
  ApplyAutoSizeAndCentre();
  RestartTimer();  // the mode was read while loading, when no timer starts
}

// ---------------------------------------------------------------- setters

void TRasterLab::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  if (FAutoCenter) AdjustCenter();
  Repaint();
}

void TRasterLab::SetDotSize(int Value) {
  Value = std::clamp(Value, 1, 32);
  if (Value == FDotSize) return;
  FDotSize = Value;
  ApplyAutoSizeAndCentre();
  Repaint();
}

void TRasterLab::SetDotSpacing(int Value) {
  Value = std::clamp(Value, 0, 3);
  if (Value == FDotSpacing) return;
  FDotSpacing = Value;
  ApplyAutoSizeAndCentre();
  Repaint();
}

#define QEL_RASTER_SET(Field) \
  if (Field == Value) return; \
  Field = Value;              \
  Repaint();

void TRasterLab::SetPosX(int Value) { QEL_RASTER_SET(FPosX) }
void TRasterLab::SetPosY(int Value) { QEL_RASTER_SET(FPosY) }
void TRasterLab::SetProportional(bool Value) {
  if (Value == FProportional) return;
  FProportional = Value;
  if (FAutoCenter) AdjustCenter();  // the text length changes with the pitch
  Repaint();
}
void TRasterLab::SetCharBlockMode(TRDBlockMode Value) {
  if (Value > rdbmRaster) return;
  QEL_RASTER_SET(FCharBlockMode)
}
void TRasterLab::SetColorDotOn(TColor Value) { QEL_RASTER_SET(FColorDotOn) }
void TRasterLab::SetColorDotOff(TColor Value) { QEL_RASTER_SET(FColorDotOff) }
void TRasterLab::SetColorLabBakG(TColor Value) { QEL_RASTER_SET(FColorLabBakG) }
void TRasterLab::SetScrollLoop(bool Value) { FScrollLoop = Value; }
#undef QEL_RASTER_SET

void TRasterLab::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  ApplyAutoSizeAndCentre();  // the auto height counts the frame
  Repaint();
}

void TRasterLab::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  const TSchemeColors c = SchemeFrameColors(Value);
  FColorShadow = c.Shadow;
  FColorHighlight = c.Highlight;
  Repaint();
}

void TRasterLab::SetAutoHeight(bool Value) {
  if (Value == FAutoHeight) return;
  FAutoHeight = Value;
  if (FAutoHeight) AdjustHeight();
  Repaint();
}

void TRasterLab::SetAutoCenter(bool Value) {
  if (Value == FAutoCenter) return;
  FAutoCenter = Value;
  if (FAutoCenter)
    AdjustCenter();
  else
    FPosX = 1;
  Repaint();
}

void TRasterLab::SetScrollMode(TRDScrollMode Value) {
  if (Value == FScrollMode || Value > rdsmUp) return;
  FScrollMode = Value;
  if (Value == rdsmOff) {
    FHOffset = FVOffset = 0;
    Repaint();
  }
  RestartTimer();
}

void TRasterLab::SetScrollInterval(int Value) {
  Value = std::max(Value, 10);
  if (Value == FScrollInterval) return;
  FScrollInterval = Value;
  RestartTimer();
}

void TRasterLab::SetScrollIncrement(int Value) {
  // The magnitude, saturating: INT_MIN has none in int.
  Value = Value == INT32_MIN ? INT32_MAX : std::max(1, Value < 0 ? -Value : Value);
  if (Value == FScrollIncrement) return;
  FScrollIncrement = Value;
  RestartTimer();
}

void TRasterLab::SetOnScrollTimer(TNotifyEvent Value) {
  FOnScrollTimer = std::move(Value);
  RestartTimer();
}

void TRasterLab::SetCharMatrix(const TRDCharMatrix& Value) {
  FMatrix = Value;
  FMatrix.Width = std::clamp(FMatrix.Width, 0, 32);
  FMatrix.Height = std::clamp(FMatrix.Height, 0, 32);
  ApplyAutoSizeAndCentre();
  Repaint();
}

void TRasterLab::CMFontChanged(TMessage& Message) {
  CreateBitFont();
  ApplyAutoSizeAndCentre();
  TGraphicControl::CMFontChanged(Message);
  Repaint();
}

void TRasterLab::Resize() {
  if (FAutoCenter) AdjustCenter();
  TGraphicControl::Resize();
}

// ---------------------------------------------------------------- raster and geometry

void TRasterLab::CreateBitFont() {
  std::string name = GetFont()->GetName();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (name == "default") {
    FMatrix = DefaultRasterFont();
    return;
  }
  TRDCharMatrix m{};
  TBitmap b(65, 65);
  TCanvas* c = b.Canvas();
  c->Font()->Assign(GetFont());
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWhite);
  for (int code = 32; code < 256; ++code) {
    c->FillRect(Rect(0, 0, 65, 65));
    // Codes 127..159 are control characters: no glyph, no dots.
    if (code < 127 || code > 159) c->TextOut(0, 0, Utf8Of(code));
    int first = 31, last = 0;
    for (int y = 0; y < 32; ++y) {
      const TPixel* row = b.ScanLine(y);
      uint32_t bits = 0;
      for (int x = 0; x < 32; ++x)
        if ((row[x] & 0xFFFFFF) != 0xFFFFFF) bits |= 1u << x;
      m.Rows[code][y] = bits;
      if (bits == 0) continue;
      first = std::min(first, std::countr_zero(bits));
      last = std::max(last, 31 - std::countl_zero(bits));
      m.Height = std::max(m.Height, y + 1);
    }
    m.FirstCol[code] = static_cast<uint8_t>(first);
    m.LastCol[code] = static_cast<uint8_t>(last);
    if (last >= first) m.Width = std::max(m.Width, last - first + 1);
  }
  m.FirstCol[32] = 0;
  m.LastCol[32] = static_cast<uint8_t>(m.Width / 2);
  FMatrix = m;
}

int TRasterLab::FrameWidth() const {
  if (FFrameStyle == fsNone) return 0;
  return FFrameStyle >= fsEmbossed ? 2 : 1;
}

std::vector<uint8_t> TRasterLab::TextCodes() const { return RasterCodes(FText); }

int TRasterLab::CalcTextBitLength() const {
  const int p = Pitch();
  int64_t len = 0;
  for (uint8_t code : TextCodes()) {
    // A glyph without dots (sampled fonts) has first > last: it takes one blank column.
    const int cols = FMatrix.LastCol[code] - FMatrix.FirstCol[code] + 2;
    len += FProportional ? static_cast<int64_t>(std::max(cols, 1)) * p
                         : static_cast<int64_t>(FMatrix.Width + 1) * p;
  }
  return static_cast<int>(std::min<int64_t>(len, INT32_MAX / 2));
}

void TRasterLab::AdjustHeight() { SetHeight(FrameWidth() + Pitch() * FMatrix.Height); }

void TRasterLab::AdjustCenter() {
  FPosX = (GetWidth() - CalcTextBitLength()) / 2 + FrameWidth() + 1;
}

void TRasterLab::ApplyAutoSizeAndCentre() {
  if (FAutoHeight) AdjustHeight();
  if (FAutoCenter) AdjustCenter();
}

// ---------------------------------------------------------------- painting

int TRasterLab::PaintChar(TCanvas* C, int X, int Y, uint8_t Code) const {
  const int p = Pitch();
  int first = FMatrix.FirstCol[Code], last = FMatrix.LastCol[Code];
  if (!FProportional) {
    first = 0;
    last = FMatrix.Width - 1;
  }
  for (int r = 0; r < FMatrix.Height && r < 32; ++r) {
    const uint32_t bits = FMatrix.Rows[Code][r];
    if (bits == 0) continue;
    for (int col = std::max(first, 0); col <= last && col < 32; ++col) {
      if (!(bits & (1u << col))) continue;
      const int x = X + (col - first) * p, y = Y + r * p;
      if (FDotSize == 1)
        C->SetPixel(x, y, FColorDotOn);
      else
        C->FillRect(Rect(x, y, x + FDotSize, y + FDotSize));
    }
  }
  return std::max(last - first + 1, 0) * p;
}

void TRasterLab::PaintString(TCanvas* C) const {
  const int p = Pitch(), h = GetHeight();
  int x = FPosX + FHOffset;
  const int y = FPosY + FVOffset;
  auto gap = [&] {
    if (FCharBlockMode != rdbmOn) return;
    C->Brush()->SetColor(FColorLabBakG);
    C->FillRect(Rect(x - p, 0, x, h));
  };
  gap();
  for (uint8_t code : TextCodes()) {
    C->Brush()->SetColor(FColorDotOn);
    const int advance = PaintChar(C, x, y, code);
    x += FProportional ? p + advance : p * (FMatrix.Width + 1);
    gap();
    if (x > GetWidth() + p) break;  // the rest lies beyond the right edge
  }
}

void TRasterLab::PaintFrame(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  const TColor dark = clBlack;
  auto line = [&](TColor Colour, std::initializer_list<TPoint> Pts) {
    C->Pen()->SetColor(Colour);
    auto it = Pts.begin();
    C->MoveTo(it->X, it->Y);
    for (++it; it != Pts.end(); ++it) C->LineTo(it->X, it->Y);
  };
  auto outline = [&](TColor Colour, int L, int T, int R, int B) {
    C->Pen()->SetColor(Colour);
    DrawRectangle(C, L, T, R, B);
  };
  C->Pen()->SetStyle(psSolid);
  switch (FFrameStyle) {
    case fsSimple:
      outline(FColorShadow, 0, 0, w - 1, h - 1);
      break;
    case fsLowered:
      line(dark, {{1, h - 3}, {1, 1}, {w - 2, 1}});
      line(FColorHighlight, {{2, h - 1}, {w - 1, h - 1}, {w - 1, 0}});
      outline(FColorShadow, 0, 0, w - 2, h - 2);
      break;
    case fsRaised:
      line(FColorHighlight, {{1, h - 3}, {1, 1}, {w - 2, 1}});
      line(dark, {{0, h - 1}, {w - 1, h - 1}, {w - 1, 0}});
      outline(FColorShadow, 0, 0, w - 2, h - 2);
      break;
    case fsEmbossed:
      outline(FColorShadow, 1, 1, w - 1, h - 1);
      outline(FColorHighlight, 0, 0, w - 2, h - 2);
      break;
    case fsEngraved:
      outline(FColorHighlight, 1, 1, w - 1, h - 1);
      outline(FColorShadow, 0, 0, w - 2, h - 2);
      break;
    default:
      break;
  }
}

void TRasterLab::Render(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  const int p = Pitch();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FCharBlockMode != rdbmOff ? FColorDotOff : FColorLabBakG);
  C->FillRect(FFrameStyle != fsNone ? Rect(1, 1, w - 1, h - 1) : Rect(0, 0, w, h));
  if (FCharBlockMode != rdbmOff && FDotSpacing > 0) {
    // The gaps of the dot grid, aligned to the text's first dot row and column.
    C->Brush()->SetColor(FColorLabBakG);
    const int y0 = FloorMod(FPosY + FVOffset, p), x0 = FloorMod(FPosX + FHOffset, p);
    for (int b = 0; b <= h / p + 1; ++b)
      for (int i = 1; i <= FDotSpacing; ++i) {
        const int y = y0 + b * p + i - FDotSpacing - 1;
        C->FillRect(Rect(0, y, w, y + 1));
      }
    for (int b = 0; b <= w / p + 1; ++b)
      for (int i = 1; i <= FDotSpacing; ++i) {
        const int x = x0 + b * p + i - FDotSpacing - 1;
        C->FillRect(Rect(x, 0, x + 1, h));
      }
  }
  PaintString(C);
  PaintFrame(C);
}

void TRasterLab::Paint() {
  if (!GetVisible() && !ComponentState().Contains(csDesigning)) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap off(w, h);
  Render(off.Canvas());
  TCanvas* c = Canvas();
  c->SetCopyMode(cmSrcCopy);
  c->Draw(0, 0, &off);
}

// ---------------------------------------------------------------- scrolling

void TRasterLab::StopTimer() {
  if (FTimerOn) KillTimer(FWnd, 1);
  FTimerOn = false;
}

void TRasterLab::RestartTimer() {
  StopTimer();
  if (FScrollMode == rdsmOff || ComponentState().Contains(csDesigning) ||
      ComponentState().Contains(csLoading) || FScrollInterval <= 0)
    return;
  if (SetTimer(FWnd, 1, static_cast<unsigned>(FScrollInterval)) == 0)
    throw EQELRasterLabError(ComponentMessage(GetName(), kNoTimerAvailable));
  FTimerOn = true;
}

void TRasterLab::TimerWndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProcA(FWnd, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    ScrollStep();
    Repaint();
    if (FOnScrollTimer) FOnScrollTimer(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TRasterLab::ScrollStep() {
  const int w = GetWidth(), h = GetHeight();
  const int len = DrawnTextLength();
  const int tall = FMatrix.Height * Pitch();
  bool restart = false;
  // Offsets saturate instead of overflowing when a loop is off and the text travels on.
  auto move = [](int& Offset, int By) {
    Offset =
        static_cast<int>(std::clamp<int64_t>(int64_t{Offset} + By, INT32_MIN / 2, INT32_MAX / 2));
  };
  switch (FScrollMode) {
    case rdsmRight:
      move(FHOffset, FScrollIncrement);
      if (FScrollLoop && FHOffset > w) {
        FHOffset = -len;  // re-enters from the left, fully outside at first
        restart = true;
      }
      break;
    case rdsmLeft:
      move(FHOffset, -FScrollIncrement);
      if (FScrollLoop && FPosX + FHOffset + len < 0) {
        FHOffset = w - FPosX;  // re-enters from the right edge
        restart = true;
      }
      break;
    case rdsmDown:
      move(FVOffset, FScrollIncrement);
      if (FScrollLoop && FVOffset > h) {
        FVOffset = -(FPosY + tall);  // re-enters from the top
        restart = true;
      }
      break;
    case rdsmUp:
      move(FVOffset, -FScrollIncrement);
      if (FScrollLoop && FPosY + FVOffset + tall < 0) {
        FVOffset = h - FPosY;  // re-enters from the bottom edge
        restart = true;
      }
      break;
    default:
      FHOffset = FVOffset = 0;
      StopTimer();
      return;
  }
  if (restart && OnScrollLoopRestart) OnScrollLoopRestart(this);
}

}  // namespace qel
