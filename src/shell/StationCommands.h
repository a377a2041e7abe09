// TStationCommands: what the station's tray menu runs besides starting editors: the grep
// dialog with its run handed to a new editor, the open dialog, the arrangement of every editor
// window, minimising them all, and exit all. The station has no window of its own, so all of
// it goes to the other processes over the bus.
#pragma once

#include <QObject>
#include <QPoint>

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorn {

class TVornEditStation;

class TStationCommands : public QObject {
  Q_OBJECT
public:
  explicit TStationCommands(TVornEditStation& station);

  // Runs one of the menu's numbered functions (grep, the arrangements, exit all); false for a
  // function the station does not run.
  bool Run(int function, const QPoint& at);
  // The open dialog at the mouse; a chosen file opens in a new editor.
  void Open(const QPoint& at);

private:
  void Grep(const QPoint& at);
  void Tile(int tiling);
  void Cascade();
  void MinimizeAll();
  void CloseAll();
  std::vector<std::int64_t> ArrangedWindows();
  // Posts message to the first window the started process puts on the bus, waiting for it.
  void PostToNewWindow(pid_t pid, std::vector<std::int64_t> known, int message);

  TVornEditStation& station_;
};

}  // namespace vorn
