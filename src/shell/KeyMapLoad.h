// Loading and saving the key map for one window: the process's key table from "Key.dat", the
// tool bar from "ToolBar.dat", and the menu shortcuts read off both.
#pragma once

#include <string>

#include "platform/SharedFileRead.h"

namespace vorn {

class TCommandActions;

struct TKeyMapLoadResult {
  // The tool bar has no button: it is hidden and its toggle unchecked; the caller stores
  // "ToolBar" = false in the section "Standard" of the common settings.
  bool ToolBarEmpty = false;
  // The file-open error of "Key.dat" or "ToolBar.dat" for the caller's error box, empty when
  // both were read (or absent). The table in force and the default tool bar stay usable.
  std::string Error;
};

// Reads "Key.dat" into the process's table, rebuilds the window's tool bar and its menu
// shortcuts; escCloses lets Esc close the window.
TKeyMapLoadResult LoadKeyMap(TCommandActions& actions, const std::string& userFolder, bool escCloses,
                             const TShareRetry& retry = {});

// Writes the process's table as "Key.dat" and shows its keys in this window's menus. Raises
// EFileCreateError.
void SaveKeyMap(TCommandActions& actions, const std::string& userFolder, bool escCloses);

}  // namespace vorn
