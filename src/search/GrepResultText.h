// The text of grep's result list: header lines, match lines and error lines, in Shift_JIS.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TBregexpObj;
struct TGrepOptions;

// The four header lines: "=" rule, title, "Grep(...)" with the condition, "=" rule.
std::vector<std::string> GrepHeaderLines(const TBregexpObj& pattern, const TGrepOptions& options);

// A native (UTF-8) path as the result text shows it: Shift_JIS, with the default character for
// what Shift_JIS cannot hold.
std::string GrepDisplayPath(std::string_view nativePath);

// "path(line):text", or the bare text with MatchedTextOnly; NUL bytes of text become blanks.
std::string GrepMatchLine(std::string_view displayPath, std::int64_t lineNumber, std::string_view text,
                          bool matchedTextOnly);

// "■ path の読み込み中にエラーが起きました".
std::string GrepErrorLine(std::string_view displayPath);

// The folder searched and the ";"-list of masks of a file mask: "\" taken as "/", resolved
// against baseFolder (the current folder when empty); an empty name part means every file.
struct TGrepTarget {
  std::string Folder;  // absolute, with a trailing "/"
  std::string Masks;
};
TGrepTarget ResolveGrepTarget(std::string_view fileMask, std::string_view baseFolder);

}  // namespace vorn
