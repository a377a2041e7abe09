// Every window test process gets a runtime folder of its own, so the windows it opens (and the
// editor processes it starts, which inherit the variable) never meet the user's editors or
// those of a test running beside it on the message bus.
#include <cstdlib>
#include <string>

namespace {

const bool kIsolated = [] {
  char pattern[] = "/tmp/vorn-shell-test-XXXXXX";
  if (const char* folder = ::mkdtemp(pattern)) ::setenv("XDG_RUNTIME_DIR", folder, 1);
  return true;
}();

}  // namespace
