// TVornEditMain: the windows of one process. The main window owns the document, the sub windows
// and their list; every window shows the document in its own panes, and the pane focus moves
// through the panes of all of them.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "shell/MainBus.h"
#include "shell/PaneCopy.h"
#include "shell/Sub.h"
#include "shellcore/PaneLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QLayout>

#include <algorithm>
#include <utility>

namespace vorn {

const std::string& TVornEditMain::CloseAllWindowsQuestion() {
  static const std::string text = "このファイルを開いているすべてのVornEditorウィンドウを閉じます。よろしいですか";
  return text;
}

std::vector<TVornEditMain*> TVornEditMain::WindowList() const {
  const TVornEditMain& main = *MainWindow();
  std::vector<TVornEditMain*> windows{main.mainWindow_};
  windows.insert(windows.end(), main.subWindows_.begin(), main.subWindows_.end());
  return windows;
}

// Over a copy of the list: a visit may close a window.
void TVornEditMain::ForEachWindow(const std::function<void(TVornEditMain&)>& visit) const {
  for (TVornEditMain* w : WindowList()) visit(*w);
}

void TVornEditMain::ForEachPane(const std::function<void(TVornEdit&)>& visit) const {
  for (int slot = 0; slot < 2; ++slot)
    if (TVornEdit* pane = Pane(slot)) visit(*pane);
}

// The services a test or the program start installed on the main window serve its sub
// windows too: dialogs, the program starter, file types, history places and the bus.
void TVornEditMain::TakeServicesOf(const TVornEditMain& main) {
  TVornEditMain* m = main.mainWindow_;
  fileDialogs_.askSaveAs = [m] { return m->fileDialogs_.askSaveAs(); };
  fileDialogs_.askOpen = [m](bool reload) { return m->fileDialogs_.askOpen(reload); };
  fileDialogs_.askRename = [m] { return m->fileDialogs_.askRename(); };
  startProgram_ = main.startProgram_;
  startProcess_ = main.startProcess_;
  handOffEnabled_ = main.handOffEnabled_;
  fileTypeFor_ = main.fileTypeFor_;
  grepTypeFor_ = main.grepTypeFor_;
  askGrep_ = main.askGrep_;
  grepHandOffFolder_ = main.grepHandOffFolder_;
  historyUserFolder_ = main.historyUserFolder_;
  if (main.busFolder_) busFolder_ = std::make_unique<TBusFolder>(*main.busFolder_);
  common_ = main.common_;
  windowType_ = main.windowType_;
  plan_.noHistory = main.plan_.noHistory;
  monitorIndex_ = main.monitorIndex_;
  creationDone_ = true;
  appliedTypeName_ = main.appliedTypeName_;
  appliedTypeTabs_ = main.appliedTypeTabs_;
}

// Opened from any window, owned by the main one; it starts where the current pane is.
TVornEditSub* TVornEditMain::OpenSubWindow() {
  if (stationMode_) return nullptr;
  TVornEditMain& main = *MainWindow();
  auto* sub = new TVornEditSub(main);
  main.subWindows_.push_back(sub);
  if (main.bus_) {
    const std::string error = sub->OpenBus(main.bus_->Endpoint().Folder());
    if (!error.empty() && sub->status_)
      sub->status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(error));
  }
  if (!isMaximized()) {
    sub->resize(size());
    sub->SizeByColumnsAndRows(-2);
  }
  sub->ShowLikePane(*edit_, browseMode_);
  UpdateTitle();
  return sub;
}

// Shows the window with its pane as the given one: settings, read-only and browse state,
// first visible row and caret.
void TVornEditMain::ShowLikePane(const TVornEdit& from, bool browseMode) {
  CopyPaneSettings(from, *edit_);
  browseMode_ = browseMode;
  show();
  layout()->activate();  // the pane gets its size now, so the rows it shows are known
  const TVornEditCore& core = from.Core();
  ShowRows(*edit_, core.TopRow(), core.CaretRow(), core.CaretCol());
  edit_->setFocus();
  UpdateStatus();
  ScheduleUpdate();
}

bool TVornEditMain::ConfirmCloseAllWindows() {
  if (IsSubWindow() || !common_.QueryCloseAllMultiWindow || subWindows_.empty()) return true;
  return documentPrompts_.ConfirmOkCancel(CloseAllWindowsQuestion());
}

void TVornEditMain::CloseSubWindows() {
  const std::vector<TVornEditSub*> subs = subWindows_;
  for (TVornEditSub* sub : subs) sub->close();
}

// Also frees the sub windows already closed whose deferred deletion has not come yet.
void TVornEditMain::DeleteSubWindows() {
  deletingSubWindows_ = true;
  disconnect(qApp, nullptr, this, nullptr);
  if (QClipboard* clipboard = QGuiApplication::clipboard()) disconnect(clipboard, nullptr, this, nullptr);
  const QList<TVornEditSub*> subs = findChildren<TVornEditSub*>(Qt::FindDirectChildrenOnly);
  for (TVornEditSub* sub : subs) delete sub;
  subWindows_.clear();
}

void TVornEditMain::ForgetSubWindow(TVornEditSub* sub) {
  const auto it = std::find(subWindows_.begin(), subWindows_.end(), sub);
  if (it == subWindows_.end()) return;
  subWindows_.erase(it);
  if (!deletingSubWindows_) UpdateTitle();
}

// Window by window in list order, upper pane first; minimised windows are left out.
void TVornEditMain::TogglePaneFocus(bool backwards) {
  std::vector<std::pair<TVornEditMain*, TVornEdit*>> panes;
  for (TVornEditMain* w : WindowList()) {
    if (w->stationMode_ || w->isMinimized()) continue;
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

}  // namespace vorn
