// Cutting logical lines into display rows under the Japanese line-breaking rules.
#pragma once

#include "store/PointerStringList.h"
#include "layout/WrapOption.h"

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// Single bytes that end a word; the editor control may supply its own set.
using TDelimiterSet = std::bitset<256>;
const TDelimiterSet& DefaultDelimiterSet();

// Column map codes, one per display column.
constexpr char cmSingle = '1';      // single-byte character
constexpr char cmDelimiter = '2';   // single-byte delimiter (the tab included)
constexpr char cmTabRest = '3';     // further column of a tab
constexpr char cmLead = '4';        // first column of a double-byte character
constexpr char cmTrail = '5';       // second column of a double-byte character
constexpr char cmEnd = '0';         // end mark after the last column

// Fills map with one code per display column of t. wrapByte > 0: tab stops restart at every
// multiple of wrapByte and a tab never crosses one (word wrap on); 0: plain tab stops.
void BuildColumnMap(std::string_view t, int tabSpaceCount, int wrapByte, const TDelimiterSet& delims,
                    std::string& map);
std::string ColumnMap(std::string_view t, int tabSpaceCount, int wrapByte,
                      const TDelimiterSet& delims = DefaultDelimiterSet());

// The column cursor the wrap walks with. Columns and byte indexes are 1-based; the byte index
// always belongs to the character at the current column.
class TVornEditAttributeArray {
public:
  // map must end with the end mark cmEnd; both views must outlive the cursor.
  TVornEditAttributeArray(std::string_view text, std::string_view mapWithEnd);
  // The same, told whether the map holds tab columns (so that it need not look).
  TVornEditAttributeArray(std::string_view text, std::string_view mapWithEnd, bool hasTabRest);

  int ColumnCount() const { return columnCount_; }
  int Column() const { return col_; }
  int ByteIndex() const { return byte_; }
  char Code() const { return map_[col_ - 1]; }
  bool OnEnd() const { return Code() == cmEnd; }

  void Next() {
    if (OnEnd()) return;
    ++col_;
    if (Code() != cmTabRest) ++byte_;
  }
  void Prev() {
    if (col_ == 1) return;
    if (Code() != cmTabRest) --byte_;
    --col_;
  }
  void MoveTo(int c);
  std::string_view Current() const;
  std::string_view PeekNext();
  void BackOneChar() {
    Prev();
    if (Code() == cmLead) Prev();
  }

private:
  std::string_view text_;
  const char* map_;
  int columnCount_;
  bool hasTabRest_;
  int col_ = 1;
  int byte_ = 1;
};

// Membership of one character in an option string, walked character by character.
bool InCharSet(std::string_view c, std::string_view set);

struct TByteCodes;

// A row cut out of a text: a byte range of that text and how the row ends.
struct TWrapRow {
  uint32_t Offset;
  uint32_t Length;
  TRowEnd End;
};

// The wrap rules compiled for fast use, with the scratch buffers of the walk.
class TWordWrapper {
public:
  TWordWrapper();
  explicit TWordWrapper(const TVornEditWrapOption& option, int tabSpaceCount = 8,
                        const TDelimiterSet& delims = DefaultDelimiterSet());

  void Configure(const TVornEditWrapOption& option, int tabSpaceCount = 8,
                 const TDelimiterSet& delims = DefaultDelimiterSet());
  int WrapByte() const { return w_; }
  int TabSpaceCount() const { return tabSpaceCount_; }

  // Display width of a line with word wrap on.
  int LineWidth(std::string_view line);
  // Rows of one logical line, appended to rows; offsets count from base.
  void WrapLine(std::string_view line, uint32_t base, std::vector<TWrapRow>& rows);
  int CountRowsOfLine(std::string_view line);
  // Splits text at CR LF, CR or LF (a NUL ends it, a final break adds no row, an empty text
  // gives one empty row) and wraps each line when wordWrap is set.
  void TextToRows(std::string_view text, bool wordWrap, std::vector<TWrapRow>& rows);

private:
  struct TCharSet {
    std::bitset<256> single;
    std::vector<bool> dbl;  // indexed by lead << 8 | trail
    bool Has(std::string_view c) const;
    void Build(std::string_view s);
  };
  template <class Sink>
  void Walk(std::string_view line, Sink& sink);
  // True when the line is narrower than the wrap width, so that it stays one row.
  bool FitsOneRow(std::string_view line);

  int w_ = 80;
  int tabSpaceCount_ = 8;
  bool followRetMark_ = false, followPunctuation_ = false, leading_ = false, wordBreak_ = false;
  TCharSet punctuation_, lead_, follow_;
  std::shared_ptr<const TByteCodes> codes_;
  std::string map_;
};

}  // namespace vorn
