// The calling end of messages between processes: each call connects to the socket of the process
// the handle's tag names, sends one request and reads the reply.
#include "platform/user/CrossProcess.h"

#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Messages.h"
#include "platform/kernel/SyncObjectsNamed.h"
#include "platform/user/CrossProcessInternal.h"
#include "platform/user/Window.h"

namespace pictavo::user::detail::foreign {
namespace {

// How long a copy may take to answer a question about its windows before it counts as gone: the
// listener answers these itself, so only a stopped or hung process takes that long.
constexpr int kQueryTimeoutMs = 5000;

class Fd {
 public:
  explicit Fd(int fd = -1) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

void RemoveIfStale(const Endpoint& endpoint) {
  Fd lock(open(endpoint.lock.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
  if (lock.get() < 0 || flock(lock.get(), LOCK_EX | LOCK_NB) != 0) return;
  struct stat held {};
  struct stat atPath {};
  if (fstat(lock.get(), &held) != 0 || stat(endpoint.lock.c_str(), &atPath) != 0 ||
      held.st_ino != atPath.st_ino || held.st_dev != atPath.st_dev)
    return;  // another caller removed it first
  unlink(endpoint.socket.c_str());
  unlink(endpoint.lock.c_str());
}

namespace {

// A socket whose listener died refuses connections: it is removed then.
int Connect(const Endpoint& endpoint) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (endpoint.socket.empty() || endpoint.socket.size() >= sizeof(address.sun_path)) return -1;
  std::memcpy(address.sun_path, endpoint.socket.c_str(), endpoint.socket.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  while (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    close(fd);
    if (error == ECONNREFUSED) RemoveIfStale(endpoint);
    return -1;
  }
  return fd;
}

// One request and its reply; nothing when the process cannot be reached or gives a bad reply.
std::optional<Reply> Call(HWND hwnd, Request request, const void* data, int timeoutMs) {
  if (!IsForeignWindowHandle(hwnd)) return std::nullopt;
  request.hwnd = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd));
  Fd fd(Connect(EndpointOf(TagOf(hwnd))));
  if (fd.get() < 0) return std::nullopt;
  if (!WriteAll(fd.get(), &request, sizeof(request))) return std::nullopt;
  if (request.cbData && !WriteAll(fd.get(), data, request.cbData)) return std::nullopt;
  Reply reply;
  if (!ReadAll(fd.get(), &reply, sizeof(reply), timeoutMs) || reply.magic != kReplyMagic) return std::nullopt;
  return reply;
}

// The result of a call on a window, or nothing (with the last error set) when there is none.
std::optional<int64_t> Ask(HWND hwnd, Op op, int32_t arg = 0) {
  Request request;
  request.op = static_cast<uint32_t>(op);
  request.arg = arg;
  const auto reply = Call(hwnd, request, nullptr, kQueryTimeoutMs);
  if (!reply || reply->status != static_cast<uint32_t>(Status::kOk)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return std::nullopt;
  }
  return reply->result;
}

}  // namespace

Endpoint EndpointOf(uint32_t tag) {
  const std::string folder = kernel::RuntimeFolder();
  if (folder.empty()) return {};
  const std::string base = folder + "/window-" + std::to_string(tag);
  return Endpoint{base + ".sock", base + ".lock"};
}

uint32_t TagOf(HWND hwnd) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)) >> 20;
}

bool ReadAll(int fd, void* data, size_t size, int timeoutMs) {
  auto* at = static_cast<char*>(data);
  while (size) {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = recv(fd, at, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size) {
    const ssize_t n = send(fd, at, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

BOOL IsWindow(HWND hwnd) {
  const auto result = Ask(hwnd, Op::kIsWindow);
  return result && *result ? TRUE : FALSE;
}

HWND GetLastActivePopup(HWND owner) {
  const auto result = Ask(owner, Op::kLastActivePopup);
  return result ? reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(*result))) : nullptr;
}

BOOL IsIconic(HWND hwnd) {
  const auto result = Ask(hwnd, Op::kIsIconic);
  return result && *result ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int command) {
  const auto result = Ask(hwnd, Op::kShowWindow, command);
  return result && *result ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND hwnd) {
  const auto result = Ask(hwnd, Op::kSetForeground);
  return result && *result ? TRUE : FALSE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  Request request;
  request.op = static_cast<uint32_t>(Op::kCopyData);
  request.wParam = static_cast<uint64_t>(wParam);
  if (record) {
    if (record->cbData > kMaxCopyData || (record->cbData && !record->lpData)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    request.dwData = static_cast<uint64_t>(record->dwData);
    request.cbData = record->cbData;
    request.hasData = record->lpData != nullptr;
  }
  // As SendMessage within a process: no limit on how long the window procedure takes; a copy that
  // ends meanwhile closes the connection, which ends the wait.
  const auto reply = Call(hwnd, request, record ? record->lpData : nullptr, -1);
  if (!reply || reply->status != static_cast<uint32_t>(Status::kOk)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<LRESULT>(reply->result);
}

}  // namespace pictavo::user::detail::foreign
