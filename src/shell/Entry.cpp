// Program entry: the station gate, the main window, the command-line passes.
#include "shell/Entry.h"

#include "platform/VornUtil.h"
#include "platform/NamedLock.h"
#include "platform/cp932.h"
#include "regex/BregexpUtil.h"
#include "shellcore/CommandLine.h"
#include "settings/TypeList.h"
#include "editor/VornEdit.h"
#include "shell/FirstPaintQuit.h"
#include "shell/Main.h"
#include "platform/BusFolder.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace vorn {
namespace {

constexpr const char* kStationMutex = "hVORNEDITOR STATION";

void EnsureFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);  // a read-only place only costs the settings
}

void SetUpFonts() {
  // Stored settings name the Windows Japanese font; any installed CJK monospaced family serves.
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                             {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                              QStringLiteral("VL Gothic")});
}

}  // namespace

int RunVornEditor(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);

  // The gate runs before anything else exists: a second station ends without a trace.
  TNamedLock stationLock;
  if (TakesStationGate(args) && !stationLock.TryAcquire(kStationMutex)) return 0;

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VornEditor"));
  SetUpFonts();

  const bool station = IsStationModeCommand(args);
  if (IsDesktopStationCommand(args)) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty()) (void)::chdir(desktop.toStdString().c_str());
  }
  EnsureFolder(UserFolder());
  EnsureFolder(ProgramFolder() + "Macro");

  // Without the module every search answers "no match"; the editor says so once and runs on.
  const std::string regexpMessage = LoadRegexpBinding();

  TTypeList fileTypes({UserFolder(), ProgramFolder() + "Setting/"});
  fileTypes.Load();
  TVornEditMain window(station);
  window.SetFileTypeSource([&fileTypes](const std::string& name) { return &fileTypes.FindByFileName(name); });
  window.SetGrepTypeSource([&fileTypes] { return fileTypes.FindGrep(); });
  window.SetFileTypeReload([&fileTypes] { fileTypes.Load(); });
  if (!station) {
    // A missing or damaged type list leaves the built-in types working; telling it in the
    // status bar keeps it from blocking every start until the user repairs the folder.
    for (const std::string& message : fileTypes.TakeMessages())
      window.StatusPanels()->SetPanelText(TStatusPanels::spMessage,
                                          QString::fromStdString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    if (!regexpMessage.empty()) {
      const std::u16string text = Cp932ToUtf16(regexpMessage);
      QMessageBox::warning(nullptr, QStringLiteral("VornEditor"),
                           QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    }
    QuitAfterFirstPaintWhenAsked(window.Editor()->viewport());
    if (!window.ProcessCommandLine(args)) return 0;
    if (StartsMinimized(args))
      window.showMinimized();
    else if (window.Plan().maximized.value_or(false))
      window.showMaximized();
    else
      window.show();
  }
  // Without the bus the window still edits; only other processes cannot reach it.
  const std::string busError = window.OpenBus(TBusFolder::Default());
  if (!busError.empty() && !station)
    window.StatusPanels()->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(busError));
  const int code = app.exec();
  stationLock.Release();
  return code;
}

}  // namespace vorn
