// Program entry: the station gate, the main window, the command-line passes.
#pragma once

namespace vorn {

int RunVornEditor(int argc, char** argv);

}  // namespace vorn
