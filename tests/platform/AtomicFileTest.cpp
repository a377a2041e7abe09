// Atomic file replacement: permissions, links, in-place fallback, and failures that keep the old file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempFolder.h"
#include "base/VornError.h"
#include "platform/AtomicFile.h"
#include "Unprivileged.h"

namespace vorn {
namespace {

class TTempDir : public testing::TTempFolder {
public:
  TTempDir() : TTempFolder("vornatomic") {}
  int EntryCount() const {
    int n = 0;
    if (DIR* d = ::opendir(Path().c_str())) {
      while (dirent* e = ::readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++n;
      ::closedir(d);
    }
    return n;
  }
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteRaw(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

unsigned ModeOf(const std::string& path) {
  struct stat st;
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

// Runs body in a child process (whose limits may be changed freely) and returns its exit status.
int RunInChild(const std::function<int()>& body) {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST(AtomicFile, ReplacesContentKeepingPermissionsAndLeavesNoTemporary) {
  TTempDir dir;
  std::string file = dir / "a.txt";
  WriteRaw(file, "old content");
  ::chmod(file.c_str(), 0640);
  EXPECT_EQ(WriteFileAtomically(file, "new\r\n"), "");
  EXPECT_EQ(ReadAll(file), "new\r\n");
  EXPECT_EQ(ModeOf(file), 0640u);
  EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(AtomicFile, NewFileGetsTheUmaskPermissions) {
  TTempDir dir;
  mode_t old = ::umask(022);
  EXPECT_EQ(WriteFileAtomically(dir / "n.txt", ""), "");
  ::umask(old);
  EXPECT_EQ(ModeOf(dir / "n.txt"), 0644u);
  EXPECT_EQ(ReadAll(dir / "n.txt"), "");
}

TEST(AtomicFile, WritesThroughASymbolicLinkToItsTarget) {
  TTempDir dir;
  ::mkdir((dir / "real").c_str(), 0755);
  WriteRaw(dir / "real/t.txt", "old");
  ASSERT_EQ(::symlink("real/t.txt", (dir / "link.txt").c_str()), 0);
  EXPECT_EQ(WriteFileAtomically(dir / "link.txt", "new"), "");
  struct stat st;
  ASSERT_EQ(::lstat((dir / "link.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ReadAll(dir / "real/t.txt"), "new");
}

TEST(AtomicFile, RewritesInPlaceWhenOnlyTheFileIsWritable) {
  TTempDir dir;
  ::mkdir((dir / "locked").c_str(), 0755);
  std::string file = dir / "locked/f.txt";
  WriteRaw(file, "old");
  ::chown((dir / "locked").c_str(), 65534, 65534);
  ::chown(file.c_str(), 65534, 65534);
  ::chmod(file.c_str(), 0644);
  ::chmod((dir / "locked").c_str(), 0555);
  ::chmod(dir.Path().c_str(), 0755);
  int rc = testing::RunUnprivileged([&] {
    TAtomicFileWriter writer;
    if (!writer.Open(file).empty()) return 1;
    if (!writer.WritingInPlace()) return 2;
    if (!writer.Write("new", 3).empty() || !writer.Commit().empty()) return 3;
    return 0;
  });
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(ReadAll(file), "new");
}

TEST(AtomicFile, UnwritableFolderAndFileReportAnErrorAndKeepTheOldFile) {
  TTempDir dir;
  ::mkdir((dir / "ro").c_str(), 0555);
  std::string file = dir / "ro/f.txt";
  WriteRaw(file, "precious");
  ::chmod(file.c_str(), 0444);
  ::chmod(dir.Path().c_str(), 0755);
  int rc = testing::RunUnprivileged([&] {
    try {
      WriteFileAtomicallyOrThrow(file, "new");
    } catch (const EFileCreateError& e) {
      return std::string(e.what()).find(file) != std::string::npos ? 0 : 2;
    }
    return 1;
  });
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(ReadAll(file), "precious");
}

TEST(AtomicFile, AWriteProtectedFileInAWritableFolderIsNotReplaced) {
  TTempDir dir;
  ::chown(dir.Path().c_str(), 65534, 65534);
  std::string file = dir / "ro.txt";
  WriteRaw(file, "protected");
  ::chown(file.c_str(), 65534, 65534);
  ::chmod(file.c_str(), 0444);
  int rc = testing::RunUnprivileged([&] { return WriteFileAtomically(file, "new").empty() ? 1 : 0; });
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(ReadAll(file), "protected");
  EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(AtomicFile, WriteFailureHalfWayKeepsTheOldFileAndRemovesTheTemporary) {
  TTempDir dir;
  std::string file = dir / "big.txt";
  WriteRaw(file, "precious");
  // A file-size limit makes the kernel refuse the write part-way, as a full disk does.
  int rc = RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error = WriteFileAtomically(file, std::string(3u << 20, 'x'));
    return error.empty() ? 1 : 0;
  });
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(ReadAll(file), "precious");
  EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(AtomicFile, AbandonedWriterLeavesTargetUntouched) {
  TTempDir dir;
  std::string file = dir / "f.txt";
  WriteRaw(file, "old");
  {
    TAtomicFileWriter writer;
    ASSERT_EQ(writer.Open(file), "");
    writer.Write("partial", 7);
  }
  EXPECT_EQ(ReadAll(file), "old");
  EXPECT_EQ(dir.EntryCount(), 1);
  EXPECT_NE(WriteFileAtomically(dir.Path(), "x"), "");  // a folder is not a file
}

}  // namespace
}  // namespace vorn
