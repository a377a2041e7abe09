// StreamWriter: piecewise encoding with the state each code carries between pieces.
#include "textfile/StreamWriter.h"

#include <algorithm>

#include "base/sjis.h"
#include "platform/cp932.h"
#include "encoding/LineSplit.h"
#include "encoding/jconvertInternal.h"

namespace vorn {

namespace {


// Whether JIS writes half-width katakana k and the mark m after it as one character.
constexpr bool MergesWithMark(unsigned char k, unsigned char m) {
  return (m == 0xDE && (k == 0xB3 || (k >= 0xB6 && k <= 0xC4) || (k >= 0xCA && k <= 0xCE))) ||
         (m == 0xDF && k >= 0xCA && k <= 0xCE);
}

// Where the last character of p[0, n) starts, characters taken as every encoder takes them: a
// lead byte with a trail byte is one, a half-width katakana with a mark JIS merges into it is
// one, any other byte is one. Everything before it is complete whatever follows.
std::size_t LastCharStart(const char* p, std::size_t n) {
  std::size_t i = 0, last = 0;
  while (i < n) {
    last = i;
    const auto b = static_cast<unsigned char>(p[i]);
    const auto c = i + 1 < n ? static_cast<unsigned char>(p[i + 1]) : 0;
    i += ((sjis::IsLeadByte(b) && sjis::IsTrailByte(c)) || MergesWithMark(b, c)) ? 2 : 1;
  }
  return last;
}


std::size_t CountChars(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    const auto b = static_cast<unsigned char>(text[i]);
    i += (sjis::IsLeadByte(b) && i + 1 < text.size() && sjis::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) ? 2 : 1;
  }
  return count;
}

std::string_view BreakBytes(TLineBreakKind kind) {
  return kind == lbCR ? "\r" : kind == lbLF ? "\n" : "\r\n";
}

bool Unchanged(TCharCodeKind kind) {
  return kind == ckSjis || kind == ckAscii || kind == ckBinary || kind == ckEucOrSjis;
}

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

TTextStreamWriter::TTextStreamWriter(TLineBreakKind lineBreak, TCharCodeKind charCode,
                                     TByteOutput output, std::size_t piece)
    : lineBreak_(lineBreak), code_(charCode), output_(std::move(output)),
      piece_(std::max<std::size_t>(piece, 1)) {
  buffer_.reserve(piece_ + 8);
}

void TTextStreamWriter::Write(std::string_view text) {
  if (lineBreak_ == lbCRLF || lineBreak_ == lbUnknown) {
    WriteUnconverted(text);
    return;
  }
  while (!text.empty() && error_.empty()) {
    // Break conversion never lengthens the text, so a part of the room's size fits.
    const std::size_t room = buffer_.size() < piece_ ? piece_ - buffer_.size() : 1;
    const std::size_t take = std::min(room, text.size());
    AppendWithBreaks(text.substr(0, take));
    text.remove_prefix(take);
    if (buffer_.size() >= piece_) Flush(false);
  }
}

// Text whose breaks stay as they are needs no copy: whole pieces are encoded straight from the
// part, and only a line the part leaves open waits in the buffer, which is flushed as soon as
// that line's break arrives so that the next piece can again come straight from its part.
void TTextStreamWriter::WriteUnconverted(std::string_view text) {
  while (!text.empty() && error_.empty()) {
    if (buffer_.empty() && text.size() >= piece_) {
      const std::string_view slice = text.substr(0, piece_);
      const std::size_t cut = Unchanged(code_) ? slice.size() : CutPoint(slice.data(), slice.size());
      if (cut > 0) {
        Encode(slice.substr(0, cut));
        text.remove_prefix(cut);
        continue;
      }
    }
    const std::size_t room = buffer_.size() < piece_ ? piece_ - buffer_.size() : 1;
    std::size_t take = std::min(room, text.size());
    bool lineClosed = false;
    if (!buffer_.empty() && text.size() >= piece_) {
      const char* end = text.data() + take;
      const char* q = FindLineByte(text.data(), end, false);
      if (q < end) {
        take = static_cast<std::size_t>(q - text.data()) + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
        lineClosed = true;
      }
    }
    buffer_.append(text.substr(0, take));
    text.remove_prefix(take);
    if (buffer_.size() >= piece_ || lineClosed) Flush(false);
  }
}

std::string TTextStreamWriter::Finish() {
  // The final piece is encoded even when empty: the Unicode codes still write their signature.
  if (error_.empty()) Flush(true);
  if (jisOpen_) Emit(code_ == ckJis ? "\x1B(J" : "\x1B(B");
  jisOpen_ = false;
  if (inSection_) {
    char tail[2] = {0, '-'};
    std::size_t k = 0;
    if (sectionBitCount_ > 0) tail[k++] = kBase64Alphabet[(sectionBits_ << (6 - sectionBitCount_)) & 0x3F];
    tail[k++] = '-';
    Emit(std::string_view(tail, k));
    inSection_ = false;
  }
  return error_;
}

void TTextStreamWriter::AppendWithBreaks(std::string_view text) {
  if (lineBreak_ == lbCRLF || lineBreak_ == lbUnknown) {
    buffer_.append(text);
    return;
  }
  const char* p = text.data();
  const char* end = p + text.size();
  if (skipLf_ && p < end && *p == '\n') ++p;
  skipLf_ = false;
  const std::string_view breakBytes = BreakBytes(lineBreak_);
  while (p < end) {
    const char* q = FindLineByte(p, end, false);
    buffer_.append(p, static_cast<std::size_t>(q - p));
    if (q == end) break;
    buffer_.append(breakBytes);
    if (*q == '\r' && q + 1 == end) skipLf_ = true;
    p = q + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
  }
}

// After the last line break, a byte no character continues past and where no code carries
// state that the next piece could change (a half-width katakana could still take a mark);
// failing that, before the last character, which may be incomplete.
std::size_t TTextStreamWriter::CutPoint(const char* p, std::size_t n) {
  for (std::size_t k = n; k > 0; --k)
    if (p[k - 1] == '\n' || p[k - 1] == '\r') return k;
  return LastCharStart(p, n);
}

void TTextStreamWriter::Flush(bool final) {
  if (Unchanged(code_)) {
    Emit(buffer_);
    buffer_.clear();
    return;
  }
  const std::size_t cut = final ? buffer_.size() : CutPoint(buffer_.data(), buffer_.size());
  if (cut == 0 && !final) return;
  Encode(std::string_view(buffer_.data(), cut));
  buffer_.erase(0, cut);
}

void TTextStreamWriter::Encode(std::string_view piece) {
  using namespace jconv;
  switch (code_) {
    case ckJis: case ckJisAscii: EncodeJis(piece); break;
    case ckEuc:
      encoded_ = SjisToEuc(piece, lost_, std::move(encoded_));
      Emit(encoded_);
      break;
    case ckUtf7: EncodeUtf7(piece); break;
    case ckUnicodeLE: case ckUnicodeBE: case ckUtf8: case ckUtf8N: EncodeStoppingAtNul(piece); break;
    default: Emit(piece); break;
  }
}

// Each piece's JIS ends in single-byte mode; where the text goes on in two-byte mode across the
// cut, the closing designation is held back and the next piece's opening one dropped, which
// leaves exactly the bytes of one pass over the whole text.
void TTextStreamWriter::EncodeJis(std::string_view piece) {
  if (piece.empty()) return;
  const char designation = code_ == ckJis ? 'J' : 'B';
  encoded_ = jconv::SjisToJis(piece, designation, lost_, std::move(encoded_));
  std::string_view out = encoded_;
  if (jisOpen_) {
    if (static_cast<unsigned char>(piece[0]) >= 0x80) out.remove_prefix(3);  // ESC $ B
    else Emit(designation == 'J' ? "\x1B(J" : "\x1B(B");
  }
  // Bytes below 40 are never trail bytes, so such a last byte is a character of its own.
  const auto last = static_cast<unsigned char>(piece.back());
  jisOpen_ = last >= 0x80 ||
             (last >= 0x40 && static_cast<unsigned char>(piece[LastCharStart(piece.data(), piece.size())]) >= 0x80);
  if (jisOpen_) out.remove_suffix(3);  // ESC ( J or ESC ( B
  Emit(out);
}

// UTF-16 and UTF-8 end the text at its first NUL byte, as EncodeText does; what follows is
// counted as lost rather than dropped without a word.
void TTextStreamWriter::EncodeStoppingAtNul(std::string_view piece) {
  using namespace jconv;
  if (stoppedAtNul_) {
    lost_ += CountChars(piece);
    return;
  }
  const std::size_t nul = piece.find('\0');
  if (nul != std::string_view::npos) {
    lost_ += CountChars(piece.substr(nul));
    piece = piece.substr(0, nul);
    stoppedAtNul_ = true;
  }
  const std::size_t signatureSize = code_ == ckUtf8 ? 3 : code_ == ckUtf8N ? 0 : 2;
  switch (code_) {
    case ckUnicodeLE: encoded_ = SjisToUtf16(piece, false, lost_, std::move(encoded_)); break;
    case ckUnicodeBE: encoded_ = SjisToUtf16(piece, true, lost_, std::move(encoded_)); break;
    default: encoded_ = SjisToUtf8(piece, code_ == ckUtf8, lost_, std::move(encoded_)); break;
  }
  std::string_view out = encoded_;
  if (!first_) out.remove_prefix(signatureSize);
  first_ = false;
  Emit(out);
}

// The UTF-7 rules of SjisToUtf7, unit by unit, with the open section's bits kept between
// pieces: one section's base64 is one bit stream, so it may be cut anywhere.
void TTextStreamWriter::EncodeUtf7(std::string_view piece) {
  if (units_.size() < piece.size()) units_.resize(piece.size());
  std::size_t pieceLost = 0;
  const std::size_t count = Cp932ToUtf16(piece, units_.data(), &pieceLost);
  lost_ += pieceLost;
  encoded_.clear();
  for (std::size_t k = 0; k < count; ++k) {
    const char16_t u = units_[k];
    const int cls = jconv::Utf7Class(u);
    if (inSection_ && cls == 1) {
      if (sectionBitCount_ > 0) encoded_ += kBase64Alphabet[(sectionBits_ << (6 - sectionBitCount_)) & 0x3F];
      encoded_ += '-';
      inSection_ = false;
      sectionBits_ = 0;
      sectionBitCount_ = 0;
    }
    if (!inSection_ && cls == 1) {
      encoded_ += static_cast<char>(u);
    } else if (!inSection_ && u == '+') {
      encoded_ += "+-";
    } else {
      if (!inSection_) encoded_ += '+';
      inSection_ = true;
      sectionBits_ = (sectionBits_ << 16 | u) & 0x3FFFFF;
      sectionBitCount_ += 16;
      while (sectionBitCount_ >= 6) {
        sectionBitCount_ -= 6;
        encoded_ += kBase64Alphabet[(sectionBits_ >> sectionBitCount_) & 0x3F];
      }
    }
  }
  Emit(encoded_);
}

void TTextStreamWriter::Emit(std::string_view bytes) {
  if (bytes.empty() || !error_.empty()) return;
  error_ = output_(bytes);
}

}  // namespace vorn
