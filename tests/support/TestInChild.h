// This test binary run again in a child process: for what must end a process, or for a test
// that needs a fresh process (named objects of its own, an environment read at start).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace pictavo::test {

struct ChildResult {
  int status = -1;  // the exit status; -1 when it did not exit by itself in time
  std::string output;
};

// This test binary again, running only `test`, with `env` added to its environment; what it
// writes to standard output and error is captured. A child still running after `timeoutMs` (a
// guard against a hang) is killed.
inline ChildResult RunTestInChild(const std::string& test,
                                  const std::vector<std::pair<std::string, std::string>>& env,
                                  int timeoutMs = 60000) {
  int out[2];
  ChildResult result;
  if (pipe2(out, O_CLOEXEC) != 0) return result;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(out[1], 2);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    const std::string filter = "--gtest_filter=" + test;
    execl("/proc/self/exe", "/proc/self/exe", filter.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  bool timedOut = false;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
            .count();
    pollfd p{out[0], POLLIN, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) == 0) {
      timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    char buffer[4096];
    const ssize_t n = read(out[0], buffer, sizeof(buffer));
    if (n <= 0) break;
    result.output.append(buffer, static_cast<size_t>(n));
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!timedOut && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

}  // namespace pictavo::test
