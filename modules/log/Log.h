// The program's log file: one time-stamped printf-style line per call, from any thread.
// Callers never wait for the disk: lines are queued and written by the log's own thread.
#pragma once

#include <cstdarg>

#include "platform/base/WinTypes.h"

// Opens (appends to) the log file; a path with `\` separators is accepted. Returns FALSE when the
// file cannot be opened, in which case lines are kept in memory until a later open succeeds.
BOOL OpenLogFile(LPCSTR path);
void WriteLog(LPCSTR format, ...) __attribute__((format(printf, 1, 2)));
void WriteErrorLog(LPCSTR format, ...) __attribute__((format(printf, 1, 2)));
// Shows the log file to the user: everything written so far is flushed, then the desktop's
// viewer for the file is started (xdg-open). FALSE when no log is open or nothing can show it.
BOOL ShowLogFile();

namespace pictavo::log {
// Blocks until every line written so far is on disk (tests and shut-down).
void Flush();
// The path given to OpenLogFile, as a Linux path; empty before.
const char* CurrentPath();
// The program ShowLogFile starts with the log's path as its one argument (tests point it at a
// recorder); "xdg-open" unless set.
void SetViewerProgram(const char* program);
}  // namespace pictavo::log
