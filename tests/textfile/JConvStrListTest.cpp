// File pipeline tests: line breaks, byte-exact read/write round trips, backups, TJConvStringList.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "base/Stream.h"
#include "base/VornError.h"
#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"
#include "TempFolder.h"

namespace vorn {
namespace {

class DocumentFile : public ::testing::Test {
protected:
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Make(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  static std::string Read(const std::string& path) { return testing::ReadWholeFile(path); }
  // Reads a file as the editor opens it and writes it back as the editor saves it.
  std::string RoundTrip(const std::string& bytes, TDocumentFileSettings* out = nullptr) {
    std::string file = Make("rt.txt", bytes);
    TVornEditHeadlessView view;
    TDocumentFileSettings doc;
    ReadDocumentFile(file, doc, view.Lines());
    WriteDocumentFile(file, doc, view.Lines());
    if (out) *out = doc;
    return Read(file);
  }

  testing::TTempFolder temp_{"vornpipe"};
  std::string dir_ = temp_.Path();
};

TEST(LineBreaks, DetectionTakesTheFirstBreak) {
  EXPECT_EQ(DetectLineBreak("abc"), lbUnknown);
  EXPECT_EQ(DetectLineBreak(""), lbUnknown);
  EXPECT_EQ(DetectLineBreak("a\nb\r\n"), lbLF);
  EXPECT_EQ(DetectLineBreak("a\r\nb\r"), lbCRLF);
  EXPECT_EQ(DetectLineBreak("a\rb\r\nc\n"), lbCR);
  EXPECT_EQ(DetectLineBreak("a\r"), lbCR);
  EXPECT_STREQ(StatusBarLineBreakName(lbUnknown), "CRLF");
  EXPECT_STREQ(StatusBarLineBreakName(lbLF), "LF");
}

TEST(LineBreaks, ConversionReplacesEveryKindAndEndsAtNul) {
  EXPECT_EQ(ConvertLineBreaks("a\r\nb\rc\nd", lbCRLF, lbLF), "a\nb\nc\nd");
  EXPECT_EQ(ConvertLineBreaks("a\nb", lbLF, lbCRLF), "a\r\nb");
  EXPECT_EQ(ConvertLineBreaks("a\n\rb", lbLF, lbCR), "a\r\rb");
  EXPECT_EQ(ConvertLineBreaks(std::string("a\nb\0c\n", 6), lbLF, lbCRLF), "a\r\nb");
  // Nothing to do: returned unchanged, NUL and all.
  EXPECT_EQ(ConvertLineBreaks(std::string("a\nb\0c", 5), lbLF, lbLF), std::string("a\nb\0c", 5));
  EXPECT_EQ(ConvertLineBreaks("a\nb", lbUnknown, lbCR), "a\nb");
  EXPECT_EQ(ConvertLineBreaksTo("a\nb\r\n", lbCR), "a\rb\r");
}

TEST_F(DocumentFile, EveryBreakKindAndEndingRoundTripsByteForByte) {
  const char* const cases[] = {
      "a\r\nb",        "a\r\nb\r\n",        "a\rb\r",          "a\nb",   "a\nb\n", "",
      "\r\n",          "\n\n\n",            "no break at all", "\x82\xa0\x82\xa2",
      "x\r\n\x88\x9f", "\xb1\xb2\r\n\xb3",  "\x1a\r\n\x1a",
  };
  for (const char* c : cases) EXPECT_EQ(RoundTrip(c), std::string(c)) << c;
}

TEST_F(DocumentFile, ReadSetsKindsAndTheLastRowEnd) {
  TVornEditHeadlessView view;
  TDocumentFileSettings doc;
  ReadDocumentFile(Make("a.txt", "a\r\nb"), doc, view.Lines());
  TVornEditScreenStrings& s = *view.Store();
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(s.RowEnd(1), reTextEnd);
  EXPECT_EQ(doc.CharCode, ckSjis);
  EXPECT_EQ(doc.LineBreak, lbCRLF);
  ReadDocumentFile(Make("e.txt", ""), doc, view.Lines());
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(doc.LineBreak, lbCRLF);
  ReadDocumentFile(Make("n.txt", "one line"), doc, view.Lines());
  EXPECT_EQ(doc.LineBreak, lbCRLF);
  doc.LineBreakGiven = true;
  doc.GivenLineBreak = lbLF;
  ReadDocumentFile(Make("c.txt", "a\r\nb\r\n"), doc, view.Lines());
  EXPECT_EQ(doc.LineBreak, lbLF);
  EXPECT_FALSE(doc.ReadOnly);
}

TEST_F(DocumentFile, MixedBreaksAreSavedWithTheFirstKind) {
  TDocumentFileSettings doc;
  EXPECT_EQ(RoundTrip("a\rb\r\nc\nd", &doc), "a\rb\rc\rd");
  EXPECT_EQ(doc.LineBreak, lbCR);
}

TEST_F(DocumentFile, NulBytesBecomeSpacesAndTheDocumentReadOnly) {
  TDocumentFileSettings doc;
  EXPECT_EQ(RoundTrip(std::string("a\0b\r\n\0", 6), &doc), "a b\r\n ");
  EXPECT_TRUE(doc.ReadOnly);
  EXPECT_EQ(doc.NulBytesReplaced, 2u);
}

TEST_F(DocumentFile, SavingWithLfAndAnotherCodeUsesTheDocumentSettings) {
  TVornEditHeadlessView view;
  view.Lines().SetTextStr("a\r\nb\r\n");
  TDocumentFileSettings doc;
  doc.LineBreak = lbLF;
  std::string file = Path("lf.txt");
  WriteDocumentFile(file, doc, view.Lines());
  EXPECT_EQ(Read(file), "a\nb\n");
  EXPECT_EQ(EncodeText("a\r\nb", lbCR, ckSjis), "a\rb");
  // A NUL inside a row survives the break conversion of a save.
  EXPECT_EQ(EncodeText(std::string("a\0b\r\n", 5), lbLF, ckSjis), std::string("a\0b\n", 4));
}

TEST_F(DocumentFile, BackupKeepsThePreviousContentAndANewFileHasNone) {
  TVornEditHeadlessView view;
  TDocumentFileSettings doc;
  doc.BackupCreate = true;
  std::string file = Make("a.txt", "old\r\n");
  ::chmod(file.c_str(), 0600);
  Make("a.txt.bak", "older\r\n");
  view.Lines().SetTextStr("new\r\n");
  WriteDocumentFile(file, doc, view.Lines());
  EXPECT_EQ(Read(file), "new\r\n");
  EXPECT_EQ(Read(file + ".bak"), "old\r\n");
  struct stat st;
  ::stat(file.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  WriteDocumentFile(Path("fresh.txt"), doc, view.Lines());
  EXPECT_NE(::access(Path("fresh.txt.bak").c_str(), F_OK), 0);
}

TEST_F(DocumentFile, OpenAndCreateFailuresRaiseAndLeaveTheStore) {
  TVornEditHeadlessView view;
  view.Lines().SetTextStr("keep\r\n");
  TDocumentFileSettings doc;
  EXPECT_THROW(ReadDocumentFile(Path("missing.txt"), doc, view.Lines()), EFileOpenError);
  EXPECT_EQ(view.Lines().GetTextStr(), "keep\r\n");
  EXPECT_THROW(WriteDocumentFile(Path("no/such/folder.txt"), doc, view.Lines()), EFileCreateError);
}

TEST_F(DocumentFile, FacadeFileReaderStopsAtEofByteAndKeepsTheLastRowOpen) {
  TVornEditHeadlessView view;
  view.Lines().LoadFromFile(Make("l.txt", "a\r\nb\rc\x1a\r\nd"));
  EXPECT_EQ(view.Store()->Count(), 3);
  EXPECT_EQ(view.Store()->RowEnd(2), reTextEnd);
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nb\r\nc");
  view.Lines().LoadFromFile(Make("m.txt", "a\r\nb\r\n"));
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nb\r\n");
}

TEST(JConvStringList, LinesAndTrailingBreakRoundTrip) {
  TJConvStringList list;
  list.SetTextStr("a\r\nb");
  TMemoryStream in;
  in.Write("a\r\nb", 4);
  in.SetPosition(0);
  list.LoadFromStream(in);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_FALSE(list.TrailingBreak());
  EXPECT_EQ(list.GetTextStr(), "a\r\nb");
  TMemoryStream in2;
  in2.Write("a\r\nb\r\n", 6);
  in2.SetPosition(0);
  list.LoadFromStream(in2);
  EXPECT_TRUE(list.TrailingBreak());
  EXPECT_EQ(list.GetTextStr(), "a\r\nb\r\n");
}

TEST(JConvStringList, NulBytesStayInsideTheirLinesAndADoubleByteEndIsNoBreak) {
  TJConvStringList list;
  list.SetAutoConvert(false);
  TMemoryStream in;
  in.Write("a\0b\n\x82\n", 6);
  in.SetPosition(0);
  list.LoadFromStream(in);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(0), std::string("a\0b", 3));
  // The LF is taken as the second byte of the character started by 0x82.
  EXPECT_FALSE(list.TrailingBreak());
  TJConvStringList empty;
  EXPECT_EQ(empty.GetTextStr(), "");
}

TEST_F(DocumentFile, Utf16KeepsItsNulBytesForConversionAndSavesWithItsSignature) {
  std::string utf16("\xff\xfe" "a\0\r\0\n\0b\0", 10);
  TDocumentFileSettings doc;
  EXPECT_EQ(RoundTrip(utf16, &doc), utf16);
  EXPECT_EQ(doc.CharCode, ckUnicodeLE);
  EXPECT_FALSE(doc.ReadOnly);
}

TEST_F(DocumentFile, Utf16NulCharacterBecomesASpaceInsteadOfEndingTheText) {
  TVornEditHeadlessView view;
  TDocumentFileSettings doc;
  ReadDocumentFile(Make("z.txt", std::string("\xff\xfe" "a\0\0\0b\0", 8)), doc, view.Lines());
  EXPECT_EQ(view.Lines().GetTextStr(), "a b");
  EXPECT_EQ(doc.NulBytesReplaced, 1u);
  EXPECT_TRUE(doc.ReadOnly);
}

// UTF-8 is converted over the file's own bytes: an overlong NUL still must not end the rows,
// and a text whose last character is cut (its output longer than its input) keeps every byte.
TEST_F(DocumentFile, Utf8ReadInPlaceKeepsEveryRowAndCountsLosses) {
  TVornEditHeadlessView view;
  TDocumentFileSettings doc;
  doc.OpenCodeGiven = true;
  doc.OpenCode = ckUtf8N;
  ReadDocumentFile(Make("n.txt", "a\xC0\x80" "b\n\xE3\x81\x82\n\xE3"), doc, view.Lines());
  EXPECT_EQ(view.Lines().GetTextStr(), "a b\r\n\x82\xa0\r\n\x81\x40");
  EXPECT_EQ(doc.NulBytesReplaced, 1u);
  EXPECT_EQ(doc.CharsSubstituted, 2u);
  EXPECT_TRUE(doc.ReadOnly);
}

TEST_F(DocumentFile, Utf8SaveWritesTheSignatureFirst) {
  TVornEditHeadlessView view;
  view.Lines().SetTextStr("\x82\xa0\r\n");
  TDocumentFileSettings doc;
  doc.CharCode = ckUtf8;
  doc.LineBreak = lbLF;
  WriteDocumentFile(Path("u8.txt"), doc, view.Lines());
  EXPECT_EQ(Read(Path("u8.txt")), "\xef\xbb\xbf\xe3\x81\x82\n");
}

TEST(JConvStringList, BinaryLoadsAsNoLinesUnlessKept) {
  std::string bytes("a\0\x01\x02\r\nb\0\0\0", 10);
  TJConvStringList list;
  TMemoryStream in;
  in.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  in.SetPosition(0);
  list.LoadFromStream(in);
  EXPECT_EQ(list.Count(), 0);
  list.SetKeepBinary(true);
  in.SetPosition(0);
  list.LoadFromStream(in);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(1), std::string("b\0\0\0", 4));
}

}  // namespace
}  // namespace vorn
