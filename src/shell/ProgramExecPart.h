// TProgramExecPart: running an outside program from the window, handed to the desktop or, in
// console mode, with the selection or the text as its input and its output put back.
#pragma once

#include "shell/WindowPart.h"

#include <string>

namespace vorn {

class TEditorWindow;
struct TProgramExecRequest;
struct TProgramExecState;

class TProgramExecPart : public TWindowPart {
public:
  explicit TProgramExecPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;
  // Runs as the dialog's OK would (tests drive it directly). False when nothing ran.
  bool Execute(const TProgramExecRequest& request);

private:
  void Command();
  bool FromMacro(TProgramExecRequest& request) const;
  bool Ask(const TProgramExecState& state, TProgramExecRequest& request);
  bool RunNormal(const TProgramExecRequest& request);
  bool RunConsole(const TProgramExecRequest& request);
  void PutOutput(const TProgramExecRequest& request, const std::string& bytes);
  void OpenInNewEditor(const std::string& bytes);

  TEditorWindow& window_;
};

}  // namespace vorn
