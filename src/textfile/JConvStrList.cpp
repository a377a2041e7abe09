// JConvStrList: line-break detection and conversion, document read/save pipelines, TJConvStringList.
#include "textfile/JConvStrList.h"

#include <cstring>
#include <unistd.h>

#include "base/Stream.h"
#include "base/TextUtil.h"
#include "base/VornError.h"
#include "base/sjis.h"
#include "platform/AtomicFile.h"
#include "platform/FileCopy.h"
#include "platform/FileBytes.h"
#include "encoding/LineSplit.h"
#include "textfile/StreamWriter.h"
#include "store/VornEditStrings.h"

namespace vorn {

namespace {

std::string_view BreakBytes(TLineBreakKind kind) {
  switch (kind) {
    case lbCR: return "\r";
    case lbLF: return "\n";
    default: return "\r\n";
  }
}

// Replaces every break of text (CR LF, CR, LF) by breakBytes, keeping NUL bytes.
std::string ReplaceBreaks(std::string_view text, std::string_view breakBytes) {
  std::string out;
  out.reserve(text.size());
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* q = FindLineByte(p, end, false);
    out.append(p, static_cast<std::size_t>(q - p));
    if (q == end) break;
    out.append(breakBytes);
    p = q + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
  }
  return out;
}

}  // namespace

const char* StatusBarLineBreakName(TLineBreakKind kind) {
  switch (kind) {
    case lbCR: return "CR";
    case lbLF: return "LF";
    default: return "CRLF";
  }
}

TLineBreakKind DetectLineBreak(std::string_view text) {
  const char* end = text.data() + text.size();
  const char* q = FindLineByte(text.data(), end, false);
  if (q == end) return lbUnknown;
  if (*q == '\n') return lbLF;
  return (q + 1 < end && q[1] == '\n') ? lbCRLF : lbCR;
}

std::string ConvertLineBreaks(std::string_view text, TLineBreakKind fromKind, TLineBreakKind toKind) {
  if (fromKind == lbUnknown || fromKind == toKind) return std::string(text);
  std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return ReplaceBreaks(text, BreakBytes(toKind));
}

std::string ConvertLineBreaksTo(std::string_view text, TLineBreakKind toKind) {
  return ConvertLineBreaks(text, DetectLineBreak(text), toKind);
}

std::string EncodeText(std::string_view text, TLineBreakKind lineBreak, TCharCodeKind charCode) {
  // Saving must not end at a NUL byte the way clipboard conversion does: that would cut the
  // user's file short without a word.
  std::string bytes = (lineBreak == lbCRLF || lineBreak == lbUnknown) ? std::string(text)
                                                                       : ReplaceBreaks(text, BreakBytes(lineBreak));
  if (charCode != ckSjis) bytes = ConvertCharCode(bytes, ckSjis, charCode);
  return bytes;
}

void ReadDocumentFile(const std::string& fileName, TDocumentFileSettings& document, TVornEditStrings& lines) {
  TByteBuffer bytes = ReadFileBytes(fileName);
  TCharCodeKind kind = document.OpenCodeGiven ? document.OpenCode
                                              : DetectCharCode(std::string_view(bytes.Data(), bytes.Size()));
  document.ReadCode = kind;
  document.CharCode = (kind == ckAscii || kind == ckBinary) ? ckSjis : kind;
  document.NulBytesReplaced = 0;
  document.CharsSubstituted = 0;
  const bool utf16 = document.CharCode == ckUnicodeLE || document.CharCode == ckUnicodeBE;
  const bool utf8 = document.CharCode == ckUtf8 || document.CharCode == ckUtf8N;
  if (!utf16 && !utf8) document.NulBytesReplaced = ReplaceNulBytes(bytes.Data(), bytes.Size());
  if (utf8) {
    // Shift_JIS is hardly ever longer than the UTF-8 it comes from, so the file's own buffer
    // takes the text: no second buffer of the file's size, and no fresh memory to fault in.
    // NULs (an overlong form of U+0000 among them) would end the rows early: they become
    // spaces in the same pass.
    document.NulBytesReplaced = Utf8FileToSjisInPlace(bytes, document.CharsSubstituted);
  } else if (document.CharCode != ckSjis) {
    std::size_t substituted = 0;
    std::string text =
        ConvertCharCode(std::string_view(bytes.Data(), bytes.Size()), document.CharCode, ckSjis, &substituted);
    document.CharsSubstituted = substituted;
    // A U+0000 in a UTF-16 file arrives here as a NUL byte, which would end the text when it
    // is split into rows and silently drop the rest of the file.
    document.NulBytesReplaced += ReplaceNulBytes(text.data(), text.size());
    bytes = TByteBuffer(std::move(text));
  }
  if (document.NulBytesReplaced > 0 || document.CharsSubstituted > 0) document.ReadOnly = true;

  std::string_view text(bytes.Data(), bytes.Size());
  TLineBreakKind detected = DetectLineBreak(text);
  document.LineBreak = document.LineBreakGiven ? document.GivenLineBreak : detected == lbUnknown ? lbCRLF : detected;
  bool noFinalBreak = !text.empty() && text.back() != '\r' && text.back() != '\n';
  // One update block: the views and the journal hear of the load once the last row's end is
  // known, and so count the text's length without a break it does not have.
  TVornEditScreenStrings& store = lines.Store();
  store.BeginUpdate();
  try {
    lines.SetTextBuffer(std::move(bytes));
    if (noFinalBreak && store.Count() > 0) store.SetRowEnd(store.Count() - 1, reTextEnd);
  } catch (...) {
    store.EndUpdate();
    throw;
  }
  store.EndUpdate();
}

namespace {

// Keeps the file's present content as name.bak, made as a copy just before the new content
// replaces it: the copy keeps the file's permission bits, and the file itself is never touched
// by the backup. A file rewritten in place has no backup: its folder takes no new file.
void MakeBackup(const std::string& fileName, const TAtomicFileWriter& writer) {
  if (writer.WritingInPlace() || ::access(writer.TargetPath().c_str(), F_OK) != 0) return;
  // A backup that cannot be made is skipped; the save itself goes on.
  CopyFileKeepingMode(writer.TargetPath(), fileName + ".bak");
}

}  // namespace

std::size_t WriteDocumentFile(const std::string& fileName, const TDocumentFileSettings& document,
                              const TVornEditStrings& lines, bool keepWhenLost) {
  return WriteDocumentFile(fileName, document, lines, [keepWhenLost](std::size_t) { return keepWhenLost; });
}

std::size_t WriteDocumentFile(const std::string& fileName, const TDocumentFileSettings& document,
                              const TVornEditStrings& lines, const TAcceptLoss& acceptLoss) {
  TAtomicFileWriter file;
  std::string error = file.Open(fileName);
  std::size_t lost = 0;
  if (error.empty()) {
    // Rows go through the encoder a piece at a time: a large document is never assembled in
    // memory, in any code.
    TTextStreamWriter writer(document.LineBreak, document.CharCode, [&file](std::string_view bytes) {
      return file.Write(bytes.data(), bytes.size());
    });
    lines.WriteText([&writer](std::string_view piece) { writer.Write(piece); });
    error = writer.Finish();
    lost = writer.Lost();
  }
  if (error.empty() && lost > 0 && !acceptLoss(lost)) {
    file.Abort();
    return lost;
  }
  if (error.empty() && document.BackupCreate) MakeBackup(fileName, file);
  if (error.empty()) error = file.Commit();
  if (!error.empty()) throw EFileCreateError(fileName, error);
  return lost;
}

std::size_t CountLostOnSave(const TDocumentFileSettings& document, const TVornEditStrings& lines) {
  TTextStreamWriter writer(document.LineBreak, document.CharCode,
                           [](std::string_view) { return std::string(); });
  lines.WriteText([&writer](std::string_view piece) { writer.Write(piece); });
  writer.Finish();
  return writer.Lost();
}

void TJConvStringList::LoadFromStream(TStream& stream) {
  std::string bytes = ReadToEnd(stream);
  std::string text;
  if (!autoConvert_) {
    text = std::move(bytes);
  } else {
    TCharCodeKind kind = DetectCharCode(bytes);
    if (kind == ckBinary)
      text = keepBinary_ ? std::move(bytes) : std::string();
    else if (kind == ckSjis)
      text = std::move(bytes);
    else
      text = ConvertCharCode(bytes, kind, ckSjis);
  }
  SetTextStr(text);
  bool trailing = false;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = sjis::CharLen(text, i);
    trailing = n == 1 && (text[i] == '\r' || text[i] == '\n');
    i += n;
  }
  trailingBreak_ = trailing;
}

void TJConvStringList::SetTextStr(std::string_view text) {
  BeginUpdate();
  Clear();
  std::vector<std::string>& items = Items();
  ForEachLine(text.data(), text.data() + text.size(), false,
              [&](const char* b, const char* e) { items.emplace_back(b, static_cast<std::size_t>(e - b)); });
  EndUpdate();
}

std::string TJConvStringList::GetTextStr() const {
  const std::vector<std::string>& items = Items();
  std::size_t size = 0;
  for (const std::string& s : items) size += s.size() + 2;
  std::string text;
  text.reserve(size);
  for (std::size_t i = 0; i < items.size(); ++i) {
    text.append(items[i]);
    if (i + 1 < items.size() || trailingBreak_) text.append("\r\n");
  }
  return text;
}

}  // namespace vorn
