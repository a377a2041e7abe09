// Stored colours to QColor: 0x00BBGGRR, system colours by their Windows index mapped to palette
// roles, and the desktop colour meaning "transparent".
#include "editor/PaintPalette.h"

#include <QApplication>

namespace vorn {

QColor ToQColor(TColor color, const QPalette& pal, bool* transparent) {
  if (transparent) *transparent = false;
  if (color == clDesktop || color == clTransparentAlt) {
    if (transparent) *transparent = true;
    return pal.color(QPalette::Base);
  }
  if ((color & 0xFF000000u) == 0)
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
  switch (color & 0xFF) {
    case 3: return pal.color(QPalette::Inactive, QPalette::Highlight).lighter(150);
    case 5: return pal.color(QPalette::Base);
    case 6: return pal.color(QPalette::Shadow);
    case 7:
    case 8: return pal.color(QPalette::Text);
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);
    case 16: return pal.color(QPalette::Dark);
    case 17: return pal.color(QPalette::Disabled, QPalette::Text);
    case 18: return pal.color(QPalette::ButtonText);
    case 20: return pal.color(QPalette::Light);
    case 21: return pal.color(QPalette::Shadow);
    case 22: return pal.color(QPalette::Midlight);
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Window);
  }
}

TPaintPalette::TPaintPalette() { Resolve(nullptr, QPalette()); }

void TPaintPalette::Resolve(const TVornEditColors* colors, const QPalette& pal) {
  static const TVornEditColors defaults;
  const TVornEditColors& table = colors && colors->Count() >= kEntries ? *colors : defaults;
  for (int i = 0; i < kEntries; ++i) {
    const TVornEditColor& c = table[i];
    TPaintEntry& e = entries_[static_cast<std::size_t>(i)];
    e.Text = ToQColor(c.Color(), pal, &e.TextClear);
    e.Back = ToQColor(c.BkColor(), pal, &e.BackClear);
    e.Style = c.Style();
  }
  // The text area's own background always paints: without a colour of its own it is the
  // window's.
  entries_[0].BackClear = false;
  ButtonFace = pal.color(QPalette::Button);
  Highlight3D = pal.color(QPalette::Light);
  Shadow3D = pal.color(QPalette::Dark);
  WindowText = pal.color(QPalette::WindowText);
  WindowFrame = pal.color(QPalette::Shadow);
  Control = pal.color(QPalette::Button);
}

}  // namespace vorn
