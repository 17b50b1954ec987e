// Internal: what the parts of the window layer call in each other.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/WinTypes.h"
#include "platform/user/Message.h"

namespace pictavo::user {
class Display;
}

namespace pictavo::user::detail {

class MessageQueue;
struct MessageFilter;
struct SentMessage;
struct RawInput;
struct Window;

// SendMessage.cpp
// Calls the window's procedure on the calling thread (the window's own).
LRESULT CallProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void ReceiveSentMessage(MessageQueue& queue, SentMessage& sent);
// Runs `task` on the queue's thread (at once when it is the calling one); with `wait`, returns
// when it has run, handling what is sent to the calling thread meanwhile. False when the thread
// has ended.
bool RunOnThread(MessageQueue& queue, std::function<void()> task, bool wait);

// Window.cpp
// Takes the windows of an ending thread away without sending them anything.
void DestroyThreadWindows(MessageQueue& queue);

// Hooks.cpp
bool HasHooks(int idHook);
// Runs the chain of the calling thread (and of all threads) for idHook; 0 when there is none.
LRESULT CallHooks(int idHook, int code, WPARAM wParam, LPARAM lParam);
void RemoveThreadHooks(DWORD threadId);

// Display.cpp
std::shared_ptr<Display> CurrentDisplay();
SIZE DesktopSize();

// WindowDC.cpp
// Reports to the display the surfaces of the queue's windows that were drawn into.
void FlushSurfaceChanges(MessageQueue& queue);
// Records drawing into the top-level window `top` (window coordinates); any thread.
void SurfaceDrawnLocked(Window* top, const RECT& rect);
// Gives a top-level window a surface of its size, keeping what fits of the old one. Surfaces are
// made when first needed (a DC, the display), since most hidden windows never draw.
void ResizeSurfaceLocked(Window* top);

// Painting.cpp
// A window of the queue's thread that needs WM_PAINT and passes the filter; windows whose frame
// alone needs drawing get WM_NCPAINT meanwhile.
bool FindPaintWindow(MessageQueue& queue, const MessageFilter& filter, HWND* hwnd);
// A WM_PAINT was dispatched: the internal paint request it answered is done.
void PaintDispatched(HWND hwnd);
// Drops the painting state of a window being freed.
void ReleasePaintStateLocked(Window* w);
// Erases the window's background with the class brush (WM_ERASEBKGND default).
BOOL EraseWithClassBrush(HWND hwnd, HDC dc);

// Input.cpp
// Turns the queue's first input into a message passing the filter. False when there is none or
// it is for another window; `remove` takes it out of the queue (dropping input that makes no
// message: a hook or a click-activation ate it).
bool TakeInputMessage(MessageQueue& queue, MSG* msg, const MessageFilter& filter, UINT min, UINT max,
                      bool remove);
POINT CursorPosition();
// Drops the capture of a window being freed. UserLock() held.
void ForgetWindowInput(HWND hwnd);
HWND CaptureLocked();

// Keyboard.cpp
WORD MouseKeysNow();  // MK_* from the keys and buttons down now
void SetAsyncKey(UINT virtualKey, bool down);
bool AsyncKeyDown(UINT virtualKey);
// Updates the thread's key state for an input message it retrieved.
void UpdateThreadKeyState(MessageQueue& queue, const RawInput& input);

// Focus.cpp
// Drops every reference to a window being freed (focus, activation, foreground).
void ForgetWindowLocked(Window* w);
// The thread whose active window is the foreground one: where keyboard input goes.
std::shared_ptr<MessageQueue> ForegroundQueueLocked();
// Activation by a mouse click (WA_CLICKACTIVE).
void ActivateByClick(HWND topLevel);

// NonClient.cpp
// The client rectangle of a window rectangle for the frame its styles give.
RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& window, bool isChild);
LRESULT DefaultHitTest(HWND hwnd, POINT screen);
void DrawFrame(HWND hwnd, bool active);
LRESULT DefaultSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
LRESULT DefaultNcButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam);

// WindowPos.cpp
// The deepest visible window under a desktop point by geometry alone.
Window* WindowAtLocked(POINT screen);
// The window under a desktop point as mouse input sees it: windows of the calling thread are
// asked (WM_NCHITTEST) and HTTRANSPARENT passes the point to the window beneath; disabled
// children leave it to their parent when `skipDisabled`.
HWND HitWindow(POINT screen, bool skipDisabled, int* hitCode);
// SetWindowPos that reports the client size (WM_SIZE) even when it did not change: the
// minimized/maximized state did.
BOOL SetWindowPosForced(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags);
// Activates another window after the active window `hwnd` was hidden or minimized.
void AfterWindowHidden(HWND hwnd, bool wasActive);

// Cursor.cpp
void CursorForHit(HWND hwnd, int hit, UINT mouseMessage);

}  // namespace pictavo::user::detail
