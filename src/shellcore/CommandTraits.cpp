// The traits of the numbered functions as lists of names, so that each reads as one set.
#include "shellcore/CommandTraits.h"

#include <string_view>
#include <utility>

namespace vorn {
namespace {

using TWhen = TEnabledWhen;

// The functions no window carries out yet; they show, disabled.
constexpr std::string_view kNotBuilt[] = {
    "ChangeCharCode", "WordRegister",
};

constexpr std::string_view kChangesText[] = {
    "Cut", "Paste", "InyouPaste", "Delete", "DeleteLine", "DeleteLineEnd", "DeleteLineStart", "DeleteWord",
    "BackSpace", "Enter", "Tab", "InsertEmptyLine", "ExchangeUpperLower", "ChangeUpperCase", "ChangeLowerCase",
    "TabToSpace", "SpaceToTab", "InsertIndent", "ReverseIndent", "CenterAlign", "LeftAlign", "RightAlign",
    "ReadFileToCaret", "Replace", "Seikei", "DivideLine", "ChangeCharCode",
};

constexpr std::string_view kNeedsSelection[] = {
    "Copy", "Cut", "InyouCopy", "SaveSelectedToFile", "ExchangeUpperLower", "ChangeUpperCase", "ChangeLowerCase",
    "EncodeQuote", "SpaceToTab",
};

// Browse mode reads the text as laid out: these would look at the logical lines or the caret
// beyond the text, which reading does not need.
constexpr std::string_view kNotInBrowseMode[] = {
    "MoveLogicalLineStart", "MoveLogicalLineEnd", "SelectLine", "CopyWord", "CopyLine", "ToggleFreeCaret",
};

constexpr std::pair<std::string_view, TWhen> kConditions[] = {
    {"CloseOpen", TWhen::FileName},      {"OpenExplorer", TWhen::FileName},
    {"OpenFileExec", TWhen::FileName},   {"OpenFilenameCopy", TWhen::FileName},
    {"Undo", TWhen::CanUndo},            {"Redo", TWhen::CanRedo},
    {"Paste", TWhen::ClipboardText},     {"InyouPaste", TWhen::ClipboardText},
    {"SplitterUp", TWhen::Split},        {"SplitterDown", TWhen::Split},
    {"ReplayMacro", TWhen::MacroReplayable},
    {"FindUnderDiff", TWhen::DiffShown},     {"FindOverDiff", TWhen::DiffShown},
    {"ClearDiffInfo", TWhen::DiffShown},     {"ChangeDiffFocus", TWhen::DiffPartner},
};

constexpr std::pair<std::string_view, TCheckedBy> kChecked[] = {
    {"DivideWindow", TCheckedBy::Split},
    {"MaximizeVertical", TCheckedBy::VerticalMax},
    {"ToggleBrowseMode", TCheckedBy::BrowseMode},
    {"BoxSelection", TCheckedBy::BoxSelection},
};

TCommandTraitsTable BuildTable() {
  TCommandTraitsTable table;
  for (TCommandTraits& t : table) t.When = TWhen::Always;
  for (std::string_view name : kNotBuilt) table[FunctionNumber(name)].When = TWhen::Never;
  for (std::string_view name : kChangesText) table[FunctionNumber(name)].ChangesText = true;
  for (std::string_view name : kNeedsSelection) table[FunctionNumber(name)].NeedsSelection = true;
  for (std::string_view name : kNotInBrowseMode) table[FunctionNumber(name)].InBrowseMode = false;
  for (const auto& [name, when] : kConditions)
    if (table[FunctionNumber(name)].When != TWhen::Never) table[FunctionNumber(name)].When = when;
  for (const auto& [name, checked] : kChecked) table[FunctionNumber(name)].Checked = checked;
  return table;
}

bool ConditionHolds(TWhen when, const TCommandState& s) {
  switch (when) {
    case TWhen::Never: return false;
    case TWhen::Always: return true;
    case TWhen::FileName: return s.FileName;
    case TWhen::CanUndo: return s.CanUndo;
    case TWhen::CanRedo: return s.CanRedo;
    case TWhen::ClipboardText: return s.ClipboardText;
    case TWhen::Split: return s.Split;
    case TWhen::MacroReplayable: return s.MacroReplayable;
    case TWhen::DiffShown: return s.DiffShown;
    case TWhen::DiffPartner: return s.DiffPartner;
  }
  return false;
}

}  // namespace

const TCommandTraitsTable& CommandTraitsTable() {
  static const TCommandTraitsTable table = BuildTable();
  return table;
}

bool CommandAllowed(const TCommandTraits& traits, const TCommandState& s) {
  if (traits.ChangesText && (s.ReadOnly || s.BrowseMode)) return false;
  if (traits.NeedsSelection && !s.Selection) return false;
  if (!traits.InBrowseMode && s.BrowseMode) return false;
  return ConditionHolds(traits.When, s);
}

bool CommandChecked(const TCommandTraits& traits, const TCommandState& s) {
  switch (traits.Checked) {
    case TCheckedBy::None: return false;
    case TCheckedBy::Split: return s.Split;
    case TCheckedBy::VerticalMax: return s.VerticalMax;
    case TCheckedBy::BrowseMode: return s.BrowseMode;
    case TCheckedBy::BoxSelection: return s.BoxSelection;
  }
  return false;
}

}  // namespace vorn
