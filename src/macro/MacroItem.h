// The keyboard macro's model: a step (a numbered function with its arguments and Shift, or a
// text to type) and a set of steps with the file it came from and its description.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

enum class TMacroStepKind : std::uint8_t { mkCommand = 0, mkText = 1 };

struct TMacroItem {
  // A step carries at most this many arguments; the file grammar reads no more.
  static constexpr int kMaxArguments = 10;

  TMacroStepKind Kind = TMacroStepKind::mkCommand;
  int Function = -1;       // 0..167 for a command step
  bool Shift = false;      // a command step runs with Shift held
  std::string Text;        // Shift_JIS, the text a text step types
  std::vector<std::string> Arguments;  // Shift_JIS, at most kMaxArguments

  static TMacroItem Command(int function, bool shift = false, std::vector<std::string> arguments = {});
  static TMacroItem Typed(std::string text);
  bool IsText() const { return Kind == TMacroStepKind::mkText; }
  friend bool operator==(const TMacroItem&, const TMacroItem&) = default;
};

// A list of steps. A set whose steps are empty but whose file exists reads the file when it
// runs, so slots and named macros hold only a file name until their first run.
struct TMacroSet {
  std::vector<TMacroItem> Steps;
  std::string FileName;     // native path; empty for the recording before its first save
  std::string Description;  // Shift_JIS
  friend bool operator==(const TMacroSet&, const TMacroSet&) = default;
};

}  // namespace vorn
