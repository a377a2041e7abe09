// TCoordinationPart: the commands over every editor, the arrangement of the editor windows and
// the window menu's list.
#include "shell/CoordinationPart.h"

#include "shell/EditorWindow.h"

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
TEditorWindow* OwnWindowOnBus(std::int64_t id) {
  if (id == 0) return nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<TEditorWindow*>(w); window && window->BusId() == id) return window;
  return nullptr;
}

TWindowRect RectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

void TCoordinationPart::AddCommands(TCommandDispatcher& dispatcher) {
  const auto add = [&dispatcher](std::string_view name, std::function<void()> run) {
    dispatcher.Set(FunctionNumber(name), [run = std::move(run)](bool) { run(); });
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

// A sub window speaks for its process's main window.
std::int64_t TCoordinationPart::ProcessMainBusId() {
  const std::vector<TBusPeer> all = window_.CoordinationBus().List();
  const std::int64_t own = window_.BusId();
  const auto self = std::find_if(all.begin(), all.end(), [own](const TBusPeer& p) { return p.id == own; });
  if (self == all.end() || self->IsMainWindow()) return own;
  for (const TBusPeer& p : all)
    if (p.pid == self->pid && p.IsMainWindow() && !p.IsStation() && OwnWindowOnBus(p.id)) return p.id;
  return own;
}

// Each other editor is brought forward and saves, one after another, before this one saves.
void TCoordinationPart::SaveAll(bool onlyModified) {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmSave, onlyModified ? 1 : 0);
  b.ownMain = ProcessMainBusId();
  b.activateAfter = true;
  BroadcastSend(window_.CoordinationBus(), b);
  if (!onlyModified || window_.Modified()) window_.RunFunction(FunctionNumber("SaveFile"), false);
}

void TCoordinationPart::SaveCloseAll() {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmSaveClose);
  b.ownMain = ProcessMainBusId();
  b.focusFirst = true;
  BroadcastPost(window_.CoordinationBus(), b);
  window_.RunFunction(FunctionNumber("SaveClose"), false);
}

void TCoordinationPart::CloseAll() {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmClose);
  b.ownMain = ProcessMainBusId();
  b.focusFirst = true;
  b.alsoToStation = window_.CommonOptions().CloseAtAllClose;
  BroadcastPost(window_.CoordinationBus(), b);
  window_.close();
}

// Own windows are asked directly (a send to oneself would wait for an answer only this
// thread can give); other processes' windows answer over the bus, all under one deadline.
std::vector<TCoordinationPart::TArrangedWindow> TCoordinationPart::ArrangedWindows(bool skipMinimized, bool mainsOnly,
                                                                           bool leaveMaximized) {
  std::vector<TArrangedWindow> windows;
  std::vector<std::int64_t> foreign;
  for (const TBusPeer& p : AllEditorWindows(window_.CoordinationBus().List())) {
    TEditorWindow* own = OwnWindowOnBus(p.id);
    if (own && ((skipMinimized && own->isMinimized()) || (mainsOnly && !p.IsMainWindow()))) continue;
    windows.push_back({p.id, own});
    if (!own) foreign.push_back(p.id);
  }
  if (!window_.BusEndpoint()) windows.push_back({0, &window_});  // off the bus only this window is known
  const TBusFolder& bus = window_.CoordinationBus();
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
bool TCoordinationPart::ArrangementUnavailable() {
  if (QGuiApplication::platformName() != QStringLiteral("wayland")) return false;
  window_.ShowMessage(kArrangementUnavailable);
  return true;
}

void TCoordinationPart::BringArrangedToTop(const TArrangedWindow& w) {
  if (w.own) {
    w.own->raise();
    w.own->activateWindow();
  } else {
    PostBusMessage(window_.CoordinationBus(), w.id, MakeBusRequest(TBusMessage::bmTop));
  }
}

void TCoordinationPart::TileAll(int tiling) {
  if (ArrangementUnavailable()) return;
  const std::vector<TArrangedWindow> windows = ArrangedWindows(true, false, true);
  const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect available = s->availableGeometry();
  const QRect frame = window_.frameGeometry(), inner = window_.geometry();
  // A maximised window's frame hangs over the screen's edges, so the cells fill the work area.
  const int frameWidth = std::max(0, (frame.width() - inner.width()) / 2);
  const int frameHeight = std::max(0, frame.bottom() - inner.bottom());
  const TTilingMetrics metrics{available.width() + 2 * frameWidth, available.height() + 2 * frameHeight,
                               frameWidth, frameHeight, available.x(), available.y()};
  const std::vector<TWindowRect> cells =
      TileWindows(static_cast<TTiling>(tiling), static_cast<int>(windows.size()), metrics);
  for (std::size_t i = 0; i < windows.size(); ++i) PlaceArranged(windows[i], cells[i]);
  BringArrangedToTop({window_.BusId(), &window_});
}

// Own windows move at once; another process's window is asked to move itself.
void TCoordinationPart::PlaceArranged(const TArrangedWindow& window, const TWindowRect& r) {
  if (window.own)
    window.own->PlaceFrame(r.x, r.y, r.width, r.height);
  else
    PostBusMessage(window_.CoordinationBus(), window.id,
                   MakeBusRequest(TBusMessage::bmMove, PackBusPair(r.x, r.y), PackBusPair(r.width, r.height)));
  BringArrangedToTop(window);
}

// Other processes' sizes are not known here: their owners keep them and cut them to the area.
void TCoordinationPart::CascadeAll() {
  if (ArrangementUnavailable()) return;
  const std::vector<TArrangedWindow> windows = ArrangedWindows(true, false, true);
  const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  std::vector<TWindowRect> sizes;
  for (const TArrangedWindow& w : windows) sizes.push_back(w.own ? RectOf(w.own->frameGeometry()) : TWindowRect{});
  int caption = window_.geometry().y() - window_.frameGeometry().y();
  if (caption <= 0) caption = window_.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const std::vector<TWindowRect> placed = CascadeWindows(sizes, RectOf(s->availableGeometry()), caption);
  for (std::size_t k = windows.size(); k-- > 0;) PlaceArranged(windows[k], placed[k]);
}

void TCoordinationPart::MinimizeAll() {
  const std::int64_t ownMain = ProcessMainBusId();
  const TBusFolder& bus = window_.CoordinationBus();
  for (const TBusPeer& p : OtherMainEditors(bus.List(), ownMain))
    if (!OwnWindowOnBus(p.id)) PostBusMessage(bus, p.id, MakeBusRequest(TBusMessage::bmMinimize));
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<TEditorWindow*>(w); window && window->isVisible()) window->showMinimized();
}

void TCoordinationPart::ActivateNeighbour(bool next) {
  std::vector<std::int64_t> ids;
  std::vector<TArrangedWindow> windows = ArrangedWindows(true, true, false);
  for (const TArrangedWindow& w : windows) ids.push_back(w.id);
  const std::int64_t target = NeighbourEditor(ids, ProcessMainBusId(), next);
  for (const TArrangedWindow& w : windows)
    if (w.id == target) BringArrangedToTop(w);
}

// ---- The window menu's list. ----

void TCoordinationPart::MenusBuilt() {
  if (QMenu* menu = window_.Actions()->RunTimeListMenu(kWindowList))
    QObject::connect(menu, &QMenu::aboutToShow, &window_, [this] { FillWindowMenuList(); });
}

void TCoordinationPart::FillWindowMenuList() {
  QMenu* menu = window_.Actions()->RunTimeListMenu(kWindowList);
  QAction* anchor = window_.Actions()->RunTimeListAnchor(kWindowList);
  if (!menu || !anchor) return;
  const QList<QAction*> all = menu->actions();
  for (qsizetype i = all.indexOf(anchor) + 1; i < all.size(); ++i) {
    menu->removeAction(all[i]);
    all[i]->deleteLater();
  }
  const TBusFolder& bus = window_.CoordinationBus();
  std::vector<TOwnWindow> own;
  for (const TBusPeer& p : AllEditorWindows(bus.List()))
    if (OwnWindowOnBus(p.id)) own.push_back({p.id, p.IsMainWindow()});
  const std::vector<TWindowMenuEntry> entries = WindowMenuEntries(
      OpenFileList(bus, ProcessMainBusId()), own, window_.BusId(), TFontTextMeasure(menu->font()));
  // The anchor is the list's first separator; it shows only when documents follow it.
  anchor->setVisible(!entries.empty());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TWindowMenuEntry& e = entries[i];
    if (e.separator) {
      if (i > 0) menu->addSeparator();
      continue;
    }
    QAction* item = menu->addAction(QString::fromStdString(e.caption));
    QObject::connect(item, &QAction::triggered, &window_, [this, id = e.window] {
      if (TEditorWindow* window = OwnWindowOnBus(id)) {
        window->raise();
        window->activateWindow();
        return;
      }
      std::string message;
      if (!ActivateWindow(window_.CoordinationBus(), id, message)) window_.ShowMessage(message);
    });
  }
}

}  // namespace vorn
