// Message-map entries of window messages: ON_WM_xxx() calls the handler of the class library's
// name and parameters (OnPaint(), OnSize(UINT, int, int), OnCtlColor(CDC*, CWnd*, UINT) ...), and
// ON_WM_xxx_REFLECT() the control's own handler of a message its parent reflected to it.
// Included by Wnd.h.
#pragma once

#define PICTAVO_WM_ENTRY(message, ...) \
  PICTAVO_MAP_ENTRY(message, 0, 0, 0, AfxSig_window, nullptr, __VA_ARGS__ return TRUE;)
#define PICTAVO_WM_RESULT(message, expression) \
  PICTAVO_WM_ENTRY(message, call.lResult = ::pictavo::mfc::ResultOf([&] { return expression; });)

#define PICTAVO_WND(value) CWnd::FromHandle(reinterpret_cast<HWND>(value))
#define PICTAVO_DC(value) CDC::FromHandle(reinterpret_cast<HDC>(value))
#define PICTAVO_POINT CPoint(GET_X_LPARAM(call.lParam), GET_Y_LPARAM(call.lParam))
#define PICTAVO_KEY_ARGS static_cast<UINT>(call.wParam), LOWORD(call.lParam), HIWORD(call.lParam)
#define PICTAVO_MOUSE_ARGS static_cast<UINT>(call.wParam), PICTAVO_POINT
#define PICTAVO_NC_MOUSE_ARGS static_cast<UINT>(call.wParam), PICTAVO_POINT

#define ON_WM_CREATE() \
  PICTAVO_WM_RESULT(WM_CREATE, self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)))
#define ON_WM_DESTROY() PICTAVO_WM_ENTRY(WM_DESTROY, self->OnDestroy();)
#define ON_WM_NCDESTROY() PICTAVO_WM_ENTRY(WM_NCDESTROY, self->OnNcDestroy();)
#define ON_WM_NCCREATE() \
  PICTAVO_WM_RESULT(WM_NCCREATE, self->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)))
#define ON_WM_NCCALCSIZE()                                                           \
  PICTAVO_WM_ENTRY(WM_NCCALCSIZE, self->OnNcCalcSize(static_cast<BOOL>(call.wParam), \
                                                     reinterpret_cast<NCCALCSIZE_PARAMS*>(call.lParam));)
#define ON_WM_NCHITTEST() PICTAVO_WM_RESULT(WM_NCHITTEST, self->OnNcHitTest(PICTAVO_POINT))
#define ON_WM_NCPAINT() PICTAVO_WM_ENTRY(WM_NCPAINT, self->OnNcPaint();)
#define ON_WM_NCACTIVATE() \
  PICTAVO_WM_RESULT(WM_NCACTIVATE, self->OnNcActivate(static_cast<BOOL>(call.wParam)))
#define ON_WM_NCMOUSEMOVE() PICTAVO_WM_ENTRY(WM_NCMOUSEMOVE, self->OnNcMouseMove(PICTAVO_NC_MOUSE_ARGS);)
#define ON_WM_NCLBUTTONDOWN() \
  PICTAVO_WM_ENTRY(WM_NCLBUTTONDOWN, self->OnNcLButtonDown(PICTAVO_NC_MOUSE_ARGS);)
#define ON_WM_NCLBUTTONUP() PICTAVO_WM_ENTRY(WM_NCLBUTTONUP, self->OnNcLButtonUp(PICTAVO_NC_MOUSE_ARGS);)
#define ON_WM_NCLBUTTONDBLCLK() \
  PICTAVO_WM_ENTRY(WM_NCLBUTTONDBLCLK, self->OnNcLButtonDblClk(PICTAVO_NC_MOUSE_ARGS);)
#define ON_WM_NCRBUTTONDOWN() \
  PICTAVO_WM_ENTRY(WM_NCRBUTTONDOWN, self->OnNcRButtonDown(PICTAVO_NC_MOUSE_ARGS);)
#define ON_WM_NCRBUTTONUP() PICTAVO_WM_ENTRY(WM_NCRBUTTONUP, self->OnNcRButtonUp(PICTAVO_NC_MOUSE_ARGS);)
#define ON_WM_NCMBUTTONDOWN() \
  PICTAVO_WM_ENTRY(WM_NCMBUTTONDOWN, self->OnNcMButtonDown(PICTAVO_NC_MOUSE_ARGS);)
#define ON_WM_MOVE() \
  PICTAVO_WM_ENTRY(WM_MOVE, self->OnMove(GET_X_LPARAM(call.lParam), GET_Y_LPARAM(call.lParam));)
#define ON_WM_SIZE()        \
  PICTAVO_WM_ENTRY(WM_SIZE, \
                   self->OnSize(static_cast<UINT>(call.wParam), LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_SIZING()                                                                                    \
  PICTAVO_WM_ENTRY(WM_SIZING,                                                                             \
                   self->OnSizing(static_cast<UINT>(call.wParam), reinterpret_cast<LPRECT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_MOVING()                                                                                    \
  PICTAVO_WM_ENTRY(WM_MOVING,                                                                             \
                   self->OnMoving(static_cast<UINT>(call.wParam), reinterpret_cast<LPRECT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_ACTIVATE()                                                                        \
  PICTAVO_WM_ENTRY(WM_ACTIVATE, self->OnActivate(LOWORD(call.wParam), PICTAVO_WND(call.lParam), \
                                                 static_cast<BOOL>(HIWORD(call.wParam)));)
#define ON_WM_ACTIVATEAPP()        \
  PICTAVO_WM_ENTRY(WM_ACTIVATEAPP, \
                   self->OnActivateApp(static_cast<BOOL>(call.wParam), static_cast<DWORD>(call.lParam));)
#define ON_WM_SETFOCUS() PICTAVO_WM_ENTRY(WM_SETFOCUS, self->OnSetFocus(PICTAVO_WND(call.wParam));)
#define ON_WM_KILLFOCUS() PICTAVO_WM_ENTRY(WM_KILLFOCUS, self->OnKillFocus(PICTAVO_WND(call.wParam));)
#define ON_WM_ENABLE() PICTAVO_WM_ENTRY(WM_ENABLE, self->OnEnable(static_cast<BOOL>(call.wParam));)
#define ON_WM_PAINT() PICTAVO_WM_ENTRY(WM_PAINT, self->OnPaint();)
#define ON_WM_CLOSE() PICTAVO_WM_ENTRY(WM_CLOSE, self->OnClose();)
#define ON_WM_ERASEBKGND() PICTAVO_WM_RESULT(WM_ERASEBKGND, self->OnEraseBkgnd(PICTAVO_DC(call.wParam)))
#define ON_WM_SHOWWINDOW()        \
  PICTAVO_WM_ENTRY(WM_SHOWWINDOW, \
                   self->OnShowWindow(static_cast<BOOL>(call.wParam), static_cast<UINT>(call.lParam));)
// Every WM_CTLCOLOR* message; nCtlColor is CTLCOLOR_EDIT, CTLCOLOR_STATIC ...
#define ON_WM_CTLCOLOR()                                                                             \
  PICTAVO_WM_RESULT(WM_CTLCOLOR, self->OnCtlColor(PICTAVO_DC(call.wParam), PICTAVO_WND(call.lParam), \
                                                  call.message - WM_CTLCOLORMSGBOX))
#define ON_WM_SETCURSOR()         \
  PICTAVO_WM_RESULT(WM_SETCURSOR, \
                    self->OnSetCursor(PICTAVO_WND(call.wParam), LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_MOUSEACTIVATE()                                                                              \
  PICTAVO_WM_RESULT(WM_MOUSEACTIVATE, self->OnMouseActivate(PICTAVO_WND(call.wParam), LOWORD(call.lParam), \
                                                            HIWORD(call.lParam)))
#define ON_WM_GETMINMAXINFO() \
  PICTAVO_WM_ENTRY(WM_GETMINMAXINFO, self->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(call.lParam));)
#define ON_WM_DRAWITEM()                                                                           \
  PICTAVO_WM_ENTRY(WM_DRAWITEM, self->OnDrawItem(static_cast<int>(call.wParam),                    \
                                                 reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_MEASUREITEM()                                                                                 \
  PICTAVO_WM_ENTRY(WM_MEASUREITEM, self->OnMeasureItem(static_cast<int>(call.wParam),                       \
                                                       reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_DELETEITEM()                                                                               \
  PICTAVO_WM_ENTRY(WM_DELETEITEM, self->OnDeleteItem(static_cast<int>(call.wParam),                      \
                                                     reinterpret_cast<LPDELETEITEMSTRUCT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_COMPAREITEM()                                                            \
  PICTAVO_WM_RESULT(WM_COMPAREITEM, self->OnCompareItem(static_cast<int>(call.wParam), \
                                                        reinterpret_cast<LPCOMPAREITEMSTRUCT>(call.lParam)))
#define ON_WM_VKEYTOITEM()                                                                                   \
  PICTAVO_WM_RESULT(WM_VKEYTOITEM, self->OnVKeyToItem(LOWORD(call.wParam),                                   \
                                                      reinterpret_cast<CListBox*>(PICTAVO_WND(call.lParam)), \
                                                      HIWORD(call.wParam)))
#define ON_WM_CHARTOITEM()                                                                                   \
  PICTAVO_WM_RESULT(WM_CHARTOITEM, self->OnCharToItem(LOWORD(call.wParam),                                   \
                                                      reinterpret_cast<CListBox*>(PICTAVO_WND(call.lParam)), \
                                                      HIWORD(call.wParam)))
#define ON_WM_QUERYDRAGICON() PICTAVO_WM_RESULT(WM_QUERYDRAGICON, self->OnQueryDragIcon())
#define ON_WM_WINDOWPOSCHANGING()        \
  PICTAVO_WM_ENTRY(WM_WINDOWPOSCHANGING, \
                   self->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(call.lParam));)
#define ON_WM_WINDOWPOSCHANGED() \
  PICTAVO_WM_ENTRY(WM_WINDOWPOSCHANGED, self->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(call.lParam));)
#define ON_WM_COPYDATA()                                                    \
  PICTAVO_WM_RESULT(WM_COPYDATA, self->OnCopyData(PICTAVO_WND(call.wParam), \
                                                  reinterpret_cast<COPYDATASTRUCT*>(call.lParam)))
#define ON_WM_CONTEXTMENU() \
  PICTAVO_WM_ENTRY(WM_CONTEXTMENU, self->OnContextMenu(PICTAVO_WND(call.wParam), PICTAVO_POINT);)
#define ON_WM_STYLECHANGING()                                                             \
  PICTAVO_WM_ENTRY(WM_STYLECHANGING, self->OnStyleChanging(static_cast<int>(call.wParam), \
                                                           reinterpret_cast<LPSTYLESTRUCT>(call.lParam));)
#define ON_WM_STYLECHANGED()                                                            \
  PICTAVO_WM_ENTRY(WM_STYLECHANGED, self->OnStyleChanged(static_cast<int>(call.wParam), \
                                                         reinterpret_cast<LPSTYLESTRUCT>(call.lParam));)
#define ON_WM_GETDLGCODE() PICTAVO_WM_RESULT(WM_GETDLGCODE, self->OnGetDlgCode())
#define ON_WM_KEYDOWN() PICTAVO_WM_ENTRY(WM_KEYDOWN, self->OnKeyDown(PICTAVO_KEY_ARGS);)
#define ON_WM_KEYUP() PICTAVO_WM_ENTRY(WM_KEYUP, self->OnKeyUp(PICTAVO_KEY_ARGS);)
#define ON_WM_SYSKEYDOWN() PICTAVO_WM_ENTRY(WM_SYSKEYDOWN, self->OnSysKeyDown(PICTAVO_KEY_ARGS);)
#define ON_WM_SYSKEYUP() PICTAVO_WM_ENTRY(WM_SYSKEYUP, self->OnSysKeyUp(PICTAVO_KEY_ARGS);)
#define ON_WM_CHAR() PICTAVO_WM_ENTRY(WM_CHAR, self->OnChar(PICTAVO_KEY_ARGS);)
#define ON_WM_SYSCHAR() PICTAVO_WM_ENTRY(WM_SYSCHAR, self->OnSysChar(PICTAVO_KEY_ARGS);)
#define ON_WM_INITMENU() \
  PICTAVO_WM_ENTRY(WM_INITMENU, self->OnInitMenu(CMenu::FromHandle(reinterpret_cast<HMENU>(call.wParam)));)
#define ON_WM_INITMENUPOPUP()                                                                     \
  PICTAVO_WM_ENTRY(WM_INITMENUPOPUP,                                                              \
                   self->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(call.wParam)), \
                                         LOWORD(call.lParam), static_cast<BOOL>(HIWORD(call.lParam)));)
#define ON_WM_MENUSELECT()                                                                     \
  PICTAVO_WM_ENTRY(WM_MENUSELECT, self->OnMenuSelect(LOWORD(call.wParam), HIWORD(call.wParam), \
                                                     reinterpret_cast<HMENU>(call.lParam));)
#define ON_WM_MENUCHAR()                                                                    \
  PICTAVO_WM_RESULT(WM_MENUCHAR, self->OnMenuChar(LOWORD(call.wParam), HIWORD(call.wParam), \
                                                  CMenu::FromHandle(reinterpret_cast<HMENU>(call.lParam))))
#define ON_WM_ENTERIDLE() \
  PICTAVO_WM_ENTRY(WM_ENTERIDLE, self->OnEnterIdle(static_cast<UINT>(call.wParam), PICTAVO_WND(call.lParam));)
#define ON_WM_SYSCOMMAND() \
  PICTAVO_WM_ENTRY(WM_SYSCOMMAND, self->OnSysCommand(static_cast<UINT>(call.wParam), call.lParam);)
#define ON_WM_TIMER() PICTAVO_WM_ENTRY(WM_TIMER, self->OnTimer(static_cast<UINT_PTR>(call.wParam));)
#define ON_WM_HSCROLL()                                                                  \
  PICTAVO_WM_ENTRY(WM_HSCROLL, self->OnHScroll(LOWORD(call.wParam), HIWORD(call.wParam), \
                                               reinterpret_cast<CScrollBar*>(PICTAVO_WND(call.lParam)));)
#define ON_WM_VSCROLL()                                                                  \
  PICTAVO_WM_ENTRY(WM_VSCROLL, self->OnVScroll(LOWORD(call.wParam), HIWORD(call.wParam), \
                                               reinterpret_cast<CScrollBar*>(PICTAVO_WND(call.lParam)));)
#define ON_WM_MOUSEMOVE() PICTAVO_WM_ENTRY(WM_MOUSEMOVE, self->OnMouseMove(PICTAVO_MOUSE_ARGS);)
#define ON_WM_LBUTTONDOWN() PICTAVO_WM_ENTRY(WM_LBUTTONDOWN, self->OnLButtonDown(PICTAVO_MOUSE_ARGS);)
#define ON_WM_LBUTTONUP() PICTAVO_WM_ENTRY(WM_LBUTTONUP, self->OnLButtonUp(PICTAVO_MOUSE_ARGS);)
#define ON_WM_LBUTTONDBLCLK() PICTAVO_WM_ENTRY(WM_LBUTTONDBLCLK, self->OnLButtonDblClk(PICTAVO_MOUSE_ARGS);)
#define ON_WM_RBUTTONDOWN() PICTAVO_WM_ENTRY(WM_RBUTTONDOWN, self->OnRButtonDown(PICTAVO_MOUSE_ARGS);)
#define ON_WM_RBUTTONUP() PICTAVO_WM_ENTRY(WM_RBUTTONUP, self->OnRButtonUp(PICTAVO_MOUSE_ARGS);)
#define ON_WM_RBUTTONDBLCLK() PICTAVO_WM_ENTRY(WM_RBUTTONDBLCLK, self->OnRButtonDblClk(PICTAVO_MOUSE_ARGS);)
#define ON_WM_MBUTTONDOWN() PICTAVO_WM_ENTRY(WM_MBUTTONDOWN, self->OnMButtonDown(PICTAVO_MOUSE_ARGS);)
#define ON_WM_MBUTTONUP() PICTAVO_WM_ENTRY(WM_MBUTTONUP, self->OnMButtonUp(PICTAVO_MOUSE_ARGS);)
#define ON_WM_MBUTTONDBLCLK() PICTAVO_WM_ENTRY(WM_MBUTTONDBLCLK, self->OnMButtonDblClk(PICTAVO_MOUSE_ARGS);)
// Wheel positions are screen coordinates.
#define ON_WM_MOUSEWHEEL() \
  PICTAVO_WM_RESULT(       \
      WM_MOUSEWHEEL,       \
      self->OnMouseWheel(LOWORD(call.wParam), static_cast<short>(HIWORD(call.wParam)), PICTAVO_POINT))
#define ON_WM_MOUSEHWHEEL() \
  PICTAVO_WM_ENTRY(         \
      WM_MOUSEHWHEEL,       \
      self->OnMouseHWheel(LOWORD(call.wParam), static_cast<short>(HIWORD(call.wParam)), PICTAVO_POINT);)
#define ON_WM_MOUSELEAVE() PICTAVO_WM_ENTRY(WM_MOUSELEAVE, self->OnMouseLeave();)
#define ON_WM_MOUSEHOVER() PICTAVO_WM_ENTRY(WM_MOUSEHOVER, self->OnMouseHover(PICTAVO_MOUSE_ARGS);)
#define ON_WM_CAPTURECHANGED() \
  PICTAVO_WM_ENTRY(WM_CAPTURECHANGED, self->OnCaptureChanged(PICTAVO_WND(call.lParam));)
#define ON_WM_CANCELMODE() PICTAVO_WM_ENTRY(WM_CANCELMODE, self->OnCancelMode();)
#define ON_WM_SYSCOLORCHANGE() PICTAVO_WM_ENTRY(WM_SYSCOLORCHANGE, self->OnSysColorChange();)
#define ON_WM_SETTINGCHANGE()                                                              \
  PICTAVO_WM_ENTRY(WM_SETTINGCHANGE, self->OnSettingChange(static_cast<UINT>(call.wParam), \
                                                           reinterpret_cast<LPCTSTR>(call.lParam));)
#define ON_WM_DROPFILES() \
  PICTAVO_WM_ENTRY(WM_DROPFILES, self->OnDropFiles(reinterpret_cast<HDROP>(call.wParam));)
#define ON_WM_PARENTNOTIFY() \
  PICTAVO_WM_ENTRY(WM_PARENTNOTIFY, self->OnParentNotify(LOWORD(call.wParam), call.lParam);)
#define ON_WM_QUERYENDSESSION() PICTAVO_WM_RESULT(WM_QUERYENDSESSION, self->OnQueryEndSession())
#define ON_WM_ENDSESSION() \
  PICTAVO_WM_ENTRY(WM_ENDSESSION, self->OnEndSession(static_cast<BOOL>(call.wParam));)
#define ON_WM_HELPINFO() \
  PICTAVO_WM_RESULT(WM_HELP, self->OnHelpInfo(reinterpret_cast<HELPINFO*>(call.lParam)))

// Reflected to the control: the parent's message offered to the control that caused it.
#define ON_WM_CTLCOLOR_REFLECT()                                                                       \
  PICTAVO_MAP_ENTRY(                                                                                   \
      WM_CTLCOLOR + WM_REFLECT_BASE, 0, 0, 0, AfxSig_window, nullptr,                                  \
      HBRUSH pictavo_brush =                                                                           \
          self->CtlColor(PICTAVO_DC(call.wParam), call.message - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX); \
      call.lResult = reinterpret_cast<LRESULT>(pictavo_brush); return pictavo_brush != nullptr;)
#define ON_WM_DRAWITEM_REFLECT()                                                    \
  PICTAVO_WM_ENTRY(WM_DRAWITEM + WM_REFLECT_BASE,                                   \
                   self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_MEASUREITEM_REFLECT()                                                       \
  PICTAVO_WM_ENTRY(WM_MEASUREITEM + WM_REFLECT_BASE,                                      \
                   self->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_DELETEITEM_REFLECT()                                                      \
  PICTAVO_WM_ENTRY(WM_DELETEITEM + WM_REFLECT_BASE,                                     \
                   self->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(call.lParam)); \
                   call.lResult = TRUE;)
#define ON_WM_COMPAREITEM_REFLECT()                   \
  PICTAVO_WM_RESULT(WM_COMPAREITEM + WM_REFLECT_BASE, \
                    self->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(call.lParam)))
#define ON_WM_HSCROLL_REFLECT() \
  PICTAVO_WM_ENTRY(WM_HSCROLL + WM_REFLECT_BASE, self->HScroll(LOWORD(call.wParam), HIWORD(call.wParam));)
#define ON_WM_VSCROLL_REFLECT() \
  PICTAVO_WM_ENTRY(WM_VSCROLL + WM_REFLECT_BASE, self->VScroll(LOWORD(call.wParam), HIWORD(call.wParam));)
#define ON_WM_PARENTNOTIFY_REFLECT() \
  PICTAVO_WM_ENTRY(WM_PARENTNOTIFY + WM_REFLECT_BASE, self->ParentNotify(LOWORD(call.wParam), call.lParam);)
#define ON_WM_CHARTOITEM_REFLECT()                   \
  PICTAVO_WM_RESULT(WM_CHARTOITEM + WM_REFLECT_BASE, \
                    self->CharToItem(LOWORD(call.wParam), HIWORD(call.wParam)))
#define ON_WM_VKEYTOITEM_REFLECT()                   \
  PICTAVO_WM_RESULT(WM_VKEYTOITEM + WM_REFLECT_BASE, \
                    self->VKeyToItem(LOWORD(call.wParam), HIWORD(call.wParam)))
