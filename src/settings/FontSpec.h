// TFontSpec: a font as the settings files store it (face name, character set, height).
#pragma once

#include <string>

namespace vorn {

struct TFontSpec {
  // Shift_JIS face name; kept as stored even where no such font is installed.
  std::string Name;
  // 128 is the Japanese character set.
  int CharSet = 128;
  // Negative: the character height in pixels; positive: the cell height in pixels.
  int Height = -13;

  // The point size that the height stands for on a 96 dpi screen, and back.
  int Size() const;
  void SetSize(int points);

  bool operator==(const TFontSpec&) const = default;
};

// The editor font that new types start with until the window tells the type list its own.
TFontSpec DefaultEditorFont();

}  // namespace vorn
