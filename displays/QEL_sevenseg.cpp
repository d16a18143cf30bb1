// TSevenSeg: segment bitmaps, the master cell, the cache and painting.
#include "displays/QEL_sevenseg.h"

#include <algorithm>

namespace qel {

namespace {

// Pieces of the master cell: the bitmap and where it goes.
struct TPiece {
  int Seg;
  int X, Y;
};
// Segments 1..7: top, upper left, upper right, middle, lower left, lower right, bottom.
constexpr TPiece kSegments[7] = {{1, 94, 0},  {0, 37, 23},   {0, 244, 23}, {1, 57, 197},
                                 {0, 0, 220}, {0, 207, 220}, {1, 20, 394}};
constexpr TPiece kPoint = {2, 269, 394};
constexpr TPiece kPlus = {3, 57, 120};
constexpr TPiece kColon = {4, 122, 121};
constexpr TPiece kDegree = {5, 150, 0};

// Lit segments per character, bit k for segment k + 1.
uint8_t SegmentMask(char32_t Ch) {
  switch (Ch) {
    case '0':
      return 0b1110111;
    case '1':
      return 0b0100100;
    case '2':
      return 0b1011101;
    case '3':
      return 0b1101101;
    case '4':
      return 0b0101110;
    case '5':
      return 0b1101011;
    case '6':
      return 0b1111011;
    case '7':
      return 0b0100101;
    case '8':
      return 0b1111111;
    case '9':
      return 0b1101111;
    case '-':
      return 0b0001000;
    case 'A':
      return 0b0111111;
    case 'B':
      return 0b1111010;
    case 'C':
      return 0b1010011;
    case 'D':
      return 0b1111100;
    case 'E':
      return 0b1011011;
    case 'F':
      return 0b0011011;
    default:
      return 0;
  }
}

// The code points of a UTF-8 caption; a byte that starts no valid sequence stands for itself
// (Latin-1), so a caption in the classic 8-bit encoding still shows its degree sign.
std::vector<char32_t> CodePoints(const std::string& S) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < S.size();) {
    const auto b = static_cast<unsigned char>(S[i]);
    int n = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
    if (b < 0x80) n = 0;
    char32_t c = n == 0 ? b : b & (0x3F >> n);
    bool ok = i + n < S.size() || n == 0;
    for (int k = 1; ok && k <= n; ++k) {
      const auto t = static_cast<unsigned char>(S[i + k]);
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok) {
      c = b;
      n = 0;
    }
    out.push_back(c);
    i += n + 1;
  }
  return out;
}

char32_t Upper(char32_t C) { return C >= 'a' && C <= 'z' ? C - 32 : C; }

}  // namespace

TSevenSeg::TSevenSeg(TComponent* AOwner) : TGraphicControl(AOwner) {
  static const char* const kNames[sgCount] = {"SEGVERT", "SEGHORZ",  "SEGDOT",
                                              "SEGPLUS", "SEGCOLON", "SEGDEG"};
  for (int k = 0; k < sgCount; ++k) {
    FSeg[k] = std::make_unique<TBitmap>();
    FSeg[k]->LoadFromResourceName(kNames[k]);
    FSeg[k]->SetPixelFormat(pf32bit);
  }
  FMaster = std::make_unique<TBitmap>(kMasterWidth, kMasterHeight);
  FCache = std::make_unique<TBitmap>();
  SetBounds(0, 0, 216, 76);  // Resize builds the cache for this size
  if (FBuiltWidth != GetWidth() || FBuiltHeight != GetHeight()) BuildCache();
}

TSevenSeg::~TSevenSeg() = default;

void TSevenSeg::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TSevenSeg*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  FColorBackGnd = s->FColorBackGnd;
  FColorText = s->FColorText;
  FNumDigits = s->FNumDigits;
  FCaption = s->FCaption;
  FFrameStyle = s->FFrameStyle;
  FColorShadow = s->FColorShadow;
  FColorHighlight = s->FColorHighlight;
  FColorScheme = s->FColorScheme;
  FMargin = std::min(s->FMargin, std::max(0, GetHeight() / 2 - 1));
  FInterDigDist = s->FInterDigDist;
  BuildCache();
  Invalidate();
}

void TSevenSeg::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TSevenSeg*>(Dest))
    d->Assign(this);
  else
    TGraphicControl::AssignTo(Dest);
}

// ---------------------------------------------------------------- setters

void TSevenSeg::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Repaint();
}

void TSevenSeg::SetNumDigits(int Value) {
  if (Value == FNumDigits || Value < 1 || Value > 32) return;
  FNumDigits = Value;
  BuildCache();
  Repaint();
}

void TSevenSeg::SetColorText(TColor Value) {
  if (Value == FColorText) return;
  FColorText = Value;
  BuildCache();
  Repaint();
}

void TSevenSeg::SetColorBackGnd(TColor Value) {
  if (Value == FColorBackGnd) return;
  FColorBackGnd = Value;
  BuildCache();
  Repaint();
}

void TSevenSeg::SetMargin(int Value) {
  // A negative margin would make the cells taller than the control.
  Value = std::clamp(Value, 0, std::max(0, GetHeight() / 2 - 1));
  if (Value == FMargin) return;
  FMargin = Value;
  BuildCache();
  Repaint();
}

void TSevenSeg::SetInterDigDist(int Value) {
  Value = std::clamp(Value, 0, 255);
  if (Value == FInterDigDist) return;
  FInterDigDist = Value;
  BuildCache();
  Repaint();
}

void TSevenSeg::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  Invalidate();
}

void TSevenSeg::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  const TSchemeColors c = SchemeFrameColors(Value);
  FColorShadow = c.Shadow;
  FColorHighlight = c.Highlight;
  Invalidate();
}

void TSevenSeg::Resize() {
  if (GetWidth() != FBuiltWidth || GetHeight() != FBuiltHeight) {
    BuildCache();
    Repaint();
  }
  TGraphicControl::Resize();
}

// ---------------------------------------------------------------- geometry

int TSevenSeg::CellWidth() const { return (GetWidth() - 2 * FMargin) / FNumDigits - FInterDigDist; }

int TSevenSeg::CellHeight() const { return GetHeight() - 2 * FMargin; }

TRect TSevenSeg::DigitRect(int J) const {
  const int cw = CellWidth();
  const int x = J * (cw + FInterDigDist) + FMargin;
  return Rect(x, FMargin, x + cw, FMargin + CellHeight());
}

TColor TSevenSeg::SegmentColor() const {
  const TColor c = ColorToRGB(FColorText) & 0xFFFFFF;
  return c == 0xFFFFFF ? 0xFEFEFE : c;
}

std::vector<TSevenSeg::TCell> TSevenSeg::Cells() const {
  std::vector<TCell> cells;
  const std::vector<char32_t> s = CodePoints(FCaption);
  size_t i = 0;
  auto isPoint = [](char32_t c) { return c == '.' || c == ','; };
  while (static_cast<int>(cells.size()) < FNumDigits && i < s.size()) {
    TCell cell;
    char32_t ch = s[i++];
    if (isPoint(ch)) {
      cell.Index = 20;  // a lone point
    } else {
      if (i < s.size() && isPoint(s[i])) {
        cell.Point = true;
        ++i;
      }
      ch = Upper(ch);
      for (int k = 0; k < 21; ++k)
        if (kCacheChars[k] == ch) cell.Index = k;
    }
    cells.push_back(cell);
  }
  return cells;
}

// ---------------------------------------------------------------- the cache

void TSevenSeg::Colourise() {
  const TColor c = SegmentColor();
  auto fill = [c](TBitmap& B, int X, int Y) {
    TCanvas* cv = B.Canvas();
    cv->Brush()->SetStyle(bsSolid);
    cv->Brush()->SetColor(c);
    cv->FloodFill(X, Y, cv->GetPixel(X, Y), fsSurface);
  };
  for (int k : {int(sgVert), int(sgHorz), int(sgDot), int(sgPlus)})
    fill(*FSeg[k], FSeg[k]->GetWidth() / 2, FSeg[k]->GetHeight() / 2);
  TBitmap& colon = *FSeg[sgColon];
  fill(colon, 18, colon.GetHeight() - 18);
  fill(colon, colon.GetWidth() - 18, 18);
  fill(*FSeg[sgDeg], 25, FSeg[sgDeg]->GetHeight() / 2);
}

void TSevenSeg::Compose(char32_t Ch, bool Point) {
  TCanvas* m = FMaster->Canvas();
  m->SetCopyMode(cmSrcCopy);
  m->Brush()->SetStyle(bsSolid);
  m->Brush()->SetColor(clWhite);
  m->FillRect(Rect(0, 0, kMasterWidth, kMasterHeight));
  m->SetCopyMode(cmSrcAnd);
  auto put = [&](const TPiece& P) { m->Draw(P.X, P.Y, FSeg[P.Seg].get()); };
  const uint8_t mask = SegmentMask(Ch);
  for (int k = 0; k < 7; ++k)
    if (mask & (1u << k)) put(kSegments[k]);
  if (Ch == '+') put(kPlus);
  if (Ch == ':') put(kColon);
  if (Ch == 0xB0) put(kDegree);
  if (Ch == '.' || Ch == ',') Point = true;
  if (Point) put(kPoint);
  m->SetCopyMode(cmSrcCopy);
  m->Brush()->SetColor(FColorBackGnd);
  m->FloodFill(1, 1, clWhite, fsSurface);
  // Surround enclosed by a shape (the hole of the degree ring) is background too; segments
  // are never pure white, so whatever white is left is surround.
  for (int y = 0; y < kMasterHeight; ++y) {
    const TPixel* row = FMaster->ScanLine(y);
    for (int x = 0; x < kMasterWidth; ++x)
      if ((row[x] & 0xFFFFFF) == 0xFFFFFF) m->FloodFill(x, y, clWhite, fsSurface);
  }
}

void TSevenSeg::BuildCache() {
  FBuiltWidth = GetWidth();
  FBuiltHeight = GetHeight();
  const int cw = CellWidth(), ch = CellHeight();
  if (cw <= 0 || ch <= 0) {
    FCache->SetSize(0, 0);  // nothing fits: painting shows background and frame only
    return;
  }
  FCache->SetSize(21 * cw, ch);
  TCanvas* c = FCache->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FColorBackGnd);
  c->FillRect(Rect(0, 0, 21 * cw, ch));
  Colourise();
  SetStretchBltMode(c, HALFTONE);
  for (int k = 0; k < 21; ++k) {
    Compose(kCacheChars[k], false);
    StretchBlt(c, k * cw, 0, cw, ch, FMaster->Canvas(), 0, 0, kMasterWidth, kMasterHeight,
               cmSrcCopy);
  }
}

// ---------------------------------------------------------------- painting

void TSevenSeg::Paint() {
  if (!GetVisible() && !ComponentState().Contains(csDesigning)) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap off(w, h);
  TCanvas* o = off.Canvas();
  o->Brush()->SetStyle(bsSolid);
  o->Brush()->SetColor(FColorBackGnd);
  o->FillRect(Rect(0, 0, w, h));
  const int cw = CellWidth(), ch = CellHeight();
  // The cache matches the current size (Resize keeps it so); a mismatch would copy garbage.
  if (FCache->GetWidth() == 21 * cw && FCache->GetHeight() == ch && cw > 0 && ch > 0) {
    const std::vector<TCell> cells = Cells();
    const int px = (cw * 5) / 6, py = (ch * 5) / 6;
    for (size_t j = 0; j < cells.size(); ++j) {
      if (cells[j].Index < 0 && !cells[j].Point) continue;
      const TRect d = DigitRect(static_cast<int>(j));
      if (cells[j].Index >= 0) {
        const int sx = cells[j].Index * cw;
        o->CopyRect(d, FCache->Canvas(), Rect(sx, 0, sx + cw, ch));
      }
      if (cells[j].Point)
        o->CopyRect(Rect(d.Left + px, d.Top + py, d.Left + cw, d.Top + ch), FCache->Canvas(),
                    Rect(20 * cw + px, py, 21 * cw, ch));
    }
  }
  DrawFrame(o, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, clBlack);
  TCanvas* c = Canvas();
  c->SetCopyMode(cmSrcCopy);
  c->Draw(0, 0, &off);
}

}  // namespace qel
