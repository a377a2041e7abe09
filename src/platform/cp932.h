// cp932: the code page 932 mapping between Shift_JIS bytes and UTF-16, built from the system iconv.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

// The character a byte sequence becomes when it is not well-formed code page 932 (the katakana
// middle dot, as the Windows conversion gives).
constexpr char16_t Cp932InvalidUnit = u'\u30FB';
// The byte a UTF-16 character becomes when code page 932 has no mapping for it.
constexpr char Cp932DefaultChar = '?';
// Marks "no mapping" in TCp932Table::fromU16 (no Shift_JIS code takes this value).
constexpr std::uint16_t Cp932NoMapping = 0xFFFF;

// The flat tables, built once at first use. The arrays are indexed without range checks by the
// conversion loops, so every slot holds a defined value.
struct TCp932Table {
  // Single-byte characters: 00-7F and A1-DF map to their unit; 80, A0 and FD-FF are not
  // characters and hold Cp932InvalidUnit. Slots of lead bytes are unused (Cp932InvalidUnit).
  char16_t single[256];
  // Double-byte characters indexed by lead << 8 | trail; 0 where the pair has no mapping.
  char16_t dbcs[65536];
  // UTF-16 unit to Shift_JIS: a single byte as 0x00XX, a pair as lead << 8 | trail,
  // Cp932NoMapping where there is none (surrogates among them).
  std::uint16_t fromU16[65536];
};

// The shared table; the first call builds it (thread-safe), later calls are free.
const TCp932Table& Cp932Table();

// Shift_JIS bytes to UTF-16 units. Every byte is converted, NUL included (callers that stop at
// NUL cut the input first). Bytes that are not well-formed code page 932 become
// Cp932InvalidUnit, one unit each time:
//   - a lead byte (81-9F, E0-FC) followed by a byte outside the trail ranges 40-7E and 80-FC,
//     or by nothing, becomes one unit and only the lead byte is consumed, so a line break or
//     an ASCII byte after it survives;
//   - a lead byte with a valid trail byte whose pair has no mapping becomes one unit for both;
//   - a lone 80, A0, FD, FE or FF becomes one unit.
// substituted, when given, receives the number of Cp932InvalidUnit units written for them.
std::u16string Cp932ToUtf16(std::string_view sjis, std::size_t* substituted = nullptr);
// The same into out, which has room for sjis.size() units; returns the number written. For
// callers that own a large buffer and would rather not have it zero-filled first.
std::size_t Cp932ToUtf16(std::string_view sjis, char16_t* out, std::size_t* substituted);

// UTF-16 units to Shift_JIS. A unit (or a surrogate pair, as one character) without a mapping
// becomes Cp932DefaultChar; a lone surrogate also does. Where several units map to one code
// (U+FF5E and U+301C to 81 60, U+00A5 to 5C), the mapping follows the system table.
// substituted, when given, receives the number of characters replaced by Cp932DefaultChar.
std::string Utf16ToCp932(std::u16string_view u16, std::size_t* substituted = nullptr);

}  // namespace vorn
