// TPointerStringList: row strings with their words, owned or borrowed bytes, change events.
#include "store/PointerStringList.h"

#include "base/sjis.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

namespace vorn {

namespace {
std::atomic<std::uint64_t> bytesGeneration{1};
TPointerStringList::TInPlaceSplice lastInPlaceSplice;
}  // namespace

const TPointerStringList::TInPlaceSplice& TPointerStringList::LastInPlaceSplice() { return lastInPlaceSplice; }

std::uint64_t TPointerStringList::BytesGeneration() { return bytesGeneration.load(std::memory_order_relaxed); }

void TPointerStringList::BytesFreed() { bytesGeneration.fetch_add(1, std::memory_order_relaxed); }

TPointerStringList::TPointerStringList(TPointerStringList&& other) noexcept { *this = std::move(other); }

TPointerStringList& TPointerStringList::operator=(TPointerStringList&& other) noexcept {
  if (this == &other) return *this;
  ReleaseRange(0, Count());
  if (!buffers_.empty()) BytesFreed();
  rows_ = std::move(other.rows_);
  buffers_ = std::move(other.buffers_);
  other.rows_.Clear();
  other.buffers_.clear();
  return *this;
}

TPointerStringList::~TPointerStringList() {
  ReleaseRange(0, Count());
  if (!buffers_.empty()) BytesFreed();
}

// Owned bytes are preceded by their capacity, so that a row typed into can grow in place.
char* TPointerStringList::AllocateOwned(std::size_t capacity) {
  char* block = new char[kCapacityHeader + capacity];
  std::memcpy(block, &capacity, sizeof capacity);
  return block + kCapacityHeader;
}

std::size_t TPointerStringList::OwnedCapacity(const char* data) {
  std::size_t capacity = 0;
  std::memcpy(&capacity, data - kCapacityHeader, sizeof capacity);
  return capacity;
}

TRowSlot TPointerStringList::MakeOwned(std::string_view s, TRowWord word) {
  TRowSlot slot;
  slot.word = word;
  if (s.empty()) return slot;
  std::uint32_t length = TRowSlot::CheckedLength(s.size());
  char* bytes = AllocateOwned(s.size());
  std::memcpy(bytes, s.data(), s.size());
  slot.data = bytes;
  slot.lenAndFlag = length | TRowSlot::kOwned;
  return slot;
}

void TPointerStringList::ReleaseOwned(const TRowSlot& slot) {
  if (!slot.Owned()) return;
  delete[] (slot.data - kCapacityHeader);
  BytesFreed();
}

void TPointerStringList::Release(TRowSlot& slot) {
  ReleaseOwned(slot);
  slot.data = nullptr;
  slot.lenAndFlag = 0;
}

// Spare room grows with the row (an eighth of it), so a run of keystrokes on a long row copies
// its bytes once per many keystrokes, while short rows stay near their size.
void TPointerStringList::SpliceRowBytes(int i, std::size_t pos, std::size_t removed, std::string_view insert) {
  const TRowSlot old = rows_.At(i);
  const std::size_t length = old.Length();
  pos = std::min(pos, length);
  removed = std::min(removed, length - pos);
  const std::size_t tail = length - pos - removed;
  const std::size_t newLength = length - removed + insert.size();
  const std::uint32_t flagged = TRowSlot::CheckedLength(newLength) | TRowSlot::kOwned;
  char* bytes = const_cast<char*>(old.data);
  bool removedPlain = true;
  for (std::size_t k = pos; k < pos + removed && removedPlain; ++k)
    removedPlain = old.data[k] != '\t' && !sjis::IsLeadByte(static_cast<unsigned char>(old.data[k]));
  if (old.Owned() && OwnedCapacity(old.data) >= newLength) {
    std::memmove(bytes + pos + insert.size(), bytes + pos + removed, tail);
  } else {
    bytes = AllocateOwned(newLength + std::max<std::size_t>(16, newLength / 8));
    if (pos > 0) std::memcpy(bytes, old.data, pos);
    if (tail > 0) std::memcpy(bytes + pos + insert.size(), old.data + pos + removed, tail);
  }
  if (!insert.empty()) std::memcpy(bytes + pos, insert.data(), insert.size());
  rows_.SetBytes(i, bytes, flagged);
  if (bytes != old.data) {
    TRowSlot released = old;
    Release(released);
  }
  // Bytes changed under an unchanged pointer: whatever was derived from them is stale.
  const std::uint64_t before = BytesGeneration();
  BytesFreed();
  if (bytes == old.data) lastInPlaceSplice = TInPlaceSplice{bytes, pos, removed, insert.size(), removedPlain, before, BytesGeneration()};
  Changed();
}

void TPointerStringList::ReleaseRange(int first, int n) {
  std::as_const(rows_).ForRange(first, n, [](const TRowSlot& s) { ReleaseOwned(s); });
}

void TPointerStringList::Put(int i, std::string_view s) {
  TRowSlot old = rows_.At(i);
  TRowSlot fresh = MakeOwned(s, TRowWord{});
  rows_.SetBytes(i, fresh.data, fresh.lenAndFlag);
  Release(old);
  Changed();
}

bool TPointerStringList::InAdoptedBuffer(std::string_view bytes) const {
  return AdoptedBufferOf(bytes) != nullptr;
}

const TByteBuffer* TPointerStringList::AdoptedBufferOf(std::string_view bytes) const {
  for (const auto& b : buffers_)
    if (bytes.data() >= b->Data() && bytes.data() + bytes.size() <= b->Data() + b->Size()) return b.get();
  return nullptr;
}

std::string_view TPointerStringList::AdoptedRun(int first, int n, std::string_view lineBreak, std::size_t maxBytes,
                                               int& rows) const {
  rows = 0;
  n = std::min(n, Count() - first);
  if (n <= 0) return {};
  const TRowSlot& head = rows_.At(first);
  if (head.Owned() || head.data == nullptr) return {};
  const TByteBuffer* buffer = AdoptedBufferOf(std::string_view(head.data, head.Length()));
  if (!buffer) return {};
  const char* begin = head.data;
  const char* next = begin;
  const char* limit = buffer->Data() + std::min(buffer->Size(), static_cast<std::size_t>(begin - buffer->Data()) + maxBytes);
  bool broken = false;
  // Windows of a few blocks: the walk stops soon after the run does.
  constexpr int kWindow = 4 * TRowIndex::kBlockRows;
  for (int at = first; at < first + n && !broken; at += kWindow) {
    rows_.ForRange(at, std::min(kWindow, first + n - at), [&](const TRowSlot& s) {
      if (broken) return;
      const std::size_t length = s.Length();
      if (length > 0 && (s.Owned() || s.data != next || static_cast<std::size_t>(limit - next) < length)) {
        broken = true;
        return;
      }
      const char* end = next + length;
      if (s.word.End() == reLineEnd) {
        if (static_cast<std::size_t>(limit - end) < lineBreak.size() ||
            std::string_view(end, lineBreak.size()) != lineBreak) {
          broken = true;
          return;
        }
        end += lineBreak.size();
      }
      next = end;
      ++rows;
    });
  }
  return std::string_view(begin, static_cast<std::size_t>(next - begin));
}

void TPointerStringList::PutBorrowed(int i, std::string_view bytes) {
  TRowSlot old = rows_.At(i);
  rows_.SetBytes(i, bytes.empty() ? nullptr : bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  Release(old);
  Changed();
}

int TPointerStringList::Add(std::string_view s) {
  int index = Count();
  Insert(index, s);
  return index;
}

void TPointerStringList::Insert(int i, std::string_view s) {
  TRowSlot slot = MakeOwned(s, TRowWord{});
  rows_.Insert(i, &slot, 1);
  Changed();
}

void TPointerStringList::Delete(int i) {
  RemoveRows(i, 1);
  Changed();
}

void TPointerStringList::Clear() {
  if (Count() == 0 && buffers_.empty()) return;
  ReleaseRange(0, Count());
  rows_.Clear();
  if (!buffers_.empty()) BytesFreed();
  buffers_.clear();
  Changed();
}

void TPointerStringList::InsertEmptyRows(int pos, int n) { rows_.Insert(pos, nullptr, n); }

void TPointerStringList::RemoveRows(int pos, int n) {
  if (n <= 0) return;
  ReleaseRange(pos, n);
  rows_.Erase(pos, n);
}

void TPointerStringList::CopyRowsFrom(int pos, const TPointerStringList& source, int first, int n) {
  if (n <= 0) return;
  std::vector<TRowSlot> copies;
  copies.reserve(static_cast<std::size_t>(n));
  source.rows_.ForRange(first, n, [&](const TRowSlot& s) {
    copies.push_back(MakeOwned(std::string_view(s.data, s.Length()), s.word));
  });
  rows_.Insert(pos, copies.data(), n);
}

void TPointerStringList::TakeRowsFrom(int pos, TPointerStringList& source) {
  int n = source.Count();
  if (n == 0) return;
  if (!source.buffers_.empty()) {
    // Borrowed rows must not outlive the source's buffers: copy them instead.
    CopyRowsFrom(pos, source, 0, n);
    source.ReleaseRange(0, n);
    source.rows_.Clear();
    source.buffers_.clear();
    BytesFreed();
    return;
  }
  std::vector<TRowSlot> slots;
  slots.reserve(static_cast<std::size_t>(n));
  source.rows_.ForRange(0, n, [&](TRowSlot& s) {
    slots.push_back(s);
    s = TRowSlot{};
  });
  source.rows_.Clear();
  rows_.Insert(pos, slots.data(), n);
}

const TByteBuffer& TPointerStringList::AdoptBuffer(TByteBuffer&& buffer) {
  buffers_.push_back(std::make_unique<TByteBuffer>(std::move(buffer)));
  return *buffers_.back();
}

void TPointerStringList::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TPointerStringList::EndUpdate() {
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TPointerStringList::SetUpdateState(bool updating) {
  if (!updating) Changed();
}

void TPointerStringList::Changed() {
  if (updateCount_ == 0 && onChange_) onChange_();
}

}  // namespace vorn
