// Point size and pixel height of a stored font, at the 96 dpi the stored heights assume.
#include "settings/FontSpec.h"

#include "settings/SjisText.h"

#include <cstdlib>

namespace vorn {

namespace {
constexpr int kPixelsPerInch = 96;
}

int TFontSpec::Size() const {
  const long long h = Height < 0 ? -static_cast<long long>(Height) : Height;
  return static_cast<int>((h * 72 + kPixelsPerInch / 2) / kPixelsPerInch);
}

void TFontSpec::SetSize(int points) {
  const long long p = points < 0 ? -static_cast<long long>(points) : points;
  const long long h = (p * kPixelsPerInch + 36) / 72;
  Height = -static_cast<int>(h > 10000 ? 10000 : h);
}

TFontSpec DefaultEditorFont() {
  TFontSpec font;
  font.Name = Sjis("ＭＳ ゴシック");
  return font;
}

}  // namespace vorn
