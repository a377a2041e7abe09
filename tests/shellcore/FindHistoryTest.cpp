// The find history: its file round trip, the ten-entry limit, dropped empty patterns, every
// damaged image read as an empty history with a message, and the find step's macro arguments.
#include "shellcore/FindHistory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempFolder.h"

namespace vorn {
namespace {

TFindHistory Conditions(int n) {
  TFindHistory h;
  for (int i = 0; i < n; ++i) {
    auto k = std::make_unique<TFindKeyWord>(nullptr);
    k->SetPattern("word" + std::to_string(i));
    k->SetReplaceText(i % 2 ? "\x83\x41" : "");
    k->SetWholeWord(i % 3 == 0);
    k->SetFuzzy(i % 4 == 0);
    k->SetReplaceMode(i % 2 == 1);
    h.push_back(std::move(k));
  }
  return h;
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(FindHistory, RoundTripKeepsTheLastTenWithTheirOptions) {
  vorn::testing::TTempFolder folder;
  const std::string path = folder / kFindHistoryFileName;
  ASSERT_TRUE(SaveFindHistory(path, Conditions(12)));
  std::string error;
  const TFindHistory back = LoadFindHistory(path, error);
  EXPECT_TRUE(error.empty());
  ASSERT_EQ(back.size(), 10u);
  const TFindHistory all = Conditions(12);
  for (std::size_t i = 0; i < back.size(); ++i) {
    const TFindKeyWord& want = *all[i + 2];
    EXPECT_EQ(back[i]->Pattern(), want.Pattern());
    EXPECT_EQ(back[i]->ReplaceText(), want.ReplaceText());
    EXPECT_EQ(back[i]->WholeWord(), want.WholeWord());
    EXPECT_EQ(back[i]->Fuzzy(), want.Fuzzy());
    EXPECT_EQ(back[i]->ReplaceMode(), want.ReplaceMode());
  }
  EXPECT_TRUE(LoadFindHistory(folder / "missing.kdt", error).empty());
  EXPECT_TRUE(error.empty()) << "a missing file is no damage";
}

TEST(FindHistory, AnEntryWithoutPatternIsDropped) {
  vorn::testing::TTempFolder folder;
  TFindHistory h = Conditions(3);
  h[1]->SetPattern("");
  ASSERT_TRUE(SaveFindHistory(folder / "h.kdt", h));
  std::string error;
  const TFindHistory back = LoadFindHistory(folder / "h.kdt", error);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1]->Pattern(), "word2");
}

TEST(FindHistory, EveryDamagedImageGivesAnEmptyHistoryAndAMessage) {
  vorn::testing::TTempFolder folder;
  const std::string path = folder / "h.kdt";
  const std::string image = FindHistoryImage(Conditions(4));
  std::vector<std::string> damaged;
  for (std::size_t n = 1; n < image.size(); ++n) damaged.push_back(image.substr(0, n));  // cut short
  for (std::int32_t count : {-1, 11, 5, 0x7fffffff}) {
    std::string s = image;
    for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>(count >> (8 * i));
    damaged.push_back(s);
  }
  damaged.push_back(image + "x");  // bytes after the last record
  std::string lone = image;
  lone[lone.find("word0")] = '\x83';  // a lead byte followed by no trail byte
  lone[lone.find("ord0")] = '\x0a';
  damaged.push_back(lone);
  for (const std::string& bytes : damaged) {
    Write(path, bytes);
    std::string error;
    EXPECT_TRUE(LoadFindHistory(path, error).empty()) << bytes.size();
    EXPECT_FALSE(error.empty()) << bytes.size();
  }
}

TEST(FindHistory, MacroArgumentsOfFindAndReplaceSteps) {
  TFindMacroStep step;
  EXPECT_FALSE(FindStepFromMacroArgs({""}, false, step));
  ASSERT_TRUE(FindStepFromMacroArgs({"x", "1", "0", "1", "0", "2", "1"}, false, step));
  EXPECT_TRUE(step.Case);
  EXPECT_FALSE(step.Word);
  EXPECT_TRUE(step.UseJre);
  EXPECT_EQ(step.Action, 2);
  EXPECT_TRUE(step.PrevRange);
  ASSERT_TRUE(FindStepFromMacroArgs({"a", "b", "0", "0", "0", "1", "4", "0", "1", "1"}, true, step));
  EXPECT_EQ(step.Replacement, "b");
  EXPECT_TRUE(step.Fuzz);
  EXPECT_EQ(step.Action, 4);
  EXPECT_TRUE(step.NoMessage && step.NoProgress);
  // What a recording stores reads back as the same step, the replace-all flags as "0".
  const std::vector<std::string> stored = FindStepMacroArgs(step, true);
  EXPECT_EQ(stored, (std::vector<std::string>{"a", "b", "0", "0", "0", "1", "4", "0", "0", "0"}));
  TFindMacroStep again;
  ASSERT_TRUE(FindStepFromMacroArgs(stored, true, again));
  EXPECT_EQ(again.Pattern, "a");
  EXPECT_EQ(again.Action, 4);
}

}  // namespace
}  // namespace vorn
