// Sixteen bytes at a time: byte classes of an SSE2 block as 16-bit masks, one bit per byte.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>

namespace vorn::blocks {

inline __m128i Load16(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

inline unsigned Mask(__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); }

inline unsigned EqMask(__m128i v, unsigned char b) {
  return Mask(_mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(b))));
}

// Bytes from lo to hi, both included, compared unsigned.
inline unsigned RangeMask(__m128i v, unsigned char lo, unsigned char hi) {
  const __m128i atLeast = _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(static_cast<char>(lo))), v);
  const __m128i atMost = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(static_cast<char>(hi))), v);
  return Mask(_mm_and_si128(atLeast, atMost));
}

}  // namespace vorn::blocks

#endif
