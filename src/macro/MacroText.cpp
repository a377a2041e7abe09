// Trimming and validity of Shift_JIS macro text.
#include "macro/MacroText.h"

#include "base/sjis.h"
#include "encoding/jconvert.h"
#include "platform/cp932.h"

namespace vorn {
namespace {

constexpr std::string_view kWideSpace = "\x81\x40";

std::size_t BlankAt(std::string_view s, std::size_t pos) {
  if (s[pos] == ' ' || s[pos] == '\t') return 1;
  return s.substr(pos, 2) == kWideSpace ? 2 : 0;
}

}  // namespace

std::string_view TrimMacroBlanksLeft(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t n = BlankAt(text, pos);
    if (n == 0) break;
    pos += n;
  }
  return text.substr(pos);
}

std::string_view TrimMacroBlanksRight(std::string_view text) {
  // Spaces and tabs are never trail bytes; only a final 81 40 needs the walk from the start
  // that tells a full-width space from the trail byte 0x40 of another character.
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.size() < 2 || text.substr(text.size() - 2) != kWideSpace) return text;
  std::size_t keep = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t n = BlankAt(text, pos);
    if (n == 0) {
      n = sjis::CharLen(text, pos);
      keep = pos + n;
    }
    pos += n;
  }
  return text.substr(0, keep);
}

std::size_t FirstNonSjisByte(std::string_view text) {
  const TCp932Table& table = Cp932Table();
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (sjis::IsLeadByte(b)) {
      if (i + 1 >= text.size()) return i;
      const auto t = static_cast<unsigned char>(text[i + 1]);
      if (!sjis::IsTrailByte(t) || table.dbcs[(b << 8) | t] == 0) return i;
      i += 2;
    } else {
      if (table.single[b] == Cp932InvalidUnit) return i;
      ++i;
    }
  }
  return std::string_view::npos;
}

}  // namespace vorn

namespace vorn {

bool IsUtf8Text(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0x80 ? 1 : (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3
                                     : (b >= 0xF0 && b <= 0xF4) ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

std::string MacroLineFromCommandLine(std::string_view argument) {
  if (!IsUtf8Text(argument)) return std::string(argument);
  return ConvertCharCode(argument, ckUtf8N, ckSjis);
}

}  // namespace vorn
