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
  StartProgramArgs(editor, BuildGrepLaunchArgs(args));  // a failure goes unreported
  return 0;
}
