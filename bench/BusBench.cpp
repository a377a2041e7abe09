// The bus under load: the open-file query across 20 editor processes, one round trip, and a
// history entry written with its reload broadcast; the baseline is a bare socket connect.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/VornUtil.h"
#include "platform/BusClient.h"
#include "platform/BusEndpoint.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/FileHistoryStore.h"
#include "shellcore/InstanceCoordination.h"

namespace vorn {
namespace {

class TQuietWindow : public TBusWindowHandler {
public:
  explicit TQuietWindow(std::string file) : file_(std::move(file)) {}
  TBusReply QueryOpenFile() override { return OpenFileReply(file_); }
  TBusReply Reload(TBusMessage) override { return Handled(); }

private:
  std::string file_;
};

// Twenty editor processes, started once for every benchmark of this program.
class TPeers {
public:
  TPeers() {
    char dir[] = "/tmp/vorn-busbench-XXXXXX";
    root_ = ::mkdtemp(dir);
    ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    for (int i = 0; i < 20; ++i) Start(i);
    while (TBusFolder::Default().List().size() < 20) ::usleep(1000);
    ids_.clear();
    for (const TBusPeer& p : TBusFolder::Default().List()) ids_.push_back(p.id);
  }
  ~TPeers() {
    for (pid_t pid : pids_) ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0);
    std::system(("rm -rf '" + root_ + "'").c_str());
  }
  const std::vector<std::int64_t>& Ids() const { return ids_; }
  const std::string& Root() const { return root_; }

private:
  void Start(int i) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      TQuietWindow window(root_ + "/doc" + std::to_string(i) + ".txt");
      TBusEndpoint endpoint;
      endpoint.Open("TVornEditMain", "doc", [&](const TBusRequest& r) { return DispatchBusRequest(window, r); });
      for (;;) endpoint.WaitAndProcess(1000);
    }
    pids_.push_back(pid);
  }
  std::string root_;
  std::vector<pid_t> pids_;
  std::vector<std::int64_t> ids_;
};

TPeers& Peers() {
  static TPeers peers;
  return peers;
}

void BM_BaselineConnectOneSocket(benchmark::State& state) {
  const std::string path = TBusFolder::Default().SocketPath(Peers().Ids().front());
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  for (auto _ : state) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    benchmark::DoNotOptimize(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address));
    ::close(fd);
  }
}
BENCHMARK(BM_BaselineConnectOneSocket)->Unit(benchmark::kMicrosecond);

void BM_OpenFileQueryAcrossTwentyEditors(benchmark::State& state) {
  const TBusFolder folder = TBusFolder::Default();
  Peers();
  for (auto _ : state) {
    const std::vector<TOpenFileEntry> list = OpenFileList(folder, 0);
    if (list.size() != 20) state.SkipWithError("not every editor answered");
  }
}
BENCHMARK(BM_OpenFileQueryAcrossTwentyEditors)->Unit(benchmark::kMillisecond);

void BM_OneSynchronousRoundTrip(benchmark::State& state) {
  const TBusFolder folder = TBusFolder::Default();
  const std::int64_t target = Peers().Ids().front();
  const TBusRequest request = MakeBusRequest(TBusMessage::bmQueryOpenFile);
  for (auto _ : state) benchmark::DoNotOptimize(SendBusMessage(folder, target, request).result);
}
BENCHMARK(BM_OneSynchronousRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_HistoryEntryWithReloadBroadcast(benchmark::State& state) {
  const TBusFolder folder = TBusFolder::Default();
  TFileHistoryStore store(Peers().Root());
  TFileHistory history;
  std::string message;
  for (int i = 0; i < 30; ++i) store.WriteEntry(history, Peers().Root() + "/h" + std::to_string(i), nullptr, message);
  int n = 0;
  for (auto _ : state) {
    store.WriteEntry(history, Peers().Root() + "/h" + std::to_string(n++ % 40), [](TFileInfo& f) { f.caret = 1; },
                     message);
    if (BroadcastFileHistoryReload(folder, 0) != 20) state.SkipWithError("a reload post was lost");
  }
}
BENCHMARK(BM_HistoryEntryWithReloadBroadcast)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn
