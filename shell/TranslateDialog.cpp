// Dialogs in the current language: the title and each control's text from the dialog's section
// ("DIALOG_IDD_<template id>"); list and combo boxes take their items from a bracket list.

#include <string>

#include "platform/user/Controls.h"
#include "platform/user/Message.h"
#include "platform/user/WindowClass.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageFileInternal.h"

namespace {

// Items longer than this are cut (at a whole character).
constexpr size_t kMaxItem = 2047;

CString DialogSection(UINT nDialogID) {
  CString section;
  section.Format("DIALOG_IDD_%d", static_cast<int>(nDialogID));
  return section;
}

std::string CutItem(std::string_view item) {
  if (item.size() <= kMaxItem) return std::string(item);
  size_t length = kMaxItem;
  while (length > 0 && (static_cast<unsigned char>(item[length]) & 0xC0) == 0x80) --length;
  return std::string(item.substr(0, length));
}

// Refills a list or combo box with the items of the value, keeping the selected index.
void RefillList(HWND hWnd, const CString& value, UINT getSel, UINT reset, UINT add, UINT setSel) {
  const LRESULT selected = SendMessageA(hWnd, getSel, 0, 0);
  SendMessageA(hWnd, reset, 0, 0);
  CStringArray items;
  SplitBracketList(value, items);
  for (INT_PTR i = 0; i < items.GetSize(); ++i)
    SendMessageA(hWnd, add, 0, reinterpret_cast<LPARAM>(items[i].GetString()));
  if (selected != -1) SendMessageA(hWnd, setSel, static_cast<WPARAM>(selected), 0);
}

}  // namespace

int SplitBracketList(LPCTSTR lpszText, CStringArray& items) {
  items.RemoveAll();
  const std::string_view text(lpszText != nullptr ? lpszText : "");
  size_t open = text.find('[');
  if (open == std::string_view::npos) {
    items.Add(CString(CutItem(text)));
    return 1;
  }
  // '[' and ']' never occur inside a multibyte character, so a byte search is safe.
  while (open != std::string_view::npos) {
    const size_t close = text.find(']', open + 1);
    if (close == std::string_view::npos) {
      items.Add(CString(CutItem(text.substr(open + 1))));
      break;
    }
    items.Add(CString(CutItem(text.substr(open + 1, close - open - 1))));
    open = text.find('[', close + 1);
  }
  return 1;
}

BOOL CALLBACK TranslateChildWindowProc(HWND hWndChild, LPARAM lParam) {
  CString key;
  key.Format("%d", GetDlgCtrlID(hWndChild));
  std::string raw = langfile::ReadRaw(DialogSection(static_cast<UINT>(lParam)), key);
  if (raw.empty()) return TRUE;
  langfile::TurnEscapes(raw, false);
  const CString value(std::move(raw));

  char className[256] = {};
  GetClassNameA(hWndChild, className, sizeof className);
  // A list keeps its items, not a text: setting the bracket list as its text too would show it
  // in the edit field of a combo box.
  if (CString(className).CompareNoCase("ListBox") == 0) {
    RefillList(hWndChild, value, LB_GETCURSEL, LB_RESETCONTENT, LB_ADDSTRING, LB_SETCURSEL);
  } else if (CString(className).CompareNoCase("ComboBox") == 0) {
    RefillList(hWndChild, value, CB_GETCURSEL, CB_RESETCONTENT, CB_ADDSTRING, CB_SETCURSEL);
  } else {
    SetWindowTextA(hWndChild, value);
  }
  return TRUE;
}

void TranslateDialog(HWND hWnd, UINT nDialogID) {
  if (!IsWindow(hWnd)) return;
  EnumChildWindows(hWnd, TranslateChildWindowProc, static_cast<LPARAM>(nDialogID));
  const CString title = ReadLangValue(DialogSection(nDialogID), "title");
  if (!title.IsEmpty()) SetWindowTextA(hWnd, title);
}
