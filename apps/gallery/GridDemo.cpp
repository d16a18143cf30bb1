#include "apps/gallery/GridDemo.h"

#include <cmath>

#include "platform/controls/Properties.h"
#include "platform/rtl/NumText.h"

namespace qel {

namespace {
// "A".."Z", "AA".."ZZ", ... as a spreadsheet names its columns.
std::string ColumnName(int Index) {
  std::string s;
  for (int n = Index + 1; n > 0; n = (n - 1) / 26) s.insert(s.begin(), char('A' + (n - 1) % 26));
  return s;
}
}  // namespace

std::string TDemoGrid::CellText(int ACol, int ARow) const {
  if (ARow < GetFixedRows() && ACol < GetFixedCols()) return "";
  if (ARow < GetFixedRows()) return ColumnName(ACol - GetFixedCols());
  if (ACol < GetFixedCols()) return IntToStr(ARow - GetFixedRows() + 1);
  auto it = FTyped.find(Key(ACol, ARow));
  if (it != FTyped.end()) return it->second;
  // A smooth made-up reading, so scrolling shows values that change along rows and columns.
  return StrFixed(100 * std::sin(ARow * 0.05 + ACol) + ACol * 10, 1, 2);
}

void TDemoGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  FTyped[Key(ACol, ARow)] = Value;
  TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TDemoGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* c = Canvas();
  const std::string text = CellText(ACol, ARow);
  const bool fixed = AState.Contains(gdFixed);
  c->Font()->Assign(GetFont());
  if (AState.Contains(gdSelected) && !fixed) c->Font()->SetColor(clHighlightText);
  c->Brush()->SetStyle(bsClear);
  TRect r = ARect.Inflate(-3, 0);
  DrawText(c, text, r, DT_SINGLELINE | DT_VCENTER | (fixed ? DT_CENTER : DT_RIGHT) | DT_NOPREFIX);
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void RegisterGridDemoClasses() {
  RegisterGridClasses();
  RegisterClass<TDemoGrid>("TDemoGrid", "TDrawGrid");
}

}  // namespace qel
