// The key list: fixed-width columns counted in Shift_JIS bytes.
#include "shellcore/KeyListText.h"

#include "base/sjis.h"
#include "platform/AtomicFile.h"
#include "encoding/jconvert.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/KeyNames.h"

namespace vorn {
namespace {

constexpr std::size_t kHeadWidth = 36;
constexpr const char* kCrLf = "\r\n";
const std::string kFullWidthColon = "\x81\x46";  // "："

std::string ToSjis(std::string_view utf8) { return ConvertCharCode(utf8, ckUtf8N, ckSjis); }

void AppendBanner(std::string& out, const char* utf8Title) {
  const std::string rule(80, '=');
  out += rule + kCrLf + std::string(kHeadWidth, ' ') + ToSjis(utf8Title) + kCrLf + rule + kCrLf;
}

}  // namespace

std::string KeyListHead(const std::string& sjisText) {
  std::size_t cut = 0;
  while (cut < sjisText.size()) {
    const std::size_t len = sjis::CharLen(sjisText, cut);
    if (cut + len > kHeadWidth) break;
    cut += len;
  }
  return std::string(kHeadWidth - cut, ' ') + sjisText.substr(0, cut) + kFullWidthColon;
}

std::string KeyListText(const TKeyTable& table) {
  std::string out;
  AppendBanner(out, "機能一覧");
  const std::string continuation = std::string(kHeadWidth, ' ') + kFullWidthColon;
  for (int category = 1; category < kCategoryCount; ++category)
    for (const TFunctionInfo& f : AllFunctions()) {
      if (f.Category != category) continue;
      const std::string head = KeyListHead(ToSjis(f.DisplayName));
      bool first = true;
      for (int m = 0; m < kModifierStates; ++m)
        for (int k = 0; k < kVirtualKeys; ++k)
          if (table.At(m, k) == f.Number) {
            out += (first ? head : continuation) + ShortcutText(m, k) + kCrLf;
            first = false;
          }
      if (first) out += head + kCrLf;
    }
  out += std::string(kCrLf) + kCrLf + kCrLf;
  AppendBanner(out, "キー一覧");
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k)
      if (const TFunctionInfo* f = FunctionByNumber(table.At(m, k)))
        out += KeyListHead(ShortcutText(m, k)) + ToSjis(f->DisplayName) + kCrLf;
  return out;
}

void SaveKeyListText(const std::string& path, const TKeyTable& table) {
  WriteFileAtomicallyOrThrow(path, KeyListText(table));
}

}  // namespace vorn
