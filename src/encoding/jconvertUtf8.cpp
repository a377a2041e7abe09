// jconvert: UTF-8 to and from Shift_JIS, through the code page 932 table.
#include <cstdint>
#include <cstring>
#include <bit>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

#include "base/TextUtil.h"
#include "platform/cp932.h"
#include "encoding/jconvertInternal.h"
#include "encoding/jconvertLanes.h"
#include "encoding/jconvertUnits.h"

namespace vorn::jconv {

namespace {

// The end of a text at its first NUL, for the decoder's step at i, which reads less than eight
// bytes: the fast loops stop at a NUL, so that the text's end is found as it is reached,
// rather than by a search of its own through a large file.
inline std::size_t EndBeforeNul(const unsigned char* s, std::size_t i, std::size_t n) {
  for (std::size_t k = i; k < n && k < i + 8; ++k)
    if (s[k] == 0) return k;
  return n;
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
                    (sjis::IsTrailByte(trail) ? 0 : TSjisUtf8Table::LeadOnly);
      }
    }
    return x;
  }();
  return *table;
}

}  // namespace

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

// Every decision below depends on the whole text and the position, never on where a part
// stops, so parts put together give exactly the bytes of one pass over the text.
std::size_t Utf8ToSjisPart(std::string_view text, std::size_t from, std::size_t stop, TByteSink& out,
                           char*& d, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  const TSjisStoreTable& store = SjisStoreTable();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  // The text ends at its first NUL; n becomes that once the conversion reaches it.
  std::size_t n = text.size();
  char* lim = out.Limit();
  Room(out, d, lim, 16);
  std::size_t i = from;
  if (from == 0) {
    n = EndBeforeNul(s, 0, n);
    if (n > 0) {
      unsigned u;
      bool ill;
      i = DecodeUtf8Lenient(s, 0, n, u, ill);
      // The signature of ckUtf8 (and its byte-swapped twin) is not text.
      if (u != 0xFEFF && u != 0xFFFE) PutDecodedUnit(t, d, s, i, n, u, ill, lost);
    }
  }
  // ASCII and three-byte forms take the fast path, which also stops at a NUL; everything else,
  // and the last two bytes, go through the full lenient decoder (which gives the same for what
  // the fast path takes).
  // One character through the full decoder; false at the end of the text (its NUL included).
  const auto decodeOne = [&] {
    n = EndBeforeNul(s, i, n);
    if (i >= n) return false;
    unsigned u;
    bool ill;
    i += DecodeUtf8Lenient(s, i, n, u, ill);
    PutDecodedUnit(t, d, s, i, n, u, ill, lost);
    return true;
  };
  const TEncodeUtf8Run encodeRun = ChooseEncodeUtf8Run();
  while (i + 2 < n && i < stop) {
    Room(out, d, lim, kChunk + 16);
    const std::size_t fastEnd = n - 2;
    i = encodeRun(store, s, i, std::min({fastEnd, i + kChunk, std::max(stop, i + 1)}), d);
    if (i >= fastEnd || !decodeOne()) break;
  }
  while (i < n && i < stop) {
    Room(out, d, lim, 4);
    if (!decodeOne()) break;
  }
  // Where a NUL ended the text before stop, say so even if stop was reached exactly there.
  return i < n ? i : text.size();
}

std::string Utf8ToSjis(std::string_view text, std::size_t& lost) {
  // No sequence gives more bytes than it takes, except one cut by the end (at most two): room
  // is checked once per chunk of input.
  TByteSink out(text.size() + 2);
  char* d = out.Begin();
  Utf8ToSjisPart(text, 0, text.size(), out, d, lost);
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
std::string SjisToUtf8(std::string_view text, bool signature, std::size_t& lost,
                       std::string recycled) {
  const TSjisUtf8Table& t = SjisUtf8Table();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + n / 2 + n / 8 + 16, TByteSink::kStep, std::move(recycled));
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
    if (sjis::IsLeadByte(b)) {
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

}  // namespace vorn::jconv

namespace vorn {

namespace {

// One part [from, to) of a text converted over its own bytes. Output that would overtake the
// input not yet read (ill-formed bytes written as wider substitutes can do that) waits in
// spill, and so does everything after it.
struct TInPlacePart {
  std::size_t from = 0;
  std::size_t to = 0;
  std::size_t written = 0;  // the part's output so far lies in [from, from + written)
  std::string spill;
  std::size_t lost = 0;
  bool endedAtNul = false;  // a NUL ended the text inside this part
  std::size_t nulsReplaced = 0;
};

// With nulsAsSpaces, every NUL of the part's input (just before the decoder gets to it, while
// the bytes are in the cache) and of its output becomes a space, so the text never ends at one.
void ConvertPartInPlace(char* data, std::string_view whole, TInPlacePart& p, bool nulsAsSpaces) {
  constexpr std::size_t kPart = std::size_t{1} << 16;
  // Farther than the decoder looks past where it is asked to stop.
  constexpr std::size_t kLookAhead = 16;
  // The part sees the text end where it ends: the decoder's last step may read a character
  // past the point it was asked to stop at, which belongs to the next part.
  const std::string_view text = whole.substr(0, p.to);
  p.endedAtNul = !nulsAsSpaces && p.to < whole.size() && std::memchr(data + p.from, 0, p.to - p.from) != nullptr;
  std::string part;
  std::size_t pos = p.from;
  std::size_t spacedTo = p.from;
  while (pos < p.to || (pos == 0 && p.to == 0)) {
    const std::size_t stop = std::min(p.to, pos + kPart);
    if (nulsAsSpaces) {
      const std::size_t upTo = std::min(p.to, stop + kLookAhead);
      if (upTo > spacedTo) p.nulsReplaced += ReplaceNulBytes(data + spacedTo, upTo - spacedTo);
      spacedTo = std::max(spacedTo, upTo);
    }
    jconv::TByteSink out(stop - pos + 8, stop - pos + 8, std::move(part));
    char* d = out.Begin();
    const std::size_t reached = jconv::Utf8ToSjisPart(text, pos, stop, out, d, p.lost);
    part = out.Finish(d);
    if (nulsAsSpaces) p.nulsReplaced += ReplaceNulBytes(part.data(), part.size());
    if (p.spill.empty() && p.from + p.written + part.size() <= std::min(reached, p.to)) {
      std::memcpy(data + p.from + p.written, part.data(), part.size());
      p.written += part.size();
    } else {
      p.spill += part;
    }
    if (reached >= text.size()) return;
    pos = reached;
  }
}

// Parts of some megabytes each, cut just after a line feed that follows a few ASCII bytes: no
// sequence, ill-formed or not, reaches over those, so every part starts a character and
// converts alone to what it gives within the whole.
std::vector<TInPlacePart> Utf8Parts(std::string_view text, unsigned wanted) {
  constexpr std::size_t kMinPart = std::size_t{16} << 20;
  const unsigned cores = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
  const std::size_t count = wanted > 0 ? wanted : std::clamp<std::size_t>(text.size() / kMinPart, 1, cores);
  std::vector<TInPlacePart> parts;
  std::size_t from = 0;
  constexpr std::size_t kAsciiBefore = 6;  // longer than the longest lead's reach
  const auto asciiBefore = [&text](std::size_t lf) {
    if (lf < kAsciiBefore) return false;
    for (std::size_t k = lf - kAsciiBefore; k < lf; ++k)
      if (static_cast<unsigned char>(text[k]) >= 0x80) return false;
    return true;
  };
  for (std::size_t k = 1; k < count; ++k) {
    std::size_t lf = text.find('\n', std::max(from, text.size() / count * k));
    while (lf != std::string_view::npos && !asciiBefore(lf)) lf = text.find('\n', lf + 1);
    if (lf == std::string_view::npos || lf + 1 >= text.size()) break;
    parts.emplace_back();
    parts.back().from = from;
    parts.back().to = lf + 1;
    from = lf + 1;
  }
  parts.emplace_back();
  parts.back().from = from;
  parts.back().to = text.size();
  return parts;
}

}  // namespace

// Large texts convert in parts side by side, each over its own bytes; the parts' outputs are
// then moved together, which costs a fraction of converting them.
namespace {

std::size_t ConvertInPlace(TByteBuffer& bytes, std::size_t& lost, unsigned partCount, bool nulsAsSpaces) {
  const std::string_view text(bytes.Data(), bytes.Size());
  std::vector<TInPlacePart> parts = Utf8Parts(text, partCount);
  std::vector<std::thread> threads;
  for (std::size_t k = 1; k < parts.size(); ++k) {
    try {
      threads.emplace_back(ConvertPartInPlace, bytes.Data(), text, std::ref(parts[k]), nulsAsSpaces);
    } catch (const std::system_error&) {
      ConvertPartInPlace(bytes.Data(), text, parts[k], nulsAsSpaces);
    }
  }
  ConvertPartInPlace(bytes.Data(), text, parts[0], nulsAsSpaces);
  for (std::thread& t : threads) t.join();
  // The text ends at its first NUL: parts after the one it ended in are not part of it.
  for (std::size_t k = 0; k < parts.size(); ++k)
    if (parts[k].endedAtNul) parts.resize(k + 1);
  bool spilled = false;
  std::size_t nuls = 0;
  for (const TInPlacePart& p : parts) {
    lost += p.lost;
    nuls += p.nulsReplaced;
    spilled = spilled || !p.spill.empty();
  }
  if (spilled && parts.size() > 1) {
    // Rare (ill-formed bytes only): a part's output outgrew its bytes, so moving the parts
    // together in place could overwrite a later part; they are joined in a new buffer instead.
    std::string joined;
    for (const TInPlacePart& p : parts) joined.append(bytes.Data() + p.from, p.written).append(p.spill);
    bytes = TByteBuffer(std::move(joined));
    return nuls;
  }
  std::size_t written = 0;
  for (const TInPlacePart& p : parts) {
    if (p.from != written) std::memmove(bytes.Data() + written, bytes.Data() + p.from, p.written);
    written += p.written;
  }
  const std::string& spill = parts.back().spill;
  if (!spill.empty()) {
    bytes.Grow(written + spill.size());
    std::memcpy(bytes.Data() + written, spill.data(), spill.size());
  }
  bytes.Truncate(written + spill.size());
  return nuls;
}

}  // namespace

void Utf8ToSjisInPlace(TByteBuffer& bytes, std::size_t& lost) { ConvertInPlace(bytes, lost, 0, false); }

void Utf8ToSjisInPlace(TByteBuffer& bytes, std::size_t& lost, unsigned partCount) {
  ConvertInPlace(bytes, lost, partCount, false);
}

std::size_t Utf8FileToSjisInPlace(TByteBuffer& bytes, std::size_t& lost, unsigned partCount) {
  return ConvertInPlace(bytes, lost, partCount, true);
}

}  // namespace vorn
