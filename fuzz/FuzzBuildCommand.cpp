// Fuzz target: random patterns and option sets through BuildCommand, compiled by the module.
// A plain-text pattern must always compile, and without whole words the built-in scanner and
// the library must find the same first match.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/sjis.h"
#include "regex/BregexpGroups.h"
#include "regex/BregexpUtil.h"

namespace {

void CheckAt(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "check failed at line %d\n", line);
  std::abort();
}
#define Check(condition) CheckAt((condition), __LINE__)

// Valid Shift_JIS: the engine refuses the unassigned single bytes and bad trail bytes.
bool WellFormed(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c == 0x80 || c == 0xA0 || c >= 0xFD) return false;
    if (vorn::sjis::IsLeadByte(c)) {
      if (i + 1 >= s.size()) return false;
      auto t = static_cast<unsigned char>(s[++i]);
      if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    }
  }
  return true;
}

vorn::TBregexp& Engine() {
  static vorn::TBregexp engine(VORN_BIN_DIR "/libVornRegexp.so");
  return engine;
}

}  // namespace

// Input: flags byte, then pattern 0x00 text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 2048) return 0;
  const uint8_t flags = data[0];
  std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::size_t nul = rest.find('\0');
  std::string pattern = rest.substr(0, nul);
  std::string text = nul == std::string::npos ? std::string("x") : rest.substr(nul + 1);

  vorn::TBackRefRegObj obj(&Engine());
  obj.SetPattern(pattern);
  obj.SetWholeWord(flags & 1);
  obj.SetIgnoreCase(flags & 2);
  obj.SetPlainText(flags & 4);
  obj.SetFuzzy(flags & 8);
  obj.SetGlobalReplace(flags & 16);
  // commands are C strings: a NUL cannot travel in them
  std::string replacement = text.substr(0, 8);
  std::erase(replacement, '\0');
  obj.SetReplaceText(replacement);
  obj.SetReplaceMode(flags & 32);
  obj.Matches().AddMatch(text.substr(0, 4), 0, 0);
  obj.Matches().AddMatch(text.substr(0, 1), 0, 0);

  obj.BuildCommand(false);
  const std::string& cmd = obj.MatchCommand();
  Check(cmd.size() >= 4 && cmd.compare(0, 2, "m\x01") == 0 && cmd.compare(cmd.size() - 2, 2, "\x01k") == 0);
  obj.BuildCommand(true);
  Check(obj.SubstCommand().compare(0, 2, "s\x01") == 0);
  Check(obj.LineBreakCount() >= 0);

  // Oracle: a well-formed plain pattern always compiles, and without whole words or fuzzy the
  // built-in scanner finds what the library finds for the same escaped literal.
  const bool plain = flags & 4;
  if (plain && WellFormed(pattern)) {
    Check(obj.Compile());
    if (!(flags & 1) && !(flags & 8) && WellFormed(text)) {
      vorn::TBregexpObj viaLibrary(&Engine());
      viaLibrary.SetPattern(vorn::EscapeChars(pattern, vorn::kRegexMetaChars));
      viaLibrary.SetIgnoreCase(flags & 2);
      int simplePos = 0, simpleLen = 0, libraryPos = 0, libraryLen = 0;
      bool simple = obj.FindIn(text, simplePos, simpleLen);
      bool library = viaLibrary.FindIn(text, libraryPos, libraryLen);
      Check(simple == library);
      if (simple) Check(simplePos == libraryPos && simpleLen == libraryLen);
    }
  }
  return 0;
}
