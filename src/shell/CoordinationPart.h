// TCoordinationPart: the commands over every editor (save all, save all and exit, exit all),
// the arrangement of all editor windows, the next and previous editor, and the window menu's
// list of the other editors' documents and this process's windows.
#pragma once

#include "shell/WindowPart.h"

#include <cstdint>
#include <vector>

namespace vorn {

class TEditorWindow;
struct TWindowRect;

class TCoordinationPart : public TWindowPart {
public:
  explicit TCoordinationPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;
  void MenusBuilt() override;

private:
  struct TArrangedWindow {
    std::int64_t id = 0;
    TEditorWindow* own = nullptr;  // a window of this process, moved directly
  };
  // A sub window speaks for its process's main window.
  std::int64_t ProcessMainBusId();
  std::vector<TArrangedWindow> ArrangedWindows(bool skipMinimized, bool mainsOnly, bool leaveMaximized);
  void SaveAll(bool onlyModified);
  void SaveCloseAll();
  void CloseAll();
  void TileAll(int tiling);
  void CascadeAll();
  void MinimizeAll();
  void ActivateNeighbour(bool next);
  bool ArrangementUnavailable();
  void BringArrangedToTop(const TArrangedWindow& window);
  void PlaceArranged(const TArrangedWindow& window, const TWindowRect& rect);
  void FillWindowMenuList();

  TEditorWindow& window_;
};

}  // namespace vorn
