// TBregexp: loading the module, the failure messages, and a process that runs on without it.
#include <gtest/gtest.h>

#include "regex/BregexpUtil.h"

namespace vorn {
namespace {

std::string ThrownMessage(const std::string& name) {
  try {
    TBregexp lib(name);
  } catch (const ELibraryLoadError& e) {
    return e.what();
  }
  return "";
}

TEST(BregexpBinding, MissingModuleAndMissingEntryPointsGiveTheirMessages) {
  EXPECT_EQ(ThrownMessage("/nonexistent/libVornRegexp.so"), kRegexpLoadError);
  // a real library without the six names
  EXPECT_EQ(ThrownMessage("libm.so.6"), kRegexpExportError);
  EXPECT_EQ(std::string(kRegexpLoadError), "VornRegexp.dll\x82\xF0\x83\x8D\x81\x5B\x83\x68\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1");
}

TEST(BregexpBinding, EmptyNameLoadsTheModuleBesideTheExecutable) {
  TBregexp lib("");
  EXPECT_TRUE(lib.Loaded());
  EXPECT_EQ(TBregexp::DefaultLibraryPath(), VORN_BIN_DIR "/libVornRegexp.so");
}

TEST(BregexpBinding, ProcessRunsOnWithoutTheModule) {
  std::string message = LoadRegexpBinding("/nonexistent/libVornRegexp.so");
  EXPECT_EQ(message, kRegexpStartupMessage);
  EXPECT_EQ(RegexpBinding(), nullptr);

  TBregexpObj obj;  // takes the (missing) process-wide binding
  obj.SetPattern("a");
  obj.SetReplaceMode(true);
  obj.SetReplaceText("b");
  int pos = 0, len = 0;
  EXPECT_FALSE(obj.Compile());
  EXPECT_FALSE(obj.CompileFailed());
  EXPECT_FALSE(obj.FindIn("abc", pos, len));
  EXPECT_FALSE(obj.MatchAt("abc", 0, len));
  std::string s = "abc";
  EXPECT_EQ(obj.ReplaceIn(s, 0), 0);
  EXPECT_EQ(s, "abc");
  obj.SetPlainText(true);  // the simple path needs no module, but answers no match too
  EXPECT_FALSE(obj.FindIn("abc", pos, len));

  EXPECT_EQ(LoadRegexpBinding(), "");
  ASSERT_NE(RegexpBinding(), nullptr);
  {
    TBregexpObj loaded;
    loaded.SetPattern("b");
    EXPECT_TRUE(loaded.FindIn("abc", pos = 0, len));
    EXPECT_EQ(pos, 1);
  }
  FreeRegexpBinding();
  EXPECT_EQ(RegexpBinding(), nullptr);
}

}  // namespace
}  // namespace vorn
