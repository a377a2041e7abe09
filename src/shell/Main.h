// TVornEditMain: the main editor window of a process. It owns the process's state and its sub
// windows, runs the command line's passes that open the named documents into it, and asks the
// save question when it closes.
#pragma once

#include "shell/EditorWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace vorn {

class TVornEditMain : public TEditorWindow {
  Q_OBJECT
public:
  explicit TVornEditMain(QWidget* parent = nullptr);
  ~TVornEditMain() override;

  // Runs the three passes over the arguments; hands every named file but the first to a new
  // copy of the program. Returns false when the process should end without showing a window.
  bool ProcessCommandLine(const std::vector<std::string>& args);

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  // Opens one argument of pass 2; false when the start ends here: the user cancelled it, or
  // another editor shows the file and took the requests.
  bool OpenNamedArgument(const std::string& argument);
  bool HandedToWindowShowing(const std::string& name);
  void ApplyPass3();
  void HandOff();
  bool ConfirmCloseAllWindows();
  void CloseSubWindows();
  void DeleteSubWindows();

  std::unique_ptr<TDocumentPrompts> promptBoxes_;
};

}  // namespace vorn
