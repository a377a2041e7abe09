// TVornEdit: construction, font and colours, and the hand-over of the core's notifications.
#include "editor/VornEdit.h"

#include <QElapsedTimer>
#include <QScreen>
#include <QScrollBar>


namespace vorn {

TVornEdit::TVornEdit(std::shared_ptr<TVornEditScreenStrings> store, QWidget* parent)
    : QAbstractScrollArea(parent), font_(DefaultEditFont()) {
  metrics_.Measure(font_);
  core_ = std::make_unique<TVornEditCore>(std::move(store), metrics_);
  lines_ = std::make_unique<TVornEditStrings>(*core_, core_->Store());
  core_->SetClipboard(&clipboard_);
  core_->OnCaretMoved = [this] {
    caretMovedPending_ = true;
    ScheduleFlush();
  };
  core_->OnChange = [this] {
    changedPending_ = true;
    ScheduleFlush();
  };
  core_->OnNulReplaced = [this](int count) { Q_EMIT NulBytesReplaced(count); };
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  core_->OnUnheldCharacters = [this](int count) { Q_EMIT CharactersDropped(count); };
  // The bars are disabled rather than hidden, so the text area never changes size by itself.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TVornEdit::VerticalBarMoved);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TVornEdit::HorizontalBarMoved);
  connect(&blinkTimer_, &QTimer::timeout, this, &TVornEdit::BlinkTick);
  autoScrollTimer_.setInterval(50);
  connect(&autoScrollTimer_, &QTimer::timeout, this, &TVornEdit::AutoScrollTick);
  rewrapTimer_.setSingleShot(true);
  rewrapTimer_.setInterval(0);
  connect(&rewrapTimer_, &QTimer::timeout, this, &TVornEdit::RewrapTick);
  if (const QScreen* s = screen()) metrics_.SetScreenHeight(s->geometry().height());
  ApplyFont();
}

TVornEdit::~TVornEdit() = default;

void TVornEdit::SetEditFont(const QFont& font) {
  font_ = font;
  ApplyFont();
}

// Overrides the table's text, selection and end-mark colours until the look is applied again.
void TVornEdit::SetColors(const TEditColors& colors) {
  colors_ = colors;
  painter_.SetColors(colors_);
  palette_ = painter_.Palette();
  imageValid_ = false;
  Flush();
}

void TVornEdit::ApplyFont() {
  metrics_.Measure(font_);
  painter_.SetFont(font_, metrics_.CellWidth(), metrics_.FontHeight(), metrics_.Ascent());
  ApplyLook();
}

void TVornEdit::ScheduleFlush() {
  if (flushPosted_) return;
  flushPosted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        flushPosted_ = false;
        Flush();
      },
      Qt::QueuedConnection);
}

// A slice of the wrap at a time, short enough that keys and scrolling between slices feel
// immediate; the rows cut so far are painted after each.
void TVornEdit::RewrapTick() {
  constexpr int kRowsPerStep = 4096;
  constexpr qint64 kSliceMs = 12;
  TVornEditScreenStrings& store = core_->Store();
  QElapsedTimer slice;
  slice.start();
  while (store.RewrapStep(kRowsPerStep) && slice.elapsed() < kSliceMs) {
  }
  Flush();
}

void TVornEdit::EmitPending() {
  if (caretMovedPending_) {
    caretMovedPending_ = false;
    Q_EMIT CaretMoved();
  }
  if (changedPending_) {
    changedPending_ = false;
    Q_EMIT Changed();
  }
}

int TVornEdit::HorizontalLimit() const {
  TVornEditScreenStrings& store = core_->Store();
  return store.WordWrap() ? store.Wrapper().WrapByte() + 1 : MaxColumns + 1;
}

}  // namespace vorn
