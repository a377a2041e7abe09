// End to end: files in every code read through the document pipeline and vornconv, including
// text that Shift_JIS cannot hold, which must open read-only with its loss counted.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "JconvertTestUtil.h"
#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"
#include "encoding/jconvert.h"
#include "vornconv/VornConv.h"

namespace vorn {
namespace {

using testing::Iconv;

class JconvertFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jconvertXXXXXX";
    dir_ = ::mkdtemp(pattern);
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::string Make(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
    return dir_ + "/" + name;
  }
  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    return RunVornConv(args, out_, err_);
  }

  std::string dir_;
  std::ostringstream out_, err_;
};

struct TLossFile {
  const char* name;
  std::string bytes;
  std::size_t lost;
};

// "café", "😀" and a simplified Chinese character (这), in UTF-8 and both UTF-16 orders; a
// JIS X 0212 character in EUC-JP.
std::vector<TLossFile> LossFiles() {
  std::vector<TLossFile> files;
  const struct { const char* name; const char* utf8; std::size_t lost; } texts[] = {
      {"cafe", "caf\xC3\xA9\n", 1}, {"emoji", "\xF0\x9F\x98\x80 ok\n", 1}, {"zhe", "\xE8\xBF\x99\n", 1}};
  for (const auto& t : texts) {
    files.push_back({t.name, t.utf8, t.lost});
    files.push_back({t.name, "\xFF\xFE" + Iconv(t.utf8, "UTF-8", "UTF-16LE"), t.lost});
    files.push_back({t.name, "\xFE\xFF" + Iconv(t.utf8, "UTF-8", "UTF-16BE"), t.lost});
  }
  // JIS X 0212 as EUC-JP three-byte forms: 丂 has no Shift_JIS form, 日 and 髙 have.
  files.push_back({"x0212", Iconv("\xE4\xB8\x82\xE6\x97\xA5\xE9\xAB\x99\n", "UTF-8", "EUC-JP-MS"), 1});
  return files;
}

TEST_F(JconvertFiles, TextShiftJisCannotHoldOpensReadOnlyWithItsLossCounted) {
  int k = 0;
  for (const TLossFile& f : LossFiles()) {
    const std::string path = Make(std::string(f.name) + std::to_string(k++), f.bytes);
    TVornEditHeadlessView view;
    TDocumentFileSettings doc;
    ReadDocumentFile(path, doc, view.Lines());
    EXPECT_EQ(doc.CharsSubstituted, f.lost) << path;
    EXPECT_TRUE(doc.ReadOnly) << path;
    EXPECT_EQ(Run({"convert", "--to=s", path}), vcLossyRead) << path;
    EXPECT_TRUE(out_.str().empty());
  }
}

TEST_F(JconvertFiles, CafeInUtf8IsDetectedAsUtf8AndLosesItsAccent) {
  const std::string path = Make("cafe.txt", "caf\xC3\xA9\n");
  TVornEditHeadlessView view;
  TDocumentFileSettings doc;
  ReadDocumentFile(path, doc, view.Lines());
  EXPECT_EQ(doc.CharCode, ckUtf8N);
  EXPECT_EQ(view.Lines().GetTextStr(), "caf?\r\n");
  EXPECT_EQ(doc.CharsSubstituted, 1u);
  EXPECT_TRUE(doc.ReadOnly);
}

TEST_F(JconvertFiles, TextWithoutLossOpensWritable) {
  const std::string path = Make("kana.txt", "\xE3\x81\x82\xE3\x81\x84\n");
  TVornEditHeadlessView view;
  TDocumentFileSettings doc;
  ReadDocumentFile(path, doc, view.Lines());
  EXPECT_EQ(doc.CharsSubstituted, 0u);
  EXPECT_FALSE(doc.ReadOnly);
}

TEST_F(JconvertFiles, VornconvDetectNamesEachCode) {
  const std::string& sjis = testing::SampleSjis();
  const struct { const char* name; std::string bytes; } files[] = {
      {"SJIS", sjis},
      {"EUC", Iconv(sjis, "CP932", "EUC-JP")},
      {"JIS(AS)", Iconv(sjis, "CP932", "ISO-2022-JP")},
      {"JIS(RO)", ConvertCharCode(sjis, ckSjis, ckJis)},
      {"UNI(LE)", "\xFF\xFE" + Iconv(sjis, "CP932", "UTF-16LE")},
      {"UNI(BE)", "\xFE\xFF" + Iconv(sjis, "CP932", "UTF-16BE")},
      {"UTF-8", "\xEF\xBB\xBF" + Iconv(sjis, "CP932", "UTF-8")},
      {"UTF-8N", Iconv(sjis, "CP932", "UTF-8")},
      {"UTF-7", ConvertCharCode(sjis, ckSjis, ckUtf7)},
  };
  for (const auto& f : files) {
    const std::string path = Make("f.txt", f.bytes);
    EXPECT_EQ(Run({"detect", path}), vcOk);
    EXPECT_EQ(out_.str(), std::string(f.name) + "\tCRLF\t" + path + "\n");
    EXPECT_EQ(Run({"convert", "--to=s", path}), vcOk) << f.name;
    EXPECT_EQ(out_.str(), sjis) << f.name;
  }
}

}  // namespace
}  // namespace vorn
