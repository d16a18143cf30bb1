#include "apps/gallery/GridDemo.h"

#include <cmath>
#include <iterator>

#include "platform/controls/Properties.h"
#include "platform/rtl/NumText.h"

namespace qel {

namespace {
// The first two data columns: a time of day and a unit; the rest are channels.
constexpr int kTimeCol = 0;
constexpr int kUnitCol = 1;
constexpr const char* kUnits[] = {"V", "mV", "A", "mA", "Ohm", "kOhm", "degC", "Hz", "kHz", "%"};
}  // namespace

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
  const unsigned align = fixed || col == kTimeCol ? DT_CENTER : col == kUnitCol ? DT_LEFT : DT_RIGHT;
  DrawText(c, text, r, DT_SINGLELINE | DT_VCENTER | align | DT_NOPREFIX);
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void RegisterGridDemoClasses() {
  RegisterGridClasses();
  RegisterClass<TDemoGrid>("TDemoGrid", "TDrawGrid");
}

}  // namespace qel
