// Where macro files are found: a name resolved in the program's "Macro" folder and the file
// type's macro folder, the rows of the macro list over both folders with the name-field
// matching, and the twenty numbered slots.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macro/MacroItem.h"
#include "platform/PathVariables.h"

namespace vorn {

struct TMacroFolders {
  std::string ProgramMacro;  // the "Macro" folder beside the program (native, trailing "/")
  std::string TypeMacro;     // the file type's macro folder, path variables expanded; may be empty
  TPathVariableValues Variables;
};

// The file a name (Shift_JIS, as macro arguments hold it) stands for: path variables expanded,
// ".mac" added when the name has no extension; a name with a folder must exist as it is, one
// without is looked for in ProgramMacro, then in TypeMacro. Native path, nullopt when none.
std::optional<std::string> ResolveMacroFile(std::string_view sjisName, const TMacroFolders& folders);

// Path variables in a Shift_JIS argument (a file mask, a program) replaced by their values.
std::string ExpandMacroArgumentPath(std::string_view sjisText, const TPathVariableValues& values);

// A folder as settings store it (Shift_JIS, path variables, "\" or "/") as a native path.
std::string ExpandMacroFolder(std::string_view sjisFolder, const TPathVariableValues& values);

// One row of the macro list.
struct TMacroListRow {
  int Slot = 0;             // 1..20 when a slot holds the file, else 0
  std::string Name;         // the file name (native)
  std::string Description;  // Shift_JIS
  std::string Path;         // native full path
};

// Every "*.mac" (any case) in ProgramMacro, then in TypeMacro, sorted by name without regard
// to case, the program folder's first among equal names. slotFiles are the slots' full paths.
std::vector<TMacroListRow> ListMacroFiles(const TMacroFolders& folders, const std::vector<std::string>& slotFiles);

// What typing a name (native) into the list's name field does: the row that takes the focus
// (the first whose name starts with it, without regard to case) and the row that is selected
// (one whose name is the text, ".mac" added when it has no extension, else the only row that
// starts with it); -1 for none.
struct TMacroNameMatch {
  int Focus = -1;
  int Selected = -1;
};
TMacroNameMatch MatchMacroName(const std::vector<TMacroListRow>& rows, std::string_view typed);

// The name the field shows for a selected row: its file name without the extension.
std::string MacroFieldName(const TMacroListRow& row);

// The twenty numbered macros and the ten macro strings, as the common settings give them.
class TMacroSlots {
public:
  static constexpr int kCount = 20;
  static constexpr int kStringCount = 10;

  // Full paths (empty for none) and the macro strings (Shift_JIS). Each slot takes its file
  // and its description and forgets the steps it had loaded.
  void Apply(const std::vector<std::string>& files, const std::vector<std::string>& strings);
  TMacroSet& Slot(int index) { return slots_[static_cast<std::size_t>(index)]; }
  const TMacroSet& Slot(int index) const { return slots_[static_cast<std::size_t>(index)]; }
  std::vector<std::string> Files() const;
  const std::string& MacroString(int index) const { return strings_[static_cast<std::size_t>(index)]; }

private:
  std::array<TMacroSet, kCount> slots_;
  std::array<std::string, kStringCount> strings_;
};

}  // namespace vorn
