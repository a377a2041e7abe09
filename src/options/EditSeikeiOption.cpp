// Defaults and assignment of the paragraph-formatting options.
#include "options/EditSeikeiOption.h"

#include <iterator>

namespace vorn {

// --- TVornEditSeikeiOption --------------------------------------------------------------

namespace {

// No space is inserted before these (closing punctuation, units, Greek, the full-width space).
const char kLeftUninsert[] =
    ":;\x22'})]>\x81" "A\x81" "B\x81" "C\x81" "D\x81" "F\x81G\x81H\x81I\x81L\x81`\x81" "c\x81"
    "d\x81" "f\x81h\x81j\x81l\x81n\x81p\x81r\x81t\x81v\x81x\x81z\x81{\x81|\x81}\x81~\x81\x80\x81"
    "\x81\x81\x82\x81\x83\x81\x84\x81\x85\x81\x86\x81\x8E\x83\xBF\x83\xC0\x83\xC1\x83\xC2\x83\xC3"
    "\x83\xC4\x83\xC5\x83\xC6\x83\xC7\x83\xC8\x83\xC9\x83\xCA\x83\xCB\x83\xCC\x83\xCD\x83\xCE\x83"
    "\xCF\x83\xD0\x83\xD1\x83\xD2\x83\xD3\x83\xD4\x83\xD5\x83\xD6\x94N\x8C\x8E\x93\xFA\x8E\x9E\x95"
    "\xAA\x95" "b\x93x\x8C\xC2\x96{\x8D\xFB\x95" "C\x93\xAA\x89H\x94t\x91\xE4\x8F\xF4\x96\x87\x81@";

// No space is inserted after these (opening punctuation, signs, symbols, the full-width space).
const char kRightUninsert[] =
    ";:\x22'{([<\x81" "A\x81" "B\x81" "C\x81" "D\x81" "F\x81G\x81M\x81" "e\x81g\x81i\x81k\x81m\x81o"
    "\x81q\x81s\x81u\x81w\x81y\x81{\x81|\x81}\x81~\x81\x80\x81\x81\x81\x82\x81\x83\x81\x84\x81\x85"
    "\x81\x86\x81\x88\x81\x8F\x81\x90\x81\x91\x81\x92\x81\x94\x81\x96\x81\x97\x81\x98\x81\x99\x81"
    "\x9A\x81\x9B\x81\x9C\x81\x9D\x81\x9E\x81\x9F\x81\xA0\x81\xA1\x81\xA2\x81\xA3\x81\xA4\x81\xA5"
    "\x81\xA6\x81\xA7\x83\xBF\x83\xC0\x83\xC1\x83\xC2\x83\xC3\x83\xC4\x83\xC5\x83\xC6\x83\xC7\x83"
    "\xC8\x83\xC9\x83\xCA\x83\xCB\x83\xCC\x83\xCD\x83\xCE\x83\xCF\x83\xD0\x83\xD1\x83\xD2\x83\xD3"
    "\x83\xD4\x83\xD5\x83\xD6\x81@";

// Bullets and parenthesised numbers or letters that open an itemised paragraph.
const char* const kItemizePatterns[] = {
    "^[\x81" "E\x81\x9B\x81\x9C\x81\x9D\x81\xA1\x81\xA0\x81\xA2\x81\xA3\x81\xA4\x81\xA5\x81\xA6]"
    "[ \x5Ct]*",
    "^[\x81i\x5C(][0-9\x82O-\x82X]+[\x5C)\x81j][ \x5Ct]*",
    "^[\x81i\x5C(][a-zA-Z\x82\x81-\x82\x9A\x82`-\x82y]+[\x5C)\x81j][ \x5Ct]*",
};

// Quotation prefixes, deepest nesting first so that the longest prefix is found first.
#define VORN_QUOTE "[>|\x81" "b\x81r\x81t\x81\x84#\x81\x94]+"
const char* const kCommentPatterns[] = {
    "^" VORN_QUOTE "[ \x5Ct]+" VORN_QUOTE "[ \x5Ct]+" VORN_QUOTE "[ \x5Ct]+" VORN_QUOTE "[ \x5Ct]*",
    "^" VORN_QUOTE "[ \x5Ct]+" VORN_QUOTE "[ \x5Ct]+" VORN_QUOTE "[ \x5Ct]*",
    "^" VORN_QUOTE "[ \x5Ct]+" VORN_QUOTE "[ \x5Ct]*",
    "^" VORN_QUOTE "[ \x5Ct]*",
    "^//[ \x5Ct]*",
};
#undef VORN_QUOTE

}  // namespace

const std::string& TVornEditSeikeiOption::DefaultLeftUninsertSpaceStr() {
  static const std::string s(kLeftUninsert, sizeof kLeftUninsert - 1);
  return s;
}

const std::string& TVornEditSeikeiOption::DefaultRightUninsertSpaceStr() {
  static const std::string s(kRightUninsert, sizeof kRightUninsert - 1);
  return s;
}

namespace {
void AddPatterns(TVornEditKeywords& list, const char* const* patterns, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    TVornEditKeyword& k = list.AddItem();
    k.SetPattern(patterns[i]);
    k.SetPlainText(false);
    k.SetFuzzy(false);
  }
}
}  // namespace

TVornEditSeikeiOption::TVornEditSeikeiOption(TBregexp* engine)
    : commentList_(engine), itemizeList_(engine) {
  values_.RightUninsertSpaceStr = DefaultRightUninsertSpaceStr();
  values_.LeftUninsertSpaceStr = DefaultLeftUninsertSpaceStr();
  AddPatterns(commentList_, kCommentPatterns, std::size(kCommentPatterns));
  AddPatterns(itemizeList_, kItemizePatterns, std::size(kItemizePatterns));
  Adopt(commentList_);
  Adopt(itemizeList_);
}

TVornEditSeikeiOption::TVornEditSeikeiOption(const TVornEditSeikeiOption& o)
    : TVornEditSeikeiOption(o.commentList_.Engine()) {
  Assign(o);
}

bool TVornEditSeikeiOption::operator==(const TVornEditSeikeiOption& o) const {
  return values_ == o.values_ && commentList_.Equals(o.commentList_) && itemizeList_.Equals(o.itemizeList_);
}

void TVornEditSeikeiOption::Assign(const TVornEditSeikeiOption& src) {
  if (&src == this || *this == src) return;
  BeginUpdate();
  values_ = src.values_;
  commentList_.Assign(src.commentList_);
  itemizeList_.Assign(src.itemizeList_);
  EndUpdate();
}

}  // namespace vorn
