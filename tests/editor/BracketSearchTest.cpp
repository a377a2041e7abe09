// The bracket search of a pane that shows a file type: brackets inside comments, quotations
// and bracket regions (one opened on an earlier line included) never count.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "RenderFixture.h"
#include "layout/StoreWrap.h"

namespace vorn::test {
namespace {

TEST(BracketSearch, SkipsBracketsInCommentsQuotationsAndRegionsOfTheFileType) {
  auto edit = MakeEdit(NewWrappedStore());
  edit->SetViewOptions(CLikeView());
  LoadText(*edit, "f(a, \")\", /* ) */ b) // )\r\n{ \"}\" /* }\r\n } */ }\r\n");
  TVornEditCore& core = edit->Core();
  const auto from = [&core](int row, int col) {
    core.SetCaretPos(row, col);
    const int result = core.SearchBracket();
    return std::make_pair(result, core.Caret());
  };
  EXPECT_EQ(from(0, 1), std::make_pair(0, TRowCol{0, 19}));
  EXPECT_EQ(from(0, 19), std::make_pair(0, TRowCol{0, 1}));
  // The region opened on row 1 hides the "}" that starts row 2.
  EXPECT_EQ(from(1, 0), std::make_pair(0, TRowCol{2, 6}));
  EXPECT_EQ(from(2, 6), std::make_pair(0, TRowCol{1, 0}));
  // Far below the rows the pane has walked, a region opened there still hides its bracket.
  std::string deep = "(\r\n";
  for (int i = 0; i < 300; ++i) deep += "x\r\n";
  LoadText(*edit, deep + "/* )\r\n) */\r\n)\r\n");
  EXPECT_EQ(from(0, 0), std::make_pair(0, TRowCol{303, 0}));
  EXPECT_EQ(from(303, 0), std::make_pair(0, TRowCol{0, 0}));
  LoadText(*edit, "f(a, \")\", /* ) */ b) // )\r\n");
  // Without the file type's view every bracket counts.
  edit->SetViewOptions(nullptr);
  EXPECT_EQ(from(0, 1), std::make_pair(0, TRowCol{0, 6}));
}

}  // namespace
}  // namespace vorn::test
