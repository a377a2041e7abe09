// The numbered editor functions: what the key table, the tool-bar file and the macro language
// store and name. Numbers and names are a stored format; neither may change.
#pragma once

#include <array>
#include <bitset>
#include <string_view>
#include <vector>

namespace vorn {

constexpr int kFunctionCount = 168;
constexpr int kCategoryCount = 11;  // 0 (macro-only, not listed) and 1 to 10

struct TFunctionInfo {
  int Number;
  std::string_view Name;         // the action's name without "Action"
  std::string_view DisplayName;  // UTF-8; key list, function tree, tool-bar hint
  int Category;
  bool ShiftExtends;  // reached through Shift + an unassigned key, it runs with Shift held
  bool Shortcut;      // its key assignments also show in the menus
};

// The function of a number, or nullptr outside 0..167.
const TFunctionInfo* FunctionByNumber(int number);

// The function whose name equals name without regard to ASCII case, or nullptr. A trailing
// "Action" is accepted too, so macro steps and action names resolve alike.
const TFunctionInfo* FunctionByName(std::string_view name);

// The number of the function named name, which must be one (a name the program itself spells).
inline int FunctionNumber(std::string_view name) { return FunctionByName(name)->Number; }

// All functions in number order.
const std::array<TFunctionInfo, kFunctionCount>& AllFunctions();

using TFunctionSet = std::bitset<kFunctionCount>;

// The set of the named functions (names the program itself spells).
template <class TNames>
TFunctionSet FunctionSetOf(const TNames& names) {
  TFunctionSet set;
  for (std::string_view name : names) set.set(static_cast<std::size_t>(FunctionNumber(name)));
  return set;
}

// The category's name (UTF-8); empty for category 0 and outside 1..10.
std::string_view CategoryName(int category);

bool IsFunctionNumber(int value);

// The functions the settings dialog lists under a category node, in number order; none for
// category 0, whose functions serve macros only.
std::vector<int> FunctionsOfCategory(int category);

}  // namespace vorn
