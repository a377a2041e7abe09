// The letters of the code and line-break switches, and the switches the program writes.
#include "textfile/CodeLetters.h"

namespace vorn {

namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::optional<TCharCodeKind> CodeKindOfKnownLetter(char letter) {
  switch (Lower(letter)) {
    case 's': return ckSjis;
    case 'j': return ckJis;
    case 'a': return ckJisAscii;
    case 'e': return ckEuc;
    case 'u': return ckUnicodeLE;
    case 'b': return ckUnicodeBE;
    case '8': return ckUtf8;
    case 'n': return ckUtf8N;
    case '7': return ckUtf7;
    default: return std::nullopt;
  }
}

TCharCodeKind CodeKindOfLetter(std::optional<char> letter) {
  return letter ? CodeKindOfKnownLetter(*letter).value_or(ckSjis) : ckSjis;
}

TLineBreakKind LineBreakOfLetter(std::optional<char> letter) {
  if (!letter) return lbCRLF;
  switch (Lower(*letter)) {
    case 'r': return lbCR;
    case 'n': return lbLF;
    default: return lbCRLF;
  }
}

std::string CodeSwitchText(TCharCodeKind kind) {
  switch (kind) {
    case ckJis: return "-oj ";
    case ckJisAscii: return "-oa ";
    case ckEuc: return "-oe ";
    case ckUnicodeLE: return "-ou ";
    case ckUnicodeBE: return "-ob ";
    case ckUtf8: return "-o8 ";
    case ckUtf8N: return "-on ";
    case ckUtf7: return "-o7 ";
    default: return "-os ";
  }
}

std::string LineBreakSwitchText(TLineBreakKind kind) {
  switch (kind) {
    case lbCR: return "-rr ";
    case lbLF: return "-rn ";
    default: return "-rc ";
  }
}

}  // namespace vorn
