// Reading any path: what is not a regular file with real bytes is refused at once, with its
// kind named, and a regular file is read as far as it reached when opened.
#include "platform/FileBytes.h"
#include "platform/ReadableFile.h"

#include "base/VornError.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

namespace vorn {
namespace {

using testing::TTempFolder;

// A listening Unix socket bound at path; closed (not unlinked) with the object.
class TBoundSocket {
public:
  explicit TBoundSocket(const std::string& path) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    ok_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(fd_, 1) == 0;
  }
  ~TBoundSocket() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Ok() const { return ok_; }

private:
  int fd_ = -1;
  bool ok_ = false;
};

struct TRefusedCase {
  std::string path;
  TFileRefusal refusal;
};

// Every kind the reader must not read, each named by the reason, none taking noticeable time
// (a FIFO without a writer or /dev/zero would otherwise hang or eat the memory).
TEST(ReadableFile, EveryKindThatIsNotAFileIsRefusedAtOnceWithItsName) {
  TTempFolder dir("vorn-readable");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  TBoundSocket socket(dir / "sock");
  ASSERT_TRUE(socket.Ok());
  ASSERT_EQ(::symlink("/dev/zero", (dir / "zero-link").c_str()), 0);
  ::mkdir((dir / "sub").c_str(), 0700);
  const std::vector<TRefusedCase> cases = {
      {dir / "sub", frFolder},          {"/dev/zero", frDevice},         {dir / "zero-link", frDevice},
      {dir / "fifo", frFifo},           {dir / "sock", frSocket},        {"/proc/self/mem", frPseudo},
      {"/proc/self/status", frPseudo},  {"/sys/kernel/mm/transparent_hugepage/enabled", frPseudo},
  };
  for (const TRefusedCase& c : cases) {
    if (::access(c.path.c_str(), F_OK) != 0) continue;  // a /sys file this kernel lacks
    SCOPED_TRACE(c.path);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RefusalOfPath(c.path), c.refusal);
    TReadableFile file;
    EXPECT_EQ(file.Open(c.path), c.refusal);
    EXPECT_FALSE(file.IsOpen());
    try {
      ReadFileBytes(c.path);
      ADD_FAILURE() << "read";
    } catch (const EFileOpenError& e) {
      EXPECT_NE(std::string(e.what()).find(RefusalReason(c.refusal)), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  }
}

TEST(ReadableFile, RegularFilesAndMissingPathsAreNotRefused) {
  TTempFolder dir("vorn-readable");
  const std::string path = dir.Write("a.txt", std::string("ab\0cd\r\n", 7));
  EXPECT_EQ(RefusalOfPath(path), frNone);
  EXPECT_EQ(RefusalOfPath(dir / "missing"), frNone);
  const TByteBuffer bytes = ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.Data(), bytes.Size()), std::string("ab\0cd\r\n", 7));
  EXPECT_EQ(ReadFileBytes(dir.Write("empty", "")).Size(), 0u);
  TReadableFile missing;
  EXPECT_EQ(missing.Open(dir / "missing"), frOther);
  EXPECT_EQ(missing.Error(), ENOENT);
  EXPECT_THROW(ReadFileBytes(dir / "missing"), EFileOpenError);
}

// A terabyte that the disk holds as a hole: refused before a byte is read, not after the
// kernel has ended the process.
TEST(ReadableFile, AFileLargerThanTheMemoryLeftIsRefusedBeforeReading) {
  TTempFolder dir("vorn-readable");
  const std::string path = dir / "huge";
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t{1} << 40), 0);
  ::close(fd);
  ASSERT_LT(AvailableMemoryBytes(), std::uint64_t{1} << 40);
  const auto start = std::chrono::steady_clock::now();
  try {
    ReadFileBytes(path);
    ADD_FAILURE() << "read";
  } catch (const EFileOpenError& e) {
    EXPECT_NE(std::string(e.what()).find(RefusalReason(frTooLarge)), std::string::npos) << e.what();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(ReadableFile, FitsInMemoryCountsTheStoreAndAMarginWithoutOverflow) {
  constexpr std::uint64_t MB = 1 << 20;
  EXPECT_TRUE(FitsInMemory(1000 * MB, 0));  // unknown: never refuse
  EXPECT_TRUE(FitsInMemory(800 * MB, 1032 * MB));   // 1.25 x 800 + 32
  EXPECT_FALSE(FitsInMemory(800 * MB, 1031 * MB));
  EXPECT_FALSE(FitsInMemory(~std::uint64_t{0}, ~std::uint64_t{0} / 2));
  EXPECT_TRUE(FitsInMemory(7, 32 * MB + 8));
  EXPECT_TRUE(FitsInMemory(800 * MB, 832 * MB, 8));  // a store of exactly the file
}

// Another program keeps appending while the file is read: the read ends, with the bytes the
// file held when it was opened and nothing torn after them.
TEST(ReadableFile, AFileThatKeepsGrowingIsReadToItsSizeAtOpening) {
  TTempFolder dir("vorn-readable");
  const std::string start(1 << 20, 'a');
  const std::string path = dir.Write("grow", start);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    const std::string more(1 << 16, 'b');
    while (!stop && fd >= 0)
      if (::write(fd, more.data(), more.size()) < 0) break;
    if (fd >= 0) ::close(fd);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const std::uint64_t sizeBefore = std::filesystem::file_size(path);
  const TByteBuffer bytes = ReadFileBytes(path);
  for (int i = 0; i < 500 && std::filesystem::file_size(path) <= bytes.Size(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  stop = true;
  writer.join();
  EXPECT_GE(bytes.Size(), sizeBefore);
  EXPECT_LT(bytes.Size(), std::filesystem::file_size(path));
  EXPECT_EQ(std::string_view(bytes.Data(), start.size()), start);
  EXPECT_EQ(std::string_view(bytes.Data(), bytes.Size()).find_first_not_of("ab"), std::string_view::npos);
}

}  // namespace
}  // namespace vorn
