// Reaching a dialog's controls by id: text, numbers, check states and dialog units.
#include <cctype>
#include <cstdio>
#include <limits>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/Dialog.h"
#include "platform/user/Window.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The value of decimal text with blanks around it; false for anything else or out of range.
bool ParseInteger(const std::string& text, bool isSigned, long long* value) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && text[i] == '-' && isSigned) {
    negative = true;
    ++i;
  }
  const size_t digits = i;
  long long v = 0;
  const long long limit = isSigned ? (negative ? 2147483648LL : 2147483647LL) : 4294967295LL;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    v = v * 10 + (text[i] - '0');
    if (v > limit) return false;
    ++i;
  }
  if (i == digits) return false;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return false;
  *value = negative ? -v : v;
  return true;
}

}  // namespace

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessage(control, message, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowText(control, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR text, int maxCount) {
  if (text && maxCount > 0) text[0] = '\0';
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 0;
  return static_cast<UINT>(GetWindowText(control, text, maxCount));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned)
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  else
    std::snprintf(text, sizeof text, "%u", value);
  return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 0;
  const int length = GetWindowTextLength(control);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowText(control, text.data(), static_cast<int>(text.size()))));
  long long value = 0;
  if (!ParseInteger(text, isSigned != FALSE, &value)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return FALSE;
  SendMessage(control, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  BOOL all = TRUE;
  for (int id = firstId; id <= lastId; ++id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
      all = FALSE;
      continue;
    }
    SendMessage(control, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return all;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = pictavo::gdi::MapDialogUnits(*rect);
  return TRUE;
}
