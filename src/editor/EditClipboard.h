// TQtClipboard: the editor core's clipboard over QClipboard.
#pragma once

#include <QString>

#include "editcore/Clipboard.h"

class QMimeData;

namespace vorn {

// The MIME type that carries the exact Shift_JIS bytes between editor windows.
inline constexpr char kSjisMimeType[] = "application/x-vorneditor-sjis";
// The box marker; its platform name is "TVornEdit Box Type".
inline constexpr char kBoxMimeType[] = "application/x-tvornedit-box-type";
inline constexpr char kBoxFormatName[] = "TVornEdit Box Type";

// Plain text for other programs, converted from code page 932, beside the exact bytes. A
// paste prefers the bytes: the plain text of a NEC or IBM extension character maps back to
// only one of its codes, so a round trip through Unicode could change the text.
class TQtClipboard : public TVornClipboard {
public:
  void SetText(std::string_view sjis, bool box) override;
  void Clear() override;
  std::optional<TClipboardText> Text() const override;

  // Text to Shift_JIS, leaving out what code page 932 cannot hold; dropped counts those.
  static std::string HoldableSjis(const QString& text, int& dropped);
  // The same rules on any mime data (drag and drop uses them too).
  static QMimeData* MakeMimeData(std::string_view sjis, bool box);
  static std::optional<TClipboardText> ReadMimeData(const QMimeData* data);
};

}  // namespace vorn
