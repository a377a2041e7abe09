// TSlotPool: 2 MiB-aligned slabs cut into cells, handed out and taken back under a lock.
#include "store/SlotPool.h"

#include <cstdint>
#include <sys/mman.h>

namespace vorn {

TSlotPool& TSlotPool::Instance() {
  // Never destroyed: blocks of documents that outlive main's return still give their cells back.
  static TSlotPool* pool = new TSlotPool();
  return *pool;
}

void* TSlotPool::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (free_.empty()) AddSlab();
  void* cell = free_.back();
  free_.pop_back();
  if (resident_ > free_.size()) resident_ = free_.size();
  return cell;
}

void TSlotPool::Give(void* cell) {
  std::lock_guard<std::mutex> lock(mutex_);
  free_.push_back(cell);
  if (resident_ < kKeptCells) {
    ++resident_;
  } else {
    // The address stays ours; a later Take faults the pages in again.
    ::madvise(cell, kCell, MADV_DONTNEED);
  }
}

std::size_t TSlotPool::FreeCells() {
  std::lock_guard<std::mutex> lock(mutex_);
  return free_.size();
}

void TSlotPool::AddSlab() {
  // Twice the size, then trimmed to an aligned slab, so that it can be one huge page.
  void* p = ::mmap(nullptr, 2 * kSlab, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  const auto raw = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t begin = (raw + kSlab - 1) & ~(kSlab - 1);
  if (begin > raw) ::munmap(p, begin - raw);
  if (begin + kSlab < raw + 2 * kSlab) ::munmap(reinterpret_cast<void*>(begin + kSlab), raw + 2 * kSlab - begin - kSlab);
#ifdef MADV_HUGEPAGE
  ::madvise(reinterpret_cast<void*>(begin), kSlab, MADV_HUGEPAGE);
#endif
  // Taken from the back: the slab's first cell goes out first, and a block run stays in order.
  free_.reserve(free_.size() + kSlab / kCell);
  for (std::size_t k = kSlab / kCell; k > 0; --k) free_.push_back(reinterpret_cast<void*>(begin + (k - 1) * kCell));
  resident_ += kSlab / kCell;
}

}  // namespace vorn
