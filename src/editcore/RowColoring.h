// TRowColorer: what the painter draws in each visible cell of a row (colour entry, style, mark),
// decided from the tokenizer, the keyword lists and the find condition without any canvas.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "options/EditOptions.h"
#include "syntax/EditParser.h"

namespace vorn {

enum class TEndMark : std::uint8_t { None, LineEnd, Eof };

// A character drawn as a mark instead of its glyph.
enum TCellMark : std::uint8_t { cmNone, cmTab, cmSpace, cmWideSpace, cmControl };

// Colour entries the painter uses by number.
namespace ce {
constexpr int Normal = 0, RetMark = 1, TabMark = 2, WideSpace = 3, Eof = 4, Comment = 5, Wide = 6, Half = 7,
              Number = 8, Selection = 9, Quotation = 10, Symbol = 11, Mail = 12, Url = 13, MailId = 14,
              LineNumber = 15, Vendor = 29, FileName = 30, Find = 31, DiffAdded = 33, DiffChanged = 34,
              DiffDeleted = 35, DiffAddedBelow = 36, DiffDeletedBelow = 37, Control = 38, ModifiedLine = 39,
              SpaceMark = 40, Bookmark = 41, Underline = 42, WrapLine = 43;
}

// One visible character (a tab covers its whole width). Byte is the offset in the row.
struct TPaintCell {
  int Byte = 0;
  int Col = 0;
  std::uint16_t Cells = 1;
  std::uint8_t Bytes = 1;
  std::uint8_t Color = ce::Normal;  // entry of the text colour
  std::uint8_t Back = ce::Normal;   // entry of the background
  std::uint8_t Style = 0;           // TFontStyles
  TCellMark Mark = cmNone;
  std::uint8_t Sel = 0;  // 0 outside the selection, 1 inside, 2 cut by a box edge
  bool Region = false;   // inside a quotation, comment, bracket region or match
};

struct TRowPaint {
  std::vector<TPaintCell> Cells;
  int EndCol = -1;  // the column after the text when the row's end lies in view, else -1
  TEndMark End = TEndMark::None;
  bool EndSelected = false;
  int RowBack = -1;   // a line-emphasis entry that fills the whole row, else -1
  int TailBack = -1;  // entry filling right of the text (a row ending inside a comment or region)
};

// Where a row lies in the text the tokenizer reads: its logical line (joined when wrapped), the
// row's byte range in it and the visible part.
struct TRowSpan {
  std::string_view Line;
  int LineKey = 0;  // the first row of the logical line, naming it in the checkpoint cache
  int LineState = -1;  // bracket state at the line's start
  int RowBegin = 0;
  int RowEnd = 0;
  int StartByte = 0;  // a character start in the row (offset in Line) at or before the first visible column
  int StartCol = 0;   // its column
  int LastCol = 0;    // columns from LastCol on are not painted
};

struct TColoringSetup {
  const TVornEditViewInfo* View = nullptr;
  TVornEditMarksValues Marks;
  TVornEditKeyword* Find = nullptr;  // the highlighted find condition, or null
  int TabWidth = 8;
  int WrapWidth = 0;
};

class TRowColorer {
public:
  void SetSetup(const TColoringSetup& setup);
  const TColoringSetup& Setup() const { return setup_; }
  // The text changed: token boundaries remembered from earlier rows no longer hold.
  void ForgetText() { checkpoints_.clear(); }
  // The find condition is read at each row, so a new pattern needs no new setup.
  void SetFind(TVornEditKeyword* find) { setup_.Find = find; }

  void ColorRow(const TRowSpan& span, TEndMark end, TRowPaint& out);
  // Marks the cells of columns [start, end) selected (end INT_MAX: to the right edge).
  static void ApplySelection(TRowPaint& paint, int start, int end);

private:
  struct TToken {
    int Start = 0;
    int End = 0;
    TTokenKind Kind = tkEndOfLine;
    std::int8_t Bracket = -1;
    std::int8_t StateAfter = -1;
  };
  struct TMatch {
    int Start;
    int End;
    int Entry;
  };
  void CollectCells(const TRowSpan& span, TRowPaint& out);
  void ColorTokens(const TRowSpan& span, TRowPaint& out);
  void ColorToken(const TToken& t, const TRowSpan& span, TRowPaint& out);
  void FindKeywords(const TRowSpan& span, TRowPaint& out);
  void FindHighlight(const TRowSpan& span);
  void ApplyMatches(const TRowSpan& span, TRowPaint& out);
  bool FindMatch(TBregexpObj& pattern, const TRowSpan& span, bool upper, int& pos, int& len);
  bool MayOccur(const TVornEditKeyword& kw, const TRowSpan& span, bool upper);
  int EntryOfToken(const TToken& t) const;
  std::uint8_t StyleOf(int entry) const;
  void NoteCheckpoint(int lineKey, const TToken& t);
  const TToken* CheckpointBefore(int lineKey, int offset) const;

  TColoringSetup setup_;
  // Per logical line, tokens at least kCheckpointGap bytes apart (and every long token), so a
  // row deep inside a long line is tokenised from nearby instead of from the line's start.
  std::unordered_map<int, std::vector<TToken>> checkpoints_;
  // Per cell of the row: the token it belongs to starts here / is a region / is spaces or tab.
  std::vector<std::uint8_t> cellFlags_;
  std::vector<TMatch> matches_;
  std::vector<TMatch> findMatches_;
  int windowBegin_ = 0;
  int windowEnd_ = 0;
  std::string upper_;
  bool upperValid_ = false;
};

// The test view of a row: one line per run of cells that look alike, "col-col 'text' c<entry>
// b<entry> s<style> m<mark>", then the end mark and the fills.
std::string DumpRowPaint(std::string_view row, const TRowPaint& paint);

}  // namespace vorn
