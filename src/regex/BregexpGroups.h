// Character-group tables for case and fuzzy matching, and the expansion of a pattern with them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorn {

// A read-only table: rows of members (Shift_JIS strings of one or more characters; empty
// members only keep columns aligned). Built once, on first use.
class TCharGroups {
public:
  explicit TCharGroups(const std::vector<std::string_view>& rows);
  int Count() const { return static_cast<int>(rows_.size()); }
  const std::vector<std::string>& Row(int index) const { return rows_[index]; }
  // The first row holding a member equal to ch, letter case ignored; -1 when none does.
  int Find(std::string_view ch) const;

private:
  std::vector<std::vector<std::string>> rows_;
  std::unordered_map<std::string, int> index_;
};

const TCharGroups& CaseGroups();
const TCharGroups& FuzzyGroups();

// Splits one stored row: items separated by commas; an item in double quotes may hold commas
// and blanks, a doubled quote inside quotes is one quote.
std::vector<std::string> SplitGroupRow(std::string_view row);

// The fourteen metacharacters.
extern const char* const kRegexMetaChars;

// Puts a backslash before each one-byte character of text that is in set (double-byte
// characters are copied unchanged).
std::string EscapeChars(std::string_view text, std::string_view set);

// Replaces each character of pattern found in groups by the alternation of its row (a class's
// members are concatenated, ranges inside classes become ranges per column). plainText says the
// pattern was escaped as literal text.
std::string ExpandGroups(const std::string& pattern, const TCharGroups& groups, bool plainText);

}  // namespace vorn
