// The colour dialog: the hue/saturation/luminance conversion, the swatch grids, the colour field,
// the luminance bar, the number edits, the dialog's form and TColorDialog itself.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"
#include "platform/widgets/DialogForm.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

// ---------------------------------------------------------------- conversion

namespace {

constexpr int kHueSteps = kHueSatLumMax;  // hue 240 is hue 0 again
constexpr int kGreyHue = 160;

int WrapHue(int Hue) { return ((Hue % kHueSteps) + kHueSteps) % kHueSteps; }

uint8_t ToByte(double V) { return static_cast<uint8_t>(std::clamp(RoundToInt(V * 255.0), 0, 255)); }

}  // namespace

TColor HueSatLumToColor(int Hue, int Sat, int Lum) {
  double h = WrapHue(Hue) / 40.0;  // six sectors of 40
  double s = std::clamp(Sat, 0, kHueSatLumMax) / 240.0;
  double l = std::clamp(Lum, 0, kHueSatLumMax) / 240.0;
  double c = (1.0 - std::fabs(2.0 * l - 1.0)) * s;
  double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
  double m = l - c / 2.0;
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0:
      r = c;
      g = x;
      break;
    case 1:
      r = x;
      g = c;
      break;
    case 2:
      g = c;
      b = x;
      break;
    case 3:
      g = x;
      b = c;
      break;
    case 4:
      r = x;
      b = c;
      break;
    default:
      r = c;
      b = x;
      break;
  }
  return RGB(ToByte(r + m), ToByte(g + m), ToByte(b + m));
}

THueSatLum ColorToHueSatLum(TColor Color) {
  TColor rgb = ColorToRGB(Color) & 0xFFFFFF;
  double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double l = (mx + mn) / 2.0;
  THueSatLum base;
  base.Lum = RoundToInt(l * 240.0);
  if (mx == mn) {
    base.Hue = kGreyHue;
    base.Sat = 0;
  } else {
    double d = mx - mn;
    double s = l <= 0.5 ? d / (mx + mn) : d / (2.0 - mx - mn);
    double h;
    if (mx == r)
      h = (g - b) / d;
    else if (mx == g)
      h = (b - r) / d + 2.0;
    else
      h = (r - g) / d + 4.0;
    base.Hue = WrapHue(RoundToInt(h * 40.0));
    base.Sat = std::clamp(RoundToInt(s * 240.0), 0, kHueSatLumMax);
  }
  if (HueSatLumToColor(base) == rgb) return base;
  // Rounding each of the three on its own can miss the colour although a triple for it exists.
  // Search around the rounded values: luminance by two steps, hue as far as one unit of the
  // channels can move it (far for nearly grey colours), and the saturations whose chroma rounds
  // to this one. The exact triple nearest to the rounded one wins, else the closest colour.
  int d = std::max({GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)}) -
          std::min({GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)});
  int hueReach = d == 0 ? 0 : std::min(kHueSteps / 2, 2 + 40 / d);
  auto error = [rgb](const THueSatLum& T) {
    TColor c = HueSatLumToColor(T);
    return std::abs(GetRValue(c) - GetRValue(rgb)) + std::abs(GetGValue(c) - GetGValue(rgb)) +
           std::abs(GetBValue(c) - GetBValue(rgb));
  };
  THueSatLum best = base;
  int bestError = error(base), bestDistance = 0;
  for (int dl = -2; dl <= 2; ++dl) {
    int lum = base.Lum + dl;
    if (lum < 0 || lum > kHueSatLumMax) continue;
    double k = 1.0 - std::fabs(2.0 * lum / 240.0 - 1.0);
    int sLo = 0, sHi = 0;
    if (k > 0) {
      sLo = std::max(0, static_cast<int>(std::floor(std::max(0, d - 1) / 255.0 / k * 240.0)) - 1);
      sHi = std::min(kHueSatLumMax, static_cast<int>(std::ceil((d + 1) / 255.0 / k * 240.0)) + 1);
    }
    for (int dh = -hueReach; dh <= hueReach; ++dh)
      for (int sat = sLo; sat <= sHi; ++sat) {
        THueSatLum t{WrapHue(base.Hue + dh), sat, lum};
        int e = error(t);
        int distance = std::abs(dl) + std::abs(dh) + std::abs(sat - base.Sat);
        if (e < bestError || (e == bestError && distance < bestDistance)) {
          best = t;
          bestError = e;
          bestDistance = distance;
        }
      }
  }
  return best;
}

// ---------------------------------------------------------------- TColorSwatchGrid

TColorSwatchGrid::TColorSwatchGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csOpaque};
  SetTabStop(true);
  SetParentColor(true);
  SetGrid(8, 6);
}

void TColorSwatchGrid::SetGrid(int ACols, int ARows) {
  FCols = std::max(1, ACols);
  FRows = std::max(1, ARows);
  FColors.assign(static_cast<size_t>(FCols * FRows), clWhite);
  FItemIndex = -1;
  SetBounds(GetLeft(), GetTop(), FCols * kCellWidth, FRows * kCellHeight);
  Invalidate();
}

TColor TColorSwatchGrid::GetCellColor(int Index) const {
  if (Index < 0 || Index >= CellCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FColors[static_cast<size_t>(Index)];
}

void TColorSwatchGrid::SetCellColor(int Index, TColor Value) {
  if (Index < 0 || Index >= CellCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FColors[static_cast<size_t>(Index)] = Value;
  InvalidateRect(CellRect(Index));
}

void TColorSwatchGrid::SetItemIndex(int Value) {
  if (Value < -1 || Value >= CellCount()) Value = -1;
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  Invalidate();
}

TRect TColorSwatchGrid::CellRect(int Index) const {
  if (Index < 0 || Index >= CellCount()) return {};
  return Bounds((Index % FCols) * kCellWidth, (Index / FCols) * kCellHeight, kCellWidth,
                kCellHeight);
}

int TColorSwatchGrid::CellAt(TPoint P) const {
  if (P.X < 0 || P.Y < 0) return -1;
  int col = P.X / kCellWidth, row = P.Y / kCellHeight;
  if (col >= FCols || row >= FRows) return -1;
  return row * FCols + col;
}

void TColorSwatchGrid::SelectByUser(int Index) {
  if (Index < 0 || Index >= CellCount()) return;
  SetItemIndex(Index);
  // Choosing the selected cell again still counts: the colour may have changed elsewhere since.
  if (OnChange) OnChange(this);
}

void TColorSwatchGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  int i = FItemIndex, n = CellCount();
  int target = -1;
  switch (Key) {
    case VK_LEFT:
      target = i < 0 ? 0 : std::max(0, i - 1);
      break;
    case VK_RIGHT:
      target = i < 0 ? 0 : std::min(n - 1, i + 1);
      break;
    case VK_UP:
      target = i < 0 ? 0 : (i >= FCols ? i - FCols : i);
      break;
    case VK_DOWN:
      target = i < 0 ? 0 : (i + FCols < n ? i + FCols : i);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = n - 1;
      break;
    case VK_SPACE:
      target = i < 0 ? 0 : i;
      break;
    default:
      return;
  }
  Key = 0;
  SelectByUser(target);
}

void TColorSwatchGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (CanFocus() && !Focused()) SetFocus();
  SelectByUser(CellAt({X, Y}));
}

void TColorSwatchGrid::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TColorSwatchGrid::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TColorSwatchGrid::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  Invalidate();
}

void TColorSwatchGrid::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  for (int i = 0; i < CellCount(); ++i) {
    TRect cell = CellRect(i);
    TRect sw = cell.Inflate(-4, -4);
    if (i == FItemIndex) {
      // The selected swatch: a dark ring around its sunken frame.
      TRect sel = cell.Inflate(-2, -2);
      wp::Frame3D(c, sel, cl3DDkShadow, cl3DDkShadow, 1);
      wp::Frame3D(c, sel, clBtnHighlight, clBtnHighlight, 1);
    }
    wp::Frame3D(c, sw, clBtnShadow, clBtnHighlight, 1);
    c->Brush()->SetColor(FColors[static_cast<size_t>(i)]);
    c->FillRect(sw);
  }
  if (Focused()) c->DrawFocusRect(CellRect(FItemIndex < 0 ? 0 : FItemIndex));
}

// ---------------------------------------------------------------- THueSatField

THueSatField::THueSatField(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csOpaque};
  SetTabStop(true);
  SetBounds(0, 0, 182, 182);
}

TRect THueSatField::FieldRect() const { return GetClientRect().Inflate(-1, -1); }

TPoint THueSatField::PointOf(int Hue, int Sat) const {
  TRect f = FieldRect();
  int w = std::max(1, f.Width() - 1), h = std::max(1, f.Height() - 1);
  return {f.Left + RoundToInt(std::clamp(Hue, 0, kHueSteps - 1) * w / 239.0),
          f.Top + h - RoundToInt(std::clamp(Sat, 0, kHueSatLumMax) * h / 240.0)};
}

void THueSatField::PairAt(TPoint P, int& Hue, int& Sat) const {
  TRect f = FieldRect();
  int w = std::max(1, f.Width() - 1), h = std::max(1, f.Height() - 1);
  int x = std::clamp(P.X - f.Left, 0, w), y = std::clamp(P.Y - f.Top, 0, h);
  Hue = std::clamp(RoundToInt(x * 239.0 / w), 0, kHueSteps - 1);
  Sat = std::clamp(RoundToInt((h - y) * 240.0 / h), 0, kHueSatLumMax);
}

void THueSatField::SetHueSat(int Hue, int Sat) {
  Hue = std::clamp(Hue, 0, kHueSteps - 1);
  Sat = std::clamp(Sat, 0, kHueSatLumMax);
  if (Hue == FHue && Sat == FSat) return;
  FHue = Hue;
  FSat = Sat;
  Invalidate();
}

void THueSatField::UserSet(int Hue, int Sat) {
  Hue = std::clamp(Hue, 0, kHueSteps - 1);
  Sat = std::clamp(Sat, 0, kHueSatLumMax);
  if (Hue == FHue && Sat == FSat) return;
  SetHueSat(Hue, Sat);
  if (OnChange) OnChange(this);
}

void THueSatField::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  int step = Shift.Contains(ssCtrl) ? 10 : 1;
  switch (Key) {
    case VK_LEFT:
      UserSet(FHue - step, FSat);
      break;
    case VK_RIGHT:
      UserSet(FHue + step, FSat);
      break;
    case VK_UP:
      UserSet(FHue, FSat + step);
      break;
    case VK_DOWN:
      UserSet(FHue, FSat - step);
      break;
    default:
      return;
  }
  Key = 0;
}

void THueSatField::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (CanFocus() && !Focused()) SetFocus();
  FDragging = true;
  int h, s;
  PairAt({X, Y}, h, s);
  UserSet(h, s);
}

void THueSatField::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  int h, s;
  PairAt({X, Y}, h, s);
  UserSet(h, s);
}

void THueSatField::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) FDragging = false;
}

void THueSatField::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void THueSatField::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void THueSatField::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  FDragging = false;
  Invalidate();
}

void THueSatField::WMSize(TMessage& Message) {
  TCustomControl::WMSize(Message);
  FCache.reset();
}

void THueSatField::Paint() {
  TCanvas* c = Canvas();
  TRect client = GetClientRect();
  TRect f = FieldRect();
  TRect frame = client;
  wp::Frame3D(c, frame, clBtnShadow, clBtnHighlight, 1);
  if (f.IsEmpty()) return;
  if (!FCache) {
    // The field shows every hue and saturation at middle luminance, as the classic one does.
    FCache = std::make_unique<TBitmap>();
    FCache->SetSize(f.Width(), f.Height());
    TCanvas* bc = FCache->Canvas();
    for (int y = 0; y < f.Height(); ++y)
      for (int x = 0; x < f.Width(); ++x) {
        int h, s;
        PairAt({f.Left + x, f.Top + y}, h, s);
        bc->SetPixel(x, y, HueSatLumToColor(h, s, 120));
      }
  }
  c->Draw(f.Left, f.Top, FCache.get());
  // The cross-hair: four black arms, three pixels thick, around an open centre.
  TPoint p = PointOf(FHue, FSat);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBlack);
  auto arm = [&](const TRect& R) {
    TRect r{std::max(R.Left, f.Left), std::max(R.Top, f.Top), std::min(R.Right, f.Right),
            std::min(R.Bottom, f.Bottom)};
    if (!r.IsEmpty()) c->FillRect(r);
  };
  arm(Rect(p.X - 10, p.Y - 1, p.X - 3, p.Y + 2));
  arm(Rect(p.X + 4, p.Y - 1, p.X + 11, p.Y + 2));
  arm(Rect(p.X - 1, p.Y - 10, p.X + 2, p.Y - 3));
  arm(Rect(p.X - 1, p.Y + 4, p.X + 2, p.Y + 11));
  if (Focused()) c->DrawFocusRect(client);
}

// ---------------------------------------------------------------- TLumBar

TLumBar::TLumBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csOpaque};
  SetTabStop(true);
  SetParentColor(true);
  SetBounds(0, 0, 24, 182);
}

TRect TLumBar::BarRect() const { return Rect(0, 6, 14, std::max(8, GetHeight() - 6)); }

int TLumBar::PointerY(int Lum) const {
  TRect b = BarRect();
  int top = b.Top + 1, bottom = b.Bottom - 2;
  return bottom - RoundToInt(std::clamp(Lum, 0, kHueSatLumMax) * (bottom - top) / 240.0);
}

int TLumBar::LumAt(int Y) const {
  TRect b = BarRect();
  int top = b.Top + 1, bottom = b.Bottom - 2;
  if (bottom <= top) return 0;
  return std::clamp(RoundToInt((bottom - Y) * 240.0 / (bottom - top)), 0, kHueSatLumMax);
}

void TLumBar::SetLum(int Value) {
  Value = std::clamp(Value, 0, kHueSatLumMax);
  if (Value == FLum) return;
  FLum = Value;
  Invalidate();
}

void TLumBar::SetHueSat(int Hue, int Sat) {
  if (Hue == FHue && Sat == FSat) return;
  FHue = Hue;
  FSat = Sat;
  Invalidate();
}

void TLumBar::UserSet(int Lum) {
  Lum = std::clamp(Lum, 0, kHueSatLumMax);
  if (Lum == FLum) return;
  SetLum(Lum);
  if (OnChange) OnChange(this);
}

void TLumBar::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  int step = Shift.Contains(ssCtrl) ? 10 : 1;
  switch (Key) {
    case VK_UP:
    case VK_RIGHT:
      UserSet(FLum + step);
      break;
    case VK_DOWN:
    case VK_LEFT:
      UserSet(FLum - step);
      break;
    case VK_HOME:
      UserSet(kHueSatLumMax);
      break;
    case VK_END:
      UserSet(0);
      break;
    default:
      return;
  }
  Key = 0;
}

void TLumBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (CanFocus() && !Focused()) SetFocus();
  FDragging = true;
  UserSet(LumAt(Y));
}

void TLumBar::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragging) UserSet(LumAt(Y));
}

void TLumBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) FDragging = false;
}

void TLumBar::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TLumBar::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TLumBar::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  FDragging = false;
  Invalidate();
}

void TLumBar::Paint() {
  TCanvas* c = Canvas();
  TRect client = GetClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(GetColor());
  c->FillRect(client);
  TRect b = BarRect();
  wp::Frame3D(c, b, clBtnShadow, clBtnHighlight, 1);
  for (int y = b.Top; y < b.Bottom; ++y) {
    c->Brush()->SetColor(HueSatLumToColor(FHue, FSat, LumAt(y)));
    c->FillRect(Rect(b.Left, y, b.Right, y + 1));
  }
  // The pointer: a black triangle pointing at the bar from the right.
  int py = PointerY(FLum), x0 = BarRect().Right + 2;
  c->Brush()->SetColor(clBlack);
  for (int i = 0; i < 6; ++i) c->FillRect(Rect(x0 + i, py - i, x0 + i + 1, py + i + 1));
  if (Focused()) c->DrawFocusRect(client);
}

// ---------------------------------------------------------------- TColorPreview

TColorPreview::TColorPreview(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle << csOpaque;
  SetBounds(0, 0, 64, 44);
}

void TColorPreview::SetSwatchColor(TColor Value) {
  if (Value == FSwatch) return;
  FSwatch = Value;
  Invalidate();
}

void TColorPreview::Paint() {
  TCanvas* c = Canvas();
  TRect r = GetClientRect();
  wp::Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  wp::Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FSwatch);
  c->FillRect(r);
}

// ---------------------------------------------------------------- TColorValueEdit

TColorValueEdit::TColorValueEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetMaxLength(3);
  SetWidth(34);
}

int TColorValueEdit::GetValue() const {
  int v = 0;
  for (char ch : GetText())
    if (ch >= '0' && ch <= '9') v = std::min(v * 10 + (ch - '0'), 9999);
  return std::min(v, FMaxValue);
}

void TColorValueEdit::SetValue(int Value) {
  std::string t = std::to_string(std::clamp(Value, 0, FMaxValue));
  if (t == GetText()) return;
  FSetting = true;
  SetText(t);
  FSetting = false;
}

void TColorValueEdit::KeyPress(char32_t& Key) {
  // Control characters (Backspace, the clipboard keys) keep working; other non-digits are refused.
  if (Key >= 32 && !(Key >= '0' && Key <= '9')) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  TCustomEdit::KeyPress(Key);
}

std::string TColorValueEdit::FilterInput(const std::string& S) const {
  std::string r;
  for (char ch : S)
    if (ch >= '0' && ch <= '9') r += ch;
  return r;
}

void TColorValueEdit::Change() {
  if (FSetting) return;
  const std::string& t = GetText();
  int v = 0;
  bool over = false;
  for (char ch : t) {
    v = v * 10 + (ch - '0');
    if (v > FMaxValue) over = true;
  }
  if (over) {
    // Typed beyond the range: the edit shows the largest value instead, caret at its end.
    FSetting = true;
    SetText(std::to_string(FMaxValue));
    FSetting = false;
    SetSelStart(GetTextLen());
  }
  TCustomEdit::Change();
}

void TColorValueEdit::WMKillFocus(TMessage& Message) {
  TCustomEdit::WMKillFocus(Message);
  // An emptied edit reads as 0; leaving it says so.
  if (GetText().empty()) SetValue(0);
}

// ---------------------------------------------------------------- the dialog's form

namespace {

// The colours of the basic palette: eight hues in five strengths, then eight greys. Every VGA
// colour (clRed .. clSilver) is among them, so the common presets select a swatch.
std::vector<TColor> MakeBasicColors() {
  static constexpr int kHues[8] = {0, 20, 40, 80, 120, 140, 160, 200};
  static constexpr int kLums[5] = {210, 170, 120, 90, 60};
  std::vector<TColor> v;
  for (int lum : kLums)
    for (int hue : kHues) v.push_back(HueSatLumToColor(hue, 240, lum));
  for (int g : {0x00, 0x40, 0x60, 0x80, 0xA0, 0xC0, 0xE0, 0xFF})
    v.push_back(RGB(static_cast<uint8_t>(g), static_cast<uint8_t>(g), static_cast<uint8_t>(g)));
  return v;
}

// Layout of the form (client coordinates).
constexpr int kCompactWidth = 222;
constexpr int kFullWidth = 452;
constexpr int kFormHeight = 304;
constexpr int kRightX = 230;

}  // namespace

class TColorDialogForm : public TDialogForm {
 public:
  TColorDialogForm(TColorDialog* Dialog);
  TColor CurrentColor() const { return FColor; }
  THueSatLum CurrentHueSatLum() const { return FHSL; }
  std::vector<TColor> CustomColors() const;
  bool Expanded() const { return FExpanded; }
  void Expand();

 private:
  enum TSource : uint8_t { srSwatch, srField, srBar, srHSLEdit, srRGBEdit };
  template <class T>
  T* Add(const std::string& Name, int L, int T0, int W, int H);
  TLabel* AddLabel(const std::string& Name, const std::string& Caption, int L, int T0,
                   TWinControl* Focus);
  TColorValueEdit* AddEdit(const std::string& Name, int L, int T0, int Max);
  void SwatchChosen(TColorSwatchGrid* Grid);
  void SetCurrent(TColor Color, const THueSatLum& HSL, TSource Source);
  void EditChanged(bool RGBEdit);
  void AddToCustom();

  TColorSwatchGrid* FBasic = nullptr;
  TColorSwatchGrid* FCustom = nullptr;
  TButton* FDefine = nullptr;
  TButton* FOK = nullptr;
  TButton* FCancel = nullptr;
  THueSatField* FField = nullptr;
  TLumBar* FBar = nullptr;
  TColorPreview* FPreview = nullptr;
  TColorValueEdit* FHue = nullptr;
  TColorValueEdit* FSat = nullptr;
  TColorValueEdit* FLum = nullptr;
  TColorValueEdit* FRed = nullptr;
  TColorValueEdit* FGreen = nullptr;
  TColorValueEdit* FBlue = nullptr;
  TButton* FAdd = nullptr;
  std::vector<TControl*> FRightPane;
  TColor FColor = clBlack;
  THueSatLum FHSL;
  bool FExpanded = false;
  bool FUpdating = false;
  int FNextCustom = 0;
};

template <class T>
T* TColorDialogForm::Add(const std::string& Name, int L, int T0, int W, int H) {
  auto* c = new T(this);
  c->SetName(Name);
  c->SetParent(this);
  c->SetBounds(L, T0, W, H);
  return c;
}

TLabel* TColorDialogForm::AddLabel(const std::string& Name, const std::string& Caption, int L,
                                   int T0, TWinControl* Focus) {
  auto* l = Add<TLabel>(Name, L, T0, 10, 13);
  l->SetCaption(Caption);
  l->SetFocusControl(Focus);
  return l;
}

TColorValueEdit* TColorDialogForm::AddEdit(const std::string& Name, int L, int T0, int Max) {
  auto* e = Add<TColorValueEdit>(Name, L, T0, 34, 21);
  e->SetMaxValue(Max);
  e->OnChange = [this, e](TObject*) { EditChanged(e == FRed || e == FGreen || e == FBlue); };
  return e;
}

TColorDialogForm::TColorDialogForm(TColorDialog* Dialog) : TDialogForm(Dialog) {
  SetName("ColorDialogForm");
  SetCaption("Color");
  SetBounds(0, 0, kCompactWidth, kFormHeight);
  TColorDialogOptions opts = Dialog->GetOptions();

  // Left half: the palettes and the buttons.
  FBasic = Add<TColorSwatchGrid>("BasicColors", 6, 22, 0, 0);
  FBasic->SetGrid(8, 6);
  const std::vector<TColor>& basic = TColorDialog::BasicColors();
  for (int i = 0; i < FBasic->CellCount(); ++i)
    FBasic->SetCellColor(i, basic[static_cast<size_t>(i)]);
  FBasic->OnChange = [this](TObject*) { SwatchChosen(FBasic); };
  AddLabel("BasicLabel", "&Basic colors:", 8, 6, FBasic);
  FCustom = Add<TColorSwatchGrid>("CustomColors", 6, 178, 0, 0);
  FCustom->SetGrid(8, 2);
  std::vector<TColor> custom = Dialog->ReadCustomColors();
  for (int i = 0; i < FCustom->CellCount(); ++i)
    FCustom->SetCellColor(i, custom[static_cast<size_t>(i)]);
  FCustom->OnChange = [this](TObject*) { SwatchChosen(FCustom); };
  AddLabel("CustomLabel", "&Custom colors:", 8, 162, FCustom);
  FDefine = Add<TButton>("DefineButton", 6, 234, 210, 23);
  FDefine->SetCaption("&Define Custom Colors >>");
  FDefine->OnClick = [this](TObject*) { Expand(); };
  FDefine->SetEnabled(!opts.Contains(cdPreventFullOpen));
  FOK = Add<TButton>("OKButton", 6, 272, 66, 23);
  FOK->SetCaption("OK");
  FOK->SetDefault(true);
  FOK->SetModalResult(mrOk);
  FCancel = Add<TButton>("CancelButton", 78, 272, 66, 23);
  FCancel->SetCaption("Cancel");
  FCancel->SetCancel(true);
  FCancel->SetModalResult(mrCancel);

  // Right half: hidden until expanded, so Tab and the accelerators skip it.
  FField = Add<THueSatField>("ColorField", kRightX, 8, 182, 182);
  FField->OnChange = [this](TObject*) {
    THueSatLum h{FField->GetHue(), FField->GetSat(), FHSL.Lum};
    SetCurrent(HueSatLumToColor(h), h, srField);
  };
  FBar = Add<TLumBar>("LumBar", kRightX + 188, 8, 24, 182);
  FBar->OnChange = [this](TObject*) {
    THueSatLum h{FHSL.Hue, FHSL.Sat, FBar->GetLum()};
    SetCurrent(HueSatLumToColor(h), h, srBar);
  };
  FPreview = Add<TColorPreview>("ColorPreview", kRightX, 198, 64, 44);
  TLabel* pl = AddLabel("PreviewLabel", "Color|Solid", kRightX + 4, 246, nullptr);
  FHue = AddEdit("HueEdit", kRightX + 102, 198, kHueSteps - 1);
  FSat = AddEdit("SatEdit", kRightX + 102, 222, kHueSatLumMax);
  FLum = AddEdit("LumEdit", kRightX + 102, 246, kHueSatLumMax);
  FRed = AddEdit("RedEdit", kRightX + 180, 198, 255);
  FGreen = AddEdit("GreenEdit", kRightX + 180, 222, 255);
  FBlue = AddEdit("BlueEdit", kRightX + 180, 246, 255);
  TLabel* labels[] = {AddLabel("HueLabel", "Hu&e:", kRightX + 72, 202, FHue),
                      AddLabel("SatLabel", "&Sat:", kRightX + 72, 226, FSat),
                      AddLabel("LumLabel", "&Lum:", kRightX + 72, 250, FLum),
                      AddLabel("RedLabel", "&Red:", kRightX + 142, 202, FRed),
                      AddLabel("GreenLabel", "&Green:", kRightX + 142, 226, FGreen),
                      AddLabel("BlueLabel", "Bl&ue:", kRightX + 142, 250, FBlue)};
  FAdd = Add<TButton>("AddButton", kRightX, 272, 214, 23);
  FAdd->SetCaption("&Add to Custom Colors");
  FAdd->OnClick = [this](TObject*) { AddToCustom(); };
  FRightPane = {FField, FBar, FPreview, pl, FHue, FSat, FLum, FRed, FGreen, FBlue, FAdd};
  for (TLabel* l : labels) FRightPane.push_back(l);
  for (TControl* c : FRightPane) c->SetVisible(false);

  // The preset colour: selected where a swatch shows it.
  TColor start = ColorToRGB(Dialog->GetColor()) & 0xFFFFFF;
  SetCurrent(start, ColorToHueSatLum(start), srSwatch);
  TWinControl* focus = FBasic;
  if (auto it = std::find(basic.begin(), basic.end(), start); it != basic.end()) {
    FBasic->SetItemIndex(static_cast<int>(it - basic.begin()));
  } else if (auto ct = std::find(custom.begin(), custom.end(), start); ct != custom.end()) {
    FCustom->SetItemIndex(static_cast<int>(ct - custom.begin()));
    focus = FCustom;
  }
  SetActiveControl(focus);
  if (opts.Contains(cdFullOpen) && !opts.Contains(cdPreventFullOpen)) Expand();
}

std::vector<TColor> TColorDialogForm::CustomColors() const {
  std::vector<TColor> v;
  for (int i = 0; i < FCustom->CellCount(); ++i) v.push_back(FCustom->GetCellColor(i));
  return v;
}

void TColorDialogForm::Expand() {
  if (FExpanded) return;
  FExpanded = true;
  SetClientWidth(kFullWidth);
  for (TControl* c : FRightPane) c->SetVisible(true);
  // The button has done its work; the focus it held moves on to the field.
  if (FDefine->Focused() && Showing()) FField->SetFocus();
  FDefine->SetEnabled(false);
}

void TColorDialogForm::SwatchChosen(TColorSwatchGrid* Grid) {
  int i = Grid->GetItemIndex();
  if (i < 0) return;
  // One selection at a time across the two palettes.
  (Grid == FBasic ? FCustom : FBasic)->SetItemIndex(-1);
  TColor c = Grid->GetCellColor(i);
  SetCurrent(c, ColorToHueSatLum(c), srSwatch);
}

void TColorDialogForm::SetCurrent(TColor Color, const THueSatLum& HSL, TSource Source) {
  FColor = Color & 0xFFFFFF;
  FHSL = HSL;
  FUpdating = true;
  // A colour defined by hand is no longer the basic swatch; the custom selection stays as the
  // slot "Add to Custom Colors" fills.
  if (Source != srSwatch) FBasic->SetItemIndex(-1);
  if (Source != srField) FField->SetHueSat(HSL.Hue, HSL.Sat);
  FBar->SetHueSat(HSL.Hue, HSL.Sat);
  if (Source != srBar) FBar->SetLum(HSL.Lum);
  FPreview->SetSwatchColor(FColor);
  if (Source != srHSLEdit) {
    FHue->SetValue(HSL.Hue);
    FSat->SetValue(HSL.Sat);
    FLum->SetValue(HSL.Lum);
  }
  if (Source != srRGBEdit) {
    FRed->SetValue(GetRValue(FColor));
    FGreen->SetValue(GetGValue(FColor));
    FBlue->SetValue(GetBValue(FColor));
  }
  FUpdating = false;
}

void TColorDialogForm::EditChanged(bool RGBEdit) {
  if (FUpdating) return;
  if (RGBEdit) {
    TColor c = RGB(static_cast<uint8_t>(FRed->GetValue()), static_cast<uint8_t>(FGreen->GetValue()),
                   static_cast<uint8_t>(FBlue->GetValue()));
    SetCurrent(c, ColorToHueSatLum(c), srRGBEdit);
  } else {
    THueSatLum h{FHue->GetValue(), FSat->GetValue(), FLum->GetValue()};
    SetCurrent(HueSatLumToColor(h), h, srHSLEdit);
  }
}

void TColorDialogForm::AddToCustom() {
  int slot = FCustom->GetItemIndex() >= 0 ? FCustom->GetItemIndex() : FNextCustom;
  FCustom->SetCellColor(slot, FColor);
  // The next addition goes to the following slot, so repeated additions fill the palette.
  FNextCustom = (slot + 1) % FCustom->CellCount();
  FCustom->SetItemIndex(FNextCustom);
}

// ---------------------------------------------------------------- TCommonDialog, TColorDialog

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

const std::vector<TColor>& TColorDialog::BasicColors() {
  static const std::vector<TColor> colors = MakeBasicColors();
  return colors;
}

std::string TColorDialog::CustomColorName(int Index) {
  if (Index < 0 || Index >= 16)
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return std::string("Color") + static_cast<char>('A' + Index);
}

std::vector<TColor> TColorDialog::ReadCustomColors() const {
  std::vector<TColor> v(16, clWhite);
  for (int i = 0; i < 16; ++i) {
    std::string name = CustomColorName(i);
    if (FCustomColors->IndexOfName(name) < 0) continue;
    std::string text = Trim(FCustomColors->GetValue(name));
    if (!text.empty() && text[0] == '$') text.erase(0, 1);
    bool ok = !text.empty() && text.size() <= 8;
    uint32_t value = 0;
    for (char ch : text) {
      int d = ch >= '0' && ch <= '9'   ? ch - '0'
              : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
              : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                       : -1;
      if (d < 0) ok = false;
      value = value * 16 + static_cast<uint32_t>(std::max(d, 0));
    }
    if (!ok)
      throw EConvertError("Invalid custom color " + name + " = '" + FCustomColors->GetValue(name) +
                          "'");
    v[static_cast<size_t>(i)] = static_cast<TColor>(value & 0xFFFFFF);
  }
  return v;
}

void TColorDialog::WriteCustomColors(const std::vector<TColor>& Colors) {
  for (int i = 0; i < 16 && i < static_cast<int>(Colors.size()); ++i)
    FCustomColors->SetValue(
        CustomColorName(i),
        IntToHex(static_cast<uint32_t>(Colors[static_cast<size_t>(i)] & 0xFFFFFF), 6));
}

bool TColorDialog::Execute() {
  if (FForm) throw EInvalidOperation("Dialog is already running");
  // The form belongs to the dialog, and goes when the run ends, however it ends.
  std::unique_ptr<TColorDialogForm> form(new TColorDialogForm(this));
  FForm = form.get();
  struct TReset {
    TForm*& Ref;
    ~TReset() { Ref = nullptr; }
  } reset{FForm};
  form->OnShow = [this](TObject*) { DoShow(); };
  form->OnHide = [this](TObject*) { DoClose(); };
  TModalResult result = form->ShowModal();
  // Custom colours are a palette the user edits; they are kept even when the choice is not.
  WriteCustomColors(form->CustomColors());
  if (result != mrOk) return false;
  FColor = form->CurrentColor();
  return true;
}

}  // namespace qel
