// What each numbered function asks of the window's state before it may run: whether it changes
// the text, needs a selection, is allowed in browse mode, and the condition it waits for. One
// table for all 168 functions, so the enabled state of every menu item, tool-bar button and key
// follows from data instead of lists kept beside each handler.
#pragma once

#include <array>
#include <cstdint>

#include "shellcore/FunctionTable.h"

namespace vorn {

// The one condition a function waits for besides the text being editable and a selection.
enum class TEnabledWhen : std::uint8_t {
  Never,          // not built yet: present in menus, tool bar and key list, never runs
  Always,
  FileName,       // the document has a file name
  CanUndo,
  CanRedo,
  ClipboardText,  // the clipboard holds text
  Split,          // the window shows two panes
  MacroReplayable,  // a recorded macro has steps and no recording runs
  DiffShown,      // the window shows difference marks
  DiffPartner,    // the window was compared with another window
};

// The state a function's check mark shows.
enum class TCheckedBy : std::uint8_t { None, Split, VerticalMax, BrowseMode, BoxSelection };

struct TCommandTraits {
  bool ChangesText = false;     // refused while the pane is read-only or in browse mode
  bool NeedsSelection = false;
  bool InBrowseMode = true;     // false: refused in browse mode although it changes nothing
  TEnabledWhen When = TEnabledWhen::Never;
  TCheckedBy Checked = TCheckedBy::None;
};

using TCommandTraitsTable = std::array<TCommandTraits, kFunctionCount>;

// The program's table.
const TCommandTraitsTable& CommandTraitsTable();
inline const TCommandTraits& CommandTraits(int function) { return CommandTraitsTable()[function]; }

// What of a window the traits look at, read once per run or per update of the actions.
struct TCommandState {
  bool ReadOnly = false;
  bool BrowseMode = false;
  bool Selection = false;
  bool FileName = false;
  bool CanUndo = false;
  bool CanRedo = false;
  bool ClipboardText = false;
  bool Split = false;
  bool VerticalMax = false;
  bool BoxSelection = false;
  bool MacroReplayable = false;
  bool DiffShown = false;
  bool DiffPartner = false;
};

bool CommandAllowed(const TCommandTraits& traits, const TCommandState& state);
bool CommandChecked(const TCommandTraits& traits, const TCommandState& state);

}  // namespace vorn
