// The answering end of messages between processes: a thread accepts connections on this process's
// socket; each request is served on a thread of its own, so a window procedure that takes its time
// over a WM_COPYDATA keeps nobody else waiting.
#include <dirent.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/Messages.h"
#include "platform/kernel/SyncObjectsNamed.h"
#include "platform/user/CrossProcess.h"
#include "platform/user/CrossProcessInternal.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail::foreign {
namespace {

// A caller gets this long to send its request once connected.
constexpr int kRequestTimeoutMs = 5000;

// Set once by Listen; read by the exit handler.
struct Listening {
  Endpoint endpoint;
  pid_t pid = 0;
};
Listening* g_listening = nullptr;

// A normal exit takes the socket away at once; a forked child that exits normally does not take
// its parent's.
void RemoveAtExit() {
  if (!g_listening || g_listening->pid != getpid()) return;
  unlink(g_listening->endpoint.socket.c_str());
  unlink(g_listening->endpoint.lock.c_str());
}

// Holds the lock file of `endpoint` for the rest of the process's life: -1 when another live
// process holds it (its handles carry the same tag) or it cannot be made. A caller that removes a
// stale socket holds the lock for a moment, hence the few attempts.
int HoldLock(const Endpoint& endpoint, std::string* why) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    const int fd = open(endpoint.lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      *why = std::strerror(errno);
      return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      struct stat held {};
      struct stat atPath {};
      if (fstat(fd, &held) == 0 && stat(endpoint.lock.c_str(), &atPath) == 0 &&
          held.st_ino == atPath.st_ino && held.st_dev == atPath.st_dev)
        return fd;
      // Removed by a caller cleaning up between our open and our lock: make it anew.
    }
    close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  *why = "another running process uses the same window tag";
  return -1;
}

HWND HandleOf(uint32_t value) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

std::shared_ptr<MessageQueue> QueueOf(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  return w ? w->queue : nullptr;
}

Reply Serve(const Request& request, std::vector<uint8_t>& data) {
  Reply reply;
  const HWND hwnd = HandleOf(request.hwnd);
  // Only handles of this process are answered here; anything else is no window of ours.
  const bool ours = !IsForeignWindowHandle(hwnd) && ::IsWindow(hwnd);
  const auto op = static_cast<Op>(request.op);
  if (op == Op::kIsWindow) {
    reply.result = ours;
    return reply;
  }
  if (!ours) {
    reply.status = static_cast<uint32_t>(Status::kNoWindow);
    return reply;
  }
  switch (op) {
    case Op::kLastActivePopup:
      reply.result = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(::GetLastActivePopup(hwnd)));
      break;
    case Op::kIsIconic:
      reply.result = ::IsIconic(hwnd);
      break;
    case Op::kShowWindow: {
      reply.result = (GetWindowLong(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
      auto queue = QueueOf(hwnd);
      const int command = request.arg;
      if (!queue || !RunOnThread(
                        *queue, [hwnd, command] { ::ShowWindow(hwnd, command); }, false))
        reply.status = static_cast<uint32_t>(Status::kNoWindow);
      break;
    }
    case Op::kSetForeground:
      reply.result = ::SetForegroundWindow(hwnd);
      break;
    case Op::kCopyData: {
      // The copy ends with a zero the sender did not count, so text read past cbData stops there.
      data.push_back(0);
      COPYDATASTRUCT record{static_cast<ULONG_PTR>(request.dwData), request.cbData,
                            request.hasData ? data.data() : nullptr};
      reply.result = ::SendMessage(hwnd, WM_COPYDATA, static_cast<WPARAM>(request.wParam),
                                   reinterpret_cast<LPARAM>(&record));
      break;
    }
    default:
      reply.status = static_cast<uint32_t>(Status::kBadRequest);
      break;
  }
  return reply;
}

void ServeConnection(int fd) {
  Request request;
  std::vector<uint8_t> data;
  bool valid = ReadAll(fd, &request, sizeof(request), kRequestTimeoutMs) && request.magic == kRequestMagic &&
               request.cbData <= kMaxCopyData;
  if (valid) {
    data.resize(request.cbData);
    valid = !request.cbData || ReadAll(fd, data.data(), data.size(), kRequestTimeoutMs);
  }
  if (valid) {
    const Reply reply = Serve(request, data);
    // The caller may have gone meanwhile: nothing to do about a reply nobody reads.
    (void)WriteAll(fd, &reply, sizeof(reply));
  }
  close(fd);
}

void AcceptLoop(int listener) {
  for (;;) {
    const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        // Out of descriptors for a moment: callers wait in the backlog meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      std::fprintf(stderr, "pictavo: other processes can no longer reach our windows: %s\n",
                   std::strerror(errno));
      return;
    }
    std::thread(ServeConnection, fd).detach();
  }
}

// Sockets left by processes that died are removed when their lock files are free.
void SweepStale(uint32_t ours) {
  const std::string folder = kernel::RuntimeFolder();
  DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str());
  if (!dir) return;
  std::vector<uint32_t> tags;
  while (const dirent* entry = readdir(dir)) {
    unsigned tag = 0;
    char rest[8] = {};
    if (std::sscanf(entry->d_name, "window-%u.%7s", &tag, rest) == 2 && std::strcmp(rest, "lock") == 0 &&
        tag != ours)
      tags.push_back(tag);
  }
  closedir(dir);
  for (uint32_t tag : tags) RemoveIfStale(EndpointOf(tag));
}

void Start(uint32_t tag) {
  const Endpoint endpoint = EndpointOf(tag);
  std::string why;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (endpoint.socket.empty()) {
    why = "no runtime folder";
  } else if (endpoint.socket.size() >= sizeof(address.sun_path)) {
    why = "the runtime folder's path is too long for a socket";
  }
  const int lock = why.empty() ? HoldLock(endpoint, &why) : -1;
  int listener = -1;
  if (lock >= 0) {
    std::memcpy(address.sun_path, endpoint.socket.c_str(), endpoint.socket.size() + 1);
    unlink(endpoint.socket.c_str());  // left by a process of the same tag that died
    listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0 || bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, 16) != 0) {
      why = std::strerror(errno);
      if (listener >= 0) close(listener);
      listener = -1;
      close(lock);
    }
  }
  if (listener < 0) {
    std::fprintf(stderr, "pictavo: other processes cannot reach our windows: %s\n", why.c_str());
    return;
  }
  // The lock descriptor stays open (and locked) for the life of the process.
  g_listening = new Listening{endpoint, getpid()};
  std::atexit(RemoveAtExit);
  std::thread(AcceptLoop, listener).detach();
  SweepStale(tag);
}

}  // namespace

void Listen(HWND first) {
  static std::once_flag once;
  std::call_once(once, [first] { Start(TagOf(first)); });
}

}  // namespace pictavo::user::detail::foreign
