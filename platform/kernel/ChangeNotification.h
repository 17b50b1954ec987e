// Change notifications on a folder (and optionally its subfolders): a waitable handle signalled
// when something the filter names changes, until FindNextChangeNotification re-arms it.
#pragma once

#include <cstdint>

#include "platform/base/WinTypes.h"

#ifndef FILE_NOTIFY_CHANGE_FILE_NAME
#define FILE_NOTIFY_CHANGE_FILE_NAME 0x00000001u
#define FILE_NOTIFY_CHANGE_DIR_NAME 0x00000002u
#define FILE_NOTIFY_CHANGE_ATTRIBUTES 0x00000004u
#define FILE_NOTIFY_CHANGE_SIZE 0x00000008u
#define FILE_NOTIFY_CHANGE_LAST_WRITE 0x00000010u
#define FILE_NOTIFY_CHANGE_LAST_ACCESS 0x00000020u
#define FILE_NOTIFY_CHANGE_CREATION 0x00000040u
#define FILE_NOTIFY_CHANGE_SECURITY 0x00000100u
#endif

// INVALID_HANDLE_VALUE on failure: ERROR_INVALID_PARAMETER for an empty or unknown filter,
// ERROR_DIRECTORY when the path is not a folder.
HANDLE FindFirstChangeNotification(LPCSTR path, BOOL watchSubtree, DWORD filter);
// Re-arms the handle. A change that came after the one that satisfied the last wait is kept and
// signals the handle again at once.
BOOL FindNextChangeNotification(HANDLE notification);
BOOL FindCloseChangeNotification(HANDLE notification);

namespace pictavo::kernel {
// The system's events (inotify masks) a filter watches, and whether one event is a change the
// filter reports.
uint32_t WatchMaskForFilter(DWORD filter);
bool EventMatchesFilter(DWORD filter, uint32_t eventMask);
}  // namespace pictavo::kernel
