// Extension splitting and wildcard matching of Shift_JIS file names.
#include "settings/FileMask.h"

#include "base/sjis.h"

#include <vector>

namespace vorn {

std::string_view ExtractFileExt(std::string_view name) {
  // Scan by characters: a trail byte 0x5C inside a double-byte name is not a separator.
  std::size_t nameStart = 0;
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t n = sjis::CharLen(name, i);
    if (n == 1 && (name[i] == '/' || name[i] == '\\')) {
      nameStart = i + 1;
      dot = std::string_view::npos;
    } else if (n == 1 && name[i] == '.') {
      dot = i;
    }
    i += n;
  }
  if (dot == std::string_view::npos || dot < nameStart) return {};
  return name.substr(dot);
}

namespace {

// Splits a Shift_JIS text into its characters, so "?" can consume a double-byte one whole.
std::vector<std::string_view> Characters(std::string_view s) {
  std::vector<std::string_view> chars;
  chars.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = sjis::CharLen(s, i);
    chars.push_back(s.substr(i, n));
    i += n;
  }
  return chars;
}

bool SameChar(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1) return sjis::UpperAscii(a[0]) == sjis::UpperAscii(b[0]);
  return a == b;
}

// Greedy matching with one back-track point per "*": linear in practice, never exponential.
bool MatchChars(const std::vector<std::string_view>& name, const std::vector<std::string_view>& mask) {
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == "*") {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == "?" || SameChar(mask[m], name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == "*") ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  return MatchChars(Characters(name), Characters(mask));
}

TFileMaskEntry::TFileMaskEntry(std::string_view entry)
    : upper_(sjis::UpperAscii(entry)), extensionOnly_(ExtractFileExt(entry) == entry) {
  const std::size_t first = upper_.find_first_of("*?");
  if (first == std::string::npos) return;
  prefix_ = upper_.substr(0, first);
  // The suffix is taken only when it is plain ASCII, so it cannot start on a trail byte.
  std::size_t last = upper_.find_last_of("*?") + 1;
  bool ascii = true;
  for (std::size_t i = last; i < upper_.size(); ++i) ascii = ascii && static_cast<unsigned char>(upper_[i]) < 0x80;
  if (ascii) suffix_ = upper_.substr(last);
}

bool TFileMaskEntry::Matches(const TFileNameKey& key) const {
  if (extensionOnly_) return !key.UpperExt.empty() && key.UpperExt == upper_;
  const std::string_view name = key.UpperName;
  if (name.size() < prefix_.size() + suffix_.size()) return false;
  if (name.compare(0, prefix_.size(), prefix_) != 0) return false;
  if (name.compare(name.size() - suffix_.size(), suffix_.size(), suffix_) != 0) return false;
  return MatchesFileMask(name, upper_);
}

namespace {

std::string_view NamePart(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t n = sjis::CharLen(path, i);
    if (n == 1 && (path[i] == '/' || path[i] == '\\')) start = i + 1;
    i += n;
  }
  return path.substr(start);
}

}  // namespace

TFileNameKey::TFileNameKey(std::string_view sjisName) : UpperName(sjis::UpperAscii(NamePart(sjisName))) {
  UpperExt = std::string(ExtractFileExt(UpperName));
  if (UpperExt.empty() && (UpperName.empty() || UpperName.back() != '.')) UpperName += '.';
}

}  // namespace vorn
