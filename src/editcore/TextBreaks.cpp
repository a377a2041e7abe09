// Line breaks in text that enters the editor: normalising them and cutting text into lines.
#include "editcore/TextBreaks.h"

namespace vorn {

namespace {
// Length of the break at i (0 when text[i] is no break byte).
std::size_t BreakAt(std::string_view text, std::size_t i) {
  if (text[i] == '\n') return 1;
  if (text[i] != '\r') return 0;
  return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}
}  // namespace

// The bytes between breaks go over in one piece each, so the text of a big paste or drop is
// not appended byte by byte.
std::string WithCrLfBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t at = i;
    while (at < text.size() && text[at] != '\r' && text[at] != '\n') ++at;
    out.append(text.substr(i, at - i));
    if (at == text.size()) break;
    out.append("\r\n");
    i = at + BreakAt(text, at);
  }
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t br = BreakAt(text, i);
    if (br == 0) {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += br;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace vorn
