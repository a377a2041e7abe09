// jconvert internals shared by detection and conversion: the UTF-7 classes and base64 values.
#pragma once

namespace vorn::jconv {

// 0: never written directly, 1: direct, 2: optionally direct, 3: the shift character "+".
constexpr int Utf7ClassOf(unsigned u) {
  if (u >= 128) return 0;
  if (u == '+') return 3;
  if (u == '\t' || u == '\n' || u == '\r' || u == ' ') return 1;
  if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')) return 1;
  for (const char* p = "'(),-./:?@"; *p; ++p)
    if (u == static_cast<unsigned char>(*p)) return 1;
  for (const char* p = "!\"#$%&*;<=>[]^_`{|}"; *p; ++p)
    if (u == static_cast<unsigned char>(*p)) return 2;
  return 0;
}

struct TUtf7Classes {
  unsigned char cls[128];
  constexpr TUtf7Classes() : cls() {
    for (unsigned u = 0; u < 128; ++u) cls[u] = static_cast<unsigned char>(Utf7ClassOf(u));
  }
};
inline constexpr TUtf7Classes Utf7Classes{};

inline int Utf7Class(unsigned unit) { return unit < 128 ? Utf7Classes.cls[unit] : 0; }

// The standard base64 alphabet; -1 for any other byte.
constexpr int Base64Value(unsigned char b) {
  if (b >= 'A' && b <= 'Z') return b - 'A';
  if (b >= 'a' && b <= 'z') return b - 'a' + 26;
  if (b >= '0' && b <= '9') return b - '0' + 52;
  if (b == '+') return 62;
  if (b == '/') return 63;
  return -1;
}

// Base64Value as a table, for the loops.
struct TBase64Table {
  signed char v[256];
  constexpr TBase64Table() : v() {
    for (unsigned b = 0; b < 256; ++b) v[b] = static_cast<signed char>(Base64Value(static_cast<unsigned char>(b)));
  }
};
inline constexpr TBase64Table kBase64{};

}  // namespace vorn::jconv

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/ByteBuffer.h"
#include "encoding/jconvert.h"

namespace vorn::jconv {

using vorn::GrowOutput;
using vorn::ReserveOutput;

// An output buffer that the conversion loops write through a local pointer d with a local limit,
// checked once per character or per chunk of input; only growing goes through the object. The
// most the output can need is reserved up front but zero-filled (and so paged in) only step by
// step as it is used, so a generous bound costs nothing. The steps are small enough that the
// zeros are still in the cache when the loop overwrites them: one large zero-fill would cost a
// second pass through memory. Past the reservation the string grows geometrically (never in
// fixed steps, which would copy a large file quadratically often).
class TByteSink {
 public:
  // bound: the most the output should need, reserved; initial: what is paged in at once (all
  // of it where the output is about as large as the bound anyway).
  // recycled: the output of an earlier call, whose memory is taken over where it can hold the
  // bound; a writer that encodes piece after piece then pays neither the page faults nor the
  // zero-fill of each piece's output again.
  explicit TByteSink(std::size_t bound, std::size_t initial = kStep, std::string recycled = {}) {
    if (recycled.capacity() >= std::max<std::size_t>(bound, 64) + kSlack) {
      buf_ = std::move(recycled);
      buf_.resize(buf_.capacity());
      return;
    }
    ReserveOutput(buf_, std::max<std::size_t>(bound, 64) + kSlack);
    buf_.resize(std::min(buf_.capacity(), std::max<std::size_t>(initial, 64)));
  }
  // A quarter of a typical L2 cache.
  static constexpr std::size_t kStep = std::size_t{1} << 18;
  // The loops ask for a whole chunk's worst case (at most three bytes per input byte or unit,
  // plus a vector store) wherever they are; near the end of a text whose output reaches the
  // bound, that asks for more than the text can need. The slack keeps such a request inside
  // the reservation, where it would otherwise cost a reallocation and a copy of everything.
  static constexpr std::size_t kSlack = 3 * 4096 + 64;
  char* Begin() { return buf_.data(); }
  char* Limit() { return buf_.data() + buf_.size(); }
  // Makes room for k more bytes after d; returns where d now points.
  [[gnu::noinline]] char* Grow(char* d, std::size_t k) {
    const std::size_t used = static_cast<std::size_t>(d - buf_.data());
    // Within the reservation, the last step is cut to fit: a loop that asks for a chunk's worst
    // case near the end must not cost a reallocation and a copy of everything written.
    if (used + k <= buf_.capacity()) {
      buf_.resize(std::min(buf_.capacity(), used + k + kStep));
    } else {
      GrowOutput(buf_, used + k);
      buf_.resize(std::min(buf_.capacity(), used + k + std::max(buf_.size() / 4, kStep)));
    }
    return buf_.data() + used;
  }
  std::string Finish(char* d) {
    buf_.resize(static_cast<std::size_t>(d - buf_.data()));
    return std::move(buf_);
  }

 private:
  std::string buf_;
};

// True when none of the 8 bytes at p has its top bit set: ASCII runs are taken whole.
inline bool EightAscii(const unsigned char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return (w & 0x8080808080808080ull) == 0;
}

// EightAscii, and none of the 8 bytes is a NUL.
inline bool EightAsciiWithoutNul(const unsigned char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  const std::uint64_t zeroByte = (w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull;
  return ((w & 0x8080808080808080ull) | zeroByte) == 0;
}

// Input is taken in chunks of this many bytes (or units) where the loop checks room per chunk.
constexpr std::size_t kChunk = 4096;
static_assert(3 * kChunk + 64 <= TByteSink::kSlack);

// Ensures k bytes of room at d, a loop's local write pointer, with lim its local limit. Inlined,
// so both stay in registers; only the rare growth is a call.
inline void Room(TByteSink& sink, char*& d, char*& lim, std::size_t k) {
  if (static_cast<std::size_t>(lim - d) < k) [[unlikely]] {
    d = sink.Grow(d, k);
    lim = sink.Limit();
  }
}

// The five run-length counters of the detection with their flags, over the examined prefix.
struct TDetectCounters {
  std::size_t euc, sjis, jis, utf8, utf7;
  bool roman, signature;
};
TDetectCounters CountForDetection(std::string_view text);
// The verdict the counters give for a text without a UTF-16 signature or a NUL in its prefix.
TCharCodeKind DecideCharCode(std::string_view text, const TDetectCounters& c);

// Well-formedness of the examined prefix (len bytes of a text of size bytes): a character cut
// by the prefix limit counts as well-formed, one cut by the end of the text does not.
bool IsWellFormedSjisPrefix(const unsigned char* s, std::size_t len, std::size_t size);
bool IsWellFormedEucPrefix(const unsigned char* s, std::size_t len, std::size_t size);
// Whether the prefix is well-formed EUC-JP and holds an 8F byte, which can then only start a
// three-byte form: such a text is EUC-JP whatever the counters say.
bool HoldsEucThreeByteForms(const unsigned char* s, std::size_t len, std::size_t size);
// EUC hiragana, katakana and the prolonged sound mark in the prefix.
std::size_t CountEucKana(const unsigned char* s, std::size_t len);
// The answer for a text the counters leave as Shift_JIS: EUC where the prefix is well-formed
// EUC-JP and either not Shift_JIS at all, or, on a tie of the two counters, holds kana enough.
TCharCodeKind RecheckSjisAsEuc(const unsigned char* s, std::size_t len, std::size_t size,
                               const TDetectCounters& c);

// The Shift_JIS code (lead << 8 | trail) of the same character as the IBM extension
// lead, trail (FA-FC) among the leads JIS X 0208 arithmetic reaches (81-EF, the NEC-selected
// rows first); 0 for any other pair or where there is none.
std::uint16_t NecSelectedTwin(unsigned lead, unsigned trail);

// The Japanese routines: byte arithmetic. designation is 'J' (ckJis) or 'B' (ckJisAscii).
// Writing, a character JIS X 0208 cannot hold (a user-defined character, an IBM extension
// without a twin, bytes that are not Shift_JIS) becomes the middle dot and is counted in lost;
// the other IBM extensions are written as their NEC-selected twins.
// recycled, in these and the Unicode writers: memory for the output (see TByteSink).
std::string SjisToJis(std::string_view text, char designation, std::size_t& lost,
                      std::string recycled = {});
std::string SjisToEuc(std::string_view text, std::size_t& lost, std::string recycled = {});
// Reading JIS, bytes under ESC ( I or between SO and SI are half-width katakana (21-5F to
// A1-DF). Reading EUC-JP, a three-byte form (8F, two bytes A1-FE) goes through the eucJP-ms
// mapping; one code page 932 cannot hold is counted in lost.
std::string JisToSjis(std::string_view text);
std::string JisToEuc(std::string_view text);
std::string EucToSjis(std::string_view text, std::size_t& lost);
std::string EucToJis(std::string_view text, char designation, std::size_t& lost);

// Makes the Unicode routines take their baseline (SSE2) loops even where the processor has the
// instructions of the faster ones, so that tests cover both forms on any machine.
void UseBaselineVectorForms(bool on);

// The Unicode routines go through the code page 932 table; substituted counts the characters
// that became a default or replacement character.
std::string Utf16ToSjis(std::string_view text, bool bigEndian, std::size_t& substituted);
std::string SjisToUtf16(std::string_view text, bool bigEndian, std::size_t& substituted,
                        std::string recycled = {});
std::string Utf8ToSjis(std::string_view text, std::size_t& substituted);
// Converts text from `from` (a position the whole conversion reaches) into out at d until the
// position reaches stop, finishing the character that crosses it. Returns the position reached,
// or text.size() where the text ended there or earlier at its first NUL.
std::size_t Utf8ToSjisPart(std::string_view text, std::size_t from, std::size_t stop, TByteSink& out,
                           char*& d, std::size_t& substituted);
std::string SjisToUtf8(std::string_view text, bool signature, std::size_t& substituted,
                       std::string recycled = {});
std::string Utf7ToSjis(std::string_view text, std::size_t& substituted);
std::string SjisToUtf7(std::string_view text, std::size_t& substituted);

}  // namespace vorn::jconv
