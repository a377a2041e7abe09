// TVornMemInifile: the one ini-file class; loads a whole Shift_JIS ini file, edits it in memory
// and writes it back only on UpdateFile. TCustomIniFile is the interface with the typed helpers.
#include "settings/VornMemInifile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "base/sjis.h"
#include "platform/AtomicFile.h"
#include "platform/SharedFileRead.h"
#include "platform/VornUtil.h"

namespace vorn {

// ---------------------------------------------------------------------------------------------
// Typed helpers.

namespace {

bool ParseInt(std::string_view s, int& out) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int base = 10;
  if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  } else if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  }
  if (i >= s.size()) return false;
  std::uint64_t value = 0;
  auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), value, base);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  if (base == 16) {
    // Hexadecimal takes all 32 bits, so "0xFFFFFFFF" is -1.
    if (value > 0xFFFFFFFFull) return false;
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    out = static_cast<int>(bits);
    return true;
  }
  if (value > (negative ? 2147483648ull : 2147483647ull)) return false;
  out = negative ? static_cast<int>(-static_cast<std::int64_t>(value)) : static_cast<int>(value);
  return true;
}

// Civil date <-> day number, proleptic Gregorian (days since 1970-01-01).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

constexpr std::int64_t kUnixEpochAsDateTime = 25569;  // 1970-01-01 counted from 1899-12-30

std::string FormatDate(TDateTime value) {
  int y;
  unsigned m, d;
  CivilFromDays(static_cast<std::int64_t>(std::floor(value)) - kUnixEpochAsDateTime, y, m, d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%02u/%02u", y, m, d);
  return buf;
}

std::string FormatTime(TDateTime value) {
  auto secs = static_cast<long>(std::llround((value - std::floor(value)) * 86400.0)) % 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", secs / 3600, secs / 60 % 60, secs % 60);
  return buf;
}

bool ParseDate(std::string_view s, TDateTime& out) {
  int y = 0, m = 0, d = 0, n = 0;
  std::string text(s);
  if (std::sscanf(text.c_str(), "%d/%d/%d%n", &y, &m, &d, &n) != 3 || m < 1 || m > 12 || d < 1 || d > 31)
    return false;
  if (static_cast<std::size_t>(n) != text.size()) return false;
  out = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) +
                            kUnixEpochAsDateTime);
  return true;
}

bool ParseTime(std::string_view s, TDateTime& out) {
  int h = 0, mi = 0, sec = 0, n = 0;
  std::string text(s);
  if (std::sscanf(text.c_str(), "%d:%d:%d%n", &h, &mi, &sec, &n) != 3 || h < 0 || h > 23 || mi < 0 || mi > 59 ||
      sec < 0 || sec > 59 || static_cast<std::size_t>(n) != text.size())
    return false;
  out = (h * 3600 + mi * 60 + sec) / 86400.0;
  return true;
}

}  // namespace

int TCustomIniFile::ReadInteger(std::string_view section, std::string_view name, int def) const {
  int value = 0;
  return ParseInt(ReadString(section, name, ""), value) ? value : def;
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view name, int value) {
  WriteString(section, name, std::to_string(value));
}

bool TCustomIniFile::ReadBool(std::string_view section, std::string_view name, bool def) const {
  return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view name, bool value) {
  WriteString(section, name, value ? "1" : "0");
}

bool TCustomIniFile::ReadBinaryStream(std::string_view section, std::string_view name, std::string& bytes) const {
  std::string text = ReadString(section, name, "");
  if (text.empty() || text.size() % 2 != 0) return false;
  std::string out(text.size() / 2, '\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, value, 16);
    if (ec != std::errc() || end != text.data() + 2 * i + 2) return false;
    out[i] = static_cast<char>(value);
  }
  bytes = std::move(out);
  return true;
}

void TCustomIniFile::WriteBinaryStream(std::string_view section, std::string_view name, std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    text += kHex[c >> 4];
    text += kHex[c & 15];
  }
  WriteString(section, name, text);
}

TDateTime TCustomIniFile::ReadDate(std::string_view section, std::string_view name, TDateTime def) const {
  TDateTime value = 0;
  return ParseDate(ReadString(section, name, ""), value) ? value : def;
}

TDateTime TCustomIniFile::ReadDateTime(std::string_view section, std::string_view name, TDateTime def) const {
  std::string text = ReadString(section, name, "");
  std::size_t blank = text.find(' ');
  TDateTime date = 0, time = 0;
  if (blank == std::string::npos) return ParseDate(text, date) ? date : def;
  if (!ParseDate(std::string_view(text).substr(0, blank), date) ||
      !ParseTime(std::string_view(text).substr(blank + 1), time))
    return def;
  return date + time;
}

double TCustomIniFile::ReadFloat(std::string_view section, std::string_view name, double def) const {
  std::string text = ReadString(section, name, "");
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return (!text.empty() && ec == std::errc() && end == text.data() + text.size()) ? value : def;
}

TDateTime TCustomIniFile::ReadTime(std::string_view section, std::string_view name, TDateTime def) const {
  TDateTime value = 0;
  return ParseTime(ReadString(section, name, ""), value) ? value : def;
}

void TCustomIniFile::WriteDate(std::string_view section, std::string_view name, TDateTime value) {
  WriteString(section, name, FormatDate(value));
}

void TCustomIniFile::WriteDateTime(std::string_view section, std::string_view name, TDateTime value) {
  WriteString(section, name, FormatDate(value) + " " + FormatTime(value));
}

void TCustomIniFile::WriteFloat(std::string_view section, std::string_view name, double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  WriteString(section, name, ec == std::errc() ? std::string(buf, end) : std::string("0"));
}

void TCustomIniFile::WriteTime(std::string_view section, std::string_view name, TDateTime value) {
  WriteString(section, name, FormatTime(value));
}

bool TCustomIniFile::SectionExists(std::string_view section) const {
  TNameList names;
  ReadSection(section, names);
  return !names.empty();
}

bool TCustomIniFile::ValueExists(std::string_view section, std::string_view name) const {
  TNameList names;
  ReadSection(section, names);
  for (const auto& n : names)
    if (sjis::SameTextI(n, name)) return true;
  return false;
}

namespace {

void FillStrings(const TCustomIniFile::TNameList& from, TStrings& to) {
  to.BeginUpdate();
  to.Clear();
  for (const auto& s : from) to.Add(s);
  to.EndUpdate();
}

}  // namespace

void TCustomIniFile::ReadSection(std::string_view section, TStrings& strings) const {
  TNameList names;
  ReadSection(section, names);
  FillStrings(names, strings);
}

void TCustomIniFile::ReadSections(TStrings& strings) const {
  TNameList names;
  ReadSections(names);
  FillStrings(names, strings);
}

void TCustomIniFile::ReadSectionValues(std::string_view section, TStrings& strings) const {
  TNameList lines;
  ReadSectionValues(section, lines);
  FillStrings(lines, strings);
}

// ---------------------------------------------------------------------------------------------
// Loading.

namespace {

std::string ExpandedName(const std::string& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// The name of a line is the text before its first "="; a line without "=" has none.
bool LineHasName(std::string_view line, std::string_view name) {
  std::size_t eq = line.find('=');
  return eq != std::string_view::npos && sjis::SameTextI(line.substr(0, eq), name);
}

}  // namespace

TVornMemInifile::TVornMemInifile(std::string fileName, TIniLoadRetry retry) : TCustomIniFile(std::move(fileName)) {
  Load(retry);
}

void TVornMemInifile::Load(const TIniLoadRetry& retry) {
  sections_.clear();
  if (!IsRegularFile(FileName())) return;
  std::string bytes;
  const int err = ReadFileDenyingWritersWithRetry(FileName(), bytes, {retry.attempts, retry.delay});
  if (err != 0) {
    throw EFileOpenError(ExpandedName(FileName()), std::strerror(err));
  }
  SetText(bytes);
}

void TVornMemInifile::SetText(std::string_view bytes) {
  sections_.clear();
  TSection* current = nullptr;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    // CR LF, a lone CR and a lone LF each end a line.
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    pos = end;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n' && (pos == end || bytes[pos - 1] == '\r')) ++pos;
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back(TSection{std::string(line.substr(1, line.size() - 2)), {}});
      current = &sections_.back();
    } else if (current) {
      current->lines.emplace_back(line);
    }
  }
}

std::string TVornMemInifile::GetText() const {
  std::string out;
  for (const auto& s : sections_) {
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const auto& line : s.lines) {
      out += line;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

void TVornMemInifile::UpdateFile() { WriteFileAtomicallyOrThrow(FileName(), GetText()); }

// ---------------------------------------------------------------------------------------------
// Sections and keys. Duplicate sections stay as read; every operation uses the first.

const TVornMemInifile::TSection* TVornMemInifile::FindSection(std::string_view section) const {
  for (const auto& s : sections_)
    if (sjis::SameTextI(s.name, section)) return &s;
  return nullptr;
}

TVornMemInifile::TSection* TVornMemInifile::FindSection(std::string_view section) {
  return const_cast<TSection*>(static_cast<const TVornMemInifile*>(this)->FindSection(section));
}

std::string TVornMemInifile::ReadString(std::string_view section, std::string_view name,
                                        std::string_view def) const {
  if (const TSection* s = FindSection(section))
    for (const auto& line : s->lines)
      if (LineHasName(line, name)) return line.substr(line.find('=') + 1);
  return std::string(def);
}

namespace {

// A line break inside a stored text would turn its tail into a line, or a section header, of
// its own when the file is read again; the text ends at the first break instead.
std::string_view FirstLineOf(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

}  // namespace

void TVornMemInifile::WriteString(std::string_view section, std::string_view name, std::string_view value) {
  section = FirstLineOf(section);
  name = FirstLineOf(name);
  value = FirstLineOf(value);
  TSection* s = FindSection(section);
  if (!s) {
    sections_.push_back(TSection{std::string(section), {}});
    s = &sections_.back();
  }
  std::string line = std::string(name) + "=" + std::string(value);
  for (auto& existing : s->lines)
    if (LineHasName(existing, name)) {
      existing = std::move(line);
      return;
    }
  s->lines.push_back(std::move(line));
}

void TVornMemInifile::ReadSection(std::string_view section, TNameList& strings) const {
  strings.clear();
  if (const TSection* s = FindSection(section))
    for (const auto& line : s->lines)
      if (std::size_t eq = line.find('='); eq != std::string::npos) strings.push_back(line.substr(0, eq));
}

void TVornMemInifile::ReadSections(TNameList& strings) const {
  strings.clear();
  for (const auto& s : sections_) strings.push_back(s.name);
}

void TVornMemInifile::ReadSectionValues(std::string_view section, TNameList& strings) const {
  strings.clear();
  if (const TSection* s = FindSection(section)) strings = s->lines;
}

void TVornMemInifile::EraseSection(std::string_view section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it)
    if (sjis::SameTextI(it->name, section)) {
      sections_.erase(it);
      return;
    }
}

void TVornMemInifile::DeleteKey(std::string_view section, std::string_view name) {
  if (TSection* s = FindSection(section))
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it)
      if (LineHasName(*it, name)) {
        s->lines.erase(it);
        return;
      }
}

}  // namespace vorn
