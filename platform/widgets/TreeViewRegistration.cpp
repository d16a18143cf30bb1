// Published properties of the tree view, its nodes written as indented lines.
#include <memory>

#include "platform/controls/Properties.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

void RegisterTreeViewClasses() {
  RegisterStdWidgetClasses();
  auto builder =
      RegisterClass<TCustomTreeView>("TCustomTreeView", "TCustomControl")
          .Default("TabStop", true)
          .Default("ParentColor", false)
          .Default("Color", clWindow)
          .Prop("AutoExpand", &TCustomTreeView::GetAutoExpand, &TCustomTreeView::SetAutoExpand,
                false)
          .Prop("BorderStyle", &TCustomTreeView::GetBorderStyle, &TCustomTreeView::SetBorderStyle,
                bsSingle)
          .Prop("HideSelection", &TCustomTreeView::GetHideSelection,
                &TCustomTreeView::SetHideSelection, true)
          .Prop("HotTrack", &TCustomTreeView::GetHotTrack, &TCustomTreeView::SetHotTrack, false)
          .Prop("Indent", &TCustomTreeView::GetIndent, &TCustomTreeView::SetIndent, 19)
          .Prop("ReadOnly", &TCustomTreeView::GetReadOnly, &TCustomTreeView::SetReadOnly, false)
          .Prop("ShowButtons", &TCustomTreeView::GetShowButtons, &TCustomTreeView::SetShowButtons,
                true)
          .Prop("ShowLines", &TCustomTreeView::GetShowLines, &TCustomTreeView::SetShowLines, true)
          .Prop("ShowRoot", &TCustomTreeView::GetShowRoot, &TCustomTreeView::SetShowRoot, true);
  // The nodes as lines (one tab per level), written "Items.Strings = (...)" like any list.
  auto items = std::make_unique<TPropInfo>();
  items->Name = "Items";
  items->Kind = pkStrings;
  items->HasDefault = true;  // empty
  items->GetLines = [](const TPersistent* I) {
    auto* t = dynamic_cast<const TCustomTreeView*>(I);
    if (!t) detail::WrongInstance(I);
    return t->GetItems()->GetNodeLines();
  };
  items->SetLines = [](TPersistent* I, const std::vector<std::string>& Lines) {
    auto* t = dynamic_cast<TCustomTreeView*>(I);
    if (!t) detail::WrongInstance(I);
    t->GetItems()->SetNodeLines(Lines);
  };
  detail::AddProperty(builder.Info(), std::move(items));
  RegisterClass<TTreeView>("TTreeView", "TCustomTreeView");
}

}  // namespace qel
