// Golden token dumps: each input under tests/data/parser is tokenized row by row and compared with its dump.
// Set VORN_REGENERATE_GOLDEN=1 to rewrite the dumps after an intended change.
#include "ParserTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace vorn {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> SplitRows(const std::string& text) {
  std::vector<std::string> rows;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t lf = text.find('\n', begin);
    if (lf == std::string::npos) lf = text.size();
    std::size_t end = (lf > begin && text[lf - 1] == '\r') ? lf - 1 : lf;
    rows.push_back(text.substr(begin, end - begin));
    begin = lf + 1;
  }
  return rows;
}

// One line per row with the state at its start, then one line per token: kind and bytes in brackets.
std::string Dump(const TVornEditViewInfo& view, const std::string& text) {
  std::ostringstream out;
  int state = -1;
  int row = 0;
  for (const std::string& r : SplitRows(text)) {
    out << "row " << row++ << " state " << state << "\r\n";
    auto result = testing::Parse(&view, r, state);
    for (const auto& t : result.tokens) out << "  " << t.kind << " [" << t.text << "]\r\n";
    state = result.endState;
  }
  out << "end state " << state << "\r\n";
  return out.str();
}

void CheckGolden(const std::string& name, const std::function<void(TVornEditViewInfo&)>& configure) {
  TVornEditViewInfo view;
  configure(view);
  const std::string base = std::string(VORN_TEST_DATA_DIR) + "/parser/" + name;
  const std::string actual = Dump(view, ReadFile(base + ".txt"));
  if (const char* regen = std::getenv("VORN_REGENERATE_GOLDEN"); regen && *regen == '1') {
    std::ofstream(base + ".tokens", std::ios::binary) << actual;
    return;
  }
  EXPECT_EQ(actual, ReadFile(base + ".tokens")) << "dump of " << name << " differs";
}

TEST(ParserGolden, CCodeWithBlockCommentsStringsAndNumbers) {
  CheckGolden("c_code", [](TVornEditViewInfo& v) {
    testing::AddBracket(v, "/*", "*/").SetColorIndex(5);
    v.Commenter1().SetPlainText(true);
    v.Commenter1().SetPattern("//");
    v.SetQuotation("\"'");
    v.SetQuotationCanceler("\\\\");
  });
}

TEST(ParserGolden, JapaneseProseWithEveryCharacterClass) {
  CheckGolden("japanese", [](TVornEditViewInfo&) {});
}

TEST(ParserGolden, MailUrlAndFileLines) {
  CheckGolden("links", [](TVornEditViewInfo& v) {
    v.SetUrl(true);
    v.SetMail(true);
    v.SetMailId(true);
    v.SetFileObj(true);
  });
}

TEST(ParserGolden, HereDocumentWithBackReferencingBracket) {
  CheckGolden("heredoc", [](TVornEditViewInfo& v) {
    TVornEditBracketItem& item = v.Brackets().Add();
    item.LeftBracket().SetPattern("<<(\\w+)");
    item.RightBracket().SetPattern("^$1$");
    item.SetColorIndex(10);
    v.Commenter1().SetPlainText(true);
    v.Commenter1().SetPattern("#");
    v.SetQuotation("\"");
  });
}

}  // namespace
}  // namespace vorn
