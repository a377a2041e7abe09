// TRowIndex: block lookup, insertion with block splitting, removal with merging of small blocks.
#include "store/RowIndex.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace vorn {

namespace {
// Rows a walk from a block's end covers so cheaply that its answer is not worth remembering.
constexpr std::size_t kCheapWalkRows = 32;
}  // namespace

std::size_t TRowIndex::FindBlock(int i) const {
  // Edits and walks cluster, so the block of the previous lookup is tried first.
  if (lastBlock_ < blocks_.size()) {
    int start = starts_[lastBlock_];
    if (i >= start && i < start + static_cast<int>(blocks_[lastBlock_].Size())) return lastBlock_;
  }
  auto it = std::upper_bound(starts_.begin(), starts_.end(), i);
  std::size_t k = static_cast<std::size_t>(std::distance(starts_.begin(), it));
  k = k == 0 ? 0 : k - 1;
  // Skip empty blocks (there are none after Erase, but a split may leave one briefly).
  while (k + 1 < blocks_.size() && i - starts_[k] >= static_cast<int>(blocks_[k].Size())) ++k;
  lastBlock_ = k;
  return k;
}

void TRowIndex::Renumber(std::size_t fromBlock) {
  ForgetSumsFrom(fromBlock);
  starts_.resize(blocks_.size());
  int start = fromBlock == 0 ? 0 : starts_[fromBlock - 1] + static_cast<int>(blocks_[fromBlock - 1].Size());
  for (std::size_t k = fromBlock; k < blocks_.size(); ++k) {
    starts_[k] = start;
    start += static_cast<int>(blocks_[k].Size());
  }
}

void TRowIndex::Unpack(std::size_t k) {
  TBlock& b = blocks_[k];
  if (!b.Packed()) return;
  TRowSlots rows;
  // A block of exactly kBlockRows takes one cell of the pool.
  rows.reserve(b.packed.Size());
  for (std::size_t j = 0; j < b.packed.Size(); ++j) rows.push_back(SlotOf(b.packed, j));
  b.rows = std::move(rows);
  b.packed.Clear();
}

void TRowIndex::SplitBlock(std::size_t k, int at) {
  Unpack(k);
  TRowSlots& rows = blocks_[k].rows;
  TBlock tail;
  tail.rows.assign(rows.begin() + at, rows.end());
  tail.modified = CountModified(tail.rows.data(), tail.rows.size());
  rows.erase(rows.begin() + at, rows.end());
  blocks_[k].lineEnds = -1;
  blocks_[k].textBytes = -1;
  blocks_[k].modified -= tail.modified;
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(k) + 1, std::move(tail));
  starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(k) + 1, 0);
}

void TRowIndex::Insert(int pos, const TRowSlot* slots, int n) {
  if (n <= 0) return;
  if (n > kBlockRows / 2 || blocks_.empty()) {
    InsertBulk(pos, slots, n);
    return;
  }
  std::size_t k = pos == size_ ? blocks_.size() - 1 : FindBlock(pos);
  Unpack(k);
  TRowSlots& rows = blocks_[k].rows;
  auto at = rows.begin() + (pos - starts_[k]);
  if (slots) {
    rows.insert(at, slots, slots + n);
    blocks_[k].modified += CountModified(slots, static_cast<std::size_t>(n));
  } else {
    rows.insert(at, static_cast<std::size_t>(n), TRowSlot{});
  }
  size_ += n;
  blocks_[k].lineEnds = -1;
  blocks_[k].textBytes = -1;
  if (static_cast<int>(rows.size()) > 2 * kBlockRows) SplitBlock(k, static_cast<int>(rows.size()) / 2);
  Renumber(k);
}

void TRowIndex::InsertBulk(int pos, const TRowSlot* slots, int n) {
  // Cut the block at pos and put whole new blocks between the halves.
  std::size_t k = blocks_.size();
  if (pos < size_) {
    k = FindBlock(pos);
    int at = pos - starts_[k];
    if (at > 0) {
      SplitBlock(k, at);
      ++k;
    }
  }
  std::vector<TBlock> fresh;
  fresh.reserve(static_cast<std::size_t>(n / kBlockRows + 1));
  for (int done = 0; done < n;) {
    int take = std::min(kBlockRows, n - done);
    TBlock b;
    if (slots) {
      b.rows.assign(slots + done, slots + done + take);
      b.modified = CountModified(b.rows.data(), b.rows.size());
    } else {
      b.rows.assign(static_cast<std::size_t>(take), TRowSlot{});
    }
    fresh.push_back(std::move(b));
    done += take;
  }
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(k), std::make_move_iterator(fresh.begin()),
                 std::make_move_iterator(fresh.end()));
  size_ += n;
  Renumber(0);
}

void TRowIndex::AppendBlock(TRowSlots&& rows) {
  if (rows.empty()) return;
  TBlock b;
  b.modified = CountModified(rows.data(), rows.size());
  b.rows = std::move(rows);
  starts_.resize(blocks_.size());
  starts_.push_back(size_);
  size_ += static_cast<int>(b.rows.size());
  blocks_.push_back(std::move(b));
  ForgetSumsFrom(blocks_.size() - 1);
}

void TRowIndex::AppendPacked(TPackedRows&& rows) {
  if (rows.Empty()) return;
  TBlock b;
  b.packed = std::move(rows);
  b.modified = CountModified(b);
  starts_.resize(blocks_.size());
  starts_.push_back(size_);
  size_ += static_cast<int>(b.packed.Size());
  blocks_.push_back(std::move(b));
  ForgetSumsFrom(blocks_.size() - 1);
}

void TRowIndex::Erase(int pos, int n) {
  if (n <= 0) return;
  std::size_t k = FindBlock(pos);
  int offset = pos - starts_[k];
  std::size_t firstTouched = k;
  int left = n;
  while (left > 0) {
    int take = std::min(left, static_cast<int>(blocks_[k].Size()) - offset);
    if (offset == 0 && take == static_cast<int>(blocks_[k].Size())) {
      // A whole block goes as it is, packed or not.
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(k));
      left -= take;
      continue;
    }
    Unpack(k);
    TRowSlots& rows = blocks_[k].rows;
    blocks_[k].modified -= CountModified(rows.data() + offset, static_cast<std::size_t>(take));
    rows.erase(rows.begin() + offset, rows.begin() + offset + take);
    blocks_[k].lineEnds = -1;
    blocks_[k].textBytes = -1;
    left -= take;
    offset = 0;
    if (rows.empty()) {
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(k));
    } else {
      ++k;
    }
  }
  size_ -= n;
  if (firstTouched > 0) --firstTouched;
  if (firstTouched < blocks_.size()) MergeSmall(firstTouched);
  Renumber(firstTouched < blocks_.size() ? firstTouched : 0);
  lastBlock_ = 0;
}

void TRowIndex::MergeSmall(std::size_t k) {
  // Keeps lookups short after many deletions: neighbours that fit one block become one.
  for (int step = 0; step < 2 && k + 1 < blocks_.size(); ++step) {
    const std::size_t sizeA = blocks_[k].Size();
    const std::size_t sizeB = blocks_[k + 1].Size();
    if (sizeA + sizeB <= static_cast<std::size_t>(kBlockRows) && (sizeA < kBlockRows / 4 || sizeB < kBlockRows / 4)) {
      Unpack(k);
      Unpack(k + 1);
      TRowSlots& a = blocks_[k].rows;
      TRowSlots& b = blocks_[k + 1].rows;
      a.insert(a.end(), b.begin(), b.end());
      blocks_[k].lineEnds = -1;
      blocks_[k].textBytes = -1;
      blocks_[k].modified += blocks_[k + 1].modified;
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(k) + 1);
    } else {
      ++k;
    }
  }
}

int TRowIndex::CountBlockRange(const TBlock& b, std::size_t from, std::size_t to) {
  int ends = 0;
  if (b.Packed() && b.packed.WordsShared()) return b.packed.SharedWord().EndsLine() ? static_cast<int>(to - from) : 0;
  for (std::size_t j = from; j < to; ++j) ends += b.WordAt(j).EndsLine();
  return ends;
}

int TRowIndex::BlockLineEnds(std::size_t k) const {
  const TBlock& b = blocks_[k];
  if (b.lineEnds < 0) const_cast<TBlock&>(b).lineEnds = CountBlockRange(b, 0, b.Size());
  return b.lineEnds;
}

std::int64_t TRowIndex::SpanBlockRange(const TBlock& b, std::size_t from, std::size_t to) {
  std::int64_t bytes = 0;
  for (std::size_t j = from; j < to; ++j) bytes += SpanAt(b, j);
  return bytes;
}

std::int64_t TRowIndex::BlockTextBytes(std::size_t k) const {
  const TBlock& b = blocks_[k];
  if (b.textBytes < 0) const_cast<TBlock&>(b).textBytes = SpanBlockRange(b, 0, b.Size());
  return b.textBytes;
}

int TRowIndex::LineEndsBefore(std::size_t k) const {
  if (lineEndsBefore_.size() < blocks_.size() + 1) lineEndsBefore_.resize(blocks_.size() + 1);
  for (; linesValid_ <= k; ++linesValid_)
    lineEndsBefore_[linesValid_] = lineEndsBefore_[linesValid_ - 1] + BlockLineEnds(linesValid_ - 1);
  return lineEndsBefore_[k];
}

std::int64_t TRowIndex::TextBytesBefore(std::size_t k) const {
  if (textBytesBefore_.size() < blocks_.size() + 1) textBytesBefore_.resize(blocks_.size() + 1);
  for (; bytesValid_ <= k; ++bytesValid_)
    textBytesBefore_[bytesValid_] = textBytesBefore_[bytesValid_ - 1] + BlockTextBytes(bytesValid_ - 1);
  return textBytesBefore_[k];
}

std::size_t TRowIndex::BlockWhereLineEndsPass(int limit) const {
  const std::size_t n = blocks_.size();
  // Extend block by block until the sums pass the limit; then search what is known.
  while (linesValid_ <= n && LineEndsBefore(linesValid_ - 1) <= limit) LineEndsBefore(linesValid_);
  const auto first = lineEndsBefore_.begin() + 1;
  const auto known = lineEndsBefore_.begin() + static_cast<std::ptrdiff_t>(std::min(linesValid_, n + 1));
  return static_cast<std::size_t>(std::upper_bound(first, known, limit) - first);
}

std::size_t TRowIndex::BlockWhereTextBytesPass(std::int64_t limit) const {
  const std::size_t n = blocks_.size();
  while (bytesValid_ <= n && TextBytesBefore(bytesValid_ - 1) <= limit) TextBytesBefore(bytesValid_);
  const auto first = textBytesBefore_.begin() + 1;
  const auto known = textBytesBefore_.begin() + static_cast<std::ptrdiff_t>(std::min(bytesValid_, n + 1));
  return static_cast<std::size_t>(std::upper_bound(first, known, limit) - first);
}

std::int64_t TRowIndex::TextOffsetOfRow(int row) const {
  if (row <= 0 || blocks_.empty()) return 0;
  if (row >= size_) return TextBytesBefore(blocks_.size());
  const std::size_t k = FindBlock(row);
  const TBlock& b = blocks_[k];
  const std::size_t to = static_cast<std::size_t>(row - starts_[k]);
  std::int64_t offset = 0;
  const bool fromNear =
      NearInBlock(k) && static_cast<std::size_t>(std::abs(row - nearRow_)) < std::min(to, b.Size() - to);
  if (fromNear) {
    const std::size_t near = static_cast<std::size_t>(nearRow_ - starts_[k]);
    offset = row >= nearRow_ ? nearOffset_ + SpanBlockRange(b, near, to) : nearOffset_ - SpanBlockRange(b, to, near);
  } else {
    // As for line ends: add up the shorter side of the block.
    const std::int64_t inBlock = 2 * to <= b.Size() ? SpanBlockRange(b, 0, to)
                                                      : BlockTextBytes(k) - SpanBlockRange(b, to, b.Size());
    offset = TextBytesBefore(k) + inBlock;
  }
  if (fromNear || std::min(to, b.Size() - to) > kCheapWalkRows) RememberNear(row, offset);
  return offset;
}

int TRowIndex::RowAtTextOffset(std::int64_t offset) const {
  if (blocks_.empty()) return 0;
  offset = std::max<std::int64_t>(offset, 0);
  // The first block whose end lies past the offset holds the row.
  const std::size_t k = BlockWhereTextBytesPass(offset);
  if (k >= blocks_.size()) return size_;
  const TBlock& b = blocks_[k];
  // The walk starts at the block's first row, or at the row answered last when that is nearer:
  // going back from it first to a row that starts at or before the offset.
  std::size_t j = 0;
  std::int64_t start = textBytesBefore_[k];
  if (NearInBlock(k) && (offset >= nearOffset_ || nearOffset_ - offset < offset - start)) {
    j = static_cast<std::size_t>(nearRow_ - starts_[k]);
    start = nearOffset_;
    while (j > 0 && start > offset) start -= SpanAt(b, --j);
  }
  for (; j < b.Size(); ++j) {
    const std::int64_t end = start + SpanAt(b, j);
    if (end > offset) {
      RememberNear(starts_[k] + static_cast<int>(j), start);
      return starts_[k] + static_cast<int>(j);
    }
    start = end;
  }
  return size_;
}

int TRowIndex::CountLineEnds(int first, int n) const {
  if (first == 0 && n > 0 && n <= size_) {
    const std::size_t k = FindBlock(n - 1);
    const std::size_t to = static_cast<std::size_t>(n - starts_[k]);
    const TBlock& b = blocks_[k];
    int ends = 0;
    const int near = nearLinesRow_ - starts_[k];
    const bool fromNear = nearLinesVersion_ == sumsVersion_ && near >= 0 && near <= static_cast<int>(b.Size()) &&
                          static_cast<std::size_t>(std::abs(n - nearLinesRow_)) < std::min(to, b.Size() - to);
    if (fromNear) {
      const std::size_t j = static_cast<std::size_t>(near);
      ends = to >= j ? nearLineEnds_ + CountBlockRange(b, j, to) : nearLineEnds_ - CountBlockRange(b, to, j);
    } else {
      // Count the shorter side of the block: the rows before `to`, or the rows after it taken
      // off the block's kept count.
      const int inBlock = 2 * to <= b.Size() ? CountBlockRange(b, 0, to)
                                               : BlockLineEnds(k) - CountBlockRange(b, to, b.Size());
      ends = LineEndsBefore(k) + inBlock;
    }
    // A count near a block's end costs little to answer again; keeping it would push out the
    // row asked about before (find up asks for the last line's number between caret steps).
    if (fromNear || std::min(to, b.Size() - to) > kCheapWalkRows) {
      nearLinesRow_ = n;
      nearLineEnds_ = ends;
      nearLinesVersion_ = sumsVersion_;
    }
    return ends;
  }
  int ends = 0;
  const_cast<TRowIndex*>(this)->Walk(first, n, [&](const TBlock& b, std::size_t from, std::size_t to) {
    if (from == 0 && to == b.Size())
      ends += BlockLineEnds(static_cast<std::size_t>(&b - blocks_.data()));
    else
      ends += CountBlockRange(b, from, to);
  });
  return ends;
}

int TRowIndex::FindNthLineEnd(int nth) const {
  if (nth <= 0 || blocks_.empty()) return -1;
  // The first block whose rows bring the count of line ends up to nth holds the row.
  const std::size_t k = BlockWhereLineEndsPass(nth - 1);
  if (k >= blocks_.size()) return -1;
  nth -= lineEndsBefore_[k];
  const TBlock& b = blocks_[k];
  for (std::size_t j = 0; j < b.Size(); ++j)
    if (b.WordAt(j).EndsLine() && --nth == 0) return starts_[k] + static_cast<int>(j);
  return -1;
}

int TRowIndex::CountModified(const TRowSlot* slots, std::size_t n) {
  int marked = 0;
  for (std::size_t j = 0; j < n; ++j) marked += slots[j].word.Modified();
  return marked;
}

int TRowIndex::CountModified(const TBlock& b) {
  if (!b.Packed()) return CountModified(b.rows.data(), b.rows.size());
  if (b.packed.WordsShared()) return b.packed.SharedWord().Modified() ? static_cast<int>(b.packed.Size()) : 0;
  int marked = 0;
  for (std::size_t j = 0; j < b.packed.Size(); ++j) marked += b.packed.Word(j).Modified();
  return marked;
}

void TRowIndex::ClearModified() {
  // The mark is not part of the row end, so the cached line-end counts stay valid.
  for (TBlock& b : blocks_) {
    if (b.modified == 0) continue;
    for (TRowSlot& s : b.rows) s.word.SetModified(false);
    if (b.Packed() && b.packed.WordsShared()) {
      TRowWord w = b.packed.SharedWord();
      w.SetModified(false);
      b.packed.SetSharedWord(w);
    }
    for (std::size_t j = 0; j < b.packed.Size() && !b.packed.WordsShared(); ++j) {
      TRowWord w = b.packed.Word(j);
      w.SetModified(false);
      b.packed.SetWord(j, w);
    }
    b.modified = 0;
  }
}

int TRowIndex::ModifiedRows() const {
  int marked = 0;
  for (const TBlock& b : blocks_) marked += b.modified;
  return marked;
}

bool TRowIndex::ModifiedCountsConsistent() const {
  for (const TBlock& b : blocks_)
    if (b.modified != CountModified(b)) return false;
  return true;
}

int TRowIndex::PackedRowCount() const {
  int packed = 0;
  for (const TBlock& b : blocks_) packed += static_cast<int>(b.packed.Size());
  return packed;
}

std::size_t TRowIndex::StorageBytes() const {
  std::size_t bytes = blocks_.capacity() * sizeof(TBlock) + starts_.capacity() * sizeof(int);
  for (const TBlock& b : blocks_) bytes += b.rows.capacity() * sizeof(TRowSlot) + b.packed.StorageBytes();
  return bytes;
}

void TRowIndex::Clear() {
  blocks_.clear();
  starts_.clear();
  size_ = 0;
  lastBlock_ = 0;
  linesValid_ = bytesValid_ = 1;
  ++sumsVersion_;
}

}  // namespace vorn
