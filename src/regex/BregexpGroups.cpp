// Reading the character-group rows and expanding patterns with them for case and fuzzy matching.
#include "regex/BregexpGroups.h"

#include "base/sjis.h"

namespace vorn {

const char* const kRegexMetaChars = "$()*+.?[\\]^{|}";

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsMeta(char c) { return c != '\0' && std::string_view(kRegexMetaChars).find(c) != std::string_view::npos; }

// Length of the bracket-delimited text at t[i] when t[i] opens with `open` and `close` follows.
std::size_t DelimitedLength(const std::string& t, std::size_t i, char open, char close) {
  if (i >= t.size() || t[i] != open) return 0;
  std::size_t j = t.find(close, i + 1);
  return j == std::string::npos ? 0 : j - i + 1;
}

// Regular-expression syntax that must reach the library as typed: letters and digits inside it
// are not characters of the text, so expanding them would change what the pattern means.
// Returns the number of bytes at t[i] to copy unchanged (0 when none).
std::size_t SyntaxLength(const std::string& t, std::size_t i, bool inClass) {
  const std::size_t n = t.size();
  if (inClass) {
    // POSIX bracket such as [:alpha:]
    if (t.compare(i, 2, "[:") == 0) {
      std::size_t j = t.find(":]", i + 2);
      return j == std::string::npos ? 0 : j + 2 - i;
    }
    return 0;
  }
  if (t[i] == '(' && i + 1 < n && t[i + 1] == '?') {
    std::size_t j = i + 2;
    if (j < n && t[j] == '#') {  // comment group
      std::size_t k = t.find(')', j);
      return k == std::string::npos ? n - i : k + 1 - i;
    }
    if (j < n && (t[j] == ':' || t[j] == '=' || t[j] == '!' || t[j] == '>' || t[j] == '~')) return j + 1 - i;
    if (j + 1 < n && t[j] == '<' && (t[j + 1] == '=' || t[j + 1] == '!')) return j + 2 - i;
    if (j < n && (t[j] == '<' || t[j] == '\'')) {
      std::size_t len = DelimitedLength(t, j, t[j], t[j] == '<' ? '>' : '\'');
      return len ? j + len - i : j - i;
    }
    if (j + 1 < n && t[j] == 'P' && t[j + 1] == '<') {
      std::size_t len = DelimitedLength(t, j + 1, '<', '>');
      return len ? j + 1 + len - i : j - i;
    }
    // option letters: (?i) (?-x) (?im-sx:
    while (j < n && ((t[j] >= 'a' && t[j] <= 'z') || t[j] == '-')) ++j;
    if (j < n && (t[j] == ':' || t[j] == ')')) ++j;
    return j - i;
  }
  if (t[i] == '{') {  // quantifier {n}, {n,}, {n,m}, {,m}
    std::size_t j = i + 1;
    while (j < n && IsDigit(t[j])) ++j;
    bool digits = j > i + 1;
    if (j < n && t[j] == ',') {
      ++j;
      while (j < n && IsDigit(t[j])) digits = true, ++j;
    }
    return (digits && j < n && t[j] == '}') ? j + 1 - i : 0;
  }
  return 0;
}

// The argument of an escape that stands for something other than its letters (\x41, \p{L},
// \k<name>, \12); i is just after the escaped letter.
std::size_t EscapeArgumentLength(const std::string& t, std::size_t i, char letter) {
  const std::size_t n = t.size();
  if (i >= n) return 0;
  switch (letter) {
    case 'c':  // control character \cX
      return sjis::CharLen(t, i);
    case 'x': case 'o': case 'u': case 'p': case 'P': case 'k': case 'g': {
      if (t[i] == '{') return DelimitedLength(t, i, '{', '}');
      if (t[i] == '<') return DelimitedLength(t, i, '<', '>');
      if (t[i] == '\'') return DelimitedLength(t, i, '\'', '\'');
      std::size_t j = i;
      if (letter == 'x') {
        while (j < n && j < i + 2 && std::string_view("0123456789abcdefABCDEF").find(t[j]) != std::string_view::npos) ++j;
      } else if (letter == 'u') {
        while (j < n && j < i + 4 && std::string_view("0123456789abcdefABCDEF").find(t[j]) != std::string_view::npos) ++j;
      }
      return j - i;
    }
    default:
      if (IsDigit(letter)) {
        std::size_t j = i;
        while (j < n && IsDigit(t[j])) ++j;
        return j - i;
      }
      return 0;
  }
}

class TExpander {
public:
  TExpander(const std::string& t, const TCharGroups& g, bool plain) : t_(t), g_(g), plain_(plain) {}

  std::string Run() {
    std::size_t i = 0;
    const std::size_t n = t_.size();
    while (i < n) {
      std::size_t len = sjis::CharLen(t_, i);
      char c = t_[i];
      if (len == 1 && c == '\\') {
        i = Backslash(i + 1);
        continue;
      }
      if (len == 1 && !plain_) {
        if (std::size_t syntax = SyntaxLength(t_, i, inClass_)) {
          out_.append(t_, i, syntax);
          i += syntax;
          continue;
        }
        if (c == '[' && inClass_) {  // a nested class ([a-c[x]]) closes with its own bracket
          ++classDepth_;
          out_ += c;
          ++i;
          continue;
        }
        if (c == ']' && classDepth_ > 0) {
          --classDepth_;
          out_ += c;
          ++i;
          continue;
        }
        if (c == '[' && !inClass_) {
          inClass_ = true;
          out_ += c;
          ++i;
          // a leading ] or ^] belongs to the class
          if (i < n && t_[i] == '^') out_ += t_[i++];
          if (i < n && t_[i] == ']') out_ += t_[i++];
          continue;
        }
        if (c == ']' && inClass_) {
          inClass_ = false;
          out_ += c;
          ++i;
          continue;
        }
        if (IsMeta(c)) {
          out_ += c;
          ++i;
          continue;
        }
      }
      i = CharOrRange(i, len);
    }
    return out_;
  }

private:
  // i is just after a backslash.
  std::size_t Backslash(std::size_t i) {
    const std::size_t n = t_.size();
    if (i >= n) {
      out_ += '\\';
      return n;
    }
    std::size_t len = sjis::CharLen(t_, i);
    if (len == 2 || !plain_) {
      out_ += '\\';
      out_.append(t_, i, len);
      i += len;
      if (len == 1) {
        std::size_t arg = EscapeArgumentLength(t_, i, t_[i - 1]);
        out_.append(t_, i, arg);
        i += arg;
      }
      return i;
    }
    Single(t_.substr(i, 1));
    return i + 1;
  }

  std::size_t CharOrRange(std::size_t i, std::size_t len) {
    const std::size_t n = t_.size();
    std::size_t dash = i + len;
    if (inClass_ && dash + 1 < n && t_[dash] == '-' && t_[dash + 1] == '\\') {
      // a range up to an escape ([a-\x7F]) has no row to pair with: it stays as typed
      out_.append(t_, i, len + 1);
      return dash + 1;
    }
    if (inClass_ && dash + 1 < n && t_[dash] == '-' && t_[dash + 1] != ']') {
      std::size_t toLen = sjis::CharLen(t_, dash + 1);
      Range(t_.substr(i, len), t_.substr(dash + 1, toLen));
      return dash + 1 + toLen;
    }
    Single(t_.substr(i, len));
    return i + len;
  }

  void Single(const std::string& ch) {
    int row = g_.Find(ch);
    if (row < 0) {
      out_ += Escape(ch);
      return;
    }
    bool first = true;
    if (!inClass_) out_ += "(?:";
    for (const std::string& member : g_.Row(row)) {
      if (member.empty()) continue;
      if (!inClass_ && !first) out_ += '|';
      out_ += Escape(member);
      first = false;
    }
    if (!inClass_) out_ += ')';
  }

  void Range(const std::string& from, const std::string& to) {
    int fromRow = g_.Find(from);
    int toRow = g_.Find(to);
    if (fromRow < 0 || toRow < 0) {
      out_ += from + "-" + to;
      return;
    }
    const auto& a = g_.Row(fromRow);
    const auto& b = g_.Row(toRow);
    // Columns pair up; a pair that would not be a range of single characters in ascending
    // order (rows of different kinds, members of two characters) would make the whole pattern
    // invalid, so it is left out. When nothing is left the range stays as typed.
    bool any = false;
    for (std::size_t k = 0; k < a.size() && k < b.size(); ++k) {
      unsigned low = 0, high = 0;
      if (!CharCode(a[k], low) || !CharCode(b[k], high) || low > high) continue;
      out_ += Escape(a[k]) + "-" + Escape(b[k]);
      any = true;
    }
    if (!any) out_ += from + "-" + to;
  }

  // The code of a member that is exactly one character (lead << 8 | trail for two bytes).
  static bool CharCode(const std::string& member, unsigned& code) {
    if (member.size() == 1 && !sjis::IsLeadByte(member[0])) {
      code = static_cast<unsigned char>(member[0]);
      return true;
    }
    if (member.size() == 2 && sjis::IsLeadByte(member[0])) {
      code = static_cast<unsigned char>(member[0]) << 8 | static_cast<unsigned char>(member[1]);
      return true;
    }
    return false;
  }

  // Members are always inserted as literal text: a member such as "(" typed as its full-width
  // twin must not reach the library as an operator. Inside a class "-" would form a range.
  std::string Escape(const std::string& member) const {
    return EscapeChars(member, inClass_ ? std::string(kRegexMetaChars) + "-" : std::string(kRegexMetaChars));
  }

  const std::string& t_;
  const TCharGroups& g_;
  const bool plain_;
  bool inClass_ = false;
  int classDepth_ = 0;
  std::string out_;
};

}  // namespace

TCharGroups::TCharGroups(const std::vector<std::string_view>& rows) {
  for (std::string_view text : rows) {
    rows_.push_back(SplitGroupRow(text));
    int row = static_cast<int>(rows_.size()) - 1;
    for (const std::string& member : rows_.back())
      if (!member.empty()) index_.emplace(sjis::UpperAscii(member), row);  // first row wins
  }
}

int TCharGroups::Find(std::string_view ch) const {
  auto it = index_.find(sjis::UpperAscii(ch));
  return it == index_.end() ? -1 : it->second;
}

std::vector<std::string> SplitGroupRow(std::string_view row) {
  std::vector<std::string> items;
  std::size_t i = 0;
  const std::size_t n = row.size();
  while (true) {
    std::string item;
    if (i < n && row[i] == '"') {
      ++i;
      while (i < n) {
        if (row[i] == '"') {
          if (i + 1 < n && row[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        std::size_t len = sjis::CharLen(row, i);
        item.append(row.substr(i, len));
        i += len;
      }
    }
    while (i < n && row[i] != ',') {
      std::size_t len = sjis::CharLen(row, i);
      item.append(row.substr(i, len));
      i += len;
    }
    items.push_back(std::move(item));
    if (i >= n) break;
    ++i;  // the comma
  }
  return items;
}

std::string EscapeChars(std::string_view text, std::string_view set) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = sjis::CharLen(text, i);
    if (len == 1 && set.find(text[i]) != std::string_view::npos) out += '\\';
    out.append(text.substr(i, len));
    i += len;
  }
  return out;
}

std::string ExpandGroups(const std::string& pattern, const TCharGroups& groups, bool plainText) {
  return TExpander(pattern, groups, plainText).Run();
}

}  // namespace vorn
