// VornGrep: starts the editor's grep dialog for the files and folders given, and ends at once.
#include <string>
#include <vector>

#include "vorngrep/GrepLauncher.h"
#include "platform/PathPolicy.h"
#include "platform/ProcessStart.h"

int main(int argc, char** argv) {
  using namespace vorn;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string editor = ExtractFilePath(CurrentExecutablePath()) + "VornEditor";
  // A failure goes unreported; the launcher ends at once, so init collects the editor.
  StartProgramArgs(editor, BuildGrepLaunchArgs(args), nullptr, nullptr, TChildReaping::crOwnerExits);
  return 0;
}
