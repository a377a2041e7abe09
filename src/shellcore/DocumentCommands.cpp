// The document commands of an editor window over the document, its lines and injected prompts.
#include "shellcore/DocumentCommands.h"

#include "document/DocumentWrite.h"
#include "base/VornError.h"
#include "platform/ReadableFile.h"
#include "platform/VornUtil.h"
#include "shellcore/DocumentFile.h"

namespace vorn {

namespace {

// Restores a flag on every way out of a scope.
struct TFlagGuard {
  bool& flag;
  explicit TFlagGuard(bool& f) : flag(f) { flag = true; }
  ~TFlagGuard() { flag = false; }
};

}  // namespace

std::string TDocumentCommands::QuerySaveText(const std::string& fileName) {
  return "ファイル「 " + (fileName.empty() ? std::string("無題") : fileName) + " 」は変更されています。保存しますか";
}

std::string TDocumentCommands::ChangedOnDiskText(const std::string& fileName) {
  return fileName + "は、他のアプリケーションに書き換えられました。" + "読み直しますか";
}

std::string TDocumentCommands::DeletedOnDiskText(const std::string& fileName) {
  return fileName + "は、他のアプリケーションによって削除されました。\r\n" +
         "編集中の内容は、保存すると同じ名前で新しく作成されます。";
}

std::string TDocumentCommands::OverwriteQuestion(const std::string& name) {
  return "ファイル「" + name + "」は存在します。" + "上書きしますか";
}

std::string TDocumentCommands::RenameQuestion(const std::string& name) {
  return "ファイル「" + name + "」は存在します。" + "ファイル名を変更してもいいですか";
}

bool TDocumentCommands::LoadDocument(const std::string& name) {
  if (const TFileRefusal refusal = RefusalOfPath(name); refusal != frNone) {
    prompts_.Error(EFileOpenError(name, RefusalReason(refusal)).what());
    return false;
  }
  if (!IsRegularFile(name)) {
    prompts_.Warn("そのファイルは存在しません。読み込みを中止します");
    return false;
  }
  TDocumentFileSettings settings = document_.FileSettings();
  settings.ReadOnly = false;
  std::string lossMessage;
  const std::string error = ReadDocumentForWindow(name, settings, lines_, lossMessage);
  if (!error.empty()) {
    prompts_.Error(error);
    return false;
  }
  settings.ReadOnly = settings.ReadOnly || FileIsReadOnly(name);
  if (FileIsHeldForWriting(name)) {
    prompts_.Warn("ファイルは、別のプロセスによって上書きが禁止されています");
    settings.ReadOnly = true;
  }
  document_.FileSettings() = settings;
  document_.SetFileName(name);
  document_.TakeStamp();
  deletionReported_ = false;
  document_.MarkSaved();
  if (!lossMessage.empty()) prompts_.Warn(lossMessage);
  return true;
}

bool TDocumentCommands::QuerySave() {
  switch (prompts_.AskYesNoCancel(QuerySaveText(document_.FileName()))) {
    case TPromptAnswer::No: return true;
    case TPromptAnswer::Yes: return SaveDocument();
    default: return false;
  }
}

bool TDocumentCommands::SaveDocument() {
  if (document_.FileName().empty()) {
    if (!chooseSaveAs_) return false;
    const std::optional<TSaveAsRequest> request = chooseSaveAs_();
    return request && SaveDocumentAs(*request);
  }
  if (document_.FileSettings().ReadOnly) {
    // A pane made read-only by the user stays quiet, but a save refused because of the file
    // itself says why: Ctrl+S that does nothing looks like a save that happened.
    if (FileIsReadOnly(document_.FileName())) prompts_.Warn(ReadOnlyTargetMessage());
    return false;
  }
  if (WriteDocument(document_, lines_, document_.FileName(), prompts_) != TWriteOutcome::Written) return false;
  AdoptSavedFile(document_.FileName(), document_.FileSettings());
  return true;
}

bool TDocumentCommands::SaveDocumentAs(const TSaveAsRequest& request) {
  if (request.name.empty()) return false;
  if (request.askWhenExists && IsRegularFile(request.name) &&
      !prompts_.ConfirmOkCancel(OverwriteQuestion(request.name)))
    return false;
  TDocumentFileSettings settings = document_.FileSettings();
  if (request.code) {
    settings.CharCode = request.code->charCode;
    settings.LineBreak = request.code->lineBreak;
    settings.OpenCodeGiven = request.code->openCodeGiven;
    if (settings.OpenCodeGiven) settings.OpenCode = request.code->charCode;
    settings.LineBreakGiven = request.code->lineBreakGiven;
    if (settings.LineBreakGiven) settings.GivenLineBreak = request.code->lineBreak;
  }
  if (WriteDocumentAs(document_, settings, lines_, request.name, prompts_) != TWriteOutcome::Written) return false;
  if (!browseMode_ && !SameFileName(request.name, document_.FileName())) settings.ReadOnly = false;
  AdoptSavedFile(request.name, settings);
  return true;
}

void TDocumentCommands::AdoptSavedFile(const std::string& name, const TDocumentFileSettings& settings) {
  document_.FileSettings() = settings;
  document_.ForgetReadLosses();
  document_.SetFileName(name);
  document_.TakeStamp();
  deletionReported_ = false;
  document_.MarkSaved();
}

bool TDocumentCommands::Reload() {
  if (document_.FileName().empty()) return false;
  if (document_.Modified() && !prompts_.ConfirmOkCancel("現在の変更を破棄します。よろしいですか")) return false;
  if (!IsRegularFile(document_.FileName())) return false;
  return LoadDocument(document_.FileName());
}

bool TDocumentCommands::ReloadWithCode(std::optional<TCharCodeKind> code, const std::string& chosenName) {
  if (document_.FileName().empty()) return false;
  if (document_.Modified() && !prompts_.ConfirmOkCancel("現在の変更を破棄します。よろしいですか")) return false;
  const std::string name = chosenName.empty() ? document_.FileName() : chosenName;
  if (!IsRegularFile(name)) return false;
  TDocumentFileSettings& settings = document_.FileSettings();
  const TDocumentFileSettings before = settings;
  // Automatic detection after a fixed code frees the line break too: it was fixed with the code.
  if (!code && settings.OpenCodeGiven) settings.LineBreakGiven = false;
  settings.OpenCodeGiven = code.has_value();
  if (code) settings.OpenCode = *code;
  if (LoadDocument(name)) return true;
  document_.FileSettings() = before;
  return false;
}

bool TDocumentCommands::Rename(const std::string& name, bool askWhenExists) {
  if (name.empty()) return false;
  if (askWhenExists && IsRegularFile(name) && !prompts_.ConfirmOkCancel(RenameQuestion(name))) return false;
  document_.SetFileName(name);
  // No file of the new name was read: there is nothing to compare with until the next save.
  document_.ForgetStamp();
  document_.ResetHistoryAsUnsaved();
  return true;
}

bool TDocumentCommands::ChangeSaveCode(const TSaveCodeChoice& choice) {
  TDocumentFileSettings& settings = document_.FileSettings();
  const bool changed = settings.CharCode != choice.charCode || settings.LineBreak != choice.lineBreak;
  settings.CharCode = choice.charCode;
  settings.LineBreak = choice.lineBreak;
  settings.OpenCodeGiven = choice.openCodeGiven;
  if (choice.openCodeGiven) settings.OpenCode = choice.charCode;
  settings.LineBreakGiven = choice.lineBreakGiven;
  if (choice.lineBreakGiven) settings.GivenLineBreak = choice.lineBreak;
  if (changed) document_.ResetHistoryAsUnsaved();
  return changed;
}

bool TDocumentCommands::CloseDocument() {
  if (document_.Modified() && !QuerySave()) return false;
  lines_.Clear();
  TDocumentFileSettings& settings = document_.FileSettings();
  settings.ReadOnly = false;
  settings.CharCode = ckSjis;
  settings.LineBreak = lbCRLF;
  document_.ForgetReadLosses();
  document_.SetFileName(std::string());
  document_.ForgetStamp();
  document_.ResetHistoryAsUnsaved();
  document_.MarkSaved();
  return true;
}

TFileChange TDocumentCommands::CheckForeignChange() {
  const std::string name = document_.FileName();
  if (checking_ || name.empty()) return TFileChange::Unchanged;
  TFlagGuard guard(checking_);
  const TFileChange change = CompareFileStamp(document_.Stamp(), name);
  if (change == TFileChange::Deleted) {
    if (!deletionReported_) {
      deletionReported_ = true;
      document_.MarkUnsaved();
      prompts_.Warn(DeletedOnDiskText(name));
    }
    return change;
  }
  deletionReported_ = false;
  if (change != TFileChange::Changed) return change;
  switch (prompts_.AskYesNoCancelOnTop(ChangedOnDiskText(name))) {
    case TPromptAnswer::Yes: Reload(); break;
    case TPromptAnswer::No: document_.TakeStamp(); break;
    default: break;
  }
  return change;
}

}  // namespace vorn
