// The text of an editor window's title, built from the document's state.
#pragma once

#include <string>

namespace vorn {

struct TTitleState {
  std::string fileName;  // full path, empty for an untitled document
  bool modified = false;
  bool grepResult = false;
  std::string grepKeyword;
  bool browseMode = false;
  bool readOnly = false;
  bool recordingMacro = false;
  int windowCount = 1;
  int windowIndex = 0;  // position in the process's window list; 0 is the main window
};

// "a.txt[/home/u/work/] - VornEditor", "無題 - VornEditor", with the state prefixes in front.
std::string BuildWindowTitle(const TTitleState& state);

}  // namespace vorn
