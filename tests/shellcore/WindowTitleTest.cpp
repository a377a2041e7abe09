#include "shellcore/WindowTitle.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(WindowTitle, NamedUntitledAndModified) {
  TTitleState s;
  s.fileName = "/home/u/work/a.txt";
  EXPECT_EQ(BuildWindowTitle(s), "a.txt[/home/u/work/] - VornEditor");
  s.modified = true;
  EXPECT_EQ(BuildWindowTitle(s), "[変更]a.txt[/home/u/work/] - VornEditor");
  EXPECT_EQ(BuildWindowTitle(TTitleState{}), "無題 - VornEditor");
}

TEST(WindowTitle, PrefixesStackInTheirOrder) {
  TTitleState s;
  s.modified = true;
  s.grepResult = true;
  s.grepKeyword = "foo";
  s.readOnly = true;
  s.recordingMacro = true;
  s.windowCount = 2;
  EXPECT_EQ(BuildWindowTitle(s), "■ [★記録中](上書き禁止)[GREP- \"foo\"][変更]無題 - VornEditor");
  s.browseMode = true;  // browsing hides the read-only mark
  s.windowIndex = 1;
  s.recordingMacro = false;
  EXPECT_EQ(BuildWindowTitle(s), "□ [サブウィンドウ(1)] (閲覧中)[GREP- \"foo\"][変更]無題 - VornEditor");
}

}  // namespace
}  // namespace vorn
