#include "apps/gallery/MenuDemo.h"

#include "platform/controls/Properties.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

namespace {
constexpr TAlignment kAlignOfTag[] = {taLeftJustify, taCenter, taRightJustify};  // tags 1..3
}  // namespace

void TMenuDemoPanel::Loaded() {
  TCustomPanel::Loaded();
  if (TPopupMenu* menu = GetPopupMenu()) {
    Hook(menu->GetItems());
    ShowChecks(menu->GetItems());
  }
}

void TMenuDemoPanel::Hook(TMenuItem* Items) {
  for (int i = 0; i < Items->Count(); ++i) {
    TMenuItem* item = Items->Items(i);
    if (item->Count() > 0) {
      Hook(item);
    } else if (!item->IsLine() && !item->OnClick) {
      item->OnClick = [this](TObject* Sender) { Apply(static_cast<TMenuItem*>(Sender)); };
    }
  }
}

// Radio items show the panel's present alignment and bevel.
void TMenuDemoPanel::ShowChecks(TMenuItem* Items) {
  for (int i = 0; i < Items->Count(); ++i) {
    TMenuItem* item = Items->Items(i);
    ShowChecks(item);
    switch (item->GetTag()) {
      case 1: case 2: case 3:
        if (GetAlignment() == kAlignOfTag[item->GetTag() - 1]) item->SetChecked(true);
        break;
      case 11:
        if (GetBevelOuter() == bvRaised) item->SetChecked(true);
        break;
      case 12:
        if (GetBevelOuter() == bvLowered) item->SetChecked(true);
        break;
      case 13:
        if (GetBevelOuter() == bvNone) item->SetChecked(true);
        break;
      default:
        break;
    }
  }
}

void TMenuDemoPanel::Apply(TMenuItem* Item) {
  switch (Item->GetTag()) {
    case 1:
    case 2:
    case 3:
      SetAlignment(kAlignOfTag[Item->GetTag() - 1]);
      break;
    case 11:
      SetBevelOuter(bvRaised);
      break;
    case 12:
      SetBevelOuter(bvLowered);
      break;
    case 13:
      SetBevelOuter(bvNone);
      break;
    default:
      break;
  }
  if (Item->GetRadioItem()) Item->SetChecked(true);
  std::string keys = ShortCutToText(Item->GetShortCut());
  SetCaption("Chose " + StripHotkey(Item->GetCaption()) + (keys.empty() ? "" : " (" + keys + ")"));
}

void RegisterMenuDemoClasses() {
  RegisterStdWidgetClasses();
  RegisterMenuAndComboClasses();
  RegisterClass<TMenuDemoPanel>("TMenuDemoPanel", "TPanel");
}

}  // namespace qel
