#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ScriptedPrompts.h"
#include "TempFolder.h"
#include "document/DocumentWrite.h"
#include "store/HeadlessView.h"

namespace vorn {
namespace {

using testing::ReadWholeFile;
using testing::TScriptedPrompts;
using testing::TTempFolder;

unsigned ModeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class DocumentWrite : public ::testing::Test {
protected:
  TTempFolder dir_;
  TVornDocument doc_;
  TVornEditHeadlessView pane_{doc_.SharedStore()};
  TScriptedPrompts prompts_;

  TWriteOutcome Write(const std::string& name) { return WriteDocument(doc_, pane_.Lines(), name, prompts_); }
};

// The file size limit stops the write part-way with EFBIG, for root as for anybody. The child
// reports the outcome and the messages; the old file and the old backup must be untouched and
// no temporary file may be left behind.
TEST_F(DocumentWrite, WriteStoppedPartWayLeavesTheOldFileAndReportsTheError) {
  const std::string old(100000, 'o');
  const std::string file = dir_.Write("big.txt", old);
  dir_.Write("big.txt.bak", "older");
  doc_.FileSettings().BackupCreate = true;
  pane_.Lines().SetTextStr(std::string(3000000, 'n'));

  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {200000, 200000};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(90);
    const TWriteOutcome outcome = Write(file);
    const bool told = prompts_.errors.size() == 1 && prompts_.errors[0].rfind("ファイル保存エラー\r\n", 0) == 0;
    ::_exit(outcome == TWriteOutcome::Failed && told ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write must fail and say so";
  EXPECT_TRUE(ReadWholeFile(file) == old);
  EXPECT_EQ(ReadWholeFile(file + ".bak"), "older");
  EXPECT_EQ(FolderNames(dir_.Path()), (std::vector<std::string>{"big.txt", "big.txt.bak"}));
}

TEST_F(DocumentWrite, BackupKeepsTheModeAndTheOldContent) {
  const std::string file = dir_.Write("m.txt", "old\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  doc_.FileSettings().BackupCreate = true;
  pane_.Lines().SetTextStr("new\r\n");
  ASSERT_EQ(Write(file), TWriteOutcome::Written);
  EXPECT_EQ(ReadWholeFile(file), "new\r\n");
  EXPECT_EQ(ReadWholeFile(file + ".bak"), "old\r\n");
  EXPECT_EQ(ModeOf(file), 0640u);
  EXPECT_EQ(ModeOf(file + ".bak"), 0640u);
  // The backup is a copy, not a second name of the old file's inode.
  struct stat a {}, b {};
  ::stat(file.c_str(), &a);
  ::stat((file + ".bak").c_str(), &b);
  EXPECT_EQ(b.st_nlink, 1u);
  EXPECT_TRUE(prompts_.Quiet());
}

TEST_F(DocumentWrite, SymbolicLinkIsSavedThroughToItsTarget) {
  const std::string target = dir_.Write("real.txt", "old\n");
  ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
  const std::string link = dir_ / "link.txt";
  ASSERT_EQ(::symlink("real.txt", link.c_str()), 0);
  doc_.FileSettings().LineBreak = lbLF;
  doc_.FileSettings().BackupCreate = true;
  pane_.Lines().SetTextStr("new\r\n");
  ASSERT_EQ(Write(link), TWriteOutcome::Written);
  struct stat st {};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
  EXPECT_EQ(ReadWholeFile(target), "new\n");
  EXPECT_EQ(ModeOf(target), 0604u);
  EXPECT_EQ(ReadWholeFile(link + ".bak"), "old\n");
}

// Decided from the permission bits: as root the kernel would let the write through, and the
// save must still refuse.
TEST_F(DocumentWrite, FileWithoutWriteBitsIsRefusedForEveryUser) {
  const std::string file = dir_.Write("ro.txt", "keep\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  pane_.Lines().SetTextStr("lost?\r\n");
  EXPECT_EQ(Write(file), TWriteOutcome::Declined);
  EXPECT_EQ(ReadWholeFile(file), "keep\r\n");
  ASSERT_EQ(prompts_.warnings.size(), 1u);
  EXPECT_EQ(prompts_.warnings[0], "上書きするファイルは読みとり専用です。上書きは中止します");
}

TEST_F(DocumentWrite, SavingOverAFileWhoseReadLostCharactersAsksFirst) {
  const std::string file = dir_.Write("nul.txt", std::string("a\0b\r\n", 5));
  ReadDocumentFile(file, doc_.FileSettings(), pane_.Lines());
  doc_.SetFileName(file);
  ASSERT_TRUE(doc_.LostCharactersOnRead());

  prompts_.answers = {TPromptAnswer::Cancel};
  EXPECT_EQ(Write(dir_ / "." + "/nul.txt"), TWriteOutcome::Declined) << "the same file by another spelling";
  EXPECT_TRUE(ReadWholeFile(file) == std::string("a\0b\r\n", 5));
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_NE(prompts_.asked[0].find("NUL文字が 1 個"), std::string::npos);

  EXPECT_EQ(Write(dir_ / "other.txt"), TWriteOutcome::Written) << "another file loses nothing";
  EXPECT_EQ(prompts_.asked.size(), 1u);

  prompts_.answers = {TPromptAnswer::Ok};
  EXPECT_EQ(Write(file), TWriteOutcome::Written);
  EXPECT_EQ(ReadWholeFile(file), "a b\r\n");
}

TEST_F(DocumentWrite, CharactersTheCodeCannotHoldAreCountedAndAskedAbout) {
  const std::string file = dir_.Write("jis.txt", "old");
  dir_.Write("jis.txt.bak", "older");
  doc_.FileSettings().CharCode = ckJis;
  doc_.FileSettings().BackupCreate = true;
  pane_.Lines().SetTextStr("\xF0\x40\x82\xA0\xF0\x41\r\n");  // user-defined, あ, user-defined
  prompts_.answers = {TPromptAnswer::Cancel};
  EXPECT_EQ(Write(file), TWriteOutcome::Declined);
  EXPECT_EQ(ReadWholeFile(file), "old");
  EXPECT_EQ(ReadWholeFile(file + ".bak"), "older") << "a declined save leaves the backup too";
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0], UnencodableQuestion(ckJis, 2));

  prompts_.answers = {TPromptAnswer::Ok};
  EXPECT_EQ(Write(file), TWriteOutcome::Written);
  EXPECT_NE(ReadWholeFile(file), "old");
  EXPECT_EQ(ReadWholeFile(file + ".bak"), "old");
}

TEST_F(DocumentWrite, MissingFolderIsAnErrorNotASuccess) {
  pane_.Lines().SetTextStr("x\r\n");
  EXPECT_EQ(Write(dir_ / "no/such/file.txt"), TWriteOutcome::Failed);
  ASSERT_EQ(prompts_.errors.size(), 1u);
  EXPECT_EQ(prompts_.errors[0].rfind("ファイル保存エラー", 0), 0u);
}

}  // namespace
}  // namespace vorn
