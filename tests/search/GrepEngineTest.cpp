// Grep runs over generated trees: result layout, edge cases, and random runs against a plain model.
#include <dirent.h>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "GrepTestUtil.h"
#include "regex/BregexpUtil.h"
#include "search/FileMask.h"
#include "search/GrepEngine.h"
#include "search/GrepResultText.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

using test::TCollectSink;
using test::TTempTree;

std::unique_ptr<TBregexpObj> Pattern(const std::string& text, bool regex = false, bool ignoreCase = false,
                                     bool word = false, bool fuzzy = false) {
  auto p = std::make_unique<TBregexpObj>();
  p->SetPattern(text);
  p->SetPlainText(!regex);
  p->SetIgnoreCase(ignoreCase);
  p->SetWholeWord(word);
  p->SetFuzzy(fuzzy);
  return p;
}

TGrepSummary RunGrep(const TBregexpObj& pattern, TGrepOptions options, TCollectSink& sink, TGrepEngine** keep = nullptr) {
  TGrepEngine engine(pattern, std::move(options));
  std::string message;
  EXPECT_TRUE(engine.Prepare(message)) << message;
  if (keep) *keep = &engine;
  return engine.Run(sink);
}

std::vector<std::string> Body(const TCollectSink& sink) { return {sink.Lines.begin() + 4, sink.Lines.end()}; }

TGrepOptions In(const TTempTree& tree, const std::string& mask = "*.*") {
  TGrepOptions o;
  o.BaseFolder = tree.Root();
  o.FileMask = mask;
  return o;
}

TEST(GrepResultText, HeaderQuotesTheConditionWithInnerQuotesDoubled) {
  auto p = Pattern("say \"hi\"", false, true, true);
  TGrepOptions o;
  o.FileMask = "*.c;\"odd\".h";
  o.SubFolders = true;
  o.IncludeBinary = true;
  auto lines = GrepHeaderLines(*p, o);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], std::string(80, '='));
  EXPECT_EQ(lines[1], "    GREP\x8c\x9f\x8d\xf5\x8c\x8b\x89\xca");
  EXPECT_EQ(lines[2], "    Grep(\"say \"\"hi\"\"\",\"*.c;\"\"odd\"\".h\",1,0,1,0,0,1)");
  EXPECT_EQ(lines[3], lines[0]);
}

TEST(GrepResultText, MaskResolvesAgainstBaseAndGetsEveryFileWithoutNamePart) {
  EXPECT_EQ(ResolveGrepTarget("src/", "/w").Folder, "/w/src/");
  EXPECT_EQ(ResolveGrepTarget("src/", "/w").Masks, "*.*");
  EXPECT_EQ(ResolveGrepTarget("src\\*.c;*.h", "/w").Masks, "*.c;*.h");
  EXPECT_EQ(ResolveGrepTarget("/abs/../x/*.txt", "/w").Folder, "/x/");
  // a name Shift_JIS cannot hold is shown with the default character, never dropped
  EXPECT_EQ(GrepDisplayPath("a\xc3\xa9.txt").size(), std::string("a?.txt").size());
}

TEST(FileMask, WindowsConventionsIgnoringCase) {
  EXPECT_TRUE(MatchesFileMask("Makefile", "*.*"));
  EXPECT_TRUE(MatchesFileMask("a.C", "*.c"));
  EXPECT_FALSE(MatchesFileMask("a.cc", "*.c"));
  EXPECT_TRUE(MatchesFileMask("README", "*."));
  EXPECT_FALSE(MatchesFileMask("a.txt", "*."));
  EXPECT_TRUE(MatchesFileMask("ab.txt", "a?.t*"));
  EXPECT_FALSE(MatchesFileMask(std::string(60, 'a'), std::string(30, '*') + "b"));
  EXPECT_EQ(SplitMaskList(";*.c;;*.h;"), (std::vector<std::string>{"*.c", "*.h"}));
}

TEST(GrepEngine, LayoutRelativePathsHitsAndFiles) {
  TTempTree tree;
  tree.Write("top.txt", "none\r\nfoo foo foo foo foo\r\n");
  std::string eleven;
  for (int i = 0; i < 11; ++i) eleven += "line\n";
  tree.Write("sub/x.txt", eleven + "the foo\n");
  auto p = Pattern("foo");
  TGrepOptions o = In(tree);
  o.SubFolders = true;
  o.RelativePath = true;
  TCollectSink sink;
  TGrepSummary s = RunGrep(*p, o, sink);
  EXPECT_EQ(Body(sink), (std::vector<std::string>{"top.txt(2):foo foo foo foo foo", "sub/x.txt(12):the foo"}));
  EXPECT_EQ(sink.Paths.back(), tree.Path("sub/x.txt"));
  EXPECT_EQ(s.HitCount, 6);
  EXPECT_EQ(s.FileCount, 2);

  o.RelativePath = false;
  o.MatchedTextOnly = true;
  TCollectSink bare;
  RunGrep(*p, o, bare);
  EXPECT_EQ(Body(bare), (std::vector<std::string>{"foo foo foo foo foo", "the foo"}));
}

TEST(GrepEngine, MasksSearchTwiceAndMaskWithoutNamePartTakesEveryFile) {
  TTempTree tree;
  tree.Write("sub/x.c", "hit\n");
  tree.Write("sub/y.h", "hit\n");
  tree.Write("sub/z.txt", "hit\n");
  auto p = Pattern("hit");
  TCollectSink twice;
  TGrepSummary s = RunGrep(*p, In(tree, "sub/*.c;x.*;*.h"), twice);
  EXPECT_EQ(Body(twice).size(), 3u);
  EXPECT_EQ(s.HitCount, 3);
  EXPECT_EQ(s.FileCount, 3);  // counted per search, as a file searched twice is listed twice
  TCollectSink all;
  RunGrep(*p, In(tree, "sub/"), all);
  EXPECT_EQ(Body(all).size(), 3u);
}

TEST(GrepEngine, MultiLinePatternShowsTheLineAndTheNext) {
  TTempTree tree;
  tree.Write("m.txt", "xa\r\nbx\r\na\r\nc\r\n");
  auto p = Pattern("a\\r\\nb", true);
  TCollectSink sink;
  RunGrep(*p, In(tree), sink);
  ASSERT_EQ(Body(sink).size(), 1u);
  EXPECT_EQ(Body(sink)[0], tree.Path("m.txt") + "(1):xa\r\nbx");
}

TEST(GrepEngine, BinaryFilesSkippedOrIncludedWithNulAsBlank) {
  TTempTree tree;
  tree.Write("b.bin", std::string("key\0word\nkey", 12));
  auto p = Pattern("key");
  TCollectSink skipped;
  EXPECT_EQ(RunGrep(*p, In(tree), skipped).HitCount, 0);
  TGrepOptions o = In(tree);
  o.IncludeBinary = true;
  TCollectSink kept;
  EXPECT_EQ(RunGrep(*p, o, kept).HitCount, 2);
  EXPECT_EQ(Body(kept)[0], tree.Path("b.bin") + "(1):key word");
}

TEST(GrepEngine, UnreadableEntriesGiveErrorLinesAndTheRunGoesOn) {
  TTempTree tree;
  tree.Write("a/ok.txt", "hit\n");
  ASSERT_EQ(::symlink("loop", tree.Path("a/loop").c_str()), 0);       // ELOOP even for root
  ASSERT_EQ(::symlink(".", tree.Path("a/up").c_str()), 0);            // folder cycle
  ASSERT_EQ(::mkfifo(tree.Path("a/fifo").c_str(), 0600), 0);          // never opened for reading
  // Skipped without an error line: a socket (open fails), endless bytes, a kernel pseudo-file.
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, tree.Path("a/sock.txt").c_str(), sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::symlink("/dev/zero", tree.Path("a/zero.txt").c_str()), 0);
  ASSERT_EQ(::symlink("/proc/self/environ", tree.Path("a/environ.txt").c_str()), 0);
  auto p = Pattern("hit");
  TGrepOptions o = In(tree, "a/*.*");
  o.SubFolders = true;
  TCollectSink sink;
  TGrepSummary s = RunGrep(*p, o, sink);
  EXPECT_EQ(s.HitCount, 1);
  const std::string errorTail = " \x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86\x82\xc9\x83\x47\x83\x89\x81\x5b"
                                "\x82\xaa\x8b\x4e\x82\xab\x82\xdc\x82\xb5\x82\xbd";
  std::vector<std::string> body = Body(sink);
  EXPECT_NE(std::find(body.begin(), body.end(), "\x81\xa1 " + tree.Path("a/loop") + errorTail), body.end());
  EXPECT_NE(std::find(body.begin(), body.end(), "\x81\xa1 " + tree.Path("a/up") + errorTail), body.end());
  EXPECT_EQ(body.size(), 3u);
  ::close(sock);
}

TEST(GrepEngine, ZeroLengthMatchesAdvanceAndCountOncePerPosition) {
  TTempTree tree;
  tree.Write("z.txt", "abc\n\nd\n");
  auto p = Pattern("x*", true);
  TCollectSink sink;
  TGrepSummary s = RunGrep(*p, In(tree), sink);
  EXPECT_EQ(s.HitCount, 4 + 2);  // every position of "abc" and its end, of "d" and its end
  EXPECT_EQ(Body(sink).size(), 2u);
}

TEST(GrepEngine, LineLongerThanEveryPieceIsSearchedInBoundedPieces) {
  TTempTree tree;
  std::string line(5000, 'q');
  line.replace(100, 3, "hit");
  tree.Write("long.txt", line + "\nhit\n");
  auto p = Pattern("hit");
  TGrepOptions o = In(tree);
  o.PieceBytes = 512;
  TCollectSink sink;
  TGrepSummary s = RunGrep(*p, o, sink);
  EXPECT_EQ(s.HitCount, 2);
  ASSERT_EQ(Body(sink).size(), 2u);
  EXPECT_EQ(Body(sink)[1], tree.Path("long.txt") + "(2):hit");
}

// Half-width katakana in JIS, under ESC ( I and between SO and SI, each spanning a line break:
// a piece that starts inside them still reads them as katakana.
TEST(GrepEngine, JisKatakanaShiftsOutlastTheirPieces) {
  TTempTree tree;
  std::string text = "\x1b$BF|K\\\x1b(B\r\n\x1b(I6@\r\n";  // 日本 / ｶﾀ
  for (int i = 0; i < 8; ++i) text += "6E\r\n";                // ｶﾅ under ESC ( I
  text += "\x1b(Bx\x0e" "1\r\n";                               // x then ｱ after SO
  for (int i = 0; i < 8; ++i) text += "2\r\n";                 // ｲ, still shifted out
  text += "\x0f" "2\r\n";                                       // "2" after SI
  tree.Write("k.jis", text);
  for (std::size_t piece = 16; piece < 64; ++piece) {
    TGrepOptions o = In(tree);
    o.PieceBytes = piece;
    for (const auto& [pattern, hits] : {std::pair<const char*, int>{"\xb6\xc5", 8}, {"\xb2", 8}, {"\xb1", 1}, {"2", 1}}) {
      auto p = Pattern(pattern);
      TCollectSink sink;
      EXPECT_EQ(RunGrep(*p, o, sink).HitCount, hits) << pattern << " piece " << piece;
    }
  }
}

TEST(GrepEngine, CancelDeliversAPrefixOfTheFullResult) {
  TTempTree tree;
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "hit " + std::to_string(i) + "\n";
  for (int f = 0; f < 20; ++f) tree.Write("f" + std::to_string(f) + ".txt", text);
  auto p = Pattern("hit");
  TGrepOptions o = In(tree);
  o.ProgressIntervalMs = 1;
  TCollectSink full;
  RunGrep(*p, o, full);
  TGrepEngine engine(*p, o);
  std::string message;
  ASSERT_TRUE(engine.Prepare(message));
  TCollectSink part;
  part.OnProgress = [&](const TGrepProgress&) { engine.Cancel(); };
  TGrepSummary s = engine.Run(part);
  EXPECT_TRUE(s.Cancelled);
  ASSERT_LT(part.Lines.size(), full.Lines.size());
  EXPECT_TRUE(std::equal(part.Lines.begin(), part.Lines.end(), full.Lines.begin()));
  EXPECT_EQ(static_cast<std::size_t>(s.HitCount), part.Lines.size() - 4);
}

}  // namespace
}  // namespace vorn
