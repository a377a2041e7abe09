// Row word tests: each field keeps every value it can hold and never disturbs the others.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "store/RowWord.h"

namespace vorn {
namespace {

// One field as the stored layout defines it, independently of TRowWord's own constants.
struct TFieldCase {
  std::string name;
  std::uint32_t bits;  // the field's bits in the raw word
  int first, last;     // the values the field holds
  std::function<int(TRowWord)> get;
  std::function<void(TRowWord&, int)> set;
};

std::vector<TFieldCase> Fields() {
  return {
      {"End", 0x0000000Fu, 0, 15, [](TRowWord w) { return static_cast<int>(w.End()); },
       [](TRowWord& w, int v) { w.SetEnd(static_cast<TRowEnd>(v)); }},
      {"BracketState", 0x000000F0u, -2, 13, [](TRowWord w) { return w.BracketState(); },
       [](TRowWord& w, int v) { w.SetBracketState(v); }},
      {"Modified", 0x00000200u, 0, 1, [](TRowWord w) { return static_cast<int>(w.Modified()); },
       [](TRowWord& w, int v) { w.SetModified(v != 0); }},
      {"DiffIndex", 0x0FFFF000u, 0, 0xFFFF, [](TRowWord w) { return w.DiffIndex(); },
       [](TRowWord& w, int v) { w.SetDiffIndex(v); }},
      {"DiffKind", 0xF0000000u, 0, 15, [](TRowWord w) { return w.DiffKind(); },
       [](TRowWord& w, int v) { w.SetDiffKind(v); }},
  };
}

TEST(RowWord, EveryValueOfEachFieldRoundTripsAndLeavesEveryOtherBit) {
  std::mt19937 rng(12);
  for (const TFieldCase& f : Fields()) {
    for (int v = f.first; v <= f.last; ++v) {
      const std::uint32_t before = static_cast<std::uint32_t>(rng());
      TRowWord w = TRowWord::FromRaw(before);
      f.set(w, v);
      ASSERT_EQ(f.get(w), v) << f.name;
      ASSERT_EQ(w.Raw() & ~f.bits, before & ~f.bits) << f.name << " = " << v;
      for (const TFieldCase& other : Fields()) {
        if (other.name == f.name) continue;
        ASSERT_EQ(other.get(w), other.get(TRowWord::FromRaw(before))) << f.name << " moved " << other.name;
      }
    }
  }
}

TEST(RowWord, KeepsTheStoredLayoutAndReadsRawWords) {
  TRowWord w;
  EXPECT_EQ(w.Raw(), 0u);
  EXPECT_EQ(w.BracketState(), -2);
  EXPECT_TRUE(w.EndsLine());
  w.SetDiffKind(5);
  w.SetDiffIndex(0xBEEF);
  w.SetModified(true);
  w.SetBracketState(13);
  w.SetEnd(reTextEnd);
  EXPECT_EQ(w.Raw(), 0x5BEEF000u | (1u << 9) | (15u << 4) | 2u);
  // The free bits 8, 10 and 11 survive every setter.
  TRowWord free = TRowWord::FromRaw(0xD00u);
  free.SetBracketState(3);
  free.SetModified(false);
  free.SetEnd(reWrapped);
  EXPECT_EQ(free.Raw(), 0xD00u | (5u << 4) | 1u);
  EXPECT_FALSE(free.EndsLine());
  for (TRowEnd e : {reLineEnd, reTextEnd, reNone}) {
    free.SetEnd(e);
    EXPECT_TRUE(free.EndsLine()) << int(e);
  }
  EXPECT_EQ(TRowWord::FromRaw(0x1234u), TRowWord::FromRaw(0x1234u));
  EXPECT_NE(TRowWord::FromRaw(0x1234u), TRowWord::FromRaw(0x1235u));
}

}  // namespace
}  // namespace vorn
