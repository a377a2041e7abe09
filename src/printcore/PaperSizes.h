// The paper-size table: one row per paper code of the printer's device mode, 1 to 68.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

struct TPaperSize {
  std::string_view Name;  // "DMPAPER_A4"
  int WidthMm;
  int HeightMm;
};

constexpr int kFirstPaperCode = 1;
constexpr int kLastPaperCode = 68;

// The row of a code; nullptr outside 1..68.
const TPaperSize* PaperSizeOf(int code);
// The name of a code, or an empty string when it has none.
std::string PaperName(int code);
// The size in millimetres, 0 × 0 when the code has none.
void PaperSizeMm(int code, int& widthMm, int& heightMm);

}  // namespace vorn
