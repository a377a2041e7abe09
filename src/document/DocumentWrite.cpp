// Writing a document to a file after the read-only, lost-on-read and unencodable questions.
#include "document/DocumentWrite.h"

#include <exception>

#include "platform/VornUtil.h"
#include "textfile/JConvStrList.h"

namespace vorn {

std::string ReadOnlyTargetMessage() { return "上書きするファイルは読みとり専用です。上書きは中止します"; }

std::string LostOnReadQuestion(const TDocumentFileSettings& settings) {
  std::string text;
  if (settings.CharsSubstituted > 0)
    text += "このファイルには、読み込み時に「?」に置き換えた文字が " + std::to_string(settings.CharsSubstituted) +
            " 個あります。\r\n";
  if (settings.NulBytesReplaced > 0)
    text += "このファイルには、読み込み時に空白に置き換えたNUL文字が " +
            std::to_string(settings.NulBytesReplaced) + " 個あります。\r\n";
  return text + "上書きすると、元の文字はファイルからも失われます。上書きしますか";
}

std::string UnencodableQuestion(TCharCodeKind code, std::size_t lost) {
  return std::string("保存する文字コード(") + StatusBarCodeName(code) + ")で表せない文字が " +
         std::to_string(lost) + " 個あります。\r\n代わりの文字に置き換えて保存しますか";
}

std::string SaveErrorMessage(const std::string& reason) { return "ファイル保存エラー\r\n" + reason; }

TWriteOutcome WriteDocumentAs(const TVornDocument& document, const TDocumentFileSettings& settings,
                              const TVornEditStrings& lines, const std::string& name, TDocumentPrompts& prompts) {
  // Judged by the permission bits alone: root may write anything, yet a file its owner made
  // read-only is meant to stay as it is.
  if (FileIsReadOnly(name)) {
    prompts.Warn(ReadOnlyTargetMessage());
    return TWriteOutcome::Declined;
  }
  if (document.LostCharactersOnRead() && SameFileName(name, document.FileName()) &&
      !prompts.ConfirmOkCancel(LostOnReadQuestion(document.FileSettings())))
    return TWriteOutcome::Declined;
  bool declined = false;
  try {
    WriteDocumentFile(name, settings, lines, [&](std::size_t lost) {
      declined = !prompts.ConfirmOkCancel(UnencodableQuestion(settings.CharCode, lost));
      return !declined;
    });
  } catch (const std::exception& e) {
    // EFileCreateError names the file and the system's reason; running out of memory while
    // encoding is reported the same way, with the file untouched.
    prompts.Error(SaveErrorMessage(e.what()));
    return TWriteOutcome::Failed;
  }
  return declined ? TWriteOutcome::Declined : TWriteOutcome::Written;
}

TWriteOutcome WriteDocument(const TVornDocument& document, const TVornEditStrings& lines, const std::string& name,
                            TDocumentPrompts& prompts) {
  return WriteDocumentAs(document, document.FileSettings(), lines, name, prompts);
}

}  // namespace vorn
