// The generated Shift_JIS corpus the file-pipeline benchmarks share.
#pragma once

#include <cstring>
#include <string>

namespace vorn {

// Deterministic lines of realistic shape: Japanese prose (kana, kanji, punctuation), ASCII
// code-like lines and some empty ones, mostly under 200 bytes.
class TCorpusGenerator {
public:
  std::string Generate(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 512);
    while (text.size() < bytes) {
      unsigned kind = Next() % 10;
      if (kind < 5)
        AppendJapanese(text);
      else if (kind < 9)
        AppendAscii(text);
      text += "\r\n";
    }
    return text;
  }

private:
  unsigned Next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<unsigned>(state_ >> 33);
  }
  unsigned LineLength() {
    unsigned r = Next() % 100;
    return r < 90 ? 5 + Next() % 70 : 75 + Next() % 160;
  }
  void AppendJapanese(std::string& text) {
    unsigned len = LineLength();
    for (unsigned i = 0; i < len; i += 2) {
      unsigned r = Next() % 20;
      if (r < 10) {  // hiragana
        text += '\x82';
        text += static_cast<char>(0x9F + Next() % 83);
      } else if (r < 17) {  // kanji of the first level
        text += static_cast<char>(0x88 + Next() % 8);
        text += static_cast<char>(0x9F + Next() % 94);
      } else if (r < 19) {  // 、 。
        text += '\x81';
        text += (Next() % 2) ? '\x41' : '\x42';
      } else {  // half-width katakana
        text += static_cast<char>(0xB1 + Next() % 40);
        --i;
      }
    }
  }
  void AppendAscii(std::string& text) {
    static const char* const kWords[] = {"int", "return", "value", "if", "(x)", "{", "}", "=", "count", "+ 1;", "//", "the"};
    unsigned len = LineLength();
    unsigned indent = Next() % 4 * 2;
    text.append(indent, ' ');
    while (text.size() % 1000000 < 1000000 && len > 0) {
      const char* w = kWords[Next() % 12];
      std::size_t n = std::strlen(w);
      if (n + 1 > len) break;
      text.append(w).append(" ");
      len -= static_cast<unsigned>(n + 1);
    }
  }

  unsigned long long state_ = 20261209;
};

}  // namespace vorn
