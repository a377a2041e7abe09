// jconvert: the UTF-16 routines, and what the Unicode routines share.
#include <cstdint>
#include <cstring>
#include <atomic>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

#include "platform/cp932.h"
#include "encoding/jconvert.h"
#include "encoding/jconvertInternal.h"
#include "encoding/jconvertLanes.h"
#include "encoding/jconvertUnits.h"

namespace vorn::jconv {

// Used by the UTF-16, UTF-8 and UTF-7 routines alike (see jconvertUnits.h).
const TSjisStoreTable& SjisStoreTable() {
  static const std::unique_ptr<TSjisStoreTable> table = [] {
    const TCp932Table& t = Cp932Table();
    auto x = std::make_unique<TSjisStoreTable>();
    for (unsigned u = 0; u < 65536; ++u) {
      const unsigned code = t.fromU16[u];
      x->e[u] = static_cast<std::uint16_t>(code > 0xFF ? (code >> 8 | code << 8) : code);
    }
    return x;
  }();
  return *table;
}

namespace {

std::atomic<bool> gBaselineVectorForms{false};

template <bool BigEndian>
inline unsigned Utf16UnitAt(const Byte* s, std::size_t k) {
  return BigEndian ? s[2 * k] << 8 | s[2 * k + 1] : s[2 * k + 1] << 8 | s[2 * k];
}

#if defined(__x86_64__)
// Eight units at s as numbers, one per 16-bit lane.
template <bool BigEndian>
inline __m128i LoadUtf16Units(const Byte* s) {
  const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  return BigEndian ? SwapLaneBytes(units) : units;
}
#endif

#if defined(__SSE2__)
// Narrows ASCII units sixteen at a time (code page 932 keeps ASCII as it is) up to the first
// block of sixteen that holds anything else. Returns the position after the run.
template <bool BigEndian>
inline std::size_t NarrowAsciiRun(const Byte* s, std::size_t k, std::size_t end, char*& d) {
  // Read as little-endian words, a big-endian unit has its high byte in the low half.
  const __m128i notAscii = _mm_set1_epi16(static_cast<short>(BigEndian ? 0x80FF : 0xFF80));
  for (; k + 16 <= end; k += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * k));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * k + 16));
    const __m128i high = _mm_and_si128(_mm_or_si128(a, b), notAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(high, _mm_setzero_si128())) != 0xFFFF) break;
    if (BigEndian) {
      a = _mm_srli_epi16(a, 8);
      b = _mm_srli_epi16(b, 8);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_packus_epi16(a, b));
    d += 16;
  }
  return k;
}
#else
template <bool BigEndian>
inline std::size_t NarrowAsciiRun(const Byte*, std::size_t k, std::size_t, char*&) { return k; }
#endif

// Converts eight units with no branch on what they are: each is looked up, stored as two bytes
// and followed by a step of its length, so the byte past a single-byte code is overwritten by
// the next one. Japanese text alternates kana, kanji and punctuation too irregularly for a
// branch per unit or per run to be predicted. Returns false, with d unchanged, when a unit has
// no mapping (a surrogate among them): EncodeUnits then takes the block. Writes sixteen bytes
// at d.
template <bool BigEndian>
inline bool EncodeBlockOf8(const TSjisStoreTable& t, const Byte* s, char*& d) {
#if defined(__x86_64__)
  // Where all eight are pairs (nearly always), they leave in one store.
  const __m128i codes = GatherCodes<8>(t.e, LoadUtf16Units<BigEndian>(s));
  if (OddLanes(codes) == 0) [[likely]] {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), codes);
    d += 16;
    return true;
  }
#endif
  char* p = d;
  bool missing = false;
  for (std::size_t j = 0; j < 8; ++j) {
    const std::uint16_t bytes = t.e[Utf16UnitAt<BigEndian>(s, j)];
    missing |= bytes == Cp932NoMapping;
    std::memcpy(p, &bytes, 2);
    p += 1 + (bytes > 0xFF);
  }
  if (missing) return false;
  d = p;
  return true;
}

#if defined(__x86_64__)
// EncodeBlockOf8 for processors with pshufb, which drops the empty bytes of the one-byte codes
// from the register, so that a block with ASCII or half-width katakana in it (a line end, a
// mixed line) also leaves in one store, without a branch.
template <bool BigEndian>
[[gnu::target("ssse3")]] inline bool EncodeBlockOf8Compact(const TSjisStoreTable& t,
                                                           const Byte* s, char*& d) {
  const __m128i codes = GatherCodes<8>(t.e, LoadUtf16Units<BigEndian>(s));
  if (UnmappedLanes(codes) != 0) return false;
  d = PutCodeLanes(codes, SingleLanes(codes), 8, d);
  return true;
}
#endif

// Converts the units from k to end one at a time, with the substitutions. Returns the position
// after the last unit taken (one past end when a surrogate pair straddles it).
template <bool BigEndian>
inline std::size_t EncodeUnits(const TCp932Table& t, const Byte* s, std::size_t k,
                               std::size_t end, std::size_t units, char*& d, std::size_t& lost) {
  while (k < end) {
    const unsigned next = k + 1 < units ? Utf16UnitAt<BigEndian>(s, k + 1) : 0;
    k += PutUnitAsSjis(t, d, Utf16UnitAt<BigEndian>(s, k), next, lost);
  }
  return k;
}

template <bool BigEndian, bool Compact>
inline bool EncodeUtf16Block(const TSjisStoreTable& t, const Byte* s, char*& d) {
#if defined(__x86_64__)
  if constexpr (Compact) return EncodeBlockOf8Compact<BigEndian>(t, s, d);
#endif
  return EncodeBlockOf8<BigEndian>(t, s, d);
}

// Converts the units from k to end (a chunk): ASCII runs, blocks of eight (compacted in the
// register where Compact), and what is left one at a time. Returns the position reached.
template <bool BigEndian, bool Compact>
inline std::size_t EncodeUtf16Chunk(const TCp932Table& t, const TSjisStoreTable& store,
                                    const Byte* s, std::size_t k, std::size_t end,
                                    std::size_t units, char*& d, std::size_t& lost) {
  while (k + 8 <= end) {
    k = NarrowAsciiRun<BigEndian>(s, k, end, d);
    if (k + 8 > end) break;
    if (EncodeUtf16Block<BigEndian, Compact>(store, s + 2 * k, d)) k += 8;
    else k = EncodeUnits<BigEndian>(t, s, k, k + 8, units, d, lost);
  }
  return EncodeUnits<BigEndian>(t, s, k, end, units, d, lost);
}

// Not inlined, and flattened, as EncodeUtf8RunSse2.
template <bool BigEndian>
[[gnu::noinline, gnu::flatten]] std::size_t EncodeUtf16ChunkSse2(
    const TCp932Table& t, const TSjisStoreTable& store, const Byte* s, std::size_t k,
    std::size_t end, std::size_t units, char*& d, std::size_t& lost) {
  return EncodeUtf16Chunk<BigEndian, false>(t, store, s, k, end, units, d, lost);
}

#if defined(__x86_64__)
template <bool BigEndian>
[[gnu::noinline, gnu::flatten, gnu::target("ssse3")]] std::size_t EncodeUtf16ChunkSsse3(
    const TCp932Table& t, const TSjisStoreTable& store, const Byte* s, std::size_t k,
    std::size_t end, std::size_t units, char*& d, std::size_t& lost) {
  return EncodeUtf16Chunk<BigEndian, true>(t, store, s, k, end, units, d, lost);
}
#endif

using TEncodeUtf16Chunk = std::size_t (*)(const TCp932Table&, const TSjisStoreTable&,
                                          const Byte*, std::size_t, std::size_t, std::size_t,
                                          char*&, std::size_t&);

template <bool BigEndian>
TEncodeUtf16Chunk ChooseEncodeUtf16Chunk() {
#if defined(__x86_64__)
  if (UseSsse3Forms()) return EncodeUtf16ChunkSsse3<BigEndian>;
#endif
  return EncodeUtf16ChunkSse2<BigEndian>;
}

// Each unit gives at most two bytes (plus one of slack for the two-byte store), so room is
// checked once per chunk of units.
template <bool BigEndian>
std::string Utf16ToSjisImpl(std::string_view text, std::size_t& lost) {
  const TEncodeUtf16Chunk encodeChunk = ChooseEncodeUtf16Chunk<BigEndian>();
  const TCp932Table& t = Cp932Table();
  const TSjisStoreTable& store = SjisStoreTable();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t units = text.size() / 2;
  // An odd last byte is half a character: it is dropped, and that is a loss like any other.
  lost += text.size() % 2;
  TByteSink out(2 * units + 2);
  char* d = out.Begin();
  char* lim = out.Limit();
  // Only a signature (in either order) is dropped: a first character such as U+FF21 also
  // begins with FF, and dropping it would lose text without a word.
  const unsigned first = units > 0 ? Utf16UnitAt<BigEndian>(s, 0) : 0;
  std::size_t k = (first == 0xFEFF || first == 0xFFFE) ? 1 : 0;
  while (k < units) {
    Room(out, d, lim, 2 * kChunk + 16);
    k = encodeChunk(t, store, s, k, std::min(units, k + kChunk), units, d, lost);
  }
  return out.Finish(d);
}

#if defined(__x86_64__)
// Converts eight Shift_JIS pairs (sixteen bytes at s, EightPairsAhead) to UTF-16 at d in one
// store: the pairs are looked up into the lanes of one register. Returns false, with nothing
// written, when a pair has no mapping; the caller then takes them one at a time.
template <bool BigEndian>
inline bool EightPairsToUtf16(const TCp932Table& t, const Byte* s, char* d) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  // Lane k read little-endian is trail << 8 | lead; the table wants lead << 8 | trail.
  const __m128i pairs = SwapLaneBytes(v);
  __m128i units = GatherCodes<8>(t.dbcs, pairs);
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(units, _mm_setzero_si128())) != 0) return false;
  if (BigEndian) units = SwapLaneBytes(units);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), units);
  return true;
}
#endif

// The text ends at its first NUL, found as the loop reaches it (a NUL is never a lead byte, and
// a lead byte before it takes it as a trail exactly as it would take the end of the text).
template <bool BigEndian>
std::string SjisToUtf16Impl(std::string_view text, std::size_t& lost, std::string recycled) {
  const TCp932Table& t = Cp932Table();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(2 * n + 2, TByteSink::kStep, std::move(recycled));
  char* d = out.Begin();
  char* lim = out.Limit();
  constexpr int hi = BigEndian ? 0 : 1;
  d[0] = static_cast<char>(BigEndian ? 0xFE : 0xFF);
  d[1] = static_cast<char>(BigEndian ? 0xFF : 0xFE);
  d += 2;
  std::size_t chunkEnd = 0;
  for (std::size_t i = 0; i < n;) {
    if (i >= chunkEnd) {
      Room(out, d, lim, 2 * kChunk + 64);
      chunkEnd = i + kChunk;
    }
    const unsigned b = s[i];
#if defined(__SSE2__)
    if (b < 0x80 && i + 16 <= n) {
      // Sixteen ASCII bytes (none of them the NUL that ends the text) widen to sixteen units in
      // two stores.
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i zero = _mm_setzero_si128();
      if (_mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, zero))) == 0) {
        const __m128i lo = BigEndian ? _mm_unpacklo_epi8(zero, v) : _mm_unpacklo_epi8(v, zero);
        const __m128i hi = BigEndian ? _mm_unpackhi_epi8(zero, v) : _mm_unpackhi_epi8(v, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), hi);
        d += 32;
        i += 16;
        continue;
      }
    }
#endif
    char16_t u;
    if (sjis::IsLeadByte(b)) {
#if defined(__x86_64__)
      // Kanji and kana come in runs: eight at a time while they last.
      if (i + 16 <= n && EightPairsAhead(s + i) && EightPairsToUtf16<BigEndian>(t, s + i, d)) {
        d += 16;
        i += 16;
        continue;
      }
#endif
      const unsigned trail = i + 1 < n ? s[i + 1] : 0;
      u = t.dbcs[b << 8 | trail];
      i += 2;
      if (u == 0) [[unlikely]] {
        u = Cp932InvalidUnit;
        ++lost;
        i -= sjis::IsTrailByte(trail) ? 0 : 1;
      }
    } else {
      if (b == 0) [[unlikely]] break;
      u = t.single[b];
      lost += (b >= 0x80 && u == Cp932InvalidUnit);
      ++i;
    }
    d[hi] = static_cast<char>(u >> 8);
    d[1 - hi] = static_cast<char>(u & 0xFF);
    d += 2;
  }
  return out.Finish(d);
}

}  // namespace

void UseBaselineVectorForms(bool on) { gBaselineVectorForms.store(on); }

#if defined(__x86_64__)
bool UseSsse3Forms() {
  static const bool supported = __builtin_cpu_supports("ssse3");
  return supported && !gBaselineVectorForms.load(std::memory_order_relaxed);
}
#endif

std::string Utf16ToSjis(std::string_view text, bool bigEndian, std::size_t& lost) {
  return bigEndian ? Utf16ToSjisImpl<true>(text, lost) : Utf16ToSjisImpl<false>(text, lost);
}

std::string SjisToUtf16(std::string_view text, bool bigEndian, std::size_t& lost,
                        std::string recycled) {
  return bigEndian ? SjisToUtf16Impl<true>(text, lost, std::move(recycled))
                   : SjisToUtf16Impl<false>(text, lost, std::move(recycled));
}

}  // namespace vorn::jconv
