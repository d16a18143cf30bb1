#include "apps/gallery/GalleryForm.h"

#include <algorithm>

#include "apps/gallery/Pages.h"
#include "platform/controls/FormFiles.h"
#include "platform/rtl/StrUtils.h"

namespace qel {

namespace {

// Removes the last code point (never half of one).
void BackspaceUtf8(std::string& S) {
  while (!S.empty()) {
    unsigned char c = static_cast<unsigned char>(S.back());
    S.pop_back();
    if ((c & 0xC0) != 0x80) break;
  }
}

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

// ---------------------------------------------------------------- TPropertyPanel

TPropertyPanel::TPropertyPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(0, 0, 280, 300);
}

TPropertyPanel::~TPropertyPanel() { SetSubject(nullptr); }

void TPropertyPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSubject) {
    FSubject = nullptr;
    FRows.clear();
    FRow = -1;
    FEditing = false;
    Invalidate();
  }
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
  if (FSubject) RemoveFreeNotification(FSubject);
  FSubject = Value;
  if (FSubject) FreeNotification(FSubject);
  FRows.clear();
  FEditing = false;
  if (FSubject) AddRows(FSubject, "");
  FRow = FRows.empty() ? -1 : 0;
  FTopRow = 0;
  SetMessage(FSubject ? "Click a value, or select a row and type, then Enter" : "", false);
  Invalidate();
}

std::string TPropertyPanel::RowValue(int Index) const {
  if (!FSubject || Index < 0 || Index >= RowCount()) return {};
  TPropTarget t = ResolvePropPath(FSubject, FRows[static_cast<size_t>(Index)].Path);
  return GetPropText(t.Object, *t.Prop);
}

void TPropertyPanel::SetRowIndex(int Value) {
  if (FRows.empty()) return;
  Value = std::clamp(Value, 0, RowCount() - 1);
  if (Value == FRow) return;
  FEditing = false;
  FRow = Value;
  ScrollIntoView();
  Invalidate();
}

int TPropertyPanel::VisibleRows() const {
  return std::max(1, (GetHeight() - kHeaderHeight - kMessageHeight) / kRowHeight);
}

void TPropertyPanel::ScrollIntoView() {
  if (FRow < FTopRow) FTopRow = FRow;
  if (FRow >= FTopRow + VisibleRows()) FTopRow = FRow - VisibleRows() + 1;
  FTopRow = std::clamp(FTopRow, 0, std::max(0, RowCount() - VisibleRows()));
}

TRect TPropertyPanel::RowRect(int Index) const {
  int slot = Index - FTopRow;
  if (slot < 0 || slot >= VisibleRows()) return {};
  return Rect(0, kHeaderHeight + slot * kRowHeight, GetWidth(),
              kHeaderHeight + (slot + 1) * kRowHeight);
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
    return false;
  }
}

void TPropertyPanel::BeginEdit(const std::string& Initial) {
  if (FRow < 0) return;
  FEditing = true;
  FEditText = Initial;
  FEditFresh = true;
  Invalidate();
}

void TPropertyPanel::CancelEdit() {
  FEditing = false;
  Invalidate();
}

bool TPropertyPanel::CommitEdit() {
  if (!FEditing) return false;
  bool ok = Apply(FRow, FEditText);
  if (ok) FEditing = false;
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
    BeginEdit(v);
  }
}

void TPropertyPanel::Paint() {
  TCanvas* c = Canvas();
  int w = GetWidth(), h = GetHeight();
  c->Font()->Assign(GetFont());
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, w, kHeaderHeight));
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetStyle({fsBold});
  std::string title =
      FSubject ? FSubject->GetName() + ": " + ClassInfoOf(FSubject)->Name : "No component selected";
  c->TextOut(8, (kHeaderHeight - c->TextHeight(title)) / 2, title);
  c->Font()->SetStyle({});
  for (int i = FTopRow; i < RowCount() && i < FTopRow + VisibleRows(); ++i) {
    TRect r = RowRect(i);
    bool sel = i == FRow;
    c->Brush()->SetColor(sel ? (Focused() ? clHighlight : clBtnFace) : clWindow);
    c->FillRect(r);
    c->Font()->SetColor(sel && Focused() ? clHighlightText : clWindowText);
    c->Brush()->SetStyle(bsClear);
    TRect nameCell = Rect(r.Left + 6, r.Top, FNameWidth, r.Bottom);
    int ty = r.Top + (kRowHeight - c->TextHeight("Ag")) / 2;
    c->TextRect(nameCell, nameCell.Left, ty, FRows[static_cast<size_t>(i)].Path);
    TRect valueCell = Rect(FNameWidth + 4, r.Top, w - 2, r.Bottom);
    if (sel && FEditing) {
      c->Brush()->SetColor(clWindow);
      c->FillRect(valueCell);
      c->Pen()->SetColor(clHighlight);
      c->Brush()->SetStyle(bsClear);
      c->Rectangle(valueCell);
      int caret = valueCell.Left + 3 + c->TextWidth(FEditText);
      if (FEditFresh && !FEditText.empty()) {
        c->Brush()->SetColor(clHighlight);
        c->FillRect(Rect(valueCell.Left + 2, r.Top + 3, caret + 1, r.Bottom - 3));
        c->Brush()->SetStyle(bsClear);
      }
      c->Font()->SetColor(FEditFresh ? clHighlightText : clWindowText);
      c->TextRect(valueCell.Inflate(-1, -1), valueCell.Left + 3, ty, FEditText);
      c->Pen()->SetColor(clWindowText);
      c->MoveTo(caret, r.Top + 3);
      c->LineTo(caret, r.Bottom - 3);
    } else {
      std::string v = RowValue(i);
      std::replace(v.begin(), v.end(), '\n', ' ');
      c->TextRect(valueCell, valueCell.Left + 3, ty, v);
    }
    c->Pen()->SetColor(clBtnFace);
    c->MoveTo(0, r.Bottom - 1);
    c->LineTo(w, r.Bottom - 1);
  }
  // A thumb on the right edge when the rows do not all fit (the wheel and the keys scroll).
  int visible = VisibleRows();
  if (RowCount() > visible) {
    int track = visible * kRowHeight;
    int thumb = std::max(12, track * visible / RowCount());
    int top = kHeaderHeight + (track - thumb) * FTopRow / std::max(1, RowCount() - visible);
    c->Brush()->SetColor(clBtnShadow);
    c->FillRect(Rect(w - 4, top, w - 1, top + thumb));
  }
  c->Pen()->SetColor(clBtnFace);
  c->MoveTo(FNameWidth, kHeaderHeight);
  c->LineTo(FNameWidth, h - kMessageHeight);
  TRect msg = Rect(0, h - kMessageHeight, w, h);
  c->Brush()->SetColor(FMessageIsError ? RGB(0xFF, 0xE0, 0xE0) : clBtnFace);
  c->FillRect(msg);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(FMessageIsError ? clMaroon : clWindowText);
  TRect text = msg.Inflate(-6, -3);
  DrawText(c, FMessage, text, DT_WORDBREAK | DT_NOPREFIX);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(0, 0);
  c->LineTo(0, h);
}

void TPropertyPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FocusOnClick(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  // The second press of a double click belongs to DblClick.
  if (Button != mbLeft || Shift.Contains(ssDouble)) return;
  for (int i = FTopRow; i < RowCount() && i < FTopRow + VisibleRows(); ++i) {
    if (!RowRect(i).Contains({X, Y})) continue;
    bool again = i == FRow;
    SetRowIndex(i);
    // A click on the value of the selected row edits it.
    if (again && X > FNameWidth && !FEditing) BeginEdit(RowValue(i));
    return;
  }
}

void TPropertyPanel::DblClick() {
  TCustomControl::DblClick();
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
      SetRowIndex(FRow + 1);
      break;
    case VK_PRIOR:
      SetRowIndex(FRow - VisibleRows());
      break;
    case VK_NEXT:
      SetRowIndex(FRow + VisibleRows());
      break;
    case VK_HOME:
      if (FEditing) return;
      SetRowIndex(0);
      break;
    case VK_END:
      if (FEditing) return;
      SetRowIndex(RowCount() - 1);
      break;
    case VK_RETURN:
      if (FEditing)
        CommitEdit();
      else
        BeginEdit(RowValue(FRow));
      break;
    case VK_ESCAPE:
      if (!FEditing) return;
      CancelEdit();
      break;
    case VK_F2:
      BeginEdit(RowValue(FRow));
      break;
    default:
      return;
  }
  Key = 0;
}

void TPropertyPanel::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == 0 || FRow < 0) return;
  if (Key == 8) {
    if (FEditing && FEditFresh)
      FEditText.clear();
    else if (FEditing)
      BackspaceUtf8(FEditText);
    FEditFresh = false;
  } else if (Key == U' ' && !FEditing &&
             (FRows[static_cast<size_t>(FRow)].Prop->Kind == pkBool ||
              FRows[static_cast<size_t>(FRow)].Prop->Kind == pkEnum)) {
    StepValue(FRow);
  } else if (Key >= 0x20 && Key != 0x7F) {
    // Typing on a row that is not being edited replaces its value.
    if (!FEditing) BeginEdit("");
    // The value shown when editing began is selected: typing replaces it.
    if (FEditFresh) FEditText.clear();
    FEditFresh = false;
    AppendUtf8(FEditText, Key);
  } else {
    return;
  }
  Key = 0;
  Invalidate();
}

bool TPropertyPanel::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  int steps = WheelDelta / WHEEL_DELTA * 3;
  FTopRow = std::clamp(FTopRow - steps, 0, std::max(0, RowCount() - VisibleRows()));
  Invalidate();
  return true;
}

void TPropertyPanel::WMGetDlgCode(TMessage& Message) {
  // Enter commits and Esc cancels a value here: a default or cancel button on the page must
  // not take them.
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
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
  SetClientWidth(1000);
  SetClientHeight(680);
  FList = new TPageList(this);
  FList->SetName("PageList");
  FList->SetAlign(alLeft);
  FList->SetParent(this);
  FPanel = new TPropertyPanel(this);
  FPanel->SetName("PropertyPanel");
  FPanel->SetAlign(alRight);
  FPanel->SetParent(this);
  FPages = GalleryPages();
  std::vector<std::string> titles;
  for (const auto& p : FPages) titles.push_back(p.Title);
  FList->SetItems(titles);
  FList->OnChange = [this](TObject*) { ShowPage(FList->GetItemIndex()); };
  SetActiveControl(FList);
  if (!FPages.empty()) ShowPage(0);
}

void TGalleryForm::ShowPage(int Index) {
  if (Index < 0 || Index >= PageCount()) return;
  FList->SetItemIndex(Index);  // no-op when it is the current item already
  FPanel->SetSubject(nullptr);
  delete FPage;
  FPage = nullptr;
  TComponent* root = CreateComponentFromText(FPages[static_cast<size_t>(Index)].Text, this);
  FPage = dynamic_cast<TGalleryPage*>(root);
  if (!FPage) {
    delete root;
    throw EFormFileError(
        1, "Gallery page " + FPages[static_cast<size_t>(Index)].Stem + " is not a TGalleryPage");
  }
  FPage->SetAlign(alClient);
  FPage->SetParent(this);
  FPage->SendToBack();
  SelectComponent(FPage->ComponentCount() > 0 ? FPage->Components(0) : FPage);
}

void TGalleryForm::SelectComponent(TComponent* Component) { FPanel->SetSubject(Component); }

}  // namespace qel
