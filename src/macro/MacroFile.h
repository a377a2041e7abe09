// The ".mac" text format: one step or comment per line, in Shift_JIS with CR LF, read by the
// grammar users write by hand and written back in the form the reader gives the same steps from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "macro/MacroItem.h"

namespace vorn {

// What one line gives. A line that names no command, an empty line and a bare "InputStr" give
// nothing; a line the grammar cannot read gives an error instead of a guess.
struct TMacroLine {
  enum TKind { lkNothing, lkComment, lkStep, lkError };
  TKind Kind = lkNothing;
  TMacroItem Step;      // lkStep
  std::string Comment;  // lkComment: the text after "//", trimmed
  std::string Error;    // lkError: the reason (UTF-8)
};

// Reads one line (Shift_JIS, without its line end).
TMacroLine ParseMacroLine(std::string_view line);

// The function a macro file names, without regard to case; -1 for none.
int MacroFunctionByName(std::string_view name);

// A typed text becomes one row of the document, so a line may be no longer than a row can be.
struct TMacroReadLimits {
  std::size_t MaxLineBytes = 0x7FFFFFFF;
  std::size_t MaxFileBytes = std::size_t{1} << 30;
};

struct TMacroReadResult {
  bool Ok = true;
  int Line = 0;        // 1-based line of the failure; 0 for the file as a whole
  std::string Reason;  // UTF-8
};

// Reads a whole file's bytes into the set's steps and description, replacing them; on a
// failure the set is left as it was, so a damaged file never runs in part. Lines end in CR LF,
// LF or CR.
TMacroReadResult ReadMacroText(std::string_view bytes, TMacroSet& set, const TMacroReadLimits& limits = {});

// "マクロファイル「path」の n 行目: reason", the message every reader failure is shown with.
std::string MacroReadMessage(const std::string& path, const TMacroReadResult& result);

// Reads set.FileName into set. Empty on success, else the message naming file and line.
std::string LoadMacroFile(TMacroSet& set, const TMacroReadLimits& limits = {});

// The file text of a set. A text or argument holding a line break, or bytes that are not
// Shift_JIS, cannot be one line that reads back the same: error then names the step and the
// result is empty.
std::string MacroFileText(const TMacroSet& set, std::string* error);

// Writes the set to set.FileName through a temporary file. Empty on success, else the message.
std::string SaveMacroFile(const TMacroSet& set);

// The description the macro list shows: the first line's text after "//" when that line is a
// comment, leading blanks removed; empty otherwise.
std::string MacroListDescription(std::string_view fileStart);

// A file's description for the list, read from its first line only.
std::string ReadMacroListDescription(const std::string& path);

}  // namespace vorn
