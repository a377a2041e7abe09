// StreamWriter: encodes internal text (Shift_JIS, CR LF breaks) into any code and line break
// a piece at a time, so that saving never builds the whole text or its encoded copy.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "textfile/JConvStrList.h"
#include "encoding/jconvert.h"

namespace vorn {

// Takes encoded bytes; returns an error text, empty on success.
using TByteOutput = std::function<std::string(std::string_view)>;

// Gives the output exactly the bytes EncodeText gives for the whole text, however the text is
// split into parts: the state a code carries between characters (the JIS designation, an open
// UTF-7 base64 section, a CR whose LF is still to come) is kept across pieces.
class TTextStreamWriter {
 public:
  // Small enough that a piece's output (three times its size at most) is still in the cache
  // when it is written out: with 1 MiB pieces the copy into the file cost several times more.
  static constexpr std::size_t kDefaultPiece = std::size_t{1} << 16;

  // piece: about how many bytes of text are encoded at once (any size from 1 up).
  TTextStreamWriter(TLineBreakKind lineBreak, TCharCodeKind charCode, TByteOutput output,
                    std::size_t piece = kDefaultPiece);
  TTextStreamWriter(const TTextStreamWriter&) = delete;
  TTextStreamWriter& operator=(const TTextStreamWriter&) = delete;

  // Takes the next part of the text; parts may end anywhere, even inside a character.
  void Write(std::string_view text);
  // Encodes what is held and closes an open designation or section. Returns the output's
  // first error text, empty when every byte was taken.
  std::string Finish();
  // Characters the code could not hold exactly (written as its default character, or not at
  // all where the code ends the text at a NUL byte).
  std::size_t Lost() const { return lost_; }
  const std::string& Error() const { return error_; }

 private:
  void WriteUnconverted(std::string_view text);
  void AppendWithBreaks(std::string_view text);
  void Flush(bool final);
  static std::size_t CutPoint(const char* p, std::size_t n);
  void Encode(std::string_view piece);
  void EncodeJis(std::string_view piece);
  void EncodeStoppingAtNul(std::string_view piece);
  void EncodeUtf7(std::string_view piece);
  void Emit(std::string_view bytes);

  TLineBreakKind lineBreak_;
  TCharCodeKind code_;
  TByteOutput output_;
  std::size_t piece_;
  std::string buffer_;
  std::string error_;
  std::size_t lost_ = 0;
  bool skipLf_ = false;       // the last part ended in CR: an LF first in the next is its pair
  bool first_ = true;         // the signature is still to be written
  bool jisOpen_ = false;      // the last piece ended in two-byte mode; its ESC ( D is held back
  bool stoppedAtNul_ = false; // UTF-16 and UTF-8 end the text at its first NUL
  bool inSection_ = false;    // UTF-7: a base64 section is open
  unsigned sectionBits_ = 0;
  int sectionBitCount_ = 0;
  std::vector<char16_t> units_;
  std::string encoded_;
};

}  // namespace vorn
