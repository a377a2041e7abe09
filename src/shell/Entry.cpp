// Program entry: the station gate, the main window, the command-line passes.
#include "shell/Entry.h"

#include <QApplication>
#include <QMainWindow>

namespace vorn {

int RunVornEditor(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("無題 - VornEditor");
  window.show();
  return app.exec();
}

}  // namespace vorn
