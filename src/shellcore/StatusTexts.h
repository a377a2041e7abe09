// The texts of an editor window's status-bar panels, computed from the document and pane state.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "encoding/jconvert.h"
#include "textfile/JConvStrList.h"

namespace vorn {

class TVornEditScreenStrings;

enum TStatusPanelIndex : int { spMessage, spAutoFormat, spBoxSelect, spCharCode, spLineBreak, spCaret, spInsert, spEnd,
                               spPanelCount };

// A selection of this many bytes or more is measured only when the user clicks the status bar.
constexpr std::int64_t kLargeSelectionBytes = 1000001;

// "*" in front when the user fixed the code or line break; unknown values show SJIS and CRLF.
std::string CharCodePanelText(TCharCodeKind code, bool given);
std::string LineBreakPanelText(TLineBreakKind lineBreak, bool given);
// "%5d:%4d" of line and column.
std::string CaretPanelText(int line, int column);
std::string InsertModePanelText(bool overwrite);

// The one-based line and column shown for a caret at (row, column). With row numbering the
// display row itself; otherwise the file line holding the row (rows past the end count as the
// last) and the column counted from the line's start across its wrapped rows.
struct TLineColumn {
  int line = 1;
  int column = 1;
};
TLineColumn CaretLineColumn(const TVornEditScreenStrings& store, int row, int column, bool rowNumbering);

// 1234567 as "1,234,567".
std::string GroupThousands(std::int64_t value);
// Panel 0 after a selection change: the size, or the click hint for a large selection.
std::string SelectionSizeText(std::int64_t bytes, bool large);
// Panel 0 after a click on the status bar, with "byte" right after the number.
std::string ClickedSelectionSizeText(std::int64_t bytes);
std::string BoxSelectionHintText();

// Panels 1 to 7 from the state they show; panel 0 carries messages and is the caller's.
struct TStatusState {
  bool autoFormat = false;
  bool boxSelection = false;
  TCharCodeKind charCode = ckSjis;
  bool openCodeGiven = false;
  TLineBreakKind lineBreak = lbCRLF;
  bool lineBreakGiven = false;
  TLineColumn caret;
  bool overwrite = false;
};
std::array<std::string, spPanelCount> StatusPanelTexts(const TStatusState& state);

}  // namespace vorn
