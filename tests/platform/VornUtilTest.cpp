// Tests of the shared utilities: folders, canonical names, sanitising, trimming, file tests.
#include "platform/VornUtil.h"

#include <sys/wait.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/NamedLock.h"
#include "Unprivileged.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class TempDir {
public:
  TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "vornutil-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  std::string Path() const { return path_.string() + "/"; }
  std::string Write(const std::string& rel, const std::string& bytes) const {
    std::string p = Path() + rel;
    fs::create_directories(fs::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

private:
  fs::path path_;
};

TEST(ProgramFolder, IsTheExecutableFolderWhenItIsWritable) {
  TempDir dir;
  EXPECT_EQ(ChooseProgramFolder(dir.Path(), "/home/x/.local/share"), dir.Path());
}

// An install folder that nobody may write: it carries no write bit and its parent none for
// others; the choice is then made in a child that runs without root's rights.
std::string UnwritableInstallFolder(const TempDir& dir) {
  fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  std::string exe = dir.Path() + "bin/";
  fs::create_directories(exe);
  fs::permissions(exe, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  return exe;
}

TEST(ProgramFolder, MovesToTheDataHomeForAReadOnlyInstallAndStaysWhereSettingIs) {
  TempDir dir;
  const std::string exe = UnwritableInstallFolder(dir);
  EXPECT_EQ(testing::RunUnprivileged([&] {
              if (access(exe.c_str(), X_OK) != 0) return 2;  // must be reachable, only not writable
              return ChooseProgramFolder(exe, "/data") == "/data/VornEditor/" ? 0 : 1;
            }),
            0);
  // Shipped settings beside the program keep it portable even when the folder is read-only.
  fs::permissions(exe, fs::perms::owner_write, fs::perm_options::add);
  fs::create_directories(exe + "Setting");
  fs::permissions(exe, fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(testing::RunUnprivileged([&] { return ChooseProgramFolder(exe, "/data") == exe ? 0 : 1; }), 0);
}

// The layout an install makes: however writable the programs' folder is (root, a prefix in
// the home folder), the user's files go to the data home, and the shipped files are found.
TEST(ProgramFolder, AnInstalledProgramUsesTheDataHomeEvenWhereItMayWrite) {
  TempDir dir;
  const std::string exe = dir.Path() + "libexec/VornEditor/";
  fs::create_directories(exe);
  EXPECT_EQ(ChooseProgramFolder(exe, "/data"), exe);  // a writable folder of its own
  fs::create_directories(dir.Path() + "share/VornEditor/Setting");
  EXPECT_EQ(InstallLayoutDataFolder(exe), dir.Path() + "share/VornEditor/");
  EXPECT_EQ(ChooseProgramFolder(exe, "/data"), "/data/VornEditor/");
  fs::create_directories(exe + "Setting");  // a portable copy unpacked there stays portable
  EXPECT_EQ(ChooseProgramFolder(exe, "/data"), exe);
}

TEST(ProgramFolder, ExecutableFolderEndsWithASlashAndHoldsThisTest) {
  std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(fs::exists(folder + "vornutil_tests"));
}

TEST(UserFolder, TakesTheSanitisedFirstLineOfUsrDirDat) {
  TempDir dir;
  dir.Write("UsrDir.dat", "a/b:c\r\nsecond line\r\n");
  EXPECT_EQ(ChooseUserFolder(dir.Path(), "alice"), dir.Path() + "a_b_c/");
}

TEST(UserFolder, ConvertsAShiftJisNameAndKeepsATrailByteThatLooksLikeABackslash) {
  TempDir dir;
  // "表示" in Shift_JIS: the first character's trail byte is 0x5C.
  dir.Write("UsrDir.dat", "\x95\x5c\x8e\xa6\r\n");
  EXPECT_EQ(ChooseUserFolder(dir.Path(), "alice"), dir.Path() + "\xe8\xa1\xa8\xe7\xa4\xba/");
}

TEST(UserFolder, KeepsALineThatIsNotShiftJisAsItWas) {
  TempDir dir;
  dir.Write("UsrDir.dat", "ab\xff\x82\r\n");
  EXPECT_EQ(ChooseUserFolder(dir.Path(), "alice"), dir.Path() + "ab\xff\x82/");
}

TEST(UserFolder, FallsBackToTheLoginNameAndThenToDefault) {
  TempDir dir;
  dir.Write("UsrDir.dat", "\r\n");  // an empty first line does not count
  EXPECT_EQ(ChooseUserFolder(dir.Path(), "bob|x"), dir.Path() + "bob_x/");
  fs::remove(dir.Path() + "UsrDir.dat");
  EXPECT_EQ(ChooseUserFolder(dir.Path(), ""), dir.Path() + "Default/");
}

// A copy of the programs in a folder owned by someone else: the settings cannot live beside it,
// so they go to the user's own data folder; a folder that can be made stays where it is.
TEST(UserFolder, MovesToTheOwnDataFolderWhenTheProgramFolderRefusesIt) {
  TempDir dir;
  const std::string exe = UnwritableInstallFolder(dir);
  const std::string data = dir.Path() + "data/";
  fs::create_directories(data);
  fs::permissions(data, fs::perms::all);
  EXPECT_EQ(testing::RunUnprivileged([&] {
              const TUserFolderChoice moved = MakeUserFolderIn(exe + "someone/", data, "someone");
              if (moved.Refused != exe + "someone/" || moved.Folder != data + "VornEditor/someone/") return 1;
              if (!DirectoryExists(moved.Folder) || access(moved.Folder.c_str(), W_OK) != 0) return 2;
              const TUserFolderChoice kept = MakeUserFolderIn(data + "portable/someone/", data, "someone");
              if (!kept.Refused.empty() || kept.Folder != data + "portable/someone/") return 3;
              if (!DirectoryExists(kept.Folder)) return 4;
              // Nowhere to go: the first choice stands and the writes there report their errors.
              const TUserFolderChoice stuck = MakeUserFolderIn(exe + "someone/", exe, "someone");
              if (!stuck.Refused.empty() || stuck.Folder != exe + "someone/") return 5;
              return 0;
            }),
            0);
  EXPECT_FALSE(fs::exists(exe + "someone"));
}

TEST(UserFolder, IsFixedOnceChosenAndCanBePinned) {
  SetProgramFolderOverride("/opt/vorn");
  SetUserFolderOverride("/opt/vorn/u");
  EXPECT_EQ(ProgramFolder(), "/opt/vorn/");
  EXPECT_EQ(UserFolder(), "/opt/vorn/u/");
  SetUserFolderOverride("");
  SetProgramFolderOverride("");
  EXPECT_EQ(ProgramFolder(), ExecutableFolder());
  std::string first = UserFolder();
  EXPECT_EQ(first.rfind(ProgramFolder(), 0), 0u);
  EXPECT_EQ(UserFolder(), first);
}

TEST(CanonicalFileName, LeavesAMissingPathAbsoluteCleanedAndUnchangedInCase) {
  EXPECT_EQ(CanonicalFileName("/NoSuch/Dir/../File.TXT"), "/NoSuch/File.TXT");
  EXPECT_EQ(CanonicalFileName("/NoSuch//Dir/"), "/NoSuch/Dir");
  std::string rel = CanonicalFileName("no-such-file.txt");
  EXPECT_EQ(rel, (fs::current_path() / "no-such-file.txt").string());
}

TEST(CanonicalFileName, GivesOneNameForALinkADotDotSpellingAndTheFileItself) {
  TempDir dir;
  std::string file = dir.Write("sub/a.txt", "x");
  fs::create_symlink(file, dir.Path() + "link.txt");
  std::string canon = CanonicalFileName(file);
  EXPECT_EQ(CanonicalFileName(dir.Path() + "link.txt"), canon);
  EXPECT_EQ(CanonicalFileName(dir.Path() + "sub/../sub/./a.txt"), canon);
  EXPECT_EQ(CanonicalFileName(dir.Path() + "sub/"), fs::path(canon).parent_path().string());
}

TEST(ResolveShortcut, FollowsALinkAndKeepsTheLinkWhenItsTargetIsGone) {
  TempDir dir;
  std::string file = dir.Write("a.txt", "x");
  fs::create_symlink(file, dir.Path() + "good");
  fs::create_symlink(dir.Path() + "gone.txt", dir.Path() + "dangling");
  EXPECT_EQ(ResolveShortcut(dir.Path() + "good"), CanonicalFileName(file));
  EXPECT_EQ(ResolveShortcut(dir.Path() + "dangling"), dir.Path() + "dangling");
  EXPECT_EQ(ResolveShortcut(file), file);
}

TEST(FileTests, DirectoryAndReadOnly) {
  TempDir dir;
  std::string file = dir.Write("f.txt", "x");
  EXPECT_TRUE(DirectoryExists(dir.Path()));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(DirectoryExists(dir.Path() + "missing"));
  EXPECT_FALSE(FileIsReadOnly(file));
  fs::permissions(file, fs::perms::owner_read);
  EXPECT_TRUE(FileIsReadOnly(file));
  EXPECT_FALSE(FileIsReadOnly(dir.Path() + "missing"));
}

// What the editor may open as a document: a pipe would block the reader until a writer came.
TEST(FileTests, OnlyRegularFilesCountAsFiles) {
  TempDir dir;
  std::string file = dir.Write("f.txt", "x");
  fs::create_symlink(file, dir.Path() + "link");
  fs::create_symlink(dir.Path() + "gone.txt", dir.Path() + "dangling");
  ASSERT_EQ(::mkfifo((dir.Path() + "pipe").c_str(), 0600), 0);
  EXPECT_TRUE(IsRegularFile(file));
  EXPECT_TRUE(IsRegularFile(dir.Path() + "link"));
  EXPECT_FALSE(IsRegularFile(dir.Path()));
  EXPECT_FALSE(IsRegularFile(dir.Path() + "pipe"));
  EXPECT_FALSE(IsRegularFile(dir.Path() + "dangling"));
  EXPECT_FALSE(IsRegularFile(dir.Path() + "missing"));
  EXPECT_FALSE(IsRegularFile(""));
}

TEST(FileTests, AFileUnderAnExclusiveLockIsHeldForWriting) {
  TempDir dir;
  std::string file = dir.Write("f.txt", "x");
  EXPECT_FALSE(FileIsHeldForWriting(file));
  EXPECT_FALSE(FileIsHeldForWriting(dir.Path() + "missing"));
  int fd = open(file.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  EXPECT_TRUE(FileIsHeldForWriting(file));
  flock(fd, LOCK_UN);
  EXPECT_FALSE(FileIsHeldForWriting(file));
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(fd, F_OFD_SETLK, &fl), 0);
  EXPECT_TRUE(FileIsHeldForWriting(file));
  close(fd);
  EXPECT_FALSE(FileIsHeldForWriting(file));
}

TEST(FileTests, AFileLockedByAnotherProcessThroughTheLockLayerIsHeld) {
  const std::string name = "vornutil test " + std::to_string(getpid());
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TNamedLock lock;
    char c = lock.TryAcquire(name) ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    (void)!read(done[0], &c, 1);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  EXPECT_TRUE(FileIsHeldForWriting(NamedLockPath(name)));
  (void)!write(done[1], "x", 1);
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(FileIsHeldForWriting(NamedLockPath(name)));
  for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
  std::remove(NamedLockPath(name).c_str());
}

TEST(HelpFileName, LivesInTheProgramFolder) {
  EXPECT_EQ(HelpFileName(""), ProgramFolder() + "Help/Index.html");
  EXPECT_EQ(HelpFileName("find.html"), ProgramFolder() + "Help/find.html");
}

TEST(ShowHelp, HandsThePageToTheDesktopOpenerAndFailsWithoutOne) {
  TempDir dir;
  const std::string log = dir.Path() + "opened.txt";
  dir.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + log + "'\n");
  fs::permissions(dir.Path() + "bin/xdg-open", fs::perms::owner_all);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (dir.Path() + "bin").c_str(), 1);
  EXPECT_TRUE(ShowHelp("find.html"));
  for (int i = 0; i < 200 && !fs::exists(log); ++i) usleep(10000);
  std::ifstream in(log);
  std::string opened((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(opened, HelpFileName("find.html"));
  setenv("PATH", (dir.Path() + "nothing-here").c_str(), 1);
  EXPECT_FALSE(ShowHelp());
  setenv("PATH", oldPath.c_str(), 1);
}

}  // namespace
}  // namespace vorn
