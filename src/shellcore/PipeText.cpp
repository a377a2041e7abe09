// Converting the text on its way to and from an outside program.
#include "shellcore/PipeText.h"

#include <algorithm>

namespace vorn {
namespace {

std::string BreaksTo(std::string_view text, std::string_view lineBreak) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += lineBreak;
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view BreakBytes(TLineBreakKind kind) {
  switch (kind) {
    case lbCR: return "\r";
    case lbLF: return "\n";
    default: return "\r\n";
  }
}

// Every byte above ASCII in two-byte EUC-JP pairs, kana after 0x8E, or a 0x8F triple.
bool WellFormedEuc(std::string_view s) {
  auto high = [](unsigned char c) { return c >= 0xA1 && c <= 0xFE; };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) continue;
    const std::size_t need = c == 0x8F ? 2 : 1;
    if (!(high(c) || c == 0x8E || c == 0x8F) || i + need >= s.size()) return false;
    for (std::size_t k = 1; k <= need; ++k)
      if (!high(static_cast<unsigned char>(s[i + k]))) return false;
    i += need;
  }
  return true;
}

bool WellFormedUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) continue;
    const std::size_t need = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c <= 0xDF ? 1 : 0;
    if (need == 0 || c > 0xF4 || i + need >= s.size()) return false;
    for (std::size_t k = 1; k <= need; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += need;
  }
  return true;
}

// The detection's answer, unless it only could not tell the sent code from Shift_JIS.
TCharCodeKind OutputCode(std::string_view bytes, TCharCodeKind sentCode) {
  const TCharCodeKind kind = DetectCharCode(bytes);
  if (kind == ckBinary) return ckSjis;
  const bool undecided = kind == ckSjis || kind == ckEucOrSjis || kind == ckAscii;
  if (undecided && sentCode == ckEuc && WellFormedEuc(bytes)) return ckEuc;
  if (undecided && (sentCode == ckUtf8 || sentCode == ckUtf8N) && WellFormedUtf8(bytes)) return ckUtf8N;
  return kind == ckAscii || kind == ckEucOrSjis ? ckSjis : kind;
}

}  // namespace

std::string NormalizeBreaksToCrLf(std::string_view text) { return BreaksTo(text, "\r\n"); }

std::string PipeInputBytes(std::string_view sjisText, TCharCodeKind charCode, TLineBreakKind lineBreak,
                           std::size_t& lost) {
  lost = 0;
  std::string bytes = lineBreak == lbCRLF || lineBreak == lbUnknown ? std::string(sjisText)
                                                                     : BreaksTo(sjisText, BreakBytes(lineBreak));
  if (charCode == ckSjis || charCode == ckAscii || charCode == ckBinary || charCode == ckEucOrSjis) return bytes;
  return ConvertCharCode(bytes, ckSjis, charCode, &lost);
}

TPipeOutput PipeOutputText(std::string_view bytes, TCharCodeKind sentCode) {
  TPipeOutput out;
  const TCharCodeKind kind = OutputCode(bytes, sentCode);
  out.Detected = kind;
  std::string text = kind == ckSjis ? std::string(bytes) : ConvertCharCode(bytes, kind, ckSjis, &out.Lost);
  std::replace(text.begin(), text.end(), '\0', ' ');
  out.Text = NormalizeBreaksToCrLf(text);
  return out;
}

}  // namespace vorn
