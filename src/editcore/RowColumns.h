// TRowColumns: the display columns of one row, answered without building its column map.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace vorn {

// Every byte of a row is one column except tabs, which widen to their tab stop, so a row's
// columns are known from its tabs alone: col = byte + the extra width of the tabs before it.
// Whether a byte is the second half of a double-byte character is decided by looking back
// over the lead-byte run before it. A row of 50 MB without tabs thus costs one memchr to
// describe and a few byte reads per question, where its column map would be 50 MB to build.
//
// The answers are those of the row's column map (layout's ColumnMap with the default
// delimiters): Code(c) is map[c], Width() its length.
class TRowColumns {
public:
  // wrapByte > 0: tab stops restart at every multiple of it and a tab never crosses one, as
  // in the map of a wrapped row. text must outlive the object.
  TRowColumns(std::string_view text, int tabSpaceCount, int wrapByte);

  // The columns of text, which is old's row with `removed` bytes at pos replaced by `inserted`
  // bytes, carried over from old without searching the row again; null when the change could
  // alter which tabs there are (the removed or inserted bytes hold a tab or a lead byte, or
  // they follow a lead byte). removedPlain: the removed bytes held neither.
  static std::shared_ptr<const TRowColumns> AfterSplice(const TRowColumns& old, std::string_view text, int pos,
                                                        int removed, int inserted, bool removedPlain);

  int Width() const { return width_; }
  // The map code at col ('\0' outside the row).
  char Code(int col) const;
  // col minus the further tab columns up to it (up to the last column for a column past the
  // end, so that a free caret there keeps its distance).
  int ColToByte(int col) const;
  // The column where byte starts (the trail byte's column inside a pair); a byte past the
  // end keeps its distance past the width. Tab widths are those of the map.
  int ByteToCol(int byte) const;
  // byte starts a character: it is not the second byte of a double-byte pair.
  bool CharStart(int byte) const;

private:
  // Eight bytes a tab, no more than the column map of a row of tabs would take; the width
  // follows from the column.
  struct TTab {
    int Byte;
    int Col;
  };
  // The last tab whose first column is at or before col, or null.
  const TTab* TabAtOrBeforeCol(int col) const;
  // The last tab whose byte is before byte, or null.
  const TTab* TabBeforeByte(int byte) const;
  TRowColumns(std::string_view text, int tabSpaceCount, int wrapByte, std::vector<int> tabBytes);
  void PlaceTabs(const std::vector<int>& tabBytes);
  int TabWidthAt(int col) const;
  bool CharStartFromCheckpoint(int byte) const;

  std::string_view text_;
  int tabSpaceCount_;
  int wrapByte_;
  int width_ = 0;
  std::vector<TTab> tabs_;  // tabs that start a character, in byte order
  // Char-start flags at every kCheckpointBytes-th byte, built on the first look-back that
  // finds a long run of lead bytes (text that is all double-byte characters with lead-range
  // trail bytes would otherwise make each look-back walk to the row start).
  mutable std::vector<bool> checkpoints_;
};

// The columns of a row's bytes with the given tab settings, from a small cache shared by the
// process (and so by its panes; the interface thread only): the caret row of a long row is
// asked about on every caret move and repaint, but described once until row bytes change
// (TPointerStringList::BytesGeneration).
std::shared_ptr<const TRowColumns> CachedRowColumns(std::string_view bytes, int tabSpaceCount, int wrapByte);

class TVornEditCore;
// The columns of a core's row (an empty row outside the text) with the core's tab width and,
// with word wrap on, its wrap width. Valid until the store's rows change.
std::shared_ptr<const TRowColumns> ColumnsOfRow(const TVornEditCore& core, int row);

}  // namespace vorn
