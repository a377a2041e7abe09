// Menu captions for history entries.
#include "shellcore/HistoryMenu.h"

#include "platform/PathVariables.h"
#include "shellcore/HistoryNames.h"

namespace vorn {
namespace {

// Columns as the menu's cell font counts them: one per Shift_JIS byte.
std::size_t Columns(const std::string& name) {
  std::string sjis;
  return NativeNameToSjis(name, sjis) ? sjis.size() : name.size();
}

// A menu caption reads "&" as the mark of its access key; a name's own "&" must stay visible.
std::string MenuLiteral(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

}  // namespace

std::string FileHistoryCaption(int index, const std::string& fileName, const TTextMeasure& measure, int menuWidth) {
  const std::size_t slash = fileName.rfind('/');
  const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  const std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
  std::string caption = (index < 9 ? "0&" : "&") + std::to_string(index + 1) + ": " + MenuLiteral(name);
  for (std::size_t c = Columns(name); c < 20; ++c) caption += ' ';
  caption += " (";
  caption += MenuLiteral(ShortenPath(folder, measure, menuWidth - measure.TextWidth(caption)));
  caption += ")";
  return caption;
}

}  // namespace vorn
