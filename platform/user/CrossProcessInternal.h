// Internal: the two ends of the calls that reach windows of other processes. Each process with
// windows listens on "window-<tag>.sock" in the runtime folder, <tag> being the process tag its
// window handles carry; a lock file beside it is held for the listener's life, so a socket left
// behind by a copy that died is told apart from one whose copy is only starting, and removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/WinTypes.h"

namespace pictavo::user::detail::foreign {

// Starts answering other processes, once per process; `first` is a window of this process, whose
// handle gives the tag. Any thread.
void Listen(HWND first);

// The calls on a foreign handle. A copy that cannot be reached (ended, crashed, or not answering
// within a few seconds) has no windows: FALSE / null with ERROR_INVALID_WINDOW_HANDLE.
BOOL IsWindow(HWND hwnd);
HWND GetLastActivePopup(HWND owner);
BOOL IsIconic(HWND hwnd);
// Both are carried out by the window's thread after the call returns, as the owning copy gets
// to them; ShowWindow gives whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int command);
BOOL SetForegroundWindow(HWND hwnd);
// WM_COPYDATA only: waits until the other copy's window procedure has returned and gives its
// result (0 when the copy ends meanwhile).
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The wire format: one request per connection, answered by one reply. Both ends run on the same
// machine, so fields are in its byte order.
constexpr uint32_t kRequestMagic = 0x50575251;  // "QRWP"
constexpr uint32_t kReplyMagic = 0x50575252;
constexpr uint32_t kMaxCopyData = 64u << 20;

enum class Op : uint32_t {
  kIsWindow = 1,
  kLastActivePopup = 2,
  kIsIconic = 3,
  kShowWindow = 4,
  kSetForeground = 5,
  kCopyData = 6,
};

struct Request {
  uint32_t magic = kRequestMagic;
  uint32_t op = 0;
  uint32_t hwnd = 0;
  int32_t arg = 0;  // the ShowWindow command
  uint64_t wParam = 0;
  uint64_t dwData = 0;
  uint32_t cbData = 0;   // that many bytes follow the request
  uint32_t hasData = 0;  // lpData was not null
};
static_assert(sizeof(Request) == 40);

enum class Status : uint32_t { kOk = 0, kNoWindow = 1, kBadRequest = 2 };

struct Reply {
  uint32_t magic = kReplyMagic;
  uint32_t status = 0;
  int64_t result = 0;
};
static_assert(sizeof(Reply) == 16);

// The socket and lock file of the process with `tag`; empty without a runtime folder.
struct Endpoint {
  std::string socket;
  std::string lock;
};
Endpoint EndpointOf(uint32_t tag);
// Removes the socket and lock file of a process that died: nobody holds the lock file. One that
// is held belongs to a live process, perhaps only starting to listen.
void RemoveIfStale(const Endpoint& endpoint);
uint32_t TagOf(HWND hwnd);

// Exactly `size` bytes; false on an error, the end of the stream, or `timeoutMs` (-1: no limit)
// passing without progress.
bool ReadAll(int fd, void* data, size_t size, int timeoutMs);
bool WriteAll(int fd, const void* data, size_t size);

}  // namespace pictavo::user::detail::foreign
