#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include "TempFolder.h"
#include "platform/FileCopy.h"

namespace vorn {
namespace {

using testing::ReadWholeFile;
using testing::TTempFolder;

int EntryCount(const std::string& folder) {
  int n = 0;
  if (DIR* d = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(d)) n += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
    ::closedir(d);
  }
  return n;
}

TEST(FileCopy, CopyKeepsBytesAndModeAndAFailureKeepsThePreviousCopy) {
  TTempFolder dir;
  const std::string bytes("a\0b\xFF\r\n", 6);
  const std::string from = dir.Write("from", bytes);
  ASSERT_EQ(::chmod(from.c_str(), 0751), 0);
  const std::string to = dir.Write("to", "previous");
  ASSERT_EQ(CopyFileKeepingMode(from, to), "");
  EXPECT_TRUE(ReadWholeFile(to) == bytes);
  struct stat st {};
  ASSERT_EQ(::stat(to.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0751u);

  dir.Write("to", "previous");
  EXPECT_NE(CopyFileKeepingMode(dir / "missing", to), "");
  EXPECT_NE(CopyFileKeepingMode(from, dir / "no/folder/to"), "");
  EXPECT_EQ(ReadWholeFile(to), "previous");
  EXPECT_EQ(EntryCount(dir.Path()), 2) << "no temporary file is left behind";
}

}  // namespace
}  // namespace vorn
