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

TEST(StartProgram, RunsDetachedWithSplitArgumentsAndReportsMissingPrograms) {
  char dir[] = "/tmp/vorn-start-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string out = std::string(dir) + "/out";
  const std::string script = std::string(dir) + "/args.sh";
  {
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "for a; do printf '%%s|' \"$a\"; done > %s.tmp && mv %s.tmp %s\n", out.c_str(), out.c_str(), out.c_str());
    std::fclose(f);
  }
  ASSERT_TRUE(StartProgram("/bin/sh", script + " \"a b\" c"));
  std::string text;
  for (int i = 0; i < 200 && text.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (FILE* f = std::fopen(out.c_str(), "r")) {
      char buf[64] = {};
      text = std::string(buf, std::fread(buf, 1, sizeof buf - 1, f));
      std::fclose(f);
    }
  }
  EXPECT_EQ(text, "a b|c|");
  std::string error;
  EXPECT_FALSE(StartProgram("/no/such/program", "", &error));
  EXPECT_FALSE(error.empty());
  std::remove(out.c_str());
  std::remove(script.c_str());
  ::rmdir(dir);
}

}  // namespace
}  // namespace vorn
