#pragma once
// Internal to platform/widgets: whether a combo box's item height is its own setting.
namespace qel {

class TCustomComboBox;

// True when the item height was set by hand rather than taken from the font. Only such a height
// is written to a form file: one that follows the font comes back with the font.
bool ComboItemHeightIsOwn(const TCustomComboBox* Box);

}  // namespace qel
