#include "apps/gallery/GalleryForm.h"

#include <algorithm>
#include <tuple>

#include "apps/gallery/Pages.h"
#include "platform/controls/FormFiles.h"
#include "platform/rtl/FileSys.h"
#include "platform/rtl/StrUtils.h"
#include "platform/widgets/Dialogs.h"

namespace qel {

namespace {

void FocusOnClick(TWinControl* C) {
  if (C->CanFocus() && !C->Focused()) C->SetFocus();
}

}  // namespace

// ---------------------------------------------------------------- TPageList

TPageList::TPageList(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(0, 0, 160, 300);
}

void TPageList::SetItems(std::vector<std::string> Items) {
  FItems = std::move(Items);
  FItemIndex = FItems.empty() ? -1 : std::clamp(FItemIndex, 0, static_cast<int>(FItems.size()) - 1);
  Invalidate();
}

void TPageList::SetItemIndex(int Value) {
  Value = FItems.empty() ? -1 : std::clamp(Value, 0, static_cast<int>(FItems.size()) - 1);
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  Invalidate();
  if (OnChange) OnChange(this);
}

TRect TPageList::ItemRect(int Index) const {
  return Rect(0, kHeaderHeight + Index * kRowHeight, GetWidth(),
              kHeaderHeight + (Index + 1) * kRowHeight);
}

void TPageList::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(GetFont());
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, GetWidth(), kHeaderHeight));
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetStyle({fsBold});
  c->TextOut(8, (kHeaderHeight - c->TextHeight("Pages")) / 2, "Pages");
  c->Font()->SetStyle({});
  for (int i = 0; i < static_cast<int>(FItems.size()); ++i) {
    TRect r = ItemRect(i);
    bool sel = i == FItemIndex;
    c->Brush()->SetColor(sel ? clHighlight : clWindow);
    c->FillRect(r);
    c->Font()->SetColor(sel ? clHighlightText : clWindowText);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(r.Left + 10, r.Top + (kRowHeight - c->TextHeight(FItems[i])) / 2, FItems[i]);
    if (sel && Focused()) c->DrawFocusRect(r.Inflate(-1, -1));
  }
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(GetWidth() - 1, 0);
  c->LineTo(GetWidth() - 1, GetHeight());
}

void TPageList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FocusOnClick(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  for (int i = 0; i < static_cast<int>(FItems.size()); ++i)
    if (ItemRect(i).Contains({X, Y})) SetItemIndex(i);
}

void TPageList::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  int page = std::max(1, (GetHeight() - kHeaderHeight) / kRowHeight);
  switch (Key) {
    case VK_UP:
      SetItemIndex(FItemIndex - 1);
      break;
    case VK_DOWN:
      SetItemIndex(FItemIndex + 1);
      break;
    case VK_HOME:
      SetItemIndex(0);
      break;
    case VK_END:
      SetItemIndex(static_cast<int>(FItems.size()) - 1);
      break;
    case VK_PRIOR:
      SetItemIndex(FItemIndex - page);
      break;
    case VK_NEXT:
      SetItemIndex(FItemIndex + page);
      break;
    default:
      return;
  }
  Key = 0;
}

void TPageList::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TPageList::CMEnter(TMessage& Message) {
  TCustomControl::CMEnter(Message);
  Invalidate();
}

void TPageList::CMExit(TMessage& Message) {
  TCustomControl::CMExit(Message);
  Invalidate();
}

// ---------------------------------------------------------------- the inspector's editors

TInspectorEdit::TInspectorEdit(TPropertyPanel* Panel) : TEdit(Panel), FPanel(Panel) {
  SetBorderStyle(bsNone);
  SetAutoSize(false);
  SetVisible(false);
}

void TInspectorEdit::WMGetDlgCode(TMessage& Message) {
  TEdit::WMGetDlgCode(Message);
  // Enter applies and Esc cancels here: a default or cancel button on the page must not take
  // them.
  Message.Result |= DLGC_WANTALLKEYS;
}

void TInspectorEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  switch (Key) {
    case VK_RETURN:
      Key = 0;
      FPanel->CommitEdit();
      return;
    case VK_ESCAPE:
      Key = 0;
      FPanel->CancelEdit();
      return;
    case VK_UP:
    case VK_DOWN:
      // Leaving the row applies the value, as moving to another row does with the mouse.
      if (!FPanel->CommitEdit()) {
        Key = 0;
        return;
      }
      FPanel->KeyDown(Key, Shift);
      return;
    default:
      TEdit::KeyDown(Key, Shift);
  }
}

void TInspectorEdit::CMExit(TMessage& Message) {
  TEdit::CMExit(Message);
  // The focus went elsewhere on the form: the value is applied when it can be, else dropped
  // (the reason stays in the message line).
  // A dialog taking the focus (the error box of a refused value) is no leaving.
  if (!FPanel->Editing() || !GetVisible() || Application->ModalForm()) return;
  if (!FPanel->CommitEdit()) FPanel->CancelEdit();
}

TInspectorChoice::TInspectorChoice(TPropertyPanel* Panel) : TComboBox(Panel), FPanel(Panel) {
  SetStyle(csDropDownList);
  SetDropDownCount(12);
  SetVisible(false);
  OnSelect = [this](TObject*) { FPanel->ChoiceMade(); };
}

void TInspectorChoice::WMGetDlgCode(TMessage& Message) {
  TComboBox::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTALLKEYS;
}

void TInspectorChoice::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!GetDroppedDown()) {
    if (Key == VK_ESCAPE) {
      Key = 0;
      FPanel->CancelEdit();
      return;
    }
    if (Key == VK_RETURN) {
      Key = 0;
      FPanel->ChoiceMade();
      return;
    }
  }
  TComboBox::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------- TPropertyPanel

namespace {
const char* const kCustomColor = "Custom...";

// Whether the set value Text ("[fsBold, fsItalic]") holds the member Name.
bool SetHas(const std::string& Text, const std::string& Name) {
  size_t at = 0;
  while ((at = Text.find(Name, at)) != std::string::npos) {
    bool startOk = at > 0 && (Text[at - 1] == '[' || Text[at - 1] == ',' || Text[at - 1] == ' ');
    size_t e = at + Name.size();
    bool endOk = e < Text.size() && (Text[e] == ']' || Text[e] == ',' || Text[e] == ' ');
    if (startOk && endOk) return true;
    at = e;
  }
  return false;
}
}  // namespace

TPropertyPanel::TPropertyPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FPicker = new TComboBox(this);
  FPicker->SetName("ComponentList");
  FPicker->SetStyle(csDropDownList);
  FPicker->SetDropDownCount(16);
  FPicker->SetParent(this);
  FPicker->OnSelect = [this](TObject*) {
    int i = FPicker->GetItemIndex();
    if (i < 0 || i >= static_cast<int>(FComponents.size())) return;
    TComponent* c = FComponents[static_cast<size_t>(i)];
    if (auto* f = dynamic_cast<TSelectingForm*>(GetParentForm()))
      f->SelectComponent(c);
    else
      SetSubject(c);
  };
  FEdit = new TInspectorEdit(this);
  FEdit->SetName("ValueEdit");
  FEdit->SetParent(this);
  FChoice = new TInspectorChoice(this);
  FChoice->SetName("ValueChoice");
  FChoice->SetParent(this);
  FScroll = std::make_unique<widgetpaint::TListScrollInput>(
      [this] {
        widgetpaint::TListScrollBar b;
        b.Bar = ScrollBarRect();
        b.Count = RowCount();
        b.Visible = VisibleRows();
        b.Top = FTopRow;
        return b;
      },
      [this](int Top) { SetTopRow(Top); });
  SetBounds(0, 0, 300, 300);
}

TPropertyPanel::~TPropertyPanel() { SetSubject(nullptr); }

void TPropertyPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPicker) FPicker = nullptr;
  if (AComponent == FEdit) FEdit = nullptr;
  if (AComponent == FChoice) FChoice = nullptr;
  if (auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
      it != FComponents.end()) {
    size_t k = static_cast<size_t>(it - FComponents.begin());
    FComponents.erase(it);
    if (FPicker && static_cast<int>(k) < FPicker->GetItems()->Count())
      FPicker->GetItems()->Delete(static_cast<int>(k));
  }
  if (AComponent == FSubject) {
    FSubject = nullptr;
    FRows.clear();
    FRow = -1;
    EndEdit();
    Invalidate();
  }
}

void TPropertyPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FPicker) FPicker->SetBounds(6, 4, std::max(40, AWidth - 12), 22);
  FTopRow = std::clamp(FTopRow, 0, std::max(0, RowCount() - VisibleRows()));
  PlaceEditors();
}

void TPropertyPanel::SetComponents(std::vector<TComponent*> Components) {
  for (TComponent* c : FComponents)
    if (c != FSubject) RemoveFreeNotification(c);
  FComponents = std::move(Components);
  FPicker->GetItems()->Clear();
  for (TComponent* c : FComponents) {
    FreeNotification(c);
    const TClassInfo* info = ClassInfoOf(c);
    FPicker->GetItems()->Add(c->GetName() + ": " + (info ? info->Name : c->ClassName()));
  }
  auto it = std::find(FComponents.begin(), FComponents.end(), FSubject);
  FPicker->SetItemIndex(it == FComponents.end() ? -1 : static_cast<int>(it - FComponents.begin()));
}

void TPropertyPanel::AddRows(const TPersistent* Obj, const std::string& Prefix) {
  const TClassInfo* info = ClassInfoOf(Obj);
  if (!info) return;
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass) {
      if (const TPersistent* nested = p->GetObject(Obj)) AddRows(nested, Prefix + p->Name + ".");
      continue;
    }
    FRows.push_back({Prefix + p->Name, p});
  }
}

void TPropertyPanel::SetSubject(TComponent* Value) {
  if (Value == FSubject) return;
  EndEdit();
  bool listed = std::find(FComponents.begin(), FComponents.end(), FSubject) != FComponents.end();
  if (FSubject && !listed) RemoveFreeNotification(FSubject);
  FSubject = Value;
  if (FSubject) FreeNotification(FSubject);
  FRows.clear();
  if (FSubject) AddRows(FSubject, "");
  FRow = FRows.empty() ? -1 : 0;
  FTopRow = 0;
  if (FPicker) {
    auto it = std::find(FComponents.begin(), FComponents.end(), FSubject);
    FPicker->SetItemIndex(it == FComponents.end() ? -1
                                                  : static_cast<int>(it - FComponents.begin()));
  }
  SetMessage(FSubject ? "Click a value or press Enter to edit it; typing starts a new value" : "",
             false);
  Invalidate();
}

std::string TPropertyPanel::RowValue(int Index) const {
  if (!FSubject || Index < 0 || Index >= RowCount()) return {};
  TPropTarget t = ResolvePropPath(FSubject, FRows[static_cast<size_t>(Index)].Path);
  return GetPropText(t.Object, *t.Prop);
}

bool TPropertyPanel::RowHasChoices(int Index) const {
  if (Index < 0 || Index >= RowCount()) return false;
  TPropKind k = FRows[static_cast<size_t>(Index)].Prop->Kind;
  return k == pkBool || k == pkEnum || k == pkSet || k == pkColor;
}

std::string TPropertyPanel::EditText() const {
  if (!FEditing) return {};
  return FEdit && FEdit->GetVisible() ? FEdit->GetText() : FChoice ? FChoice->GetText() : "";
}

void TPropertyPanel::SetRowIndex(int Value) {
  if (FRows.empty()) return;
  Value = std::clamp(Value, 0, RowCount() - 1);
  if (Value == FRow) return;
  EndEdit();
  FRow = Value;
  ScrollIntoView();
  Invalidate();
}

int TPropertyPanel::VisibleRows() const {
  return std::max(1, (GetHeight() - kHeaderHeight - kMessageHeight) / kRowHeight);
}

TRect TPropertyPanel::ScrollBarRect() const {
  if (RowCount() <= VisibleRows()) return {};
  return Rect(GetWidth() - widgetpaint::ListScrollBarWidth, kHeaderHeight, GetWidth(),
              kHeaderHeight + VisibleRows() * kRowHeight);
}

int TPropertyPanel::RowsWidth() const {
  return GetWidth() - (ScrollBarRect().IsEmpty() ? 0 : widgetpaint::ListScrollBarWidth);
}

void TPropertyPanel::SetTopRow(int Value) {
  Value = std::clamp(Value, 0, std::max(0, RowCount() - VisibleRows()));
  if (Value == FTopRow) return;
  FTopRow = Value;
  PlaceEditors();
  Invalidate();
}

void TPropertyPanel::ScrollIntoView() {
  int top = FTopRow;
  if (FRow < top) top = FRow;
  if (FRow >= top + VisibleRows()) top = FRow - VisibleRows() + 1;
  SetTopRow(top);
}

TRect TPropertyPanel::RowRect(int Index) const {
  int slot = Index - FTopRow;
  if (slot < 0 || slot >= VisibleRows() || Index >= RowCount()) return {};
  return Rect(0, kHeaderHeight + slot * kRowHeight, RowsWidth(),
              kHeaderHeight + (slot + 1) * kRowHeight);
}

TRect TPropertyPanel::ValueRect(int Index) const {
  TRect r = RowRect(Index);
  if (r.IsEmpty()) return {};
  return Rect(FNameWidth + 1, r.Top, r.Right, r.Bottom - 1);
}

void TPropertyPanel::SetMessage(const std::string& Text, bool IsError) {
  FMessage = Text;
  FMessageIsError = IsError;
  Invalidate();
}

bool TPropertyPanel::Apply(int Row, const std::string& Text) {
  if (!FSubject || Row < 0 || Row >= RowCount()) return false;
  const std::string path = FRows[static_cast<size_t>(Row)].Path;
  try {
    TPropTarget t = ResolvePropPath(FSubject, path);
    SetPropText(t.Object, *t.Prop, Text);
    if (auto* ctl = dynamic_cast<TControl*>(FSubject)) ctl->Invalidate();
    SetMessage(FSubject->GetName() + "." + path + " = " + RowValue(Row), false);
    return true;
  } catch (const Exception& e) {
    SetMessage(e.Message, true);
    // The reason is worth a dialog: the message line is easy to miss.
    FApplying = true;
    Application->ShowException(e);
    FApplying = false;
    return false;
  }
}

void TPropertyPanel::PlaceEditors() {
  if (!FEdit || !FChoice) return;
  TRect v = FEditing ? ValueRect(FRow) : TRect{};
  if (v.IsEmpty()) {
    FEdit->SetVisible(false);
    FChoice->SetVisible(false);
    return;
  }
  if (FEdit->GetVisible()) FEdit->SetBounds(v.Left + 2, v.Top + 2, v.Width() - 3, v.Height() - 3);
  if (FChoice->GetVisible()) FChoice->SetBounds(v.Left, v.Top - 1, v.Width(), FChoice->GetHeight());
}

void TPropertyPanel::BeginEdit(const std::string& Initial) {
  if (FRow < 0 || !FEdit) return;
  ScrollIntoView();
  FChoice->SetVisible(false);
  FEditing = true;
  FEdit->SetText(Initial);
  FEdit->ClearUndo();
  FEdit->SetVisible(true);
  PlaceEditors();
  FEdit->SetFocus();
  FEdit->SelectAll();
  Invalidate();
}

void TPropertyPanel::FillChoices(int Row) {
  const TPropInfo* p = FRows[static_cast<size_t>(Row)].Prop;
  std::string v = RowValue(Row);
  TStrings* items = FChoice->GetItems();
  items->Clear();
  int index = -1;
  if (p->Kind == pkBool) {
    items->Add("False");
    items->Add("True");
    index = v == "True" ? 1 : 0;
  } else if (p->Kind == pkEnum) {
    for (const std::string& n : p->Enum->Names) items->Add(n);
    index = p->Enum->IndexOf(v);
  } else if (p->Kind == pkSet) {
    for (const std::string& n : p->Enum->Names) items->Add((SetHas(v, n) ? "[x] " : "[ ] ") + n);
    index = 0;
  } else if (p->Kind == pkColor) {
    for (const TColorIdent& c : kColorIdents) {
      if (v == c.Name) index = items->Count();
      items->Add(c.Name);
    }
    if (index < 0) {
      index = items->Count();
      items->Add(v);  // the value itself when it has no name
    }
    items->Add(kCustomColor);
  }
  FChoice->SetItemIndex(index);
}

void TPropertyPanel::EditRow() {
  if (FRow < 0) return;
  if (!RowHasChoices(FRow) || !FChoice) return BeginEdit(RowValue(FRow));
  ScrollIntoView();
  FEdit->SetVisible(false);
  FEditing = true;
  FillChoices(FRow);
  FChoice->SetVisible(true);
  PlaceEditors();
  FChoice->SetFocus();
  FChoice->SetDroppedDown(true);
  Invalidate();
}

void TPropertyPanel::ChoiceMade() {
  if (!FEditing || !FChoice || FRow < 0) return;
  int i = FChoice->GetItemIndex();
  if (i < 0) return;
  std::string item = FChoice->GetItems()->Get(i);
  const TPropInfo* p = FRows[static_cast<size_t>(FRow)].Prop;
  if (p->Kind == pkSet) {
    // A member toggles; the list stays for the next one.
    std::string name = item.substr(4), v = RowValue(FRow), out = "[";
    bool has = SetHas(v, name);
    for (const std::string& n : p->Enum->Names) {
      bool in = n == name ? !has : SetHas(v, n);
      if (in) out += (out.size() > 1 ? "," : "") + n;
    }
    if (Apply(FRow, out + "]")) {
      FillChoices(FRow);
      FChoice->SetItemIndex(i);
      // The list opens again for the next member: closed, an arrow key would toggle as it moves.
      if (!FChoice->GetDroppedDown() && FChoice->Focused()) FChoice->SetDroppedDown(true);
    }
    Invalidate();
    return;
  }
  if (p->Kind == pkColor && item == kCustomColor) return PickColor();
  if (Apply(FRow, item)) EndEdit();
  Invalidate();
}

void TPropertyPanel::PickColor() {
  if (FRow < 0 || FRows[static_cast<size_t>(FRow)].Prop->Kind != pkColor) return;
  TColorDialog dialog(nullptr);
  TColor c = clBlack;
  try {
    c = StringToColor(RowValue(FRow));
  } catch (const Exception&) {
  }
  dialog.SetColor(c);
  if (dialog.Execute()) Apply(FRow, ColorToString(dialog.GetColor()));
  EndEdit();
}

void TPropertyPanel::EndEdit() {
  bool refocus = FEditing && ((FEdit && FEdit->Focused()) || (FChoice && FChoice->Focused()));
  FEditing = false;
  if (FChoice && FChoice->GetDroppedDown()) FChoice->SetDroppedDown(false);
  if (FEdit) FEdit->SetVisible(false);
  if (FChoice) FChoice->SetVisible(false);
  if (refocus && CanFocus()) SetFocus();
  Invalidate();
}

void TPropertyPanel::CancelEdit() { EndEdit(); }

bool TPropertyPanel::CommitEdit() {
  if (!FEditing || FApplying) return false;
  if (!FEdit->GetVisible()) {
    ChoiceMade();
    return !FEditing;
  }
  bool ok = Apply(FRow, FEdit->GetText());
  if (ok) EndEdit();
  Invalidate();
  return ok;
}

void TPropertyPanel::StepValue(int Row) {
  if (Row < 0 || Row >= RowCount()) return;
  const TPropInfo* p = FRows[static_cast<size_t>(Row)].Prop;
  std::string v = RowValue(Row);
  if (p->Kind == pkBool) {
    Apply(Row, v == "True" ? "False" : "True");
  } else if (p->Kind == pkEnum) {
    int k = p->Enum->IndexOf(v);
    Apply(Row, p->Enum->Names[static_cast<size_t>(k + 1) % p->Enum->Names.size()]);
  } else {
    EditRow();
  }
}

void TPropertyPanel::Paint() {
  TCanvas* c = Canvas();
  int w = GetWidth(), h = GetHeight(), rw = RowsWidth();
  c->Font()->Assign(GetFont());
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, w, kHeaderHeight));
  c->Brush()->SetColor(clWindow);
  c->FillRect(Rect(0, kHeaderHeight, w, h - kMessageHeight));
  for (int i = FTopRow; i < RowCount() && i < FTopRow + VisibleRows(); ++i) {
    TRect r = RowRect(i);
    bool sel = i == FRow;
    bool focus = Focused() || FEditing;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(sel ? (focus ? clHighlight : clBtnFace) : clWindow);
    c->FillRect(Rect(r.Left, r.Top, FNameWidth, r.Bottom - 1));
    c->Font()->SetColor(sel && focus ? clHighlightText : clWindowText);
    c->Brush()->SetStyle(bsClear);
    TRect nameCell = Rect(r.Left + 6, r.Top, FNameWidth - 2, r.Bottom);
    int ty = r.Top + (kRowHeight - c->TextHeight("Ag")) / 2;
    c->TextRect(nameCell, nameCell.Left, ty, FRows[static_cast<size_t>(i)].Path);
    if (!(sel && FEditing)) {
      TRect valueCell = Rect(FNameWidth + 4, r.Top, rw - 2, r.Bottom);
      std::string v = RowValue(i);
      std::replace(v.begin(), v.end(), '\n', ' ');
      c->Font()->SetColor(clWindowText);
      c->TextRect(valueCell, valueCell.Left, ty, v);
      if (RowHasChoices(i) && sel) {
        // The drop-down's arrow shows which rows choose from a list.
        widgetpaint::Arrow(c, Rect(rw - 16, r.Top, rw - 2, r.Bottom), 1, clWindowText);
      }
    }
    if (sel && Focused() && !FEditing) c->DrawFocusRect(Rect(r.Left, r.Top, rw, r.Bottom - 1));
    c->Pen()->SetColor(clBtnFace);
    c->MoveTo(0, r.Bottom - 1);
    c->LineTo(rw, r.Bottom - 1);
  }
  TRect bar = ScrollBarRect();
  if (!bar.IsEmpty()) {
    widgetpaint::TListScrollBar b;
    b.Bar = bar;
    b.Count = RowCount();
    b.Visible = VisibleRows();
    b.Top = FTopRow;
    widgetpaint::PaintListScrollBar(c, b);
  }
  c->Pen()->SetColor(clBtnFace);
  c->MoveTo(FNameWidth, kHeaderHeight);
  c->LineTo(FNameWidth, kHeaderHeight + std::min(RowCount(), VisibleRows()) * kRowHeight);
  TRect msg = Rect(0, h - kMessageHeight, w, h);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FMessageIsError ? RGB(0xFF, 0xE0, 0xE0) : clBtnFace);
  c->FillRect(msg);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(FMessageIsError ? clMaroon : clWindowText);
  TRect text = msg.Inflate(-6, -4);
  DrawText(c, FMessage, text, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
  // The panel's edge: the highlight colour while it has the focus, so the focus is visible.
  c->Pen()->SetColor(Focused() || FEditing ? clHighlight : clBtnShadow);
  c->MoveTo(0, 0);
  c->LineTo(0, h);
}

void TPropertyPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FocusOnClick(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  // The scroll bar takes its own presses: they never select a row.
  if (FScroll->Press({X, Y})) {
    SetMouseCapture(true);
    return;
  }
  // The second press of a double click belongs to DblClick.
  if (Shift.Contains(ssDouble)) return;
  for (int i = FTopRow; i < RowCount() && i < FTopRow + VisibleRows(); ++i) {
    if (!RowRect(i).Contains({X, Y})) continue;
    bool again = i == FRow;
    if (FEditing && !CommitEdit()) return;
    SetRowIndex(i);
    // A click on the value of the selected row edits it; a row with choices opens its list
    // from the arrow only, so that a double click on the value can step it.
    if (again && X > FNameWidth && !FEditing && (!RowHasChoices(i) || X >= RowsWidth() - 18))
      EditRow();
    return;
  }
}

void TPropertyPanel::MouseMove(TShiftState Shift, int X, int Y) {
  if (FScroll->Pressed()) FScroll->Move({X, Y});
  TCustomControl::MouseMove(Shift, X, Y);
}

void TPropertyPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FScroll->Pressed()) {
    FScroll->Release({X, Y});
    SetMouseCapture(false);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TPropertyPanel::DblClick() {
  TCustomControl::DblClick();
  if (FScroll->Pressed()) return;
  if (FEditing) CancelEdit();
  StepValue(FRow);
}

void TPropertyPanel::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_UP:
      SetRowIndex(FRow - 1);
      break;
    case VK_DOWN:
      if (Shift.Contains(ssAlt)) {
        EditRow();
        break;
      }
      SetRowIndex(FRow + 1);
      break;
    case VK_PRIOR:
      SetRowIndex(FRow - VisibleRows());
      break;
    case VK_NEXT:
      SetRowIndex(FRow + VisibleRows());
      break;
    case VK_HOME:
      SetRowIndex(0);
      break;
    case VK_END:
      SetRowIndex(RowCount() - 1);
      break;
    case VK_RETURN:
    case VK_F2:
      EditRow();
      break;
    default:
      return;
  }
  Key = 0;
}

void TPropertyPanel::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == 0 || FRow < 0) return;
  if (Key == U' ' && (FRows[static_cast<size_t>(FRow)].Prop->Kind == pkBool ||
                      FRows[static_cast<size_t>(FRow)].Prop->Kind == pkEnum)) {
    StepValue(FRow);
  } else if (Key >= 0x20 && Key != 0x7F) {
    // Typing on a row starts a new value with that character.
    BeginEdit("");
    FEdit->KeyPress(Key);
  } else {
    return;
  }
  Key = 0;
  Invalidate();
}

bool TPropertyPanel::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  SetTopRow(FTopRow - WheelDelta / WHEEL_DELTA * 3);
  return true;
}

void TPropertyPanel::WMGetDlgCode(TMessage& Message) {
  // Enter edits here: a default or cancel button on the page must not take it.
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
}

void TPropertyPanel::CMEnter(TMessage& Message) {
  TCustomControl::CMEnter(Message);
  Invalidate();
}

void TPropertyPanel::CMExit(TMessage& Message) {
  TCustomControl::CMExit(Message);
  Invalidate();
}

// ---------------------------------------------------------------- TPageArea

namespace {

// The window the page shows through: it clips the page and shows the margin around it.
class TPageView : public TCustomControl {
 public:
  explicit TPageView(TComponent* AOwner) : TCustomControl(AOwner) {
    SetParentColor(false);
    SetColor(clAppWorkSpace);
  }
  std::string ClassName() const override { return "TPageView"; }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(GetColor());
    Canvas()->FillRect(GetClientRect());
  }
};

// The horizontal bar reuses the vertical bar's geometry with x and y swapped.
TRect Swapped(const TRect& R) { return Rect(R.Top, R.Left, R.Bottom, R.Right); }
TPoint Swapped(TPoint P) { return {P.Y, P.X}; }

}  // namespace

TPageArea::TPageArea(TComponent* AOwner) : TCustomControl(AOwner) {
  SetParentColor(false);
  SetColor(clBtnFace);
  FView = new TPageView(this);
  FView->SetName("PageView");
  FView->SetParent(this);
  auto input = [this](bool Vertical) {
    return std::make_unique<widgetpaint::TListScrollInput>(
        [this, Vertical] { return Bar(Vertical); },
        [this, Vertical](int Top) {
          TPoint p = FScrollPos;
          (Vertical ? p.Y : p.X) = std::max(0, Top) * kStep;
          SetScrollPos(p);
        });
  };
  FHorz = input(false);
  FVert = input(true);
  SetBounds(0, 0, 400, 300);
}

TPageArea::~TPageArea() { SetPage(nullptr, {}); }

void TPageArea::SetPage(TControl* Page, TSize Least) {
  if (FPage && FPage != Page) RemoveFreeNotification(FPage);
  FPage = Page;
  FLeast = Least;
  FScrollPos = {0, 0};
  if (FPage) {
    FreeNotification(FPage);
    FPage->SetAlign(alNone);
    FPage->SetParent(FView);
  }
  Arrange();
}

void TPageArea::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPage) FPage = nullptr;
  if (AComponent == FView) FView = nullptr;
}

TSize TPageArea::Content() const {
  return {FLeast.cx + 2 * kMargin, FLeast.cy + 2 * kMargin};
}

void TPageArea::BarsNeeded(bool& Horz, bool& Vert) const {
  TSize c = Content();
  int w = GetWidth(), h = GetHeight();
  Horz = c.cx > w;
  Vert = c.cy > h || (Horz && c.cy > h - kBarSize);
  Horz = Horz || (Vert && c.cx > w - kBarSize);
}

TRect TPageArea::ViewRect() const {
  bool horz, vert;
  BarsNeeded(horz, vert);
  return Rect(0, 0, std::max(0, GetWidth() - (vert ? kBarSize : 0)),
              std::max(0, GetHeight() - (horz ? kBarSize : 0)));
}

TRect TPageArea::HorzBarRect() const {
  bool horz, vert;
  BarsNeeded(horz, vert);
  TRect v = ViewRect();
  return horz ? Rect(0, v.Bottom, v.Right, GetHeight()) : TRect{};
}

TRect TPageArea::VertBarRect() const {
  bool horz, vert;
  BarsNeeded(horz, vert);
  TRect v = ViewRect();
  return vert ? Rect(v.Right, 0, GetWidth(), v.Bottom) : TRect{};
}

TPoint TPageArea::MaxScroll() const {
  TSize c = Content();
  TRect v = ViewRect();
  return {std::max(0, c.cx - v.Width()), std::max(0, c.cy - v.Height())};
}

void TPageArea::SetScrollPos(TPoint Value) {
  TPoint most = MaxScroll();
  Value = {std::clamp(Value.X, 0, most.X), std::clamp(Value.Y, 0, most.Y)};
  if (Value == FScrollPos) return;
  FScrollPos = Value;
  Arrange();
}

widgetpaint::TListScrollBar TPageArea::Bar(bool Vertical) const {
  widgetpaint::TListScrollBar b;
  TRect v = ViewRect();
  int content = Vertical ? Content().cy : Content().cx;
  int pos = Vertical ? FScrollPos.Y : FScrollPos.X;
  int most = Vertical ? MaxScroll().Y : MaxScroll().X;
  b.Bar = Vertical ? VertBarRect() : Swapped(HorzBarRect());
  // In steps, so that an arrow moves the page by one; the last step lands on the far edge.
  b.Count = (content + kStep - 1) / kStep;
  b.Visible = std::max(1, (Vertical ? v.Height() : v.Width()) / kStep);
  b.Top = pos >= most ? b.MaxTop() : pos / kStep;
  return b;
}

void TPageArea::Arrange() {
  TRect v = ViewRect();
  TPoint most = MaxScroll();
  FScrollPos = {std::clamp(FScrollPos.X, 0, most.X), std::clamp(FScrollPos.Y, 0, most.Y)};
  if (FView) FView->SetBounds(v.Left, v.Top, v.Width(), v.Height());
  if (FPage)
    FPage->SetBounds(kMargin - FScrollPos.X, kMargin - FScrollPos.Y,
                     std::max(FLeast.cx, v.Width() - 2 * kMargin),
                     std::max(FLeast.cy, v.Height() - 2 * kMargin));
  Invalidate();
}

void TPageArea::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Arrange();
}

void TPageArea::Paint() {
  TCanvas* c = Canvas();
  TRect horz = HorzBarRect(), vert = VertBarRect();
  if (!vert.IsEmpty()) widgetpaint::PaintListScrollBar(c, Bar(true));
  if (!horz.IsEmpty()) {
    widgetpaint::TListScrollBar b = Bar(false);
    TRect up = Swapped(b.UpButton()), down = Swapped(b.DownButton()), thumb = Swapped(b.Thumb());
    widgetpaint::Checker(c, Swapped(b.Track()), clBtnFace, clBtnHighlight);
    widgetpaint::ButtonFace(c, up, false);
    widgetpaint::Arrow(c, up, 2, clBtnText);
    widgetpaint::ButtonFace(c, down, false);
    widgetpaint::Arrow(c, down, 3, clBtnText);
    if (!thumb.IsEmpty()) widgetpaint::ButtonFace(c, thumb, false);
  }
  if (!horz.IsEmpty() && !vert.IsEmpty()) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(vert.Left, horz.Top, vert.Right, horz.Bottom));
  }
}

void TPageArea::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FVert->Press({X, Y}) || FHorz->Press(Swapped(TPoint{X, Y}))) SetMouseCapture(true);
}

void TPageArea::MouseMove(TShiftState Shift, int X, int Y) {
  if (FVert->Pressed()) FVert->Move({X, Y});
  if (FHorz->Pressed()) FHorz->Move(Swapped(TPoint{X, Y}));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TPageArea::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && (FVert->Pressed() || FHorz->Pressed())) {
    if (FVert->Pressed()) FVert->Release({X, Y});
    if (FHorz->Pressed()) FHorz->Release(Swapped(TPoint{X, Y}));
    SetMouseCapture(false);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TPageArea::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  TPoint most = MaxScroll();
  if (most.X == 0 && most.Y == 0) return false;
  int by = -WheelDelta / WHEEL_DELTA * 3 * kStep;
  bool sideways = most.Y == 0 || Shift.Contains(ssShift);
  SetScrollPos(sideways ? TPoint{FScrollPos.X + by, FScrollPos.Y}
                        : TPoint{FScrollPos.X, FScrollPos.Y + by});
  return true;
}

// ---------------------------------------------------------------- pages

std::vector<TGalleryPageSource> GalleryPages() {
  std::vector<TGalleryPageSource> pages;
  for (const TEmbeddedText* e = kGalleryPages; e->Name; ++e) {
    TGalleryPageSource p;
    p.Text.assign(reinterpret_cast<const char*>(e->Data), e->Size);
    p.Stem = e->Name;
    // "10_drawing" -> "drawing": the number only orders the pages.
    if (size_t u = p.Stem.find('_'); u != std::string::npos) p.Stem = p.Stem.substr(u + 1);
    TFormObject tree = ParseFormText(p.Text);
    p.Title = p.Stem;
    for (const auto& prop : tree.Props)
      if (prop.Path == "Caption" && prop.Value.Type == TFormValue::fvString)
        p.Title = prop.Value.Str;
    pages.push_back(std::move(p));
  }
  return pages;
}

// ---------------------------------------------------------------- TGalleryForm

TGalleryForm::TGalleryForm(TComponent* AOwner) : TSelectingForm(AOwner) {
  SetName("GalleryForm");
  SetCaption("QEL gallery");
  SetPosition(poScreenCenter);
  FPages = GalleryPages();
  SetMinSize({kMinClientWidth, MinClientHeight()});
  SetClientWidth(kDefaultClientWidth);
  SetClientHeight(std::max(kDefaultClientHeight, MinClientHeight()));
  FList = new TPageList(this);
  FList->SetName("PageList");
  FList->SetAlign(alLeft);
  FList->SetWidth(kListWidth);
  FList->SetParent(this);
  FSave = new TButton(this);
  FSave->SetName("SavePage");
  FSave->SetCaption("Save page as\u2026");
  FSave->SetHint("Write the page as a form file (Ctrl+S)");
  FSave->SetShowHint(true);
  FSave->SetAlign(alBottom);
  FSave->SetHeight(kSaveButtonHeight);
  FSave->SetParent(FList);
  FSave->OnClick = [this](TObject*) { SavePageAs(); };
  FPanel = new TPropertyPanel(this);
  FPanel->SetName("PropertyPanel");
  FPanel->SetAlign(alRight);
  FPanel->SetWidth(kPanelWidth);
  FPanel->SetParent(this);
  FArea = new TPageArea(this);
  FArea->SetName("PageArea");
  FArea->SetAlign(alClient);
  FArea->SetParent(this);
  std::vector<std::string> titles;
  for (const auto& p : FPages) titles.push_back(p.Title);
  FList->SetItems(titles);
  FList->OnChange = [this](TObject*) { ShowPage(FList->GetItemIndex()); };
  SetActiveControl(FList);
  // Errors show in a dialog of our own, whatever the backend can do.
  InstallErrorDialogHook();
  if (!FPages.empty()) ShowPage(0);
}

int TGalleryForm::MinClientHeight() const {
  return std::max(480, TPageList::kHeaderHeight + PageCount() * TPageList::kRowHeight +
                           kSaveButtonHeight + 8);
}

TSize TGalleryForm::PageExtent(TGalleryPage* Page) {
  // Room a client-aligned component keeps at least, and the inset of the page's own edges.
  constexpr int kClientRoom = 200, kInset = 8;
  int right = 0, bottom = TGalleryPage::kTitleHeight, sideWidth = 0, sideHeight = 0;
  bool client = false;
  for (int i = 0; i < Page->ControlCount(); ++i) {
    TControl* c = Page->Controls(i);
    if (!c->GetVisible()) continue;
    switch (c->GetAlign()) {
      case alLeft:
      case alRight:
        sideWidth += c->GetWidth();
        break;
      case alTop:
      case alBottom:
        sideHeight += c->GetHeight();
        break;
      case alClient:
        client = true;
        break;
      default:
        right = std::max(right, c->GetLeft() + c->GetWidth() + kInset);
        bottom = std::max(bottom, c->GetTop() + c->GetHeight() + kInset);
    }
  }
  int width = std::max(right, sideWidth + (client ? kClientRoom : 0));
  int height = std::max(bottom, TGalleryPage::kTitleHeight + sideHeight + (client ? kClientRoom : 0));
  // The title band's texts, measured as the page paints them.
  TBitmap probe(1, 1);
  TCanvas* c = probe.Canvas();
  c->Font()->Assign(Page->GetFont());
  c->Font()->SetSize(11);
  c->Font()->SetStyle({fsBold});
  width = std::max(width, 10 + c->TextWidth(Page->GetCaption()) + kInset);
  c->Font()->SetSize(8);
  c->Font()->SetStyle({});
  width = std::max(width, 10 + c->TextWidth(Page->GetDescription()) + kInset);
  return {width, height};
}

void TGalleryForm::ShowPage(int Index) {
  if (Index < 0 || Index >= PageCount()) return;
  FList->SetItemIndex(Index);  // no-op when it is the current item already
  FPanel->SetSubject(nullptr);
  FPanel->SetComponents({});
  FArea->SetPage(nullptr, {});
  delete FPage;
  FPage = nullptr;
  TComponent* root = CreateComponentFromText(FPages[static_cast<size_t>(Index)].Text, this);
  FPage = dynamic_cast<TGalleryPage*>(root);
  if (!FPage) {
    delete root;
    throw EFormFileError(
        1, "Gallery page " + FPages[static_cast<size_t>(Index)].Stem + " is not a TGalleryPage");
  }
  FArea->SetPage(FPage, PageExtent(FPage));
  std::vector<TComponent*> parts;
  for (int i = 0; i < FPage->ComponentCount(); ++i) parts.push_back(FPage->Components(i));
  FPanel->SetComponents(std::move(parts));
  SelectComponent(FPage->ComponentCount() > 0 ? FPage->Components(0) : FPage);
}

void TGalleryForm::SavePage(const std::string& FileName) {
  if (FPage) WriteComponentFile(FPage, FileName);
}

void TGalleryForm::SavePageAs() {
  if (!FPage) return;
  TForm dialog(nullptr);
  dialog.SetName("SavePageDialog");
  dialog.SetCaption("Save page as");
  dialog.SetBorderStyle(bsDialog);
  dialog.SetPosition(poScreenCenter);
  dialog.SetClientWidth(356);
  dialog.SetClientHeight(96);
  auto* label = new TLabel(&dialog);
  label->SetName("FileNameLabel");
  label->SetParent(&dialog);
  label->SetBounds(12, 12, 330, 13);
  label->SetCaption("&File name:");
  auto* edit = new TEdit(&dialog);
  edit->SetName("FileName");
  edit->SetParent(&dialog);
  edit->SetBounds(12, 30, 332, 21);
  edit->SetText(PageSource(CurrentPage()).Stem + ".qfm");
  label->SetFocusControl(edit);
  int left = 356 - 12 - 2 * 75 - 8;
  for (auto [name, caption, result] : {std::tuple{"OK", "OK", mrOk},
                                       std::tuple{"Cancel", "Cancel", mrCancel}}) {
    auto* b = new TButton(&dialog);
    b->SetName(name);
    b->SetParent(&dialog);
    b->SetBounds(left, 62, 75, 25);
    b->SetCaption(caption);
    b->SetModalResult(result);
    b->SetDefault(result == mrOk);
    b->SetCancel(result == mrCancel);
    left += 83;
  }
  dialog.SetActiveControl(edit);
  edit->SelectAll();
  if (dialog.ShowModal() != mrOk) return;
  std::string file = Trim(edit->GetText());
  if (file.empty()) return;
  if (FileExists(file) &&
      MessageDlg("Replace " + file + "?", mtConfirmation, {mbYes, mbNo}) != mrYes)
    return;
  try {
    SavePage(file);
    FPanel->SetMessage("Saved the page as " + file, false);
  } catch (const Exception& e) {
    FPanel->SetMessage(e.Message, true);
    Application->ShowException(e);
  }
}

bool TGalleryForm::IsShortCut(uint16_t Key, TShiftState Shift) {
  if (Key == 'S' && Shift == TShiftState{ssCtrl}) {
    SavePageAs();
    return true;
  }
  return TSelectingForm::IsShortCut(Key, Shift);
}

void TGalleryForm::SelectComponent(TComponent* Component) { FPanel->SetSubject(Component); }

void TGalleryForm::PreviewMouseDown(TControl* Hit) {
  if (!FPage) return;
  // The part pressed may be a piece of a component (a combo box's edit, a grid's editor): the
  // nearest control the page owns is what was meant.
  TControl* found = nullptr;
  for (TControl* c = Hit; c && !found; c = c->GetParent()) {
    if (c == FPage) {
      found = FPage;
    } else if (c->GetOwner() == FPage) {
      found = c;
    } else if (c == this) {
      return;  // the page list or the inspector
    }
  }
  if (!found) return;
  // Disabled controls and labels take no mouse: the designer still selects them, by geometry.
  TPoint p = ScreenToClient(Application->CursorPos());
  for (bool deeper = true; deeper;) {
    deeper = false;
    auto* w = dynamic_cast<TWinControl*>(found);
    if (!w) break;
    for (int i = w->ControlCount() - 1; i >= 0; --i) {
      TControl* c = w->Controls(i);
      if (!c->GetVisible() || c->GetOwner() != FPage) continue;
      TPoint local = c->ParentToClient(p, this);
      if (local.X < 0 || local.Y < 0 || local.X >= c->GetWidth() || local.Y >= c->GetHeight())
        continue;
      found = c;
      deeper = true;
      break;
    }
  }
  if (FPanel->Subject() != found) SelectComponent(found);
}

}  // namespace qel
