// Icons by name from the desktop's theme, with the program's own set behind it, so every
// command has a picture on any desktop, light or dark, at any scale.
#pragma once

#include <QIcon>

#include <string_view>

namespace vorn {

// Puts the program's icon set behind the desktop's theme. Once per process, before the first
// icon is asked for; later calls do nothing.
void InstallBundledIcons();

// The icon of a theme name. With number 0 or more the number is drawn in its lower right
// corner, so a family of numbered commands (marks, macros) shares a picture.
QIcon NamedIcon(std::string_view name, int number = -1);

// The bundled set's own icon of a name, ignoring the desktop's theme: null when the set has
// none.
QIcon BundledIcon(std::string_view name);

}  // namespace vorn
