// Named pipes (`\\.\pipe\NAME`, a FIFO in this process's pipe folder, see PipeNames.h) and
// anonymous pipes. Both are read and written with ReadFile/WriteFile (FileIo.h).
//
// A FIFO carries bytes one way. PIPE_ACCESS_OUTBOUND: this process writes, the client reads;
// PIPE_ACCESS_INBOUND: the other way round. PIPE_ACCESS_DUPLEX decides by the client: an
// unconnected duplex pipe becomes inbound when a client of this process opens it for writing
// alone (CreateFile with GENERIC_WRITE, or a started program's output redirected into it) and
// is outbound otherwise, which is how a program that reads the pipe by its name (ffmpeg's `-i`)
// uses it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/kernel/FileIo.h"

#define PIPE_ACCESS_INBOUND 0x00000001u
#define PIPE_ACCESS_OUTBOUND 0x00000002u
#define PIPE_ACCESS_DUPLEX 0x00000003u
#define PIPE_TYPE_BYTE 0x00000000u
#define PIPE_TYPE_MESSAGE 0x00000004u
#define PIPE_READMODE_BYTE 0x00000000u
#define PIPE_READMODE_MESSAGE 0x00000002u
#define PIPE_WAIT 0x00000000u
#define PIPE_NOWAIT 0x00000001u
#define PIPE_ACCEPT_REMOTE_CLIENTS 0x00000000u
#define PIPE_REJECT_REMOTE_CLIENTS 0x00000008u
#define PIPE_UNLIMITED_INSTANCES 255u

// Creates the FIFO. Byte pipes in blocking mode only: message mode and PIPE_NOWAIT fail with
// ERROR_INVALID_PARAMETER. One instance of a name listens at a time (ERROR_PIPE_BUSY while
// another one waits for its client). Buffer sizes are advisory. Returns INVALID_HANDLE_VALUE on
// failure.
HANDLE CreateNamedPipe(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD maxInstances, DWORD outBufferSize,
                       DWORD inBufferSize, DWORD defaultTimeOut, LPSECURITY_ATTRIBUTES attributes);
inline HANDLE CreateNamedPipeA(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD maxInstances,
                               DWORD outBufferSize, DWORD inBufferSize, DWORD defaultTimeOut,
                               LPSECURITY_ATTRIBUTES attributes) {
  return CreateNamedPipe(name, openMode, pipeMode, maxInstances, outBufferSize, inBufferSize, defaultTimeOut,
                         attributes);
}

// Waits until the client end is open (outbound: a reader opened the FIFO; inbound: a writer sent
// data or came and went). It never waits for ever:
// - CancelIoEx, DisconnectNamedPipe or CloseHandle on the pipe from another thread end it with
//   ERROR_OPERATION_ABORTED;
// - when the programs started with this pipe's name (StartProcess/CreateProcess, see Process.h)
//   have all ended without opening it, it fails with ERROR_BROKEN_PIPE.
// A pipe already connected gives FALSE with ERROR_PIPE_CONNECTED. The call is synchronous even
// when an OVERLAPPED is passed.
BOOL ConnectNamedPipe(HANDLE pipe, LPOVERLAPPED overlapped);
// Closes this process's end of the connection: the reader still gets what was written, then
// the end of the stream. Cancels a ConnectNamedPipe in progress. The pipe may be connected again.
BOOL DisconnectNamedPipe(HANDLE pipe);
// An anonymous pipe; `size` is advisory (grown up to the system's limit, never shrunk).
BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, LPSECURITY_ATTRIBUTES attributes, DWORD size);

namespace pictavo::kernel {

// A process that uses a pipe by its name. ConnectNamedPipe gives up once every such process of a
// pipe has ended.
class PipePeer {
 public:
  virtual ~PipePeer() = default;
  virtual bool HasExited() const = 0;
};
// Attaches a process to the instances of a pipe name (as PipeNameFromPath gives it) that are open
// now; used when a process is started with the pipe's name among its arguments.
void AddPipePeer(std::string_view name, const std::shared_ptr<PipePeer>& peer);

// The client end of a named pipe of this process (CreateFile of `\\.\pipe\NAME`): null with
// ERROR_FILE_NOT_FOUND when no such pipe exists, ERROR_PIPE_BUSY when none of its instances is
// listening, ERROR_ACCESS_DENIED for the direction the pipe does not carry.
[[nodiscard]] std::shared_ptr<FileHandle> OpenPipeClient(const std::string& name, DWORD access);

}  // namespace pictavo::kernel
