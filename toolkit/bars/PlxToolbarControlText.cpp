#include "toolkit/bars/PlxToolbarControlText.h"

#include "platform/mfc/FrameWnd.h"

CString PlxWindowText(HWND hwnd) {
  CString text;
  if (hwnd == nullptr) return text;
  const int length = ::GetWindowTextLength(hwnd);
  if (length <= 0) return text;
  const int copied = ::GetWindowText(hwnd, text.GetBuffer(length), length + 1);
  text.ReleaseBuffer(copied >= 0 ? copied : 0);
  return text;
}

CString PlxComboItemText(HWND hwndCombo, int iIndex) {
  CString text;
  if (hwndCombo == nullptr || iIndex < 0) return text;
  const LRESULT length = ::SendMessage(hwndCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(iIndex), 0);
  if (length <= 0) return text;
  const LRESULT copied = ::SendMessage(hwndCombo, CB_GETLBTEXT, static_cast<WPARAM>(iIndex),
                                       reinterpret_cast<LPARAM>(text.GetBuffer(static_cast<int>(length))));
  text.ReleaseBuffer(copied > 0 ? static_cast<int>(copied) : 0);
  return text;
}

CWnd* PlxTopLevelFrame(const CWnd* pWnd) {
  CFrameWnd* frame = AfxGetParentFrame(pWnd);
  while (frame != nullptr) {
    CFrameWnd* outer = AfxGetParentFrame(frame);
    if (outer == nullptr || outer == frame) break;
    frame = outer;
  }
  return frame;
}
