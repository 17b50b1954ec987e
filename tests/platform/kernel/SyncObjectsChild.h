// A forked copy of the test process that does one thing, reports one byte through a pipe and
// then stays alive, holding what it took, until the test kills it. The copy inherits the parent's
// memory, so it must be forked before the parent opens the objects it is to share by name.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

class ForkedChild {
 public:
  explicit ForkedChild(const std::function<char(ForkedChild& self)>& body) {
    int up[2];
    int down[2];
    if (pipe2(up, O_CLOEXEC) != 0 || pipe2(down, O_CLOEXEC) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      close(up[0]);
      close(down[1]);
      m_fromParent = down[0];
      const char report = body(*this);
      (void)!write(up[1], &report, 1);
      for (;;) pause();
    }
    close(up[1]);
    close(down[0]);
    m_fromChild = up[0];
    m_toChild = down[1];
  }
  ~ForkedChild() {
    Kill();
    for (int fd : {m_fromChild, m_toChild})
      if (fd >= 0) close(fd);
  }
  ForkedChild(const ForkedChild&) = delete;
  ForkedChild& operator=(const ForkedChild&) = delete;

  // Parent side: the child's byte, or 0 when it died without reporting.
  char Report() {
    char report = 0;
    return read(m_fromChild, &report, 1) == 1 ? report : 0;
  }
  void Tell(char message) { (void)!write(m_toChild, &message, 1); }
  void Kill() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

  // Child side: waits for the parent's byte.
  char Hear() {
    char message = 0;
    return read(m_fromParent, &message, 1) == 1 ? message : 0;
  }

 private:
  pid_t m_pid = -1;
  int m_fromChild = -1;
  int m_toChild = -1;
  int m_fromParent = -1;
};

// Object names no other test process uses.
inline std::string UniqueName(const std::string& what) {
  return "pictavo-test-" + what + "-" + std::to_string(getpid());
}
