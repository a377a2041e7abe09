// TPointerStringList and TVornEditStringList: string lists with a 32-bit row word per string.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteBuffer.h"
#include "store/RowIndex.h"

namespace vorn {

// How a row ends (4 bits of the row word).
enum TRowEnd : std::uint8_t {
  reLineEnd = 0,  // a line break follows the row
  reWrapped = 1,  // the logical line continues on the next row
  reTextEnd = 2,  // the text's last row, without a final line break
  reNone = 3,     // an empty run of rows; undo records that hold no text
};

// A string list whose strings each carry a row word:
//   bits 0-3 RowEnd, 4-7 BracketState + 2, 9 RowModified, 12-27 DiffIndex, 28-31 DiffKind.
// Strings may borrow their bytes from buffers the list adopted (a loaded file) or own them.
class TPointerStringList {
public:
  using TNotifyEvent = std::function<void()>;

  TPointerStringList() = default;
  TPointerStringList(const TPointerStringList&) = delete;
  TPointerStringList& operator=(const TPointerStringList&) = delete;
  TPointerStringList(TPointerStringList&& other) noexcept;
  TPointerStringList& operator=(TPointerStringList&& other) noexcept;
  virtual ~TPointerStringList();

  int Count() const { return rows_.Size(); }
  std::string Strings(int i) const { return std::string(Row(i)); }
  // The bytes of row i; valid until the row is changed or removed.
  std::string_view Row(int i) const {
    const TRowSlot& s = rows_.At(i);
    return {s.data, s.Length()};
  }
  void Put(int i, std::string_view s);

  std::uint32_t Pointers(int i) const { return rows_.At(i).word; }
  void SetPointers(int i, std::uint32_t word) { rows_.SetWord(i, word); }

  TRowEnd RowEnd(int i) const { return static_cast<TRowEnd>(Pointers(i) & 0xF); }
  void SetRowEnd(int i, TRowEnd e) { SetField(i, 0, 0xF, e); }
  int BracketState(int i) const { return static_cast<int>((Pointers(i) >> 4) & 0xF) - 2; }
  void SetBracketState(int i, int state) { SetField(i, 4, 0xF, static_cast<std::uint32_t>(state + 2)); }
  bool RowModified(int i) const { return (Pointers(i) >> 9) & 1; }
  void SetRowModified(int i, bool on) { SetField(i, 9, 1, on ? 1 : 0); }
  // Clears RowModified everywhere, at a cost that follows the marked rows, not Count().
  void ClearAllRowModified() { rows_.ClearModified(); }
  int RowModifiedCount() const { return rows_.ModifiedRows(); }
  // Debug check for tests: the index's per-block mark counts match the rows.
  bool RowModifiedCountsConsistent() const { return rows_.ModifiedCountsConsistent(); }
  int DiffIndex(int i) const { return static_cast<int>((Pointers(i) >> 12) & 0xFFFF); }
  void SetDiffIndex(int i, int index) { SetField(i, 12, 0xFFFF, static_cast<std::uint32_t>(index)); }
  int DiffKind(int i) const { return static_cast<int>(Pointers(i) >> 28); }
  void SetDiffKind(int i, int kind) { SetField(i, 28, 0xF, static_cast<std::uint32_t>(kind)); }

  // New entries get the word 0. Add returns the new index.
  int Add(std::string_view s);
  void Insert(int i, std::string_view s);
  void Delete(int i);
  virtual void Clear();

  // Row-level bulk operations behind the index.
  // Inserts n empty rows (word 0) before row pos.
  void InsertEmptyRows(int pos, int n);
  // Removes rows pos..pos+n-1 with their words.
  void RemoveRows(int pos, int n);
  // Copies rows first..first+n-1 of source (strings and whole words) in front of row pos.
  void CopyRowsFrom(int pos, const TPointerStringList& source, int first, int n);
  // Moves every row of source in front of row pos, leaving source empty (no byte copies).
  void TakeRowsFrom(int pos, TPointerStringList& source);
  // Keeps buffer alive for as long as rows may borrow from it (until Clear).
  const TByteBuffer& AdoptBuffer(TByteBuffer&& buffer);
  // Row i's bytes lie in a buffer the list adopted (or it is empty): they stay valid while
  // other rows change, until Clear.
  bool RowBorrowed(int i) const { return !rows_.At(i).Owned(); }
  // True when bytes lie inside a buffer this list adopted.
  bool InAdoptedBuffer(std::string_view bytes) const;
  // Points row i at bytes inside an adopted buffer without copying them; keeps the word.
  void PutBorrowed(int i, std::string_view bytes);
  // Appends rows borrowing their bytes from an adopted buffer (slots without the owned flag).
  void AppendBorrowedRows(const TRowSlot* slots, int n) { rows_.Insert(Count(), slots, n); }

  // Calls f(text, word) for rows first..first+n-1 in order.
  template <class F>
  void ForEachRow(int first, int n, F&& f) const {
    rows_.ForRange(first, n, [&](const TRowSlot& s) { f(std::string_view(s.data, s.Length()), s.word); });
  }
  // Calls f(word&) for rows first..first+n-1, for bulk field updates.
  template <class F>
  void ForEachWord(int first, int n, F&& f) {
    rows_.ForRange(first, n, [&](TRowSlot& s) { f(s.word); });
  }

  // Rows among first..first+n-1 that are not reWrapped (ends of logical lines); fast.
  int CountLineEnds(int first, int n) const { return rows_.CountLineEnds(first, n); }
  // The row of the nth (1-based) row that is not reWrapped, or -1.
  int FindNthLineEnd(int nth) const { return rows_.FindNthLineEnd(nth); }

  // Change notification: fires OnChange after a change outside an update block and when the
  // outermost update block ends.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
  const TNotifyEvent& OnChange() const { return onChange_; }

protected:
  virtual void SetUpdateState(bool updating);
  void Changed();

private:
  void SetField(int i, int shift, std::uint32_t mask, std::uint32_t value) {
    std::uint32_t w = rows_.At(i).word;
    rows_.SetWord(i, (w & ~(mask << shift)) | ((value & mask) << shift));
  }
  static TRowSlot MakeOwned(std::string_view s, std::uint32_t word);
  static void Release(TRowSlot& slot);
  void ReleaseRange(int first, int n);

  TRowIndex rows_;
  std::vector<std::unique_ptr<TByteBuffer>> buffers_;  // heap-held: rows point into them
  TNotifyEvent onChange_;
  int updateCount_ = 0;
};

// Every temporary row list (rows split from text, undo re-insertion lists) has this type.
class TVornEditStringList : public TPointerStringList {
public:
  using TPointerStringList::TPointerStringList;
};

}  // namespace vorn
