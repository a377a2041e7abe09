// The colour page of the file-type dialog below its widgets: the order the entries are listed
// in, what each entry lets the user change, the transparent value, and the colour set file
// (".cdt") the page saves and loads.
#pragma once

#include "base/VornError.h"
#include "syntax/EditColors.h"

#include <span>
#include <string>
#include <string_view>

namespace vorn {

// A line of a colour set file that is not a number.
class EConvertError : public EVornError {
public:
  explicit EConvertError(const std::string& text) : EVornError("'" + text + "' は整数ではありません") {}
};

// The value the page writes when the user makes a colour transparent.
constexpr TColor kTransparentColor = 0x80000001u;
// Above 0xFFFFFF with low bits 1: drawn in the colour of entry 0.
constexpr bool IsTransparentColor(TColor c) { return c > 0xFFFFFFu && (c & 0xFFFFFFu) == 1u; }

// The 45 table indexes in the order the colour list shows them; 14, 42 and 43 never show.
std::span<const int> ColorDialogOrder();
// Named entries in list order (the two unnamed separators left out), as the colour combo holds them.
std::span<const int> ColorComboOrder();
// -1 for no selection or an index outside the combo; -1 for an entry the combo does not list.
int EntryOfComboIndex(int comboIndex);
int ComboIndexOfEntry(int entry);
// The line of the colour list for an unnamed entry.
inline constexpr std::string_view kColorSeparatorLine = "------------------------";

// What the built-in entry keeps the user from changing.
enum TColorLock : unsigned {
  clkStrikeOut = 0x001,
  clkUnderline = 0x002,
  clkItalic = 0x004,
  clkBold = 0x008,
  clkBackColor = 0x010,
  clkTextColor = 0x020,
  clkBackClear = 0x080,
  clkTextClear = 0x100,
  clkNoUnify = 0x200,
};
unsigned ColorLockBits(int entry);

// The controls of the colour page for one entry.
struct TColorPageState {
  bool TextColorEnabled = false;
  bool TextClearEnabled = false, TextClearChecked = false;
  bool BackColorEnabled = false;
  bool BackClearEnabled = false, BackClearChecked = false;
  bool BoldEnabled = false, BoldChecked = false;
  bool ItalicEnabled = false, ItalicChecked = false;
  bool UnderlineEnabled = false, UnderlineChecked = false;
  bool StrikeOutEnabled = false, StrikeOutChecked = false;
  // The sample's colours: entry 0's where the entry's own are transparent.
  TColor SampleText = 0, SampleBack = 0;
  TFontStyles SampleStyle = 0;
  bool operator==(const TColorPageState&) const = default;
};
TColorPageState ColorPageStateOf(const TVornEditColors& colors, int entry);

// The transparent boxes: checking the text box makes text and background transparent;
// unchecking one gives a transparent colour back the colour of entry 0.
void SetTextTransparent(TVornEditColors& colors, int entry, bool on);
void SetBackTransparent(TVornEditColors& colors, int entry, bool on);
// "背景色の統一": every listed entry after the first that may take it gets entry 0's background.
void UnifyBackgrounds(TVornEditColors& colors);
// The built-in looks of one entry, or of every listed entry.
void ResetColorEntry(TVornEditColors& colors, int entry);
void ResetListedColors(TVornEditColors& colors);

// The colour set file: "COLORSET VER.1", then text colour, background and style of every
// entry as signed decimal lines, CR LF ended.
std::string ColorSetFileText(const TVornEditColors& colors);
// Reads either the text form or, when the first line is not the header, the binary colour
// list. A line that is not a number raises EConvertError; the entries before it keep what
// they read.
void LoadColorSetFile(std::string_view bytes, TVornEditColors& colors);

}  // namespace vorn
