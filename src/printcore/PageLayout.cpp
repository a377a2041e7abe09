// The page layout: each line measured as wrapped rows and placed in columns between the bands.
#include "printcore/PageLayout.h"

#include "base/sjis.h"

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

bool IsWordByte(char c) { return c > 0x20 && c < 0x7F; }

}  // namespace

int TextColumns(std::string_view text) {
  int cols = 0;
  for (std::size_t i = 0; i < text.size(); i += sjis::CharLen(text, i)) cols += static_cast<int>(sjis::CharLen(text, i));
  return cols;
}

std::vector<std::string> WrapPrintLine(std::string_view line, int width) {
  std::vector<std::string> rows;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    std::size_t j = i;
    std::size_t lastBreak = 0;
    int col = 0;
    while (j < n) {
      const std::size_t len = sjis::CharLen(line, j);
      if (col + static_cast<int>(len) > width) break;
      col += static_cast<int>(len);
      j += len;
      if (line[j - 1] == ' ') lastBreak = j;
    }
    if (j < n && lastBreak > i && IsWordByte(line[j]) && IsWordByte(line[j - 1])) j = lastBreak;
    // A box narrower than one character still takes it, so the walk always moves on.
    if (j == i) j = i + sjis::CharLen(line, i);
    rows.emplace_back(line.substr(i, j - i));
    i = j;
  }
  if (rows.empty()) rows.emplace_back();
  return rows;
}

std::string ExpandTabsPlain(std::string_view line, int tabWidth) {
  tabWidth = std::max(1, tabWidth);
  std::string out;
  int col = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t len = sjis::CharLen(line, i);
    if (line[i] == '\t') {
      const int spaces = tabWidth - col % tabWidth;
      out.append(static_cast<std::size_t>(spaces), ' ');
      col += spaces;
    } else {
      out.append(line.substr(i, len));
      col += static_cast<int>(len);
    }
    i += len;
  }
  return out;
}

TPageLayouter::TPageLayouter(const TStringsPrinterValues& settings, const TPageFrame& frame,
                             std::vector<std::string> lines, TExpandTabs expandTabs, TTemplateValues templateValues)
    : settings_(settings),
      frame_(frame),
      lines_(std::move(lines)),
      expandTabs_(std::move(expandTabs)),
      values_(std::move(templateValues)) {}

int TPageLayouter::Percent() const {
  const int total = Total() <= 0 ? 1 : Total();
  const int pos = Total() <= 0 ? 1 : std::min(Position(), total);
  return static_cast<int>(std::lround(100.0 * pos / total));
}

bool TPageLayouter::Step(int count) {
  if (done_) return true;
  if (pages_.empty()) StartPage();
  const int n = static_cast<int>(lines_.size());
  for (int k = 0; k < count && next_ < n; ++k, ++next_) PlaceLine(next_);
  if (next_ >= n) {
    FinishPage();
    done_ = true;
  }
  return done_;
}

void TPageLayouter::StartPage() {
  pages_.emplace_back();
  values_.Page = static_cast<int>(pages_.size());
  PlaceBand(settings_.Header, settings_.HeaderAlign, frame_.HeaderBand);
  column_ = 0;
  y_ = frame_.TextTop();
}

void TPageLayouter::FinishPage() { PlaceBand(settings_.Footer, settings_.FooterAlign, frame_.FooterBand); }

void TPageLayouter::NextColumnOrPage() {
  if (column_ + 1 < frame_.Columns) {
    ++column_;
    y_ = frame_.TextTop();
    return;
  }
  FinishPage();
  StartPage();
}

void TPageLayouter::PlaceBand(const std::string& templ, TStringsPrinterHeaderAlign align, const TPxRect& band) {
  if (align == haNone || templ.empty()) return;
  TPrintRow row;
  row.Text = ExpandPrintTemplate(templ, values_);
  const int width = TextColumns(row.Text) * frame_.Cell.Width;
  row.X = band.Left;
  if (align == haCenter) row.X = band.Left + (band.Width() - width) / 2;
  if (align == haRight) row.X = band.Right - width;
  row.X = std::max(band.Left, row.X);
  row.Y = band.Top;
  row.Width = band.Right - row.X;
  pages_.back().Rows.push_back(std::move(row));
}

// A line that does not fit below the rows already in the column moves whole to the next
// column; one taller than a whole column continues row by row rather than run off the page.
void TPageLayouter::PlaceLine(int index) {
  const std::string text = expandTabs_ ? expandTabs_(lines_[index]) : lines_[index];
  const std::vector<std::string> rows = WrapPrintLine(text, frame_.TextColumns());
  const int lh = frame_.Cell.LineHeight;
  const int height = static_cast<int>(rows.size()) * lh;
  if (y_ + height > frame_.TextBottom() && y_ > frame_.TextTop()) NextColumnOrPage();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (y_ + lh > frame_.TextBottom() && y_ > frame_.TextTop()) NextColumnOrPage();
    if (r == 0 && settings_.LineNumber) {
      TPrintRow number;
      number.Text = std::to_string(index + 1) + settings_.LineNumberSeparator;
      number.X = frame_.NumberLeft + ColumnOffset() + frame_.NumberWidth - TextColumns(number.Text) * frame_.Cell.Width;
      number.Y = y_;
      number.Width = frame_.NumberLeft + ColumnOffset() + frame_.NumberWidth - number.X;
      pages_.back().Rows.push_back(std::move(number));
    }
    TPrintRow row;
    row.X = frame_.TextLeft + ColumnOffset();
    row.Y = y_;
    row.Width = frame_.TextWidth;
    row.Text = rows[r];
    pages_.back().Rows.push_back(std::move(row));
    y_ += lh;
  }
}

}  // namespace vorn
