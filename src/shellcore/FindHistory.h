// The find dialog's stored state: the history of conditions in "FindHist.kdt", the macro
// arguments of a find step, and the texts the find commands report with.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "syntax/KeyWord.h"

namespace vorn {

inline constexpr const char* kFindHistoryFileName = "FindHist.kdt";
inline constexpr int kFindHistoryLimit = 10;

using TFindHistory = std::vector<std::unique_ptr<TFindKeyWord>>;

// Reads the history, oldest first, leaving out conditions without a pattern. A missing file
// gives an empty history and no error; a damaged one (cut short, a count outside 0..10, a
// string that is not Shift_JIS, bytes left over) gives an empty history and the reason
// (Shift_JIS) in error.
TFindHistory LoadFindHistory(const std::string& path, std::string& error);
// The history's image: at most its last ten entries.
std::string FindHistoryImage(const TFindHistory& history);
// Writes the image; false when the file could not be written.
bool SaveFindHistory(const std::string& path, const TFindHistory& history);

// A played-back find or replace step: search text, for replace the replacement, then Case,
// Word, UseJre, Fuzz (0/1), the action (1-4), 1 to keep the previous range, and for replace
// all two flags: no result message, no progress window.
struct TFindMacroStep {
  std::string Pattern;
  std::string Replacement;
  bool Case = false;
  bool Word = false;
  bool UseJre = false;
  bool Fuzz = false;
  int Action = 1;
  bool PrevRange = false;
  bool NoMessage = false;
  bool NoProgress = false;
};
// False when the first argument is empty (the dialog is shown instead).
bool FindStepFromMacroArgs(const std::vector<std::string>& args, bool replace, TFindMacroStep& step);
// The arguments a recorded find step stores; the two replace-all flags are recorded as "0".
std::vector<std::string> FindStepMacroArgs(const TFindMacroStep& step, bool replace);

// Texts (Shift_JIS) of the find commands.
std::string FindNoMatchText();
std::string ReplaceCountStatusText(int count);
std::string ReplaceResultMessage(int count);
std::string InvalidPatternMessage(const std::string& engineMessage);

}  // namespace vorn
