// The published properties of TRLData and TReportListView, for form files, qel-render and the
// gallery's property panel.
#include "frame/QEL_frame_register.h"
#include "platform/controls/Properties.h"
#include "replist/QEL_replist.h"

namespace qel {

void RegisterRepListClasses() {
  RegisterFrameEnums();
  RegisterGridClasses();
  RegisterEnum<TCheckMode>("TCheckMode", {"cmNone", "cmBox", "cmRadio"});
  RegisterEnum<TFilterMode>("TFilterMode", {"fmSimple", "fmBoolean", "fmGrep"});
  RegisterEnum<TAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});

  RegisterClass<TRLData>("TRLData", "TComponent")
      .Prop("NrOfColumns", &TRLData::GetNrOfColumns, &TRLData::SetNrCols, 1)
      .Prop("NrOfRows", &TRLData::GetNrOfRows, &TRLData::SetNrRows, 0)
      .Prop("CommonHeader", &TRLData::GetCommonHeader, &TRLData::SetCommonHeader,
            std::string("QEL Report Listview"));

  using V = TReportListView;
  auto never = [](const V*) { return false; };
  // The grid's counts follow NrOfColumns, NrOfRows and the header rows; they are not stored.
  RegisterClass<V>("TReportListView", "TCustomDrawGrid")
      .Default("Color", clWindow)
      .Default("ParentColor", false)
      .Default("FixedCols", 0)
      .Stored(never)
      .Inherit("ColCount")
      .Stored(never)
      .Inherit("RowCount")
      .Stored(never)
      .Inherit("FixedRows")
      .Stored(never)
      .Default("DefaultDrawing", false)
      .Default("Options", TGridOptions{goFixedVertLine, goFixedHorzLine, goColSizing, goRowSelect,
                                       goThumbTracking})
      .Prop("DefaultColWidth", &V::GetDefaultColWidth, &V::SetDefaultColWidth, 64)
      .Prop("DefaultRowHeight", &V::GetDefaultRowHeight, &V::SetDefaultRowHeight, 24)
      .Prop("NrOfColumns", &V::GetNrOfColumns, &V::SetNrCols, 5)
      .Prop("NrOfRows", &V::GetNrOfRows, &V::SetNrRows, 4)
      .Prop("AutoAdvance", &V::GetAutoAdvance, &V::SetAutoAdvance, false)
      .Color("ColorText", &V::GetColorText, &V::SetColorText, 0x002000)
      .Color("ColorBkgdNormal", &V::GetColorBkgdNormal, &V::SetColorBkgdNormal, 0xFFFFFF)
      .Color("ColorBkgdShaded", &V::GetColorBkgdShaded, &V::SetColorBkgdShaded, 0xF0EFE8)
      .Prop("RowColPattern", &V::GetRowColPattern, &V::SetRowColPattern, 1)
      .Color("ColorHigh", &V::GetColorHigh, &V::SetColorHigh, 0xCC9966)
      .Color("ColorHighText", &V::GetColorHighText, &V::SetColorHighText, 0xFFFFFF)
      .Prop("HighLightRow", &V::GetHighLightRow, &V::SetHighLightRow, 0)
      .Prop("HighLightColumn", &V::GetHighLightColumn, &V::SetHighLightColumn, 0)
      .Prop("HighLightBold", &V::GetHighLightBold, &V::SetHighLightBold, false)
      .Color("ColorSelectedRow", &V::GetColorSelectedRow, &V::SetColorSelectedRow, 0x94BAED)
      .Color("ColorSelectedRowText", &V::GetColorSelectedRowText, &V::SetColorSelectedRowText,
             0x800000)
      .Color("ColorSelectedCol", &V::GetColorSelectedCol, &V::SetColorSelectedCol, 0)
      .Color("ColorSelectedColText", &V::GetColorSelectedColText, &V::SetColorSelectedColText, 0)
      .Color("ColorSelectedBoth", &V::GetColorSelectedBoth, &V::SetColorSelectedBoth, 0)
      .Color("ColorSelectedBothText", &V::GetColorSelectedBothText, &V::SetColorSelectedBothText, 0)
      .Color("ColorDisabledBkgd", &V::GetColorDisabledBkgd, &V::SetColorDisabledBkgd, 0xF0F0F0)
      .Color("ColorDisabledText", &V::GetColorDisabledText, &V::SetColorDisabledText, 0xC0C0C0)
      .Color("ColorColumnHd", &V::GetColorColumnHd, &V::SetColorColumnHd, clBtnFace)
      .Color("ColorColumnHdText", &V::GetColorColumnHdText, &V::SetColorColumnHdText, 0)
      .Color("ColorCommonHd", &V::GetColorCommonHd, &V::SetColorCommonHd, clBtnFace)
      .Color("ColorCommonHdText", &V::GetColorCommonHdText, &V::SetColorCommonHdText, 0)
      .Color("ColorEmptyMsg", &V::GetColorEmptyMsg, &V::SetColorEmptyMsg, 0)
      .Prop("CommonHeader", &V::GetCommonHeader, &V::SetCommonHeader,
            std::string("QEL Report Listview"))
      .Enum("CommonHeaderAlignment", &V::GetCommonHeaderAlignment, &V::SetHdAlign, taCenter)
      .Prop("CommonHeaderVisible", &V::GetCommonHeaderVisible, &V::SetCommonHeaderVisible, false)
      .Prop("CommonHeaderHeight", &V::GetCommonHeaderHeight, &V::SetCommonHeaderHeight, 20)
      .Prop("ColumnHeadersVisible", &V::GetColumnHeadersVisible, &V::SetColumnHeadersVisible, true)
      .Prop("ColumnHeadersHeight", &V::GetColumnHeadersHeight, &V::SetColumnHeadersHeight, 20)
      .Prop("EmptyMessage", &V::GetEmptyMessage, &V::SetEmptyMessage, std::string())
      .Prop("FixedFirstColumn", &V::GetFixedFirstColumn, &V::SetFixedFirstColumn, false)
      .Color("InterRowIndicatorColor", &V::GetInterRowIndicatorColor, &V::SetInterRowIndicatorColor,
             0x0000FF)
      .Prop("InterRowIndicatorWidth", &V::GetInterRowIndicatorWidth, &V::SetInterRowIndicatorWidth,
            3)
      .Prop("LeftCol", &V::GetLeftCol, &V::SetLeftCol, 1)
      .Stored(never)
      .Prop("TopRow", &V::GetTopRow, &V::SetTopRow, 1)
      .Stored(never)
      .Prop("RowSelectMode", &V::GetRowSelectMode, &V::SetRowSelectMode, 1)
      .Prop("ShowEmptyCheckBoxes", &V::GetShowEmptyCheckBoxes, &V::SetShowEmptyCheckBoxes, true)
      .Prop("SortEnabled", &V::GetSortEnabled, &V::SetSortEnabled, true)
      .Prop("UseCtrlForMultiSel", &V::GetUseCtrlForMultiSel, &V::SetUseCtrlForMultiSel, true);
}

}  // namespace qel
