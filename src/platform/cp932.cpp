// cp932: builds the code page 932 tables from the system iconv and converts through them.
#include "platform/cp932.h"

#include "base/sjis.h"

#include <iconv.h>

#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorn {

namespace {

constexpr bool IsSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDFFF; }

// One conversion of a complete byte sequence; false when iconv rejects or splits it.
bool ConvertOne(iconv_t cd, const char* in, std::size_t inLen, char* out, std::size_t outCap,
                std::size_t* outLen) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* inPtr = const_cast<char*>(in);
  char* outPtr = out;
  std::size_t inLeft = inLen, outLeft = outCap;
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
    return false;
  *outLen = outCap - outLeft;
  return true;
}

// A decoded sequence counts only when it is exactly one BMP unit.
bool DecodeUnit(iconv_t cd, const char* in, std::size_t inLen, char16_t* unit) {
  char out[8];
  std::size_t outLen = 0;
  if (!ConvertOne(cd, in, inLen, out, sizeof out, &outLen) || outLen != 2) return false;
  *unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                static_cast<unsigned char>(out[1]) << 8);
  return true;
}

void FillDecode(TCp932Table& t, iconv_t toU16) {
  for (unsigned b = 0; b < 256; ++b) {
    char16_t unit = Cp932InvalidUnit;
    char in = static_cast<char>(b);
    if (!sjis::IsLeadByte(b) && !DecodeUnit(toU16, &in, 1, &unit)) unit = Cp932InvalidUnit;
    t.single[b] = unit;
  }
  std::memset(t.dbcs, 0, sizeof t.dbcs);
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!sjis::IsLeadByte(lead)) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!sjis::IsTrailByte(trail)) continue;
      const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char16_t unit = 0;
      if (DecodeUnit(toU16, in, 2, &unit)) t.dbcs[lead << 8 | trail] = unit;
    }
  }
}

void FillEncode(TCp932Table& t, iconv_t fromU16) {
  for (unsigned u = 0; u < 65536; ++u) {
    t.fromU16[u] = Cp932NoMapping;
    if (IsSurrogate(static_cast<char16_t>(u))) continue;
    const char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    char out[8];
    std::size_t outLen = 0;
    if (!ConvertOne(fromU16, in, 2, out, sizeof out, &outLen)) continue;
    const unsigned b0 = static_cast<unsigned char>(out[0]);
    if (outLen == 1 && !sjis::IsLeadByte(b0)) t.fromU16[u] = static_cast<std::uint16_t>(b0);
    else if (outLen == 2 && sjis::IsLeadByte(b0))
      t.fromU16[u] = static_cast<std::uint16_t>(b0 << 8 | static_cast<unsigned char>(out[1]));
  }
}

// Without a CP932 converter in the system only ASCII and half-width katakana are known; the
// editor still opens and saves ASCII text unchanged.
void FillFallback(TCp932Table& t) {
  for (unsigned b = 0; b < 256; ++b) t.single[b] = Cp932InvalidUnit;
  std::memset(t.dbcs, 0, sizeof t.dbcs);
  for (unsigned u = 0; u < 65536; ++u) t.fromU16[u] = Cp932NoMapping;
  for (unsigned b = 0; b < 0x80; ++b) {
    t.single[b] = static_cast<char16_t>(b);
    t.fromU16[b] = static_cast<std::uint16_t>(b);
  }
  for (unsigned b = 0xA1; b <= 0xDF; ++b) {
    t.single[b] = static_cast<char16_t>(0xFF61 + (b - 0xA1));
    t.fromU16[0xFF61 + (b - 0xA1)] = static_cast<std::uint16_t>(b);
  }
}

std::unique_ptr<TCp932Table> BuildTable() {
  auto t = std::make_unique<TCp932Table>();
  iconv_t toU16 = iconv_open("UTF-16LE", "CP932");
  iconv_t fromU16 = iconv_open("CP932", "UTF-16LE");
  const iconv_t failed = reinterpret_cast<iconv_t>(-1);
  if (toU16 == failed || fromU16 == failed) {
    FillFallback(*t);
  } else {
    FillDecode(*t, toU16);
    FillEncode(*t, fromU16);
  }
  if (toU16 != failed) iconv_close(toU16);
  if (fromU16 != failed) iconv_close(fromU16);
  return t;
}

}  // namespace

const TCp932Table& Cp932Table() {
  static const std::unique_ptr<TCp932Table> table = BuildTable();
  return *table;
}

std::size_t Cp932ToUtf16(std::string_view sjis, char16_t* out, std::size_t* substituted) {
  const TCp932Table& t = Cp932Table();
  char16_t* dst = out;
  const auto* p = reinterpret_cast<const unsigned char*>(sjis.data());
  const auto* end = p + sjis.size();
  std::size_t bad = 0;
  while (p < end) {
#if defined(__SSE2__)
    // ASCII lines and the line breaks between Japanese ones: sixteen bytes widen at once.
    while (end - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      if (_mm_movemask_epi8(v) != 0) break;
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(v, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(v, zero));
      dst += 16;
      p += 16;
    }
    if (p == end) break;
#endif
    const unsigned b = *p;
    if (!sjis::IsLeadByte(b)) {
      const char16_t u = t.single[b];
      bad += (u == Cp932InvalidUnit && b >= 0x80);
      *dst++ = u;
      ++p;
      continue;
    }
    const unsigned trail = (p + 1 < end) ? p[1] : 0;
    const char16_t u = t.dbcs[b << 8 | trail];
    if (u != 0) {
      *dst++ = u;
      p += 2;
    } else {
      *dst++ = Cp932InvalidUnit;
      ++bad;
      p += sjis::IsTrailByte(trail) ? 2 : 1;
    }
  }
  if (substituted) *substituted = bad;
  return static_cast<std::size_t>(dst - out);
}

std::u16string Cp932ToUtf16(std::string_view sjis, std::size_t* substituted) {
  std::u16string out;
  out.resize(sjis.size());
  out.resize(Cp932ToUtf16(sjis, out.data(), substituted));
  return out;
}

std::string Utf16ToCp932(std::u16string_view u16, std::size_t* substituted) {
  const TCp932Table& t = Cp932Table();
  std::string out;
  out.resize(u16.size() * 2);
  char* dst = out.data();
  std::size_t bad = 0;
  for (std::size_t i = 0; i < u16.size(); ++i) {
    const char16_t u = u16[i];
    const std::uint16_t code = t.fromU16[u];
    if (code == Cp932NoMapping) {
      // A surrogate pair is one character: it takes one default character, not two.
      if (u >= 0xD800 && u <= 0xDBFF && i + 1 < u16.size() && u16[i + 1] >= 0xDC00 &&
          u16[i + 1] <= 0xDFFF)
        ++i;
      *dst++ = Cp932DefaultChar;
      ++bad;
    } else if (code < 0x100) {
      *dst++ = static_cast<char>(code);
    } else {
      *dst++ = static_cast<char>(code >> 8);
      *dst++ = static_cast<char>(code & 0xFF);
    }
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
  if (substituted) *substituted = bad;
  return out;
}

}  // namespace vorn
