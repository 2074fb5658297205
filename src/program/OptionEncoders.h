#pragma once

#include <optional>

namespace vindle {

class Button;
class CheckBox;
class OptionGroup;

// The bytes that option groups, key check boxes and the A/D resolution button
// stand for. Each encoder reads the control as it is now and changes nothing.

// Index of the selected option (the highest, should several be selected);
// none when no option is selected.
std::optional<int> selectedIndex(const OptionGroup& group);
// 0 unchecked; 1 checked or grayed.
int checkBoxByte(const CheckBox& box);
// 0 for a caption of exactly "8-BIT", 1 for any other.
int resolutionByte(const Button& button);

} // namespace vindle
