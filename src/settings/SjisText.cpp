// Shift_JIS and UTF-8 through the system code page 932 table; ASCII passes through untouched.
#include "settings/SjisText.h"

#include "encoding/jconvert.h"

namespace vorn {

namespace {
bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
}  // namespace

std::string Sjis(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return ConvertCharCode(utf8, ckUtf8N, ckSjis);
}

std::string Utf8(std::string_view sjis) {
  if (IsAscii(sjis)) return std::string(sjis);
  return ConvertCharCode(sjis, ckSjis, ckUtf8N);
}

const std::string& CommonTypeName() {
  static const std::string name = Sjis("共通");
  return name;
}

const std::string& UnnamedTypeName() {
  static const std::string name = Sjis("名称未設定");
  return name;
}

const std::string& GrepTypeName() {
  static const std::string name = "GREP";
  return name;
}

}  // namespace vorn
