// TPackedRows: a block of loaded rows kept as 4-byte end offsets into the file's buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "store/RowWord.h"
#include "store/SlotPool.h"

namespace vorn {

// A loaded file's rows lie one after another in its buffer, each followed by its line break.
// Kept as 16-byte slots they cost about a third of short-lined text; kept as the end of each
// row (31 bits from the block's first byte) and whether the break after it is two bytes or one
// (1 bit) they cost 4 bytes, and every row's bytes still follow in constant time from two
// neighbours.
// Words start as one word shared by every row; the first row given a word of its own gives
// the block a word per row. The rows' bytes never change here: the index unpacks the block
// into slots before any row's bytes do.
class TPackedRows {
public:
  // A full block's ends fill one cell of the slot pool: twenty thousand blocks of a gigabyte
  // then fault in a few dozen huge pages instead of twenty thousand small ones.
  using TEnds = std::vector<std::uint32_t, TSlotAllocator<std::uint32_t>>;
  static constexpr std::size_t kFullRows = TSlotPool::kCell / sizeof(std::uint32_t);

  static constexpr std::uint32_t kTwoByteBreak = 0x80000000u;
  // Rows must end within this many bytes of the block's first one; any row the store can hold
  // (under 2 GiB) fits in a block of its own.
  static constexpr std::size_t kMaxSpan = kTwoByteBreak - 1;

  TPackedRows() = default;
  TPackedRows(const char* base, TRowWord word) : base_(base), shared_(word) {}
  // Rows given as their ends already encoded (the row's end from base, kTwoByteBreak set when
  // a two-byte break follows it), as a scan that knows its breaks builds them.
  TPackedRows(const char* base, TEnds&& ends, TRowWord word)
      : base_(base), ends_(std::move(ends)), shared_(word) {}

  // Appends a row ending at rowEnd. The caller keeps rowEnd - Base() at most kMaxSpan and
  // rowBegin one or two bytes (the previous row's break) after the previous row's end.
  void Add(const char* rowBegin, const char* rowEnd) {
    if (!ends_.empty() && rowBegin - base_ - static_cast<std::ptrdiff_t>(EndOf(ends_.size() - 1)) == 2) ends_.back() |= kTwoByteBreak;
    ends_.push_back(static_cast<std::uint32_t>(rowEnd - base_));
  }
  // What Add needs to take a row: it begins where the last row's break ends and ends in reach.
  bool Fits(const char* rowBegin, const char* rowEnd) const {
    if (ends_.empty()) return rowBegin == base_ && static_cast<std::size_t>(rowEnd - base_) <= kMaxSpan;
    const std::ptrdiff_t gap = rowBegin - base_ - static_cast<std::ptrdiff_t>(EndOf(ends_.size() - 1));
    return (gap == 1 || gap == 2) && static_cast<std::size_t>(rowEnd - base_) <= kMaxSpan;
  }

  void Reserve(std::size_t rows) { ends_.reserve(rows); }
  std::size_t Size() const { return ends_.size(); }
  bool Empty() const { return ends_.empty(); }
  const char* Base() const { return base_; }

  std::size_t Begin(std::size_t j) const { return j == 0 ? 0 : EndOf(j - 1) + 1 + (ends_[j - 1] >> 31); }
  std::uint32_t Length(std::size_t j) const { return static_cast<std::uint32_t>(EndOf(j) - Begin(j)); }

  TRowWord Word(std::size_t j) const { return words_.empty() ? shared_ : words_[j]; }
  void SetWord(std::size_t j, TRowWord word) {
    if (words_.empty()) {
      if (word == shared_) return;
      words_.assign(ends_.size(), shared_);
    }
    words_[j] = word;
  }
  // Every row has the same word (then SharedWord is it).
  bool WordsShared() const { return words_.empty(); }
  TRowWord SharedWord() const { return shared_; }
  void SetSharedWord(TRowWord word) {
    words_.clear();
    shared_ = word;
  }

  void Clear() {
    ends_ = {};
    words_ = {};
  }
  std::size_t StorageBytes() const { return ends_.capacity() * sizeof(std::uint32_t) + words_.capacity() * sizeof(TRowWord); }

private:
  std::size_t EndOf(std::size_t j) const { return ends_[j] & ~kTwoByteBreak; }

  const char* base_ = nullptr;
  TEnds ends_;
  std::vector<TRowWord> words_;
  TRowWord shared_;
};

}  // namespace vorn
