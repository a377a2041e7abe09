// TEditorWindow: the windows of one process. The main window owns the process and the sub
// windows; every window shows the document in its own panes, and the pane focus moves through
// the panes of all of them.
#include "shell/EditorWindow.h"

#include "editor/VornEdit.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"
#include "shell/MainBus.h"
#include "shell/PaneCopy.h"
#include "shell/Sub.h"
#include "shellcore/PaneLayout.h"

#include <QLayout>

#include <algorithm>
#include <utility>

namespace vorn {

const std::string& TEditorWindow::CloseAllWindowsQuestion() {
  static const std::string text = "このファイルを開いているすべてのVornEditorウィンドウを閉じます。よろしいですか";
  return text;
}

void TEditorWindow::ForEachWindow(const std::function<void(TEditorWindow&)>& visit) const {
  for (TEditorWindow* w : WindowList()) visit(*w);
}

void TEditorWindow::ForEachPane(const std::function<void(TVornEdit&)>& visit) const {
  for (int slot = 0; slot < 2; ++slot)
    if (TVornEdit* pane = Pane(slot)) visit(*pane);
}

// Opened from any window, owned by the main one; it starts where the current pane is.
TVornEditSub* TEditorWindow::OpenSubWindow() {
  TEditorWindow& main = *MainWindow();
  auto* sub = new TVornEditSub(main);
  process_.AddSubWindow(sub);
  if (main.bus_) sub->ShowMessage(sub->OpenBus(main.bus_->Endpoint().Folder()));
  if (!isMaximized()) {
    sub->resize(size());
    sub->SizeByColumnsAndRows(-2);
  }
  sub->ShowLikePane(*edit_);
  UpdateTitle();
  return sub;
}

// Shows the window with its pane as the given one: settings, read-only and browse state,
// first visible row and caret.
void TEditorWindow::ShowLikePane(const TVornEdit& from) {
  CopyPaneSettings(from, *edit_);
  show();
  layout()->activate();  // the pane gets its size now, so the rows it shows are known
  const TVornEditCore& core = from.Core();
  ShowRows(*edit_, core.TopRow(), core.CaretRow(), core.CaretCol());
  edit_->setFocus();
  UpdateStatus();
  ScheduleUpdate();
}

// Window by window in list order, upper pane first; minimised windows are left out.
void TEditorWindow::TogglePaneFocus(bool backwards) {
  std::vector<std::pair<TEditorWindow*, TVornEdit*>> panes;
  for (TEditorWindow* w : WindowList()) {
    if (w->isMinimized()) continue;
    w->ForEachPane([&panes, w](TVornEdit& pane) { panes.emplace_back(w, &pane); });
  }
  const auto here = std::find(panes.begin(), panes.end(), std::make_pair(this, edit_));
  const int current = here == panes.end() ? -1 : static_cast<int>(here - panes.begin());
  const int next = NextPaneIndex(static_cast<int>(panes.size()), current, backwards);
  if (next < 0) return;
  auto [window, pane] = panes[static_cast<std::size_t>(next)];
  if (window != this) {
    window->raise();
    window->activateWindow();
  }
  window->MakePaneCurrent(pane);
}

pid_t TEditorWindow::StartOtherCopy(const std::string& params, const std::string& workingFolder) {
  const TWindowServices& services = Services();
  if (services.startProcess) return services.startProcess(params, workingFolder);
  if (services.startProgram) {
    services.startProgram(params);
    return 0;
  }
  std::string error;
  pid_t pid = 0;
  if (!StartProgram(CurrentExecutablePath(), params, &error, &pid, TChildReaping::crThread, workingFolder)) {
    Prompts().Error("VornEditor: " + error);
    return 0;
  }
  return pid;
}

}  // namespace vorn
