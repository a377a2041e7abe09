// What a command shows in a menu, and the few actions that are no numbered function.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vorn {

// Actions of a window that stand outside the numbered functions.
struct TExtraAction {
  std::string_view Name;     // without "Action"
  std::string_view Caption;  // UTF-8; empty for those that stand in no menu
  bool Checkable;
};

std::span<const TExtraAction> ExtraActions();
const TExtraAction* ExtraActionByName(std::string_view name);

// The menu caption of a function or extra action (UTF-8, "&" marks the accelerator); empty for
// an unknown name.
std::string MenuCaption(std::string_view commandName);

// The display name with "(&" letter ")" put before a trailing "..." or else at the end.
std::string CaptionWithAccelerator(std::string_view displayName, char letter);

// The integer a numbered family's shared handler reads: the mark digit, the macro number, 1
// for saving only modified files; 0 for everything else.
int ActionTag(int functionNumber);

}  // namespace vorn
