// jconvert internals shared by the Unicode routines (UTF-16, UTF-8, UTF-7): byte classes, the
// code page 932 table in store order, and the processor's forms of the vector loops.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "base/sjis.h"
#include "platform/cp932.h"

namespace vorn::jconv {

// The packed tables are stored and read with memcpy in host order.
static_assert(std::endian::native == std::endian::little);

using Byte = unsigned char;

constexpr bool IsHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool IsLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Writes the Shift_JIS form of one unit; next is the unit after it (or 0), so that a surrogate
// pair takes one default character. Returns the number of units consumed. Both bytes are
// stored whatever the length, so the common case has no branch on it.
inline std::size_t PutUnitAsSjis(const TCp932Table& t, char*& d, unsigned u, unsigned next,
                                 std::size_t& lost) {
  const unsigned code = t.fromU16[u];
  if (code != Cp932NoMapping) [[likely]] {
    if (code > 0xFF) [[likely]] {
      d[0] = static_cast<char>(code >> 8);
      d[1] = static_cast<char>(code & 0xFF);
      d += 2;
    } else {
      *d++ = static_cast<char>(code);
    }
    return 1;
  }
  *d++ = Cp932DefaultChar;
  ++lost;
  return IsHighSurrogate(u) && IsLowSurrogate(next) ? 2 : 1;
}

// TCp932Table::fromU16 with each code's bytes in the order they are written (lead byte first),
// so that a unit takes one two-byte store with no byte swap; read as a number, a pair is above
// 0xFF and a single byte is not. Cp932NoMapping reads the same either way.
struct TSjisStoreTable {
  std::uint16_t e[65536];
};

const TSjisStoreTable& SjisStoreTable();

#if defined(__x86_64__)
// Whether the loops take their pshufb forms: where the processor has them, unless a test asked
// for the baseline (UseBaselineVectorForms).
bool UseSsse3Forms();

// Whether the sixteen bytes at s, where a character starts, are eight pairs: every even byte a
// lead byte (81-9F, E0-FC), whatever the odd ones are.
inline bool EightPairsAhead(const Byte* s) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const auto within = [&v](int low, int span) {
    const __m128i off = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(low)));
    return _mm_cmpeq_epi8(_mm_subs_epu8(off, _mm_set1_epi8(static_cast<char>(span))),
                          _mm_setzero_si128());
  };
  const __m128i lead = _mm_or_si128(within(0x81, 0x1E), within(0xE0, 0x1C));
  return (static_cast<unsigned>(_mm_movemask_epi8(lead)) & 0x5555) == 0x5555;
}

#endif

}  // namespace vorn::jconv
