// Internal: the in-place editor of an item label (list view and tree view): an Edit control over
// the label that ends with Enter (keep), Escape (cancel) or losing the focus (keep).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/comctl/Support.h"

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

// Starts editing a label of a list or tree view: `view.editor` keeps the editor until editing
// ends. Then, if the view is still there, the editor is dropped before `finish(view, cancelled,
// text)` tells the parent, so that the parent may start another one. The Edit control, or null.
template <class View, class ViewFinish>
HWND StartLabelEditor(View& view, const RECT& rect, HFONT font, const std::string& text, ViewFinish finish) {
  std::weak_ptr<View> weak = WindowState<View>::Get(view.hwnd);
  view.editor = LabelEditor::Start(view.hwnd, rect, font, text,
                                   [weak, finish](bool cancelled, const std::string& typed) {
                                     std::shared_ptr<View> state = weak.lock();
                                     if (!state || !state->alive) return;
                                     std::unique_ptr<LabelEditor> finished = std::move(state->editor);
                                     finish(*state, cancelled, typed);
                                   });
  return view.editor ? view.editor->Edit() : nullptr;
}

}  // namespace pictavo::comctl::detail
