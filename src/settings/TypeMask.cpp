// Extension splitting and wildcard matching of Shift_JIS file names.
#include "settings/TypeMask.h"

#include "base/sjis.h"


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

bool SameChar(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1) return sjis::UpperAscii(a[0]) == sjis::UpperAscii(b[0]);
  return a == b;
}

// Greedy matching with one back-track point per "*", stepping whole Shift_JIS characters so
// that "?" consumes a double-byte character at once: linear in practice, never exponential,
// and without allocating (it runs for every mask of every type when a file is opened).
bool MatchSjis(std::string_view name, std::string_view mask) {
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    const std::size_t nLen = sjis::CharLen(name, n);
    const std::size_t mLen = m < mask.size() ? sjis::CharLen(mask, m) : 0;
    const std::string_view mc = mask.substr(m, mLen);
    if (mc == "*") {
      starMask = ++m;
      starName = n;
    } else if (mLen != 0 && (mc == "?" || SameChar(mc, name.substr(n, nLen)))) {
      m += mLen;
      n += nLen;
    } else if (starMask != std::string_view::npos) {
      m = starMask;
      starName += sjis::CharLen(name, starName);
      n = starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesTypeMask(std::string_view name, std::string_view mask) {
  return MatchSjis(name, mask);
}

namespace {

// Prefixes and suffixes are a few bytes: a plain loop beats a library call per mask.
bool SameBytes(const char* at, const std::string& literal) {
  for (std::size_t i = 0; i < literal.size(); ++i)
    if (at[i] != literal[i]) return false;
  return true;
}

}  // namespace

std::uint64_t PackHead(std::string_view text) {
  std::uint64_t v = 0;
  const std::size_t n = text.size() < 8 ? text.size() : 8;
  for (std::size_t i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
  return v;
}

TFileMaskEntry::TFileMaskEntry(std::string_view entry)
    : upper_(sjis::UpperAscii(entry)), extensionOnly_(ExtractFileExt(entry) == entry), packed_(PackHead(upper_)) {
  const std::size_t first = upper_.find_first_of("*?");
  if (first == std::string::npos) return;
  prefix_ = upper_.substr(0, first);
  // The suffix is taken only when it is plain ASCII, so it cannot start on a trail byte.
  std::size_t last = upper_.find_last_of("*?") + 1;
  bool ascii = true;
  for (std::size_t i = last; i < upper_.size(); ++i) ascii = ascii && static_cast<unsigned char>(upper_[i]) < 0x80;
  if (ascii) suffix_ = upper_.substr(last);
  std::size_t run = first + 1;
  while (run < last) {
    const std::size_t stop = upper_.find_first_of("*?", run);
    if (stop > run) segments_.push_back(upper_.substr(run, stop - run));
    run = stop + 1;
  }
}

bool TFileMaskEntry::Matches(const TFileNameKey& key) const {
  if (extensionOnly_) return packed_ == key.PackedExt && !key.UpperExt.empty() && key.UpperExt == upper_;
  const std::string_view name = key.UpperName;
  if (name.size() < prefix_.size() + suffix_.size()) return false;
  if (!SameBytes(name.data(), prefix_) || !SameBytes(name.data() + name.size() - suffix_.size(), suffix_)) return false;
  for (const std::string& s : segments_)
    if (name.find(s) == std::string_view::npos) return false;
  return MatchesTypeMask(name, upper_);
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
  PackedExt = PackHead(UpperExt);
  if (UpperExt.empty() && (UpperName.empty() || UpperName.back() != '.')) UpperName += '.';
}

}  // namespace vorn
