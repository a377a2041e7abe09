// Variable replacement over pieces of text that remember whether a value put them there, and
// the macro numbers of codes and line breaks.
#include "macro/MacroVariables.h"

#include <array>
#include <vector>

#include "base/sjis.h"

namespace vorn {
namespace {

struct TPiece {
  std::string text;
  bool inserted = false;
};

// The value of variable v (the index in kNames).
std::string ValueOf(int v, TMacroVariableSource& source) {
  if (v == 0) return source.SelectedText();
  if (v == 1) return source.ClipboardText();
  if (v <= 11) return source.MacroString(v - 2);
  if (v == 12) return std::to_string(MacroCodeNumber(source.CharCode()));
  return std::to_string(MacroLineBreakNumber(source.LineBreak()));
}

constexpr std::array<std::string_view, 14> kNames = {
    "%SELTEXT%",    "%COPYSTR%",    "%MACROSTR0%",  "%MACROSTR1%", "%MACROSTR2%",
    "%MACROSTR3%",  "%MACROSTR4%",  "%MACROSTR5%",  "%MACROSTR6%", "%MACROSTR7%",
    "%MACROSTR8%",  "%MACROSTR9%",  "%CHARCODE%",   "%RETURNCODE%"};

// Splits the piece at every occurrence of name, on character boundaries, into out.
void SplitPiece(const TPiece& piece, std::string_view name, const std::string& value, std::vector<TPiece>& out) {
  std::string_view rest = piece.text;
  std::size_t kept = 0;
  for (std::size_t i = 0; i + name.size() <= rest.size();) {
    if (rest[i] == '%' && sjis::SameTextI(rest.substr(i, name.size()), name)) {
      if (i > kept) out.push_back(TPiece{std::string(rest.substr(kept, i - kept)), false});
      out.push_back(TPiece{value, true});
      i += name.size();
      kept = i;
    } else {
      i += sjis::CharLen(rest, i);
    }
  }
  if (kept < rest.size()) out.push_back(TPiece{std::string(rest.substr(kept)), false});
}

bool Holds(const std::vector<TPiece>& pieces, std::string_view name) {
  for (const TPiece& p : pieces) {
    if (p.inserted) continue;
    std::string_view rest = p.text;
    for (std::size_t i = 0; i + name.size() <= rest.size(); i += sjis::CharLen(rest, i))
      if (rest[i] == '%' && sjis::SameTextI(rest.substr(i, name.size()), name)) return true;
  }
  return false;
}

}  // namespace

std::string ReplaceMacroVariables(std::string_view text, TMacroVariableSource& source) {
  if (text.find('%') == std::string_view::npos) return std::string(text);
  std::vector<TPiece> pieces{TPiece{std::string(text), false}};
  for (std::size_t v = 0; v < kNames.size(); ++v) {
    if (!Holds(pieces, kNames[v])) continue;
    const std::string value = ValueOf(static_cast<int>(v), source);
    std::vector<TPiece> next;
    for (const TPiece& p : pieces) {
      if (p.inserted) next.push_back(p);
      else SplitPiece(p, kNames[v], value, next);
    }
    pieces = std::move(next);
  }
  std::string out;
  for (const TPiece& p : pieces) out += p.text;
  return out;
}

namespace {

constexpr std::array<TCharCodeKind, 9> kCodeByNumber = {ckSjis, ckJis, ckEuc, ckUnicodeLE, ckUnicodeBE,
                                                        ckUtf8N, ckUtf8, ckUtf7, ckJisAscii};
constexpr std::array<TLineBreakKind, 3> kBreakByNumber = {lbCRLF, lbCR, lbLF};

}  // namespace

int MacroCodeNumber(TCharCodeKind kind) {
  for (std::size_t i = 0; i < kCodeByNumber.size(); ++i)
    if (kCodeByNumber[i] == kind) return static_cast<int>(i);
  return 0;
}

std::optional<TCharCodeKind> CodeOfMacroNumber(int number) {
  if (number < 0 || number >= static_cast<int>(kCodeByNumber.size())) return std::nullopt;
  return kCodeByNumber[static_cast<std::size_t>(number)];
}

int MacroLineBreakNumber(TLineBreakKind kind) {
  for (std::size_t i = 0; i < kBreakByNumber.size(); ++i)
    if (kBreakByNumber[i] == kind) return static_cast<int>(i);
  return 0;
}

std::optional<TLineBreakKind> LineBreakOfMacroNumber(int number) {
  if (number < 0 || number >= static_cast<int>(kBreakByNumber.size())) return std::nullopt;
  return kBreakByNumber[static_cast<std::size_t>(number)];
}

}  // namespace vorn
