// Dialogs built from templates: the dialog window, its font, its controls and WM_INITDIALOG.
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/res/Templates.h"
#include "platform/user/Controls.h"
#include "platform/user/Cursor.h"
#include "platform/user/Dialog.h"
#include "platform/user/DialogInternal.h"
#include "platform/user/Menu.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user {

void RegisterDialogClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
    wc.lpfnWndProc = DefDlgProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_DIALOG;
    RegisterClassEx(&wc);
  });
}

}  // namespace pictavo::user

namespace pictavo::user::dialog {
namespace {

HFONT CreateTemplateFont(const res::DialogTemplate& t) {
  LOGFONTA lf{};
  lf.lfHeight = static_cast<LONG>(t.pointSize) * 10;
  lf.lfWeight = t.weight;
  lf.lfItalic = t.italic ? 1 : 0;
  lf.lfCharSet = t.charset;
  std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", t.fontFace.c_str());
  return gdi::CreatePointFontIndirect(lf, nullptr);
}

// Where the dialog window goes, in the coordinates CreateWindowEx takes.
RECT PlaceDialog(const res::DialogTemplate& t, DWORD style, DWORD exStyle, bool menu, HWND parentOrOwner) {
  RECT units{0, 0, t.cx, t.cy};
  RECT rect = gdi::MapDialogUnits(units);
  AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, exStyle);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  RECT origin = gdi::MapDialogUnits(RECT{t.x, t.y, t.x, t.y});
  POINT at{origin.left, origin.top};
  const bool child = (style & WS_CHILD) != 0;
  if (!child && parentOrOwner && !(t.style & DS_ABSALIGN)) ClientToScreen(parentOrOwner, &at);
  if (!child && (t.style & DS_CENTER)) {
    const SIZE desktop = gdi::DesktopSize();
    at.x = (desktop.cx - width) / 2;
    at.y = (desktop.cy - height) / 2;
  }
  return RECT{at.x, at.y, at.x + width, at.y + height};
}

bool CreateControls(HWND dialog, HINSTANCE instance, const res::DialogTemplate& t, HFONT font,
                    DialogState& state) {
  for (const res::DialogControl& c : t.controls) {
    const RECT r = gdi::MapDialogUnits(c.Rect());
    HWND control = CreateWindowEx(c.exStyle | WS_EX_NOPARENTNOTIFY, c.className.c_str(), c.text.c_str(),
                                  c.style, r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)), instance, nullptr);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      const DWORD error = GetLastError();
      std::fprintf(stderr, "pictavo: dialog %s: control %s of class \"%s\" could not be created (error %u)\n",
                   t.symbol.empty() ? std::to_string(t.name.id).c_str() : t.symbol.c_str(),
                   c.symbol.empty() ? std::to_string(static_cast<int>(c.id)).c_str() : c.symbol.c_str(),
                   c.className.c_str(), static_cast<unsigned>(error));
      SetLastError(error);
      return false;
    }
    if (font) SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (DialogCode(control) & DLGC_DEFPUSHBUTTON) state.defId = static_cast<UINT>(GetDlgCtrlID(control));
  }
  return true;
}

}  // namespace

HWND CreateFromTemplate(HINSTANCE instance, const res::DialogTemplate& t, HWND parent, DLGPROC proc,
                        LPARAM initParam) {
  RegisterDialogClass();
  DWORD style = t.style;
  DWORD exStyle = t.exStyle;
  if (style & DS_CONTROL) {
    // A dialog inside another one: no frame of its own, and Tab walks into it.
    style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if ((style & WS_CHILD) && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  HMENU menu = nullptr;
  if (t.menu && !(style & WS_CHILD)) {
    menu = LoadMenu(instance, t.menu->Pointer());
    if (!menu) return nullptr;
  }
  const RECT place = PlaceDialog(t, style, exStyle, menu != nullptr, parent);
  const char* className = t.className.empty() ? WC_DIALOG : t.className.c_str();
  HWND dialog = CreateWindowEx(exStyle, className, t.caption.c_str(), style & ~static_cast<DWORD>(WS_VISIBLE),
                               place.left, place.top, place.right - place.left, place.bottom - place.top,
                               parent, menu, instance, nullptr);
  if (!dialog) {
    if (menu) DestroyMenu(menu);
    return nullptr;
  }
  SetWindowLongPtr(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  auto state = StateOf(dialog);
  HFONT font = nullptr;
  if ((t.style & DS_SETFONT) && !t.fontFace.empty()) {
    font = CreateTemplateFont(t);
    state->font = font;
    state->ownsFont = font != nullptr;
    SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (!CreateControls(dialog, instance, t, font, *state)) {
    const DWORD error = GetLastError();
    DestroyWindow(dialog);
    SetLastError(error);
    return nullptr;
  }
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  const LRESULT setFocus = SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
  if (!IsWindow(dialog)) return nullptr;
  if (setFocus && first && IsWindow(first)) {
    state->focusSave = first;
    if (!(style & WS_CHILD)) SetDialogFocus(dialog, first, true);
  }
  if ((style & WS_VISIBLE) && !state->ended) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
  }
  return IsWindow(dialog) ? dialog : nullptr;
}

}  // namespace pictavo::user::dialog

using namespace pictavo::user::dialog;

HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM initParam) {
  if (!dialogTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateFromTemplate(instance, *dialogTemplate, parent, proc, initParam);
}

HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam) {
  const pictavo::res::DialogTemplate* t = pictavo::res::FindDialog(instance, templateName);
  if (!t) return nullptr;
  return CreateFromTemplate(instance, *t, parent, proc, initParam);
}
