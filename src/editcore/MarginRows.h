// What the left margin shows beside each row: its line number and colour, difference mark,
// bookmark and find-range bar, decided without a canvas so that screen and paper agree.
#pragma once

#include <string>

#include "store/ScreenStrings.h"
#include "syntax/EditParserOptions.h"

namespace vorn {

struct TMarginRow {
  std::string Number;   // the decimal line number (its last five digits); empty: none on this row
  int NumberEntry = 15;  // colour entry of the number
  int DiffMark = 0;      // the row's difference kind, 0 (none) to 5
  int Bookmark = -1;     // 0..9 a numbered mark, 10 an unnumbered one, -1 none
  bool FindRange = false;
};

struct TMarginSetup {
  bool PhysicalLineNum = false;
  const TVornEditKeyword* Find = nullptr;  // whose line range shows as the bar; null: none
  int LastLineInfo = 0;                     // the difference kind of the row after the last line
};

// The margin of row (0..Count(); the row after the text shows nothing but its marks and
// setup's LastLineInfo).
TMarginRow MarginRowOf(const TVornEditScreenStrings& store, const TMarginSetup& setup, int row);

// The test view: "number/entry diff bookmark find" for one row.
std::string DumpMarginRow(const TMarginRow& m);

}  // namespace vorn
