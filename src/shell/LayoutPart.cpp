// TLayoutPart: the pane and window layout commands and the bar switches.
#include "shell/LayoutPart.h"

#include "platform/VornUtil.h"
#include "settings/CommonIniUpdate.h"
#include "shell/CommandActions.h"
#include "shell/EditorWindow.h"
#include "shellcore/FunctionTable.h"

#include <QAction>

#include <exception>
#include <functional>
#include <string_view>

namespace vorn {

void TLayoutPart::AddCommands(TCommandDispatcher& dispatcher) {
  TEditorWindow& w = window_;
  const auto add = [&dispatcher](std::string_view name, std::function<void(bool shift)> run) {
    dispatcher.Set(FunctionNumber(name), std::move(run));
  };
  add("DivideWindow", [&w](bool) {
    if (w.Split())
      w.UnsplitPanes();
    else
      w.SplitPanes();
  });
  add("ToggleWindowFocus", [&w](bool shift) { w.TogglePaneFocus(shift); });
  add("NewWindow", [&w](bool) { w.OpenSubWindow(); });
  add("SplitterUp", [&w](bool) { w.MoveSplitter(true); });
  add("SplitterDown", [&w](bool) { w.MoveSplitter(false); });
  add("MaximizeVertical", [&w](bool) { w.ToggleVerticalMaximize(); });
}

// The action has flipped its own check mark by the time the command runs; the bars follow the
// marks, and both marks are stored so the next window starts the same way.
bool TLayoutPart::RunNamedCommand(const std::string& name) {
  if (name != "ToolBarToggle" && name != "StatusBarToggle") return false;
  TCommandActions& actions = *window_.Actions();
  window_.ShowBars(actions.ActionByName("ToolBarToggle")->isChecked(),
                   actions.ActionByName("StatusBarToggle")->isChecked());
  WriteBarStates();
  return true;
}

void TLayoutPart::WriteBarStates() {
  TCommandActions& actions = *window_.Actions();
  const bool toolBar = actions.ActionByName("ToolBarToggle")->isChecked();
  const bool statusBar = actions.ActionByName("StatusBarToggle")->isChecked();
  try {
    UpdateSharedIni(UserFolder() + "Common.ini", [toolBar, statusBar](TCustomIniFile& ini) {
      ini.WriteBool("Standard", "ToolBar", toolBar);
      ini.WriteBool("Standard", "StatusBar", statusBar);
    });
  } catch (const std::exception& e) {
    window_.Services().prompts.warn(QString::fromStdString(e.what()));
  }
}

}  // namespace vorn
