// TPrintPreviewForm: the page drawn scaled on the paper, centred when smaller than the view.
#include "print/PreviewForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vorn {

// The widget the scroll box holds: the paper and the page on it at the form's zoom.
class TPrintPreviewForm::TPageView : public QWidget {
public:
  explicit TPageView(TPrintPreviewForm& form) : form_(form) {}

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().dark());
    const QSize image = form_.ImageSize();
    const QPoint origin((width() - image.width()) / 2, (height() - image.height()) / 2);
    p.fillRect(QRect(origin, image), Qt::white);
    const QRectF paper = form_.PaperRect();
    p.translate(origin);
    p.scale(image.width() / paper.width(), image.height() / paper.height());
    p.translate(form_.pages_.Unprintable.Left, form_.pages_.Unprintable.Top);
    p.setClipRect(QRect(0, 0, form_.pages_.Page.PageWidth, form_.pages_.Page.PageHeight));
    form_.painter_.Paint(p, form_.current_);
  }

private:
  TPrintPreviewForm& form_;
};

TPrintPreviewForm::TPrintPreviewForm(TPrintPages pages, TStringsPrinter& settings, QWidget* parent)
    : QDialog(parent), pages_(std::move(pages)), settings_(settings), painter_(pages_) {
  setWindowTitle(QStringLiteral("印刷プレビュー"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(BuildTools());
  scroll_ = new QScrollArea(this);
  scroll_->setAlignment(Qt::AlignCenter);
  view_ = new TPageView(*this);
  scroll_->setWidget(view_);
  layout->addWidget(scroll_, 1);
  setGeometry(settings.PVLeft(), settings.PVTop(), std::max(200, settings.PVWidth()), std::max(200, settings.PVHeight()));
  if (settings.PVMaximized()) setWindowState(windowState() | Qt::WindowMaximized);
  ShowPage(0);
}

TPrintPreviewForm::~TPrintPreviewForm() = default;

QHBoxLayout* TPrintPreviewForm::BuildTools() {
  auto* tools = new QHBoxLayout;
  auto button = [&](const QString& text, const char* name, auto slot) {
    auto* b = new QToolButton(this);
    b->setText(text);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QToolButton::clicked, this, slot);
    tools->addWidget(b);
    return b;
  };
  first_ = button(QStringLiteral("|<"), "first", [this] { ShowPage(0); });
  prev_ = button(QStringLiteral("<"), "prev", [this] { ShowPage(current_ - 1); });
  pageLabel_ = new QLabel(this);
  tools->addWidget(pageLabel_);
  next_ = button(QStringLiteral(">"), "next", [this] { ShowPage(current_ + 1); });
  last_ = button(QStringLiteral(">|"), "last", [this] { ShowPage(PageCount() - 1); });
  zoomBox_ = new QComboBox(this);
  zoomBox_->addItems({QStringLiteral("実際の大きさ"), QStringLiteral("幅に合わせる"), QStringLiteral("高さに合わせる")});
  zoomBox_->setCurrentIndex(static_cast<int>(zoom_));
  connect(zoomBox_, &QComboBox::activated, this, [this](int i) { SetZoom(static_cast<TPreviewZoom>(i)); });
  tools->addWidget(zoomBox_);
  tools->addStretch(1);
  button(QStringLiteral("閉じる"), "close", [this] { reject(); });
  return tools;
}

void TPrintPreviewForm::ShowPage(int index) {
  current_ = std::clamp(index, 0, std::max(0, PageCount() - 1));
  UpdateState();
}

void TPrintPreviewForm::SetZoom(TPreviewZoom zoom) {
  zoom_ = zoom;
  zoomBox_->setCurrentIndex(static_cast<int>(zoom));
  UpdateState();
}

QString TPrintPreviewForm::PageText() const {
  return QString::asprintf("%3d / %3d", current_ + 1, PageCount());
}

QRectF TPrintPreviewForm::PaperRect() const {
  const TPxRect& off = pages_.Unprintable;
  return QRectF(0, 0, pages_.Page.PageWidth + off.Left + off.Right, pages_.Page.PageHeight + off.Top + off.Bottom);
}

QSize TPrintPreviewForm::ImageSize() const {
  const QRectF paper = PaperRect();
  if (paper.width() <= 0 || paper.height() <= 0) return {1, 1};
  const double aspect = paper.height() / paper.width();
  const QSize box = scroll_->size();
  if (zoom_ == TPreviewZoom::pzFitWidth) {
    const int w = std::max(1, box.width() - scroll_->verticalScrollBar()->sizeHint().width());
    return {w, std::max(1, static_cast<int>(w * aspect))};
  }
  if (zoom_ == TPreviewZoom::pzFitHeight) {
    const int h = std::max(1, box.height() - scroll_->horizontalScrollBar()->sizeHint().height());
    return {std::max(1, static_cast<int>(h / aspect)), h};
  }
  const QScreen* screen = this->screen();
  const double scale = (screen ? screen->logicalDotsPerInch() : 96.0) / std::max(1, pages_.Page.Dpi);
  return {std::max(1, static_cast<int>(paper.width() * scale)), std::max(1, static_cast<int>(paper.height() * scale))};
}

void TPrintPreviewForm::UpdateState() {
  pageLabel_->setText(PageText());
  first_->setEnabled(current_ > 0);
  prev_->setEnabled(current_ > 0);
  next_->setEnabled(current_ < PageCount() - 1);
  last_->setEnabled(current_ < PageCount() - 1);
  const QSize image = ImageSize();
  const QSize viewport = scroll_->viewport()->size();
  // Smaller than the scroll box, the paper sits in its middle; larger, the box scrolls.
  view_->resize(std::max(image.width(), viewport.width()), std::max(image.height(), viewport.height()));
  view_->update();
}

void TPrintPreviewForm::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (scroll_) UpdateState();
}

// The geometry goes back to the settings, so the next preview opens where this one was.
void TPrintPreviewForm::done(int result) {
  settings_.SetPVMaximized(isMaximized());
  if (!isMaximized()) {
    settings_.SetPVLeft(geometry().left());
    settings_.SetPVTop(geometry().top());
    settings_.SetPVWidth(geometry().width());
    settings_.SetPVHeight(geometry().height());
  }
  QDialog::done(result);
}

}  // namespace vorn
