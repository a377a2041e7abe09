// VornE and VornGrep from their start to the editor's process started, against starting the
// editor stand-in directly (the cost of creating any process) in the same run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A folder holding copies of both launchers with the stand-in as "VornEditor" beside them
// (copies, since a launcher finds the editor beside its own real path).
struct TLaunchFolder {
  std::string dir, fifo;
  TLaunchFolder() {
    std::string tmpl = (fs::temp_directory_path() / "vornlaunchbenchXXXXXX").string();
    dir = ::mkdtemp(tmpl.data());
    fs::copy_file(VORN_BIN_DIR "/vorn_launch_stub", dir + "/VornEditor");
    for (const char* name : {"VornE", "VornGrep"})
      if (fs::exists(std::string(VORN_BIN_DIR "/") + name)) fs::copy_file(std::string(VORN_BIN_DIR "/") + name, dir + "/" + name);
    fifo = dir + "/started";
    ::mkfifo(fifo.c_str(), 0600);
    ::setenv("VORN_STUB_FIFO", fifo.c_str(), 1);
  }
  ~TLaunchFolder() { fs::remove_all(dir); }
};

TLaunchFolder& Folder() {
  static TLaunchFolder folder;
  return folder;
}

// Spawns program and waits until the stand-in editor has opened the pipe and written to it.
void StartAndWaitForEditor(const std::string& program, const std::vector<std::string>& args) {
  const int fd = ::open(Folder().fifo.c_str(), O_RDONLY | O_NONBLOCK);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  pollfd p{fd, POLLIN, 0};
  char c = 0;
  while (::poll(&p, 1, 5000) > 0 && ::read(fd, &c, 1) != 1) {
  }
  ::close(fd);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

void BM_StartEditorDirectly(benchmark::State& state) {
  const std::string editor = Folder().dir + "/VornEditor";
  for (auto _ : state) StartAndWaitForEditor(editor, {"a.txt"});
}

void BM_VornEToEditorStarted(benchmark::State& state) {
  const std::string launcher = Folder().dir + "/VornE";
  if (!fs::exists(launcher)) return state.SkipWithError("VornE was not built (no GUI build)");
  for (auto _ : state) StartAndWaitForEditor(launcher, {Folder().dir + "/a.txt"});
}

void BM_VornGrepToEditorStarted(benchmark::State& state) {
  const std::string launcher = Folder().dir + "/VornGrep";
  for (auto _ : state) StartAndWaitForEditor(launcher, {Folder().dir});
}

BENCHMARK(BM_StartEditorDirectly)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_VornEToEditorStarted)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_VornGrepToEditorStarted)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
