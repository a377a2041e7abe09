// A pop-up menu that tells whether it is shown and reports when it is done: the station holds
// back its hot key and its reloads while the user has the menu open.
#pragma once

#include <QMenu>

namespace vorn {

class TPopupMenuEx : public QMenu {
  Q_OBJECT
public:
  explicit TPopupMenuEx(QWidget* parent = nullptr);

  // True from the moment the menu starts to show until DonePopup.
  bool Showing() const { return showing_; }

Q_SIGNALS:
  // After the menu closed and after the action chosen in it (if any) ran.
  void DonePopup();

private:
  bool showing_ = false;
};

}  // namespace vorn
