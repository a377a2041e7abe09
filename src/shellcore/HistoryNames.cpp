// Round-trip checked conversion of file and folder names for the stored histories.
#include "shellcore/HistoryNames.h"

#include "encoding/jconvert.h"

namespace vorn {

bool NativeNameToSjis(std::string_view name, std::string& sjis) {
  std::size_t substituted = 0;
  sjis = ConvertCharCode(name, ckUtf8N, ckSjis, &substituted);
  // Several Unicode characters share one code (U+301C and U+FF5E both give 81 60); only a name
  // that comes back unchanged names the same file when read again.
  return substituted == 0 && !sjis.empty() && SjisNameToNative(sjis) == name;
}

std::string SjisNameToNative(std::string_view sjis) { return ConvertCharCode(sjis, ckSjis, ckUtf8N); }

}  // namespace vorn
