// TRowWord: the 32-bit word each store row carries, with its fields named instead of masked.
#pragma once

#include <cstdint>
#include <type_traits>

namespace vorn {

// How a row ends (4 bits of the row word).
enum TRowEnd : std::uint8_t {
  reLineEnd = 0,  // a line break follows the row
  reWrapped = 1,  // the logical line continues on the next row
  reTextEnd = 2,  // the text's last row, without a final line break
  reNone = 3,     // an empty run of rows; undo records that hold no text
};

// Bits 0-3 End, 4-7 BracketState + 2, 9 Modified, 12-27 DiffIndex, 28-31 DiffKind; bits 8, 10
// and 11 are free and kept as they are. The layout is what the store keeps per row and what its
// block counters read, so it never changes: only the names are new.
class TRowWord {
public:
  constexpr TRowWord() = default;
  static constexpr TRowWord FromRaw(std::uint32_t raw) {
    TRowWord w;
    w.raw_ = raw;
    return w;
  }
  constexpr std::uint32_t Raw() const { return raw_; }

  constexpr TRowEnd End() const { return static_cast<TRowEnd>(Get(kEndShift, kEndMask)); }
  constexpr void SetEnd(TRowEnd e) { Put(kEndShift, kEndMask, e); }
  // The row ends its logical line (any end but reWrapped): what the line counters count.
  constexpr bool EndsLine() const { return End() != reWrapped; }

  // -2 (unknown) .. 13; the field holds the state + 2 in four bits.
  constexpr int BracketState() const { return static_cast<int>(Get(kBracketShift, kBracketMask)) - 2; }
  constexpr void SetBracketState(int state) { Put(kBracketShift, kBracketMask, static_cast<std::uint32_t>(state + 2)); }

  constexpr bool Modified() const { return (raw_ & kModifiedBit) != 0; }
  constexpr void SetModified(bool on) { raw_ = on ? raw_ | kModifiedBit : raw_ & ~kModifiedBit; }

  constexpr int DiffIndex() const { return static_cast<int>(Get(kDiffIndexShift, kDiffIndexMask)); }
  constexpr void SetDiffIndex(int index) { Put(kDiffIndexShift, kDiffIndexMask, static_cast<std::uint32_t>(index)); }
  constexpr int DiffKind() const { return static_cast<int>(Get(kDiffKindShift, kDiffKindMask)); }
  constexpr void SetDiffKind(int kind) { Put(kDiffKindShift, kDiffKindMask, static_cast<std::uint32_t>(kind)); }

  friend constexpr bool operator==(TRowWord, TRowWord) = default;

  static constexpr std::uint32_t kModifiedBit = 1u << 9;

private:
  static constexpr int kEndShift = 0;
  static constexpr std::uint32_t kEndMask = 0xF;
  static constexpr int kBracketShift = 4;
  static constexpr std::uint32_t kBracketMask = 0xF;
  static constexpr int kDiffIndexShift = 12;
  static constexpr std::uint32_t kDiffIndexMask = 0xFFFF;
  static constexpr int kDiffKindShift = 28;
  static constexpr std::uint32_t kDiffKindMask = 0xF;

  constexpr std::uint32_t Get(int shift, std::uint32_t mask) const { return (raw_ >> shift) & mask; }
  constexpr void Put(int shift, std::uint32_t mask, std::uint32_t value) {
    raw_ = (raw_ & ~(mask << shift)) | ((value & mask) << shift);
  }

  std::uint32_t raw_ = 0;
};

static_assert(sizeof(TRowWord) == 4 && std::is_trivially_copyable_v<TRowWord>);

}  // namespace vorn
