// Tests of the streaming writer: for every code and line break, any split of the text into
// parts and pieces gives the bytes of the whole-text encoding.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"
#include "textfile/StreamWriter.h"
#include "store/VornEditStrings.h"
#include "TempFolder.h"

namespace vorn {
namespace {

constexpr TCharCodeKind kAllKinds[] = {ckSjis, ckJis, ckJisAscii, ckEuc, ckUnicodeLE,
                                       ckUnicodeBE, ckUtf8, ckUtf8N, ckUtf7};
constexpr TLineBreakKind kAllBreaks[] = {lbCRLF, lbCR, lbLF};

struct TRandom {
  std::uint32_t x;
  std::uint32_t Next() {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
  }
};

// Fragments chosen for the state they touch: two-byte runs and their ends, kana and marks,
// UTF-7 classes, breaks of every form, bytes no code can hold, and the NUL.
std::string RandomText(TRandom& r, std::size_t length, bool withNul) {
  static const char* const kFragments[] = {
      "\x82\xA0", "\x8A\xBF\x8E\x9A", "\xB6", "\xDE", "\xDF", "\xCA", "\xB3", "a", "Zz", "+",
      "!", "-", " ", "~", "\\", "\x1B", "\r", "\n", "\r\n", "\x80", "\xFF", "\x82",
      "\xF0\x40", "\xFB\xFC", "\xFA\x40", "\x81\x40", "\x88\x9F\x88\xA0\x88\x9F", "\t", "."};
  constexpr std::size_t kCount = sizeof kFragments / sizeof kFragments[0];
  std::string text;
  while (text.size() < length) {
    text += kFragments[r.Next() % kCount];
    if (withNul && r.Next() % 97 == 0) text += '\0';
  }
  return text;
}

struct TStreamed {
  std::string bytes;
  std::size_t lost = 0;
};

// Feeds text in random parts to a writer with the given piece size.
TStreamed Stream(const std::string& text, TLineBreakKind lb, TCharCodeKind kind,
                 std::size_t piece, TRandom& r) {
  TStreamed s;
  TTextStreamWriter writer(lb, kind, [&s](std::string_view bytes) {
    s.bytes.append(bytes);
    return std::string();
  }, piece);
  for (std::size_t i = 0; i < text.size();) {
    // Mostly small parts, as rows of an edited document arrive; sometimes parts of many
    // pieces, as a loaded file's rows do, which are encoded without a copy.
    const std::size_t part = 1 + r.Next() % (r.Next() % 4 == 0 ? 300 : 9);
    writer.Write(std::string_view(text).substr(i, part));
    i += part;
  }
  EXPECT_EQ(writer.Finish(), "");
  s.lost = writer.Lost();
  return s;
}

TEST(TextStreamWriter, AnySplitGivesTheWholeTextEncoding) {
  TRandom r{12345};
  for (int round = 0; round < 150; ++round) {
    const std::string text = RandomText(r, r.Next() % 400, round % 3 == 0);
    for (TCharCodeKind kind : kAllKinds)
      for (TLineBreakKind lb : kAllBreaks)
        for (std::size_t piece : {1, 2, 3, 5, 8, 64}) {
          const TStreamed s = Stream(text, lb, kind, piece, r);
          ASSERT_EQ(s.bytes, EncodeText(text, lb, kind))
              << "round " << round << " kind " << kind << " break " << lb << " piece " << piece;
        }
  }
}

TEST(TextStreamWriter, CountsWhatTheWholeTextConversionCounts) {
  TRandom r{777};
  for (int round = 0; round < 100; ++round) {
    const std::string text = RandomText(r, 1 + r.Next() % 100, false);
    for (TCharCodeKind kind : kAllKinds) {
      std::size_t lost = 0;
      ConvertCharCode(text, ckSjis, kind, &lost);
      ASSERT_EQ(Stream(text, lbCRLF, kind, 1 + r.Next() % 7, r).lost, lost) << round << " " << kind;
    }
  }
}

// UTF-16 and UTF-8 end at a NUL byte; the characters left out are counted, never silent.
TEST(TextStreamWriter, TextLeftOutAfterANulIsCounted) {
  TRandom r{1};
  const std::string text = std::string("ab\0\x82\xA0" "c\r\n", 8);
  for (TCharCodeKind kind : {ckUnicodeLE, ckUtf8, ckUtf8N})
    for (std::size_t piece : {1, 3, 100}) {
      const TStreamed s = Stream(text, lbCRLF, kind, piece, r);
      EXPECT_EQ(s.bytes, EncodeText(text, lbCRLF, kind));
      EXPECT_EQ(s.lost, 5u) << "NUL, あ, c, CR, LF";
    }
  EXPECT_EQ(Stream(text, lbCRLF, ckEuc, 2, r).lost, 0u);
}

TEST(TextStreamWriter, StopsAtTheFirstOutputErrorAndReportsIt) {
  int calls = 0;
  TTextStreamWriter writer(lbCRLF, ckUtf8N, [&calls](std::string_view) {
    ++calls;
    return std::string("No space left on device");
  }, 4);
  writer.Write("abc\r\ndef\r\nghi\r\n");
  writer.Write("more");
  EXPECT_EQ(writer.Finish(), "No space left on device");
  EXPECT_EQ(calls, 1);
}

class StreamedSave : public ::testing::Test {
 protected:
  std::string Read(const std::string& path) { return testing::ReadWholeFile(path); }
  testing::TTempFolder temp_{"streamsave"};
  std::string dir_ = temp_.Path();
};

// A line longer than a piece: two-byte runs and base64 sections straddle the 1 MiB cuts, and
// the text ends inside a designation and a section.
TEST_F(StreamedSave, LongLinesWithoutBreaksSaveAsTheWholeTextEncoding) {
  std::string text;
  while (text.size() < 2 * TTextStreamWriter::kDefaultPiece + 4096)
    text += "\x8A\xBF\x8E\x9A\xB6\xDE\x82\xA0!";
  text += "\r\n";
  for (int i = 0; i < 300000; ++i) text += "\x88\x9F";
  TVornEditHeadlessView view;
  view.Lines().SetTextStr(text);
  const std::string whole = view.Lines().GetTextStr();
  for (TCharCodeKind kind : {ckJisAscii, ckUtf7, ckUnicodeBE, ckEuc}) {
    TDocumentFileSettings doc;
    doc.CharCode = kind;
    doc.LineBreak = lbLF;
    const std::string file = dir_ + "/long.txt";
    EXPECT_EQ(WriteDocumentFile(file, doc, view.Lines()), 0u);
    ASSERT_TRUE(Read(file) == EncodeText(whole, lbLF, kind)) << kind;
  }
}

TEST_F(StreamedSave, UnwritableCharactersAreCountedAndCanKeepTheOldFile) {
  TVornEditHeadlessView view;
  view.Lines().SetTextStr("\xFB\xFC\x8B\xB4\r\n\xF0\x40\xF0\x41\r\n");  // 髙橋, two user-defined
  TDocumentFileSettings doc;
  doc.CharCode = ckJisAscii;
  EXPECT_EQ(CountLostOnSave(doc, view.Lines()), 2u);
  const std::string file = dir_ + "/names.txt";
  std::ofstream(file) << "old";
  EXPECT_EQ(WriteDocumentFile(file, doc, view.Lines(), false), 2u);
  EXPECT_EQ(Read(file), "old");
  EXPECT_EQ(WriteDocumentFile(file, doc, view.Lines()), 2u);
  EXPECT_EQ(Read(file), "\x1B$B|b66\x1B(B\r\n\x1B$B!&!&\x1B(B\r\n");
  doc.CharCode = ckUtf8N;
  EXPECT_EQ(CountLostOnSave(doc, view.Lines()), 0u);
}

}  // namespace
}  // namespace vorn
