// TVornEditMain: the help menu, and which actions outside the function table the window runs.
#include "shell/Main.h"

#include "base/TextUtil.h"
#include "shellcore/MenuTree.h"
#include "shellcore/OpenFilesPlan.h"
#include "platform/VornUtil.h"

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

}  // namespace vorn
