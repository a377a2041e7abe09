// TEditorProcess: the state the windows of one editor process share.
#include "shell/EditorProcess.h"

#include "platform/VornUtil.h"

#include <algorithm>

namespace vorn {

TEditorProcess::TEditorProcess() : commands_(document_, document_.Lines(), prompts_) {}

const TBusFolder& TEditorProcess::Bus() {
  const std::string& wanted = services_.busRuntimeFolder;
  if (!bus_ || busFor_ != wanted) {
    bus_ = std::make_unique<TBusFolder>(wanted.empty() ? TBusFolder::Default() : TBusFolder(wanted));
    busFor_ = wanted;
  }
  return *bus_;
}

std::string TEditorProcess::HistoryUserFolder() const {
  return services_.historyUserFolder.empty() ? UserFolder() : services_.historyUserFolder;
}

std::string TEditorProcess::GrepHandOffFolder() const {
  return services_.grepHandOffFolder.empty() ? UserFolder() : services_.grepHandOffFolder;
}

std::vector<TEditorWindow*> TEditorProcess::Windows() const {
  std::vector<TEditorWindow*> windows;
  if (mainWindow_) windows.push_back(mainWindow_);
  windows.insert(windows.end(), subWindows_.begin(), subWindows_.end());
  return windows;
}

bool TEditorProcess::ForgetSubWindow(TEditorWindow* window) {
  const auto it = std::find(subWindows_.begin(), subWindows_.end(), window);
  if (it == subWindows_.end()) return false;
  subWindows_.erase(it);
  return true;
}

}  // namespace vorn
