// Grep's candidate-line finder: the byte strings every match must contain, and a scan for them.
#include "search/GrepAnchors.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/sjis.h"
#include "regex/BregexpGroups.h"
#include "regex/BregexpUtil.h"
#include "search/GrepLineSearch.h"

namespace vorn {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// The needles are short and their first bytes (Shift_JIS leads of kana and full-width forms)
// common, which slows a general substring search; sixteen places at a time are tested for the
// first and the last byte together, and only those holding both are compared in full.
std::size_t FindFrom(std::string_view text, std::size_t from, const std::string& needle) {
  const std::size_t n = needle.size();
  if (from >= text.size() || text.size() - from < n) return npos;
  const char* base = text.data();
  std::size_t i = from;
#if defined(__SSE2__)
  if (n >= 2) {
    const __m128i first = _mm_set1_epi8(needle.front()), last = _mm_set1_epi8(needle.back());
    const std::size_t stop = text.size() - n + 1;  // the places a match can start
    for (; i + 16 <= stop; i += 16) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i + n - 1));
      unsigned both = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
      for (; both != 0; both &= both - 1) {
        const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(both));
        if (std::memcmp(base + at + 1, needle.data() + 1, n - 2) == 0) return at;
      }
    }
  }
#endif
  const void* hit = ::memmem(base + i, text.size() - i, needle.data(), n);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : npos;
}

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool SameFolded(const char* p, const std::string& lowerNeedle) {
  for (std::size_t k = 0; k < lowerNeedle.size(); ++k)
    if (Lower(p[k]) != lowerNeedle[k]) return false;
  return true;
}

// FindFrom with the ASCII letters of the text taken in either case; the needle is lower-cased.
std::size_t FindFromFolded(std::string_view text, std::size_t from, const std::string& needle) {
  const std::size_t n = needle.size();
  if (n == 0 || from >= text.size() || text.size() - from < n) return npos;
  const char* base = text.data();
  const std::size_t stop = text.size() - n + 1;  // the places a match can start
  std::size_t i = from;
#if defined(__SSE2__)
  const auto either = [](__m128i v, char c) {
    return _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(c)), _mm_cmpeq_epi8(v, _mm_set1_epi8(Upper(c))));
  };
  for (; i + 16 <= stop; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i + n - 1));
    unsigned both = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(either(a, needle.front()), either(b, needle.back()))));
    for (; both != 0; both &= both - 1) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(both));
      if (SameFolded(base + at, needle)) return at;
    }
  }
#endif
  for (; i < stop; ++i)
    if (SameFolded(base + i, needle)) return i;
  return npos;
}

std::size_t Find(std::string_view text, std::size_t from, const std::string& needle, bool foldCase) {
  return foldCase ? FindFromFolded(text, from, needle) : FindFrom(text, from, needle);
}

std::size_t CountIn(std::string_view text, const std::string& needle, bool foldCase) {
  std::size_t count = 0;
  for (std::size_t at = Find(text, 0, needle, foldCase); at != npos; at = Find(text, at + 1, needle, foldCase)) ++count;
  return count;
}

}  // namespace

std::vector<std::vector<std::string>> RequiredAlternatives(const TBregexpObj& pattern) {
  if (!pattern.Fuzzy()) {
    std::string literal = RequiredLiteral(pattern.Pattern());
    if (literal.empty()) return {};
    return {{std::move(literal)}};
  }
  // Each character of the plain text, or of the literal run a regular expression must match,
  // becomes the alternation of its fuzzy row; a character without a row stays itself.
  const std::string text = pattern.PlainText() ? pattern.Pattern() : RequiredLiteral(pattern.Pattern());
  const TCharGroups& groups = FuzzyGroups();
  std::vector<std::vector<std::string>> chars;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = sjis::CharLen(text, i);
    const std::string ch = text.substr(i, len);
    i += len;
    std::vector<std::string> members;
    if (const int row = groups.Find(ch); row >= 0) {
      for (const std::string& m : groups.Row(row))
        if (!m.empty()) members.push_back(m);
    }
    if (members.empty()) members.push_back(ch);
    chars.push_back(std::move(members));
  }
  return chars;
}

TAnyOfFinder::TAnyOfFinder(std::vector<std::string> needles, bool foldCase)
    : needles_(std::move(needles)), foldCase_(foldCase) {
  for (std::size_t k = 0; k < needles_.size();)
    if (needles_[k].empty()) needles_.erase(needles_.begin() + static_cast<std::ptrdiff_t>(k));
    else ++k;
  if (foldCase_)
    for (std::string& needle : needles_) std::transform(needle.begin(), needle.end(), needle.begin(), Lower);
  next_.assign(needles_.size(), 0);
}

void TAnyOfFinder::Reset(std::string_view text) {
  text_ = text;
  next_.assign(needles_.size(), 0);
  for (std::size_t k = 0; k < needles_.size(); ++k) next_[k] = vorn::Find(text_, 0, needles_[k], foldCase_);
}

std::size_t TAnyOfFinder::Find(std::size_t from) {
  std::size_t best = npos;
  for (std::size_t k = 0; k < needles_.size(); ++k) {
    if (next_[k] != npos && next_[k] < from) next_[k] = vorn::Find(text_, from, needles_[k], foldCase_);
    best = std::min(best, next_[k]);
  }
  return best;
}

std::size_t CountOccurrences(const std::vector<std::string>& alternatives, std::string_view text, bool foldCase) {
  std::size_t count = 0;
  for (std::string a : alternatives) {
    if (foldCase) std::transform(a.begin(), a.end(), a.begin(), Lower);
    count += CountIn(text, a, foldCase);
  }
  return count;
}

}  // namespace vorn
