// The key map's load and save steps in their order.
#include "shell/KeyMapLoad.h"

#include <QAction>
#include <QToolBar>

#include "base/VornError.h"
#include "shell/CommandActions.h"
#include "shellcore/KeyMapFiles.h"

namespace vorn {

TKeyMapLoadResult LoadKeyMap(TCommandActions& actions, const std::string& userFolder, bool escCloses,
                             const TShareRetry& retry) {
  TKeyMapLoadResult result;
  try {
    LoadKeyFile(userFolder, ProcessKeyTable(), retry);
  } catch (const EFileOpenError& e) {
    result.Error = e.what();
  }
  std::vector<int> buttons;
  try {
    buttons = LoadToolBarFile(userFolder, retry);
  } catch (const EFileOpenError& e) {
    if (result.Error.empty()) result.Error = e.what();
    buttons = DefaultToolBar();
  }
  actions.BuildToolBar(buttons);
  if (actions.ToolBarEmpty()) {
    result.ToolBarEmpty = true;
    if (QAction* toggle = actions.ActionByName("ToolBarToggle")) toggle->setChecked(false);
    actions.ToolBar()->hide();
  }
  actions.InstallShortcuts(ProcessKeyTable(), escCloses);
  return result;
}

void SaveKeyMap(TCommandActions& actions, const std::string& userFolder, bool escCloses) {
  SaveKeyFile(userFolder, ProcessKeyTable());
  actions.InstallShortcuts(ProcessKeyTable(), escCloses);
}

}  // namespace vorn
