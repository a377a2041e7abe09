// Matching Shift_JIS file names against the extension entries and masks that file types claim
// files with. Grep's masks (search/FileMask.h) match native names byte by byte instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The extension of a name, dot included ("" when the name part has no dot). Both "/" and "\"
// end the folder part, so names from settings written elsewhere still split correctly.
std::string_view ExtractFileExt(std::string_view name);

// "?" stands for one character (a double-byte character counts as one) and "*" for any run;
// ASCII letter case is ignored. Shift_JIS text on both sides.
bool MatchesTypeMask(std::string_view name, std::string_view mask);

// One entry of a type's extension list, prepared once so that choosing a type costs a few
// comparisons per entry: ".TXT" is compared with the name's upper-cased extension, anything
// else (Makefile*, *.c, *.) is a mask matched against the whole name.
struct TFileNameKey;

class TFileMaskEntry {
public:
  explicit TFileMaskEntry(std::string_view entry);

  bool Matches(const TFileNameKey& key) const;

private:
  std::string upper_;
  bool extensionOnly_;
  // The first eight bytes of an extension entry as one number: most entries are told apart
  // from the name's extension by one comparison.
  std::uint64_t packed_ = 0;
  // Literal text before the first and after the last wildcard: most masks are rejected by
  // these two comparisons before any wildcard matching starts.
  std::string prefix_;
  std::string suffix_;
  // The literal runs between wildcards, each of which a matching name must contain.
  std::vector<std::string> segments_;
};

// A file name prepared for matching: the name part (no folder), upper-cased, with "."
// appended when it has no extension and does not end with one, so that the mask "*." claims
// names without extension.
struct TFileNameKey {
  explicit TFileNameKey(std::string_view sjisName);
  std::string UpperName;
  std::string UpperExt;
  std::uint64_t PackedExt = 0;
};

// Up to the first eight bytes of text packed into one number (zero-filled).
std::uint64_t PackHead(std::string_view text);

}  // namespace vorn
