// Messages and the per-thread message queue. A thread's queue is made the first time the thread
// uses one of these calls or creates a window. Retrieval order: messages sent by other threads
// (handled inside the call), posted messages, the quit request, input, WM_PAINT for a window that
// needs painting, WM_TIMER for a timer that is due.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/WinTypes.h"
#include "platform/kernel/Wait.h"

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;
using PMSG = MSG*;

// PeekMessage options.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// Queue status bits (GetQueueStatus, MsgWaitForMultipleObjects).
#define QS_KEY 0x0001
#define QS_MOUSEMOVE 0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040
#define QS_HOTKEY 0x0080
#define QS_ALLPOSTMESSAGE 0x0100
#define QS_RAWINPUT 0x0400
#define QS_MOUSE (QS_MOUSEMOVE | QS_MOUSEBUTTON)
#define QS_INPUT (QS_MOUSE | QS_KEY | QS_RAWINPUT)
#define QS_ALLEVENTS (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY)
#define QS_ALLINPUT (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY | QS_SENDMESSAGE)

// PeekMessage filters by kind, in the high word of the options.
#define PM_QS_INPUT (QS_INPUT << 16)
#define PM_QS_POSTMESSAGE ((QS_POSTMESSAGE | QS_HOTKEY | QS_TIMER) << 16)
#define PM_QS_PAINT (QS_PAINT << 16)
#define PM_QS_SENDMESSAGE (QS_SENDMESSAGE << 16)

// MsgWaitForMultipleObjectsEx flags.
#define MWMO_WAITALL 0x0001
#define MWMO_ALERTABLE 0x0002
#define MWMO_INPUTAVAILABLE 0x0004

// SendMessageTimeout flags.
#define SMTO_NORMAL 0x0000
#define SMTO_BLOCK 0x0001
#define SMTO_ABORTIFHUNG 0x0002
#define SMTO_NOTIMEOUTIFNOTHUNG 0x0008

// InSendMessageEx results.
#define ISMEX_NOSEND 0x00000000
#define ISMEX_SEND 0x00000001
#define ISMEX_NOTIFY 0x00000002
#define ISMEX_CALLBACK 0x00000004
#define ISMEX_REPLIED 0x00000008

// To a window of the calling thread: calls its procedure. To a window of another thread: waits
// until that thread has processed it, handling meanwhile what other threads send to this one.
// A window whose thread has ended, or an invalid handle, gives 0.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// As SendMessage, giving up after `timeout` ms (0 with ERROR_TIMEOUT); *result gets the result.
LRESULT SendMessageTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                           DWORD_PTR* result);
// Queues the message to a window of another thread without waiting for it.
BOOL SendNotifyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL InSendMessage();
DWORD InSendMessageEx(LPVOID reserved);
// Lets the thread that sent the message being processed continue, with `result`.
BOOL ReplyMessage(LRESULT result);

// Any thread. An invalid window fails with ERROR_INVALID_WINDOW_HANDLE; a null one posts to the
// calling thread.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Fails with ERROR_INVALID_THREAD_ID when the thread has no queue (yet).
BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// hwnd: null = any window of the thread and thread messages, (HWND)-1 = thread messages only,
// otherwise that window and its descendants. min/max 0/0 = every message.
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeOptions);
// FALSE for WM_QUIT, -1 for an invalid window filter.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Waits until a new message arrives in the queue (one that was not there at the last look).
BOOL WaitMessage();
LRESULT DispatchMessage(const MSG* msg);
// Posts WM_CHAR / WM_SYSCHAR for a key press that makes a character. The character is the
// Unicode code point in wParam.
BOOL TranslateMessage(const MSG* msg);
DWORD GetMessagePos();
LONG GetMessageTime();
LPARAM GetMessageExtraInfo();
DWORD GetQueueStatus(UINT flags);
BOOL GetInputState();

// Waits on kernel objects and on the queue: WAIT_OBJECT_0 + count when input of `wakeMask`
// arrived (new since the last look unless MWMO_INPUTAVAILABLE). A message sent by another thread
// ends the wait when the mask has QS_SENDMESSAGE (QS_ALLINPUT has), for PeekMessage to handle;
// GetMessage, WaitMessage and SendMessage handle such messages while they wait.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags);

// A message number in 0xC000..0xFFFF, the same for the same name (without regard to case). It is
// derived from the name (the next free number when two names collide), so other copies of the
// program get the same one.
UINT RegisterWindowMessage(LPCSTR name);

#define SendMessageA SendMessage
#define SendMessageTimeoutA SendMessageTimeout
#define SendNotifyMessageA SendNotifyMessage
#define PostMessageA PostMessage
#define PostThreadMessageA PostThreadMessage
#define PeekMessageA PeekMessage
#define GetMessageA GetMessage
#define DispatchMessageA DispatchMessage
#define RegisterWindowMessageA RegisterWindowMessage
