// TGrepExecForm: the grep progress window over the grep engine on a worker thread.
#include "dialogs/GrepExecForm.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "qtplatform/VornUtilGui.h"
#include "search/GrepEngine.h"
#include "settings/SjisText.h"
#include "shellcore/GrepDialogState.h"
#include "syntax/KeyWord.h"

namespace vorn {

// Receives the run on the worker thread: result lines are kept there and read after the
// thread has ended; the latest progress is shared with the window under a lock.
class TGrepExecForm::TSink : public TGrepSink {
public:
  void AddLine(const TGrepResultLine& line) override { lines.push_back(line); }
  void Progress(const TGrepProgress& p) override {
    std::lock_guard<std::mutex> lock(mutex);
    progress = p;
    fresh = true;
  }
  bool TakeProgress(TGrepProgress& out) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!fresh) return false;
    out = progress;
    fresh = false;
    return true;
  }

  std::vector<TGrepResultLine> lines;

private:
  std::mutex mutex;
  TGrepProgress progress;
  bool fresh = false;
};

TGrepExecForm::TGrepExecForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("GREPの実行"));
  filenameLabel_ = new QLabel(this);
  filenameLabel_->setMinimumWidth(360);
  lineLabel_ = new QLabel(this);
  matchLabel_ = new QLabel(this);
  stopButton_ = new QPushButton(QStringLiteral("中止"), this);
  refresh_ = new QTimer(this);
  refresh_->setInterval(100);
  connect(refresh_, &QTimer::timeout, this, [this] { RefreshLabels(); });
  connect(stopButton_, &QPushButton::clicked, this, [this] { Stop(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(filenameLabel_);
  layout->addWidget(lineLabel_);
  layout->addWidget(matchLabel_);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(stopButton_);
  row->addStretch();
  layout->addLayout(row);
}

TGrepExecForm::~TGrepExecForm() {
  if (engine_) engine_->Cancel();
  if (worker_.joinable()) worker_.join();
}

void TGrepExecForm::SetRefreshIntervalMs(int ms) { refresh_->setInterval(ms); }

// Placed 10 pixels right of and below the top-left corner of the window it belongs to.
void TGrepExecForm::showEvent(QShowEvent* event) {
  if (QWidget* owner = parentWidget()) move(owner->window()->frameGeometry().topLeft() + QPoint(10, 10));
  QDialog::showEvent(event);
}

TGrepOutcome TGrepExecForm::Execute(const TGrepKeyWord& condition) {
  outcome_ = TGrepOutcome();
  cancelled_ = false;
  TGrepOptions options = GrepOptionsOf(condition);
  // Progress comes more often than the labels need, so none of it waits on the label timer.
  options.ProgressIntervalMs = std::min(options.ProgressIntervalMs, refresh_->interval());
  engine_ = std::make_unique<TGrepEngine>(condition, options);
  std::string message;
  if (!engine_->Prepare(message) && !message.empty()) {
    CenteredMessageDlg(QStringLiteral("検索条件の指定が正しくありません。\r\n「") + QString::fromStdString(Utf8(message)) +
                           QStringLiteral("」"),
                       mtWarning, mbOK, false, parentWidget());
    engine_.reset();
    return outcome_;
  }
  sink_ = std::make_unique<TSink>();
  matchLabel_->setText(QStringLiteral("ヒット数： 0"));
  running_ = true;
  worker_ = std::thread([this] {
    summary_ = engine_->Run(*sink_);
    QMetaObject::invokeMethod(this, [this] { Finish(); }, Qt::QueuedConnection);
  });
  refresh_->start();
  exec();
  return outcome_;
}

void TGrepExecForm::Stop() {
  if (!running_) return;
  cancelled_ = true;
  engine_->Cancel();
}

void TGrepExecForm::reject() { Stop(); }

void TGrepExecForm::RefreshLabels() {
  TGrepProgress p;
  if (!sink_ || !sink_->TakeProgress(p)) return;
  const QString path = QString::fromStdString(p.FileName);
  filenameLabel_->setText(filenameLabel_->fontMetrics().elidedText(path, Qt::ElideMiddle, filenameLabel_->width()));
  lineLabel_->setText(QString::number(p.LineNumber) + QStringLiteral(" 行目"));
  matchLabel_->setText(QStringLiteral("ヒット数： ") + QString::number(p.HitCount));
}

void TGrepExecForm::Finish() {
  refresh_->stop();
  if (worker_.joinable()) worker_.join();
  running_ = false;
  filenameLabel_->setText(QStringLiteral("終了処理中"));
  outcome_.Started = true;
  outcome_.Summary = summary_;
  outcome_.Lines = std::move(sink_->lines);
  for (const TGrepResultLine& line : outcome_.Lines) outcome_.Text.append(line.Text).append("\r\n");
  outcome_.StatusText = GrepStatusText(summary_.HitCount, summary_.FileCount);
  engine_.reset();
  sink_.reset();
  if (onFinished_) onFinished_(outcome_);
  QDialog::accept();
}

}  // namespace vorn
