// Test entry for suites that need a real X server: starts Xvfb on a display number the server
// picks itself (so parallel suites never meet), runs the suite's QApplication on it, and ends
// the server. Listing the tests needs no server.
#include <QApplication>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

// On an X server Qt talks to the session bus (the tray protocol, the desktop's settings), and
// libdbus keeps a buffer until the process ends; the leak checker of sanitized builds reads the
// hook below and leaves that library's allocations out of its report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

// Starts Xvfb and answers its display (":N"), or an empty string when it did not come up.
std::string StartXvfb(pid_t& server) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  server = ::fork();
  if (server == 0) {
    ::close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  std::string display;
  char c = 0;
  ssize_t n = 0;
  while ((n = ::read(fds[0], &c, 1)) == 1 || (n < 0 && errno == EINTR))
    if (n == 1 && c != '\n') display += c; else if (n == 1) break;
  ::close(fds[0]);
  return display.empty() ? display : ":" + display;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Windows keep journals of unsaved edits in the state folder: the run's own, so that no
  // journal of the user's is offered to a test window, nor a test's left for the user.
  char stateFolder[] = "/tmp/vorn-test-state-XXXXXX";
  if (::mkdtemp(stateFolder)) ::setenv("XDG_STATE_HOME", stateFolder, 1);
  if (::testing::GTEST_FLAG(list_tests)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
  }
  pid_t server = -1;
  const std::string display = StartXvfb(server);
  if (display.empty()) {
    std::fprintf(stderr, "Xvfb did not start (is the xvfb package installed?)\n");
    return 1;
  }
  ::setenv("DISPLAY", display.c_str(), 1);
  qputenv("QT_QPA_PLATFORM", "xcb");
  int code = 1;
  {
    QApplication app(argc, argv);
    code = RUN_ALL_TESTS();
  }
  ::kill(server, SIGTERM);
  ::waitpid(server, nullptr, 0);
  return code;
}
