// A stand-in editor process for the bus tests: runs the start-up open-file query, then
// answers as a window showing one file would, logging what it was asked to do.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/VornUtil.h"
#include "platform/BusEndpoint.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/InstanceCoordination.h"

namespace {

volatile sig_atomic_t stop = 0;

class TPeerWindow : public vorn::TBusWindowHandler {
public:
  TPeerWindow(std::string file, std::string log, bool dieOnJump)
      : file_(std::move(file)), log_(std::move(log)), dieOnJump_(dieOnJump) {}

  vorn::TBusReply QueryOpenFile() override { return OpenFileReply(file_); }
  vorn::TBusReply SetFocus() override { return Log("focus"), Handled(); }
  vorn::TBusReply QueryMain() override { return Handled(1); }
  vorn::TBusReply LineJump(bool fileLine, std::int64_t line) override {
    if (dieOnJump_) ::_exit(9);
    Log("jump " + std::to_string(fileLine ? 1 : 0) + " " + std::to_string(line));
    return Handled();
  }
  vorn::TBusReply LineMacro(const std::string& line) override { return Log("macro " + line), Handled(); }
  vorn::TBusReply ExternalMacro(const std::string& file) override { return Log("macrofile " + file), Handled(); }

private:
  void Log(const std::string& what) {
    if (log_.empty()) return;
    if (FILE* f = std::fopen(log_.c_str(), "a")) {
      std::fprintf(f, "%s\n", what.c_str());
      std::fclose(f);
    }
  }
  std::string file_, log_;
  bool dieOnJump_;
};

}  // namespace

// Arguments: [--file NAME] [--jump N] [--macro LINE] [--log PATH] [--title T] [--hang] [--die-on-jump]
// Prints "handed-off" and exits 3 when another window shows the file, else "ready <id>".
int main(int argc, char** argv) {
  std::string file, log, title = "peer";
  vorn::TStartupRequests requests;
  bool hang = false, dieOnJump = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : "";
    if (a == "--file") file = vorn::CanonicalFileName(v), title = file, ++i;
    else if (a == "--jump") requests.lineJump = std::atoll(v), ++i;
    else if (a == "--macro") requests.lineMacro = std::string(v), ++i;
    else if (a == "--log") log = v, ++i;
    else if (a == "--title") title = v, ++i;
    else if (a == "--hang") hang = true;
    else if (a == "--die-on-jump") dieOnJump = true;
  }
  const vorn::TBusFolder folder = vorn::TBusFolder::Default();
  if (!file.empty() && vorn::HandOffToOpenWindow(folder, file, requests).handedOff) {
    std::printf("handed-off\n");
    return 3;
  }
  TPeerWindow window(file, log, dieOnJump);
  vorn::TBusEndpoint endpoint(folder);
  const std::string error = endpoint.Open("TVornEditMain", title, [&](const vorn::TBusRequest& r) {
    return vorn::DispatchBusRequest(window, r);
  });
  if (!error.empty()) {
    std::printf("error %s\n", error.c_str());
    return 2;
  }
  ::signal(SIGTERM, [](int) { stop = 1; });
  std::printf("ready %lld\n", static_cast<long long>(endpoint.Id()));
  std::fflush(stdout);
  while (!stop) {
    if (hang) ::pause();
    else endpoint.WaitAndProcess(100);
  }
  return 0;
}
