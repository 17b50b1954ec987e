// Multiple-document windows: the MDI client ("MDICLIENT"), a child window of a frame that holds
// the document windows (MDI children), and the default procedures of the frame and of the
// children. The client numbers its children from idFirstChild in creation order (renumbered
// when one goes), keeps one active child, carries the maximized state over to the child
// activated next, arranges the children (cascade, tile, icons) and lists them at the end of the
// frame's Window menu: a separator, "&1 Title" .. "&9 Title" (ids idFirstChild + 0..8, the
// active one checked) and, past nine, "&More Windows..." (idFirstChild + 9), which opens a list
// of every child. While a child is maximized the frame's caption reads "Frame - [Child]".
//
// Minimized children lie side by side along the client's bottom edge. The frame's own (Windows)
// menu bar does not carry the maximized child's system-menu icon and buttons; the toolkit's menu
// bar shows them. UI thread only, like every window.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/Messages.h"
#include "platform/base/WinTypes.h"
#include "platform/user/Message.h"

#define WC_MDICLIENT "MDICLIENT"

// Client styles.
#define MDIS_ALLCHILDSTYLES 0x0001

// WM_MDITILE / WM_MDICASCADE flags.
#define MDITILE_VERTICAL 0x0000
#define MDITILE_HORIZONTAL 0x0001
#define MDITILE_SKIPDISABLED 0x0002
#define MDITILE_ZORDER 0x0004

// lpCreateParams of the client's CREATESTRUCT.
struct CLIENTCREATESTRUCT {
  HMENU hWindowMenu;  // the frame's Window menu, or null
  UINT idFirstChild;
};
using LPCLIENTCREATESTRUCT = CLIENTCREATESTRUCT*;

// lParam of WM_MDICREATE; the child's CREATESTRUCT carries a pointer to it as lpCreateParams.
struct MDICREATESTRUCT {
  LPCSTR szClass;
  LPCSTR szTitle;
  HANDLE hOwner;
  int x;
  int y;
  int cx;
  int cy;
  DWORD style;
  LPARAM lParam;
};
using LPMDICREATESTRUCT = MDICREATESTRUCT*;

// The frame's procedure for what it does not handle itself; hwndMDIClient may be null.
LRESULT DefFrameProc(HWND hwnd, HWND hwndMDIClient, UINT message, WPARAM wParam, LPARAM lParam);
// An MDI child's procedure for what it does not handle itself.
LRESULT DefMDIChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Ctrl+F4 closes the active child, Ctrl+F6 / Ctrl+Shift+F6 activate the next / previous one;
// TRUE when the message was such a key and has been handled.
BOOL TranslateMDISysAccel(HWND hwndClient, LPMSG msg);

namespace pictavo::user {

// The procedure of the "MDICLIENT" class (registered with the standard control classes).
LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// How many children the Window menu lists before "More Windows...".
inline constexpr int kMdiListedChildren = 9;

// The Window menu text of the child numbered `index` (0-based): "&1 Report".
std::string MdiWindowMenuText(int index, std::string_view title);
// The frame caption while a child is maximized: "Pictavo - [Report]"; the frame's own title
// alone when the child has no title.
std::string MdiMaximizedFrameTitle(std::string_view frameTitle, std::string_view childTitle);

}  // namespace pictavo::user
