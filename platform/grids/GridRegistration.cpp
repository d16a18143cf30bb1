// Published properties of the grids, for form files, qel-render and the gallery.
#include "platform/controls/Properties.h"
#include "platform/grids/Grids.h"

namespace qel {

void RegisterGridClasses() {
  RegisterPlatformClasses();
  RegisterEnum<TGridOption>(
      "TGridOption",
      {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
       "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
       "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"});
  using G = TCustomGrid;
  // Counts come before the fixed counts, so a form file can raise both in its own order.
  RegisterClass<G>("TCustomGrid", "TCustomControl")
      .Default("TabStop", true)
      .Default("ParentColor", false)
      .Prop("ColCount", &G::GetColCount, &G::SetColCount, 5)
      .Prop("RowCount", &G::GetRowCount, &G::SetRowCount, 5)
      .Prop("FixedCols", &G::GetFixedCols, &G::SetFixedCols, 1)
      .Prop("FixedRows", &G::GetFixedRows, &G::SetFixedRows, 1)
      .Prop("DefaultColWidth", &G::GetDefaultColWidth, &G::SetDefaultColWidth, 64)
      .Prop("DefaultRowHeight", &G::GetDefaultRowHeight, &G::SetDefaultRowHeight, 24)
      .Prop("GridLineWidth", &G::GetGridLineWidth, &G::SetGridLineWidth, 1)
      .Color("FixedColor", &G::GetFixedColor, &G::SetFixedColor, clBtnFace)
      .Set("Options", &G::GetOptions, &G::SetOptions,
           TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect})
      .Prop("DefaultDrawing", &G::GetDefaultDrawing, &G::SetDefaultDrawing, true)
      .Enum("BorderStyle", &G::GetBorderStyle, &G::SetBorderStyle, bsSingle);
  RegisterClass<TCustomDrawGrid>("TCustomDrawGrid", "TCustomGrid");
  RegisterClass<TDrawGrid>("TDrawGrid", "TCustomDrawGrid");
}

}  // namespace qel
