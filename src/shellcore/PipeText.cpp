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

TPipeOutput PipeOutputText(std::string_view bytes) {
  TPipeOutput out;
  TCharCodeKind kind = DetectCharCode(bytes);
  if (kind == ckAscii || kind == ckBinary || kind == ckEucOrSjis) kind = ckSjis;
  out.Detected = kind;
  std::string text = kind == ckSjis ? std::string(bytes) : ConvertCharCode(bytes, kind, ckSjis, &out.Lost);
  std::replace(text.begin(), text.end(), '\0', ' ');
  out.Text = NormalizeBreaksToCrLf(text);
  return out;
}

}  // namespace vorn
