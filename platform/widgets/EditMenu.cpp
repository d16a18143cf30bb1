// The edit's standard context menu: Undo, Cut, Copy, Paste, Delete and Select All, each enabled
// only when it would do something.
#include <algorithm>

#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

namespace {

enum TEditCommand : uint8_t { emUndo, emCut, emCopy, emPaste, emDelete, emSelectAll, emLine };

struct TEditMenuEntry {
  const char* Caption;
  TEditCommand Command;
  TShortCut Keys;  // shown only: the edit handles these keys itself
};

constexpr TEditMenuEntry kEntries[] = {
    {"&Undo", emUndo, scCtrl | 'Z'},
    {"-", emLine, 0},
    {"Cu&t", emCut, scCtrl | 'X'},
    {"&Copy", emCopy, scCtrl | 'C'},
    {"&Paste", emPaste, scCtrl | 'V'},
    {"&Delete", emDelete, VK_DELETE},
    {"-", emLine, 0},
    {"Select &All", emSelectAll, scCtrl | 'A'},
};

}  // namespace

bool TCustomEdit::DefaultContextMenu(TPoint ScreenPos) {
  if (!FStandardMenu) {
    // No owner: the edit deletes it, and it never shows among the form's components.
    FStandardMenu = new TPopupMenu(nullptr);
    for (const TEditMenuEntry& e : kEntries) {
      auto* item = new TMenuItem(nullptr);
      item->SetCaption(e.Caption);
      item->SetShortCut(e.Keys);
      item->SetTag(e.Command);
      TEditCommand cmd = e.Command;
      item->OnClick = [this, cmd](TObject*) {
        switch (cmd) {
          case emUndo:
            Undo();
            break;
          case emCut:
            CutToClipboard();
            break;
          case emCopy:
            CopyToClipboard();
            break;
          case emPaste:
            PasteFromClipboard();
            break;
          case emDelete:
            ClearSelection();
            break;
          case emSelectAll:
            SelectAll();
            break;
          case emLine:
            break;
        }
      };
      FStandardMenu->GetItems()->Add(item);
    }
    FStandardMenu->OnPopup = [this](TObject*) { UpdateStandardMenu(); };
  }
  FStandardMenu->SetPopupComponent(this);
  FStandardMenu->Popup(ScreenPos.X, ScreenPos.Y);
  return true;
}

void TCustomEdit::UpdateStandardMenu() {
  bool selection = SelFrom() != SelTo();
  // A masked field gives nothing away, as Ctrl+C and Ctrl+X refuse there too.
  bool masked = FPasswordChar != 0;
  bool clip = Clipboard()->HasFormat(CF_TEXT);
  TMenuItem* items = FStandardMenu->GetItems();
  for (int i = 0; i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    bool enabled = true;
    switch (static_cast<TEditCommand>(item->GetTag())) {
      case emUndo:
        enabled = FCanUndo && !FReadOnly;
        break;
      case emCut:
        enabled = selection && !FReadOnly && !masked;
        break;
      case emCopy:
        enabled = selection && !masked;
        break;
      case emPaste:
        enabled = clip && !FReadOnly;
        break;
      case emDelete:
        enabled = selection && !FReadOnly;
        break;
      case emSelectAll:
        enabled = !GetText().empty();
        break;
      case emLine:
        break;
    }
    item->SetEnabled(enabled);
  }
}

TPoint TCustomEdit::KeyboardContextPoint() const {
  // Just below the caret, kept on the control.
  TRect c = CaretRect();
  return {std::clamp(c.Left, 0, std::max(0, GetWidth() - 1)),
          std::clamp(c.Bottom, 0, std::max(0, GetHeight() - 1))};
}

}  // namespace qel
