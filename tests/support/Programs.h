// Outside programs (ffmpeg, ffprobe) run from tests as independent makers and judges of media
// files. They are started directly, not through the platform layer the tests exercise.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

extern char** environ;

namespace pictavo::test {

namespace detail {

// Starts `args` (looked up on PATH) with standard input from /dev/null and standard output to
// `out` when it is not -1; the child's id, or -1.
inline pid_t Spawn(const std::vector<std::string>& args, int out = -1, int closeInChild = -1) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (out != -1) posix_spawn_file_actions_adddup2(&actions, out, 1);
  if (closeInChild != -1) posix_spawn_file_actions_addclose(&actions, closeInChild);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

inline int WaitForChild(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace detail

// Runs a program with an argument vector; true when it exits with 0.
inline bool Run(const std::vector<std::string>& args) {
  const pid_t pid = detail::Spawn(args);
  if (pid < 0) return false;
  const int status = detail::WaitForChild(pid);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs a program and returns what it wrote to its standard output.
inline std::string Capture(const std::vector<std::string>& args) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t pid = detail::Spawn(args, fds[1], fds[0]);
  ::close(fds[1]);
  std::string out;
  if (pid >= 0) {
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof(buffer))) != 0;) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      out.append(buffer, static_cast<size_t>(n));
    }
    detail::WaitForChild(pid);
  }
  ::close(fds[0]);
  return out;
}

}  // namespace pictavo::test
