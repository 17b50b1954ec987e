// What the toolbar's control buttons (combo box, edit box) read from their windows: texts read
// into a buffer of exactly their length plus the terminator, so nothing is cut off, and the frame
// that takes the focus back from them.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Wnd.h"

// The window's whole text ("" for no window).
CString PlxWindowText(HWND hwnd);
// The text of a combo box's item ("" for an index the combo does not hold).
CString PlxComboItemText(HWND hwndCombo, int iIndex);
// The outermost toolkit frame around the window, or null.
CWnd* PlxTopLevelFrame(const CWnd* pWnd);
