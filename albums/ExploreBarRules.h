// The file browser panel's arithmetic and texts kept apart from its windows: which entries of a
// folder become rows, the parent-folder row, the size and date columns, the sort and view state,
// the name of an album a drop makes and the auto-scroll bands. Pure functions; the table tests
// in tests/albums check them.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// The kinds of a file-list row (the row record's kind); -1 for an entry that is not listed.
#define BROWSER_ROW_NONE (-1)
#define BROWSER_ROW_PHOTO 0
#define BROWSER_ROW_MUSIC 1
#define BROWSER_ROW_FOLDER 2
#define BROWSER_ROW_VIDEO 3

// The file list's columns.
#define BROWSER_COLUMN_NAME 0
#define BROWSER_COLUMN_SIZE 1
#define BROWSER_COLUMN_TYPE 2
#define BROWSER_COLUMN_MODIFIED 3
#define BROWSER_COLUMN_DATE 4
#define BROWSER_COLUMN_DIMENSIONS 5
#define BROWSER_COLUMN_COUNT 6

// What one entry of a folder (not "." or "..") becomes: a folder row, a photo or a music row by
// its extension, or nothing (hidden or system entries, other files, names without a dot).
// ("a.JPG", file) -> photo; ("b.mp3", file) -> music; ("c.txt", file) -> none; ("Trip", folder)
// -> folder; ("x.jp", file) -> none; ("README", file) -> none.
int BrowserRowKindOf(LPCTSTR lpszName, BOOL bFolder, BOOL bHiddenOrSystem);

// The path the parent-folder row ("..") carries: the parent with a trailing separator; "" where
// there is no parent to go to (the root "/", a relative name, an empty path). A mounted drive
// below "/" has one: on this system it is a folder like any other.
// "/home/u/Pictures" -> "/home/u/"; "/home/u/Pictures/" -> "/home/u/"; "/home" -> "/"; "/" -> "".
CString ParentFolderRowPath(LPCTSTR lpszFolder);
// The parent-folder row's path ends with a separator; no other row's does.
BOOL IsParentFolderRowPath(LPCTSTR lpszPath);

// The "Size" column: whole kilobytes rounded up, "," every three digits, " KB"; any size a file
// can have. 0 -> "0 KB"; 1 -> "1 KB"; 1,048,577 -> "1,025 KB"; 3 GiB -> "3,145,728 KB".
CString BrowserSizeText(ULONGLONG nBytes);
// The "Modified" column: the last-write time in local time as "2024-07-05 09:03".
CString BrowserTimeText(const FILETIME& ftUtc);

// The sort column remembered from the stored setting: the value modulo 6; a negative stored
// value (a damaged setting) sorts by name. 7 -> 1; 5 -> 5; -1 -> 0; -7 -> 0.
int SortColumnFromSetting(int nStored);
// How a column's texts compare: "Size" by length then without case, "Type" without case, the
// others with case (LIST_SORT_* of controls/ListSortCompare.h).
int SortKindForColumn(int nColumn);
// The menu command that stands for a sort column (its check mark); 0 and anything unknown "By Name".
UINT SortCommandForColumn(int nColumn);
// The sort column a menu command picks; -1 for another command.
int SortColumnForCommand(UINT nCommand);
// The menu command of the current view: "Thumbnails" while the thumbnail flag is set, else by
// the list's style (LVS_TYPEMASK bits).
UINT ViewCommandFor(BOOL bThumbnails, DWORD dwListStyle);

// The name of an album a drop of file-list rows makes, from the first selected row's path (a
// photo's file, a folder's path; "" for a music row): one folder row alone gives its own name,
// anything else the name of the folder holding that path.
// ("/Trips/Rome/a.jpg", 3 rows, photo) -> "Rome"; ("/Trips/Rome", 1 row, folder) -> "Rome";
// ("/a.jpg", 1, photo) -> ""; ("", 1, music) -> "".
CString DropAlbumName(LPCTSTR lpszFirstPath, int nSelected, BOOL bFirstIsFolder);

// Which way a list under the dragged rows scrolls: 1 up when the point lies above its client
// area shrunk by 12 pixels at the top and bottom, 2 down below that band, 0 inside it.
int DragScrollDirection(const RECT& rcClient, POINT pt);
