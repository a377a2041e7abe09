// Program entry: the station gate, the main window, the command-line passes.
#include "shell/Entry.h"

#include "platform/BusFolder.h"
#include "platform/NamedLock.h"
#include "shellcore/CommandLine.h"
#include "qtplatform/ThemeIcons.h"
#include "shell/EditorStart.h"
#include "shell/StatusPanels.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

#include <exception>
#include <new>

namespace vorn {
namespace {

constexpr const char* kStationMutex = "hVORNEDITOR STATION";

QString UncaughtText(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) return QStringLiteral("メモリが不足しています");
  return QString::fromUtf8(e.what());
}

// An exception that leaves an event handler would end the process with the document unsaved;
// here it ends the one event instead, and the user is told what failed. Commands catch what
// they expect themselves; this is for what nobody expected.
class TVornApplication : public QApplication {
public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      // Shown once the failed event has unwound, not from inside it.
      QTimer::singleShot(0, this, [text = UncaughtText(e)] {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("VornEditor"), text);
      });
      return false;
    }
  }
};

void SetUpFonts() {
  // Stored settings name the Windows Japanese font; any installed CJK monospaced family serves.
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                             {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                              QStringLiteral("VL Gothic")});
}

int RunStarted(const std::vector<std::string>& args) {
  const bool station = IsStationModeCommand(args);
  if (IsDesktopStationCommand(args)) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty()) (void)::chdir(desktop.toStdString().c_str());
  }
  TEditorStart start(args, station);
  if (!start.Open()) return 0;
  if (TVornEditStation* resident = start.Station()) {
    // Without the bus the station has nobody to serve; it ends rather than hold the gate.
    if (!resident->OpenBus(TBusFolder::Default()).empty()) return 1;
    resident->ShowInTray();
    return QApplication::exec();
  }
  TVornEditMain& window = *start.Window();
  if (StartsMinimized(args))
    window.showMinimized();
  else if (window.Plan().maximized.value_or(false))
    window.showMaximized();
  else
    window.show();
  // Without the bus the window still edits; only other processes cannot reach it.
  window.ShowMessage(window.OpenBus(TBusFolder::Default()));
  return QApplication::exec();
}

}  // namespace

int RunVornEditor(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);

  // The gate runs before anything else exists: a second station ends without a trace.
  TNamedLock stationLock;
  if (TakesStationGate(args) && !stationLock.TryAcquire(kStationMutex)) return 0;

  TVornApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VornEditor"));
  // The desktop entry the session matches the windows with, and the icon it shows for them.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.vorneditor.VornEditor"));
  QApplication::setWindowIcon(NamedIcon("org.vorneditor.VornEditor"));
  SetUpFonts();
  int code = 1;
  try {
    code = RunStarted(args);
  } catch (const std::exception& e) {
    // Whatever the start did not foresee still reaches the user as a message, not an abort.
    QMessageBox::critical(nullptr, QStringLiteral("VornEditor"), UncaughtText(e));
  }
  stationLock.Release();
  return code;
}

}  // namespace vorn
