// Reading a file as text to insert at the caret: detection, conversion, NUL bytes and breaks.
#include "shellcore/InsertFile.h"

#include <algorithm>

#include "base/VornError.h"
#include "platform/FileBytes.h"
#include "platform/VornUtil.h"
#include "textfile/JConvStrList.h"

namespace vorn {

std::optional<TInsertText> ReadFileForInsert(const std::string& name, std::optional<TCharCodeKind> code,
                                             TDocumentPrompts& prompts) {
  if (!IsRegularFile(name)) {
    prompts.Error("ファイル「" + name + "」は存在しません");
    return std::nullopt;
  }
  TByteBuffer bytes;
  try {
    bytes = ReadFileBytes(name);
  } catch (const EVornError& e) {
    prompts.Error(e.what());
    return std::nullopt;
  }
  const std::string_view raw(bytes.Data(), bytes.Size());
  TInsertText result;
  result.code = code ? *code : DetectCharCode(raw);
  if (result.code == ckAscii || result.code == ckBinary) result.code = ckSjis;
  std::string text = result.code == ckSjis ? std::string(raw)
                                           : ConvertCharCode(raw, result.code, ckSjis, &result.charsSubstituted);
  result.nulBytesReplaced = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\0'));
  std::replace(text.begin(), text.end(), '\0', ' ');
  // Inside the document every break is CR LF, whatever mix the file had.
  result.text = ConvertLineBreaks(text, lbLF, lbCRLF);
  return result;
}

}  // namespace vorn
