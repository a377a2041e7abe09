// TSlotPool: memory for the row index's full-size blocks, carved from huge-page-advised slabs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

namespace vorn {

// A document of two million rows has two thousand blocks of 16 KiB. From the heap, each of
// their 8 000 small pages costs a page fault when the file is loaded, which took longer than
// splitting the text into rows; from 2 MiB slabs they cost a few dozen. Cells given back are
// kept for the next document; past a limit, slabs whose cells are all free go back to the
// system whole.
class TSlotPool {
 public:
  static constexpr std::size_t kCell = std::size_t{16} << 10;
  static constexpr std::size_t kSlab = std::size_t{2} << 20;
  static constexpr std::size_t kCellsPerSlab = kSlab / kCell;
  // Free cells kept before wholly free slabs are returned to the system.
  static constexpr std::size_t kKeptCells = 1024;

  static TSlotPool& Instance();
  // A cell of kCell bytes. Raises std::bad_alloc.
  void* Take();
  void Give(void* cell);
  // Cells ready to be taken, and slabs mapped; for tests.
  std::size_t FreeCells();
  std::size_t Slabs();

 private:
  void AddSlab();
  void ReturnFreeSlabs();
  static std::uintptr_t SlabOf(const void* cell) {
    return reinterpret_cast<std::uintptr_t>(cell) & ~(kSlab - 1);
  }

  std::mutex mutex_;
  std::vector<void*> free_;
  std::unordered_map<std::uintptr_t, std::size_t> freeInSlab_;  // every slab mapped
};

// The allocator of the row index's blocks: requests of exactly one cell come from the pool.
template <class T>
struct TSlotAllocator {
  using value_type = T;
  TSlotAllocator() = default;
  template <class U>
  TSlotAllocator(const TSlotAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n * sizeof(T) == TSlotPool::kCell) return static_cast<T*>(TSlotPool::Instance().Take());
    return static_cast<T*>(::operator new(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (n * sizeof(T) == TSlotPool::kCell) TSlotPool::Instance().Give(p);
    else ::operator delete(p);
  }
  template <class U>
  bool operator==(const TSlotAllocator<U>&) const noexcept { return true; }
};

}  // namespace vorn
