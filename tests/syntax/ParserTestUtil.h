// Helpers shared by the tokenizer tests: run a parser over a text and collect its tokens.
#pragma once

#include "syntax/EditParser.h"

#include <string>
#include <utility>
#include <vector>

namespace vorn::testing {

struct TToken {
  int kind;
  std::string text;
  bool operator==(const TToken&) const = default;
};

struct TParseResult {
  std::vector<TToken> tokens;
  int endState;
};

inline TParseResult Parse(const TVornEditViewInfo* view, const std::string& text, int state = -1,
                          bool plain = false) {
  TParseResult r;
  TVornEditParser parser(view, text, plain, state);
  while (parser.Kind() != tkEndOfLine) {
    r.tokens.push_back({parser.Kind(), parser.TokenText()});
    parser.NextToken();
  }
  r.endState = parser.State();
  return r;
}

inline std::vector<TToken> Tokens(const TVornEditViewInfo* view, const std::string& text, int state = -1) {
  return Parse(view, text, state).tokens;
}

// Adds a plain-text bracket item.
inline TVornEditBracketItem& AddBracket(TVornEditViewInfo& view, const std::string& left, const std::string& right) {
  TVornEditBracketItem& item = view.Brackets().Add();
  item.LeftBracket().SetPlainText(true);
  item.LeftBracket().SetPattern(left);
  item.RightBracket().SetPlainText(true);
  item.RightBracket().SetPattern(right);
  return item;
}

}  // namespace vorn::testing
