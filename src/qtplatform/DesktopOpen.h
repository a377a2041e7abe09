// Handing a file to the desktop: showing it in the file manager, opening it with its program.
#pragma once

#include <string>

namespace vorn {

// Shows the file selected in the desktop's file manager; where no file manager answers on the
// session bus, opens the file's folder instead. False when neither could be started.
bool ShowFileInFolder(const std::string& path);
// Opens the file with the program the desktop associates with it.
bool OpenWithAssociatedProgram(const std::string& path);

}  // namespace vorn
