// Reading one file for grep in bounded pieces of Shift_JIS text that end at line breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "encoding/jconvert.h"

namespace vorn {

// A file of any size is read in pieces of about PieceBytes, so memory stays bounded for a 2 GB
// file as well as for a file that keeps growing: only the size found at opening is read.
// The code is detected on the first piece (at least 1 MiB, the detection window), so a file
// that fits in one piece is read exactly as the editor reads it.
class TGrepFileReader {
public:
  enum TOpenResult { orOpened, orNotRegular, orFailed };

  TGrepFileReader(std::size_t pieceBytes, bool detectCode, bool includeBinary);
  ~TGrepFileReader();
  TGrepFileReader(const TGrepFileReader&) = delete;
  TGrepFileReader& operator=(const TGrepFileReader&) = delete;

  // Folders, FIFOs, devices, sockets and kernel pseudo-files are refused (orNotRegular): reading one could block or never end.
  TOpenResult Open(const std::string& path);
  // The next piece as Shift_JIS text; false when the file is done or reading failed (Failed()).
  // endsMidLine is true when a line longer than the piece bound was cut: the next piece
  // continues the same line.
  bool NextPiece(std::string& text, bool& endsMidLine);
  bool Failed() const { return failed_; }
  // True when nothing is left to read: a piece just returned was the file's last.
  bool AtEnd() const { return raw_.empty() && remaining_ == 0; }
  TCharCodeKind Code() const { return kind_; }
  // UTF-8 pieces are handed over as read (PieceIsUtf8), for a search that converts only the
  // lines it needs; ConvertKept converts one such piece as NextPiece would have.
  void KeepUtf8(bool keep) { keepUtf8_ = keep; }
  bool PieceIsUtf8() const { return keepUtf8_ && detectCode_ && (kind_ == ckUtf8 || kind_ == ckUtf8N); }
  void ConvertKept(std::string& text) const;

private:
  bool Fill(std::size_t want);
  std::size_t CutPoint(std::size_t span) const;
  void ConvertPiece(std::string_view raw, std::string& text);
  void Close();

  std::size_t pieceBytes_;
  bool detectCode_;
  bool includeBinary_;
  int fd_ = -1;
  std::uint64_t remaining_ = 0;  // bytes still to read of the size found at opening
  std::string raw_;              // read but not yet converted
  bool first_ = true;
  bool failed_ = false;
  bool skipAll_ = false;  // a binary file that is not searched
  TCharCodeKind kind_ = ckSjis;
  // The JIS state at the end of the last piece: the final byte of the last designation ('B'
  // for single bytes, '$' for two-byte mode, 'I' for katakana), and whether SO is in force.
  char jisDesignation_ = 'B';
  bool jisShiftedOut_ = false;
  bool keepUtf8_ = false;
};

}  // namespace vorn
