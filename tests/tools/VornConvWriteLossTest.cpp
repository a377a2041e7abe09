// vornconv: characters the target code cannot hold, and write errors, reported by exit status;
// the output-error cases run the real program, since only a process has a closed stdout.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "encoding/jconvert.h"
#include "VornConvFixture.h"

namespace vorn {
namespace {

class VornConvWrite : public testing::VornConvFixture {
 protected:
  // Runs the program with its standard output on fd (or closed when fd is -1).
  static int RunProcess(const std::vector<std::string>& args, int fd) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int devNull = ::open("/dev/null", O_WRONLY);
      ::dup2(devNull, 2);
      ::close(devNull);
      if (fd < 0) ::close(1);
      else ::dup2(fd, 1);
      std::vector<char*> argv;
      std::string program = VORN_BIN_DIR "/vornconv";
      argv.push_back(program.data());
      std::vector<std::string> copy = args;
      for (std::string& a : copy) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST_F(VornConvWrite, UserDefinedCharacterInJisIsReportedAndWrittenOnlyWithLossy) {
  const std::string in = Make("names.txt", "\xFB\xFC\x8B\xB4 \xF0\x40\n");
  EXPECT_EQ(Run({"convert", "--from=s", "--to=a", in}), 3);
  EXPECT_EQ(out_.str(), "\x1B$B|b66\x1B(B \x1B$B!&\x1B(B\n") << "standard output gets the text";
  EXPECT_NE(err_.str().find("1 characters cannot be written in JIS(AS)"), std::string::npos) << err_.str();

  const std::string target = Make("out.txt", "previous");
  EXPECT_EQ(Run({"convert", "--from=s", "--to=a", "--output=" + target, in}), 3);
  EXPECT_EQ(Read(target), "previous");
  EXPECT_NE(err_.str().find("nothing written"), std::string::npos) << err_.str();
  EXPECT_EQ(Run({"convert", "--from=s", "--to=a", "--lossy", "--output=" + target, in}), 3);
  EXPECT_EQ(Read(target), "\x1B$B|b66\x1B(B \x1B$B!&\x1B(B\n");
}

TEST_F(VornConvWrite, IbmExtensionsInEucReadBackAsThemselves) {
  const std::string in = Make("names.txt", "\xFB\xFC\x8B\xB4\x92\x86\xFA\xB1\r\n");
  const std::string euc = dir_ + "/names.euc";
  ASSERT_EQ(Run({"convert", "--from=s", "--to=e", "--output=" + euc, in}), 0) << err_.str();
  EXPECT_EQ(Run({"convert", "--from=e", "--to=8", euc}), 0);
  EXPECT_EQ(out_.str(), "\xEF\xBB\xBF\xE9\xAB\x99\xE6\xA9\x8B\xE4\xB8\xAD\xEF\xA8\x91\r\n");
}

TEST_F(VornConvWrite, OddLastByteOfUtf16IsAReadLoss) {
  const std::string in = Make("odd.txt", std::string("\xFF\xFE\x42\x30\x0A\x00\x41", 7));
  EXPECT_EQ(Run({"convert", "--to=s", in}), 3);
  EXPECT_TRUE(out_.str().empty());
}

TEST_F(VornConvWrite, WriteErrorsOfStandardOutputExitTwo) {
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "\x82\xA0\x82\xA2 line\r\n";
  const std::string in = Make("big.txt", big);
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  EXPECT_EQ(RunProcess({"convert", "--from=s", "--to=s", in}, full), 2);
  EXPECT_EQ(RunProcess({"convert", "--from=s", "--to=u", in}, full), 2);
  ::close(full);
  EXPECT_EQ(RunProcess({"convert", "--from=s", "--to=8", in}, -1), 2);
  const int devNull = ::open("/dev/null", O_WRONLY);
  EXPECT_EQ(RunProcess({"convert", "--from=s", "--to=7", in}, devNull), 0);
  ::close(devNull);
}

}  // namespace
}  // namespace vorn
