#pragma once
// The grid page's grid: a TDrawGrid that draws its own cells (column names and row numbers in
// the fixed cells; a time, a unit and generated channel readings in the data cells) and keeps
// whatever the user types in the in-place editor. The time column edits through a mask, the unit
// column through a pick list. Leaving a cell checks its entry (the grid's editor validates on
// leaving, as a masked edit does): a time must be a time of day and a reading a number, else the
// error names the entry and the editor stays open (Esc gives the old text back).
#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/grids/Grids.h"

namespace qel {

class TDemoGrid : public TDrawGrid {
 public:
  explicit TDemoGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}
  std::string ClassName() const override { return "TDemoGrid"; }
  // The text of a cell: typed text when there is some, otherwise the generated one.
  std::string CellText(int ACol, int ARow) const;
  // Raises EConvertError when Text cannot stand in the cell: a time outside 00:00..23:59, a
  // reading that is not a number. Other cells take any text.
  void CheckEntry(int ACol, int ARow, const std::string& Text) const;

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  std::string GetEditText(int ACol, int ARow) override { return CellText(ACol, ARow); }
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  std::string GetEditMask(int ACol, int ARow) override;
  TEditStyle GetEditStyle(int ACol, int ARow) override;
  void GetPickListItems(int ACol, int ARow, TStrings& Items) override;
  TInplaceEdit* CreateEditor() override;

 private:
  static int64_t Key(int ACol, int ARow) { return (int64_t{ARow} << 32) | uint32_t(ACol); }
  std::unordered_map<int64_t, std::string> FTyped;
};

// Registers the grid classes and TDemoGrid. Idempotent.
void RegisterGridDemoClasses();

}  // namespace qel
