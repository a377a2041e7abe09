#include <gtest/gtest.h>

#include <sys/stat.h>

#include "ScriptedPrompts.h"
#include "TempFolder.h"
#include "shellcore/SaveSelection.h"

namespace vorn {
namespace {

using testing::ReadWholeFile;
using testing::TScriptedPrompts;
using testing::TTempFolder;

TEST(SaveSelection, ReplaceKeepsTheModeAndAppendAddsNoSecondSignature) {
  TTempFolder dir;
  TScriptedPrompts prompts;
  const std::string file = dir.Write("sel.txt", "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  ASSERT_TRUE(WriteSelectionToFile("\x82\xA0\r\nb", {file, ckUtf8, lbLF, false}, prompts));
  EXPECT_EQ(ReadWholeFile(file), "\xEF\xBB\xBF\xE3\x81\x82\nb");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  ASSERT_TRUE(WriteSelectionToFile("\r\nc", {file, ckUtf8, lbLF, true}, prompts));
  EXPECT_EQ(ReadWholeFile(file), "\xEF\xBB\xBF\xE3\x81\x82\nb\nc");
  const std::string fresh = dir / "fresh.txt";
  ASSERT_TRUE(WriteSelectionToFile("x", {fresh, ckUnicodeLE, lbCRLF, true}, prompts));
  EXPECT_EQ(ReadWholeFile(fresh), std::string("\xFF\xFEx\0", 4)) << "a new file starts with its signature";
  EXPECT_TRUE(prompts.Quiet());
}

TEST(SaveSelection, RefusalsAndErrorsLeaveTheFile) {
  TTempFolder dir;
  TScriptedPrompts prompts;
  const std::string file = dir.Write("j.txt", "old");
  prompts.answers = {TPromptAnswer::Cancel};
  EXPECT_FALSE(WriteSelectionToFile("\xF0\x40", {file, ckJis, lbCRLF, true}, prompts)) << "user-defined in JIS";
  EXPECT_EQ(prompts.asked.size(), 1u);
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  EXPECT_FALSE(WriteSelectionToFile("a", {file, ckSjis, lbCRLF, true}, prompts));
  EXPECT_EQ(prompts.warnings.size(), 1u);
  EXPECT_EQ(ReadWholeFile(file), "old");
  EXPECT_FALSE(WriteSelectionToFile("a", {dir / "no/such.txt", ckSjis, lbCRLF, false}, prompts));
  EXPECT_EQ(prompts.errors.size(), 1u);
}

}  // namespace
}  // namespace vorn
