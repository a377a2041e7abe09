// TPopupMenuEx: the shown flag and the report after the menu is done.
#include "qtplatform/PopupMenuEx.h"

#include <QTimer>

namespace vorn {

TPopupMenuEx::TPopupMenuEx(QWidget* parent) : QMenu(parent) {
  connect(this, &QMenu::aboutToShow, this, [this] { showing_ = true; });
  // A menu hides before the chosen action runs; the report waits for the action, so that
  // nothing held back while the menu was open runs in the middle of it.
  connect(this, &QMenu::aboutToHide, this, [this] {
    QTimer::singleShot(0, this, [this] {
      showing_ = false;
      Q_EMIT DonePopup();
    });
  });
}

}  // namespace vorn
