// Reading a document file for an editor window.
#include "shellcore/DocumentFile.h"

#include "base/VornError.h"

namespace vorn {

std::string LossyReadMessage(std::size_t charsSubstituted) {
  return "このファイルには、SJISで表せない文字が " + std::to_string(charsSubstituted) +
         " 個あり、「?」に置き換えて表示しています。\r\n"
         "上書き保存で元の文字が失われないよう、上書き禁止で開きました。";
}

std::string ReadDocumentForWindow(const std::string& path, TDocumentFileSettings& document,
                                  TVornEditStrings& lines, std::string& message) {
  message.clear();
  try {
    ReadDocumentFile(path, document, lines);
  } catch (const EVornError& e) {
    return e.what();
  }
  if (document.CharsSubstituted > 0) message = LossyReadMessage(document.CharsSubstituted);
  return {};
}

}  // namespace vorn
