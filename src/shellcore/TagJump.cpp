// The tag-jump scanner. A candidate ends the name only where it names an existing file, so
// names with spaces, parentheses or colons still resolve as long as the longer one exists.
#include "shellcore/TagJump.h"

#include "platform/Cp932Utf8.h"

#include <algorithm>

#include "base/TextUtil.h"
#include "base/sjis.h"
#include "encoding/jconvert.h"

namespace vorn {
namespace {

constexpr char kWideSpace0 = '\x81', kWideSpace1 = '\x40';

bool IsWideSpaceAt(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && s[i] == kWideSpace0 && s[i + 1] == kWideSpace1;
}

bool DroppedEverywhere(char c) {
  return c == '"' || c == '*' || c == ',' || c == ';' || c == '<' || c == '>' || c == '?' || c == '|';
}

bool EndsWhenFound(char c) { return c == '(' || c == ':' || c == '['; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The line number after the name: at most five single-byte non-digits and full-width spaces
// are skipped before the digits; any other double-byte character ends the search.
std::optional<int> LineNumberFrom(std::string_view line, std::size_t pos) {
  for (int skipped = 0; pos < line.size() && !IsDigit(line[pos]); ++skipped) {
    if (skipped == 5) return std::nullopt;
    if (IsWideSpaceAt(line, pos)) {
      pos += 2;
    } else if (sjis::IsLeadByte(line[pos])) {
      return std::nullopt;
    } else {
      ++pos;
    }
  }
  // A number beyond any line count is clamped rather than allowed to overflow.
  constexpr int kLargest = 1000000000;
  int value = 0;
  const std::size_t start = pos;
  for (; pos < line.size() && IsDigit(line[pos]); ++pos)
    value = value >= kLargest / 10 ? kLargest : value * 10 + (line[pos] - '0');
  if (pos == start) return std::nullopt;
  return value;
}

}  // namespace

TTagJumpTarget ScanTagJump(std::string_view rawLine, const std::function<bool(const std::string&)>& nameIsFile) {
  const std::string line = TrimBlanks(rawLine, true, true);
  TTagJumpTarget target;
  std::string& name = target.Name;
  bool quoted = false;
  std::size_t i = 0;
  const auto found = [&] { return !name.empty() && nameIsFile(name); };
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (sjis::IsLeadByte(c) && i + 1 < line.size()) {
      if (IsWideSpaceAt(line, i)) {
        if (found()) break;
        if (!name.empty()) name.append(line, i, 2);
      } else {
        name.append(line, i, 2);
      }
      ++i;
      continue;
    }
    if (c == '"') {
      quoted = !quoted;
      if (!quoted && found()) break;
      continue;
    }
    if (!quoted && (c == ' ' || c == '\t')) {
      if (found()) break;
      if (!name.empty()) name += c;
      continue;
    }
    if (c == '\\' || c == '/') {
      name += '/';
      continue;
    }
    if (DroppedEverywhere(c)) continue;
    if (!quoted && EndsWhenFound(c) && found()) break;
    name += c;
  }
  target.Found = found();
  if (target.Found) target.Line = LineNumberFrom(line, i);
  return target;
}

std::string TagJumpNotFoundText(const std::string& name) {
  return ConvertCharCode("ファイル ", ckUtf8N, ckSjis) + name + ConvertCharCode(" が見つかりません", ckUtf8N, ckSjis);
}

std::string TagJumpFindMacro(const TTagJumpFind& find) {
  std::string quoted;
  for (char c : find.Keyword) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  std::string macro = "Find('" + quoted + "'";
  for (int option : find.Options) macro += "," + std::to_string(option);
  return macro + ",1)";
}

std::string TagJumpParameters(const TTagJumpTarget& target, const std::string& macroLine, int monitor) {
  std::string params = "\"" + target.Name + "\"";
  if (target.Line) params += " -j" + std::to_string(*target.Line);
  // The command line is native text; the copy makes the line Shift_JIS again.
  if (!macroLine.empty()) params += " \"-l" + Cp932ToUtf8(macroLine) + "\"";
  return params + " -x" + std::to_string(monitor);
}

std::string EncodeQuote(std::string_view selected, bool* lineEndDropped) {
  const bool dropEnd = !selected.empty() && selected.back() == '\n';
  if (lineEndDropped) *lineEndDropped = dropEnd;
  if (dropEnd) selected.remove_suffix(std::min<std::size_t>(2, selected.size()));
  std::string out = "\"";
  for (char c : selected) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

}  // namespace vorn
