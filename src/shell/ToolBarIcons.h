// Tool-bar pictures: the desktop theme's standard icon where one fits the command, otherwise a
// small picture drawn here.
#pragma once

#include <QIcon>

namespace vorn {

// The picture of a function's button; never null.
QIcon FunctionIcon(int function);

// The picture drawn for a function, ignoring the theme (the fallback the theme falls back to).
QIcon DrawnFunctionIcon(int function);

}  // namespace vorn
