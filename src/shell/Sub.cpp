// TVornEditSub: a further window over the process's document.
#include "shell/Sub.h"

#include <QCloseEvent>

namespace vorn {

// Its own panes, key map, menus and status bar over the main window's document; the questions,
// dialogs and services are the process's, so a test's replacements reach it too.
TVornEditSub::TVornEditSub(TEditorWindow& mainWindow) : TEditorWindow(mainWindow.Process(), &mainWindow, Qt::Window) {
  setObjectName(QStringLiteral("TVornEditSub"));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildWindow();
  ShowBars(CommonOptions().ToolBar, CommonOptions().StatusBar);
}

TVornEditSub::~TVornEditSub() { Forget(); }

// The document stays open in the main window, so there is nothing to ask and nothing to save.
void TVornEditSub::closeEvent(QCloseEvent* event) {
  event->accept();
  Forget();
}

void TVornEditSub::Forget() {
  if (Process().ForgetSubWindow(this) && !Process().ClosingWindows()) UpdateTitle();
}

}  // namespace vorn
