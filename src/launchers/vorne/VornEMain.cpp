// VornE: starts the editor with the command line built from VornE.opt and ends at once.
#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "base/ByteBuffer.h"
#include "vorne/OpenLauncher.h"
#include "platform/FileBytes.h"
#include "platform/ProcessStart.h"

namespace {

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string CurrentFolder() {
  char buf[PATH_MAX];
  return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string("/");
}

void ShowEditorMissing(int argc, char** argv) {
  QApplication app(argc, argv);
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("VornE"), QString::fromUtf8("VornEditorが見つかりません"),
                  QMessageBox::Ok);
  box.exec();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorn;
  const std::string ownPath = CurrentExecutablePath();
  TOpenLauncherFile file;
  const std::string optionFile = OpenLauncherOptionFile(ownPath);
  if (IsFile(optionFile)) {
    try {
      TByteBuffer bytes = ReadFileBytes(optionFile);
      file = ParseOpenLauncherFile(std::string_view(bytes.Data(), bytes.Size()), CanonicalFolderOnDisk);
    } catch (...) {
      return 0;  // an option file that cannot be read starts nothing
    }
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  const TOpenLaunch launch = BuildOpenLaunch(file, ownPath, args, CurrentFolder(), CanonicalFolderOnDisk);
  if (IsFile(launch.Editor))
    StartProgram(launch.Editor, launch.Parameters);
  else
    ShowEditorMissing(argc, argv);
  return 0;
}
