// TPointerStringList and TVornEditStringList: string lists with a 32-bit row word per string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteBuffer.h"
#include "store/RowIndex.h"

namespace vorn {

// A string list whose strings each carry a row word (TRowWord).
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
  // Replaces `removed` bytes at pos of row i by insert, keeping the word. The row's bytes are
  // written in place when it owns enough room; otherwise they move to a block with spare room.
  void SpliceRowBytes(int i, std::size_t pos, std::size_t removed, std::string_view insert);

  TRowWord Word(int i) const { return rows_.At(i).word; }
  void SetWord(int i, TRowWord word) { rows_.SetWord(i, word); }
  // The raw 32 bits of row i's word, as stored.
  std::uint32_t Pointers(int i) const { return Word(i).Raw(); }
  void SetPointers(int i, std::uint32_t word) { SetWord(i, TRowWord::FromRaw(word)); }

  TRowEnd RowEnd(int i) const { return Word(i).End(); }
  void SetRowEnd(int i, TRowEnd e) { ChangeWord(i, [e](TRowWord& w) { w.SetEnd(e); }); }
  int BracketState(int i) const { return Word(i).BracketState(); }
  void SetBracketState(int i, int state) { ChangeWord(i, [state](TRowWord& w) { w.SetBracketState(state); }); }
  bool RowModified(int i) const { return Word(i).Modified(); }
  void SetRowModified(int i, bool on) { ChangeWord(i, [on](TRowWord& w) { w.SetModified(on); }); }
  // Clears RowModified everywhere, at a cost that follows the marked rows, not Count().
  void ClearAllRowModified() { rows_.ClearModified(); }
  int RowModifiedCount() const { return rows_.ModifiedRows(); }
  // Debug check for tests: the index's per-block mark counts match the rows.
  bool RowModifiedCountsConsistent() const { return rows_.ModifiedCountsConsistent(); }
  int DiffIndex(int i) const { return Word(i).DiffIndex(); }
  void SetDiffIndex(int i, int index) { ChangeWord(i, [index](TRowWord& w) { w.SetDiffIndex(index); }); }
  int DiffKind(int i) const { return Word(i).DiffKind(); }
  void SetDiffKind(int i, int kind) { ChangeWord(i, [kind](TRowWord& w) { w.SetDiffKind(kind); }); }

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
  // The same for one block's worth of slots (at most 2 * TRowIndex::kBlockRows), without a copy.
  void AppendBorrowedBlock(TRowSlots&& slots) { rows_.AppendBlock(std::move(slots)); }
  // The same for a packed block of rows inside an adopted buffer, kept packed.
  void AppendPackedRows(TPackedRows&& rows) { rows_.AppendPacked(std::move(rows)); }
  // Rows held packed, and the bytes the row index takes; for tests and benches.
  int PackedRowCount() const { return rows_.PackedRowCount(); }
  std::size_t RowIndexBytes() const { return rows_.StorageBytes(); }

  // Calls sink(bytes) with the text of rows first..first+n-1, each row followed by lineBreak
  // where its word says the line ends. Rows that lie one after another in an adopted buffer,
  // with exactly lineBreak between them there, go out as one piece: a loaded file that has not
  // been edited reaches the sink in a few large pieces instead of two per row.
  template <class Sink>
  void WriteRows(int first, int n, std::string_view lineBreak, Sink&& sink) const;

  // The rows from first on (at most n) whose bytes, with lineBreak after each row that ends a
  // line, lie one after another in one adopted buffer, as a loaded file's unedited lines do:
  // those bytes in place, and in rows how many rows they hold (0 when row first is not such a
  // row). Lets a scan read a loaded text where it lies instead of copying it. maxBytes bounds
  // the run.
  std::string_view AdoptedRun(int first, int n, std::string_view lineBreak, std::size_t maxBytes, int& rows) const;

  // Calls f(text, word) for rows first..first+n-1 in order.
  template <class F>
  void ForEachRow(int first, int n, F&& f) const {
    rows_.ForRange(first, n, [&](const TRowSlot& s) { f(std::string_view(s.data, s.Length()), s.word); });
  }
  // Calls f(TRowWord&) for rows first..first+n-1, for bulk field updates.
  template <class F>
  void ForEachWord(int first, int n, F&& f) {
    rows_.ForRange(first, n, [&](TRowSlot& s) { f(s.word); });
  }

  // Rows among first..first+n-1 that are not reWrapped (ends of logical lines); fast.
  int CountLineEnds(int first, int n) const { return rows_.CountLineEnds(first, n); }
  // The row of the nth (1-based) row that is not reWrapped, or -1.
  int FindNthLineEnd(int nth) const { return rows_.FindNthLineEnd(nth); }
  // Text offsets (CR LF after each reLineEnd row counted as 2 bytes), from per-block sums.
  std::int64_t TextOffsetOfRow(int row) const { return rows_.TextOffsetOfRow(row); }
  // The row an offset falls on: the first whose bytes and line break reach past it; Count()
  // at or after the end of the text.
  int RowAtTextOffset(std::int64_t offset) const { return rows_.RowAtTextOffset(offset); }

  // A row's (data, length) names the same bytes for as long as no row bytes have been freed
  // or written in place anywhere. This counter, shared by every list, steps whenever that
  // happens: whoever keeps facts derived from a row's bytes keys them on it.
  static std::uint64_t BytesGeneration();
  // The last in-place write of row bytes, so that facts derived from the row before it can be
  // carried over instead of recomputed from 50 MB: the row's data (still the same pointer),
  // where and how many bytes were replaced by how many, and the generation before and after.
  struct TInPlaceSplice {
    const char* Data = nullptr;
    std::size_t Pos = 0;
    std::size_t Removed = 0;
    std::size_t Inserted = 0;
    bool RemovedPlain = false;  // the removed bytes held no tab and no lead byte
    std::uint64_t GenerationBefore = 0;
    std::uint64_t GenerationAfter = 0;
  };
  // Interface thread only, like the rows themselves.
  static const TInPlaceSplice& LastInPlaceSplice();

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
  template <class F>
  void ChangeWord(int i, F&& change) {
    TRowWord w = rows_.At(i).word;
    change(w);
    rows_.SetWord(i, w);
  }
  // The adopted buffer holding bytes, or nullptr.
  const TByteBuffer* AdoptedBufferOf(std::string_view bytes) const;
  static constexpr std::size_t kCapacityHeader = alignof(std::max_align_t);
  static char* AllocateOwned(std::size_t capacity);
  static std::size_t OwnedCapacity(const char* data);
  static TRowSlot MakeOwned(std::string_view s, TRowWord word);
  static void Release(TRowSlot& slot);
  // Frees an owned row's bytes, leaving the slot as it is: for rows about to be dropped, so
  // that dropping packed rows never unpacks them.
  static void ReleaseOwned(const TRowSlot& slot);
  static void BytesFreed();
  void ReleaseRange(int first, int n);

  TRowIndex rows_;
  std::vector<std::unique_ptr<TByteBuffer>> buffers_;  // heap-held: rows point into them
  TNotifyEvent onChange_;
  int updateCount_ = 0;
};

template <class Sink>
void TPointerStringList::WriteRows(int first, int n, std::string_view lineBreak, Sink&& sink) const {
  const char* runBegin = nullptr;  // a run of bytes all inside *runBuffer, not yet given out
  const char* runEnd = nullptr;
  const TByteBuffer* runBuffer = nullptr;
  const auto flush = [&] {
    if (runEnd != runBegin) sink(std::string_view(runBegin, static_cast<std::size_t>(runEnd - runBegin)));
    runBegin = runEnd = nullptr;
    runBuffer = nullptr;
  };
  rows_.ForRange(first, n, [&](const TRowSlot& s) {
    const std::size_t length = s.Length();
    if (length > 0) {
      if (runBuffer == nullptr || s.data != runEnd) {
        flush();
        runBuffer = s.Owned() ? nullptr : AdoptedBufferOf(std::string_view(s.data, length));
        if (runBuffer == nullptr) {
          sink(std::string_view(s.data, length));
        } else {
          runBegin = s.data;
          runEnd = s.data + length;
        }
      } else {
        runEnd += length;
      }
    }
    if (s.word.End() != reLineEnd) return;
    // The bytes after the run are compared only while they are still inside its buffer.
    const char* bufferEnd = runBuffer ? runBuffer->Data() + runBuffer->Size() : nullptr;
    if (runBuffer && static_cast<std::size_t>(bufferEnd - runEnd) >= lineBreak.size() &&
        std::string_view(runEnd, lineBreak.size()) == lineBreak) {
      runEnd += lineBreak.size();
    } else {
      flush();
      sink(lineBreak);
    }
  });
  flush();
}

// Every temporary row list (rows split from text, undo re-insertion lists) has this type.
class TVornEditStringList : public TPointerStringList {
public:
  using TPointerStringList::TPointerStringList;
};

}  // namespace vorn
