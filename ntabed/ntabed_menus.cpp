// TNTabEd's two built-in popup menus: the data menu ("PopupDTAction") on data cells and the
// heading menu ("PopupHTAction") on column and row headings, their captions and masks, and the
// commands they run.
#include <algorithm>

#include "frame/QEL_stringl.h"
#include "ntabed/QEL_ntabed.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/StrUtils.h"

namespace qel {

namespace {

constexpr const char* kDataCaptions[TNTabEd::kDataItems] = {
    "Mark as type A", "Mark as type B",
    "Unmark type A",  "Unmark type B",
    "Unmark All",     "Clear",
    "Copy",           "Paste",
    "Data Read-Only", "Extract from Clipboard",
    "Select All",     "Toggle Empty State"};
constexpr const char* kHeadCaptions[TNTabEd::kHeadItems] = {"Edit Heading", "Change Precision",
                                                            "Select..", "Insert..", "Delete.."};
constexpr const char* kSubCaptions[TNTabEd::kSubItems] = {"Range", "Column", "Row", "All"};

// Menu texts are short strings of at most 50 characters.
std::string MenuText(std::string_view Text) { return Utf8Truncate(std::string(Text), 50); }

}  // namespace

void TNTabEd::BuildMenus() {
  FPopupD = new TPopupMenu(this);
  FPopupD->SetName("PopupDTAction");
  FPopupD->SetAutoPopup(false);
  FPopupD->OnPopup = [this](TObject*) { DataMenuPopup(); };
  for (int i = 0; i < kDataItems; ++i) {
    auto* item = new TMenuItem(FPopupD);
    item->SetCaption(kDataCaptions[i]);
    FPopupD->GetItems()->Add(item);
    FDItems[static_cast<size_t>(i)] = item;
    if (i < 4) {
      for (int k = 0; k < kSubItems; ++k) {
        auto* sub = new TMenuItem(FPopupD);
        sub->SetCaption(kSubCaptions[k]);
        item->Add(sub);
        FSubItems[static_cast<size_t>(i)][static_cast<size_t>(k)] = sub;
        sub->OnClick = [this, i, k](TObject*) { RunMarkCommand(i + 1, k + 1); };
      }
    }
  }
  FDItems[4]->OnClick = [this](TObject*) {
    {
      TQuietData quiet(*this);  // marks are no change of values
      FData->UnmarkAllCells();
    }
    Invalidate();
    ChangedCellStates();
  };
  FDItems[5]->OnClick = [this](TObject* Sender) { ClearSelectedCells(Sender); };
  FDItems[6]->OnClick = [this](TObject*) { CopyToClipboard(); };
  FDItems[7]->OnClick = [this](TObject*) { PasteFromClipboard(); };
  FDItems[7]->SetEnabled(false);
  FDItems[8]->OnClick = [this](TObject*) { ToggleReadOnlyCommand(); };
  FDItems[9]->OnClick = [this](TObject*) { ExtractFromClipboard(); };
  FDItems[10]->OnClick = [this](TObject*) { SelectAllCells(); };
  FDItems[11]->OnClick = [this](TObject*) { ToggleEmptyState(); };

  FPopupH = new TPopupMenu(this);
  FPopupH->SetName("PopupHTAction");
  FPopupH->SetAutoPopup(false);
  // The outline of the heading goes when its menu closes.
  FPopupH->OnClose = [this](TObject*) { OutlineHeading(TRect{}); };
  for (int i = 0; i < kHeadItems; ++i) {
    auto* item = new TMenuItem(FPopupH);
    item->SetCaption(kHeadCaptions[i]);
    FPopupH->GetItems()->Add(item);
    FHItems[static_cast<size_t>(i)] = item;
  }
  FHItems[0]->OnClick = [this](TObject*) { OpenNameEditor(); };
  FHItems[1]->OnClick = [this](TObject*) { ChangePrecisionCommand(); };
  FHItems[2]->OnClick = [this](TObject*) { HeadingSelect(); };
  FHItems[3]->OnClick = [this](TObject*) { HeadingInsert(); };
  FHItems[4]->OnClick = [this](TObject*) { HeadingDelete(); };
}

TMenuItem* TNTabEd::DataItem(int Index) const {
  return Index >= 1 && Index <= kDataItems ? FDItems[static_cast<size_t>(Index - 1)] : nullptr;
}

TMenuItem* TNTabEd::HeadingItem(int Index) const {
  return Index >= 1 && Index <= kHeadItems ? FHItems[static_cast<size_t>(Index - 1)] : nullptr;
}

TMenuItem* TNTabEd::SubItem(int DataIndex, int Index) const {
  if (DataIndex < 1 || DataIndex > 4 || Index < 1 || Index > kSubItems) return nullptr;
  return FSubItems[static_cast<size_t>(DataIndex - 1)][static_cast<size_t>(Index - 1)];
}

// ---------------------------------------------------------------- captions and masks

void TNTabEd::SetPopupDCaption(int Index, std::string_view Text) {
  if (TMenuItem* m = DataItem(Index)) m->SetCaption(MenuText(Text));
}
std::string TNTabEd::GetPopupDCaption(int Index) const {
  const TMenuItem* m = DataItem(Index);
  return m ? m->GetCaption() : std::string();
}
void TNTabEd::SetPopupHCaption(int Index, std::string_view Text) {
  if (TMenuItem* m = HeadingItem(Index)) m->SetCaption(MenuText(Text));
}
std::string TNTabEd::GetPopupHCaption(int Index) const {
  const TMenuItem* m = HeadingItem(Index);
  return m ? m->GetCaption() : std::string();
}
// The "Mark" submenus (items 1 and 2) share their captions, as do the "Unmark" ones (3 and 4).
void TNTabEd::SetPopupMCaption(int Index, std::string_view Text) {
  for (int item : {1, 2})
    if (TMenuItem* m = SubItem(item, Index)) m->SetCaption(MenuText(Text));
}
std::string TNTabEd::GetPopupMCaption(int Index) const {
  const TMenuItem* m = SubItem(1, Index);
  return m ? m->GetCaption() : std::string();
}
void TNTabEd::SetPopupUCaption(int Index, std::string_view Text) {
  for (int item : {3, 4})
    if (TMenuItem* m = SubItem(item, Index)) m->SetCaption(MenuText(Text));
}
std::string TNTabEd::GetPopupUCaption(int Index) const {
  const TMenuItem* m = SubItem(3, Index);
  return m ? m->GetCaption() : std::string();
}

void TNTabEd::SetPopupDMask(int M) {
  FPopupDMask = M;
  for (int i = 0; i < kDataItems; ++i)
    FDItems[static_cast<size_t>(i)]->SetEnabled((static_cast<unsigned>(M) >> i) & 1u);
  ChangedSetup();
}

void TNTabEd::SetPopupHMask(int M) {
  FPopupHMask = M;
  for (int i = 0; i < kHeadItems; ++i)
    FHItems[static_cast<size_t>(i)]->SetEnabled((static_cast<unsigned>(M) >> i) & 1u);
  ChangedSetup();
}

// ---------------------------------------------------------------- opening

void TNTabEd::PopupAt(TPopupMenu* Menu, int X, int Y) {
  const TPoint p = ClientToScreen(TPoint{X, Y});
  Menu->Popup(p.X, p.Y);
}

void TNTabEd::OutlineHeading(const TRect& R) {
  if (R == FOutline) return;
  if (!FOutline.IsEmpty()) InvalidateRect(FOutline);
  FOutline = R;
  if (!FOutline.IsEmpty()) InvalidateRect(FOutline);
}

void TNTabEd::DataMenuPopup() {
  // Read-only takes Clear and Extract away; the host's mask keeps them away in any case.
  const bool writable = !FDataReadOnly;
  const unsigned mask = static_cast<unsigned>(FPopupDMask);
  FDItems[5]->SetEnabled(writable && (mask & (1u << 5)));
  FDItems[9]->SetEnabled(writable && (mask & (1u << 9)));
  if (FClipFilled && ((static_cast<unsigned>(FPopupDMask) >> 7) & 1u))
    FDItems[7]->SetEnabled(writable);
  FDItems[8]->SetChecked(FDataReadOnly);
  FDItems[8]->GetBitmap()->LoadFromResourceName(FDataReadOnly ? "CHECKEDBOX" : "EMPTYBOX");
}

void TNTabEd::PrepareHeadingMenu(bool ColumnHeading) {
  FHeadingIsColumn = ColumnHeading;
  const unsigned m = static_cast<unsigned>(FPopupHMask);
  if (m & 2u) FHItems[1]->SetEnabled(ColumnHeading);
  FHItems[2]->SetEnabled(m & 4u);
  FHItems[3]->SetEnabled((m & 8u) && !FDataReadOnly);
  FHItems[4]->SetEnabled((m & 16u) && !FDataReadOnly);
  FHItems[2]->SetCaption(ColumnHeading ? "Select Column" : "Select Row");
  FHItems[3]->SetCaption(ColumnHeading ? "Insert Column" : "Insert Row");
  FHItems[4]->SetCaption(ColumnHeading ? "Delete Column" : "Delete Row");
}

// ---------------------------------------------------------------- data commands

void TNTabEd::RunMarkCommand(int Item, int Sub) {
  const uint8_t bit = Item == 1 || Item == 3 ? dtsMarkedA : dtsMarkedB;
  MarkCells(bit, Item <= 2, static_cast<TMarkScope>(Sub - 1));
}

void TNTabEd::ClearSelectedCells(TObject* Sender) {
  {
    TQuietData quiet(*this);
    if (OnClear) {
      OnClear(Sender);
    } else {
      const TGridRect s = TableSelection();
      for (int c = std::max(s.Left, 1); c <= std::min(s.Right, NrOfColumns()); ++c)
        for (int r = std::max(s.Top, 1); r <= std::min(s.Bottom, NrOfRows()); ++r) {
          FData->Matrix().At(c, r) = 0;
          FData->SetCellState(c, r, 0);
        }
    }
  }
  Invalidate();
  ChangedData();
  ChangedCellStates();
}

void TNTabEd::ToggleEmptyState() {
  const TGridRect s = TableSelection();
  for (int c = std::max(s.Left, 1); c <= std::min(s.Right, NrOfColumns()); ++c)
    for (int r = std::max(s.Top, 1); r <= std::min(s.Bottom, NrOfRows()); ++r)
      FData->SetCellState(c, r, FData->GetCellState(c, r) ^ dtsEmpty);
  Invalidate();
  ChangedCellStates();
}

void TNTabEd::SelectAllCells() {
  SetTableSelection({1, 1, NrOfColumns(), NrOfRows()});
  Invalidate();
  FSelRemembered = GetSelection();
  ChangedSelection();
}

void TNTabEd::ToggleReadOnlyCommand() {
  SetDataReadOnly(!FDataReadOnly);
  ChangedSetup();
}

// ---------------------------------------------------------------- heading commands

void TNTabEd::StepPrecision(int C) {
  if (C < 1 || C > NrOfColumns()) return;
  const int d = GetDecPlaces(C);
  FDecPlaces[static_cast<size_t>(C - 1)] = static_cast<int8_t>(d <= -1 ? 10 : d - 1);
  Invalidate();
}

void TNTabEd::ChangePrecisionCommand() {
  const TGridCoord g = FClickedCell;
  if (g.X <= FRA || g.X >= GetColCount()) return;
  StepPrecision(g.X - FRA);
  // The menu comes back at the heading, so the step can be repeated.
  const TRect r = CellRect(g.X, g.Y);
  PrepareHeadingMenu(true);
  OutlineHeading(r);
  PopupAt(FPopupH, r.Left + 20, r.Top + 20);
  ChangedLayout();
}

void TNTabEd::HeadingSelect() {
  const TGridCoord g = FClickedCell;
  if (FHeadingIsColumn) {
    const int c = g.X - FRA;
    if (c < 1 || c > NrOfColumns()) return;
    SetTableSelection({c, 1, c, NrOfRows()});
  } else {
    const int r = g.Y - FCA;
    if (r < 1 || r > NrOfRows()) return;
    SetTableSelection({1, r, NrOfColumns(), r});
  }
  Invalidate();
  FSelRemembered = GetSelection();
  ChangedSelection();
}

void TNTabEd::HeadingInsert() {
  const TGridCoord g = FClickedCell;
  {
    TQuietData quiet(*this);
    if (FHeadingIsColumn) {
      const int c = g.X - FRA, n = NrOfColumns();
      InsertColumn(c);
      if (NrOfColumns() > n) FData->SetColName(c, "(...)");
    } else {
      const int r = g.Y - FCA, n = NrOfRows();
      InsertRow(r);
      if (NrOfRows() > n) FData->SetRowName(r, "(...)");
    }
  }
  Invalidate();
}

void TNTabEd::HeadingDelete() {
  const TGridCoord g = FClickedCell;
  if (FHeadingIsColumn)
    RemoveColumn(g.X - FRA);
  else
    RemoveRow(g.Y - FCA);
  ChangedSetup();
}

}  // namespace qel
