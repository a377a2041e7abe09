#include "platform/NamedLock.h"
#include "platform/ProcessStart.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace vorn {
namespace {

std::string UniqueName(const char* what) { return std::string("VORNEDITOR TEST ") + what + " " + std::to_string(::getpid()); }

TEST(NamedLock, SecondHolderIsRefusedUntilTheFirstReleases) {
  const auto name = UniqueName("release");
  TNamedLock first, second;
  ASSERT_TRUE(first.TryAcquire(name));
  EXPECT_TRUE(TNamedLock::IsHeld(name));
  EXPECT_FALSE(second.TryAcquire(name));
  first.Release();
  EXPECT_FALSE(TNamedLock::IsHeld(name));
  EXPECT_TRUE(second.TryAcquire(name));
}

TEST(NamedLock, DiesWithItsProcessEvenOnSigkill) {
  const auto name = UniqueName("kill");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TNamedLock lock;
    const char ok = lock.TryAcquire(name) ? 'y' : 'n';
    (void)!::write(ready[1], &ok, 1);
    ::pause();
    ::_exit(0);
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'y');
  EXPECT_TRUE(TNamedLock::IsHeld(name));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  TNamedLock next;
  EXPECT_TRUE(next.TryAcquire(name));
}

TEST(NamedLock, NamesWithSlashesAndSpacesStayInTheRuntimeFolder) {
  const auto path = NamedLockPath("a/b c");
  EXPECT_EQ(path.rfind(RuntimeFolder(), 0), 0u);
  EXPECT_EQ(path.find('/', RuntimeFolder().size() + 1), std::string::npos);
}

// Reads a whole small file; empty when it is not there (yet).
std::string ReadSmallFile(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "r")) {
    char buf[512] = {};
    text = std::string(buf, std::fread(buf, 1, sizeof buf - 1, f));
    std::fclose(f);
  }
  return text;
}

// The child's state letter from /proc, or 0 once the process is gone (reaped).
char ProcessState(pid_t pid) {
  const std::string stat = ReadSmallFile("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t close = stat.rfind(')');
  return close == std::string::npos || close + 2 >= stat.size() ? 0 : stat[close + 2];
}

TEST(StartProgram, RunsInItsOwnSessionWithSplitArgumentsIsReapedAndReportsMissingPrograms) {
  char dir[] = "/tmp/vorn-start-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string out = std::string(dir) + "/out";
  const std::string script = std::string(dir) + "/args.sh";
  {
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    // Its own pid and /proc stat line (pid, name, state, parent, group, session ...), then the arguments.
    std::fprintf(f, "read -r s < /proc/$$/stat; { echo \"$$ $s\"; for a; do printf '%%s|' \"$a\"; done; pwd; } > %s.tmp && mv %s.tmp %s\n",
                 out.c_str(), out.c_str(), out.c_str());
    std::fclose(f);
  }
  pid_t pid = 0;
  const std::string folder = std::string(dir) + "/work";
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  ASSERT_TRUE(StartProgram("/bin/sh", script + " \"a b\" c", nullptr, &pid, TChildReaping::crThread, folder));
  ASSERT_GT(pid, 0);
  std::string text;
  for (int i = 0; i < 300 && text.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    text = ReadSmallFile(out);
  }
  const std::size_t lineEnd = text.find('\n');
  ASSERT_NE(lineEnd, std::string::npos) << text;
  EXPECT_EQ(text.substr(lineEnd + 1), "a b|c|" + folder + "\n") << "the arguments, then the working folder";
  int shownPid = 0, parent = 0, group = 0, session = 0;
  char state = 0;
  ASSERT_EQ(std::sscanf(text.c_str(), "%d %*d %*s %c %d %d %d", &shownPid, &state, &parent, &group, &session), 5) << text;
  EXPECT_EQ(shownPid, pid) << "the pid handed back is the started program's";
  EXPECT_EQ(session, pid) << "the child leads a session of its own";

  // The child has ended; the background wait collects it, so it does not stay a zombie.
  for (int i = 0; i < 300 && ProcessState(pid) != 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ProcessState(pid), 0) << "state " << ProcessState(pid);

  std::string error;
  EXPECT_FALSE(StartProgram("/no/such/program", "", &error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(StartProgram("/bin/sh", script, &error, nullptr, TChildReaping::crThread, folder + "/missing"));
  EXPECT_FALSE(error.empty()) << "a working folder that cannot be entered";
  ::rmdir(folder.c_str());
  std::remove(out.c_str());
  std::remove(script.c_str());
  ::rmdir(dir);
}

}  // namespace
}  // namespace vorn
