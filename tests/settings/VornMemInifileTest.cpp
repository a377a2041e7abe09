// Tests of the in-memory ini file: line rules, lookups, writing back, typed values, locked files.
#include "settings/VornMemInifile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace vorn {
namespace {

namespace fs = std::filesystem;
using TNameList = TCustomIniFile::TNameList;

class IniFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vorninifile-XXXXXX").string();
    dir_ = mkdtemp(tmpl.data());
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
    return PathOf(name);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_;
};

TEST_F(IniFileTest, KeepsBlanksAroundTheEqualsSign) {
  TVornMemInifile ini(Write("a.ini", "[S]\r\nName = value \r\n"));
  EXPECT_EQ(ini.ReadString("S", "Name", "def"), "def");
  EXPECT_EQ(ini.ReadString("S", "Name ", "def"), " value ");
}

TEST_F(IniFileTest, CommentsAndBlankLinesVanishAndEverySectionEndsWithAnEmptyLine) {
  std::string file = Write("a.ini", "top=dropped\r\n;c\r\n[A]\r\n;comment\r\n\r\nx=1\r\n [B]\r\n[B]\r\n[Empty]\r\n");
  TVornMemInifile ini(file);
  ini.UpdateFile();
  EXPECT_EQ(Read(file), "[A]\r\nx=1\r\n [B]\r\n\r\n[B]\r\n\r\n[Empty]\r\n\r\n");
}

TEST_F(IniFileTest, SplitsOnCrLfLoneCrAndLoneLf) {
  TVornMemInifile ini("");
  ini.SetText("[S]\na=1\rb=2\r\n\r\nc=3\n\rd=4");
  TNameList lines;
  ini.ReadSectionValues("S", lines);
  EXPECT_EQ(lines, (TNameList{"a=1", "b=2", "c=3", "d=4"}));
}

TEST_F(IniFileTest, FindsSectionsAndNamesWithoutRegardToAsciiCase) {
  TVornMemInifile ini("");
  ini.SetText("[Editor]\r\nFontName=X\r\n");
  EXPECT_EQ(ini.ReadString("EDITOR", "fontname", ""), "X");
  ini.WriteString("editor", "FONTNAME", "Y");
  TNameList lines;
  ini.ReadSectionValues("Editor", lines);
  EXPECT_EQ(lines, TNameList{"FONTNAME=Y"});
}

TEST_F(IniFileTest, NeverFoldsTheTrailByteOfADoubleByteName) {
  TVornMemInifile ini("");
  // "ア" is 83 41; 83 61 is a different character whose trail byte happens to be "a".
  ini.SetText("[\x83\x41]\r\n\x83\x41=1\r\n");
  EXPECT_EQ(ini.ReadString("\x83\x61", "\x83\x41", "none"), "none");
  EXPECT_EQ(ini.ReadString("\x83\x41", "\x83\x61", "none"), "none");
  EXPECT_EQ(ini.ReadString("\x83\x41", "\x83\x41", "none"), "1");
}

TEST_F(IniFileTest, DuplicateSectionsAreKeptAndTheFirstAnswers) {
  TVornMemInifile ini("");
  ini.SetText("[S]\r\nk=first\r\n[T]\r\n[s]\r\nk=second\r\nk2=x\r\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "first");
  EXPECT_EQ(ini.ReadString("S", "k2", "missing"), "missing");
  ini.WriteString("S", "k2", "y");
  EXPECT_EQ(ini.GetText(), "[S]\r\nk=first\r\nk2=y\r\n\r\n[T]\r\n\r\n[s]\r\nk=second\r\nk2=x\r\n\r\n");
  TNameList names;
  ini.ReadSections(names);
  EXPECT_EQ(names, (TNameList{"S", "T", "s"}));
}

TEST_F(IniFileTest, WritingReplacesTheFirstMatchAndAppendsNewKeysAndSections) {
  std::string file = Write("a.ini", "[S]\r\na=1\r\nnoequals\r\na=2\r\n");
  TVornMemInifile ini(file);
  ini.WriteString("S", "a", "x");
  ini.WriteString("S", "b", "y");
  ini.WriteString("New", "k", "v");
  ini.WriteString("Header only", "k", "v");
  ini.DeleteKey("header ONLY", "K");
  ini.UpdateFile();
  EXPECT_EQ(Read(file), "[S]\r\na=x\r\nnoequals\r\na=2\r\nb=y\r\n\r\n[New]\r\nk=v\r\n\r\n[Header only]\r\n\r\n");
}

TEST_F(IniFileTest, ALineBreakInAWrittenTextCannotForgeALineOrSection) {
  std::string file = PathOf("a.ini");
  TVornMemInifile ini(file);
  ini.WriteString("S", "cmd", "ls\r\n[Other]\r\nk=forged");
  ini.WriteString("T\n[U]", "a\rb", "1");
  ini.UpdateFile();
  TVornMemInifile back(file);
  TNameList names;
  back.ReadSections(names);
  EXPECT_EQ(names, (TNameList{"S", "T"}));
  EXPECT_EQ(back.ReadString("S", "cmd", ""), "ls");
  EXPECT_EQ(back.ReadString("T", "a", ""), "1");
}

TEST_F(IniFileTest, SectionOperations) {
  TVornMemInifile ini("");
  ini.SetText("[A]\r\nk1=v1\r\nbare line\r\n=empty name\r\nk2=v=2\r\n[B]\r\nx=1\r\n");
  TNameList out{"stale"};
  ini.ReadSection("a", out);
  EXPECT_EQ(out, (TNameList{"k1", "", "k2"}));
  EXPECT_EQ(ini.ReadString("A", "k2", ""), "v=2");
  ini.ReadSectionValues("A", out);
  EXPECT_EQ(out, (TNameList{"k1=v1", "bare line", "=empty name", "k2=v=2"}));
  ini.ReadSection("missing", out);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(ini.ValueExists("A", "K1"));
  EXPECT_FALSE(ini.ValueExists("A", "bare line"));
  TStringList list;
  list.Add("stale");
  ini.ReadSectionValues("A", list);
  EXPECT_EQ(list.Items(), (TNameList{"k1=v1", "bare line", "=empty name", "k2=v=2"}));
  ini.ReadSection("A", list);
  EXPECT_EQ(list.Items(), (TNameList{"k1", "", "k2"}));
  ini.EraseSection("a");
  ini.ReadSections(out);
  EXPECT_EQ(out, TNameList{"B"});
  ini.DeleteKey("B", "x");
  EXPECT_EQ(ini.GetText(), "[B]\r\n\r\n");
}

TEST_F(IniFileTest, IntegersAcceptHexAndFallBackToTheDefault) {
  TVornMemInifile ini("");
  ini.SetText("[N]\r\nd=-42\r\nh=0x1F\r\ndollar=$ff\r\nneg=0xFFFFFFFF\r\nbad=12a\r\nbig=2147483648\r\nmin=-2147483648\r\nempty=\r\n");
  EXPECT_EQ(ini.ReadInteger("N", "d", 0), -42);
  EXPECT_EQ(ini.ReadInteger("N", "h", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -1);
  EXPECT_EQ(ini.ReadInteger("N", "bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "big", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "min", 7), -2147483647 - 1);
  EXPECT_EQ(ini.ReadInteger("N", "empty", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "missing", 7), 7);
  ini.WriteInteger("N", "w", -5);
  EXPECT_EQ(ini.ReadString("N", "w", ""), "-5");
}

TEST_F(IniFileTest, BooleansAreWrittenAsOneAndZeroAndAnyNonZeroNumberIsTrue) {
  TVornMemInifile ini("");
  ini.SetText("[B]\r\nt=2\r\nf=0\r\nx=yes\r\n");
  EXPECT_TRUE(ini.ReadBool("B", "t", false));
  EXPECT_FALSE(ini.ReadBool("B", "f", true));
  EXPECT_TRUE(ini.ReadBool("B", "x", true));
  EXPECT_FALSE(ini.ReadBool("B", "missing", false));
  ini.WriteBool("B", "t", true);
  ini.WriteBool("B", "f", false);
  EXPECT_EQ(ini.ReadString("B", "t", ""), "1");
  EXPECT_EQ(ini.ReadString("B", "f", ""), "0");
}

TEST_F(IniFileTest, BinaryFloatDateAndTimeValuesRoundTrip) {
  TVornMemInifile ini("");
  const std::string bytes("\x00\xff\x0a\x5c", 4);
  ini.WriteBinaryStream("V", "bin", bytes);
  EXPECT_EQ(ini.ReadString("V", "bin", ""), "00FF0A5C");
  std::string back;
  ASSERT_TRUE(ini.ReadBinaryStream("V", "bin", back));
  EXPECT_EQ(back, bytes);
  ini.WriteFloat("V", "f", 0.1);
  EXPECT_EQ(ini.ReadFloat("V", "f", 0), 0.1);
  const TDateTime when = 38751 + (13 * 3600 + 5 * 60 + 9) / 86400.0;  // 2006-02-03 13:05:09
  ini.WriteDateTime("V", "dt", when);
  EXPECT_EQ(ini.ReadString("V", "dt", ""), "2006/02/03 13:05:09");
  EXPECT_NEAR(ini.ReadDateTime("V", "dt", 0), when, 1e-9);
  ini.WriteDate("V", "d", when);
  EXPECT_EQ(ini.ReadDate("V", "d", 0), 38751);
  ini.WriteTime("V", "t", when);
  EXPECT_EQ(ini.ReadString("V", "t", ""), "13:05:09");
  EXPECT_EQ(ini.ReadFloat("V", "d", -1), -1);  // "2006/02/03" is no number
  EXPECT_EQ(ini.ReadTime("V", "d", -1), -1);
}

TEST_F(IniFileTest, AnEmptyOrMissingNameOrAFolderGivesAnEmptyObject) {
  TNameList names;
  TVornMemInifile(PathOf("missing.ini")).ReadSections(names);
  EXPECT_TRUE(names.empty());
  TVornMemInifile("").ReadSections(names);
  EXPECT_TRUE(names.empty());
  TVornMemInifile(dir_.string()).ReadSections(names);
  EXPECT_TRUE(names.empty());
}

TEST_F(IniFileTest, DestructionDoesNotWrite) {
  std::string file = Write("a.ini", ";keep\r\n[S]\r\n");
  {
    TVornMemInifile ini(file);
    ini.WriteString("S", "k", "v");
  }
  EXPECT_EQ(Read(file), ";keep\r\n[S]\r\n");
}

TEST_F(IniFileTest, ALockedFileGivesTheOpenErrorAfterTheRetries) {
  std::string file = Write("locked.ini", "[S]\r\nk=v\r\n");
  int fd = open(file.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  auto start = std::chrono::steady_clock::now();
  try {
    TVornMemInifile ini(file, TIniLoadRetry{5, std::chrono::milliseconds(20)});
    ADD_FAILURE() << "no error";
  } catch (const EFileOpenError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("ファイル \"" + file + "\". ", 0), 0u) << e.what();
    EXPECT_NE(std::string(e.what()).find(" は開けません"), std::string::npos);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
  close(fd);
}

TEST_F(IniFileTest, AFileReleasedDuringTheRetriesIsRead) {
  std::string file = Write("locked.ini", "[S]\r\nk=v\r\n");
  int fd = open(file.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  std::thread release([fd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    close(fd);
  });
  TVornMemInifile ini(file);  // the default 51 x 100 ms
  release.join();
  EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
}

TEST_F(IniFileTest, ARecordWriteLockAlsoCountsAsHeld) {
  std::string file = Write("locked.ini", "[S]\r\n");
  int fd = open(file.c_str(), O_RDWR);
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(fd, F_OFD_SETLK, &fl), 0);
  EXPECT_THROW(TVornMemInifile(file, TIniLoadRetry{2, std::chrono::milliseconds(1)}), EFileOpenError);
  close(fd);
}

TEST_F(IniFileTest, UpdateFileReportsAWriteFailure) {
  TVornMemInifile ini(PathOf("no-such-folder/a.ini"));
  ini.WriteString("S", "k", "v");
  EXPECT_THROW(ini.UpdateFile(), EFileCreateError);
}

TEST_F(IniFileTest, JunkAndAHugeSingleLineLoadQuickly) {
  std::string junk;
  for (int i = 0; i < 1 << 16; ++i) junk += static_cast<char>((i * 7919) & 0xff);
  TVornMemInifile a(Write("junk.ini", "[J]\r\n" + junk));
  TNameList names;
  a.ReadSections(names);
  EXPECT_FALSE(names.empty());

  std::string big = "[Big]\r\nk=" + std::string(10 << 20, 'x');
  auto start = std::chrono::steady_clock::now();
  TVornMemInifile b(Write("big.ini", big));
  EXPECT_EQ(b.ReadString("big", "K", "").size(), std::size_t(10) << 20);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace vorn
