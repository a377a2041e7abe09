// The picture of each numbered function, by icon name: the desktop theme's standard
// (freedesktop) name where one fits the command, otherwise a "vorn-" name that only the
// program's own icon set draws. Numbered families share a picture and add their number.
#pragma once

#include <string_view>

namespace vorn {

// The icon name of a function; never empty for 0..167, empty outside.
std::string_view FunctionIconName(int function);

// The number a numbered family's picture carries (mark 1 to 9 and 0, macro 1 to 20); -1 for
// a function without one.
int FunctionIconNumber(int function);

}  // namespace vorn
