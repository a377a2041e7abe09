// TKeyPath: the one way a key-down becomes a command or typed text. The key table names the
// function, the dispatcher runs it (with Shift when Shift is held); the text the key carries is
// typed unless the function stood for that character (Ctrl+M must not also type a line break).
#pragma once

#include "shellcore/CommandDispatcher.h"
#include "shellcore/KeyTable.h"

namespace vorn {

class TKeyPath {
public:
  // table is read at every key, so a table loaded later is in force at once.
  TKeyPath(TCommandDispatcher& dispatcher, const TKeyTable& table) : dispatcher_(dispatcher), table_(table) {}

  // Esc without modifiers closes the window, whatever the table says.
  void SetEscCloses(bool on) { escCloses_ = on; }

  // Runs the function of key (a virtual-key code) under modifiers (kmShift | kmCtrl | kmAlt);
  // answers whether the pane still types the text the key carries.
  bool KeyDown(int key, int modifiers);
  // A function is assigned to the key, so no shortcut of the window may take it.
  bool Assigned(int key, int modifiers) const;

private:
  TCommandDispatcher& dispatcher_;
  const TKeyTable& table_;
  bool escCloses_ = false;
};

}  // namespace vorn
