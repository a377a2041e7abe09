#include "shell/FirstPaintQuit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

namespace vorn {
namespace {

class TFirstPaintQuit : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // Queued, so the paint in progress completes before the loop ends.
      QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

private:
  bool seen_ = false;
};

}  // namespace

void QuitAfterFirstPaintWhenAsked(QWidget* pane) {
  const char* value = std::getenv(kQuitAfterFirstPaintVariable);
  if (!pane || !value || !*value) return;
  pane->installEventFilter(new TFirstPaintQuit(pane));
}

}  // namespace vorn
