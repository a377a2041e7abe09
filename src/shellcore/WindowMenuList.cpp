// Captions and targets of the window menu's run-time entries.
#include "shellcore/WindowMenuList.h"

#include "shellcore/BusWindowHandler.h"

namespace vorn {

std::vector<TWindowMenuEntry> WindowMenuEntries(const std::vector<TOpenFileEntry>& documents,
                                                const std::vector<TOwnWindow>& ownWindows, std::int64_t self,
                                                const TTextMeasure& measure, int maxWidth) {
  std::vector<TWindowMenuEntry> entries;
  int number = 0;
  if (!documents.empty()) entries.push_back({true, {}, 0});
  for (const TOpenFileEntry& d : documents) {
    const std::string name =
        d.fileName == kUntitledMarker ? d.fileName : ShortenPath(d.fileName, measure, maxWidth);
    entries.push_back({false, "&" + std::to_string(++number) + ":" + name, d.window});
  }
  if (ownWindows.size() <= 1) return entries;
  entries.push_back({true, {}, 0});
  for (const TOwnWindow& w : ownWindows) {
    if (w.window == self) continue;
    entries.push_back({false, (w.main ? "Main &" : "Sub  &") + std::to_string(++number), w.window});
  }
  return entries;
}

}  // namespace vorn
