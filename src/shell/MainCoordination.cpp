// TVornEditMain: the commands over every editor (save all, save all and exit, exit all), the
// arrangement of all editor windows, the next and previous editor, and the window menu's list
// of the other editors' documents and this process's windows.
#include "shell/Main.h"

#include "qtplatform/FontTextMeasure.h"
#include "shell/CommandActions.h"
#include "shell/MainBus.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/InstanceCoordination.h"
#include "shellcore/MenuTree.h"
#include "shellcore/WindowArrangement.h"
#include "shellcore/WindowMenuList.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <string_view>

namespace vorn {
namespace {

constexpr const char* kArrangementUnavailable = "この環境ではウィンドウを並べられません";


// A window of this process on the bus; nullptr for other processes' windows.
TVornEditMain* OwnWindowOnBus(std::int64_t id) {
  if (id == 0) return nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<TVornEditMain*>(w); window && window->BusId() == id) return window;
  return nullptr;
}

TWindowRect RectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

void TVornEditMain::AddCoordinationCommands() {
  const auto add = [this](std::string_view name, std::function<void()> run) {
    dispatcher_.Set(FunctionNumber(name), [run = std::move(run)](bool) { run(); });
  };
  add("AllSave", [this] { SaveAll(false); });
  add("AllSaveOnlyModified", [this] { SaveAll(true); });
  add("AllSaveClose", [this] { SaveCloseAll(); });
  add("AllClose", [this] { CloseAll(); });
  add("VerticalLineup", [this] { TileAll(static_cast<int>(TTiling::tlVertical)); });
  add("HorizotalLineup", [this] { TileAll(static_cast<int>(TTiling::tlHorizontal)); });
  add("LineupOrder", [this] { TileAll(static_cast<int>(TTiling::tlOrder)); });
  add("Pile", [this] { CascadeAll(); });
  add("AllMinimize", [this] { MinimizeAll(); });
  add("NextEditor", [this] { ActivateNeighbour(true); });
  add("PrevEditor", [this] { ActivateNeighbour(false); });
}

// The bus the window is registered on; before that the user's, so the commands still reach
// the other editors.
const TBusFolder& TVornEditMain::CoordinationBus() { return bus_ ? bus_->Endpoint().Folder() : Bus(); }

// A sub window speaks for its process's main window.
std::int64_t TVornEditMain::ProcessMainBusId() {
  const std::vector<TBusPeer> all = CoordinationBus().List();
  const auto self = std::find_if(all.begin(), all.end(), [id = BusId()](const TBusPeer& p) { return p.id == id; });
  if (self == all.end() || self->IsMainWindow()) return BusId();
  for (const TBusPeer& p : all)
    if (p.pid == self->pid && p.IsMainWindow() && !p.IsStation() && OwnWindowOnBus(p.id)) return p.id;
  return BusId();
}

// Each other editor is brought forward and saves, one after another, before this one saves.
void TVornEditMain::SaveAll(bool onlyModified) {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmSave, onlyModified ? 1 : 0);
  b.ownMain = ProcessMainBusId();
  b.activateAfter = true;
  BroadcastSend(CoordinationBus(), b);
  if (!onlyModified || Modified()) dispatcher_.Run(FunctionNumber("SaveFile"), false);
}

void TVornEditMain::SaveCloseAll() {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmSaveClose);
  b.ownMain = ProcessMainBusId();
  b.focusFirst = true;
  BroadcastPost(CoordinationBus(), b);
  dispatcher_.Run(FunctionNumber("SaveClose"), false);
}

void TVornEditMain::CloseAll() {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmClose);
  b.ownMain = ProcessMainBusId();
  b.focusFirst = true;
  b.alsoToStation = common_.CloseAtAllClose;
  BroadcastPost(CoordinationBus(), b);
  if (!stationMode_ || common_.CloseAtAllClose) close();
}

// Own windows are asked directly (a send to oneself would wait for an answer only this
// thread can give); other processes' windows answer over the bus, all under one deadline.
std::vector<TVornEditMain::TArrangedWindow> TVornEditMain::ArrangedWindows(bool skipMinimized, bool mainsOnly,
                                                                           bool leaveMaximized) {
  std::vector<TArrangedWindow> windows;
  std::vector<std::int64_t> foreign;
  for (const TBusPeer& p : AllEditorWindows(CoordinationBus().List())) {
    TVornEditMain* own = OwnWindowOnBus(p.id);
    if (own && ((skipMinimized && own->isMinimized()) || (mainsOnly && !p.IsMainWindow()))) continue;
    windows.push_back({p.id, own});
    if (!own) foreign.push_back(p.id);
  }
  if (!bus_ && !stationMode_) windows.push_back({0, this});  // off the bus only this window is known
  const TBusFolder& bus = CoordinationBus();
  auto dropForeign = [&](TBusMessage message, bool dropWhenZero) {
    const std::vector<TBusReply> replies = SendBusMessageToAll(bus, foreign, MakeBusRequest(message));
    std::vector<std::int64_t> kept;
    for (std::size_t i = 0; i < foreign.size(); ++i) {
      const bool zero = replies[i].status != TBusStatus::bsHandled || replies[i].result == 0;
      if (zero != dropWhenZero) kept.push_back(foreign[i]);
      else std::erase_if(windows, [id = foreign[i]](const TArrangedWindow& w) { return w.id == id; });
    }
    foreign = std::move(kept);
  };
  if (skipMinimized && !foreign.empty()) dropForeign(TBusMessage::bmQueryMinimized, false);
  if (mainsOnly && !foreign.empty()) dropForeign(TBusMessage::bmQueryMain, true);
  if (leaveMaximized) {
    for (const TArrangedWindow& w : windows)
      if (w.own && w.own->isMaximized()) w.own->showNormal();
    if (!foreign.empty()) SendBusMessageToAll(bus, foreign, MakeBusRequest(TBusMessage::bmQueryMinimized, 1));
  }
  return windows;
}

// Window managers of Wayland place windows themselves; a client cannot.
bool TVornEditMain::ArrangementUnavailable() {
  if (QGuiApplication::platformName() != QStringLiteral("wayland")) return false;
  if (status_) status_->SetPanelText(TStatusPanels::spMessage, QString::fromUtf8(kArrangementUnavailable));
  return true;
}

void TVornEditMain::BringArrangedToTop(const TArrangedWindow& w) {
  if (w.own) {
    w.own->raise();
    w.own->activateWindow();
  } else {
    PostBusMessage(CoordinationBus(), w.id, MakeBusRequest(TBusMessage::bmTop));
  }
}

void TVornEditMain::PlaceFrame(int x, int y, int width, int height) {
  const QRect frame = frameGeometry(), inner = geometry();
  TWindowRect r{x, y, width, height};
  if (width <= 0 || height <= 0) {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    r = ClipToArea({x, y, frame.width(), frame.height()}, s ? RectOf(s->availableGeometry()) : r);
  }
  const int extraWidth = frame.width() - inner.width(), extraHeight = frame.height() - inner.height();
  setGeometry(r.x + inner.x() - frame.x(), r.y + inner.y() - frame.y(), std::max(1, r.width - extraWidth),
              std::max(1, r.height - extraHeight));
}

void TVornEditMain::TileAll(int tiling) {
  if (ArrangementUnavailable()) return;
  const std::vector<TArrangedWindow> windows = ArrangedWindows(true, false, true);
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect available = s->availableGeometry();
  // A maximised window's frame hangs over the screen's edges, so the cells fill the work area.
  const int frameWidth = std::max(0, (frameGeometry().width() - geometry().width()) / 2);
  const int frameHeight = std::max(0, frameGeometry().bottom() - geometry().bottom());
  const TTilingMetrics metrics{available.width() + 2 * frameWidth, available.height() + 2 * frameHeight,
                               frameWidth, frameHeight, available.x(), available.y()};
  const std::vector<TWindowRect> cells =
      TileWindows(static_cast<TTiling>(tiling), static_cast<int>(windows.size()), metrics);
  for (std::size_t i = 0; i < windows.size(); ++i) PlaceArranged(windows[i], cells[i]);
  if (!stationMode_) BringArrangedToTop({BusId(), this});
}

// Own windows move at once; another process's window is asked to move itself.
void TVornEditMain::PlaceArranged(const TArrangedWindow& window, const TWindowRect& r) {
  if (window.own)
    window.own->PlaceFrame(r.x, r.y, r.width, r.height);
  else
    PostBusMessage(CoordinationBus(), window.id,
                   MakeBusRequest(TBusMessage::bmMove, PackBusPair(r.x, r.y), PackBusPair(r.width, r.height)));
  BringArrangedToTop(window);
}

// Other processes' sizes are not known here: their owners keep them and cut them to the area.
void TVornEditMain::CascadeAll() {
  if (ArrangementUnavailable()) return;
  const std::vector<TArrangedWindow> windows = ArrangedWindows(true, false, true);
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  std::vector<TWindowRect> sizes;
  for (const TArrangedWindow& w : windows) sizes.push_back(w.own ? RectOf(w.own->frameGeometry()) : TWindowRect{});
  int caption = geometry().y() - frameGeometry().y();
  if (caption <= 0) caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const std::vector<TWindowRect> placed = CascadeWindows(sizes, RectOf(s->availableGeometry()), caption);
  for (std::size_t k = windows.size(); k-- > 0;) PlaceArranged(windows[k], placed[k]);
}

void TVornEditMain::MinimizeAll() {
  const std::int64_t ownMain = ProcessMainBusId();
  for (const TBusPeer& p : OtherMainEditors(CoordinationBus().List(), ownMain))
    if (!OwnWindowOnBus(p.id)) PostBusMessage(CoordinationBus(), p.id, MakeBusRequest(TBusMessage::bmMinimize));
  if (stationMode_) return;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<TVornEditMain*>(w); window && !window->StationMode() && window->isVisible())
      window->showMinimized();
}

void TVornEditMain::ActivateNeighbour(bool next) {
  std::vector<std::int64_t> ids;
  std::vector<TArrangedWindow> windows = ArrangedWindows(true, true, false);
  for (const TArrangedWindow& w : windows) ids.push_back(w.id);
  const std::int64_t target = NeighbourEditor(ids, ProcessMainBusId(), next);
  for (const TArrangedWindow& w : windows)
    if (w.id == target) BringArrangedToTop(w);
}

// ---- The window menu's list. ----

void TVornEditMain::InstallWindowMenuList() {
  if (QMenu* menu = actions_->RunTimeListMenu(kWindowList))
    connect(menu, &QMenu::aboutToShow, this, &TVornEditMain::FillWindowMenuList);
}

void TVornEditMain::FillWindowMenuList() {
  QMenu* menu = actions_->RunTimeListMenu(kWindowList);
  QAction* anchor = actions_->RunTimeListAnchor(kWindowList);
  if (!menu || !anchor) return;
  const QList<QAction*> all = menu->actions();
  for (qsizetype i = all.indexOf(anchor) + 1; i < all.size(); ++i) {
    menu->removeAction(all[i]);
    all[i]->deleteLater();
  }
  const TBusFolder& bus = CoordinationBus();
  std::vector<TOwnWindow> own;
  for (const TBusPeer& p : AllEditorWindows(bus.List()))
    if (OwnWindowOnBus(p.id)) own.push_back({p.id, p.IsMainWindow()});
  const std::vector<TWindowMenuEntry> entries = WindowMenuEntries(
      OpenFileList(bus, ProcessMainBusId()), own, BusId(), TFontTextMeasure(menu->font()));
  // The anchor is the list's first separator; it shows only when documents follow it.
  anchor->setVisible(!entries.empty());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TWindowMenuEntry& e = entries[i];
    if (e.separator) {
      if (i > 0) menu->addSeparator();
      continue;
    }
    QAction* item = menu->addAction(QString::fromStdString(e.caption));
    connect(item, &QAction::triggered, this, [this, id = e.window] {
      if (TVornEditMain* window = OwnWindowOnBus(id)) {
        window->raise();
        window->activateWindow();
        return;
      }
      std::string message;
      if (!ActivateWindow(CoordinationBus(), id, message) && status_)
        status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
    });
  }
}

}  // namespace vorn
