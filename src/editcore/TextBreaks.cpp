// Line breaks in text that enters the editor: normalising them and cutting text into lines.
#include "editcore/TextBreaks.h"

#include <algorithm>
#include <cstring>

namespace vorn {

namespace {
// Length of the break at i (0 when text[i] is no break byte).
std::size_t BreakAt(std::string_view text, std::size_t i) {
  if (text[i] == '\n') return 1;
  if (text[i] != '\r') return 0;
  return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}

// Every LF follows a CR and there are as many CRs as LFs: no break needs rewriting.
bool OnlyCrLfBreaks(std::string_view text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  std::size_t pairs = 0;
  for (const char* p = begin; p < end; ++p) {
    p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (!p) break;
    if (p == begin || p[-1] != '\r') return false;
    ++pairs;
  }
  return static_cast<std::size_t>(std::count(begin, end, '\r')) == pairs;
}

}  // namespace

// Text that already breaks with CR LF alone (a drop or paste from the editor itself) is copied
// whole; otherwise the bytes between breaks go over in one piece each.
std::string WithCrLfBreaks(std::string_view text) {
  if (OnlyCrLfBreaks(text)) return std::string(text);
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
