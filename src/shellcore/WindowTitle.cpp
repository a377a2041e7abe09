// The text of an editor window's title, built from the document's state.
#include "shellcore/WindowTitle.h"

#include "platform/PathPolicy.h"

namespace vorn {

std::string BuildWindowTitle(const TTitleState& s) {
  std::string title = s.fileName.empty()
                          ? std::string("無題")
                          : ExtractFileName(s.fileName) + "[" + ExtractFilePath(s.fileName) + "]";
  if (s.modified) title = "[変更]" + title;
  if (s.grepResult) title = "[GREP- \"" + s.grepKeyword + "\"]" + title;
  if (s.browseMode)
    title = "(閲覧中)" + title;
  else if (s.readOnly)
    title = "(上書き禁止)" + title;
  title += " - VornEditor";
  if (s.recordingMacro) title = "[★記録中]" + title;
  if (s.windowCount > 1) {
    title = (s.windowIndex == 0 ? std::string("■ ")
                                : "□ [サブウィンドウ(" + std::to_string(s.windowIndex) + ")] ") +
            title;
  }
  return title;
}

}  // namespace vorn
