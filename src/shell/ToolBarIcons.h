// Tool-bar and menu pictures: the desktop theme's icon of each command's name, with the
// program's own set behind the theme.
#pragma once

#include <QIcon>

namespace vorn {

// The picture of a function's button and menu item; null outside 0..167.
QIcon FunctionIcon(int function);

}  // namespace vorn
