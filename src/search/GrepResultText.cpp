// Grep's result text: the header with its quoted condition, match and error lines, the target folder.
#include "search/GrepResultText.h"

#include <filesystem>

#include "regex/BregexpUtil.h"
#include "search/GrepOptions.h"
#include "encoding/jconvert.h"

namespace vorn {
namespace {

// "    GREP検索結果", "■ ", " の読み込み中にエラーが起きました" in Shift_JIS.
const char* const kTitle = "    GREP\x8c\x9f\x8d\xf5\x8c\x8b\x89\xca";
const char* const kErrorMark = "\x81\xa1 ";
const char* const kErrorText =
    " \x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86\x82\xc9\x83\x47\x83\x89\x81\x5b\x82\xaa\x8b\x4e\x82\xab\x82\xdc"
    "\x82\xb5\x82\xbd";

// Double quotes around text, a quote inside doubled.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

const char* Bit(bool b) { return b ? "1" : "0"; }

}  // namespace

std::vector<std::string> GrepHeaderLines(const TBregexpObj& pattern, const TGrepOptions& options) {
  const std::string rule(80, '=');
  std::string call = "    Grep(" + Quoted(pattern.Pattern()) + "," + Quoted(GrepDisplayPath(options.FileMask)) + ",";
  call += std::string(Bit(options.SubFolders)) + "," + Bit(!pattern.IgnoreCase()) + "," + Bit(pattern.WholeWord()) +
          "," + Bit(!pattern.PlainText()) + "," + Bit(pattern.Fuzzy()) + "," + Bit(options.IncludeBinary) + ")";
  return {rule, kTitle, call, rule};
}

std::string GrepDisplayPath(std::string_view nativePath) { return ConvertCharCode(nativePath, ckUtf8N, ckSjis); }

std::string GrepMatchLine(std::string_view displayPath, std::int64_t lineNumber, std::string_view text,
                          bool matchedTextOnly) {
  std::string out;
  if (!matchedTextOnly) {
    out.reserve(displayPath.size() + text.size() + 16);
    out.append(displayPath).append("(").append(std::to_string(lineNumber)).append("):");
  }
  std::size_t at = out.size();
  out.append(text);
  for (std::size_t i = at; i < out.size(); ++i)
    if (out[i] == '\0') out[i] = ' ';
  return out;
}

std::string GrepErrorLine(std::string_view displayPath) {
  return std::string(kErrorMark) + std::string(displayPath) + kErrorText;
}

TGrepTarget ResolveGrepTarget(std::string_view fileMask, std::string_view baseFolder) {
  namespace fs = std::filesystem;
  std::string mask(fileMask);
  for (char& c : mask)
    if (c == '\\') c = '/';
  std::error_code ec;
  fs::path base = baseFolder.empty() ? fs::current_path(ec) : fs::path(std::string(baseFolder));
  fs::path full = fs::path(mask).is_absolute() ? fs::path(mask) : base / mask;
  std::string text = full.lexically_normal().string();
  std::size_t slash = text.rfind('/');
  TGrepTarget target;
  target.Folder = slash == std::string::npos ? std::string("/") : text.substr(0, slash + 1);
  target.Masks = slash == std::string::npos ? text : text.substr(slash + 1);
  if (target.Masks.empty()) target.Masks = "*.*";
  return target;
}

}  // namespace vorn
