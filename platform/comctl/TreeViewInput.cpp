// Tree view input: clicks on buttons, check boxes and items, drag detection, the keyboard
// (arrows, + - *, Backspace, type-ahead) and in-place label editing.
#include <algorithm>

#include "platform/base/Utf8.h"
#include "platform/comctl/TreeViewInternal.h"

namespace pictavo::comctl::detail::treeview {
namespace {

LRESULT NotifyDrag(TreeViewState& s, UINT code, Node* node, POINT pt) {
  NMTREEVIEWA nm{};
  nm.action = 0;
  nm.itemNew.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
  nm.itemNew.hItem = Handle(node);
  nm.itemNew.state = ItemStateOf(s, node);
  nm.itemNew.stateMask = 0xFFFF;
  nm.itemNew.lParam = node->param;
  nm.ptDrag = pt;
  return SendNotify(s, code, &nm.hdr);
}

void ToggleCheck(TreeViewState& s, Node* node) {
  const UINT image = (node->state & TVIS_STATEIMAGEMASK) >> 12;
  node->state = (node->state & ~TVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(image == 2 ? 1 : 2);
  InvalidateNode(s, node);
}

void ExpandAll(TreeViewState& s, Node* node) {
  if (!HasChildren(s, node)) return;
  Expand(s, node, TVE_EXPAND, true);
  for (Node* child = node->firstChild; child && s.alive; child = child->next) ExpandAll(s, child);
}

Node* RowAt(TreeViewState& s, int row) {
  RebuildRows(s);
  if (s.rows.empty()) return nullptr;
  return s.rows[static_cast<size_t>(std::clamp(row, 0, static_cast<int>(s.rows.size()) - 1))];
}

}  // namespace

void CancelPress(TreeViewState& s) {
  s.press.active = false;
  s.press.node = nullptr;
  if (GetCapture() == s.hwnd) ReleaseCapture();
}

void OnButtonDown(TreeViewState& s, POINT pt, bool right, bool doubleClick) {
  const bool hadFocus = s.focused;
  if (GetFocus() != s.hwnd) SetFocus(s.hwnd);
  if (!s.alive) return;
  KillTimer(s.hwnd, kEditTimer);
  s.pendingEdit = nullptr;
  UINT flags = 0;
  Node* node = HitTest(s, pt, &flags);
  if (!s.alive) return;
  if (!right && node && (flags & TVHT_ONITEMBUTTON)) {
    Expand(s, node, TVE_TOGGLE, true);
    return;
  }
  if (doubleClick) {
    const LRESULT handled = SendSimpleNotify(s, right ? NM_RDBLCLK : NM_DBLCLK);
    if (!s.alive || right || handled || !node || !(flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return;
    Expand(s, node, TVE_TOGGLE, true);
    return;
  }
  if (!right && node && (flags & TVHT_ONITEMSTATEICON) && (StyleOf(s) & TVS_CHECKBOXES)) {
    ToggleCheck(s, node);
    return;
  }
  s.press = TreeViewState::Press{};
  s.press.right = right;
  s.press.start = pt;
  const bool onItem =
      node && (flags & (TVHT_ONITEM | ((StyleOf(s) & TVS_FULLROWSELECT) ? TVHT_ONITEMRIGHT : 0)));
  s.press.node = onItem ? node : nullptr;
  s.press.wasCaret = onItem && node == s.caret && hadFocus;
  s.press.active = true;
  SetCapture(s.hwnd);
  // A right click marks the item it is for until the button comes up.
  if (right && s.press.node) SelectDropTarget(s, s.press.node);
}

void OnMouseMove(TreeViewState& s, POINT pt, WPARAM keys) {
  if (!s.press.active) return;
  if (!(keys & (s.press.right ? MK_RBUTTON : MK_LBUTTON))) {
    CancelPress(s);
    return;
  }
  if (!BeyondDragDistance(s.press.start, pt)) return;
  const TreeViewState::Press press = s.press;
  CancelPress(s);
  if (press.right) SelectDropTarget(s, nullptr);
  if (press.node && s.nodes.count(press.node) && !(StyleOf(s) & TVS_DISABLEDRAGDROP))
    NotifyDrag(s, press.right ? TVN_BEGINRDRAGA : TVN_BEGINDRAGA, press.node, press.start);
}

void OnButtonUp(TreeViewState& s, POINT pt, bool right) {
  if (!s.press.active || s.press.right != right) return;
  const TreeViewState::Press press = s.press;
  CancelPress(s);
  if (right) {
    const LRESULT handled = SendSimpleNotify(s, NM_RCLICK);
    if (!s.alive) return;
    SelectDropTarget(s, nullptr);
    if (!handled) {
      POINT screen = pt;
      ClientToScreen(s.hwnd, &screen);
      SendMessage(s.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(s.hwnd), MAKELPARAM(screen.x, screen.y));
    }
    return;
  }
  // The click is told before the selection moves, as the parent expects.
  const LRESULT handled = SendSimpleNotify(s, NM_CLICK);
  if (!s.alive || handled || !press.node || !s.nodes.count(press.node)) return;
  SelectCaret(s, press.node, TVC_BYMOUSE);
  if (!s.alive) return;
  if (press.wasCaret && (StyleOf(s) & TVS_EDITLABELS)) {
    s.pendingEdit = press.node;
    SetTimer(s.hwnd, kEditTimer, GetDoubleClickTime(), nullptr);
  }
}

void OnTimer(TreeViewState& s, UINT_PTR id) {
  if (id != kEditTimer) return;
  KillTimer(s.hwnd, kEditTimer);
  Node* node = s.pendingEdit;
  s.pendingEdit = nullptr;
  if (node && s.nodes.count(node) && node == s.caret && !s.editor) EditLabel(s, node);
}

void OnKeyDown(TreeViewState& s, UINT key) {
  NMTVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  SendNotify(s, TVN_KEYDOWN, &nm.hdr);
  if (!s.alive) return;
  RebuildRows(s);
  if (s.rows.empty()) return;
  Node* caret = s.caret && s.nodes.count(s.caret) && s.caret->row >= 0 ? s.caret : nullptr;
  Node* target = nullptr;
  switch (key) {
    case VK_UP:
      target = caret ? RowAt(s, caret->row - 1) : RowAt(s, 0);
      break;
    case VK_DOWN:
      target = caret ? RowAt(s, caret->row + 1) : RowAt(s, 0);
      break;
    case VK_HOME:
      target = RowAt(s, 0);
      break;
    case VK_END:
      target = RowAt(s, static_cast<int>(s.rows.size()) - 1);
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      const int page = std::max(1, VisibleCount(s) - 1);
      target = RowAt(s, (caret ? caret->row : 0) + (key == VK_NEXT ? page : -page));
      break;
    }
    case VK_LEFT:
      if (!caret) return;
      if (caret->state & TVIS_EXPANDED) {
        Expand(s, caret, TVE_COLLAPSE, true);
        return;
      }
      target = caret->parent != &s.root ? caret->parent : nullptr;
      break;
    case VK_BACK:
      if (caret && caret->parent != &s.root) target = caret->parent;
      break;
    case VK_RIGHT:
      if (!caret) return;
      if (!(caret->state & TVIS_EXPANDED)) {
        if (HasChildren(s, caret)) Expand(s, caret, TVE_EXPAND, true);
        return;
      }
      target = caret->firstChild;
      break;
    case VK_ADD:
      if (caret) Expand(s, caret, TVE_EXPAND, true);
      return;
    case VK_SUBTRACT:
      if (caret) Expand(s, caret, TVE_COLLAPSE, true);
      return;
    case VK_MULTIPLY:
      if (caret) ExpandAll(s, caret);
      return;
    case VK_SPACE:
      if (caret && (StyleOf(s) & TVS_CHECKBOXES)) ToggleCheck(s, caret);
      return;
    case VK_RETURN:
      SendSimpleNotify(s, NM_RETURN);
      return;
    case VK_F2:
      if (caret && (StyleOf(s) & TVS_EDITLABELS)) EditLabel(s, caret);
      return;
    default:
      return;
  }
  if (target && target != s.caret) SelectCaret(s, target, TVC_BYKEYBOARD);
}

void OnChar(TreeViewState& s, char32_t ch) {
  // '+', '-', '*' and Space act through their keys; the rest searches the visible items.
  if (ch < 32 || ch == '+' || ch == '-' || ch == '*' || ch == ' ') return;
  RebuildRows(s);
  if (s.rows.empty()) return;
  const DWORD now = static_cast<DWORD>(GetMessageTime());
  if (s.search.empty() || now - s.searchTime > 1000) s.search.clear();
  s.searchTime = now;
  utf8::AppendCodePoint(s.search, ch);
  const size_t first = utf8::CharLength(s.search);
  bool repeated = true;
  for (size_t i = first; i + first <= s.search.size(); i += first)
    if (s.search.compare(i, first, s.search, 0, first) != 0) repeated = false;
  const std::string prefix = repeated ? s.search.substr(0, first) : s.search;
  const int count = static_cast<int>(s.rows.size());
  const int caretRow = s.caret && s.caret->row >= 0 ? s.caret->row : -1;
  const int start = repeated ? caretRow + 1 : std::max(caretRow, 0);
  for (int i = 0; i < count && s.alive; ++i) {
    Node* node = s.rows[static_cast<size_t>((start + i) % count)];
    if (StartsWithNoCase(Resolve(s, node, TVIF_TEXT).text, prefix)) {
      if (s.alive && s.nodes.count(node)) SelectCaret(s, node, TVC_BYKEYBOARD);
      return;
    }
    RebuildRows(s);
    if (static_cast<int>(s.rows.size()) != count) return;
  }
}

HWND EditLabel(TreeViewState& s, Node* node) {
  if (s.editor) s.editor->End(false);
  if (!s.alive || !node || !s.nodes.count(node)) return nullptr;
  EnsureVisible(s, node);
  if (!s.alive || !s.nodes.count(node)) return nullptr;
  std::string text = Resolve(s, node, TVIF_TEXT).text;
  NMTVDISPINFOA begin{};
  begin.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
  begin.item.hItem = Handle(node);
  begin.item.pszText = text.data();
  begin.item.cchTextMax = static_cast<int>(text.size()) + 1;
  begin.item.lParam = node->param;
  begin.item.state = ItemStateOf(s, node);
  if (SendNotify(s, TVN_BEGINLABELEDITA, &begin.hdr) || !s.alive || !s.nodes.count(node)) return nullptr;
  NodeParts p;
  if (!PartsOf(s, node, &p)) return nullptr;
  RECT rect = p.label;
  rect.right = std::max(rect.right, rect.left + 60);
  s.editNode = node;
  const HFONT font = (node->state & TVIS_BOLD) ? BoldFontOf(FontOf(s)) : FontOf(s);
  HWND edit =
      StartLabelEditor(s, rect, font, text, [](TreeViewState& ts, bool cancelled, const std::string& typed) {
        Node* edited = ts.editNode;
        ts.editNode = nullptr;
        if (!edited || !ts.nodes.count(edited)) return;
        std::string copy = typed;
        NMTVDISPINFOA end{};
        end.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
        end.item.hItem = Handle(edited);
        end.item.pszText = cancelled ? nullptr : copy.data();
        end.item.cchTextMax = static_cast<int>(copy.size()) + 1;
        end.item.lParam = edited->param;
        const LRESULT accept = SendNotify(ts, TVN_ENDLABELEDITA, &end.hdr);
        if (!ts.alive || cancelled || !accept || !ts.nodes.count(edited)) return;
        edited->text = copy;
        edited->textCallback = false;
        InvalidateRows(ts);
      });
  if (!edit) s.editNode = nullptr;
  return edit;
}

}  // namespace pictavo::comctl::detail::treeview
