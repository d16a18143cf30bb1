// The published properties of TFolderTree, for form files, qel-render and the gallery's
// property panel.
#include "platform/controls/Properties.h"
#include "selectors/QEL_FolderTree.h"

namespace qel {

void RegisterFolderTreeClasses() {
  RegisterTreeViewClasses();
  // The nodes come from the file system, never from a form file.
  RegisterClass<TFolderTree>("TFolderTree", "TCustomTreeView")
      .Default("ReadOnly", true)
      .Inherit("Items")
      .Stored([](const TFolderTree*) { return false; })
      .Color("Color", &TFolderTree::GetColor, &TFolderTree::SetColor, clWindow)
      .Stored([](const TFolderTree* T) { return !T->GetParentColor(); })
      .Prop("OldTreeStyle", &TFolderTree::GetOldTreeStyle, &TFolderTree::SetUseOldStyle, true);
}

}  // namespace qel
