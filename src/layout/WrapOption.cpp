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

TVornEditWrapOption::TVornEditWrapOption()
    : followStr_(DefaultFollowStr()), leadStr_(DefaultLeadStr()),
      punctuationStr_(DefaultPunctuationStr()) {}

TVornEditWrapOption::TVornEditWrapOption(const TVornEditWrapOption& o) : TVornEditWrapOption() {
  Assign(o);
}

void TVornEditWrapOption::SetWrapByte(int v) { SetProperty(wrapByte_, std::clamp(v, MinWrapByte, MaxWrapByte)); }

bool TVornEditWrapOption::operator==(const TVornEditWrapOption& o) const {
  return followRetMark_ == o.followRetMark_ && followPunctuation_ == o.followPunctuation_ &&
         followStr_ == o.followStr_ && leading_ == o.leading_ && leadStr_ == o.leadStr_ &&
         punctuationStr_ == o.punctuationStr_ && wordBreak_ == o.wordBreak_ &&
         wrapByte_ == o.wrapByte_;
}

void TVornEditWrapOption::Assign(const TVornEditWrapOption& src) {
  if (&src == this || *this == src) return;
  followRetMark_ = src.followRetMark_;
  followPunctuation_ = src.followPunctuation_;
  followStr_ = src.followStr_;
  leading_ = src.leading_;
  leadStr_ = src.leadStr_;
  punctuationStr_ = src.punctuationStr_;
  wordBreak_ = src.wordBreak_;
  wrapByte_ = src.wrapByte_;
  Changed();
}

}  // namespace vorn
