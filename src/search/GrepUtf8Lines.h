// Searching a UTF-8 file for grep without converting all of it: only the lines that may match
// are converted to Shift_JIS and searched.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/GrepAnchors.h"
#include "search/GrepLineSearch.h"

namespace vorn {

// Whether the text converts to Shift_JIS one character at a time, each character the same
// wherever it stands: no NUL (the conversion ends there), no ill-formed, four-byte or
// surrogate form, and no signature character (one that starts a text is dropped).
bool ConvertsCharByChar(std::string_view utf8);

// Every UTF-8 form whose conversion gives the Shift_JIS text, when a text that converts
// character by character must hold one of them wherever its conversion holds the text; false
// when that cannot be promised in a few forms (the default character, a lone lead byte).
bool Utf8FormsOf(std::string_view sjis, std::vector<std::string>& forms);

// Finds the lines of a UTF-8 text that may hold a match: those with a UTF-8 form of one of the
// characters every match holds (TGrepLineSearcher::RequiredCharacters), the rarest in the
// first text it is given. One per worker.
class TUtf8LineFinder {
public:
  TUtf8LineFinder(const std::vector<std::vector<std::string>>& required, bool foldCase);
  bool Usable() const { return !classes_.empty(); }

  // Searches a UTF-8 piece with the searcher, each line that may match through its Shift_JIS
  // conversion, as TGrepLineSearcher::SearchPiece would search the whole piece converted (with
  // no tail kept); linesDone receives the lines of the piece. False, with nothing searched,
  // when the piece does not convert character by character: it must be converted whole.
  bool SearchPiece(std::string_view utf8, std::int64_t firstLine, TGrepLineSearcher& searcher,
                   const TGrepLineHit& onHit, const std::atomic<bool>& cancel,
                   std::atomic<std::int64_t>& currentLine, std::size_t& linesDone);

private:
  void Choose(std::string_view sample);

  std::vector<std::vector<std::string>> classes_;  // per usable character: its UTF-8 forms
  TAnyOfFinder finder_;
  bool chosen_ = false;
  bool foldCase_;
  std::string converted_;
};

}  // namespace vorn
