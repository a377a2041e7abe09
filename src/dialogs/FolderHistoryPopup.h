// TFolderHistoryPopup: the borderless list of remembered folders that the folder-history
// button of the file dialogs opens, one row per folder with a check box for its fixed flag.
#pragma once

#include <QListWidget>

#include <vector>

#include "shellcore/FolderHistory.h"

namespace vorn {

class TFolderHistoryPopup : public QListWidget {
  Q_OBJECT
public:
  // A click right of this x (or Enter) chooses the row; left of it is the check box.
  static constexpr int kCheckBoxRight = 19;

  TFolderHistoryPopup(const std::vector<TFolderEntry>& folders, QWidget* owner);

  // Shows the list under anchor, or above it when below would leave the screen.
  void PopUpBeside(const QWidget* anchor);
  // The check states, one per folder in list order.
  std::vector<bool> FixedFlags() const;

Q_SIGNALS:
  void FolderChosen(const QString& folder);
  // The pop-up closed (by a choice, Esc or a click elsewhere); flags as FixedFlags.
  void Closed(const std::vector<bool>& fixed);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void Choose(const QListWidgetItem* item);
  bool closedOnce_ = false;
};

}  // namespace vorn
