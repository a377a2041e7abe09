// VornE: starts the editor with the command line built from VornE.opt and ends at once.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "base/ByteBuffer.h"
#include "vorne/OpenLauncher.h"
#include "platform/FileBytes.h"
#include "platform/PathPolicy.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"

namespace {

std::string CurrentFolder() {
  char buf[PATH_MAX];
  return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string("/");
}

// The message box lives in a module beside VornE; without it the message still reaches the
// terminal, if any.
void ShowEditorMissing(int argc, char** argv, const std::string& ownPath) {
  const char* text = "VornEditorが見つかりません";
  using TShow = void (*)(int, char**, const char*, const char*);
  const std::string module = vorn::ExtractFilePath(ownPath) + "libVornEMessage.so";
  if (void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (auto show = reinterpret_cast<TShow>(::dlsym(handle, "VornEShowMessage"))) return show(argc, argv, "VornE", text);
  }
  std::fprintf(stderr, "VornE: %s\n", text);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorn;
  const std::string ownPath = CurrentExecutablePath();
  TOpenLauncherFile file;
  const std::string optionFile = OpenLauncherOptionFile(ownPath);
  if (IsRegularFile(optionFile)) {
    try {
      TByteBuffer bytes = ReadFileBytes(optionFile);
      file = ParseOpenLauncherFile(std::string_view(bytes.Data(), bytes.Size()), CanonicalFolderOnDisk);
    } catch (...) {
      return 0;  // an option file that cannot be read starts nothing
    }
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  const TOpenLaunch launch = BuildOpenLaunch(file, ownPath, args, CurrentFolder(), CanonicalFolderOnDisk);
  if (IsRegularFile(launch.Editor))
    StartProgram(launch.Editor, launch.Parameters, nullptr, nullptr, TChildReaping::crOwnerExits);
  else
    ShowEditorMissing(argc, argv, ownPath);
  return 0;
}
