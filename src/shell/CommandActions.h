// The actions of one editor window, made from the command table: one QAction per function and
// per extra command, the menu bar and the pane's pop-up menu from the menu tree, the tool bar
// from "ToolBar.dat", and the key dispatch that runs them from a pane's key-downs.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "qtplatform/KeyCodeMap.h"
#include "shellcore/KeyDispatch.h"
#include "shellcore/MenuTree.h"

class QAction;
class QKeyEvent;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace vorn {

class TCommandActions : public QObject {
  Q_OBJECT
public:
  struct THandlers {
    // Runs a numbered function; shiftHeld says whether it runs with Shift (selection grows).
    std::function<void(int function, bool shiftHeld)> runFunction;
    // Runs an extra command ("EditCommonSet", "ToolBarToggle", ...) or a help entry by name.
    std::function<void(const std::string& name)> runCommand;
  };

  // Creates the actions as children of window; menus and tool bar come with BuildMenus and
  // BuildToolBar. Every action starts enabled only when built says its function exists.
  TCommandActions(QMainWindow* window, THandlers handlers, const TFunctionSet& built);

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

  // Shows each action's first eligible key of table beside its menu caption; escCloses shows
  // Esc at Close and lets Esc close. The shortcuts are text only: the key reaches the action
  // through HandleKeyDown alone, so it can never run twice.
  void InstallShortcuts(const TKeyTable& table, bool escCloses);
  int MenuShortcut(int function) const;

  // A pane calls this for every key-down before its own handling. The action runs when the
  // table says so and it is enabled. A result with Consumed tells the pane to skip its own
  // handling of the key; SuppressChar to drop the character this key types.
  TKeyDispatch HandleKeyDown(const QKeyEvent& event, const TKeyTable& table);
  // The same over the process's key table.
  TKeyDispatch HandleKeyDown(const QKeyEvent& event);
  TKeyDispatch HandleKeyChord(TKeyChord chord, const TKeyTable& table);

  // The state of a built function's action as the window's state allows; functions that are
  // not built stay disabled whatever is asked.
  void SetFunctionEnabled(int function, bool enabled);
  const TFunctionSet& Built() const { return built_; }

  // The pane's character handler: true (and the flag cleared) when one character is to drop.
  bool TakeSuppressFlag();

private:
  QAction* CreateAction(const QString& objectName, const QString& caption);
  void Run(QAction* action, int function, bool shiftHeld);
  void AddMenuNodes(QMenu* menu, const std::vector<TMenuNode>& nodes);
  void ShowShortcutText(QAction* action, int shortcut);

  QMainWindow* window_;
  THandlers handlers_;
  TFunctionSet built_;
  TFunctionSet shortcutFlags_;
  std::array<QAction*, kFunctionCount> functions_{};
  std::array<int, kFunctionCount> shortcuts_{};
  std::map<std::string, QAction*> extras_;  // by upper-cased name
  std::map<std::string, std::pair<QMenu*, QAction*>> runTimeLists_;
  QMenu* popup_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  bool escCloses_ = false;
  bool suppressChar_ = false;
  bool shiftForTrigger_ = false;
  bool dispatching_ = false;
};

}  // namespace vorn
