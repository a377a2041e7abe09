// TBufferedStream: buffering, mode changes, positions, seeks and its misuse messages.
#include <gtest/gtest.h>

#include <string>

#include "base/BufferedStream.h"
#include "base/VornError.h"

namespace vorn {
namespace {

// A memory stream that counts the writes reaching it and may refuse bytes beyond a limit.
class TCountingStream : public TMemoryStream {
public:
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    ++writes;
    std::int64_t room = limit - static_cast<std::int64_t>(Bytes().size());
    return TMemoryStream::Write(buffer, std::max<std::int64_t>(0, std::min(count, room)));
  }
  int writes = 0;
  std::int64_t limit = 1 << 30;
};

std::string Pattern(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

TEST(BufferedStream, WritesFullBuffersAndKeepsTheRestPendingUntilAModeChange) {
  TCountingStream target;
  std::string data = Pattern(10000);
  TBufferedStream stream(target, 4096);
  EXPECT_EQ(stream.Write(data.data(), 10000), 10000);
  EXPECT_EQ(target.writes, 2);
  EXPECT_EQ(target.Bytes().size(), 8192u);
  EXPECT_EQ(stream.Pos(), 1808);
  EXPECT_EQ(stream.Position(), 10000);
  // Reading first writes what is pending.
  stream.Seek(0, soBeginning);
  EXPECT_EQ(target.Bytes(), data);
  char back[10];
  EXPECT_EQ(stream.Read(back, 10), 10);
  EXPECT_EQ(std::string(back, 10), data.substr(0, 10));
  EXPECT_EQ(stream.Position(), 10);
}

TEST(BufferedStream, DestructionWritesPendingBytes) {
  TCountingStream target;
  {
    TBufferedStream stream(target, 4096);
    stream.Write("abc", 3);
    EXPECT_TRUE(target.Bytes().empty());
  }
  EXPECT_EQ(target.Bytes(), "abc");
}

TEST(BufferedStream, MixedReadsAndWritesKeepTheLogicalPosition) {
  TCountingStream target;
  target.Bytes() = Pattern(100);
  TBufferedStream stream(target, 16);
  char buf[100];
  EXPECT_EQ(stream.Read(buf, 5), 5);
  EXPECT_EQ(stream.Position(), 5);
  // Switching to writing gives back the 11 bytes read ahead, so the write lands at 5.
  stream.Write("XY", 2);
  EXPECT_EQ(stream.Position(), 7);
  EXPECT_EQ(stream.Read(buf, 3), 3);
  EXPECT_EQ(target.Bytes().substr(0, 10), "abcdeXYhij");
  EXPECT_EQ(std::string(buf, 3), "hij");
  EXPECT_EQ(stream.Read(buf, 40), 40);
  EXPECT_EQ(stream.Read(buf, 100), 50);
  EXPECT_EQ(stream.Read(buf, 10), 0);
}

TEST(BufferedStream, SeeksFromEveryOrigin) {
  TCountingStream target;
  target.Bytes() = Pattern(50);
  TBufferedStream stream(target, 8);
  EXPECT_EQ(stream.Seek(10, soBeginning), 10);
  EXPECT_EQ(stream.Seek(5, soCurrent), 15);
  EXPECT_EQ(stream.Seek(0, soEnd), 50);
  EXPECT_EQ(stream.Seek(20, soEnd), 30);  // counts backwards from the end
  EXPECT_EQ(stream.Seek32(7, 9), 0);      // an unknown origin goes to the start
  char c;
  stream.Read(&c, 1);
  EXPECT_EQ(c, 'a');
  stream.SetSize(3);
  EXPECT_EQ(target.Bytes(), "abc");
}

TEST(BufferedStream, MisuseRaisesTheThreeMessages) {
  TCountingStream target;
  try {
    TBufferedStream bad(target, 0);
    FAIL();
  } catch (const EBufferedStreamError& e) {
    EXPECT_STREQ(e.what(), "TBufferedStream.Create: バッファサイズが不正です");
  }
  TBufferedStream stream(target, 4);
  char c;
  try {
    stream.Read(&c, -1);
    FAIL();
  } catch (const EBufferedStreamError& e) {
    EXPECT_STREQ(e.what(), "TBufferedStream.Read: Count が負です");
  }
  try {
    stream.Write(&c, -1);
    FAIL();
  } catch (const EBufferedStreamError& e) {
    EXPECT_STREQ(e.what(), "TBufferedStream.Write: Count が負です");
  }
}

TEST(BufferedStream, AShortWriteOfTheTargetReportsOnlyTheBytesItTook) {
  TCountingStream target;
  target.limit = 6;
  TBufferedStream stream(target, 4);
  std::string data = Pattern(12);
  // The first buffer goes in whole, the second only in part: 6 bytes reached the target.
  EXPECT_EQ(stream.Write(data.data(), 12), 6);
  EXPECT_EQ(target.Bytes(), data.substr(0, 6));
}

}  // namespace
}  // namespace vorn
