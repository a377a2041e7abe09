// The wait for an outside program, with its progress window.
#include "dialogs/ChildRunWait.h"

#include "platform/ChildRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

namespace vorn {
namespace {

QPointer<QProgressDialog> activeProgress;

}  // namespace

QWidget* ActiveChildRunProgress() { return activeProgress.data(); }

TChildWaitEnd WaitForChildRun(TChildRun& run, QWidget* owner, const QString& caption, int limitMs,
                              int progressAfterMs) {
  QElapsedTimer clock;
  clock.start();
  QProgressDialog* progress = nullptr;
  bool cancelled = false;
  TChildWaitEnd end = TChildWaitEnd::weFinished;
  while (!run.Pump(10)) {
    if (!progress && clock.elapsed() >= progressAfterMs) {
      progress = new QProgressDialog(caption, QStringLiteral("キャンセル"), 0, 0, owner);
      progress->setWindowTitle(caption);
      progress->setWindowModality(Qt::WindowModal);
      progress->setMinimumDuration(0);
      QObject::connect(progress, &QProgressDialog::canceled, [&cancelled] { cancelled = true; });
      progress->show();
      activeProgress = progress;
    }
    // Before the progress window stands in front of the window, input to the window waits,
    // so the text the program works on cannot change under it.
    QCoreApplication::processEvents(progress ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents, 10);
    if (cancelled) {
      run.Cancel();
      end = TChildWaitEnd::weCancelled;
      break;
    }
    if (limitMs >= 0 && clock.elapsed() >= limitMs) {
      run.Abandon();
      end = TChildWaitEnd::weTimedOut;
      break;
    }
  }
  if (progress) {
    QObject::disconnect(progress, &QProgressDialog::canceled, nullptr, nullptr);
    activeProgress = nullptr;
    progress->hide();
    progress->deleteLater();
  }
  return end;
}

}  // namespace vorn
