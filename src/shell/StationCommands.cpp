// TStationCommands: grep, open, the arrangements and exit all, run from the station.
#include "shell/StationCommands.h"

#include "dialogs/DocumentFileDialog.h"
#include "dialogs/GrepForm.h"
#include "platform/BusClient.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"
#include "platform/PathPolicy.h"
#include "syntax/KeyWord.h"
#include "settings/CommonIniUpdate.h"
#include "settings/VornMemInifile.h"
#include "shell/Station.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/FolderHistory.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/GrepDialogState.h"
#include "shellcore/GrepHandOff.h"
#include "shellcore/InstanceCoordination.h"
#include "shellcore/StationMenu.h"
#include "shellcore/WindowArrangement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <memory>

namespace vorn {
namespace {

constexpr int kHandOffWaitMs = 15000;  // the new process's start and its window's registration

QScreen* ScreenAt(const QPoint& at) {
  QScreen* s = QGuiApplication::screenAt(at);
  return s ? s : QGuiApplication::primaryScreen();
}

TWindowRect RectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

void MoveTo(QWidget& dialog, const QPoint& at) {
  QRect r(at, dialog.frameGeometry().size());
  if (const QScreen* s = ScreenAt(at)) {
    const QRect area = s->availableGeometry();
    r.moveRight(std::min(r.right(), area.right()));
    r.moveBottom(std::min(r.bottom(), area.bottom()));
    r.moveLeft(std::max(r.left(), area.left()));
    r.moveTop(std::max(r.top(), area.top()));
  }
  dialog.move(r.topLeft());
}

// A dialog placed with its corner at the mouse, kept on the screen; once it is shown, since a
// dialog places itself (centred on its owner) when it shows.
void PlaceAt(QWidget& dialog, const QPoint& at) {
  QTimer::singleShot(0, &dialog, [&dialog, at] { MoveTo(dialog, at); });
}

int MonitorAt(const QPoint& at) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  const int index = static_cast<int>(screens.indexOf(ScreenAt(at)));
  return index < 0 ? 0 : index;
}

}  // namespace

TStationCommands::TStationCommands(TVornEditStation& station) : QObject(&station), station_(station) {}

bool TStationCommands::Run(int function, const QPoint& at) {
  const std::string_view name = FunctionByNumber(function) ? FunctionByNumber(function)->Name : std::string_view();
  if (name == "Grep") Grep(at);
  else if (name == "VerticalLineup") Tile(static_cast<int>(TTiling::tlVertical));
  else if (name == "HorizotalLineup") Tile(static_cast<int>(TTiling::tlHorizontal));
  else if (name == "LineupOrder") Tile(static_cast<int>(TTiling::tlOrder));
  else if (name == "Pile") Cascade();
  else if (name == "AllMinimize") MinimizeAll();
  else if (name == "AllClose") CloseAll();
  else return false;
  return true;
}

// The folder list and the dialog's size are kept as the windows keep them: the size however the
// dialog closed, the chosen file's folder on top.
void TStationCommands::Open(const QPoint& at) {
  const std::string ini = station_.HistoryFolderPath() + "Common.ini";
  const int limit = station_.Settings().FolderHistoryCount;
  TFileDialogMemory memory;
  try {
    const TVornMemInifile common(ini);
    ReadFileDialogSize(common, memory);
    if (limit > 0) memory.folders = ReadFolderHistory(common, limit);
  } catch (const std::exception& e) {
    station_.Tell(e.what());
  }
  TDocumentFileDialog dialog(TDocumentFileDialog::TKind::Open, QString(), false);
  dialog.SetMemory(memory);
  PlaceAt(dialog, at);
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.ChosenName().isEmpty();
  const std::string name = chosen ? dialog.ChosenName().toStdString() : std::string();
  memory = dialog.Memory();
  try {
    UpdateSharedIni(ini, [&](TCustomIniFile& common) {
      WriteFileDialogSize(common, memory);
      if (!name.empty() && limit > 0)
        WriteFolderHistory(common, AddToFolderHistory(memory.folders, ExtractFilePath(CanonicalFileName(name)), limit));
    });
  } catch (const std::exception& e) {
    station_.Tell(e.what());
  }
  if (!name.empty()) station_.StartEditor(StationOpenParams(dialog.ChosenCode(), name));
}

// The station holds no document, so every run goes to a new editor window.
void TStationCommands::Grep(const QPoint& at) {
  TGrepForm form(UserFolder() + kGrepIniFileName, std::string());
  PlaceAt(form, at);
  if (form.exec() != QDialog::Accepted) return;
  TGrepKeyWord run;
  run.Assign(form.Condition());
  run.RunAtOnce = true;
  const std::string error = WriteGrepHandOff(station_.HistoryFolderPath(), run);
  if (!error.empty()) {
    station_.Tell(error);
    return;
  }
  std::vector<std::int64_t> known;
  for (const TBusPeer& p : station_.Bus().List())
    if (p.IsMainWindow()) known.push_back(p.id);
  const pid_t pid = station_.StartEditorProcess("-x" + std::to_string(MonitorAt(at)));
  PostToNewWindow(pid, std::move(known), static_cast<int>(TBusMessage::bmGrepExecute));
}

void TStationCommands::PostToNewWindow(pid_t pid, std::vector<std::int64_t> known, int message) {
  if (pid <= 0) return;
  auto* poll = new QTimer(this);
  auto waited = std::make_shared<QElapsedTimer>();
  waited->start();
  connect(poll, &QTimer::timeout, this, [this, poll, waited, pid, known = std::move(known), message] {
    const TBusFolder& bus = station_.Bus();
    if (const std::int64_t id = HandOffWindow(bus.List(), pid, station_.BusId(), known)) {
      PostBusMessage(bus, id, MakeBusRequest(TBusMessage::bmTop));
      PostBusMessage(bus, id, MakeBusRequest(static_cast<TBusMessage>(message)));
      poll->deleteLater();
    } else if (waited->elapsed() > kHandOffWaitMs || !ProcessRunning(pid)) {
      poll->deleteLater();
    }
  });
  poll->start(50);
}

// Every editor window, minimised ones left where they are and maximised ones made normal.
std::vector<std::int64_t> TStationCommands::ArrangedWindows() {
  const TBusFolder& bus = station_.Bus();
  std::vector<std::int64_t> ids;
  for (const TBusPeer& p : AllEditorWindows(bus.List())) ids.push_back(p.id);
  const std::vector<TBusReply> minimized = SendBusMessageToAll(bus, ids, MakeBusRequest(TBusMessage::bmQueryMinimized));
  std::vector<std::int64_t> shown;
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (minimized[i].status == TBusStatus::bsHandled && minimized[i].result == 0) shown.push_back(ids[i]);
  SendBusMessageToAll(bus, shown, MakeBusRequest(TBusMessage::bmQueryMinimized, 1));
  return shown;
}

// The station has no frame to measure; each window places its own frame in its cell.
void TStationCommands::Tile(int tiling) {
  const std::vector<std::int64_t> windows = ArrangedWindows();
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s || windows.empty()) return;
  const QRect area = s->availableGeometry();
  const TTilingMetrics metrics{area.width(), area.height(), 0, 0, area.x(), area.y()};
  const std::vector<TWindowRect> cells = TileWindows(static_cast<TTiling>(tiling), static_cast<int>(windows.size()), metrics);
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const TWindowRect& r = cells[i];
    PostBusMessage(station_.Bus(), windows[i],
                   MakeBusRequest(TBusMessage::bmMove, PackBusPair(r.x, r.y), PackBusPair(r.width, r.height)));
    PostBusMessage(station_.Bus(), windows[i], MakeBusRequest(TBusMessage::bmTop));
  }
}

void TStationCommands::Cascade() {
  const std::vector<std::int64_t> windows = ArrangedWindows();
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s || windows.empty()) return;
  const int caption = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const std::vector<TWindowRect> placed =
      CascadeWindows(std::vector<TWindowRect>(windows.size()), RectOf(s->availableGeometry()), caption);
  for (std::size_t k = windows.size(); k-- > 0;) {
    const TWindowRect& r = placed[k];
    PostBusMessage(station_.Bus(), windows[k],
                   MakeBusRequest(TBusMessage::bmMove, PackBusPair(r.x, r.y), PackBusPair(r.width, r.height)));
    PostBusMessage(station_.Bus(), windows[k], MakeBusRequest(TBusMessage::bmTop));
  }
}

void TStationCommands::MinimizeAll() {
  const TBusFolder& bus = station_.Bus();
  for (const TBusPeer& p : OtherMainEditors(bus.List(), station_.BusId()))
    PostBusMessage(bus, p.id, MakeBusRequest(TBusMessage::bmMinimize));
}

// The station ends with the editors only when the settings say so.
void TStationCommands::CloseAll() {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmClose);
  b.ownMain = station_.BusId();
  b.focusFirst = true;
  BroadcastPost(station_.Bus(), b);
  if (TStationState::EndsOnExitAll(station_.Settings())) station_.End();
}

}  // namespace vorn
