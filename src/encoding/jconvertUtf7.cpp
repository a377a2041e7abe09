// jconvert: UTF-7 to and from Shift_JIS, through the code page 932 table.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/cp932.h"
#include "encoding/jconvertInternal.h"
#include "encoding/jconvertUnits.h"

namespace vorn::jconv {

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
