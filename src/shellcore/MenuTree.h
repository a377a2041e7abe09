// The main menu and the pane's pop-up menu as data, from which any toolkit builds its menus.
#pragma once

#include <string>
#include <vector>

namespace vorn {

enum TMenuNodeKind {
  mnCommand,    // an action: a function or an extra action, by name
  mnSeparator,
  mnSubmenu,    // Caption and Children
  mnHelpItem,   // a help menu entry handled by the window itself (Name says which)
  mnRunTimeList // the file history or the window list, filled when the menu opens (Name)
};

struct TMenuNode {
  TMenuNodeKind Kind = mnSeparator;
  std::string Name;
  std::string Caption;  // UTF-8; for commands the menu caption of the command
  std::vector<TMenuNode> Children;
};

// Names of the help entries and of the run-time lists.
inline constexpr const char* kHelpContents = "Help";
inline constexpr const char* kHelpReadme = "Readme";
inline constexpr const char* kHelpCommands = "CommandHelp";
inline constexpr const char* kHelpAbout = "About";
inline constexpr const char* kFileHistoryList = "FileHistory";
inline constexpr const char* kWindowList = "WindowList";

// The six top-level menus, each a submenu node, in menu-bar order.
const std::vector<TMenuNode>& MainMenuTree();

// The pane's pop-up menu (the root's Children are its items).
const TMenuNode& PanePopupTree();

// Every command name that stands in a menu or the pop-up, once each, in first-seen order.
std::vector<std::string> CommandsInMenus();

// An indented text form of a tree: one line per node, two spaces per level.
std::string DumpMenuTree(const std::vector<TMenuNode>& nodes, int depth = 0);

}  // namespace vorn
