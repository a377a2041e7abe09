// The search for the bracket or begin/end that matches the token at the caret.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <vector>

#include "editcore/EditCore.h"
#include "syntax/EditParser.h"

namespace vorn {
namespace {

struct TBracketPair {
  std::string_view Open;
  std::string_view Close;
  bool Forward = true;
};

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool PairFor(std::string_view token, TBracketPair& pair) {
  static constexpr std::string_view kPairs[][2] = {{"{", "}"}, {"(", ")"}, {"[", "]"}, {"<", ">"}};
  for (const auto& p : kPairs) {
    if (token == p[0]) pair = {p[0], p[1], true};
    if (token == p[1]) pair = {p[0], p[1], false};
    if (token == p[0] || token == p[1]) return true;
  }
  if (SameWord(token, "begin") || SameWord(token, "try") || SameWord(token, "case")) {
    pair = {"begin", "end", true};
    return true;
  }
  if (SameWord(token, "end")) {
    pair = {"begin", "end", false};
    return true;
  }
  return false;
}

// "try" and "case" open blocks that "end" closes.
bool Opens(const TBracketPair& pair, std::string_view token) {
  if (pair.Open == "begin") return SameWord(token, "begin") || SameWord(token, "try") || SameWord(token, "case");
  return token == pair.Open;
}
bool Closes(const TBracketPair& pair, std::string_view token) { return SameWord(token, pair.Close); }

// Lines without any byte a counted token starts with need no tokenizing: most of a long text.
bool MayHoldPair(std::string_view line, const TBracketPair& pair) {
  if (pair.Open != "begin")
    return line.find(pair.Open[0]) != std::string_view::npos || line.find(pair.Close[0]) != std::string_view::npos;
  for (char c : line) {
    const char l = static_cast<char>(c | 0x20);
    if (l == 'b' || l == 'e' || l == 't' || l == 'c') return true;
  }
  return false;
}

struct TToken {
  int Start = 0;
  int End = 0;
  std::string_view Text;
};

// The tokens of a logical line as the view colours them; regions (comments, quotations, bracket
// regions) are one token each and never equal a bracket.
// Answers the state at the line's end, or BracketStateUnknown when f stopped the walk.
template <class F>
int ForEachToken(const TVornEditViewInfo* view, std::string_view line, int state, F&& f) {
  TVornEditParser parser(view, line, view == nullptr, state < BracketStateOutside ? BracketStateOutside : state);
  for (TTokenKind kind = parser.Kind(); kind != tkEndOfLine; kind = parser.NextToken()) {
    if (kind == tkBracket || kind == tkComment || kind == tkQuotation) continue;
    const int start = parser.TokenOffset(), end = parser.TokenEnd();
    if (!f(TToken{start, end, line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start))}))
      return BracketStateUnknown;
  }
  return parser.State();
}

// A line outside every region stays outside unless a region or comment may start in it.
bool MayOpenRegion(const TVornEditViewInfo& view, std::string_view bytes) {
  for (char c : bytes)
    if (view.MayStartBracketOrComment(static_cast<unsigned char>(c))) return true;
  return false;
}

}  // namespace

int TVornEditCore::SearchBracket(TMoveFlags f) {
  int firstRow = 0, start = 0, end = 0;
  if (!TokenAtCaret(firstRow, start, end) || end <= start) return -1;
  const std::string caretLine = store_->GetRowsText(firstRow, -1);
  TBracketPair pair;
  if (!PairFor(std::string_view(caretLine).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)),
               pair))
    return -1;
  int depth = 1;
  int foundRow = -1, foundOffset = 0;
  // The state at the start of the line being scanned. Rows below what the views have walked
  // have none stored yet: going down, it is carried over from the rows above.
  int lineState = BracketStateOutside;
  // Going up from such a row, the states from the last row that has one down to the caret's
  // line are walked first.
  std::vector<int> walked;
  int walkedFrom = firstRow + 1;
  if (!pair.Forward && firstRow < RowCount() && store_->BracketState(firstRow) == BracketStateUnknown) {
    walkedFrom = firstRow;
    while (walkedFrom > 0 && store_->BracketState(walkedFrom) == BracketStateUnknown) --walkedFrom;
    int state = store_->BracketState(walkedFrom);
    if (state == BracketStateUnknown) state = BracketStateOutside;
    walked.push_back(state);
    for (int r = walkedFrom; r < firstRow; ++r) walked.push_back(state = store_->Brackets().RowEndState(*store_, r, state));
  }
  const auto stateAt = [&](int row) {
    if (row >= walkedFrom && row <= firstRow) return walked[static_cast<std::size_t>(row - walkedFrom)];
    const int stored = row < RowCount() ? store_->BracketState(row) : BracketStateOutside;
    return stored == BracketStateUnknown ? lineState : stored;
  };
  // The end state of the line the forward scan tokenized last, when it walked it whole.
  int scannedEnd = BracketStateUnknown;
  const auto carryOver = [&](int first, int next) {
    const int walkedEnd = scannedEnd;
    scannedEnd = BracketStateUnknown;
    if (next >= RowCount() || store_->BracketState(next) != BracketStateUnknown) return;
    if (walkedEnd != BracketStateUnknown) {
      lineState = walkedEnd;
      return;
    }
    int state = stateAt(first);
    if (state == BracketStateOutside && viewInfo_) {
      bool opens = false;
      for (int r = first; r < next && !opens; ++r) opens = MayOpenRegion(*viewInfo_, store_->Row(r));
      if (!opens) {
        lineState = state;
        return;
      }
    }
    for (int r = first; r < next; ++r) state = store_->Brackets().RowEndState(*store_, r, state);
    lineState = state;
  };
  // Scans line (first row `row`); true once the match is found there.
  const auto scan = [&](int row, std::string_view line, bool caretsLine) {
    if (!caretsLine && !MayHoldPair(line, pair)) return false;
    const int state = stateAt(row);
    if (pair.Forward) {
      scannedEnd = ForEachToken(viewInfo_, line, state, [&](const TToken& t) {
        if (caretsLine && t.Start <= start) return true;
        if (Closes(pair, t.Text)) --depth;
        else if (Opens(pair, t.Text)) ++depth;
        if (depth > 0) return true;
        foundRow = row;
        foundOffset = t.Start;
        return false;
      });
      return foundRow >= 0;
    }
    std::vector<TToken> tokens;
    ForEachToken(viewInfo_, line, state, [&](const TToken& t) {
      if (caretsLine && t.End > start) return false;
      tokens.push_back(t);
      return true;
    });
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
      if (Opens(pair, it->Text)) --depth;
      else if (Closes(pair, it->Text)) ++depth;
      if (depth > 0) continue;
      foundRow = row;
      foundOffset = it->Start;
      return true;
    }
    return false;
  };
  std::string line = caretLine;
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
  bool found = scan(firstRow, line, true);
  if (pair.Forward) {
    std::string joined;
    for (int row = firstRow; !found;) {
      const int previous = row;
      while (row < RowCount() && store_->RowEnd(row) == reWrapped) ++row;
      if (++row >= RowCount()) break;
      carryOver(previous, row);
      const int lineRow = row;
      if (store_->RowEnd(row) != reWrapped) {
        found = scan(lineRow, store_->Row(row), false);
        continue;
      }
      joined.clear();
      for (; row < RowCount(); ++row) {
        joined.append(store_->Row(row));
        if (store_->RowEnd(row) != reWrapped) break;
      }
      found = scan(lineRow, joined, false);
    }
  } else {
    for (int row = firstRow; !found && row > 0;) {
      const int last = row - 1;
      row = store_->FirstRowOfLine(last);
      line.clear();
      for (int r = row; r <= last; ++r) line.append(store_->Row(r));
      found = scan(row, line, false);
    }
  }
  if (!found) return pair.Forward ? -2 : -3;
  const bool extend = BeginMove(f);
  SetCaretRowOffset(foundRow, foundOffset);
  EndMove(f, extend);
  return 0;
}

}  // namespace vorn
