// The common settings dialog below its widgets: the key page's assignments on the process's
// key table, the tool-bar page's button list, the command help pages and the macro rows.
#pragma once

#include "shellcore/KeyTable.h"

#include <string>
#include <vector>

namespace vorn {

// The pseudo-function of the key page's last tree node: the station's hot key.
constexpr int kHotKeyFunction = -2;

enum TAssignOutcome {
  aoAssigned,
  aoRefusedShift,  // a shift-extends function on a combination with Shift
  aoAskHotKey,     // the hot key: the caller asks first, then calls AssignHotKey
  aoNothing,       // no key or no function chosen
};

// Edits a key table in place, with the hot-key values of the common settings beside it.
class TKeyAssignPage {
public:
  TKeyAssignPage(TKeyTable& table, int& hotKey, int& hotKeyModifier)
      : table_(table), hotKey_(hotKey), hotKeyModifier_(hotKeyModifier) {}

  // Every combination holding the function (kHotKeyFunction: the marker), modifier rows 0..7
  // then keys 0..255, named as the dialog names them.
  std::vector<std::string> KeysOf(int function) const;
  // What the key field's combination holds: a function number, kHotKeyFunction or kNoAssignment.
  int AssignedAt(int modifiers, int key) const { return table_.At(modifiers, key); }

  TAssignOutcome Assign(int function, int modifiers, int key);
  // The question's Yes: the combination becomes the hot key, in the common settings' modifier
  // bits (Alt 1, Ctrl 2, Shift 4); an earlier hot key's marker is taken off the table.
  void AssignHotKey(int modifiers, int key);
  // Takes the combination's assignment off; the hot key's values go with its marker.
  void Clear(int modifiers, int key);
  void ResetToBuiltIn();

  // "割り付け(&D)" for a tree node: off for categories, on for a function when a key is
  // chosen; for the hot key only while it has no key yet.
  bool AssignEnabled(bool functionNode, int function, bool keyChosen) const;
  bool HasHotKey() const;

private:
  TKeyTable& table_;
  int& hotKey_;
  int& hotKeyModifier_;
};

// The message for aoRefusedShift.
const char* ShiftExtendsRefusal();
// The question before aoAskHotKey is carried out.
const char* HotKeyQuestion();

// The table's modifier index (Shift 1, Ctrl 2, Alt 4) in the common settings' bits (Alt 1,
// Ctrl 2, Shift 4), and back.
int HotKeyModifierOf(int modifiers);
int ModifiersOfHotKey(int hotKeyModifier);

// The tool-bar page: the buttons left to right, function numbers or kToolBarSeparatorEntry.
class TToolBarList {
public:
  static constexpr int kSeparator = -1;
  explicit TToolBarList(std::vector<int> buttons) : buttons_(std::move(buttons)) {}

  const std::vector<int>& Buttons() const { return buttons_; }
  int Selected() const { return selected_; }
  void Select(int row) { selected_ = row >= 0 && row < static_cast<int>(buttons_.size()) ? row : -1; }

  // Before the selected row, or at the end with none; the new row becomes the selected one.
  void Insert(int function);
  void Remove();
  void MoveUp();
  void MoveDown();
  bool CanRemove() const { return selected_ >= 0; }
  bool CanMoveUp() const { return selected_ > 0; }
  bool CanMoveDown() const { return selected_ >= 0 && selected_ + 1 < static_cast<int>(buttons_.size()); }

private:
  std::vector<int> buttons_;
  int selected_ = -1;
};

// The row text of a tool-bar entry: the function's name, "[--------]" for a separator.
std::string ToolBarRowText(int entry);

// "CMD_" + the action's name without "Action", every run of digits as one "X", + ".html".
std::string CommandHelpPage(const std::string& actionName);

// The macro page's file column: relative to the "Macro/" folder beside the program when the
// file lies directly in it, else the full path.
std::string MacroSlotFileText(const std::string& programFolder, const std::string& fullPath);

}  // namespace vorn
