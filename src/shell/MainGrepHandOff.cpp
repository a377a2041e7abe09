// TVornEditMain: starting a copy of the program whose process is to be found again.
#include "shell/Main.h"

#include "platform/ProcessStart.h"

namespace vorn {

pid_t TVornEditMain::StartOtherCopyProcess(const std::string& params) {
  if (startProcess_) return startProcess_(params);
  if (startProgram_) {
    startProgram_(params);
    return 0;
  }
  std::string error;
  pid_t pid = 0;
  if (!StartProgram(CurrentExecutablePath(), params, &error, &pid)) {
    documentPrompts_.Error("VornEditor: " + error);
    return 0;
  }
  return pid;
}

}  // namespace vorn
