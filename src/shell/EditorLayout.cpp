// TEditorWindow: sizing the window by columns and rows, vertical maximisation, the tool bar
// and status bar shown, and the menu bar's document icon. The window manager owns the
// frame, so its extents are read from frameGeometry() against geometry().
#include "shell/EditorWindow.h"

#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "shell/CommandActions.h"
#include "shell/DocumentIcon.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/PaneLayout.h"
#include "shellcore/WindowArrangement.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace vorn {
namespace {

// The frame the window manager draws around the client area; all zero before the first show.
struct TFrameExtents {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

TFrameExtents FrameOf(const QWidget& window) {
  const QRect outer = window.frameGeometry();
  const QRect inner = window.geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

TRect ToRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// Hidden explicitly, as opposed to not yet shown with its window.
bool Shown(const QWidget* widget) { return widget && !widget->isHidden(); }

// The measures the size formula takes. The bars' share is what the main window's layout
// really leaves the central widget, so the pane ends up exactly as large as the formula says.
TWindowMetrics MeasureWindow(TEditorWindow& window) {
  if (QLayout* layout = window.layout()) {
    layout->invalidate();
    layout->activate();
  }
  const TVornEdit& pane = *window.Editor();
  const TFrameExtents frame = FrameOf(window);
  TWindowMetrics m;
  m.FrameWidth = frame.Left;
  m.FrameHeight = frame.Bottom;
  m.CaptionHeight = frame.Top - frame.Bottom;
  m.BorderWidth = m.BorderHeight = pane.frameWidth();
  QToolBar* toolBar = window.Actions()->ToolBar();
  m.ToolBarHeight = Shown(toolBar) ? toolBar->height() : 0;
  m.StatusBarHeight = Shown(window.StatusPanels()) ? window.StatusPanels()->height() : 0;
  const int central = window.centralWidget() ? window.centralWidget()->height() : 0;
  m.MenuHeight = window.height() - central - m.ToolBarHeight - m.StatusBarHeight;
  m.LeftMargin = pane.Metrics().TextLeft();
  m.TopMargin = pane.Metrics().TextTop();
  m.CharWidth = pane.Metrics().CellWidth();
  m.RowHeight = pane.Metrics().RowHeight();
  if (pane.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
    m.VerticalScrollBarWidth = pane.verticalScrollBar()->sizeHint().width();
  if (pane.horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
    m.HorizontalScrollBarHeight = pane.horizontalScrollBar()->sizeHint().height();
  return m;
}

// The screen whose work area limits the window's height: the one it is sent to, else the one
// its fixed position lies on, else its own.
QScreen* TargetScreen(const QWidget& window, int monitor, const std::optional<std::pair<int, int>>& fixed) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (monitor >= 0 && monitor < screens.size()) return screens[monitor];
  if (fixed)
    if (QScreen* at = QGuiApplication::screenAt(QPoint(fixed->first, fixed->second))) return at;
  return window.screen();
}

TPlacement PlacementOf(const QWidget& window, int monitor, std::optional<std::pair<int, int>> fixed) {
  TPlacement p;
  p.Current = ToRect(window.frameGeometry());
  p.CurrentMonitor = ToRect(window.screen()->geometry());
  for (const QScreen* s : QGuiApplication::screens()) p.Monitors.push_back(ToRect(s->geometry()));
  p.MonitorIndex = monitor;
  p.FixedPosition = fixed;
  if (const QScreen* target = TargetScreen(window, monitor, fixed)) {
    p.LimitTop = target->availableGeometry().top();
    p.LimitHeight = target->availableGeometry().height();
  }
  return p;
}

bool FrameKnown(const QWidget& window) { return window.frameGeometry() != window.geometry(); }

// Passes the window's show, move and resize events on.
class TGeometryWatcher : public QObject {
public:
  TGeometryWatcher(QWidget* window, std::function<void(QEvent::Type)> changed)
      : QObject(window), changed_(std::move(changed)) {
    window->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched == parent() && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize))
      changed_(type);
    return false;
  }

private:
  std::function<void(QEvent::Type)> changed_;
};

}  // namespace

void TEditorWindow::BuildLayout() {
  documentIcon_ = new TDocumentIcon([this] { return FileName(); }, menuBar());
  menuBar()->setCornerWidget(documentIcon_, Qt::TopLeftCorner);
  new TGeometryWatcher(this, [this](QEvent::Type type) { GeometryChanged(type == QEvent::Resize); });
}

void TEditorWindow::ShowBars(bool toolBar, bool statusBar) {
  if (QAction* toggle = actions_->ActionByName("ToolBarToggle")) toggle->setChecked(toolBar);
  if (QAction* toggle = actions_->ActionByName("StatusBarToggle")) toggle->setChecked(statusBar);
  if (QToolBar* bar = actions_->ToolBar()) bar->setVisible(toolBar);
  if (status_) status_->setVisible(statusBar);
}

void TEditorWindow::PlaceFrame(int x, int y, int width, int height) {
  const QRect frame = frameGeometry(), inner = geometry();
  TWindowRect r{x, y, width, height};
  if (width <= 0 || height <= 0) {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    r = ClipToArea({x, y, frame.width(), frame.height()}, s ? TWindowRect{s->availableGeometry().x(), s->availableGeometry().y(), s->availableGeometry().width(), s->availableGeometry().height()} : r);
  }
  const int extraWidth = frame.width() - inner.width(), extraHeight = frame.height() - inner.height();
  setGeometry(r.x + inner.x() - frame.x(), r.y + inner.y() - frame.y(), std::max(1, r.width - extraWidth),
              std::max(1, r.height - extraHeight));
}

void TEditorWindow::SizeByColumnsAndRows(int monitor) {
  if (!process_.windowType.FixWindow || isMaximized() || verticalMax_) return;
  const TWindowMetrics metrics = MeasureWindow(*this);
  const TWindowSize size = WindowSizeFor(metrics, process_.windowType.FixWindowCol, process_.windowType.FixWindowRow);
  std::optional<std::pair<int, int>> fixed;
  if (process_.windowType.PositionFix) fixed = std::pair{process_.common.PositionFixX, process_.common.PositionFixY};
  const TPlacement placement = PlacementOf(*this, monitor, fixed);
  const TRect r = PlaceSizedWindow(placement, size);
  resize(r.Width - 2 * metrics.FrameWidth, r.Height - metrics.CaptionHeight - 2 * metrics.FrameHeight);
  // A window not yet shown keeps the place the window manager would give it unless it has to go
  // elsewhere.
  if (r.Left != placement.Current.Left || r.Top != placement.Current.Top) move(r.Left, r.Top);
  fitFrameWhenKnown_ = !FrameKnown(*this);
}

// The window manager has no vertical-only maximised state: the window takes the full height
// of its screen's work area at its own left and width, and a flag remembers it.
void TEditorWindow::ToggleVerticalMaximize() {
  const bool on = !verticalMax_;
  verticalMax_ = false;
  const TFrameExtents frame = FrameOf(*this);
  if (on) {
    if (isMaximized()) showNormal();
    normalGeometry_ = geometry();
    const QRect area = screen()->availableGeometry();
    verticalMaxHeight_ = area.height() - frame.Top - frame.Bottom;
    verticalMax_ = true;
    setGeometry(geometry().left(), area.top() + frame.Top, width(), verticalMaxHeight_);
  } else {
    setGeometry(geometry().left(), normalGeometry_.top(), normalGeometry_.width(), normalGeometry_.height());
  }
  actions_->UpdateStates(CommandState());
}

// The window manager tells the frame only once the window is up, so a window sized before
// that fits its frame into the work area again as soon as it is known. A size the user or the
// window manager gave the window ends vertical maximisation.
void TEditorWindow::GeometryChanged(bool resized) {
  if (fitFrameWhenKnown_ && isVisible() && FrameKnown(*this)) {
    fitFrameWhenKnown_ = false;
    QTimer::singleShot(0, this, [this] { SizeByColumnsAndRows(-2); });
  }
  if (!resized || !verticalMax_ || height() == verticalMaxHeight_) return;
  verticalMax_ = false;
  actions_->UpdateStates(CommandState());
}

}  // namespace vorn
