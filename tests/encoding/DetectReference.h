// A plain byte-by-byte model of the detection counters, to check the block-scanning ones against.
#pragma once

#include <cstddef>
#include <string_view>

#include "encoding/jconvert.h"
#include "encoding/jconvertInternal.h"

namespace vorn::testing {

inline jconv::TDetectCounters ReferenceCounters(std::string_view text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size(), L = n < DetectLimit ? n : DetectLimit;
  auto in = [](unsigned b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; };
  jconv::TDetectCounters c{};
  // EUC
  for (std::size_t i = 0; i < L;) {
    const unsigned b = s[i];
    // The second (and third) byte is looked at past the prefix, up to the end of the text.
    if (b == 0x8E) { c.euc = (i + 1 < n && in(s[i + 1], 0xA1, 0xDF)) ? c.euc + 1 : 0; i += 2; }
    else if (in(b, 0xA1, 0xFE)) { c.euc = (i + 1 < n && in(s[i + 1], 0xA1, 0xFE)) ? c.euc + 1 : 0; i += 2; }
    else if (b == 0x8F) {
      c.euc = (i + 2 < n && in(s[i + 1], 0xA1, 0xFE) && in(s[i + 2], 0xA1, 0xFE)) ? c.euc + 1 : 0;
      i += 3;
    } else ++i;
  }
  // SJIS
  bool kana = false;
  for (std::size_t i = 0; i < L;) {
    const unsigned b = s[i];
    if (in(b, 0x81, 0x9F) || in(b, 0xE0, 0xFC)) {
      const unsigned t = i + 1 < n ? s[i + 1] : 0;
      if (in(t, 0x40, 0x7E) || in(t, 0x80, 0xFC)) ++c.sjis; else { c.sjis = 0; kana = false; }
      i += 2;
    } else if (in(b, 0xA1, 0xDF)) {
      if (kana) { ++c.sjis; kana = false; } else kana = true;
      ++i;
    } else if (b == 0 || b >= 0x80) { c.sjis = 0; kana = false; ++i; }
    else ++i;
  }
  // JIS: pairs after ESC $ @, ESC $ B, ESC $ ( D; half-width katakana (21-5F, one each) after
  // ESC ( I and after SO once any designation came before.
  std::size_t nJ = 0, nB = 0;
  bool designated = false;
  auto skipToControl = [&](std::size_t i) {
    while (i < L && s[i] != 0x0E && s[i] != 0x0F && s[i] != 0x1B) ++i;
    return i;
  };
  auto countKana = [&](std::size_t i) {
    for (; i < L && s[i] != 0x0E && s[i] != 0x0F && s[i] != 0x1B; ++i) {
      if (in(s[i], 0x21, 0x5F)) ++c.jis;
      else if (s[i] >= 0x60) { c.jis = 0; return i + 1; }
    }
    return i;
  };
  for (std::size_t i = 0; i < L;) {
    const unsigned b = s[i];
    if (b == 0x1B) {
      bool run = false;
      if (i + 2 < L && s[i + 1] == '$' && (s[i + 2] == '@' || s[i + 2] == 'B')) { i += 3; run = designated = true; }
      else if (i + 3 < L && s[i + 1] == '$' && s[i + 2] == '(' && s[i + 3] == 'D') { i += 4; run = designated = true; }
      else if (i + 2 < L && s[i + 1] == '(' && s[i + 2] == 'I') { designated = true; i = countKana(i + 3); }
      else if (i + 2 < L && s[i + 1] == '(' && (s[i + 2] == 'B' || s[i + 2] == 'J')) {
        if (s[i + 2] == 'B') ++nB;
        if (s[i + 2] == 'J') ++nJ;
        designated = true;
        i = skipToControl(i + 3);
      } else ++i;
      while (run && i < L) {
        if (s[i] == 0x0E || s[i] == 0x0F || s[i] == 0x1B) break;
        if (i + 1 < n && in(s[i], 0x21, 0x7E) && in(s[i + 1], 0x21, 0x7E)) { ++c.jis; i += 2; }
        else { c.jis = 0; break; }
      }
    } else if (b == 0x0E && designated) i = countKana(i + 1);
    else if (b == 0x0E || b == 0x0F) i = skipToControl(i + 1);
    else ++i;
  }
  c.roman = nJ >= nB;
  // UTF8
  c.signature = n >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF;
  bool expect = false;
  std::size_t extra = 0;
  for (std::size_t i = 0; i < L;) {
    const unsigned b = s[i];
    if (expect) { c.utf8 = b >= 0x80 ? c.utf8 + 1 : 0; expect = false; i += 1 + extra; }
    else if (b >= 0xC0) {
      expect = true;
      extra = b >= 0xFC ? 4 : b >= 0xF8 ? 3 : b >= 0xF0 ? 2 : b >= 0xE0 ? 1 : 0;
      ++i;
    } else ++i;
  }
  // UTF7
  std::size_t pending = 0;
  for (std::size_t i = 0; i < L;) {
    const unsigned b = s[i];
    if (b == '+') {
      int phase = 0;
      bool half = false;
      unsigned unit = 0, v = 0;
      ++i;
      while (i < L) {
        if (s[i] == '-') { c.utf7 += pending; pending = 0; ++i; break; }
        const int e = jconv::Base64Value(s[i]);
        ++i;
        if (i >= L) break;
        int f = jconv::Base64Value(s[i]);
        if (e < 0) { ++i; break; }
        if (f < 0) f = 0;
        if (phase == 0) v = (e * 4 + f / 16) & 0xFF;
        if (phase == 1) v = (e * 16 + f / 4) & 0xFF;
        if (phase == 2) v = (e * 64 + f) & 0xFF;
        if (phase < 3) {
          if (!half) { unit = v * 256; half = true; }
          else {
            unit += v;
            half = false;
            const bool ok = in(unit, 0x20, 0xFF) || in(unit, 0x390, 0x45F) || in(unit, 0x2000, 0x266F) ||
                            in(unit, 0x3000, 0x30FF) || in(unit, 0x4E00, 0x9F80) || in(unit, 0xFF00, 0xFFEF);
            if (!ok) { c.utf7 = 0; return c; }
            ++pending;
          }
        }
        phase = phase == 3 ? 0 : phase + 1;
      }
    } else if (b >= 0x80 || jconv::Utf7Class(b) == 0) { c.utf7 = 0; return c; }
    else ++i;
  }
  return c;
}

}  // namespace vorn::testing
