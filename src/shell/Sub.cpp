// TVornEditSub: a further window over the process's document.
#include "shell/Sub.h"

#include <QCloseEvent>

namespace vorn {

TVornEditSub::TVornEditSub(TVornEditMain& mainWindow) : TVornEditMain(mainWindow) {}

TVornEditSub::~TVornEditSub() { MainWindow()->ForgetSubWindow(this); }

// The document stays open in the main window, so there is nothing to ask and nothing to save.
void TVornEditSub::closeEvent(QCloseEvent* event) {
  event->accept();
  MainWindow()->ForgetSubWindow(this);
}

}  // namespace vorn
