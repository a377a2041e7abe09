// Grep's candidate-line finder: the byte strings every match must contain, and a scan for them.
#include "search/GrepAnchors.h"

#include <cstring>

#include "base/sjis.h"
#include "regex/BregexpGroups.h"
#include "regex/BregexpUtil.h"
#include "search/GrepLineSearch.h"

namespace vorn {
namespace {

constexpr std::size_t npos = std::string_view::npos;

std::size_t FindFrom(std::string_view text, std::size_t from, const std::string& needle) {
  if (from >= text.size()) return npos;
  const void* hit = ::memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : npos;
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
