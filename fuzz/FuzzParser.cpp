// Fuzzes the tokenizer: random view options and text; tokens must tile the row and always advance.
#include "regex/BregexpUtil.h"
#include "syntax/EditParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const char* const kLeft[] = {"/*", "\"", "<<(\\w+)", "[", "'", "\x81\x75"};
const char* const kRight[] = {"*/", "\"", "^$1$", "|", "'", "\x81\x76"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorn;
  // Unloaded at exit, so that the leak check at the end of a run sees the module's memory released.
  static const bool loaded = [] {
    const bool ok = LoadRegexpBinding("").empty();
    std::atexit(FreeRegexpBinding);
    return ok;
  }();
  (void)loaded;
  if (size < 4) return 0;
  const std::uint8_t flags = data[0], brackets = data[1], extra = data[2];
  const int initialState = static_cast<int>(data[3] % 6) - 2;
  TVornEditViewInfo view;
  view.SetMail(flags & 1);
  view.SetUrl(flags & 2);
  view.SetFileObj(flags & 4);
  view.SetMailId(flags & 8);
  view.SetQuotation((flags & 16) ? "\"'" : "");
  view.SetQuotationCanceler((flags & 32) ? "\\" : "");
  view.Commenter1().SetPlainText(true);
  view.Commenter1().SetPattern((flags & 64) ? "//" : "");
  for (int i = 0; i < (brackets & 3); ++i) {
    const int k = (brackets >> (2 + i)) % 6;
    TVornEditBracketItem& item = view.Brackets().Add();
    item.LeftBracket().SetPlainText(k != 2);
    item.LeftBracket().SetPattern(kLeft[k]);
    item.RightBracket().SetPlainText(k != 2);
    item.RightBracket().SetPattern(kRight[k]);
    item.SetRightBracketCount(1 + (extra >> (2 * i)) % 3);
    item.SetLineOnly(extra & 0x40);
    if (extra & 0x80) item.SetRightBracketEscapeChar("\\");
  }
  const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);
  const bool plain = flags & 128;
  TVornEditParser parser((flags & 0x0F) == 0x0F ? nullptr : &view, text, plain, initialState);
  int expectedStart = 0;
  for (std::size_t guard = 0; parser.Kind() != tkEndOfLine; ++guard) {
    if (guard > text.size()) std::abort();  // every token but the last takes at least one byte
    if (parser.TokenOffset() != expectedStart || parser.TokenEnd() <= parser.TokenOffset() ||
        parser.TokenEnd() > static_cast<int>(text.size()))
      std::abort();
    expectedStart = parser.TokenEnd();
    parser.NextToken();
    // The state is the one given (nothing parsed can change it) or a real one.
    if (parser.State() != initialState && (parser.State() < -1 || parser.State() >= view.Brackets().Count()))
      std::abort();
  }
  // The tokens end exactly at the line end.
  if (expectedStart < static_cast<int>(text.size())) {
    const char c = text[expectedStart];
    if (c != 0 && c != '\r' && c != '\n') std::abort();
  }
  return 0;
}
