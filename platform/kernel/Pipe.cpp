#include "platform/kernel/Pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/FileSharing.h"
#include "platform/kernel/PipeEnd.h"
#include "platform/kernel/PipeNames.h"

namespace pictavo::kernel {
namespace {

// A reader opening a FIFO sends no notice: a connecting writer tries again this often, and every
// waiter looks this often whether its peer processes are still there.
constexpr int kConnectSliceMs = 10;

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// The server end of a named pipe.
class NamedPipe final : public PipeEnd {
 public:
  NamedPipe(std::string path, FileIdentity fifo, bool serverReads, bool duplex, DWORD bufferSize)
      : PipeEnd(-1, serverReads || duplex, !serverReads || duplex),
        m_path(std::move(path)),
        m_fifo(fifo),
        m_duplex(duplex),
        m_bufferSize(bufferSize),
        m_serverReads(serverReads) {}

  bool IsOpen() {
    std::lock_guard lock(m_stateLock);
    return !m_closed;
  }

  bool IsListening() {
    std::lock_guard lock(m_stateLock);
    return !m_closed && m_state != State::Connected;
  }
  bool ServerReads() {
    std::lock_guard lock(m_stateLock);
    return m_serverReads;
  }

  // Opens the reading side now, so that writers (a client of this process, a program whose
  // output goes into the pipe) do not wait for ConnectNamedPipe, as on the platform.
  [[nodiscard]] bool ListenForWriter() {
    std::lock_guard lock(m_stateLock);
    return ListenForWriterLocked();
  }

  // A duplex pipe whose client will write: this end reads.
  [[nodiscard]] bool BecomeReader() {
    std::lock_guard lock(m_stateLock);
    if (m_serverReads) return true;
    if (!m_duplex || m_state == State::Connected) {
      errno = EACCES;
      return false;
    }
    m_serverReads = true;
    return ListenForWriterLocked();
  }

  void AddPeer(const std::shared_ptr<PipePeer>& peer) {
    std::lock_guard lock(m_stateLock);
    m_peers.push_back(peer);
  }

  BOOL Connect() {
    IoCancel::Operation operation(m_io);
    for (;;) {
      bool reads;
      int fd;
      {
        std::lock_guard lock(m_stateLock);
        if (m_closed) return Fail(ERROR_INVALID_HANDLE);
        if (m_state == State::Connected) return Fail(ERROR_PIPE_CONNECTED);
        if (m_serverReads && m_fd < 0 && !ListenForWriterLocked()) return FailWithFileErrno(m_path);
        reads = m_serverReads;
        fd = m_fd;
      }
      if (operation.Cancelled()) return Fail(ERROR_OPERATION_ABORTED);

      IoCancel::Wake wake;
      if (reads) {
        // Data, or a writer that came and went (the FIFO reports a hang-up only after a writer).
        wake = operation.Wait(fd, POLLIN, kConnectSliceMs);
        if (wake == IoCancel::Wake::Ready && MarkConnected(operation, -1)) return TRUE;
      } else {
        FdOwner writer(::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (writer) {
          if (MarkConnected(operation, writer.Get())) {
            (void)writer.Release();
            return TRUE;
          }
          continue;
        }
        if (errno == ENOENT) {
          // Closing our own handle takes the FIFO away: then this waiting call was aborted.
          std::lock_guard lock(m_stateLock);
          return Fail(m_closed ? ERROR_OPERATION_ABORTED : ERROR_PIPE_NOT_CONNECTED);
        }
        if (errno != ENXIO && errno != EINTR) return FailWithFileErrno(m_path);
        wake = operation.Wait(-1, 0, kConnectSliceMs);
      }
      if (wake == IoCancel::Wake::Cancelled) return Fail(ERROR_OPERATION_ABORTED);
      if (PeersGone()) return Fail(ERROR_BROKEN_PIPE);
    }
  }

  BOOL Disconnect() {
    FdOwner connection;
    {
      std::lock_guard lock(m_stateLock);
      connection.Reset(std::exchange(m_fd, -1));
      m_state = State::Disconnected;
      // Processes that have ended can no longer connect; a new connection waits for new ones.
      std::erase_if(m_peers, [](const auto& peer) { return peer->HasExited(); });
    }
    m_io.CancelAndDrain();
    return TRUE;  // the connection closes here
  }

  void OnLastHandleClosed() override {
    bool writerWaiting;
    {
      std::lock_guard lock(m_stateLock);
      m_closed = true;
      writerWaiting = !m_serverReads && m_state != State::Connected;
    }
    m_io.Cancel();
    // A reader may already be blocked opening the FIFO (a program started with its name): let
    // it in and out again, so it sees an empty stream and ends instead of waiting for ever.
    if (writerWaiting) {
      const int opened = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (opened >= 0) ::close(opened);
    }
    struct stat st;
    if (::lstat(m_path.c_str(), &st) == 0 && FileIdentity{st.st_dev, st.st_ino} == m_fifo)
      ::unlink(m_path.c_str());
  }

 protected:
  int IoFd(bool forWrite, DWORD* error) override {
    std::lock_guard lock(m_stateLock);
    if (m_closed) {
      *error = ERROR_INVALID_HANDLE;
      return -1;
    }
    if (m_state != State::Connected) {
      *error = m_state == State::Listening ? ERROR_PIPE_LISTENING : ERROR_PIPE_NOT_CONNECTED;
      return -1;
    }
    if (forWrite == m_serverReads) {
      *error = ERROR_ACCESS_DENIED;  // the way the FIFO does not carry
      return -1;
    }
    return m_fd;
  }

  int ChildFd(DWORD* error) override {
    std::lock_guard lock(m_stateLock);
    if (m_state != State::Connected || m_closed) {
      *error = ERROR_PIPE_NOT_CONNECTED;
      return -1;
    }
    return m_fd;
  }

 private:
  enum class State { Listening, Connected, Disconnected };

  bool ListenForWriterLocked() {
    if (m_fd >= 0) return true;
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return false;
    m_state = State::Listening;
    GrowPipeBuffer(m_fd, m_bufferSize);
    return true;
  }

  // Takes the connection unless the operation was cancelled or the pipe changed meanwhile;
  // `writer` is the new writing descriptor (the reading one is already m_fd).
  bool MarkConnected(const IoCancel::Operation& operation, int writer) {
    std::lock_guard lock(m_stateLock);
    if (m_closed || operation.Cancelled() || m_state == State::Connected || m_serverReads != (writer < 0))
      return false;
    if (writer >= 0) {
      m_fd = writer;
      GrowPipeBuffer(m_fd, m_bufferSize);
    }
    m_state = State::Connected;
    return true;
  }

  bool PeersGone() {
    std::lock_guard lock(m_stateLock);
    return !m_peers.empty() &&
           std::all_of(m_peers.begin(), m_peers.end(), [](const auto& peer) { return peer->HasExited(); });
  }

  const std::string m_path;
  const FileIdentity m_fifo;
  const bool m_duplex;
  const DWORD m_bufferSize;

  std::mutex m_stateLock;
  bool m_serverReads;                              // guarded by m_stateLock
  State m_state = State::Listening;                // guarded by m_stateLock
  bool m_closed = false;                           // guarded by m_stateLock
  std::vector<std::shared_ptr<PipePeer>> m_peers;  // guarded by m_stateLock
  // m_fd (the connection; for a reading pipe also the listening side) is guarded by m_stateLock.
};

// The named pipes of this process that have open handles, by name.
struct PipeRegistry {
  std::mutex lock;
  std::multimap<std::string, std::weak_ptr<NamedPipe>> byName;  // guarded by lock

  std::vector<std::shared_ptr<NamedPipe>> LiveLocked(const std::string& name) {
    std::vector<std::shared_ptr<NamedPipe>> live;
    auto [first, last] = byName.equal_range(name);
    for (auto it = first; it != last;) {
      auto pipe = it->second.lock();
      if (pipe && pipe->IsOpen()) {
        live.push_back(std::move(pipe));
        ++it;
      } else {
        it = byName.erase(it);
      }
    }
    return live;
  }
};
PipeRegistry& Registry() {
  static PipeRegistry* registry = new PipeRegistry;
  return *registry;
}

std::shared_ptr<NamedPipe> FindPipe(HANDLE handle) {
  auto pipe = FindObjectAs<NamedPipe>(handle);
  if (!pipe) SetLastError(ERROR_INVALID_HANDLE);
  return pipe;
}

HANDLE FailHandle(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

void AddPipePeer(std::string_view name, const std::shared_ptr<PipePeer>& peer) {
  auto& registry = Registry();
  std::lock_guard lock(registry.lock);
  for (auto& pipe : registry.LiveLocked(std::string(name))) pipe->AddPeer(peer);
}

std::shared_ptr<FileHandle> OpenPipeClient(const std::string& name, DWORD access) {
  bool reads = access & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA);
  bool writes = access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA);
  if (!reads && !writes) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string path = PipeFifoPath(name);
  {
    auto& registry = Registry();
    std::lock_guard lock(registry.lock);
    auto live = registry.LiveLocked(name);
    if (live.empty()) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return nullptr;
    }
    auto listening =
        std::find_if(live.begin(), live.end(), [](const auto& pipe) { return pipe->IsListening(); });
    if (listening == live.end()) {
      SetLastError(ERROR_PIPE_BUSY);
      return nullptr;
    }
    NamedPipe& server = **listening;
    if (reads && writes) {  // a FIFO carries one way: the one the server does not take
      reads = !server.ServerReads();
      writes = !reads;
    }
    if (writes && !server.BecomeReader()) {
      SetLastError(errno == EACCES ? ERROR_ACCESS_DENIED : FileErrorFromErrno(errno, path));
      return nullptr;
    }
    if (reads && server.ServerReads()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
  }
  FdOwner fd(::open(path.c_str(), (writes ? O_WRONLY : O_RDONLY) | O_NONBLOCK | O_CLOEXEC));
  if (!fd) {
    SetLastError(errno == ENXIO ? ERROR_PIPE_BUSY : FileErrorFromErrno(errno, path));
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  return std::make_shared<PipeEnd>(fd.Release(), reads, writes);
}

}  // namespace pictavo::kernel

using pictavo::kernel::NamedPipe;

HANDLE CreateNamedPipe(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD maxInstances, DWORD outBufferSize,
                       DWORD inBufferSize, DWORD, LPSECURITY_ATTRIBUTES) {
  using namespace pictavo::kernel;
  auto pipeName = name ? PipeNameFromPath(name) : std::nullopt;
  if (!pipeName) return FailHandle(ERROR_INVALID_NAME);
  const DWORD direction = openMode & PIPE_ACCESS_DUPLEX;
  if (direction == 0 || (pipeMode & (PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_NOWAIT)) ||
      maxInstances == 0 || maxInstances > PIPE_UNLIMITED_INSTANCES)
    return FailHandle(ERROR_INVALID_PARAMETER);
  IgnoreBrokenPipeSignal();
  if (!EnsurePipeFolder()) return FailHandle(FileErrorFromErrno(errno, PipeRootFolder()));

  auto& registry = Registry();
  std::lock_guard lock(registry.lock);
  auto live = registry.LiveLocked(*pipeName);
  if (!live.empty() && (openMode & FILE_FLAG_FIRST_PIPE_INSTANCE)) return FailHandle(ERROR_ACCESS_DENIED);
  // A FIFO cannot tell two waiting instances' clients apart: one listens at a time.
  if (live.size() >= maxInstances ||
      std::any_of(live.begin(), live.end(), [](const auto& pipe) { return pipe->IsListening(); }))
    return FailHandle(ERROR_PIPE_BUSY);

  // Connected instances keep their opened FIFO; the name gets a fresh one.
  const std::string path = PipeFifoPath(*pipeName);
  ::unlink(path.c_str());
  if (::mkfifo(path.c_str(), 0600) != 0) return FailHandle(FileErrorFromErrno(errno, path));
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return FailHandle(FileErrorFromErrno(errno, path));

  const bool serverReads = direction == PIPE_ACCESS_INBOUND;
  const DWORD bufferSize = serverReads ? inBufferSize : outBufferSize;
  auto pipe = std::make_shared<NamedPipe>(path, FileIdentity{st.st_dev, st.st_ino}, serverReads,
                                          direction == PIPE_ACCESS_DUPLEX, bufferSize);
  if (serverReads && !pipe->ListenForWriter()) {
    const DWORD error = FileErrorFromErrno(errno, path);
    ::unlink(path.c_str());
    return FailHandle(error);
  }
  registry.byName.emplace(*pipeName, pipe);
  SetLastError(ERROR_SUCCESS);
  return InsertHandle(std::move(pipe));
}

BOOL ConnectNamedPipe(HANDLE handle, LPOVERLAPPED) {
  auto pipe = pictavo::kernel::FindPipe(handle);
  return pipe ? pipe->Connect() : FALSE;
}

BOOL DisconnectNamedPipe(HANDLE handle) {
  auto pipe = pictavo::kernel::FindPipe(handle);
  return pipe ? pipe->Disconnect() : FALSE;
}

BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, LPSECURITY_ATTRIBUTES, DWORD size) {
  using namespace pictavo::kernel;
  if (!readEnd || !writeEnd) return Fail(ERROR_INVALID_PARAMETER);
  IgnoreBrokenPipeSignal();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return pictavo::FailWithErrno();
  GrowPipeBuffer(fds[1], size);
  *readEnd = InsertHandle(std::make_shared<PipeEnd>(fds[0], true, false));
  *writeEnd = InsertHandle(std::make_shared<PipeEnd>(fds[1], false, true));
  return TRUE;
}
