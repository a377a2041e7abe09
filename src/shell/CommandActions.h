// The actions of one editor window, generated from the command table: one QAction per function
// and per extra command, the menu bar and the pane's pop-up menu from the menu tree, and the
// tool bar from "ToolBar.dat". A function's action only hands the function to the dispatcher;
// its enabled and checked states are read off the dispatcher's traits.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shellcore/CommandDispatcher.h"
#include "shellcore/KeyDispatch.h"
#include "shellcore/MenuTree.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace vorn {

class TCommandActions : public QObject {
  Q_OBJECT
public:
  // Runs an extra command ("EditCommonSet", "ToolBarToggle", ...) or a help entry by name.
  using TRunCommand = std::function<void(const std::string& name)>;

  // Creates the actions as children of window; menus and tool bar come with BuildMenus and
  // BuildToolBar. A function's action runs it through dispatcher, with Shift when the user
  // holds Shift; the states follow UpdateStates.
  TCommandActions(QMainWindow* window, TCommandDispatcher& dispatcher, TRunCommand runCommand);

  QAction* Action(int function) const;
  // A function or extra command by name, without regard to case; nullptr when there is none.
  QAction* ActionByName(std::string_view name) const;
  // The function of an action, -1 for extra actions and foreign ones.
  int FunctionOf(const QAction* action) const;

  // Fills the window's menu bar and creates the pane pop-up.
  void BuildMenus();
  QMenu* PanePopup() const { return popup_; }
  // The menu holding a run-time list (kFileHistoryList, kWindowList) and the separator after
  // which its entries go; the owner refills it when the menu is about to show.
  QMenu* RunTimeListMenu(const std::string& name) const;
  QAction* RunTimeListAnchor(const std::string& name) const;

  // Rebuilds the tool bar from buttons (left to right, kToolBarSeparator for gaps), resets
  // the shortcut flags to the table's and adds the tool-bar functions to them.
  void BuildToolBar(const std::vector<int>& buttons);
  QToolBar* ToolBar() const { return toolBar_; }
  bool ToolBarEmpty() const;

  // Shows each action's first eligible key of table beside its menu caption, and Esc at Close
  // when escCloses. The shortcuts are captions only: keys reach the functions through the key
  // path alone, so a key can never run a function twice.
  void InstallShortcuts(const TKeyTable& table, bool escCloses);
  int MenuShortcut(int function) const;

  // Enables and checks every function's action as the dispatcher allows in state.
  void UpdateStates(const TCommandState& state);

private:
  QAction* CreateAction(const QString& objectName, const QString& caption);
  void AddMenuNodes(QMenu* menu, const std::vector<TMenuNode>& nodes);
  void ShowShortcutText(QAction* action, int shortcut);

  QMainWindow* window_;
  TCommandDispatcher& dispatcher_;
  TRunCommand runCommand_;
  TFunctionSet shortcutFlags_;
  std::array<QAction*, kFunctionCount> functions_{};
  std::array<int, kFunctionCount> shortcuts_{};
  std::map<std::string, QAction*> extras_;  // by upper-cased name
  std::map<std::string, std::pair<QMenu*, QAction*>> runTimeLists_;
  QMenu* popup_ = nullptr;
  QToolBar* toolBar_ = nullptr;
};

}  // namespace vorn
