// The changed stretches of a replace all's piece: writing only them, or them joined into fewer,
// must give the whole output whatever the substitutions did to line breaks, and a false account
// of them is refused.
#include "editcore/ReplacedLines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vorn {
namespace {

struct TPiece {
  std::string Input;  // lines joined by LF
  std::vector<int> Starts;
  int From = 0;
  std::vector<TSubstitution> Subs;
  std::string Output;  // from From on
};

// Random lines, the search start inside the first, and random non-overlapping matches replaced
// by texts with and without line breaks (matches may be empty and may take line breaks).
TPiece RandomPiece(std::mt19937& rng) {
  TPiece p;
  const int lines = 1 + static_cast<int>(rng() % 30);
  for (int i = 0; i < lines; ++i) {
    p.Starts.push_back(static_cast<int>(p.Input.size()));
    p.Input += std::string(rng() % 6, static_cast<char>('a' + i % 26));
    if (i + 1 < lines || rng() % 2) p.Input += '\n';
  }
  const int firstLineEnd = lines > 1 ? p.Starts[1] - 1 : static_cast<int>(p.Input.size());
  p.From = firstLineEnd > 0 ? static_cast<int>(rng() % (firstLineEnd + 1)) : 0;
  const char* const replacements[] = {"", "X", "\n", "Y\nZ", "W\n"};
  std::size_t at = static_cast<std::size_t>(p.From), copied = at;
  while (at <= p.Input.size()) {
    at += rng() % 12;
    if (at > p.Input.size()) break;
    const std::size_t len = std::min<std::size_t>(rng() % 4, p.Input.size() - at);
    p.Output.append(p.Input, copied, at - copied);
    p.Output += replacements[rng() % 5];
    p.Subs.push_back(TSubstitution{static_cast<int>(at), static_cast<int>(at + len), p.Output.size()});
    copied = at + len;
    at = copied + (len == 0 ? 1 : 0);
  }
  p.Output.append(p.Input, copied, std::string::npos);
  return p;
}

// The input with each stretch's lines replaced by its output bytes.
std::string Written(const TPiece& p, const std::vector<TChangedLines>& stretches) {
  std::string text;
  int line = 0;
  const auto lineText = [&](int l) {
    const std::size_t b = static_cast<std::size_t>(p.Starts[static_cast<std::size_t>(l)]);
    const std::size_t e = l + 1 < static_cast<int>(p.Starts.size()) ? static_cast<std::size_t>(p.Starts[static_cast<std::size_t>(l) + 1]) : p.Input.size();
    return p.Input.substr(b, e - b);
  };
  for (const TChangedLines& s : stretches) {
    while (line < s.FirstLine) text += lineText(line++);
    if (s.FirstLine == 0) text += p.Input.substr(0, static_cast<std::size_t>(p.From));
    text += p.Output.substr(s.OutStart, s.OutEnd - s.OutStart);
    line = s.EndLine;
  }
  while (line < static_cast<int>(p.Starts.size())) text += lineText(line++);
  return text;
}

TEST(ReplacedLines, WritingOnlyTheStretchesGivesTheWholeOutput) {
  std::mt19937 rng(4141);
  for (int round = 0; round < 3000; ++round) {
    const TPiece p = RandomPiece(rng);
    for (const int gap : {0, 1, 8}) {
      bool sound = false;
      const auto stretches = ChangedLineStretches(p.Starts, p.Input.size(), p.From, p.Subs, p.Output, gap, sound);
      ASSERT_TRUE(sound) << round;
      ASSERT_EQ(Written(p, stretches), p.Input.substr(0, static_cast<std::size_t>(p.From)) + p.Output)
          << "round " << round << " gap " << gap;
      for (std::size_t i = 0; i < stretches.size(); ++i) {
        const TChangedLines& s = stretches[i];
        ASSERT_LT(s.FirstLine, s.EndLine);
        if (i > 0) {
          ASSERT_GE(s.FirstLine, stretches[i - 1].EndLine + gap) << round;
        }
        // The kept line after a stretch starts a line of the output.
        if (s.EndLine < static_cast<int>(p.Starts.size())) {
          ASSERT_EQ(p.Output[s.OutEnd - 1], '\n') << round;
        }
      }
      if (p.Subs.empty()) {
        EXPECT_TRUE(stretches.empty());
      }
      // Joined down to a few, the stretches still write exactly the output.
      auto joined = stretches;
      const std::size_t most = 1 + rng() % 3;
      JoinStretches(joined, most);
      ASSERT_LE(joined.size(), std::max<std::size_t>(most, 1));
      ASSERT_EQ(joined.empty(), stretches.empty());
      ASSERT_EQ(Written(p, joined), p.Input.substr(0, static_cast<std::size_t>(p.From)) + p.Output) << round;
    }
  }
}

TEST(ReplacedLines, OneMatchAmongManyLinesWritesOnlyItsLines) {
  TPiece p;
  for (int i = 0; i < 1000; ++i) {
    p.Starts.push_back(static_cast<int>(p.Input.size()));
    p.Input += i == 500 ? "MATCH\n" : "line\n";
  }
  // "MATCH\n" becomes "HIT": line 500 joins line 501.
  const int at = p.Starts[500];
  p.Output = p.Input.substr(0, static_cast<std::size_t>(at)) + "HIT";
  p.Subs.push_back(TSubstitution{at, at + 6, p.Output.size()});
  p.Output += p.Input.substr(static_cast<std::size_t>(at) + 6);
  bool sound = false;
  const auto stretches = ChangedLineStretches(p.Starts, p.Input.size(), 0, p.Subs, p.Output, 8, sound);
  ASSERT_TRUE(sound);
  ASSERT_EQ(stretches.size(), 1u);
  EXPECT_EQ(stretches[0].FirstLine, 500);
  EXPECT_EQ(stretches[0].EndLine, 502);
  EXPECT_EQ(p.Output.substr(stretches[0].OutStart, stretches[0].OutEnd - stretches[0].OutStart), "HITline\n");
}

TEST(ReplacedLines, AFalseAccountOfTheSubstitutionsIsRefused) {
  std::mt19937 rng(77);
  int refused = 0;
  for (int round = 0; round < 500; ++round) {
    TPiece p = RandomPiece(rng);
    if (p.Subs.size() < 2) continue;
    switch (round % 4) {
      case 0: std::swap(p.Subs.front(), p.Subs.back()); break;               // out of order
      case 1: p.Subs.back().End = static_cast<int>(p.Input.size()) + 1; break;  // past the piece
      case 2: p.Output += "x"; break;                                        // output not accounted for
      default: p.Subs.back().OutputEnd = p.Output.size() + 1; break;          // past the output
    }
    bool sound = true;
    const auto stretches = ChangedLineStretches(p.Starts, p.Input.size(), p.From, p.Subs, p.Output, 8, sound);
    // Swapping equal substitutions changes nothing; anything else is refused.
    if (sound) {
      EXPECT_EQ(Written(p, stretches), p.Input.substr(0, static_cast<std::size_t>(p.From)) + p.Output) << round;
    } else {
      EXPECT_TRUE(stretches.empty());
      ++refused;
    }
  }
  EXPECT_GT(refused, 300);
}

}  // namespace
}  // namespace vorn
