// Paragraph refilling: a paragraph's text laid out again in lines of a fixed width under the
// Japanese line-breaking rules, keeping its indentation, comment prefix and item marker.
// Pure text in, text out, so that it can be checked against a model without a view.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorn {

// Where English words may be broken.
inline constexpr std::string_view kWordBreakSet = ".,;:\"' \t";

// The byte length of the first list entry that matches at the very start of text; 0 for none.
using TPrefixMatcher = std::function<int(std::string_view text)>;

struct TRefillRules {
  int WrapCount = 70;
  bool WordWrap = true;
  bool InsertSpace = false;
  std::string LeftUninsertSpaceStr;   // no space is inserted before these
  std::string RightUninsertSpaceStr;  // no space is inserted after these
  std::string FollowStr;              // may not start a line
  std::string LeadStr;                // may not end a line
  bool CommentThrough = true;
  bool WSpaceIndent = false;
  int TabSpaceCount = 8;
  TPrefixMatcher Comment;
  TPrefixMatcher Item;
};

struct TRefillResult {
  std::string Text;  // lines ended by CR LF
  int Caret = -1;    // where the character at the asked byte went; -1 when none was asked
};

// Refills paragraph p (one line, its source lines already joined). caret is a byte index into p
// or -1; the result tells where the character there (or the next one kept) ended up.
TRefillResult RefillParagraph(std::string_view p, const TRefillRules& rules, int caret = -1);

// The character ch (one or two bytes) occurs in set, read character by character.
bool CharIn(std::string_view set, std::string_view ch);
// The leading run of spaces, tabs and, with wideSpace, full-width spaces.
int LeadingBlankLength(std::string_view s, bool wideSpace);
// The display width of a line: a column per byte, tabs to the next stop.
int RefillLineWidth(std::string_view line, int tabSpaceCount);
// Tabs as spaces to the next stop counted from the text's start; with wrapByte > 0 a tab never
// runs past the next multiple of it. A tab before *caret moves *caret with its added spaces.
std::string ExpandTabsForRefill(std::string_view s, int tabSpaceCount, int wrapByte, int* caret);

}  // namespace vorn
