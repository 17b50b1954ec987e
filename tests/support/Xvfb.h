// An X server of the test's own (Xvfb on a free display) and what a test reads from it or sends
// to it: the colour at a screen point and a click at a screen point.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

// Last: the X headers define macros (None, True, Status) that would rename names included later.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pictavo::test {

inline std::string FindProgramOnPath(const char* name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::filesystem::path candidate = std::filesystem::path(folder) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

// Xvfb with one screen of `size` ("1024x768x24"); Display() is ":N" once it takes connections,
// empty when it could not be started. Stopped with the object.
class XvfbServer {
 public:
  explicit XvfbServer(const char* size = "1024x768x24") {
    const std::string xvfb = FindProgramOnPath("Xvfb");
    if (xvfb.empty()) return;
    int ready[2];
    if (pipe(ready) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      dup2(ready[1], 3);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, 1);
      dup2(quiet, 2);
      // -noreset: a server resets when its last client leaves and refuses connections meanwhile;
      // SDL opens and closes a probe connection before its real one, which could land there.
      execl(xvfb.c_str(), "Xvfb", "-displayfd", "3", "-noreset", "-screen", "0", size, "-nolisten", "tcp",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    std::string number;
    for (;;) {  // Xvfb writes its display number once it takes connections
      pollfd p{ready[0], POLLIN, 0};
      char c = 0;
      if (poll(&p, 1, 20000) <= 0 || read(ready[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    close(ready[0]);
    if (!number.empty()) m_display = ":" + number;
  }
  ~XvfbServer() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
  }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  static bool Installed() { return !FindProgramOnPath("Xvfb").empty(); }
  const std::string& Display() const { return m_display; }

 private:
  pid_t m_pid = -1;
  std::string m_display;
};

// What the X server shows at a point of the screen, as 0xBBGGRR.
inline unsigned long ScreenColorAt(::Display* x, int px, int py) {
  XImage* image = XGetImage(x, DefaultRootWindow(x), px, py, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0xFFFFFFFFul;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

// Sends the X events of a left click at a screen point to the native window there.
inline void ClickThroughX(::Display* x, int px, int py) {
  const Window root = DefaultRootWindow(x);
  Window target = 0;
  Window child = 0;
  int wx = 0;
  int wy = 0;
  XTranslateCoordinates(x, root, root, px, py, &wx, &wy, &target);
  XTranslateCoordinates(x, root, target, px, py, &wx, &wy, &child);
  XEvent motion{};
  motion.xmotion = XMotionEvent{MotionNotify, 0, 1, x, target, root, 0, CurrentTime, wx, wy, px, py, 0, 0, 1};
  XSendEvent(x, target, 1, PointerMotionMask, &motion);
  for (int type : {ButtonPress, ButtonRelease}) {
    XEvent button{};
    button.xbutton = XButtonEvent{type,
                                  0,
                                  1,
                                  x,
                                  target,
                                  root,
                                  0,
                                  CurrentTime,
                                  wx,
                                  wy,
                                  px,
                                  py,
                                  type == ButtonRelease ? static_cast<unsigned>(Button1Mask) : 0u,
                                  Button1,
                                  1};
    XSendEvent(x, target, 1, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &button);
  }
  XFlush(x);
}

}  // namespace pictavo::test
