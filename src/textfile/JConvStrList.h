// JConvStrList: line breaks, the document read and save pipelines, and TJConvStringList.
//
// Errors, textfile: the read pipeline raises EFileOpenError and the save pipeline
// EFileCreateError, each with the user's message and the document or file untouched; what a
// conversion lost is a count in the result, and the caller decides whether to ask.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/Strings.h"
#include "encoding/jconvert.h"

namespace vorn {

class TVornEditStrings;

enum TLineBreakKind : int { lbUnknown = 0, lbCRLF = 1, lbCR = 2, lbLF = 3 };

// "CRLF", "CR", "LF"; lbUnknown shows as "CRLF".
const char* StatusBarLineBreakName(TLineBreakKind kind);

// The kind of the first CR or LF in text; lbUnknown when there is none.
TLineBreakKind DetectLineBreak(std::string_view text);
// Replaces every break (CR LF, lone CR, lone LF) by toKind's bytes unless fromKind is
// lbUnknown or equals toKind. The text ends at its first NUL byte.
std::string ConvertLineBreaks(std::string_view text, TLineBreakKind fromKind, TLineBreakKind toKind);
std::string ConvertLineBreaksTo(std::string_view text, TLineBreakKind toKind);

// The settings of a document file that the pipelines read and write.
struct TDocumentFileSettings {
  TCharCodeKind CharCode = ckSjis;
  TLineBreakKind LineBreak = lbCRLF;
  bool OpenCodeGiven = false;
  TCharCodeKind OpenCode = ckSjis;
  bool LineBreakGiven = false;
  TLineBreakKind GivenLineBreak = lbCRLF;
  bool ReadOnly = false;
  bool BackupCreate = false;
  // Set by a read: what detection answered (or the given code), before ckAscii and ckBinary
  // are stored as ckSjis.
  TCharCodeKind ReadCode = ckSjis;
  // Set by a read: NUL bytes replaced by spaces.
  std::size_t NulBytesReplaced = 0;
  // Set by a read: characters the internal code could not hold.
  std::size_t CharsSubstituted = 0;
};

// The open pipeline. Raises EFileOpenError; leaves lines untouched when reading fails.
void ReadDocumentFile(const std::string& fileName, TDocumentFileSettings& document, TVornEditStrings& lines);
// The save pipeline, through an atomic replace of the file, encoding the rows a piece at a
// time. Returns the number of characters the document's code could not hold exactly; when
// there are any and keepWhenLost is false, the file is left as it was. Raises EFileCreateError.
std::size_t WriteDocumentFile(const std::string& fileName, const TDocumentFileSettings& document,
                              const TVornEditStrings& lines, bool keepWhenLost = true);
// Asked once the count of characters the code cannot hold is known and before anything on
// disk is touched: true writes them as substitutes, false leaves the file (and its backup).
using TAcceptLoss = std::function<bool(std::size_t lost)>;
std::size_t WriteDocumentFile(const std::string& fileName, const TDocumentFileSettings& document,
                              const TVornEditStrings& lines, const TAcceptLoss& acceptLoss);
// How many characters saving lines in the document's code would not write exactly; nothing
// is written.
std::size_t CountLostOnSave(const TDocumentFileSettings& document, const TVornEditStrings& lines);
// The bytes to write for text (CR LF breaks, Shift_JIS) in lineBreak and charCode.
std::string EncodeText(std::string_view text, TLineBreakKind lineBreak, TCharCodeKind charCode);

// A string list that reads files with automatic code conversion (grep, diff).
class TJConvStringList : public TStringList {
public:
  bool AutoConvert() const { return autoConvert_; }
  void SetAutoConvert(bool on) { autoConvert_ = on; }
  bool KeepBinary() const { return keepBinary_; }
  void SetKeepBinary(bool on) { keepBinary_ = on; }
  bool TrailingBreak() const { return trailingBreak_; }
  void SetTrailingBreak(bool on) { trailingBreak_ = on; }

  void LoadFromStream(TStream& stream) override;
  // Cuts text into lines at CR LF, CR or LF, keeping NUL bytes inside their lines.
  void SetTextStr(std::string_view text) override;
  std::string GetTextStr() const override;

private:
  bool autoConvert_ = true;
  bool keepBinary_ = false;
  bool trailingBreak_ = false;
};

}  // namespace vorn
