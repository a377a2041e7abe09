// TSettingsPart: the settings dialogs of the window — the file types, the common settings
// with the key map and tool bar, and the formatting options of the current pane — and what
// follows their OK: every window of this process applies the change, and every other editor
// is told over the bus to read the files again.
#pragma once

#include "shell/WindowPart.h"

namespace vorn {

class TEditorWindow;

class TSettingsPart : public TWindowPart {
public:
  explicit TSettingsPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;
  bool RunNamedCommand(const std::string& name) override;

private:
  void EditExtSet();
  void EditCommonSet();
  void QuickSeikeiSet();
  void ReloadKeyMaps();
  void TellOtherEditors(int message);

  TEditorWindow& window_;
};

}  // namespace vorn
