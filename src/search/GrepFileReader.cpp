// Grep's file reader: bounded reads, detection on the first piece, cuts at line breaks.
#include "search/GrepFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/ReadableFile.h"

namespace vorn {
namespace {

bool IsWide(TCharCodeKind k) { return k == ckUnicodeLE || k == ckUnicodeBE; }
bool IsUtf8(TCharCodeKind k) { return k == ckUtf8 || k == ckUtf8N; }

// Whether an ill-formed UTF-8 form before the line break at `at` would take the break into its
// character: its conversion then has no break there, and a piece must not end at it. Only
// bytes from C0 up start a form longer than one byte, the longest six.
bool Utf8StepTakes(std::string_view text, std::size_t at) {
  for (std::size_t d = 1; d <= 5 && d <= at; ++d) {
    const unsigned char b = static_cast<unsigned char>(text[at - d]);
    const std::size_t len = b < 0xC0 ? 1 : b <= 0xDF ? 2 : b <= 0xEF ? 3 : b <= 0xF7 ? 4 : b <= 0xFB ? 5 : 6;
    if (len > d) return true;
  }
  return false;
}

// Codes whose bytes are already the Shift_JIS text: converting them would only copy.
bool PassesRaw(TCharCodeKind k) { return k == ckBinary || k == ckSjis || k == ckAscii || k == ckEucOrSjis; }

// The designation a JIS text ends under ('B' single bytes, '$' two-byte, 'I' katakana), given
// the one it started under.
char EndDesignation(std::string_view text, char designation) {
  std::size_t at = text.rfind('\x1b');
  if (at == std::string_view::npos || at + 1 >= text.size()) return designation;
  if (text[at + 1] == '$') return '$';
  if (text[at + 1] == '(') return at + 2 < text.size() && text[at + 2] == 'I' ? 'I' : 'B';
  return designation;
}

// Whether SO (katakana) is in force at the end of a JIS text, given whether it was at its start.
bool EndsShiftedOut(std::string_view text, bool shiftedOut) {
  const std::size_t at = text.find_last_of("\x0e\x0f");
  return at == std::string_view::npos ? shiftedOut : text[at] == '\x0e';
}

}  // namespace

TGrepFileReader::TGrepFileReader(std::size_t pieceBytes, bool detectCode, bool includeBinary)
    : pieceBytes_(std::max<std::size_t>(pieceBytes, 16)), detectCode_(detectCode), includeBinary_(includeBinary) {}

TGrepFileReader::~TGrepFileReader() { Close(); }

void TGrepFileReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

TGrepFileReader::TOpenResult TGrepFileReader::Open(const std::string& path) {
  Close();
  first_ = true;
  failed_ = skipAll_ = false;
  raw_.clear();
  jisDesignation_ = 'B';
  jisShiftedOut_ = false;
  // A socket or a kernel pseudo-file is skipped like a FIFO: opening the one fails, reading
  // the other may never end.
  TReadableFile file;
  const TFileRefusal refusal = file.Open(path);
  if (refusal == frOther && file.Error() != 0) return orFailed;
  if (refusal != frNone) return orNotRegular;
  remaining_ = file.Size();
  fd_ = file.TakeFd();
  return orOpened;
}

// Reads until raw_ holds want bytes or the size found at opening is read.
bool TGrepFileReader::Fill(std::size_t want) {
  while (raw_.size() < want && remaining_ > 0) {
    std::size_t old = raw_.size();
    std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(want - old, remaining_));
    raw_.resize(old + chunk);
    ssize_t got = ::read(fd_, raw_.data() + old, chunk);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) got = 0;
    if (got < 0) {
      raw_.resize(old);
      failed_ = true;
      return false;
    }
    raw_.resize(old + static_cast<std::size_t>(got));
    if (got == 0) remaining_ = 0;  // the file shrank meanwhile
    else remaining_ -= static_cast<std::uint64_t>(got);
  }
  return true;
}

// Where a piece ends: after the last line break in the first `span` bytes of raw_ (a CR only
// when a byte follows it, since that may be its LF), in whole units for UTF-16; 0 when none.
std::size_t TGrepFileReader::CutPoint(std::size_t span) const {
  const std::size_t n = std::min(span, raw_.size());
  if (IsWide(kind_)) {
    const std::size_t hiAt = kind_ == ckUnicodeBE ? 0 : 1;
    for (std::size_t i = (n & ~std::size_t{1}); i >= 2; i -= 2) {
      const char lo = raw_[i - 2 + (1 - hiAt)], hi = raw_[i - 2 + hiAt];
      if (hi != 0 || (lo != '\n' && lo != '\r')) continue;
      if (lo == '\n') return i;
      if (i + 2 > raw_.size()) continue;  // the LF of this CR may still be unread
      const bool lfNext = raw_[i + (1 - hiAt)] == '\n' && raw_[i + hiAt] == 0;
      return lfNext ? i + 2 : i;
    }
    return 0;
  }
  const std::string_view window(raw_.data(), n);
  for (std::size_t end = n; end > 0;) {
    const std::size_t at = window.find_last_of("\r\n", end - 1);
    if (at == std::string_view::npos) return 0;
    end = at;
    if (window[at] == '\r' && at + 1 >= raw_.size()) continue;  // its LF may still be unread
    const bool crLf = window[at] == '\r' ? raw_[at + 1] == '\n' : at > 0 && raw_[at - 1] == '\r';
    const std::size_t breakAt = window[at] == '\n' && crLf ? at - 1 : at;
    if (IsUtf8(kind_) && Utf8StepTakes(raw_, breakAt)) {
      end = breakAt;
      continue;
    }
    return window[at] == '\r' && crLf ? at + 2 : at + 1;
  }
  return 0;
}

void TGrepFileReader::ConvertKept(std::string& text) const { text = ConvertCharCode(text, kind_, ckSjis); }

void TGrepFileReader::ConvertPiece(std::string_view raw, std::string& text) {
  if (!detectCode_ || PassesRaw(kind_) || PieceIsUtf8()) {
    text.assign(raw);
    return;
  }
  if (kind_ != ckJis && kind_ != ckJisAscii) {
    text = ConvertCharCode(raw, kind_, ckSjis);
    return;
  }
  // A two-byte or katakana designation, and an SO, can outlast a line: the next piece starts
  // under them. The byte right after an escape is never read as a further escape, so a piece
  // that opens with one sets its own designation.
  std::string shifted;
  if (jisDesignation_ != 'B' && !raw.empty() && raw[0] != '\x1b')
    shifted = jisDesignation_ == '$' ? "\x1b$B" : "\x1b(I";
  if (jisShiftedOut_) shifted += '\x0e';
  shifted.append(raw);
  jisDesignation_ = EndDesignation(raw, jisDesignation_);
  jisShiftedOut_ = EndsShiftedOut(raw, jisShiftedOut_);
  text = ConvertCharCode(shifted, kind_, ckSjis);
}

bool TGrepFileReader::NextPiece(std::string& text, bool& endsMidLine) {
  text.clear();
  endsMidLine = false;
  if (fd_ < 0 || skipAll_ || failed_) return false;
  if (first_) {
    first_ = false;
    // Detection sees its whole window even when pieces are smaller.
    if (!Fill(std::max(pieceBytes_, DetectLimit + 16))) return false;
    kind_ = detectCode_ ? DetectCharCode(raw_) : ckSjis;
    if (detectCode_ && kind_ == ckBinary && !includeBinary_) {
      skipAll_ = true;
      return false;
    }
  }
  if (!Fill(pieceBytes_)) return false;
  if (raw_.empty()) return false;
  if (remaining_ == 0 && raw_.size() <= pieceBytes_) {
    // Most files are read in one piece: text taken over as read needs no copy.
    if (!detectCode_ || PassesRaw(kind_) || PieceIsUtf8()) text.swap(raw_);
    else ConvertPiece(raw_, text);
    raw_.clear();
    return true;
  }
  // No line break in a whole piece: look up to three pieces further before cutting the line.
  std::size_t cut = CutPoint(pieceBytes_);
  for (std::size_t span = 2 * pieceBytes_; cut == 0 && span <= 4 * pieceBytes_; span += pieceBytes_) {
    if (!Fill(span)) return false;
    cut = CutPoint(span);
  }
  if (cut == 0 && remaining_ == 0 && raw_.size() <= 4 * pieceBytes_) cut = raw_.size();
  if (cut == 0) {
    cut = std::min(raw_.size(), 4 * pieceBytes_);
    if (IsWide(kind_)) cut &= ~std::size_t{1};
    endsMidLine = true;
  }
  ConvertPiece(std::string_view(raw_).substr(0, cut), text);
  raw_.erase(0, cut);
  return true;
}

}  // namespace vorn
