// TRowIndex: the row container of the line store, blocks of row slots behind one index.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "store/PackedRows.h"
#include "store/RowWord.h"
#include "store/SlotPool.h"

namespace vorn {

// One row: its bytes (borrowed from a buffer the list holds, or owned) and its row word.
// The owned flag lives in the top bit of the length, keeping a slot at 16 bytes: a 2 M-row
// document then needs 32 MB of index beside its text.
struct TRowSlot {
  static constexpr std::uint32_t kOwned = 0x80000000u;
  const char* data = nullptr;
  std::uint32_t lenAndFlag = 0;
  TRowWord word;

  std::uint32_t Length() const { return lenAndFlag & ~kOwned; }
  // A row of 2 GiB or more cannot be held; refusing it beats cutting the user's text.
  static std::uint32_t CheckedLength(std::size_t length) {
    if (length >= kOwned) throw std::length_error("row longer than 2 GiB");
    return static_cast<std::uint32_t>(length);
  }
  bool Owned() const { return (lenAndFlag & kOwned) != 0; }
};

// Row j of a packed block as a slot (never owned).
inline TRowSlot SlotOf(const TPackedRows& rows, std::size_t j) {
  TRowSlot s;
  s.lenAndFlag = rows.Length(j);
  s.data = s.lenAndFlag == 0 ? nullptr : rows.Base() + rows.Begin(j);
  s.word = rows.Word(j);
  return s;
}

// A block's slots; full-size blocks come from the slot pool.
using TRowSlots = std::vector<TRowSlot, TSlotAllocator<TRowSlot>>;

// Rows live in blocks of about kBlockRows slots. Inserting or removing a row moves at most one
// block's slots and renumbers the block starts, so an Enter key in the middle of a 2 M-row
// document touches kilobytes instead of the whole 32 MB index. A loaded file's blocks stay
// packed (TPackedRows, 4 bytes a row) until a row in them is inserted, removed or given other
// bytes; only that block is then unpacked into slots.
class TRowIndex {
public:
  static constexpr int kBlockRows = 1024;
  // Rows in a full packed block: a loaded file's blocks are that long until unpacked.
  static constexpr int kPackedBlockRows = static_cast<int>(TPackedRows::kFullRows);

  int Size() const { return size_; }
  // Rows are read through At and changed only through SetWord, SetBytes and ForRange, so that
  // the per-block counts never see a word change they were not told about.
  TRowSlot At(int i) const {
    std::size_t k = FindBlock(i);
    return blocks_[k].SlotAt(static_cast<std::size_t>(i - starts_[k]));
  }
  void SetWord(int i, TRowWord word) {
    std::size_t k = FindBlock(i);
    TBlock& b = blocks_[k];
    const std::size_t j = static_cast<std::size_t>(i - starts_[k]);
    ForgetBlock(k);
    b.modified += ModifiedDelta(b.WordAt(j), word);
    if (b.Packed())
      b.packed.SetWord(j, word);
    else
      b.rows[j].word = word;
  }
  // Replaces row i's bytes, keeping its word; the caller releases the old owned bytes.
  void SetBytes(int i, const char* data, std::uint32_t lenAndFlag) {
    std::size_t k = FindBlock(i);
    Unpack(k);
    TRowSlot& s = blocks_[k].rows[static_cast<std::size_t>(i - starts_[k])];
    ForgetBlock(k);
    s.data = data;
    s.lenAndFlag = lenAndFlag;
  }

  // Inserts n slots copied from slots (or empty slots when slots is null) before row pos.
  void Insert(int pos, const TRowSlot* slots, int n);
  // Appends rows as one block of their own, taking over the vector: a file being loaded fills
  // its blocks in place instead of having every slot copied once more.
  void AppendBlock(TRowSlots&& rows);
  // Appends a loaded file's rows as one packed block (at most kPackedBlockRows rows).
  void AppendPacked(TPackedRows&& rows);
  // Removes rows pos..pos+n-1; the caller releases owned bytes first.
  void Erase(int pos, int n);
  void Clear();

  // Calls f(slot) for rows first..first+n-1 in order, walking the blocks directly. A packed
  // row's slot is a copy written back when f changed it: a new word stays packed, new bytes
  // unpack the block.
  template <class F>
  void ForRange(int first, int n, F&& f) {
    Walk(first, n, [&](TBlock& b, std::size_t from, std::size_t to) {
      ForgetBlock(static_cast<std::size_t>(&b - blocks_.data()));
      // A local sum: the row words may alias b.modified, which would cost a store per row.
      int delta = 0;
      std::size_t j = from;
      if (b.Packed()) j = ForPackedRange(b, from, to, f, delta);
      for (; j < to; ++j) {
        const TRowWord before = b.rows[j].word;
        f(b.rows[j]);
        delta += ModifiedDelta(before, b.rows[j].word);
      }
      b.modified += delta;
    });
  }
  template <class F>
  void ForRange(int first, int n, F&& f) const {
    const_cast<TRowIndex*>(this)->Walk(first, n, [&](const TBlock& b, std::size_t from, std::size_t to) {
      if (b.Packed()) {
        for (std::size_t j = from; j < to; ++j) f(static_cast<const TRowSlot&>(SlotOf(b.packed, j)));
      } else {
        for (std::size_t j = from; j < to; ++j) f(static_cast<const TRowSlot&>(b.rows[j]));
      }
    });
  }
  // Rows kept in packed blocks, and the bytes of the index's row storage; for tests and benches.
  int PackedRowCount() const;
  std::size_t StorageBytes() const;

  // Rows among first..first+n-1 whose word EndsLine (row end not reWrapped): the logical
  // lines that end there. Whole blocks answer from a cached count, so converting
  // between rows and lines costs about one step per block.
  int CountLineEnds(int first, int n) const;
  // The row of the nth (1-based) such row, or -1 when there are fewer.
  int FindNthLineEnd(int nth) const;

  // The text offset where row starts: the bytes of the rows before it, 2 more for each of
  // them that ends its line with a break (reLineEnd). Answered from per-block sums kept like
  // the line-end counts, so a deep offset costs about one step per block, not per row.
  std::int64_t TextOffsetOfRow(int row) const;
  // The first row whose span (its bytes, plus 2 when reLineEnd) reaches past offset: the row
  // an offset falls on. Size() when the offset lies at or beyond the end of the text.
  int RowAtTextOffset(std::int64_t offset) const;

  // Clears the Modified mark in every row. Only blocks whose count is non-zero are walked, so
  // returning to the saved state costs as much as the rows edited since, not the document.
  void ClearModified();
  // Rows whose word is Modified, summed from the per-block counts.
  int ModifiedRows() const;
  // True when every block's count equals a recount of its rows; for tests.
  bool ModifiedCountsConsistent() const;

private:
  struct TBlock {
    TRowSlots rows;      // the rows as slots, empty while packed
    TPackedRows packed;  // the rows of a loaded file, while none has changed its bytes
    int lineEnds = -1;  // cached count, -1 when unknown
    std::int64_t textBytes = -1;  // cached sum of the row spans, -1 when unknown
    int modified = 0;   // Modified rows, always exact

    bool Packed() const { return !packed.Empty(); }
    std::size_t Size() const { return Packed() ? packed.Size() : rows.size(); }
    TRowWord WordAt(std::size_t j) const { return Packed() ? packed.Word(j) : rows[j].word; }
    TRowSlot SlotAt(std::size_t j) const { return Packed() ? SlotOf(packed, j) : rows[j]; }
  };
  static int ModifiedDelta(TRowWord before, TRowWord after) {
    return static_cast<int>(after.Modified()) - static_cast<int>(before.Modified());
  }
  static int CountModified(const TRowSlot* slots, std::size_t n);
  static int CountModified(const TBlock& b);
  // Turns a packed block into slots, before its rows move or change their bytes.
  void Unpack(std::size_t k);

  // The packed part of ForRange; returns the row from which the block is slots (to when none).
  // While every row of a block that shares one word gets the same new word, the word stays
  // shared: the bulk field writes after loading then cost no memory per row.
  template <class F>
  std::size_t ForPackedRange(TBlock& b, std::size_t from, std::size_t to, F& f, int& delta) {
    const bool whole = from == 0 && to == b.Size() && b.packed.WordsShared();
    const TRowWord shared = b.packed.SharedWord();
    TRowWord common;
    std::size_t j = from;
    for (; j < to; ++j) {
      TRowSlot s = SlotOf(b.packed, j);
      const TRowSlot before = s;
      f(s);
      delta += ModifiedDelta(before.word, s.word);
      const bool sameBytes = s.data == before.data && s.lenAndFlag == before.lenAndFlag;
      if (whole && j == from) common = s.word;
      if (whole && sameBytes && s.word == common) continue;
      if (whole) {
        // The rows so far got common, the rest still hold the shared word.
        b.packed.SetSharedWord(common);
        for (std::size_t r = j; r < b.Size(); ++r) b.packed.SetWord(r, shared);
      }
      if (!sameBytes) {
        Unpack(static_cast<std::size_t>(&b - blocks_.data()));
        b.rows[j] = s;
        return j + 1;
      }
      b.packed.SetWord(j, s.word);
      if (whole) break;
    }
    if (whole && j == to) {
      b.packed.SetSharedWord(common);
      return to;
    }
    for (++j; j < to; ++j) {
      TRowSlot s = SlotOf(b.packed, j);
      const TRowSlot before = s;
      f(s);
      delta += ModifiedDelta(before.word, s.word);
      if (s.data != before.data || s.lenAndFlag != before.lenAndFlag) {
        Unpack(static_cast<std::size_t>(&b - blocks_.data()));
        b.rows[j] = s;
        return j + 1;
      }
      b.packed.SetWord(j, s.word);
    }
    return to;
  }

  template <class F>
  void Walk(int first, int n, F&& f) {
    if (n <= 0) return;
    std::size_t k = FindBlock(first);
    std::size_t offset = static_cast<std::size_t>(first - starts_[k]);
    while (n > 0) {
      TBlock& b = blocks_[k];
      std::size_t take = std::min(b.Size() - offset, static_cast<std::size_t>(n));
      f(b, offset, offset + take);
      n -= static_cast<int>(take);
      offset = 0;
      ++k;
    }
  }
  static int CountBlockRange(const TBlock& b, std::size_t from, std::size_t to);
  static std::int64_t SpanOf(std::uint32_t length, TRowWord word) { return length + (word.End() == reLineEnd ? 2 : 0); }
  static std::int64_t SpanAt(const TBlock& b, std::size_t j) {
    return b.Packed() ? SpanOf(b.packed.Length(j), b.packed.Word(j)) : SpanOf(b.rows[j].Length(), b.rows[j].word);
  }
  static std::int64_t SpanBlockRange(const TBlock& b, std::size_t from, std::size_t to);
  int BlockLineEnds(std::size_t k) const;
  std::int64_t BlockTextBytes(std::size_t k) const;
  // Line ends and text bytes in the blocks before block k. The sums are kept for the blocks up
  // to the first one changed since, so a query next to the last edit (every ReplaceRows makes
  // one) adds up one block instead of every block above it.
  // Each kind of sum is extended only when asked for and only as far as asked: the first
  // question after loading then walks the rows once, not once per kind.
  int LineEndsBefore(std::size_t k) const;
  std::int64_t TextBytesBefore(std::size_t k) const;
  // The first block whose rows bring the sum past limit (Size of blocks_ when none does).
  std::size_t BlockWhereLineEndsPass(int limit) const;
  std::size_t BlockWhereTextBytesPass(std::int64_t limit) const;
  void ForgetSumsFrom(std::size_t k) const {
    linesValid_ = std::min(linesValid_, k + 1);
    bytesValid_ = std::min(bytesValid_, k + 1);
    ++sumsVersion_;
  }
  // Whether the row offset answered last lies in block k and nothing changed since.
  bool NearInBlock(std::size_t k) const {
    return nearVersion_ == sumsVersion_ && nearRow_ >= starts_[k] &&
           nearRow_ < starts_[k] + static_cast<int>(blocks_[k].Size());
  }
  void RememberNear(int row, std::int64_t offset) const {
    nearRow_ = row;
    nearOffset_ = offset;
    nearVersion_ = sumsVersion_;
  }
  // A block's rows or words changed: its cached counts and every sum after it are stale.
  void ForgetBlock(std::size_t k) {
    blocks_[k].lineEnds = -1;
    blocks_[k].textBytes = -1;
    ForgetSumsFrom(k);
  }

  std::size_t FindBlock(int i) const;
  void Renumber(std::size_t fromBlock);
  void SplitBlock(std::size_t k, int at);
  void InsertBulk(int pos, const TRowSlot* slots, int n);
  void MergeSmall(std::size_t k);

  std::vector<TBlock> blocks_;
  std::vector<int> starts_;
  int size_ = 0;
  mutable std::size_t lastBlock_ = 0;
  // lineEndsBefore_[k] is right for every k < linesValid_, textBytesBefore_[k] for every
  // k < bytesValid_; entry 0 is always 0.
  mutable std::vector<int> lineEndsBefore_{0};
  mutable std::vector<std::int64_t> textBytesBefore_{0};
  mutable std::size_t linesValid_ = 1;
  mutable std::size_t bytesValid_ = 1;
  // Every change to rows or words counts up; it tells the offset remembered below from a stale one.
  mutable std::uint64_t sumsVersion_ = 0;
  // The row whose text offset was answered last, and that offset: stepping along a long wrapped
  // line (find up, the caret and its selection) asks about neighbouring rows, which are then a
  // few spans away instead of half a block's walk.
  mutable int nearRow_ = -1;
  mutable std::int64_t nearOffset_ = 0;
  mutable std::uint64_t nearVersion_ = ~std::uint64_t{0};
  // The same for the line ends before a row, which a row's line number is.
  mutable int nearLinesRow_ = -1;
  mutable int nearLineEnds_ = 0;
  mutable std::uint64_t nearLinesVersion_ = ~std::uint64_t{0};
};

// A file's rows are appended in blocks of exactly kBlockRows slots: those come from the pool.
static_assert(TRowIndex::kBlockRows * sizeof(TRowSlot) == TSlotPool::kCell);

}  // namespace vorn
