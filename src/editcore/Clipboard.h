// What the editor core needs of the platform clipboard. Text crosses this seam as Shift_JIS
// bytes; the widget's implementation converts for other programs and keeps the exact bytes
// in a private format so copy and paste between editor windows never changes a byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorn {

struct TClipboardText {
  std::string Sjis;
  bool Box = false;  // the private box marker was present
  int Unheld = 0;    // characters of another program's text that Shift_JIS cannot hold, left out
};

class TVornClipboard {
public:
  virtual ~TVornClipboard() = default;
  // Replaces the clipboard's content; box adds the box marker beside the plain text.
  virtual void SetText(std::string_view sjis, bool box) = 0;
  virtual void Clear() = 0;
  // nullopt when the clipboard holds no text.
  virtual std::optional<TClipboardText> Text() const = 0;
};

}  // namespace vorn
