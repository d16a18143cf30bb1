#include "apps/gallery/GridDemo.h"

#include <cmath>
#include <iterator>

#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/NumText.h"

namespace qel {

namespace {
// The first two data columns: a time of day and a unit; the rest are channels.
constexpr int kTimeCol = 0;
constexpr int kUnitCol = 1;
constexpr const char* kUnits[] = {"V", "mV", "A", "mA", "Ohm", "kOhm", "degC", "Hz", "kHz", "%"};

// The page's in-place editor: its check on leaving a cell is the mask's and then the grid's.
class TDemoCellEdit : public TInplaceEdit {
 public:
  explicit TDemoCellEdit(TDemoGrid* AGrid) : TInplaceEdit(AGrid), FDemo(AGrid) {}
  void ValidateEdit() override {
    TInplaceEdit::ValidateEdit();
    try {
      FDemo->CheckEntry(FDemo->GetCol(), FDemo->GetRow(), GetText());
    } catch (const EConvertError&) {
      MessageBeep(0);
      SelectAll();  // the whole entry is wrong: typing replaces it
      throw;
    }
  }

 private:
  TDemoGrid* FDemo;
};

int TwoDigits(const std::string& S, size_t At) {
  const char a = S[At], b = S[At + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}
}  // namespace

void TDemoGrid::CheckEntry(int ACol, int ARow, const std::string& Text) const {
  if (ARow < GetFixedRows() || ACol < GetFixedCols()) return;
  const int col = ACol - GetFixedCols();
  if (col == kTimeCol) {
    const bool shaped = Text.size() == 5 && Text[2] == ':';
    const int h = shaped ? TwoDigits(Text, 0) : -1, m = shaped ? TwoDigits(Text, 3) : -1;
    if (h < 0 || h > 23 || m < 0 || m > 59)
      throw EConvertError("'" + Text +
                          "' is not a valid time: hours run from 00 to 23, minutes from 00 to 59");
  } else if (col != kUnitCol) {
    long double v = 0;
    // An empty cell is a reading not taken yet.
    if (!Text.empty() && !TryStrToFloat(Text, v))
      throw EConvertError("'" + Text + "' is not a valid reading: type a number such as -12.5");
  }
}

TInplaceEdit* TDemoGrid::CreateEditor() { return new TDemoCellEdit(this); }

std::string TDemoGrid::CellText(int ACol, int ARow) const {
  if (ARow < GetFixedRows() && ACol < GetFixedCols()) return "";
  const int col = ACol - GetFixedCols();
  if (ARow < GetFixedRows())
    return col == kTimeCol ? "Time" : col == kUnitCol ? "Unit" : "Ch " + IntToStr(col - 1);
  if (ACol < GetFixedCols()) return IntToStr(ARow - GetFixedRows() + 1);
  auto it = FTyped.find(Key(ACol, ARow));
  if (it != FTyped.end()) return it->second;
  const int row = ARow - GetFixedRows();
  if (col == kTimeCol) {
    const int minutes = (row * 5) % 1440;
    auto two = [](int V) { return std::string(1, char('0' + V / 10)) + char('0' + V % 10); };
    return two(minutes / 60) + ":" + two(minutes % 60);
  }
  if (col == kUnitCol) return kUnits[row % std::size(kUnits)];
  // A smooth made-up reading, so scrolling shows values that change along rows and columns.
  return StrFixed(100 * std::sin(ARow * 0.05 + ACol) + ACol * 10, 1, 2);
}

void TDemoGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  FTyped[Key(ACol, ARow)] = Value;
  TDrawGrid::SetEditText(ACol, ARow, Value);
}

std::string TDemoGrid::GetEditMask(int ACol, int ARow) {
  // Two digits each for hours and minutes; the text keeps its colon.
  if (ARow >= GetFixedRows() && ACol - GetFixedCols() == kTimeCol) return "00:00;1;_";
  return {};
}

TEditStyle TDemoGrid::GetEditStyle(int ACol, int ARow) {
  return ARow >= GetFixedRows() && ACol - GetFixedCols() == kUnitCol ? esPickList : esSimple;
}

void TDemoGrid::GetPickListItems(int, int, TStrings& Items) {
  for (const char* u : kUnits) Items.Add(u);
}

void TDemoGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* c = Canvas();
  const std::string text = CellText(ACol, ARow);
  const bool fixed = AState.Contains(gdFixed);
  c->Font()->Assign(GetFont());
  if (AState.Contains(gdSelected) && !fixed) c->Font()->SetColor(clHighlightText);
  c->Brush()->SetStyle(bsClear);
  TRect r = ARect.Inflate(-3, 0);
  const int col = ACol - GetFixedCols();
  const unsigned align = fixed || col == kTimeCol ? DT_CENTER
                         : col == kUnitCol        ? DT_LEFT
                                                  : DT_RIGHT;
  DrawText(c, text, r, DT_SINGLELINE | DT_VCENTER | align | DT_NOPREFIX);
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void RegisterGridDemoClasses() {
  RegisterGridClasses();
  RegisterClass<TDemoGrid>("TDemoGrid", "TDrawGrid");
}

}  // namespace qel
