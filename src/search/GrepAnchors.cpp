// Grep's candidate-line finder: the byte strings every match must contain, and a scan for them.
#include "search/GrepAnchors.h"

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

std::size_t CountIn(std::string_view text, const std::string& needle) {
  std::size_t count = 0;
  for (std::size_t at = FindFrom(text, 0, needle); at != npos; at = FindFrom(text, at + 1, needle)) ++count;
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

TAnyOfFinder::TAnyOfFinder(std::vector<std::string> needles) : needles_(std::move(needles)) {
  for (std::size_t k = 0; k < needles_.size();)
    if (needles_[k].empty()) needles_.erase(needles_.begin() + static_cast<std::ptrdiff_t>(k));
    else ++k;
  next_.assign(needles_.size(), 0);
}

void TAnyOfFinder::Reset(std::string_view text) {
  text_ = text;
  next_.assign(needles_.size(), 0);
  for (std::size_t k = 0; k < needles_.size(); ++k) next_[k] = FindFrom(text_, 0, needles_[k]);
}

std::size_t TAnyOfFinder::Find(std::size_t from) {
  std::size_t best = npos;
  for (std::size_t k = 0; k < needles_.size(); ++k) {
    if (next_[k] != npos && next_[k] < from) next_[k] = FindFrom(text_, from, needles_[k]);
    best = std::min(best, next_[k]);
  }
  return best;
}

std::size_t CountOccurrences(const std::vector<std::string>& alternatives, std::string_view text) {
  std::size_t count = 0;
  for (const std::string& a : alternatives) count += CountIn(text, a);
  return count;
}

}  // namespace vorn
