// Writing and reading the ".hil" keyword file in its current (1.4) and older layouts.
#include "syntax/KeyWordFile.h"

#include <vector>

namespace vorn {

const char* const kInvalidFileFormatMessage = "ファイル書式の不正です";

namespace {

const char* const kCrLf = "\r\n";

std::string Flag(bool v) { return v ? "1" : "0"; }

void WriteBlock(std::string& out, const std::string& name, const TBregexpObj& p) {
  out += name + "=" + p.Pattern() + kCrLf;
  out += name + "RegExp=" + Flag(!p.PlainText()) + kCrLf;
  out += name + "Case=" + Flag(!p.IgnoreCase()) + kCrLf;
  out += name + "Word=" + Flag(p.WholeWord()) + kCrLf;
  out += name + "Fuzz=" + Flag(p.Fuzzy()) + kCrLf;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view line, std::string_view prefix) {
  if (line.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(line[i]) != Lower(prefix[i])) return false;
  return true;
}

// Reads an optionally signed decimal number at i; false when no digit is there. Saturates instead of overflowing.
bool ReadNumber(std::string_view s, std::size_t& i, int& value) {
  std::size_t j = i;
  bool negative = false;
  if (j < s.size() && (s[j] == '-' || s[j] == '+')) negative = s[j++] == '-';
  if (j >= s.size() || s[j] < '0' || s[j] > '9') return false;
  long long v = 0;
  for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j)
    if (v < 1000000000LL) v = v * 10 + (s[j] - '0');
  if (v > 1000000000LL) v = 1000000000LL;
  value = static_cast<int>(negative ? -v : v);
  i = j;
  return true;
}

int NumberOr(std::string_view s, int missing) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  int v = missing;
  return ReadNumber(s, i, v) ? v : missing;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    begin = end + 1;
  }
  return lines;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

void ReadKeyWordLine14(std::string_view line, TKeyWord& k) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  int v[6] = {0, 0, 0, 0, 0, 0};
  for (int& field : v) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    ReadNumber(line, i, field);
  }
  // The separator before the pattern may be followed by a comma that belongs to the pattern.
  while (i < line.size() && IsSeparator(line[i])) {
    if (line[i] == ',' && i + 1 < line.size() && line[i + 1] == ',') {
      ++i;
      break;
    }
    ++i;
  }
  k.SetColorIndex(v[0]);
  k.SetIgnoreCase(v[1] != 0);
  k.SetWholeWord(v[2] != 0);
  k.SetFuzzy(v[3] != 0);
  k.SetPlainText(v[4] == 0);
  k.SetHighlightGroup(v[5]);
  k.SetPattern(std::string(line.substr(i)));
}

void ReadKeyWordLineOld(std::string_view line, TKeyWord& k) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  int flags = 0;
  ReadNumber(line, i, flags);
  const std::size_t comma = line.find(',');
  int color = (flags & 0x200) ? 5 : (flags & 0x04) ? 23 : 17;
  color += (flags >> 6) & 7;
  if (flags & 0x02) color += 4;
  k.SetIgnoreCase((flags & 0x08) != 0);
  k.SetPlainText((flags & 0x10) == 0);
  k.SetWholeWord((flags & 0x20) != 0);
  k.SetColorIndex(color);
  k.SetPattern(comma == std::string_view::npos ? std::string() : std::string(line.substr(comma + 1)));
}

class TLineReader {
public:
  TLineReader(std::string_view text, const TKeyWordFileData& data) : lines_(SplitLines(text)), data_(data) {}
  void Run();

private:
  [[noreturn]] static void Invalid() { throw EKeyWordError(kInvalidFileFormatMessage); }
  // The next line, which must start with key; returns the text after the key.
  std::string_view Require(std::string_view key) {
    if (next_ >= lines_.size() || !StartsWithNoCase(lines_[next_], key)) Invalid();
    return lines_[next_++].substr(key.size());
  }
  bool Peek(std::string_view key) const { return next_ < lines_.size() && StartsWithNoCase(lines_[next_], key); }
  void ReadOptions(const std::string& name, TBregexpObj& p);
  void ReadBrackets(int count);
  bool ReadSetting(std::string_view line);

  std::vector<std::string_view> lines_;
  const TKeyWordFileData& data_;
  std::size_t next_ = 0;
  bool layout14_ = false;
};

void TLineReader::ReadOptions(const std::string& name, TBregexpObj& p) {
  p.SetPlainText(NumberOr(Require(name + "RegExp="), 1) == 0);
  p.SetIgnoreCase(NumberOr(Require(name + "Case="), 1) == 0);
  p.SetWholeWord(NumberOr(Require(name + "Word="), 0) != 0);
  p.SetFuzzy(NumberOr(Require(name + "Fuzz="), 0) != 0);
}

void TLineReader::ReadBrackets(int count) {
  data_.Brackets.Clear();
  for (int n = 0; n < count; ++n) {
    TBracket& b = data_.Brackets.Add();
    const std::string left(Require("BracketLeft="));
    if (Peek("BracketRight=")) {
      b.LeftBracket().SetPlainText(true);
      b.LeftBracket().SetPattern(left);
      b.RightBracket().SetPlainText(true);
      b.RightBracket().SetPattern(std::string(Require("BracketRight=")));
    } else {
      ReadOptions("BracketLeft", b.LeftBracket());
      b.LeftBracket().SetPattern(left);
      const std::string right(Require("BracketRight="));
      ReadOptions("BracketRight", b.RightBracket());
      b.RightBracket().SetPattern(right);
    }
    b.SetColorIndex(NumberOr(Require("BracketColorIndex="), 0));
    if (layout14_) {
      const bool lineOnly = NumberOr(Require("BracketColorOnly="), 0) != 0;
      b.SetRightBracketCount(NumberOr(Require("BracketRightCount="), 1));
      b.SetLineOnly(lineOnly);
      b.SetRightBracketEscapeChar(std::string(Require("BracketEscape")));
    }
  }
}

// Handles a setting line; false when the line is a keyword line.
bool TLineReader::ReadSetting(std::string_view line) {
  auto value = [&line](std::string_view key) { return line.substr(key.size()); };
  TBregexpObj& c = data_.Commenter;
  if (StartsWithNoCase(line, "VERSION=")) layout14_ = Trimmed(value("VERSION=")) == "1.4";
  else if (StartsWithNoCase(line, "Quotation=")) data_.Quotation = std::string(value("Quotation="));
  else if (StartsWithNoCase(line, "Canceler=")) data_.Canceler = std::string(value("Canceler="));
  else if (StartsWithNoCase(line, "Commenter=")) c.SetPattern(std::string(value("Commenter=")));
  else if (StartsWithNoCase(line, "CommenterFirstToken=")) {}
  else if (StartsWithNoCase(line, "CommenterRegExp=")) c.SetPlainText(NumberOr(value("CommenterRegExp="), 1) == 0);
  else if (StartsWithNoCase(line, "CommenterCase=")) c.SetIgnoreCase(NumberOr(value("CommenterCase="), 1) == 0);
  else if (StartsWithNoCase(line, "CommenterWord=")) c.SetWholeWord(NumberOr(value("CommenterWord="), 0) != 0);
  else if (StartsWithNoCase(line, "CommenterFuzz=")) c.SetFuzzy(NumberOr(value("CommenterFuzz="), 0) != 0);
  else if (StartsWithNoCase(line, "BracketCount=")) ReadBrackets(NumberOr(value("BracketCount="), 0));
  else return false;
  return true;
}

void TLineReader::Run() {
  data_.KeyWords.Clear();
  while (next_ < lines_.size()) {
    const std::string_view line = lines_[next_++];
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.substr(0, 2) == "//") continue;
    if (ReadSetting(line)) continue;
    TKeyWord& k = data_.KeyWords.Add();
    k.BeginUpdate();
    if (layout14_) ReadKeyWordLine14(line, k);
    else ReadKeyWordLineOld(line, k);
    k.EndUpdate();
  }
}

}  // namespace

std::string SaveKeyWordFile(const TKeyWordFileData& data) {
  std::string out = std::string("VERSION=1.4") + kCrLf;
  for (int i = 0; i < data.KeyWords.Count(); ++i) {
    const TKeyWord& k = data.KeyWords.Items(i);
    out += std::to_string(k.ColorIndex()) + "," + Flag(k.IgnoreCase()) + "," + Flag(k.WholeWord()) + "," +
           Flag(k.Fuzzy()) + "," + Flag(!k.PlainText()) + "," + std::to_string(k.HighlightGroup()) + "," +
           k.Pattern() + kCrLf;
  }
  out += "Quotation=" + data.Quotation + kCrLf;
  out += "Canceler=" + data.Canceler + kCrLf;
  WriteBlock(out, "Commenter", data.Commenter);
  out += "BracketCount=" + std::to_string(data.Brackets.Count()) + kCrLf;
  for (int i = 0; i < data.Brackets.Count(); ++i) {
    const TBracket& b = data.Brackets.Items(i);
    WriteBlock(out, "BracketLeft", b.LeftBracket());
    WriteBlock(out, "BracketRight", b.RightBracket());
    out += "BracketColorIndex=" + std::to_string(b.ColorIndex()) + kCrLf;
    out += "BracketColorOnly=" + Flag(b.LineOnly()) + kCrLf;
    out += "BracketRightCount=" + std::to_string(b.RightBracketCount()) + kCrLf;
    out += "BracketEscape" + b.RightBracketEscapeChar() + kCrLf;
  }
  return out;
}

void LoadKeyWordFile(std::string_view text, const TKeyWordFileData& data) {
  TLineReader reader(text, data);
  reader.Run();
}

}  // namespace vorn
