// TDocumentIcon: the file icon at the left end of an editor window's menu bar. The window
// manager keeps the title bar's icon to itself, so this one stands in for it: dragging it
// hands the document's file to another program, holding it opens the window menu.
#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

class QMenu;

namespace vorn {

class TDocumentIcon : public QWidget {
public:
  // fileName answers the document's file name (a native path), empty while it has none.
  TDocumentIcon(std::function<std::string()> fileName, QWidget* parent);

  QSize sizeHint() const override;
  // Restore, minimise, maximise and close for the icon's window; built on first use.
  QMenu* WindowMenu();
  // How long a press waits before the window menu opens.
  static constexpr int kMenuDelayMs = 500;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  void StartDrag();
  void OpenWindowMenu();

  std::function<std::string()> fileName_;
  QTimer menuTimer_;
  bool pressed_ = false;  // a press is remembered until it drags, opens the menu or is dropped
  QPoint pressAt_;
  QMenu* menu_ = nullptr;
};

}  // namespace vorn
