// TFindExecForm: the replace-all progress window, and the replace confirmation.
#include "dialogs/FindExecForm.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "settings/SjisText.h"

namespace vorn {
namespace {

// A busy replace lets the window breathe this often; the stop button answers well within it.
constexpr int kPumpIntervalMs = 30;

}  // namespace

TFindExecForm::TFindExecForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("検索の実行"));
  lineLabel_ = new QLabel(this);
  matchLabel_ = new QLabel(this);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  stopButton_ = new QPushButton(QStringLiteral("中止"), this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lineLabel_);
  layout->addWidget(matchLabel_);
  layout->addWidget(progress_);
  layout->addWidget(stopButton_, 0, Qt::AlignHCenter);
  setMinimumWidth(320);
  connect(stopButton_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  sincePump_.start();
}

void TFindExecForm::reject() { cancelled_ = true; }

void TFindExecForm::Pump() {
  if (sincePump_.elapsed() < kPumpIntervalMs) return;
  QCoreApplication::processEvents();
  sincePump_.restart();
}

int TFindExecForm::Progress(int kind, int count, int position) {
  switch (kind) {
    case 1:
      if (!shown_) break;
      if (QWidget* owner = parentWidget()) move(owner->frameGeometry().topLeft() + QPoint(10, 10));
      setWindowTitle(QStringLiteral("全置換"));
      stopButton_->setEnabled(false);
      lineLabel_->setText(QStringLiteral("文字列の取得中。お待ちください"));
      matchLabel_->clear();
      show();
      QCoreApplication::processEvents();
      break;
    case 2:
      if (!shown_) break;
      lineLabel_->setText(QStringLiteral("全置換中。お待ちください"));
      stopButton_->setEnabled(true);
      QCoreApplication::processEvents();
      break;
    case 0:
      // The engine reports every 16th replacement, the control also between the pieces it
      // writes back: the count is shown at the engine's steps, the bar and the stop button
      // are kept alive at both.
      if (shown_) {
        if (count % 16 == 0) matchLabel_->setText(QStringLiteral("置換した個数：") + QString::number(count));
        if (total_ > 0) progress_->setValue(static_cast<int>(std::min<long long>(100, position * 100LL / total_)));
      } else if (Status && count % 16 == 0 && sincePump_.elapsed() >= kPumpIntervalMs) {
        Status(Sjis("置換した数 (") + std::to_string(count) + ")");
      }
      Pump();
      break;
    case 3:
      if (!shown_) break;
      matchLabel_->setText(QStringLiteral("置換した個数：") + QString::number(count));
      progress_->setValue(100);
      stopButton_->setEnabled(false);
      lineLabel_->setText(QStringLiteral("文字列の反映中。お待ちください"));
      QCoreApplication::processEvents();
      break;
    case 4:
      finalCount_ = count;
      break;
    default:
      break;
  }
  return cancelled_ ? 0 : 1;
}

int AskReplace(QWidget* owner, QPoint caret, bool withAll) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("置き換えますか"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
  QPushButton* all = withAll ? box.addButton(QStringLiteral("すべて"), QMessageBox::AcceptRole) : nullptr;
  box.adjustSize();
  const QRect screen = (owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen())->geometry();
  QPoint at = caret + QPoint(10, 20);
  const QSize size = box.sizeHint();
  if (at.x() + size.width() > screen.right() - 50) at.setX(screen.width() - size.width() - 50);
  if (at.y() + size.height() > screen.bottom() - 50) at.setY(at.y() - size.height() - 30);
  box.move(at);
  box.exec();
  if (all && box.clickedButton() == all) return 8;
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return 6;
    case QMessageBox::No: return 7;
    default: return 2;
  }
}

}  // namespace vorn
