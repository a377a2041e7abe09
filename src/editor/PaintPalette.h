// TPaintPalette: the colour table of the view options as the painters use it: every entry's
// text and background as QColor, with the "no colour of its own" value kept apart.
#pragma once

#include <QColor>
#include <QPalette>

#include <array>
#include <cstdint>

#include "syntax/EditColors.h"

namespace vorn {

struct TPaintEntry {
  QColor Text;
  QColor Back;
  bool TextClear = false;  // the transparent value: nothing of its own is painted
  bool BackClear = false;
  std::uint8_t Style = 0;
};

// A stored colour on this palette: fixed colours as they are, system colours by role.
QColor ToQColor(TColor color, const QPalette& palette, bool* transparent = nullptr);

class TPaintPalette {
public:
  static constexpr int kEntries = TVornEditColors::DefaultCount;

  TPaintPalette();
  // colors may be null: the default table then.
  void Resolve(const TVornEditColors* colors, const QPalette& palette);
  const TPaintEntry& operator[](int i) const { return entries_[static_cast<std::size_t>(i < 0 || i >= kEntries ? 0 : i)]; }
  TPaintEntry& At(int i) { return entries_[static_cast<std::size_t>(i < 0 || i >= kEntries ? 0 : i)]; }
  // The desktop's system colours the rulers are drawn with.
  QColor ButtonFace, Highlight3D, Shadow3D, WindowText, WindowFrame, Control;

private:
  std::array<TPaintEntry, kEntries> entries_;
};

}  // namespace vorn
