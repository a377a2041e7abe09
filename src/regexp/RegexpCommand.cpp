// libVornRegexp.so: reading command texts, Perl-style replacement text and character translation.
#include <algorithm>

#include "base/sjis.h"
#include "regexp/RegexpEngine.h"

namespace vorn::regexp {
namespace {

using sjis::IsLeadByte;

std::size_t CharLenAt(const std::string& s, std::size_t i, bool sjis) {
  return (sjis && IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a backslash escape at s[i] (the byte after the backslash); returns the bytes it stands
// for and advances i past it. Shared by replacement text and translation lists.
std::string ReadEscape(const std::string& s, std::size_t& i, bool sjis) {
  char c = s[i];
  std::size_t len = CharLenAt(s, i, sjis);
  if (len == 2) {
    i += 2;
    return s.substr(i - 2, 2);
  }
  ++i;
  switch (c) {
    case 'n': return "\n";
    case 'r': return "\r";
    case 't': return "\t";
    case 'f': return "\f";
    case 'a': return "\a";
    case 'e': return "\x1B";
    case 'x': {
      int value = 0, digits = 0;
      while (digits < 2 && i < s.size() && HexValue(s[i]) >= 0) {
        value = value * 16 + HexValue(s[i]);
        ++i;
        ++digits;
      }
      return digits ? std::string(1, static_cast<char>(value)) : std::string("x");
    }
    default: return std::string(1, c);
  }
}

void AddLiteral(std::vector<TReplacePart>& parts, const std::string& text) {
  if (text.empty()) return;
  if (parts.empty() || parts.back().group >= 0) parts.push_back(TReplacePart{});
  parts.back().literal += text;
}

// Reads $& $n ${n} at s[i] == '$'; false when the dollar is a plain character.
bool ReadDollarGroup(const std::string& s, std::size_t& i, int& group) {
  if (i + 1 >= s.size()) return false;
  char c = s[i + 1];
  if (c == '&') {
    group = 0;
    i += 2;
    return true;
  }
  std::size_t j = i + 1;
  bool braced = c == '{';
  if (braced) ++j;
  std::size_t digitsStart = j;
  long value = 0;
  while (j < s.size() && IsDigit(s[j])) {
    value = std::min<long>(value * 10 + (s[j] - '0'), 1000000);
    ++j;
  }
  if (j == digitsStart) return false;
  if (braced) {
    if (j >= s.size() || s[j] != '}') return false;
    ++j;
  }
  group = static_cast<int>(value);
  i = j;
  return true;
}

// A character of a translation list as a code: one byte, or lead << 8 | trail.
unsigned CodeAt(const std::string& s, std::size_t& i, bool sjis) {
  std::size_t len = CharLenAt(s, i, sjis);
  unsigned code = static_cast<unsigned char>(s[i]);
  if (len == 2) code = code << 8 | static_cast<unsigned char>(s[i + 1]);
  i += len;
  return code;
}

unsigned EscapedCodeAt(const std::string& s, std::size_t& i, bool sjis) {
  if (s[i] == '\\' && i + 1 < s.size()) {
    ++i;
    std::string bytes = ReadEscape(s, i, sjis);
    std::size_t k = 0;
    return CodeAt(bytes, k, sjis);
  }
  return CodeAt(s, i, sjis);
}

// Expands a list such as "a-zあ-ん\-" into character codes; a range runs over code values.
bool ExpandList(const std::string& s, bool sjis, std::vector<unsigned>& out) {
  constexpr std::size_t kMaxList = 65536;
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned from = EscapedCodeAt(s, i, sjis);
    if (i + 1 < s.size() && s[i] == '-') {
      ++i;
      unsigned to = EscapedCodeAt(s, i, sjis);
      if (to < from) return false;
      for (unsigned c = from; c <= to && out.size() <= kMaxList; ++c) out.push_back(c);
    } else {
      out.push_back(from);
    }
    if (out.size() > kMaxList) return false;
  }
  return true;
}

void AppendCode(std::string& out, unsigned code) {
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

}  // namespace

bool ParseCommand(const char* command, TCommand& out, char* message) {
  std::string cmd(command);
  if (cmd.size() < 2 || (cmd[0] != 'm' && cmd[0] != 's' && cmd[0] != 't')) {
    SetMessage(message, "invalid command");
    return false;
  }
  out.kind = cmd[0];
  const char delimiter = cmd[1];
  std::size_t last = cmd.rfind(delimiter);
  if (last == 1) {
    SetMessage(message, "missing delimiter in command");
    return false;
  }
  if (out.kind == 'm') {
    out.pattern = cmd.substr(2, last - 2);
  } else {
    std::size_t second = cmd.find(delimiter, 2);
    if (second == last) {
      SetMessage(message, "missing delimiter in command");
      return false;
    }
    out.pattern = cmd.substr(2, second - 2);
    out.replacement = cmd.substr(second + 1, last - second - 1);
  }
  for (std::size_t i = last + 1; i < cmd.size(); ++i) {
    switch (cmd[i]) {
      case 'g': out.global = true; break;
      case 'm': out.multiline = true; break;
      case 'k': out.sjis = true; break;
      default: break;  // unknown option letters are ignored
    }
  }
  return true;
}

std::vector<TReplacePart> ParseReplacement(const std::string& text, bool sjis) {
  std::vector<TReplacePart> parts;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t len = CharLenAt(text, i, sjis);
    char c = text[i];
    int group = -1;
    if (len == 2) {
      AddLiteral(parts, text.substr(i, 2));
      i += 2;
    } else if (c == '$' && ReadDollarGroup(text, i, group)) {
      parts.push_back(TReplacePart{group, {}});
    } else if (c == '\\' && i + 1 < text.size()) {
      ++i;
      if (text[i] >= '1' && text[i] <= '9') {
        parts.push_back(TReplacePart{text[i] - '0', {}});
        ++i;
      } else {
        AddLiteral(parts, ReadEscape(text, i, sjis));
      }
    } else {
      AddLiteral(parts, std::string(1, c));
      ++i;
    }
  }
  return parts;
}

void AppendReplacement(std::string& out, const std::vector<TReplacePart>& parts, const OnigRegion* region,
                       const char* targetBegin) {
  for (const TReplacePart& part : parts) {
    if (part.group < 0) {
      out += part.literal;
    } else if (part.group < region->num_regs && region->beg[part.group] != ONIG_REGION_NOTPOS) {
      out.append(targetBegin + region->beg[part.group], targetBegin + region->end[part.group]);
    }
  }
}

bool PrepareTranslation(TRecordImpl& record, char* message) {
  const bool sjis = record.parsed.sjis;
  std::vector<unsigned> from, to;
  if (!ExpandList(record.parsed.pattern, sjis, from) || !ExpandList(record.parsed.replacement, sjis, to)) {
    SetMessage(message, "invalid range in translation list");
    return false;
  }
  if (to.empty()) to = from;
  while (to.size() < from.size()) to.push_back(to.back());
  // The first mention of a character decides its translation.
  std::vector<std::pair<unsigned, unsigned>> pairs;
  for (std::size_t k = 0; k < from.size(); ++k) pairs.emplace_back(from[k], to[k]);
  std::stable_sort(pairs.begin(), pairs.end(), [](auto& a, auto& b) { return a.first < b.first; });
  pairs.erase(std::unique(pairs.begin(), pairs.end(), [](auto& a, auto& b) { return a.first == b.first; }),
              pairs.end());
  for (auto& [f, t] : pairs) {
    record.transFrom.push_back(f);
    record.transTo.push_back(t);
  }
  return true;
}

int Translate(TRecordImpl& record, const char* begin, const char* end) {
  const bool sjis = record.parsed.sjis;
  std::string& out = record.output;
  out.clear();
  out.reserve(static_cast<std::size_t>(end - begin));
  int count = 0;
  for (const char* p = begin; p < end;) {
    bool two = sjis && IsLeadByte(*p) && p + 1 < end;
    unsigned code = static_cast<unsigned char>(*p);
    if (two) code = code << 8 | static_cast<unsigned char>(p[1]);
    auto it = std::lower_bound(record.transFrom.begin(), record.transFrom.end(), code);
    if (it != record.transFrom.end() && *it == code) {
      AppendCode(out, record.transTo[it - record.transFrom.begin()]);
      ++count;
    } else {
      out.append(p, two ? 2 : 1);
    }
    p += two ? 2 : 1;
  }
  return count;
}

}  // namespace vorn::regexp
