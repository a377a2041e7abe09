// TEditorStart: the folders, the regular-expression module, the file types and the main window
// of a starting process, with every failure on the way turned into a notice for the user.
#include "shell/EditorStart.h"

#include "base/VornError.h"
#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "platform/cp932.h"
#include "regex/BregexpUtil.h"
#include "shell/FirstPaintQuit.h"
#include "shell/StatusPanels.h"

#include <QMessageBox>

#include <filesystem>
#include <system_error>

namespace vorn {

TEditorStart::TEditorStart(std::vector<std::string> args, bool station)
    : args_(std::move(args)), stationMode_(station) {}

// A program folder this user may not write moves the settings to the user's own data folder;
// the user is told once where they are, since they are not where the folder's other users
// keep theirs.
void TEditorStart::MakeFolders() {
  const TUserFolderChoice user = MakeUserFolder();
  if (!user.Refused.empty())
    notices_ << QStringLiteral("設定は \"%1\" に保存します（ユーザーフォルダ \"%2\" を作成できません）")
                    .arg(QString::fromStdString(user.Folder), QString::fromStdString(user.Refused));
  std::error_code ignored;  // without "Macro" only the macro files cannot be kept
  std::filesystem::create_directories(ProgramFolder() + "Macro", ignored);
}

// A type list that cannot be read or copied to the user folder leaves the built-in types
// working; telling it in the status bar keeps it from blocking every start until the user
// repairs the folder.
void TEditorStart::LoadFileTypes() {
  try {
    fileTypes_ = std::make_unique<TTypeList>(TSettingFolders{UserFolder(), SettingTemplateFolder()});
    fileTypes_->Load();
  } catch (const EVornError& e) {
    notices_ << QString::fromStdString(e.what());
  }
  if (!fileTypes_) return;
  for (const std::string& message : fileTypes_->TakeMessages())
    notices_ << QString::fromStdString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

void TEditorStart::ShowNotices() {
  if (window_ && !notices_.isEmpty())
    window_->StatusPanels()->SetPanelText(TStatusPanels::spMessage, notices_.join(QStringLiteral("  ")));
}

bool TEditorStart::Open() {
  MakeFolders();
  // Without the module every search answers "no match"; the editor says so once and runs on.
  const std::string regexpMessage = RegexpBinding() ? std::string() : LoadRegexpBinding();
  if (stationMode_) {
    station_ = std::make_unique<TVornEditStation>();
    return true;
  }
  LoadFileTypes();
  window_ = std::make_unique<TVornEditMain>();
  if (TTypeList* types = fileTypes_.get()) {
    TWindowServices& services = window_->Services();
    services.fileTypeFor = [types](const std::string& name) { return &types->FindByFileName(name); };
    services.grepTypeFor = [types] { return types->FindGrep(); };
    services.reloadFileTypes = [types] { types->Load(); };
  }
  if (!regexpMessage.empty()) {
    const std::u16string text = Cp932ToUtf16(regexpMessage);
    QMessageBox::warning(nullptr, QStringLiteral("VornEditor"),
                         QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  }
  QuitAfterFirstPaintWhenAsked(window_->Editor()->viewport());
  if (!window_->ProcessCommandLine(args_)) return false;
  // After the command line, whose own messages would otherwise cover these.
  ShowNotices();
  return true;
}

}  // namespace vorn
