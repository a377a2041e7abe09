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

}  // namespace

std::string FileHistoryCaption(int index, const std::string& fileName, const TTextMeasure& measure, int menuWidth) {
  const std::size_t slash = fileName.rfind('/');
  const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  const std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
  std::string caption = (index < 9 ? "0&" : "&") + std::to_string(index + 1) + ": " + name;
  for (std::size_t c = Columns(name); c < 20; ++c) caption += ' ';
  caption += " (";
  caption += ShortenPath(folder, measure, menuWidth - measure.TextWidth(caption));
  caption += ")";
  return caption;
}

}  // namespace vorn
