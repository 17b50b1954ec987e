// Reading, writing and positioning through file and pipe handles (CreateFile, CreateNamedPipe,
// CreatePipe, GetStdHandle). Every call is synchronous.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/kernel/FileHandle.h"

#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu
#ifndef INVALID_FILE_SIZE
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#endif

// A file read at its end succeeds with 0 bytes; a pipe read whose writer is gone fails with
// ERROR_BROKEN_PIPE, a pipe write whose reader is gone with ERROR_NO_DATA.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
// On success the last error is NO_ERROR, so a position whose low part is 0xFFFFFFFF is told
// apart from INVALID_SET_FILE_POINTER.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method);
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
BOOL SetEndOfFile(HANDLE file);
// For a pipe: waits until the reader has taken everything written (or is gone).
BOOL FlushFileBuffers(HANDLE file);
// The creation time is the file system's birth time where it keeps one, else the write time.
BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite);
// A null time or one of all zero bits leaves that time alone; the creation time cannot be set.
BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                 const FILETIME* lastWrite);
// Aborts the ReadFile/WriteFile/ConnectNamedPipe calls other threads are blocked in on the handle;
// they fail with ERROR_OPERATION_ABORTED. FALSE with ERROR_NOT_FOUND when none was in progress.
BOOL CancelIoEx(HANDLE file, LPOVERLAPPED overlapped);
