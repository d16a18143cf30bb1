// The published properties of TNTabEd, for form files, qel-render and the gallery's property
// panel.
#include "frame/QEL_frame_register.h"
#include "ntabed/QEL_ntabed.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/Menus.h"

namespace qel {

void RegisterNTabEdClasses() {
  RegisterFrameEnums();
  RegisterGridClasses();
  using T = TNTabEd;
  auto never = [](const T*) { return false; };
  // The grid's own counts, fixed lines and colours follow from the table and the editor's
  // properties, so they are never written; the table's size comes first when reading, the
  // scroll position after it.
  RegisterClass<T>("TNTabEd", "TCustomGrid")
      .Default("Color", clWindow)
      .Stored(never)
      .Default("ParentColor", false)
      .Default("ColCount", 5)
      .Stored(never)
      .Default("RowCount", 5)
      .Stored(never)
      .Default("FixedCols", 2)
      .Stored(never)
      .Default("FixedRows", 1)
      .Stored(never)
      .Default("FixedColor", clBtnFace)
      .Stored(never)
      .Prop("NrOfColumns", &T::GetNrCols, &T::SetNrCols, 3)
      .Prop("NrOfRows", &T::GetNrRows, &T::SetNrRows, 4)
      .Prop("AttribRowVisible", &T::GetRowAttVis, &T::SetRowAttVis, true)
      .Prop("AttribColVisible", &T::GetColAttVis, &T::SetColAttVis, false)
      .Prop("DefaultColWidth", &T::GetDefColWidth, &T::SetDefColWidth, 64)
      .Prop("AutoAdvance", &T::GetAutoAdvance, &T::SetAutoAdvance, true)
      .Enum("AutoAdvanceDir", &T::GetAutoAdvanceDir, &T::SetAutoAdvanceDir, orVertical)
      .Prop("BlockInternalPopup", &T::GetBlockInternalPopup, &T::SetBlockInternalPopup, false)
      .Prop("CommentEditingAllowed", &T::GetCommentEditingAllowed, &T::SetCommentEditingAllowed,
            true)
      .Prop("Comment", &T::GetComment, &T::SetComment, std::string())
      .Color("ColorBackground", &T::GetColorBackground, &T::SetColorBackground, clWindow)
      .Color("ColorFixed", &T::GetColorFixed, &T::SetColorFixed, clBtnFace)
      .Color("ColorNormal", &T::GetColorNormal, &T::SetColorNormal, 0x002000)
      .Color("ColorSelected", &T::GetColorSelected, &T::SetColorSelected, 0x404040)
      .Color("ColorMarkedA", &T::GetColorMarkedA, &T::SetColorMarkedA, 0x0000FF)
      .Color("ColorMarkedB", &T::GetColorMarkedB, &T::SetColorMarkedB, 0xFF0000)
      .Color("ColorMarkedBoth", &T::GetColorMarkedBoth, &T::SetColorMarkedBoth, 0xCC00BB)
      .Color("ColorRangeSelFG", &T::GetColorRangeSelFG, &T::SetFColorRngSelFG, 0x80552C)
      .Color("ColorRangeSelBG", &T::GetColorRangeSelBG, &T::SetFColorRngSelBG, 0xF8E8E0)
      .Prop("BoldMarks", &T::GetBoldMarks, &T::SetBoldMarks, true)
      .Prop("BoldSelHeads", &T::GetBoldSelHeads, &T::SetBoldSelHeads, true)
      .Prop("ClipboardUseFullPrec", &T::GetClipboardUseFullPrec, &T::SetClipboardUseFullPrec, true)
      .Prop("NomEditDropDownCount", &T::GetNomEditDropDownCount, &T::SetDropdownCount, 8)
      .Prop("NumWidth", &T::GetNumWidth, &T::SetNumWidth, 1)
      .Prop("DataReadOnly", &T::GetDataReadOnly, &T::SetDataReadOnly, false)
      .Prop("OptimizeRowHeight", &T::GetOptimizeRowHeight, &T::SetOptRowHeight, false)
      .Prop("ShowCellCursor", &T::GetShowCellCursor, &T::SetShowCellCursor, true)
      .Component<TPopupMenu>("PopupMenu", &T::GetPopupMenu,
                             [](T* E, TPopupMenu* M) { E->SetPopupMenu(M); })
      .Prop("LeftCol", &T::GetLeftCol, &T::SetLeftCol, 1)
      .Stored(never)
      .Prop("TopRow", &T::GetTopRow, &T::SetTopRow, 1)
      .Stored(never);
}

}  // namespace qel
