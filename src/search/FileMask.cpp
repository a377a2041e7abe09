// File-name masks: case-insensitive wildcard matching with the "*.*" and "*." conventions.
#include "search/FileMask.h"

namespace vorn {
namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Iterative wildcard match: on a mismatch after a "*", that star takes one more byte. Linear
// in practice and never exponential, whatever the mask.
bool WildMatch(std::string_view name, std::string_view mask) {
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && Fold(mask[m]) == Fold(name[n])))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  if (WildMatch(name, mask)) return true;
  if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" && name.find('.') == std::string_view::npos)
    return WildMatch(name, mask.substr(0, mask.size() - 2));
  if (!mask.empty() && mask.back() == '.' && name.find('.') == std::string_view::npos)
    return WildMatch(name, mask.substr(0, mask.size() - 1));
  return false;
}

bool HasWildcards(std::string_view mask) { return mask.find_first_of("*?") != std::string_view::npos; }

std::vector<std::string> SplitMaskList(std::string_view list) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string_view::npos) end = list.size();
    if (end > start) out.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace vorn
