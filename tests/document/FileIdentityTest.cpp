#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "TempFolder.h"
#include "document/FileIdentity.h"

namespace vorn {
namespace {

using testing::TTempFolder;

// Puts the modification time of path back to the stamp's, as a program that restores times
// (or a write within one clock tick) would leave it.
void SetMtime(const std::string& path, const TFileStamp& stamp) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(stamp.seconds);
  times[1].tv_nsec = static_cast<long>(stamp.nanoseconds);
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileStamp, ChangesUnderAnUnchangedModificationTimeAreSeen) {
  TTempFolder dir;
  const std::string file = dir.Write("a.txt", "first\n");
  const TFileStamp stamp = TakeFileStamp(file);
  ASSERT_TRUE(stamp.exists);
  EXPECT_EQ(CompareFileStamp(stamp, file), TFileChange::Unchanged);

  dir.Write("a.txt", "first and more\n");  // rewritten in place: same inode, other size
  SetMtime(file, stamp);
  EXPECT_EQ(TakeFileStamp(file).seconds, stamp.seconds);
  EXPECT_EQ(CompareFileStamp(stamp, file), TFileChange::Changed);

  // Replaced by rename with the same size and time: only the inode tells.
  dir.Write("a.txt", "first\n");
  SetMtime(file, stamp);
  const TFileStamp same = TakeFileStamp(file);
  const std::string other = dir.Write("b.txt", "FIRST\n");
  SetMtime(other, same);
  ASSERT_EQ(std::rename(other.c_str(), file.c_str()), 0);
  EXPECT_EQ(CompareFileStamp(same, file), TFileChange::Changed);
}

TEST(FileStamp, DeletedFileAndNeverReadDocument) {
  TTempFolder dir;
  const std::string file = dir.Write("gone.txt", "x");
  const TFileStamp stamp = TakeFileStamp(file);
  ASSERT_EQ(::unlink(file.c_str()), 0);
  EXPECT_EQ(CompareFileStamp(stamp, file), TFileChange::Deleted);
  EXPECT_FALSE(TakeFileStamp(file).exists);
  // Nothing was read from a file: a file that appears later under the name is not "changed".
  dir.Write("gone.txt", "new");
  EXPECT_EQ(CompareFileStamp(TFileStamp{}, file), TFileChange::Unchanged);
  EXPECT_FALSE(TakeFileStamp(dir.Path()).exists) << "a folder is no document file";
}

TEST(SameFile, CanonicalNamesAreComparedExactly) {
  TTempFolder dir;
  dir.Write("a.txt", "lower");
  dir.Write("A.txt", "upper");
  ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0700), 0);
  ASSERT_EQ(::symlink((dir / "a.txt").c_str(), (dir / "link.txt").c_str()), 0);
  EXPECT_FALSE(SameFileName(dir / "a.txt", dir / "A.txt"));
  EXPECT_TRUE(SameFileName(dir / "sub/../a.txt", dir / "a.txt"));
  EXPECT_TRUE(SameFileName(dir / "link.txt", dir / "a.txt"));
  EXPECT_FALSE(SameFileName(dir / "new.txt", dir / "NEW.txt")) << "names of missing files too";
  EXPECT_TRUE(SameFileName(dir / "sub/../new.txt", dir / "new.txt"));
  EXPECT_FALSE(SameFileName("", "")) << "two untitled documents are not one file";
}

}  // namespace
}  // namespace vorn
