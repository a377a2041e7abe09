// jconvert: the Unicode routines (UTF-16, UTF-8, UTF-7), all through the code page 932 table.
#include <cstdint>
#include <cstring>
#include <atomic>
#include <bit>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

#include "platform/cp932.h"
#include "text/jconvert.h"
#include "text/jconvertInternal.h"
#include "text/jconvertLanes.h"

namespace vorn::jconv {

// The packed tables are stored and read with memcpy in host order.
static_assert(std::endian::native == std::endian::little);

namespace {

using Byte = unsigned char;

constexpr bool IsLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsTrail(unsigned b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
constexpr bool IsHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool IsLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The end of a text at its first NUL, for the decoder's step at i, which reads less than eight
// bytes: the fast loops stop at a NUL, so that the text's end is found as it is reached,
// rather than by a search of its own through a large file.
inline std::size_t EndBeforeNul(const unsigned char* s, std::size_t i, std::size_t n) {
  for (std::size_t k = i; k < n && k < i + 8; ++k)
    if (s[k] == 0) return k;
  return n;
}

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

// Shift_JIS to UTF-8 in one lookup per character, indexed like TCp932Table::dbcs with the
// single bytes at their own value (no lead byte is below 0x81, so the slots are free).
struct TSjisUtf8Table {
  static constexpr std::uint32_t Ill = 1u << 28;       // ill-formed: counts as lost
  static constexpr std::uint32_t LeadOnly = 1u << 29;  // the trail is not consumed
  std::uint32_t e[65536];  // UTF-8 bytes in bits 0-23 (first byte lowest), length in 24-25
};

std::uint32_t PackUtf8(char16_t u) {
  if (u < 0x80) return u | 1u << 24;
  if (u < 0x800) return (0xC0u | u >> 6) | (0x80u | (u & 0x3F)) << 8 | 2u << 24;
  return (0xE0u | u >> 12) | (0x80u | ((u >> 6) & 0x3F)) << 8 | (0x80u | (u & 0x3F)) << 16 |
         3u << 24;
}

const TSjisUtf8Table& SjisUtf8Table() {
  static const std::unique_ptr<TSjisUtf8Table> table = [] {
    const TCp932Table& t = Cp932Table();
    auto x = std::make_unique<TSjisUtf8Table>();
    for (unsigned idx = 0; idx < 65536; ++idx) {
      const unsigned lead = idx >> 8, trail = idx & 0xFF;
      if (lead == 0) {
        const bool ill = trail >= 0x80 && t.single[trail] == Cp932InvalidUnit;
        x->e[idx] = PackUtf8(t.single[trail]) | (ill ? TSjisUtf8Table::Ill : 0);
      } else if (t.dbcs[idx] != 0) {
        x->e[idx] = PackUtf8(t.dbcs[idx]);
      } else {
        x->e[idx] = PackUtf8(Cp932InvalidUnit) | TSjisUtf8Table::Ill |
                    (IsTrail(trail) ? 0 : TSjisUtf8Table::LeadOnly);
      }
    }
    return x;
  }();
  return *table;
}


// TCp932Table::fromU16 with each code's bytes in the order they are written (lead byte first),
// so that a unit takes one two-byte store with no byte swap; read as a number, a pair is above
// 0xFF and a single byte is not. Cp932NoMapping reads the same either way.
struct TSjisStoreTable {
  std::uint16_t e[65536];
};

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

}  // namespace

namespace {

std::atomic<bool> gBaselineVectorForms{false};

#if defined(__x86_64__)
// Whether the loops take their pshufb forms: where the processor has them, unless a test asked
// for the baseline.
bool UseSsse3Forms() {
  static const bool supported = __builtin_cpu_supports("ssse3");
  return supported && !gBaselineVectorForms.load(std::memory_order_relaxed);
}
#endif

template <bool BigEndian>
inline unsigned Utf16UnitAt(const Byte* s, std::size_t k) {
  return BigEndian ? s[2 * k] << 8 | s[2 * k + 1] : s[2 * k + 1] << 8 | s[2 * k];
}

#if defined(__x86_64__)
// Eight units at s as numbers, one per 16-bit lane.
template <bool BigEndian>
inline __m128i LoadUtf16Units(const Byte* s) {
  const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  return BigEndian ? _mm_or_si128(_mm_slli_epi16(units, 8), _mm_srli_epi16(units, 8)) : units;
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

// Converts eight Shift_JIS pairs (sixteen bytes at s, EightPairsAhead) to UTF-16 at d in one
// store: the pairs are looked up into the lanes of one register. Returns false, with nothing
// written, when a pair has no mapping; the caller then takes them one at a time.
template <bool BigEndian>
inline bool EightPairsToUtf16(const TCp932Table& t, const Byte* s, char* d) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  // Lane k read little-endian is trail << 8 | lead; the table wants lead << 8 | trail.
  const __m128i pairs = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
  __m128i units = GatherCodes<8>(t.dbcs, pairs);
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(units, _mm_setzero_si128())) != 0) return false;
  if (BigEndian) units = _mm_or_si128(_mm_slli_epi16(units, 8), _mm_srli_epi16(units, 8));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), units);
  return true;
}
#endif

// The text ends at its first NUL, found as the loop reaches it (a NUL is never a lead byte, and
// a lead byte before it takes it as a trail exactly as it would take the end of the text).
template <bool BigEndian>
std::string SjisToUtf16Impl(std::string_view text, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(2 * n + 2);
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
    if (IsLead(b)) {
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
        i -= IsTrail(trail) ? 0 : 1;
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

std::string Utf16ToSjis(std::string_view text, bool bigEndian, std::size_t& lost) {
  return bigEndian ? Utf16ToSjisImpl<true>(text, lost) : Utf16ToSjisImpl<false>(text, lost);
}

std::string SjisToUtf16(std::string_view text, bool bigEndian, std::size_t& lost) {
  return bigEndian ? SjisToUtf16Impl<true>(text, lost) : SjisToUtf16Impl<false>(text, lost);
}

namespace {

// One step of the lenient UTF-8 decoder: continuation bytes are only masked, four- to six-byte
// forms become U+3000 and a stray continuation byte becomes a space. Bytes past the end read as
// 0. ill is set when the sequence was not well-formed UTF-8 of its own length (the unit then
// stands for something that was lost). Returns the number of bytes the step consumes.
inline std::size_t DecodeUtf8Lenient(const Byte* s, std::size_t i, std::size_t n, unsigned& unit,
                                     bool& ill) {
  const unsigned b = s[i];
  auto at = [s, n](std::size_t k) -> unsigned { return k < n ? s[k] : 0; };
  auto cont = [](unsigned c) { return (c & 0xC0) == 0x80; };
  if (b < 0x80) {
    unit = b;
    ill = false;
    return 1;
  }
  if (b >= 0xE0 && b <= 0xEF) {
    const unsigned b1 = at(i + 1), b2 = at(i + 2);
    unit = (b & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F);
    ill = !cont(b1) || !cont(b2) || unit < 0x800;
    return 3;
  }
  if (b >= 0xC0 && b <= 0xDF) {
    const unsigned b1 = at(i + 1);
    unit = (b & 0x1F) << 6 | (b1 & 0x3F);
    ill = !cont(b1) || unit < 0x80;
    return 2;
  }
  ill = true;
  if (b < 0xC0) {
    unit = 0x20;
    return 1;
  }
  unit = 0x3000;
  return b >= 0xFC ? 6 : b >= 0xF8 ? 5 : 4;
}

// Writes one decoded unit; an encoded surrogate pair (two three-byte forms) is one character.
inline void PutDecodedUnit(const TCp932Table& t, char*& d, const Byte* s, std::size_t& i,
                           std::size_t n, unsigned u, bool ill, std::size_t& lost) {
  const std::size_t before = lost;
  PutUnitAsSjis(t, d, u, 0, lost);
  if (lost != before) {
    if (IsHighSurrogate(u) && i + 3 <= n && s[i] == 0xED && (s[i + 1] & 0xF0) == 0xB0) i += 3;
  } else if (ill) {
    ++lost;
  }
}

#if defined(__SSE2__)
// Converts four three-byte forms (twelve bytes; Japanese text is nearly all of them) with a
// single branch for the four: one vector compare checks every lead and continuation byte, and
// the stores step by each code's length without a branch, as in EncodeBlockOf8. Reads sixteen
// bytes at s. Returns false, with d unchanged, when one of the four is anything else (an
// overlong form, a surrogate, a unit without a mapping): the caller converts it alone.
inline bool EncodeThreeByteBlockOf4(const TSjisStoreTable& t, const Byte* s, char*& d) {
  // Byte by byte: F0 C0 C0 four times must give E0 80 80; the last four bytes are not looked at.
  const __m128i mask = _mm_setr_epi32(static_cast<int>(0xF0C0C0F0u), static_cast<int>(0xC0F0C0C0u),
                                      static_cast<int>(0xC0C0F0C0u), 0);
  const __m128i want = _mm_setr_epi32(static_cast<int>(0xE08080E0u), static_cast<int>(0x80E08080u),
                                      static_cast<int>(0x8080E080u), 0);
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, mask), want)) != 0xFFFF) return false;
  char* p = d;
  bool other = false;
  for (int j = 0; j < 4; ++j, s += 3) {
    const unsigned u = (s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
    const std::uint16_t bytes = t.e[u];
    other |= u < 0x800 || bytes == Cp932NoMapping;
    std::memcpy(p, &bytes, 2);
    p += 1 + (bytes > 0xFF);
  }
  if (other) return false;
  d = p;
  return true;
}
#else
inline bool EncodeThreeByteBlockOf4(const TSjisStoreTable&, const Byte*, char*&) { return false; }
#endif

// One well-formed three-byte form with a mapping, at s (three bytes readable); false, with d
// unchanged, for anything else.
inline bool EncodeThreeByteForm(const TSjisStoreTable& t, const Byte* s, char*& d) {
  const unsigned b0 = s[0], b1 = s[1], b2 = s[2];
  const unsigned u = (b0 & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F);
  const std::uint16_t bytes = t.e[u];
  const bool plain = (b0 & 0xF0) == 0xE0 && (((b1 ^ 0x80) | (b2 ^ 0x80)) & 0xC0) == 0 &&
                     u >= 0x800 && bytes != Cp932NoMapping;
  if (!plain) return false;
  std::memcpy(d, &bytes, 2);
  d += 1 + (bytes > 0xFF);
  return true;
}

#if defined(__SSE2__)
inline void CopySixteen(const Byte* s, char* d) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v);
}

// Converts a sixteen-byte window of ASCII and three-byte forms, mixed in any order, after one
// check for the whole window: where Japanese meets ASCII (line ends, mixed lines) the checks
// per character were what mispredicted. Three compare masks show whether every byte is ASCII,
// a lead byte E0-EF or a continuation byte sitting where a lead wants one; a form whose lead is
// at byte 14 or 15 is left for the next window. s starts a character and has thirty-two bytes
// readable, d room for as many. Returns the bytes consumed, or 0 with d unchanged when the
// window holds anything else (a NUL, an overlong form, a surrogate, a unit without a mapping).
inline std::size_t EncodeMixedWindow(const TSjisStoreTable& t, const Byte* s, char*& d) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) != 0) return 0;
  const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
  if (high == 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v);
    d += 16;
    return 16;
  }
  const auto kindMask = [&v](int mask, int want) {
    const __m128i m = _mm_and_si128(v, _mm_set1_epi8(static_cast<char>(mask)));
    const __m128i is = _mm_cmpeq_epi8(m, _mm_set1_epi8(static_cast<char>(want)));
    return static_cast<unsigned>(_mm_movemask_epi8(is));
  };
  const unsigned lead = kindMask(0xF0, 0xE0);
  const unsigned cont = kindMask(0xC0, 0x80);
  if ((lead | cont) != high || cont != ((lead << 1 | lead << 2) & 0xFFFF)) return 0;
  const unsigned cut = lead & 0xC000;
  const unsigned stop = cut ? static_cast<unsigned>(std::countr_zero(cut)) : 16;
  // Walks the leads only, by their mask bits, and copies each ASCII run before one with a
  // single store that later stores partly overwrite. Stepping by each character's kind instead
  // either branches on it (the mispredictions) or chains each position to the byte loaded
  // before it, which measured slower still.
  char* p = d;
  bool other = false;
  unsigned j = 0;
  for (unsigned leads = lead & ((1u << stop) - 1); leads != 0; leads &= leads - 1) {
    const unsigned at = static_cast<unsigned>(std::countr_zero(leads));
    CopySixteen(s + j, p);
    p += at - j;
    const unsigned u = (s[at] & 0x0Fu) << 12 | (s[at + 1] & 0x3Fu) << 6 | (s[at + 2] & 0x3Fu);
    const std::uint16_t bytes = t.e[u];
    other |= u < 0x800 || bytes == Cp932NoMapping;
    std::memcpy(p, &bytes, 2);
    p += 1 + (bytes > 0xFF);
    j = at + 3;
  }
  CopySixteen(s + j, p);
  p += stop - j;
  if (other) return 0;
  d = p;
  return stop;
}
#else
inline std::size_t EncodeMixedWindow(const TSjisStoreTable&, const Byte*, char*&) { return 0; }
#endif

#if defined(__x86_64__)
// EncodeThreeByteBlockOf4 for processors with pshufb, which gathers the bytes of five forms
// (fifteen bytes) into one unit per 16-bit lane, so that the decoding is three vector steps
// instead of a dozen scalar ones per character. Same contract, fifteen bytes consumed; writes
// sixteen bytes at d.
[[gnu::target("ssse3")]] inline bool EncodeThreeByteBlockOf5(const TSjisStoreTable& t,
                                                             const Byte* s, char*& d) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i shape = _mm_setr_epi8(-16, -64, -64, -16, -64, -64, -16, -64, -64, -16, -64, -64,
                                      -16, -64, -64, 0);
  const __m128i want = _mm_setr_epi8(-32, -128, -128, -32, -128, -128, -32, -128, -128, -32, -128,
                                     -128, -32, -128, -128, 0);
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, shape), want)) != 0xFFFF) return false;
  // Lane k: the two continuation bytes weighted 1 and 64, plus the lead's four bits at 12.
  const __m128i tails = _mm_shuffle_epi8(
      v, _mm_setr_epi8(2, 1, 5, 4, 8, 7, 11, 10, 14, 13, -1, -1, -1, -1, -1, -1));
  const __m128i leads = _mm_shuffle_epi8(
      v, _mm_setr_epi8(-1, 0, -1, 3, -1, 6, -1, 9, -1, 12, -1, -1, -1, -1, -1, -1));
  const __m128i low = _mm_maddubs_epi16(_mm_and_si128(tails, _mm_set1_epi8(0x3F)),
                                        _mm_set1_epi16(0x4001));
  const __m128i units =
      _mm_or_si128(low, _mm_slli_epi16(_mm_and_si128(leads, _mm_set1_epi16(0x0F00)), 4));
  const __m128i overlong = _mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(-2048)),
                                           _mm_setzero_si128());
  if ((_mm_movemask_epi8(overlong) & 0x3FF) != 0) return false;
  // The five codes leave in one store (see jconvertLanes.h).
  const __m128i codes = GatherCodes<5>(t.e, units);
  if ((OddLanes(codes) & 0x1F) == 0) [[likely]] {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), codes);
    d += 10;
    return true;
  }
  if (UnmappedLanes(codes) & 0x1F) return false;
  d = PutCodeLanes(codes, SingleLanes(codes), 5, d);
  return true;
}
#endif

// The all-Japanese block step of EncodeUtf8Run, chosen once for the processor.
struct TBlockOf4 {
  static constexpr std::size_t kBytes = 12;
  static bool Encode(const TSjisStoreTable& t, const Byte* s, char*& d) {
    return EncodeThreeByteBlockOf4(t, s, d);
  }
};
#if defined(__x86_64__)
struct TBlockOf5 {
  static constexpr std::size_t kBytes = 15;
  [[gnu::target("ssse3")]] static bool Encode(const TSjisStoreTable& t, const Byte* s, char*& d) {
    return EncodeThreeByteBlockOf5(t, s, d);
  }
};
#endif

// Converts ASCII and well-formed three-byte forms (all of Japanese) from i, stopping before end
// (two bytes past it readable) or at anything else, a NUL included: no byte at or after a NUL
// is taken. Returns the position reached.
template <class Block>
inline std::size_t EncodeUtf8RunWith(const TSjisStoreTable& t, const Byte* s, std::size_t i,
                                     std::size_t end, char*& d) {
  char* p = d;
  while (i < end) {
    if (i + 16 <= end) {
      if (Block::Encode(t, s + i, p)) {
        i += Block::kBytes;
        continue;
      }
      const std::size_t k = i + 32 <= end ? EncodeMixedWindow(t, s + i, p) : 0;
      if (k != 0) {
        i += k;
        continue;
      }
    }
    if (s[i] - 1u < 0x7Fu) {
      *p++ = static_cast<char>(s[i++]);
      continue;
    }
    if (!EncodeThreeByteForm(t, s + i, p)) break;
    i += 3;
  }
  d = p;
  return i;
}

// Not inlined, and flattened: on its own the loop keeps its table and pointers in registers.
[[gnu::noinline, gnu::flatten]] std::size_t EncodeUtf8RunSse2(const TSjisStoreTable& t,
                                                              const Byte* s, std::size_t i,
                                                              std::size_t end, char*& d) {
  return EncodeUtf8RunWith<TBlockOf4>(t, s, i, end, d);
}

#if defined(__x86_64__)
[[gnu::noinline, gnu::flatten, gnu::target("ssse3")]] std::size_t EncodeUtf8RunSsse3(
    const TSjisStoreTable& t, const Byte* s, std::size_t i, std::size_t end, char*& d) {
  return EncodeUtf8RunWith<TBlockOf5>(t, s, i, end, d);
}
#endif

using TEncodeUtf8Run = std::size_t (*)(const TSjisStoreTable&, const Byte*, std::size_t,
                                       std::size_t, char*&);

TEncodeUtf8Run ChooseEncodeUtf8Run() {
#if defined(__x86_64__)
  if (UseSsse3Forms()) return EncodeUtf8RunSsse3;
#endif
  return EncodeUtf8RunSse2;
}

}  // namespace

std::string Utf8ToSjis(std::string_view text, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  const TSjisStoreTable& store = SjisStoreTable();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  // The text ends at its first NUL; n becomes that once the conversion reaches it.
  std::size_t n = text.size();
  // No sequence gives more bytes than it takes, except one cut by the end (at most two): room
  // is checked once per chunk of input.
  TByteSink out(n + 2);
  char* d = out.Begin();
  char* lim = out.Limit();
  Room(out, d, lim, 16);
  std::size_t i = 0;
  n = EndBeforeNul(s, 0, n);
  if (n > 0) {
    unsigned u;
    bool ill;
    i = DecodeUtf8Lenient(s, 0, n, u, ill);
    // The signature of ckUtf8 (and its byte-swapped twin) is not text.
    if (u != 0xFEFF && u != 0xFFFE) PutDecodedUnit(t, d, s, i, n, u, ill, lost);
  }
  // ASCII and three-byte forms take the fast path, which also stops at a NUL; everything else,
  // and the last two bytes, go through the full lenient decoder (which gives the same for what
  // the fast path takes).
  const TEncodeUtf8Run encodeRun = ChooseEncodeUtf8Run();
  while (i + 2 < n) {
    Room(out, d, lim, kChunk + 16);
    const std::size_t fastEnd = n - 2;
    i = encodeRun(store, s, i, std::min(fastEnd, i + kChunk), d);
    if (i >= fastEnd) break;
    n = EndBeforeNul(s, i, n);
    if (i >= n) break;
    unsigned u;
    bool ill;
    i += DecodeUtf8Lenient(s, i, n, u, ill);
    PutDecodedUnit(t, d, s, i, n, u, ill, lost);
  }
  while (i < n) {
    Room(out, d, lim, 4);
    n = EndBeforeNul(s, i, n);
    if (i >= n) break;
    unsigned u;
    bool ill;
    i += DecodeUtf8Lenient(s, i, n, u, ill);
    PutDecodedUnit(t, d, s, i, n, u, ill, lost);
  }
  return out.Finish(d);
}

#if defined(__x86_64__)
// Eight pairs ahead (EightPairsAhead) whose characters are all three bytes long in UTF-8, as
// kanji and kana are, written at fixed offsets so that no store waits for the length of the
// one before; twenty-five bytes are written at d. Returns false when one is anything else (the
// caller then writes over them one at a time).
inline bool EightPairsToUtf8(const TSjisUtf8Table& t, const Byte* s, char* d) {
  std::uint32_t odd = 0;
  for (int k = 0; k < 8; ++k) {
    const std::uint32_t e = t.e[s[2 * k] << 8 | s[2 * k + 1]];
    std::memcpy(d + 3 * k, &e, 4);
    odd |= (e >> 24) ^ 3;  // length 3 and no flag
  }
  return odd == 0;
}
#endif

// The text ends at its first NUL, found as the loop reaches it (as in SjisToUtf16Impl).
std::string SjisToUtf8(std::string_view text, bool signature, std::size_t& lost) {
  const TSjisUtf8Table& t = SjisUtf8Table();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + n / 2 + n / 8 + 16);
  char* d = out.Begin();
  char* lim = out.Limit();
  if (signature) {
    std::memcpy(d, "\xEF\xBB\xBF", 3);
    d += 3;
  }
  std::size_t i = 0;
  std::size_t chunkEnd = 0;
  while (i < n) {
    if (i >= chunkEnd) {
      // Room for a whole chunk of input at three bytes each (plus the 4-byte store's slack).
      Room(out, d, lim, 3 * kChunk + 16);
      chunkEnd = i + kChunk;
    }
    const unsigned b = s[i];
    if (b < 0x80) {
      if (b == 0) [[unlikely]] break;
      *d++ = static_cast<char>(b);
      ++i;
      while (i + 8 <= n && i + 8 <= chunkEnd && EightAsciiWithoutNul(s + i)) {
        std::memcpy(d, s + i, 8);
        d += 8;
        i += 8;
      }
      continue;
    }
    std::uint32_t e;
    if (IsLead(b)) {
#if defined(__x86_64__)
      if (i + 16 <= n && i + 16 <= chunkEnd && EightPairsAhead(s + i) &&
          EightPairsToUtf8(t, s + i, d)) {
        d += 24;
        i += 16;
        continue;
      }
#endif
      e = t.e[b << 8 | (i + 1 < n ? s[i + 1] : 0)];
      i += 2;
    } else {
      e = t.e[b];
      i += 1;
    }
    std::memcpy(d, &e, 4);  // little-endian: the UTF-8 bytes come first; the rest is overwritten
    // Predicted rather than computed, so the write pointer does not wait for the lookup.
    if ((e >> 24 & 3) == 3) [[likely]] {
      d += 3;
    } else {
      d += e >> 24 & 3;
    }
    if (e & (TSjisUtf8Table::Ill | TSjisUtf8Table::LeadOnly)) [[unlikely]] {
      ++lost;
      if (e & TSjisUtf8Table::LeadOnly) --i;
    }
  }
  return out.Finish(d);
}

namespace {


// Holds back a high surrogate until the next unit shows whether it completes a pair.
class TUnitWriter {
 public:
  TUnitWriter(const TCp932Table& t, std::size_t& lost)
      : t_(t), store_(SjisStoreTable()), lost_(lost) {}
  // Writes up to two bytes per unit taken (a held one included), whatever the code's length.
  void Put(char*& d, unsigned u) {
    const std::uint16_t bytes = store_.e[u];
    // Nothing held and a unit with a mapping (so not a surrogate): one store, as in
    // EncodeBlockOf8.
    if (held_ == None && bytes != Cp932NoMapping) [[likely]] {
      std::memcpy(d, &bytes, 2);
      d += 1 + (bytes > 0xFF);
      return;
    }
    PutHeldOrUnmapped(d, u);
  }
  // The three units of a base64 group (bits 47-32, 31-16, 15-0), with eight bytes of room:
  // where nothing is held and all three are pairs (nearly always, in Japanese), one store.
  void PutThree(char*& d, std::uint64_t bits) {
    const unsigned u0 = bits >> 32 & 0xFFFF, u1 = bits >> 16 & 0xFFFF, u2 = bits & 0xFFFF;
    const std::uint64_t b0 = store_.e[u0], b1 = store_.e[u1], b2 = store_.e[u2];
    // A pair with a mapping reads 0x100 to 0xFEFF (Cp932NoMapping and single bytes do not).
    const auto pair = [](std::uint64_t b) { return b - 0x100 < 0xFE00; };
    if (held_ == None && (pair(b0) & pair(b1) & pair(b2))) [[likely]] {
      const std::uint64_t six = b0 | b1 << 16 | b2 << 32;
      std::memcpy(d, &six, 8);
      d += 6;
      return;
    }
    Put(d, u0);
    Put(d, u1);
    Put(d, u2);
  }
  // Whether a unit is held (a high surrogate waiting for its pair).
  bool Holding() const { return held_ != None; }
  void Flush(char*& d) {
    if (held_ != None) PutUnitAsSjis(t_, d, held_, 0, lost_);
    held_ = None;
  }

 private:
  void PutHeldOrUnmapped(char*& d, unsigned u) {
    if (held_ != None) {
      const unsigned h = held_;
      held_ = None;
      if (PutUnitAsSjis(t_, d, h, u, lost_) == 2) return;
    }
    if (IsHighSurrogate(u)) held_ = u;
    else PutUnitAsSjis(t_, d, u, 0, lost_);
  }

  static constexpr unsigned None = 0x10000;
  const TCp932Table& t_;
  const TSjisStoreTable& store_;
  std::size_t& lost_;
  unsigned held_ = None;
};

// Two base64 characters at once, indexed by their bytes as a little-endian 16-bit number: their
// twelve bits, or -1 when either is not base64. Halves the lookups of a section's groups.
struct TBase64PairTable {
  std::int16_t v[65536];
};

const TBase64PairTable& Base64PairTable() {
  static const std::unique_ptr<TBase64PairTable> table = [] {
    auto x = std::make_unique<TBase64PairTable>();
    for (unsigned idx = 0; idx < 65536; ++idx) {
      const int first = kBase64.v[idx & 0xFF], second = kBase64.v[idx >> 8];
      x->v[idx] = static_cast<std::int16_t>(first < 0 || second < 0 ? -1 : first << 6 | second);
    }
    return x;
  }();
  return *table;
}

// Decodes eight base64 characters at s into their 48 bits; false when one is not base64.
inline bool DecodeBase64Group(const TBase64PairTable& t, const Byte* s, std::uint64_t& bits) {
  std::int64_t acc = 0;
  int any = 0;
  for (int c = 0; c < 8; c += 2) {
    std::uint16_t idx;
    std::memcpy(&idx, s + c, 2);
    const int v = t.v[idx];
    any |= v;
    acc = acc << 12 | (v & 0xFFF);
  }
  bits = static_cast<std::uint64_t>(acc);
  return any >= 0;
}


}  // namespace

std::string Utf7ToSjis(std::string_view text, std::size_t& lost) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 16);
  char* d = out.Begin();
  char* lim = out.Limit();
  TUnitWriter writer(Cp932Table(), lost);
  const TBase64PairTable& pairs = Base64PairTable();
  std::size_t i = 0;
  while (i < n) {
    Room(out, d, lim, 16);
    if (s[i] != '+') {
#if defined(__SSE2__)
      // Direct ASCII, as nearly all direct text is, sixteen bytes at a time.
      if (i + 16 <= n && !writer.Holding()) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i plus = _mm_cmpeq_epi8(v, _mm_set1_epi8('+'));
        if (_mm_movemask_epi8(_mm_or_si128(v, plus)) == 0) {
          _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v);
          d += 16;
          i += 16;
          continue;
        }
      }
#endif
      writer.Put(d, s[i++]);
      continue;
    }
    if (i + 1 < n && s[i + 1] == '-') {
      writer.Put(d, '+');
      i += 2;
      continue;
    }
    ++i;
    // Each step takes one base64 character and looks at the next, as the detection does.
    int phase = 0;
    bool half = false;
    unsigned unit = 0;
    while (i < n) {
      if (phase == 0 && !half && i + 9 <= n) {
        // Eight base64 characters at a group boundary are plain base64: three units.
        std::uint64_t bits;
        if (DecodeBase64Group(pairs, s + i, bits)) {
          Room(out, d, lim, 8);
          writer.PutThree(d, bits);
          i += 8;
          continue;
        }
      }
      if (s[i] == '-') {
        ++i;
        break;
      }
      const int e = kBase64.v[s[i]];
      if (e < 0) break;  // read again as an ordinary byte
      if (++i >= n) break;
      int f = kBase64.v[s[i]];
      if (f < 0) f = 0;
      unsigned v = 0;
      if (phase == 0) v = (static_cast<unsigned>(e) * 4 + static_cast<unsigned>(f) / 16) & 0xFF;
      else if (phase == 1) v = (static_cast<unsigned>(e) * 16 + static_cast<unsigned>(f) / 4) & 0xFF;
      else if (phase == 2) v = (static_cast<unsigned>(e) * 64 + static_cast<unsigned>(f)) & 0xFF;
      if (phase < 3) {
        if (half) {
          Room(out, d, lim, 4);
          writer.Put(d, unit | v);
        } else {
          unit = v << 8;
        }
        half = !half;
      }
      phase = phase == 3 ? 0 : phase + 1;
    }
  }
  Room(out, d, lim, 2);
  writer.Flush(d);
  return out.Finish(d);
}

namespace {

// Writes units [k, end) as one base64 section from "+" to "-"; returns the new write position.
char* PutUtf7Section(const char16_t* units, std::size_t k, std::size_t end, char* d) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  *d++ = '+';
  // Three units are 48 bits, exactly eight base64 characters.
  for (; k + 3 <= end; k += 3) {
    const std::uint64_t bits = static_cast<std::uint64_t>(units[k]) << 32 |
                               static_cast<std::uint64_t>(units[k + 1]) << 16 | units[k + 2];
    for (int c = 7; c >= 0; --c) *d++ = kAlphabet[(bits >> (6 * c)) & 0x3F];
  }
  std::uint32_t bits = 0;
  int nbits = 0;
  for (; k < end; ++k) {
    bits = bits << 16 | units[k];
    nbits += 16;
    while (nbits >= 6) {
      nbits -= 6;
      *d++ = kAlphabet[(bits >> nbits) & 0x3F];
    }
  }
  if (nbits > 0) *d++ = kAlphabet[(bits << (6 - nbits)) & 0x3F];
  *d++ = '-';
  return d;
}

}  // namespace

namespace {

// Writes units [0, count) as UTF-7, the last one a direct character or the end of the text, so
// that no section is left open.
void PutUtf7Units(const char16_t* units, std::size_t count, TByteSink& out, char*& dOut,
                  char*& limOut) {
  // Local copies: written through char pointers, the caller's would be reloaded at every byte.
  char* d = dOut;
  char* lim = limOut;
  std::size_t k = 0;
  while (k < count) {
    // A run of direct characters takes one check for room.
    std::size_t end = k;
    while (end < count && Utf7Class(units[end]) == 1) ++end;
    Room(out, d, lim, end - k + 2);
    for (; k < end; ++k) *d++ = static_cast<char>(units[k]);
    if (k == count) break;
    if (units[k] == '+') {
      d[0] = '+';
      d[1] = '-';
      d += 2;
      ++k;
      continue;
    }
    // A section runs over every unit that is not direct; class 2 and "+" stay inside it.
    end = k + 1;
    while (end < count && Utf7Class(units[end]) != 1) ++end;
    Room(out, d, lim, (end - k) * 3 + 4);
    d = PutUtf7Section(units, k, end, d);
    k = end;
  }
  dOut = d;
  limOut = lim;
}

// Where the piece of text from begin, about kPiece bytes long, may end: after its last line
// break, which is always a character boundary (CR and LF are never trail bytes) and a direct
// character, so no section spans two pieces. The rest of the text where it has no line break.
std::size_t Utf7PieceEnd(std::string_view text, std::size_t begin, std::size_t piece) {
  if (text.size() - begin <= piece) return text.size();
  for (std::size_t k = begin + piece; k > begin; --k)
    if (text[k - 1] == '\n' || text[k - 1] == '\r') return k;
  return text.size();
}

}  // namespace

std::string SjisToUtf7(std::string_view text, std::size_t& lost) {
  // Sections end only where a direct character follows, so the text is decoded ahead of the
  // encoder, a piece at a time: pieces end after a line break and their units stay in the
  // cache, where decoding the whole text first would write and read it all through memory.
  constexpr std::size_t kPiece = std::size_t{1} << 15;
  std::vector<char16_t> units;
  TByteSink out(text.size() + text.size() / 2 + 16);
  char* d = out.Begin();
  char* lim = out.Limit();
  for (std::size_t begin = 0; begin < text.size();) {
    const std::size_t end = Utf7PieceEnd(text, begin, kPiece);
    if (units.size() < end - begin) units.resize(end - begin);
    std::size_t pieceLost = 0;
    const std::size_t count =
        Cp932ToUtf16(text.substr(begin, end - begin), units.data(), &pieceLost);
    lost += pieceLost;
    PutUtf7Units(units.data(), count, out, d, lim);
    begin = end;
  }
  return out.Finish(d);
}

}  // namespace vorn::jconv
