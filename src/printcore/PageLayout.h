// Laying lines out on pages: line numbers, wrapping in the text box, columns, header, footer.
#pragma once

#include "printcore/PageGeometry.h"
#include "printcore/PrintTemplate.h"

#include <functional>
#include <string>
#include <vector>

namespace vorn {

// One single-line piece of text at its place; X and Y are the top left of its cells.
struct TPrintRow {
  int X = 0;
  int Y = 0;
  int Width = 0;  // the box it is clipped to
  std::string Text;  // Shift_JIS, no tabs
};

// A page as what is drawn on it; the painter turns it into a picture of the page.
struct TPagePlan {
  std::vector<TPrintRow> Rows;
};

// The display width of a tab-free Shift_JIS text.
int TextColumns(std::string_view text);

// Cuts a tab-free line into rows of at most width columns, breaking after the last blank of a
// row when the cut would split a word, and never inside a double-byte character. An empty
// line is one empty row.
std::vector<std::string> WrapPrintLine(std::string_view line, int width);

// Lays out a snapshot of the lines in steps, so the caller can show progress and stop.
class TPageLayouter {
public:
  using TExpandTabs = std::function<std::string(std::string_view)>;

  // The frame must have room for one character (ComputePageFrame's message empty).
  TPageLayouter(const TStringsPrinterValues& settings, const TPageFrame& frame, std::vector<std::string> lines,
                TExpandTabs expandTabs, TTemplateValues templateValues);

  // Lays out up to count more lines; true once every line is on a page.
  bool Step(int count);
  bool Done() const { return done_; }
  // Progress as the print dialog reports it: position of total, 0 of 0 counting as 1 of 1.
  int Position() const { return next_; }
  int Total() const { return static_cast<int>(lines_.size()) - 1; }
  int Percent() const;

  // Finished pages; the last one is complete only once Done().
  const std::vector<TPagePlan>& Pages() const { return pages_; }
  std::vector<TPagePlan> TakePages() { return std::move(pages_); }

private:
  void StartPage();
  void FinishPage();
  void NextColumnOrPage();
  void PlaceBand(const std::string& templ, TStringsPrinterHeaderAlign align, const TPxRect& band);
  void PlaceLine(int index);
  int ColumnOffset() const { return column_ * frame_.ColumnStep; }

  TStringsPrinterValues settings_;
  TPageFrame frame_;
  std::vector<std::string> lines_;
  TExpandTabs expandTabs_;
  TTemplateValues values_;
  std::vector<TPagePlan> pages_;
  int next_ = 0;
  int column_ = 0;
  int y_ = 0;
  bool done_ = false;
};

// Tab expansion with plain tab stops every tabWidth columns.
std::string ExpandTabsPlain(std::string_view line, int tabWidth);

}  // namespace vorn
