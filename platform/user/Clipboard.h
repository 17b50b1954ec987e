// The clipboard, inside the process: data is kept by format until the next EmptyClipboard.
// Text formats are converted on request (CF_TEXT is UTF-8, CF_UNICODETEXT wide text).
#pragma once

#include "platform/base/WinTypes.h"

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_METAFILEPICT 3
#define CF_SYLK 4
#define CF_DIF 5
#define CF_TIFF 6
#define CF_OEMTEXT 7
#define CF_DIB 8
#define CF_PALETTE 9
#define CF_RIFF 11
#define CF_WAVE 12
#define CF_UNICODETEXT 13
#define CF_ENHMETAFILE 14
#define CF_HDROP 15
#define CF_LOCALE 16
#define CF_DIBV5 17
#define CF_OWNERDISPLAY 0x0080
#define CF_PRIVATEFIRST 0x0200
#define CF_PRIVATELAST 0x02FF
#define CF_GDIOBJFIRST 0x0300
#define CF_GDIOBJLAST 0x03FF

// Opened by one thread at a time; fails with ERROR_ACCESS_DENIED while another has it open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees what the clipboard holds (memory blocks, bitmaps) and makes the opener its owner.
BOOL EmptyClipboard();
// Memory formats take a GlobalAlloc block, CF_BITMAP a bitmap: the clipboard owns it from then on.
// Returns the data, or null (the caller keeps it) when the clipboard is not open.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The data stays the clipboard's; null when the format is not available.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
UINT EnumClipboardFormats(UINT format);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
UINT RegisterClipboardFormat(LPCSTR name);
DWORD GetClipboardSequenceNumber();
#define RegisterClipboardFormatA RegisterClipboardFormat
