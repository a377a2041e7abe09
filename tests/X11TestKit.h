// What tests on Xvfb need besides the program: another X client that presses keys through
// XTest, as a keyboard would, or holds a key grab of its own, as another program would; and a
// notification area (trayer) for as long as an object lives.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <initializer_list>
#include <iterator>

namespace vorn {

class TXTestClient {
public:
  TXTestClient() : connection_(xcb_connect(nullptr, nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    symbols_ = xcb_key_symbols_alloc(connection_);
  }
  ~TXTestClient() {
    xcb_key_symbols_free(symbols_);
    xcb_disconnect(connection_);
  }
  bool Connected() const { return xcb_connection_has_error(connection_) == 0; }

  xcb_keycode_t Code(xcb_keysym_t sym) {
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols_, sym);
    const xcb_keycode_t code = codes ? codes[0] : 0;
    std::free(codes);
    return code;
  }
  // Presses the keys in order and releases them in reverse, as fingers do.
  void Press(std::initializer_list<xcb_keysym_t> syms) {
    for (xcb_keysym_t s : syms) xcb_test_fake_input(connection_, XCB_KEY_PRESS, Code(s), XCB_CURRENT_TIME, root_, 0, 0, 0);
    for (auto it = std::rbegin(syms); it != std::rend(syms); ++it)
      xcb_test_fake_input(connection_, XCB_KEY_RELEASE, Code(*it), XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_flush(connection_);
  }
  bool Grab(xcb_keysym_t sym, uint16_t modifiers) {
    xcb_generic_error_t* e = xcb_request_check(connection_, xcb_grab_key_checked(connection_, 1, root_, modifiers, Code(sym),
                                                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::free(e);
    return e == nullptr;
  }
  void Ungrab(xcb_keysym_t sym, uint16_t modifiers) {
    xcb_ungrab_key(connection_, Code(sym), root_, modifiers);
    xcb_flush(connection_);
  }

private:
  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  xcb_key_symbols_t* symbols_ = nullptr;
};

// A notification area on the test's X server, for as long as the object lives.
class TTrayHost {
public:
  TTrayHost() {
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execlp("trayer", "trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
               "--height", "24", static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~TTrayHost() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }

private:
  pid_t pid_ = -1;
};

}  // namespace vorn
