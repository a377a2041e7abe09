// TRowIndex: the row container of the line store, blocks of row slots behind one index.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn {

// One row: its bytes (borrowed from a buffer the list holds, or owned) and its row word.
// The owned flag lives in the top bit of the length, keeping a slot at 16 bytes: a 2 M-row
// document then needs 32 MB of index beside its text.
struct TRowSlot {
  static constexpr std::uint32_t kOwned = 0x80000000u;
  const char* data = nullptr;
  std::uint32_t lenAndFlag = 0;
  std::uint32_t word = 0;

  std::uint32_t Length() const { return lenAndFlag & ~kOwned; }
  bool Owned() const { return (lenAndFlag & kOwned) != 0; }
};

// Rows live in blocks of about kBlockRows slots. Inserting or removing a row moves at most one
// block's slots and renumbers the block starts, so an Enter key in the middle of a 2 M-row
// document touches kilobytes instead of the whole 32 MB index.
class TRowIndex {
public:
  static constexpr int kBlockRows = 1024;

  int Size() const { return size_; }
  TRowSlot& At(int i) { return Locate(i); }
  const TRowSlot& At(int i) const { return const_cast<TRowIndex*>(this)->Locate(i); }

  // Inserts n slots copied from slots (or empty slots when slots is null) before row pos.
  void Insert(int pos, const TRowSlot* slots, int n);
  // Removes rows pos..pos+n-1; the caller releases owned bytes first.
  void Erase(int pos, int n);
  void Clear();

  // Calls f(slot) for rows first..first+n-1 in order, walking the blocks directly.
  template <class F>
  void ForRange(int first, int n, F&& f) {
    if (n <= 0) return;
    std::size_t k = FindBlock(first);
    int offset = first - starts_[k];
    while (n > 0) {
      std::vector<TRowSlot>& rows = blocks_[k].rows;
      int take = static_cast<int>(rows.size()) - offset;
      if (take > n) take = n;
      for (int j = 0; j < take; ++j) f(rows[static_cast<std::size_t>(offset + j)]);
      n -= take;
      offset = 0;
      ++k;
    }
  }
  template <class F>
  void ForRange(int first, int n, F&& f) const {
    const_cast<TRowIndex*>(this)->ForRange(first, n, [&](TRowSlot& s) { f(static_cast<const TRowSlot&>(s)); });
  }

private:
  struct TBlock {
    std::vector<TRowSlot> rows;
  };

  TRowSlot& Locate(int i) {
    std::size_t k = FindBlock(i);
    return blocks_[k].rows[static_cast<std::size_t>(i - starts_[k])];
  }
  std::size_t FindBlock(int i);
  void Renumber(std::size_t fromBlock);
  void SplitBlock(std::size_t k, int at);
  void InsertBulk(int pos, const TRowSlot* slots, int n);
  void MergeSmall(std::size_t k);

  std::vector<TBlock> blocks_;
  std::vector<int> starts_;
  int size_ = 0;
  std::size_t lastBlock_ = 0;
};

}  // namespace vorn
