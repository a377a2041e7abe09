// TSlotPool: 2 MiB-aligned slabs cut into cells, handed out and taken back under a lock.
#include "store/SlotPool.h"

#include <cstdint>
#include <sys/mman.h>
#include <unordered_set>

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
  --freeInSlab_[SlabOf(cell)];
  return cell;
}

void TSlotPool::Give(void* cell) {
  std::lock_guard<std::mutex> lock(mutex_);
  free_.push_back(cell);
  if (++freeInSlab_[SlabOf(cell)] == kCellsPerSlab && free_.size() > kKeptCells + kCellsPerSlab)
    ReturnFreeSlabs();
}

// Unmaps wholly free slabs while more than kKeptCells cells stay free.
void TSlotPool::ReturnFreeSlabs() {
  std::unordered_set<std::uintptr_t> gone;
  std::size_t left = free_.size();
  for (const auto& [slab, free] : freeInSlab_) {
    if (free != kCellsPerSlab || left < kKeptCells + kCellsPerSlab) continue;
    gone.insert(slab);
    left -= kCellsPerSlab;
  }
  std::erase_if(free_, [&gone](void* cell) { return gone.count(SlabOf(cell)) != 0; });
  for (const std::uintptr_t slab : gone) {
    ::munmap(reinterpret_cast<void*>(slab), kSlab);
    freeInSlab_.erase(slab);
  }
}

std::size_t TSlotPool::FreeCells() {
  std::lock_guard<std::mutex> lock(mutex_);
  return free_.size();
}

std::size_t TSlotPool::Slabs() {
  std::lock_guard<std::mutex> lock(mutex_);
  return freeInSlab_.size();
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
  free_.reserve(free_.size() + kCellsPerSlab);
  for (std::size_t k = kCellsPerSlab; k > 0; --k) free_.push_back(reinterpret_cast<void*>(begin + (k - 1) * kCell));
  freeInSlab_[begin] = kCellsPerSlab;
}

}  // namespace vorn
