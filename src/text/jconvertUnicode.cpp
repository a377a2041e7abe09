// jconvert: the Unicode routines (UTF-16, UTF-8, UTF-7), all through the code page 932 table.
#include <cstdint>
#include <cstring>

#include "platform/cp932.h"
#include "text/jconvert.h"
#include "text/jconvertInternal.h"

namespace vorn::jconv {

namespace {

using Byte = unsigned char;

constexpr bool IsLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsTrail(unsigned b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
constexpr bool IsHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool IsLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

inline bool EightAscii(const Byte* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return (w & 0x8080808080808080ull) == 0;
}

// The text up to its first NUL byte: the Shift_JIS to UTF-16 and UTF-8 routines stop there.
std::string_view UpToNul(std::string_view text) {
  const void* nul = std::memchr(text.data(), 0, text.size());
  return nul ? text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()))
             : text;
}

// Writes the Shift_JIS form of one unit; next is the unit after it (or 0), so that a surrogate
// pair takes one default character. Returns the number of units consumed.
inline std::size_t PutUnitAsSjis(const TCp932Table& t, TByteSink& out, unsigned u, unsigned next,
                                 std::size_t& lost) {
  const std::uint16_t code = t.fromU16[u];
  if (code < 0x100) {
    out.Put(static_cast<Byte>(code));
    return 1;
  }
  if (code != Cp932NoMapping) {
    out.Put2(static_cast<Byte>(code >> 8), static_cast<Byte>(code));
    return 1;
  }
  out.Put(static_cast<Byte>(Cp932DefaultChar));
  ++lost;
  return IsHighSurrogate(u) && IsLowSurrogate(next) ? 2 : 1;
}

// Decodes the Shift_JIS character at s[i] (ill-formed bytes become U+30FB, see cp932.h).
// Returns the number of bytes it took.
inline std::size_t DecodeSjis(const TCp932Table& t, const Byte* s, std::size_t i, std::size_t n,
                              char16_t& unit, std::size_t& lost) {
  const unsigned b = s[i];
  if (!IsLead(b)) {
    unit = t.single[b];
    lost += (b >= 0x80 && unit == Cp932InvalidUnit);
    return 1;
  }
  const unsigned trail = i + 1 < n ? s[i + 1] : 0;
  unit = t.dbcs[b << 8 | trail];
  if (unit != 0) return 2;
  unit = Cp932InvalidUnit;
  ++lost;
  return IsTrail(trail) ? 2 : 1;
}

}  // namespace

std::string Utf16ToSjis(std::string_view text, bool bigEndian, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t units = text.size() / 2;
  const int hi = bigEndian ? 0 : 1;
  auto unitAt = [s, hi](std::size_t k) -> unsigned { return s[2 * k + hi] << 8 | s[2 * k + 1 - hi]; };
  TByteSink out(units + units / 2 + 16);
  std::size_t k = (text.size() >= 2 && (s[0] == 0xFE || s[0] == 0xFF)) ? 1 : 0;
  while (k < units) {
    out.Room(2);
    const unsigned u = unitAt(k);
    k += PutUnitAsSjis(t, out, u, k + 1 < units ? unitAt(k + 1) : 0, lost);
  }
  return out.Finish();
}

std::string SjisToUtf16(std::string_view text, bool bigEndian, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  text = UpToNul(text);
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(2 * n + 2);
  const int hi = bigEndian ? 0 : 1;
  out.Put2(bigEndian ? 0xFE : 0xFF, bigEndian ? 0xFF : 0xFE);
  for (std::size_t i = 0; i < n;) {
    out.Room(2);
    char16_t u;
    i += DecodeSjis(t, s, i, n, u, lost);
    out.d[hi] = static_cast<char>(u >> 8);
    out.d[1 - hi] = static_cast<char>(u & 0xFF);
    out.d += 2;
  }
  return out.Finish();
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

}  // namespace

std::string Utf8ToSjis(std::string_view text, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  text = UpToNul(text);
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n * 3 / 4 + 16);
  std::size_t i = 0;
  bool first = true;
  while (i < n) {
    if (i + 8 <= n && EightAscii(s + i)) {
      out.Room(8);
      std::memcpy(out.d, s + i, 8);
      out.d += 8;
      i += 8;
      first = false;
      continue;
    }
    out.Room(2);
    unsigned u;
    bool ill;
    i += DecodeUtf8Lenient(s, i, n, u, ill);
    if (first && (u == 0xFEFF || u == 0xFFFE)) {
      first = false;
      continue;  // the signature of ckUtf8 (and its byte-swapped twin) is not text
    }
    first = false;
    if (IsHighSurrogate(u) && i + 3 <= n && s[i] == 0xED && (s[i + 1] & 0xF0) == 0xB0) {
      // An encoded surrogate pair is one character and takes one default character.
      std::size_t dummy = 0;
      PutUnitAsSjis(t, out, u, 0xDC00, dummy);
      ++lost;
      i += 3;
      continue;
    }
    const std::size_t before = lost;
    PutUnitAsSjis(t, out, u, 0, lost);
    if (ill && lost == before) ++lost;
  }
  return out.Finish();
}

std::string SjisToUtf8(std::string_view text, bool signature, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  text = UpToNul(text);
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + n / 2 + 16);
  if (signature) out.Put3(0xEF, 0xBB, 0xBF);
  std::size_t i = 0;
  while (i < n) {
    if (i + 8 <= n && EightAscii(s + i)) {
      out.Room(8);
      std::memcpy(out.d, s + i, 8);
      out.d += 8;
      i += 8;
      continue;
    }
    out.Room(3);
    char16_t u;
    i += DecodeSjis(t, s, i, n, u, lost);
    if (u < 0x80) {
      out.Put(static_cast<Byte>(u));
    } else if (u < 0x800) {
      out.Put2(static_cast<Byte>(0xC0 | u >> 6), static_cast<Byte>(0x80 | (u & 0x3F)));
    } else {
      out.Put3(static_cast<Byte>(0xE0 | u >> 12), static_cast<Byte>(0x80 | ((u >> 6) & 0x3F)),
               static_cast<Byte>(0x80 | (u & 0x3F)));
    }
  }
  return out.Finish();
}

std::string Utf7ToSjis(std::string_view text, std::size_t& lost) {
  const TCp932Table& t = Cp932Table();
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 16);
  unsigned held = 0x10000;  // a high surrogate waiting for its partner
  auto emit = [&](unsigned u) {
    out.Room(2);
    if (held != 0x10000) {
      const unsigned h = held;
      held = 0x10000;
      if (PutUnitAsSjis(t, out, h, u, lost) == 2) return;
      out.Room(2);
    }
    if (IsHighSurrogate(u)) held = u;
    else PutUnitAsSjis(t, out, u, 0, lost);
  };
  std::size_t i = 0;
  while (i < n) {
    if (s[i] != '+') {
      emit(s[i++]);
      continue;
    }
    if (i + 1 < n && s[i + 1] == '-') {
      emit('+');
      i += 2;
      continue;
    }
    ++i;
    int phase = 0;
    bool half = false;
    unsigned unit = 0;
    while (i < n) {
      if (s[i] == '-') {
        ++i;
        break;
      }
      const int e = Base64Value(s[i]);
      if (e < 0) break;  // read again as an ordinary byte
      if (++i >= n) break;
      int f = Base64Value(s[i]);
      if (f < 0) f = 0;
      unsigned v = 0;
      if (phase == 0) v = (static_cast<unsigned>(e) * 4 + f / 16) & 0xFF;
      else if (phase == 1) v = (static_cast<unsigned>(e) * 16 + f / 4) & 0xFF;
      else if (phase == 2) v = (static_cast<unsigned>(e) * 64 + f) & 0xFF;
      if (phase < 3) {
        if (!half) {
          unit = v << 8;
        } else {
          emit(unit | v);
        }
        half = !half;
      }
      phase = phase == 3 ? 0 : phase + 1;
    }
  }
  if (held != 0x10000) {
    out.Room(1);
    PutUnitAsSjis(t, out, held, 0, lost);
  }
  return out.Finish();
}

std::string SjisToUtf7(std::string_view text, std::size_t& lost) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::u16string units = Cp932ToUtf16(text, &lost);
  TByteSink out(units.size() * 3 + 16);
  std::size_t k = 0;
  while (k < units.size()) {
    const unsigned u = units[k];
    const int cls = Utf7Class(u);
    out.Room(2);
    if (cls == 1) {
      out.Put(static_cast<Byte>(u));
      ++k;
      continue;
    }
    if (cls == 3) {
      out.Put2('+', '-');
      ++k;
      continue;
    }
    // A section runs over every unit that is not direct; class 2 and "+" stay inside it.
    std::size_t end = k;
    while (end < units.size() && Utf7Class(units[end]) != 1) ++end;
    out.Room((end - k) * 16 / 6 + 4);
    out.Put('+');
    std::uint32_t bits = 0;
    int nbits = 0;
    for (; k < end; ++k) {
      bits = bits << 16 | units[k];
      nbits += 16;
      while (nbits >= 6) {
        nbits -= 6;
        out.Put(static_cast<Byte>(kAlphabet[(bits >> nbits) & 0x3F]));
      }
    }
    if (nbits > 0) out.Put(static_cast<Byte>(kAlphabet[(bits << (6 - nbits)) & 0x3F]));
    out.Put('-');
  }
  return out.Finish();
}

}  // namespace vorn::jconv
