// The grep dialog's stored state ("GREP.ini"): its check boxes, the last folder and the three
// histories, with the history and mask rules the dialog applies on OK, and the status-bar text
// of a finished run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

class TCustomIniFile;
class TGrepKeyWord;

inline constexpr const char* kGrepIniFileName = "GREP.ini";

struct TGrepDialogState {
  bool SubFolder = false;
  bool CaseSensitive = false;  // stored inverted, as "IgnoreCase"
  bool UseJre = false;
  bool Word = false;
  bool Fuzz = false;
  bool RelativePath = false;
  bool EnBin = false;
  bool OnlyContents = false;
  bool UsePrevPathHist = false;
  bool UsePrevPathHist2 = false;
  bool OpenFileGrep = false;
  std::string PrevGrepPath;  // Shift_JIS, as stored
  // Newest first; Shift_JIS as stored (the mask and folder lists hold paths).
  std::vector<std::string> Keywords, Masks, Folders;

  // openFileEnabled: "OpenFileGrep" is read and written only while its box can be used.
  void Load(const TCustomIniFile& ini, bool openFileEnabled);
  void Save(TCustomIniFile& ini, bool openFileEnabled) const;
};

// Moves entry to the top of history, removing an entry equal to it but for letter case first.
// Empty (blank) entries are not kept.
void PushGrepHistory(std::vector<std::string>& history, const std::string& entry);

// A mask without a file-name part ("src/", "") searches every file of that folder: it gets
// "*.*". A "\" written as the last character counts as the folder separator.
std::string CompleteGrepMask(const std::string& mask);

// A played-back grep command with a non-empty first argument runs without the dialog. The
// arguments (Shift_JIS, as macros store them): search word, file mask (path variables already
// expanded), then SubFolder, Case, Word, UseJre, Fuzz, EnBin as "0"/"1"; missing ones count as
// "0". The mask is resolved against baseFolder (native). False when the first argument is empty.
bool GrepConditionFromMacroArgs(const std::vector<std::string>& args, const std::string& baseFolder,
                                TGrepKeyWord& condition);

// The status-bar text after a run (Shift_JIS).
std::string GrepStatusText(std::int64_t hitCount, std::int64_t fileCount);

}  // namespace vorn
