// jconvert: detection and conversion of character codes.
#include "text/jconvert.h"

namespace vorn {

TCharCodeKind DetectCharCode(std::string_view) { return ckSjis; }

std::string ConvertCharCode(std::string_view text, TCharCodeKind, TCharCodeKind, std::size_t* substituted) {
  if (substituted) *substituted = 0;
  return std::string(text);
}

const char* StatusBarCodeName(TCharCodeKind kind) {
  switch (kind) {
    case ckJis: return "JIS(RO)";
    case ckJisAscii: return "JIS(AS)";
    case ckEuc: return "EUC";
    case ckUnicodeLE: return "UNI(LE)";
    case ckUnicodeBE: return "UNI(BE)";
    case ckUtf8: return "UTF-8";
    case ckUtf8N: return "UTF-8N";
    case ckUtf7: return "UTF-7";
    default: return "SJIS";
  }
}

}  // namespace vorn
