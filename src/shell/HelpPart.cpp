// THelpPart: the help menu, and handing the document's file to the desktop.
#include "shell/HelpPart.h"

#include "base/TextUtil.h"
#include "platform/VornUtil.h"
#include "qtplatform/DesktopOpen.h"
#include "shell/EditorWindow.h"
#include "shellcore/MenuTree.h"
#include "shellcore/OpenFilesPlan.h"

#include <QMessageBox>

#include <filesystem>

namespace vorn {

bool THelpPart::RunNamedCommand(const std::string& name) {
  if (name == kHelpContents) {
    OpenHelpPage("");
  } else if (name == kHelpCommands) {
    OpenHelpPage("CMD.html");
  } else if (name == kHelpReadme) {
    window_.StartOtherCopy(ShippedFileParams(ShippedFileName("Readme.txt"), window_.MonitorNumber()));
  } else if (name == kHelpAbout) {
    const std::string text = "VornEditor " + VersionText() + (IsDebugBuild() ? " (Debug)" : "");
    QMessageBox::about(&window_, QStringLiteral("バージョン情報"), QString::fromStdString(text));
  } else {
    return false;
  }
  return true;
}

// A missing page or no desktop opener would otherwise do nothing at all.
void THelpPart::OpenHelpPage(const std::string& page) {
  const std::string file = HelpFileName(page);
  if (!std::filesystem::exists(file)) {
    window_.Prompts().Error("ヘルプファイルが見つかりません\n" + file);
    return;
  }
  if (!ShowHelp(page)) window_.Prompts().Error("ヘルプを開くプログラムを起動できません\n" + file);
}

// Another program is to see the file, so unsaved changes are offered to it first.
void OpenInDesktop(TEditorWindow& window, bool showInFolder) {
  const std::string name = window.FileName();
  if (name.empty()) return;
  if (!showInFolder && window.Modified() && !window.Commands().QuerySave()) return;
  if (!std::filesystem::exists(name)) return;
  const TWindowServices::TDesktopOpen& open = window.Services().desktopOpen;
  const bool started = open ? open(name, showInFolder)
                            : (showInFolder ? ShowFileInFolder(name) : OpenWithAssociatedProgram(name));
  if (!started) window.Prompts().Error("デスクトップのプログラムを起動できません\n" + name);
}

}  // namespace vorn
