// The start of a VornEditor process once its application object exists: the user folder, the
// regular-expression module, the file types and the main window on the command line.
#pragma once

#include "settings/TypeList.h"
#include "shell/Main.h"
#include "shell/Station.h"

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace vorn {

class TEditorStart {
public:
  TEditorStart(std::vector<std::string> args, bool station);
  TEditorStart(const TEditorStart&) = delete;
  TEditorStart& operator=(const TEditorStart&) = delete;

  // Builds the window and runs the command line, or in station mode the station. False when
  // the start ends there: a question was cancelled or another window shows the file. What
  // went wrong on the way is told in the status bar; nothing here ends the process.
  bool Open();
  // The editor window; nullptr in station mode.
  TVornEditMain* Window() { return window_.get(); }
  // The station; nullptr in editor mode.
  TVornEditStation* Station() { return station_.get(); }

private:
  void MakeFolders();
  void LoadFileTypes();
  void ShowNotices();

  std::vector<std::string> args_;
  bool stationMode_;
  // Declared before the window, whose file-type sources refer to it.
  std::unique_ptr<TTypeList> fileTypes_;
  std::unique_ptr<TVornEditMain> window_;
  std::unique_ptr<TVornEditStation> station_;
  QStringList notices_;
};

}  // namespace vorn
