// jconvert: conversion dispatch and the Japanese byte-arithmetic routines (JIS, EUC, Shift_JIS).
#include "text/jconvert.h"

#include <cstdint>
#include <cstring>

#include "text/jconvertInternal.h"

namespace vorn {

namespace jconv {

namespace {

using Byte = unsigned char;

constexpr Byte Esc = 0x1B;

constexpr bool In(Byte b, Byte lo, Byte hi) { return b >= lo && b <= hi; }

// Shift_JIS pair to JIS X 0208 pair, in 8-bit arithmetic and without range checks, so that any
// byte pair has a defined result.
inline void SjisToJisPair(Byte s1, Byte s2, Byte& j1, Byte& j2) {
  j1 = static_cast<Byte>(static_cast<Byte>(s1 - (s1 < 0xA0 ? 0x70 : 0xB0)) * 2);
  if (s2 >= 0x9F) {
    j2 = static_cast<Byte>(s2 - 0x7E);
  } else {
    j1 = static_cast<Byte>(j1 - 1);
    j2 = static_cast<Byte>(s2 - (s2 > 0x7F ? 0x20 : 0x1F));
  }
}

inline void JisToSjisPair(Byte j1, Byte j2, Byte& s1, Byte& s2) {
  s1 = static_cast<Byte>((static_cast<Byte>(j1 + 1) >> 1) + (j1 < 0x5F ? 0x70 : 0xB0));
  s2 = static_cast<Byte>(j2 + ((j1 & 1) == 0 ? 0x7E : (j2 > 0x5F ? 0x20 : 0x1F)));
}

// JIS X 0208 second bytes of the full-width forms of the half-width katakana A1..DF.
constexpr Byte kKanaJ2[63] = {
    0x23, 0x56, 0x57, 0x22, 0x26, 0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, 0x3C,
    0x22, 0x24, 0x26, 0x28, 0x2A, 0x2B, 0x2D, 0x2F, 0x31, 0x33, 0x35, 0x37, 0x39, 0x3B, 0x3D, 0x3F,
    0x41, 0x44, 0x46, 0x48, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x52, 0x55, 0x58, 0x5B, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x64, 0x66, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F, 0x73, 0x2B, 0x2C};

// Writes the full-width JIS character for half-width katakana k (A1..DF), merged with the voiced
// or semi-voiced mark when mark (the following half-width character, or 0) combines with it.
// Returns whether the mark was taken.
inline bool PutKanaAsJis(TByteSink& out, Byte k, Byte mark, Byte high) {
  const Byte j1 = (k <= 0xA5 || k == 0xB0 || k >= 0xDE) ? 0x21 : 0x25;
  Byte j2 = kKanaJ2[k - 0xA1];
  bool merged = false;
  if (mark == 0xDE && k == 0xB3) {
    j2 = 0x74;
    merged = true;
  } else if (mark == 0xDE && (In(k, 0xB6, 0xC4) || In(k, 0xCA, 0xCE))) {
    j2 += 1;
    merged = true;
  } else if (mark == 0xDF && In(k, 0xCA, 0xCE)) {
    j2 += 2;
    merged = true;
  }
  out.Put2(j1 | high, j2 | high);
  return merged;
}

inline void PutDesignation(TByteSink& out, Byte a, Byte b) { out.Put3(Esc, a, b); }

// Copies bytes below 0x80 eight at a time while no mode switch is pending.
inline std::size_t CopyAsciiRun(const Byte* s, std::size_t i, std::size_t n, TByteSink& out) {
  while (i + 8 <= n) {
    std::uint64_t w;
    std::memcpy(&w, s + i, 8);
    if (w & 0x8080808080808080ull) break;
    out.Room(8);
    std::memcpy(out.d, &w, 8);
    out.d += 8;
    i += 8;
  }
  return i;
}

}  // namespace

std::string SjisToJis(std::string_view text, char designation) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  const Byte d = static_cast<Byte>(designation);
  TByteSink out(n + n / 4 + 16);
  bool twoByte = false;
  std::size_t i = 0;
  while (i < n) {
    if (!twoByte) i = CopyAsciiRun(s, i, n, out);
    if (i >= n) break;
    out.Room(8);
    const Byte b = s[i];
    if (b < 0x80) {
      // Line breaks and every single-byte character leave two-byte mode first.
      if (twoByte) PutDesignation(out, '(', d);
      twoByte = false;
      out.Put(b);
      ++i;
      continue;
    }
    if (!twoByte) PutDesignation(out, '$', 'B');
    twoByte = true;
    if (In(b, 0xA1, 0xDF)) {
      const Byte mark = i + 1 < n ? s[i + 1] : 0;
      i += PutKanaAsJis(out, b, mark, 0) ? 2 : 1;
    } else {
      Byte j1, j2;
      SjisToJisPair(b, i + 1 < n ? s[i + 1] : 0, j1, j2);
      out.Put2(j1, j2);
      i += 2;
    }
  }
  if (twoByte) {
    out.Room(3);
    PutDesignation(out, '(', d);
  }
  return out.Finish();
}

std::string SjisToEuc(std::string_view text) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + n / 8 + 16);
  std::size_t i = 0;
  while (i < n) {
    i = CopyAsciiRun(s, i, n, out);
    if (i >= n) break;
    out.Room(2);
    const Byte b = s[i];
    if (b < 0x80) {
      out.Put(b);
      ++i;
    } else if (In(b, 0xA1, 0xDF)) {
      out.Put2(0x8E, b);
      ++i;
    } else {
      Byte j1, j2;
      SjisToJisPair(b, i + 1 < n ? s[i + 1] : 0, j1, j2);
      out.Put2(j1 | 0x80, j2 | 0x80);
      i += 2;
    }
  }
  return out.Finish();
}

namespace {

// The JIS escape rule shared by both JIS readers: the sequence is taken as three bytes, "$"
// turns two-byte mode on and "(" turns it off. Returns the index of the byte after it.
inline std::size_t TakeEscape(const Byte* s, std::size_t i, std::size_t n, bool& twoByte) {
  const Byte next = i + 1 < n ? s[i + 1] : 0;
  if (next == '$') twoByte = true;
  else if (next == '(') twoByte = false;
  return i + 3;
}

}  // namespace

std::string JisToSjis(std::string_view text) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 16);
  bool twoByte = false;
  std::size_t i = 0;
  while (i < n) {
    out.Room(2);
    if (s[i] == Esc) {
      i = TakeEscape(s, i, n, twoByte);
      if (i >= n) break;
      // The byte after the sequence is handled here as text, even when it is another ESC.
    }
    const Byte b = s[i];
    if (b == 0) {
      ++i;
    } else if (twoByte) {
      Byte s1, s2;
      JisToSjisPair(b, i + 1 < n ? s[i + 1] : 0, s1, s2);
      out.Put2(s1, s2);
      i += 2;
    } else {
      out.Put(b);
      ++i;
    }
  }
  return out.Finish();
}

std::string JisToEuc(std::string_view text) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 16);
  bool twoByte = false;
  std::size_t i = 0;
  while (i < n) {
    out.Room(1);
    if (s[i] == Esc) {
      i = TakeEscape(s, i, n, twoByte);
      if (i >= n) break;
    }
    const Byte b = s[i++];
    out.Put(twoByte && In(b, 0x21, 0x7E) ? b | 0x80 : b);
  }
  return out.Finish();
}

std::string EucToSjis(std::string_view text) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 16);
  std::size_t i = 0;
  while (i < n) {
    i = CopyAsciiRun(s, i, n, out);
    if (i >= n) break;
    out.Room(2);
    const Byte b = s[i];
    if (b < 0x80 || b == 0x80 || b == 0xFF) {
      out.Put(b);
      ++i;
    } else if (b == 0x8E) {
      if (i + 1 < n) out.Put(s[i + 1]);
      i += 2;
    } else {
      Byte s1, s2;
      JisToSjisPair(b & 0x7F, (i + 1 < n ? s[i + 1] : 0) & 0x7F, s1, s2);
      out.Put2(s1, s2);
      i += 2;
    }
  }
  return out.Finish();
}

// Output that ends in two-byte mode is closed with the designation, as Shift_JIS to JIS does,
// so that the result is well-formed ISO-2022-JP.
std::string EucToJis(std::string_view text, char designation) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  const Byte d = static_cast<Byte>(designation);
  TByteSink out(n + n / 4 + 16);
  bool twoByte = false;
  std::size_t i = 0;
  while (i < n) {
    out.Room(8);
    const Byte b = s[i];
    if (b < 0x80) {
      if (twoByte) PutDesignation(out, '(', d);
      twoByte = false;
      out.Put(b);
      ++i;
      continue;
    }
    if (!twoByte) PutDesignation(out, '$', 'B');
    twoByte = true;
    const Byte next = i + 1 < n ? s[i + 1] : 0;
    // 8E with a half-width katakana; any other byte after 8E is paired like other high bytes.
    if (b == 0x8E && In(next, 0xA1, 0xDF)) {
      const Byte mark = (i + 3 < n && s[i + 2] == 0x8E) ? s[i + 3] : 0;
      i += PutKanaAsJis(out, next, mark, 0) ? 4 : 2;
    } else {
      out.Put2(b & 0x7F, next & 0x7F);
      i += 2;
    }
  }
  if (twoByte) {
    out.Room(3);
    PutDesignation(out, '(', d);
  }
  return out.Finish();
}

}  // namespace jconv

std::string ConvertCharCode(std::string_view text, TCharCodeKind fromKind, TCharCodeKind toKind,
                            std::size_t* substituted) {
  using namespace jconv;
  std::size_t lost = 0;
  std::string out;
  auto isJis = [](TCharCodeKind k) { return k == ckJis || k == ckJisAscii; };
  auto unchanged = [](TCharCodeKind k) { return k == ckAscii || k == ckBinary || k == ckEucOrSjis; };
  const char designation = toKind == ckJis ? 'J' : 'B';
  if (unchanged(fromKind) || fromKind == toKind || unchanged(toKind) ||
      (isJis(fromKind) && isJis(toKind))) {
    out.assign(text);
  } else if (toKind == ckSjis) {
    switch (fromKind) {
      case ckJis: case ckJisAscii: out = JisToSjis(text); break;
      case ckEuc: out = EucToSjis(text); break;
      case ckUnicodeLE: out = Utf16ToSjis(text, false, lost); break;
      case ckUnicodeBE: out = Utf16ToSjis(text, true, lost); break;
      case ckUtf8: case ckUtf8N: out = Utf8ToSjis(text, lost); break;
      case ckUtf7: out = Utf7ToSjis(text, lost); break;
      default: break;
    }
  } else if (fromKind == ckSjis) {
    switch (toKind) {
      case ckJis: case ckJisAscii: out = SjisToJis(text, designation); break;
      case ckEuc: out = SjisToEuc(text); break;
      case ckUnicodeLE: out = SjisToUtf16(text, false, lost); break;
      case ckUnicodeBE: out = SjisToUtf16(text, true, lost); break;
      case ckUtf8: out = SjisToUtf8(text, true, lost); break;
      case ckUtf8N: out = SjisToUtf8(text, false, lost); break;
      case ckUtf7: out = SjisToUtf7(text, lost); break;
      default: break;
    }
  } else if (fromKind == ckEuc && isJis(toKind)) {
    out = EucToJis(text, designation);
  } else if (isJis(fromKind) && toKind == ckEuc) {
    out = JisToEuc(text);
  }
  if (substituted) *substituted = lost;
  return out;
}

const char* StatusBarCodeName(TCharCodeKind kind) {
  switch (kind) {
    case ckJis: return "JIS(RO)";
    case ckJisAscii: return "JIS(AS)";
    case ckEuc: return "EUC";
    case ckUnicodeLE: return "UNI(LE)";
    case ckUnicodeBE: return "UNI(BE)";
    case ckUtf8: return "UTF-8";
    case ckUtf8N: return "UTF-8N";
    case ckUtf7: return "UTF-7";
    default: return "SJIS";
  }
}

}  // namespace vorn
