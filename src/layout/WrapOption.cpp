// Defaults, clamping and assignment of the word-wrap options.
#include "layout/WrapOption.h"

#include <algorithm>

namespace vorn {

namespace {
// Must not start a row: closing brackets, punctuation, small marks, prolonged sound mark.
const char kFollowStr[] =
    "\x81" "A\x81" "B\x81" "C\x81" "D\x81" "E\x81H\x81I\x81J\x81K\x81R\x81S\x81T\x81U\x81X\x81[\x81j"
    "\x81n\x81p\x81v\x81x!),.:;\x3F]}\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
// Must not end a row: opening brackets.
const char kLeadStr[] = "\x81i\x81m\x81o\x81u\x81w([{\xA2";
// May hang past the wrap width.
const char kPunctuationStr[] = "\x81" "A\x81" "B\x81" "C\x81" "D,.\xA1\xA4";
}  // namespace

const std::string& TVornEditWrapOption::DefaultFollowStr() {
  static const std::string s(kFollowStr, sizeof kFollowStr - 1);
  return s;
}
const std::string& TVornEditWrapOption::DefaultLeadStr() {
  static const std::string s(kLeadStr, sizeof kLeadStr - 1);
  return s;
}
const std::string& TVornEditWrapOption::DefaultPunctuationStr() {
  static const std::string s(kPunctuationStr, sizeof kPunctuationStr - 1);
  return s;
}

TVornEditWrapOption::TVornEditWrapOption() {
  values_.FollowStr = DefaultFollowStr();
  values_.LeadStr = DefaultLeadStr();
  values_.PunctuationStr = DefaultPunctuationStr();
}

TVornEditWrapOption::TVornEditWrapOption(const TVornEditWrapOption& o) : TVornEditWrapOption() {
  Assign(o);
}

void TVornEditWrapOption::SetWrapByte(int v) { SetProperty(values_.WrapByte, std::clamp(v, MinWrapByte, MaxWrapByte)); }

void TVornEditWrapOption::Assign(const TVornEditWrapOption& src) {
  if (&src == this || *this == src) return;
  values_ = src.values_;
  Changed();
}

}  // namespace vorn
