// Internal: the in-place editor of an item label (list view and tree view): an Edit control over
// the label that ends with Enter (keep), Escape (cancel) or losing the focus (keep).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/base/WinTypes.h"

namespace pictavo::comctl::detail {

class LabelEditor {
 public:
  // Called once when editing ends, before the Edit control goes; `text` is what was typed.
  // The owner may destroy the editor from inside it.
  using Finish = std::function<void(bool cancelled, const std::string& text)>;

  // The Edit control is a child of `owner` at `rect`, with the owner's font, the text selected
  // and the focus. Null when the control cannot be made.
  static std::unique_ptr<LabelEditor> Start(HWND owner, const RECT& rect, HFONT font, const std::string& text,
                                            Finish finish);
  ~LabelEditor();
  LabelEditor(const LabelEditor&) = delete;
  LabelEditor& operator=(const LabelEditor&) = delete;

  HWND Edit() const { return m_edit; }
  // Ends editing as the user would; nothing when it has ended already.
  void End(bool cancel);

 private:
  LabelEditor(HWND owner, HWND edit, Finish finish)
      : m_owner(owner), m_edit(edit), m_finish(std::move(finish)) {}
  static LRESULT CALLBACK EditSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR refData);

  HWND m_owner;
  HWND m_edit;
  Finish m_finish;
  bool m_done = false;
};

}  // namespace pictavo::comctl::detail
