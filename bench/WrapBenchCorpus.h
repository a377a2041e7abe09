// Deterministic generator of realistic Shift_JIS documents: Japanese prose and ASCII code lines.
#pragma once

#include <cstdint>
#include <string>

namespace vorn::bench {

class TCorpusRng {
public:
  explicit TCorpusRng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return static_cast<uint32_t>(s_ >> 16);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

private:
  uint64_t s_;
};

// Appends one line (without its break) of roughly `len` bytes.
inline void AppendLine(TCorpusRng& rng, std::string& out, int len) {
  static const char* const kWords[] = {"int", "return", "the", "value", "for", "if", "std::string",
                                       "count", "=", "+", "(x)", "{", "}", ";", "data", "0x1F"};
  static const char* const kPunct[] = {"\x81\x41", "\x81\x42", "\x81\x75", "\x81\x76", "\x81\x5B"};
  const bool japanese = rng.Below(10) < 6;
  const std::size_t end = out.size() + len;
  if (!japanese && rng.Below(4) == 0) out += '\t';
  while (out.size() < end) {
    if (japanese) {
      uint32_t k = rng.Below(100);
      if (k < 55) {  // hiragana
        out += '\x82';
        out += static_cast<char>(0x9F + rng.Below(0x53));
      } else if (k < 85) {  // kanji
        out += static_cast<char>(0x88 + rng.Below(0x18));
        uint32_t t = 0x40 + rng.Below(0xBD);
        if (t == 0x7F) t = 0x80;
        out += static_cast<char>(t);
      } else if (k < 93) {
        out += kPunct[rng.Below(5)];
      } else {
        out += kWords[rng.Below(16)];
      }
    } else {
      out += kWords[rng.Below(16)];
      out += rng.Below(8) == 0 ? '\t' : ' ';
    }
  }
}

// About `bytes` bytes of CR LF lines, mostly under 200 bytes, a few long paragraphs.
inline std::string MakeCorpus(std::size_t bytes, uint64_t seed = 1) {
  TCorpusRng rng(seed);
  std::string text;
  text.reserve(bytes + 4096);
  while (text.size() < bytes) {
    uint32_t k = rng.Below(100);
    int len = k < 10 ? 0 : k < 97 ? static_cast<int>(rng.Below(160)) + 10
                                  : static_cast<int>(rng.Below(1500)) + 200;
    AppendLine(rng, text, len);
    text += "\r\n";
  }
  return text;
}

}  // namespace vorn::bench
