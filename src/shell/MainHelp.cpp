// TVornEditMain: the help menu, and handing the document's file to the desktop.
#include "shell/Main.h"

#include "base/TextUtil.h"
#include "shellcore/MenuTree.h"
#include "shellcore/OpenFilesPlan.h"
#include "platform/VornUtil.h"
#include "qtplatform/DesktopOpen.h"

#include <QMessageBox>

#include <filesystem>

namespace vorn {

bool TVornEditMain::RunHelpCommand(const std::string& name) {
  if (name == kHelpContents) {
    OpenHelpPage("");
  } else if (name == kHelpCommands) {
    OpenHelpPage("CMD.html");
  } else if (name == kHelpReadme) {
    StartOtherCopy(ShippedFileParams(ShippedFileName("Readme.txt"), MonitorNumber()));
  } else if (name == kHelpAbout) {
    const std::string text = "VornEditor " + VersionText() + (IsDebugBuild() ? " (Debug)" : "");
    QMessageBox::about(this, QStringLiteral("バージョン情報"), QString::fromStdString(text));
  } else {
    return false;
  }
  return true;
}

// A missing page or no desktop opener would otherwise do nothing at all.
void TVornEditMain::OpenHelpPage(const std::string& page) {
  const std::string file = HelpFileName(page);
  if (!std::filesystem::exists(file)) {
    documentPrompts_.Error("ヘルプファイルが見つかりません\n" + file);
    return;
  }
  if (!ShowHelp(page)) documentPrompts_.Error("ヘルプを開くプログラムを起動できません\n" + file);
}

// Another program is to see the file, so unsaved changes are offered to it first.
void TVornEditMain::OpenInDesktop(bool showInFolder) {
  const std::string name = FileName();
  if (name.empty()) return;
  if (!showInFolder && Modified() && !commands_->QuerySave()) return;
  if (!std::filesystem::exists(name)) return;
  const bool started = desktopOpen_ ? desktopOpen_(name, showInFolder)
                                    : (showInFolder ? ShowFileInFolder(name) : OpenWithAssociatedProgram(name));
  if (!started) documentPrompts_.Error("デスクトップのプログラムを起動できません\n" + name);
}

}  // namespace vorn
