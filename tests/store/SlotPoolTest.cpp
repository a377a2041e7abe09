// The slot pool: cells never overlap while taken, come back for reuse, and slabs go back to the
// system only when all their cells are free and enough others stay.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "store/SlotPool.h"

namespace vorn {
namespace {

TEST(SlotPool, CellsAreDisjointAndSurviveManyReturnsAndRetakes) {
  TSlotPool& pool = TSlotPool::Instance();
  // More than a slab, and more given back than the pool keeps resident.
  const std::size_t count = TSlotPool::kKeptCells + 300;
  std::vector<unsigned char*> cells;
  for (std::size_t k = 0; k < count; ++k) {
    cells.push_back(static_cast<unsigned char*>(pool.Take()));
    std::memset(cells.back(), static_cast<int>(k & 0xFF), TSlotPool::kCell);
  }
  std::set<unsigned char*> sorted(cells.begin(), cells.end());
  ASSERT_EQ(sorted.size(), count);
  for (auto it = sorted.begin(); std::next(it) != sorted.end(); ++it)
    ASSERT_GE(static_cast<std::size_t>(*std::next(it) - *it), TSlotPool::kCell);
  for (std::size_t k = 0; k < count; ++k)
    ASSERT_EQ(cells[k][TSlotPool::kCell - 1], static_cast<unsigned char>(k & 0xFF)) << k;

  for (unsigned char* c : cells) pool.Give(c);
  EXPECT_LE(pool.FreeCells(), TSlotPool::kKeptCells + 2 * TSlotPool::kCellsPerSlab);
  // Retaken cells, resident or not, hold whatever is written to them.
  std::vector<unsigned char*> again;
  for (std::size_t k = 0; k < count; ++k) {
    again.push_back(static_cast<unsigned char*>(pool.Take()));
    std::memset(again.back(), 0x5A, TSlotPool::kCell);
  }
  for (unsigned char* c : again) EXPECT_EQ(c[0], 0x5A);
  // Keep every other cell taken: no slab is wholly free, so none may be unmapped under them.
  std::vector<unsigned char*> held;
  for (std::size_t k = 0; k < again.size(); ++k) {
    if (k % 2) pool.Give(again[k]);
    else held.push_back(again[k]);
  }
  for (unsigned char* c : held) ASSERT_EQ(c[TSlotPool::kCell - 1], 0x5A);
  for (unsigned char* c : held) pool.Give(c);
  // With everything back, what stays mapped is about what the pool keeps.
  EXPECT_LE(pool.FreeCells(), TSlotPool::kKeptCells + 2 * TSlotPool::kCellsPerSlab);
  EXPECT_EQ(pool.Slabs() * TSlotPool::kCellsPerSlab, pool.FreeCells());
}

}  // namespace
}  // namespace vorn
