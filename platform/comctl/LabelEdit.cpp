#include "platform/comctl/LabelEdit.h"

#include "platform/comctl/Subclass.h"
#include "platform/comctl/Support.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail {

std::unique_ptr<LabelEditor> LabelEditor::Start(HWND owner, const RECT& rect, HFONT font,
                                                const std::string& text, Finish finish) {
  HWND edit = CreateWindowEx(0, WC_EDIT, text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | ES_LEFT,
                             rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, owner,
                             nullptr, nullptr, nullptr);
  if (!edit) return nullptr;
  std::unique_ptr<LabelEditor> editor(new LabelEditor(owner, edit, std::move(finish)));
  SetWindowSubclass(edit, &LabelEditor::EditSubclass, 0, reinterpret_cast<DWORD_PTR>(editor.get()));
  SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessage(edit, EM_SETSEL, 0, -1);
  ShowWindow(edit, SW_SHOW);
  SetFocus(edit);
  return editor;
}

LabelEditor::~LabelEditor() {
  if (!m_edit) return;
  HWND edit = m_edit;
  m_edit = nullptr;
  m_done = true;
  if (IsWindow(edit)) {
    RemoveWindowSubclass(edit, &LabelEditor::EditSubclass, 0);
    DestroyWindow(edit);
  }
}

void LabelEditor::End(bool cancel) {
  if (m_done) return;
  m_done = true;
  HWND edit = m_edit;
  HWND owner = m_owner;
  Finish finish = std::move(m_finish);
  m_edit = nullptr;
  const std::string text = WindowText(edit);
  // From here on `this` may go: the owner drops the editor in `finish`.
  RemoveWindowSubclass(edit, &LabelEditor::EditSubclass, 0);
  if (GetFocus() == edit && IsWindow(owner)) SetFocus(owner);
  if (finish) finish(cancel, text);
  if (IsWindow(edit)) DestroyWindow(edit);
}

LRESULT CALLBACK LabelEditor::EditSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR refData) {
  auto* editor = reinterpret_cast<LabelEditor*>(refData);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        editor->End(wParam == VK_ESCAPE);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == '\r' || wParam == 27) return 0;  // no beep for the keys that end editing
      break;
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      editor->End(false);
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace pictavo::comctl::detail
