// Tree view items: inserting, deleting, reading and changing them; expanding and collapsing;
// the selection; sorting — with the notifications that go with each.
#include <algorithm>

#include "platform/comctl/ImageList.h"
#include "platform/comctl/TreeViewInternal.h"

namespace pictavo::comctl::detail::treeview {
namespace {

TVITEMA ItemRecord(const TreeViewState& s, Node* node) {
  TVITEMA item{};
  if (!node) return item;
  item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
  item.hItem = Handle(node);
  item.state = ItemStateOf(s, node);
  item.stateMask = 0xFFFF;
  item.lParam = node->param;
  return item;
}

LRESULT NotifyTree(TreeViewState& s, UINT code, UINT action, Node* oldNode, Node* newNode,
                   POINT pt = POINT{}) {
  NMTREEVIEWA nm{};
  nm.action = action;
  nm.itemOld = ItemRecord(s, oldNode);
  nm.itemNew = ItemRecord(s, newNode);
  nm.ptDrag = pt;
  return SendNotify(s, code, &nm.hdr);
}

void Link(Node* parent, Node* after, Node* node) {
  node->parent = parent;
  node->prev = after;
  node->next = after ? after->next : parent->firstChild;
  if (node->next)
    node->next->prev = node;
  else
    parent->lastChild = node;
  if (after)
    after->next = node;
  else
    parent->firstChild = node;
}

void Unlink(Node* node) {
  Node* parent = node->parent;
  if (node->prev)
    node->prev->next = node->next;
  else
    parent->firstChild = node->next;
  if (node->next)
    node->next->prev = node->prev;
  else
    parent->lastChild = node->prev;
  node->prev = node->next = nullptr;
}

void ApplyFields(Node* node, const TVITEMEXA& in, bool insert) {
  if (in.mask & TVIF_TEXT) {
    node->textCallback = in.pszText == LPSTR_TEXTCALLBACK;
    node->text = (!node->textCallback && in.pszText) ? in.pszText : "";
  }
  if (in.mask & TVIF_IMAGE) node->image = in.iImage;
  if (in.mask & TVIF_SELECTEDIMAGE) node->selectedImage = in.iSelectedImage;
  if (in.mask & TVIF_CHILDREN) node->children = in.cChildren;
  if (in.mask & TVIF_PARAM) node->param = in.lParam;
  if (in.mask & TVIF_INTEGRAL) node->integral = std::max(1, in.iIntegral);
  // The selection, drop highlight and expansion belong to the control; the rest is the caller's.
  constexpr UINT kOwn = TVIS_SELECTED | TVIS_DROPHILITED | TVIS_FOCUSED;
  UINT mask = (in.mask & TVIF_STATE) ? in.stateMask & ~kOwn : 0;
  if (!insert) mask &= ~(TVIS_EXPANDEDONCE);
  node->state = (node->state & ~mask) | (in.state & mask);
}

void DeleteSubtree(TreeViewState& s, Node* node) {
  while (node->firstChild && s.alive) DeleteSubtree(s, node->firstChild);
  if (!s.alive || node == &s.root) return;
  NotifyTree(s, TVN_DELETEITEMA, 0, node, nullptr);
  Unlink(node);
  s.nodes.erase(node);
}

}  // namespace

Node* NodeOf(TreeViewState& s, HTREEITEM item, bool rootOk) {
  if (!item || item == TVI_ROOT) return rootOk ? &s.root : nullptr;
  auto* node = reinterpret_cast<Node*>(item);
  return s.nodes.count(node) ? node : nullptr;
}

bool IsAncestor(const Node* ancestor, const Node* node) {
  for (const Node* n = node; n; n = n->parent)
    if (n == ancestor) return true;
  return false;
}

UINT ItemStateOf(const TreeViewState& s, const Node* node) {
  UINT state = node->state & ~(TVIS_SELECTED | TVIS_DROPHILITED);
  if (node == s.caret) state |= TVIS_SELECTED;
  if (node == s.dropHilite) state |= TVIS_DROPHILITED;
  return state;
}

int ItemCount(const TreeViewState& s) {
  return static_cast<int>(s.nodes.size());
}

HTREEITEM InsertItem(TreeViewState& s, const TVINSERTSTRUCTA& insert) {
  Node* parent = NodeOf(s, insert.hParent, true);
  if (!parent) return nullptr;
  auto owned = std::make_unique<Node>();
  Node* node = owned.get();
  ApplyFields(node, insert.itemex, true);
  if ((StyleOf(s) & TVS_CHECKBOXES) && !(node->state & TVIS_STATEIMAGEMASK))
    node->state |= INDEXTOSTATEIMAGEMASK(1);
  Node* after = nullptr;
  if (insert.hInsertAfter == TVI_FIRST) {
    after = nullptr;
  } else if (insert.hInsertAfter == TVI_SORT) {
    // Before the first sibling whose text sorts after this one.
    for (Node* n = parent->firstChild; n; n = n->next) {
      if (!node->textCallback && !n->textCallback && CompareNoCase(n->text, node->text) > 0) break;
      after = n;
    }
  } else {
    Node* sibling = insert.hInsertAfter == TVI_LAST ? nullptr : NodeOf(s, insert.hInsertAfter);
    after = (sibling && sibling->parent == parent) ? sibling : parent->lastChild;
  }
  Link(parent, after, node);
  s.nodes.emplace(node, std::move(owned));
  InvalidateRows(s);
  return Handle(node);
}

bool DeleteItem(TreeViewState& s, Node* node) {
  if (!node) return false;
  const bool all = node == &s.root;
  if (s.editNode && IsAncestor(node, s.editNode) && s.editor) s.editor->End(true);
  if (!s.alive) return false;
  if (s.pendingEdit && IsAncestor(node, s.pendingEdit)) s.pendingEdit = nullptr;
  // Where the selection goes when it is inside what goes away.
  Node* newCaret = nullptr;
  const bool caretGoes = s.caret && IsAncestor(node, s.caret);
  if (caretGoes && !all) {
    newCaret = node->next   ? node->next
               : node->prev ? node->prev
                            : (node->parent != &s.root ? node->parent : nullptr);
  }
  if (caretGoes) s.caret = nullptr;
  if (s.dropHilite && IsAncestor(node, s.dropHilite)) s.dropHilite = nullptr;
  if (s.press.node && IsAncestor(node, s.press.node)) CancelPress(s);
  DeleteSubtree(s, node);
  if (!s.alive) return false;
  if (all) s.scrollY = s.scrollX = 0;
  InvalidateRows(s);
  if (caretGoes && newCaret && s.nodes.count(newCaret)) SelectCaret(s, newCaret, TVC_UNKNOWN);
  return true;
}

NodeView Resolve(TreeViewState& s, Node* node, UINT mask) {
  NodeView view;
  view.text = node->text;
  view.image = node->image;
  view.selectedImage = node->selectedImage;
  UINT ask = 0;
  if ((mask & TVIF_TEXT) && node->textCallback) ask |= TVIF_TEXT;
  if ((mask & TVIF_IMAGE) && node->image == I_IMAGECALLBACK) ask |= TVIF_IMAGE;
  if ((mask & TVIF_SELECTEDIMAGE) && node->selectedImage == I_IMAGECALLBACK) ask |= TVIF_SELECTEDIMAGE;
  if ((mask & TVIF_CHILDREN) && node->children == I_CHILDRENCALLBACK) ask |= TVIF_CHILDREN;
  view.hasChildren = node->firstChild || node->children == 1;
  if (!ask) return view;
  char buffer[MAX_PATH + 1] = {};
  NMTVDISPINFOA info{};
  info.item.mask = ask | TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
  info.item.hItem = Handle(node);
  info.item.state = ItemStateOf(s, node);
  info.item.lParam = node->param;
  info.item.pszText = buffer;
  info.item.cchTextMax = static_cast<int>(sizeof buffer);
  info.item.iImage = node->image;
  info.item.iSelectedImage = node->selectedImage;
  info.item.cChildren = node->children;
  SendNotify(s, TVN_GETDISPINFOA, &info.hdr);
  if (ask & TVIF_TEXT)
    view.text = (info.item.pszText && info.item.pszText != LPSTR_TEXTCALLBACK) ? info.item.pszText : "";
  if (ask & TVIF_IMAGE) view.image = info.item.iImage;
  if (ask & TVIF_SELECTEDIMAGE) view.selectedImage = info.item.iSelectedImage;
  if (ask & TVIF_CHILDREN) view.hasChildren = node->firstChild || info.item.cChildren != 0;
  if ((info.item.mask & TVIF_DI_SETITEM) && s.alive && s.nodes.count(node)) {
    if (ask & TVIF_TEXT) {
      node->text = view.text;
      node->textCallback = false;
    }
    if (ask & TVIF_IMAGE) node->image = view.image;
    if (ask & TVIF_SELECTEDIMAGE) node->selectedImage = view.selectedImage;
    if (ask & TVIF_CHILDREN) node->children = info.item.cChildren;
  }
  return view;
}

bool HasChildren(TreeViewState& s, Node* node) {
  if (node->firstChild || node->children == 1) return true;
  if (node->children != I_CHILDRENCALLBACK) return false;
  return Resolve(s, node, TVIF_CHILDREN).hasChildren;
}

bool GetItem(TreeViewState& s, TVITEMEXA* out) {
  if (!out) return false;
  Node* node = NodeOf(s, out->hItem);
  if (!node) return false;
  const NodeView view = Resolve(s, node, out->mask);
  if (!s.alive || !s.nodes.count(node)) return false;
  if (out->mask & TVIF_TEXT) CopyText(view.text, out->pszText, out->cchTextMax);
  if (out->mask & TVIF_IMAGE) out->iImage = view.image;
  if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = view.selectedImage;
  // Child items count whatever cChildren said.
  if (out->mask & TVIF_CHILDREN)
    out->cChildren = node->children == I_CHILDRENCALLBACK ? (view.hasChildren ? 1 : 0)
                                                          : (node->firstChild ? 1 : node->children);
  if (out->mask & TVIF_PARAM) out->lParam = node->param;
  if (out->mask & TVIF_STATE) out->state = ItemStateOf(s, node) & out->stateMask;
  if (out->mask & TVIF_INTEGRAL) out->iIntegral = node->integral;
  return true;
}

bool SetItem(TreeViewState& s, const TVITEMEXA& in) {
  Node* node = NodeOf(s, in.hItem);
  if (!node) return false;
  const bool wasExpanded = (node->state & TVIS_EXPANDED) != 0;
  ApplyFields(node, in, false);
  if (((node->state & TVIS_EXPANDED) != 0) != wasExpanded || (in.mask & (TVIF_CHILDREN | TVIF_INTEGRAL))) {
    InvalidateRows(s);
    if (!(node->state & TVIS_EXPANDED) && s.caret && s.caret != node && IsAncestor(node, s.caret))
      SelectCaret(s, node, TVC_UNKNOWN);
  } else {
    InvalidateNode(s, node);
  }
  return true;
}

bool Expand(TreeViewState& s, Node* node, UINT code, bool byUser) {
  if (!node || node == &s.root) return false;
  UINT action = code & TVE_ACTIONMASK;
  const bool expanded = (node->state & TVIS_EXPANDED) != 0;
  if (action == TVE_TOGGLE) action = expanded ? TVE_COLLAPSE : TVE_EXPAND;
  // Once an item was expanded, the program's own expanding and collapsing is not notified.
  const bool notify = byUser || !(node->state & TVIS_EXPANDEDONCE);
  if (action == TVE_EXPAND) {
    if (expanded) return true;
    if (!HasChildren(s, node) || !s.alive) return false;
    if (notify && NotifyTree(s, TVN_ITEMEXPANDINGA, TVE_EXPAND, nullptr, node)) return false;
    if (!s.alive || !s.nodes.count(node)) return false;
    node->state |= TVIS_EXPANDEDONCE;
    if (!node->firstChild) {
      // Nothing was there after all: the button goes.
      node->children = 0;
      InvalidateRows(s);
      return false;
    }
    node->state |= TVIS_EXPANDED;
    InvalidateRows(s);
    if (notify) NotifyTree(s, TVN_ITEMEXPANDEDA, TVE_EXPAND, nullptr, node);
    return true;
  }
  if (action != TVE_COLLAPSE) return false;
  const bool reset = (code & TVE_COLLAPSERESET) != 0;
  if (!expanded && !reset) return true;
  const UINT reported = TVE_COLLAPSE | (code & TVE_COLLAPSERESET);
  if (notify && NotifyTree(s, TVN_ITEMEXPANDINGA, reported, nullptr, node)) return false;
  if (!s.alive || !s.nodes.count(node)) return false;
  node->state &= ~TVIS_EXPANDED;
  InvalidateRows(s);
  // A selection inside what folds away moves to the item itself.
  if (s.caret && s.caret != node && IsAncestor(node, s.caret)) SelectCaret(s, node, TVC_UNKNOWN);
  if (!s.alive || !s.nodes.count(node)) return false;
  if (reset) {
    while (node->firstChild && s.alive) DeleteItem(s, node->firstChild);
    if (!s.alive || !s.nodes.count(node)) return false;
    node->state &= ~TVIS_EXPANDEDONCE;
    if (node->children != I_CHILDRENCALLBACK) node->children = 0;
    InvalidateRows(s);
  }
  if (notify) NotifyTree(s, TVN_ITEMEXPANDEDA, reported, nullptr, node);
  return true;
}

bool EnsureVisible(TreeViewState& s, Node* node) {
  if (!node) return false;
  for (Node* p = node->parent; p && p != &s.root; p = p->parent) {
    if (!(p->state & TVIS_EXPANDED)) Expand(s, p, TVE_EXPAND, false);
    if (!s.alive || !s.nodes.count(node)) return false;
  }
  RebuildRows(s);
  if (node->row < 0) return false;
  MakeRowVisible(s, node->row);
  return true;
}

bool SelectCaret(TreeViewState& s, Node* node, UINT action) {
  if (node == s.caret) {
    if (node) EnsureVisible(s, node);
    return true;
  }
  Node* old = s.caret;
  if (NotifyTree(s, TVN_SELCHANGINGA, action, old, node)) return false;
  if (!s.alive || (node && !s.nodes.count(node))) return false;
  if (old && !s.nodes.count(old)) old = nullptr;
  s.caret = node;
  if (old) InvalidateNode(s, old);
  if (node) {
    InvalidateNode(s, node);
    EnsureVisible(s, node);
    if (!s.alive) return false;
  }
  NotifyTree(s, TVN_SELCHANGEDA, action, old && s.nodes.count(old) ? old : nullptr, s.caret);
  return s.alive;
}

bool SelectDropTarget(TreeViewState& s, Node* node) {
  if (node == s.dropHilite) return true;
  if (s.dropHilite) InvalidateNode(s, s.dropHilite);
  s.dropHilite = node;
  if (node) InvalidateNode(s, node);
  return true;
}

Node* NextItem(TreeViewState& s, Node* node, UINT code) {
  RebuildRows(s);
  switch (code) {
    case TVGN_ROOT:
      return s.root.firstChild;
    case TVGN_CARET:
      return s.caret;
    case TVGN_DROPHILITE:
      return s.dropHilite;
    case TVGN_FIRSTVISIBLE:
      return s.scrollY < static_cast<int>(s.rows.size()) ? s.rows[static_cast<size_t>(s.scrollY)] : nullptr;
    case TVGN_LASTVISIBLE:
      return s.rows.empty() ? nullptr : s.rows.back();
    case TVGN_CHILD:
      return node ? node->firstChild : nullptr;
    default:
      break;
  }
  if (!node || node == &s.root) return nullptr;
  switch (code) {
    case TVGN_NEXT:
      return node->next;
    case TVGN_PREVIOUS:
      return node->prev;
    case TVGN_PARENT:
      return node->parent == &s.root ? nullptr : node->parent;
    case TVGN_NEXTVISIBLE:
      return node->row >= 0 && node->row + 1 < static_cast<int>(s.rows.size())
                 ? s.rows[static_cast<size_t>(node->row) + 1]
                 : nullptr;
    case TVGN_PREVIOUSVISIBLE:
      return node->row > 0 ? s.rows[static_cast<size_t>(node->row) - 1] : nullptr;
    default:
      return nullptr;
  }
}

bool SortChildren(TreeViewState& s, Node* parent, PFNTVCOMPARE compare, LPARAM lParam, bool recurse) {
  if (!parent) return false;
  std::vector<Node*> children;
  for (Node* n = parent->firstChild; n; n = n->next) children.push_back(n);
  if (compare) {
    std::stable_sort(children.begin(), children.end(),
                     [&](Node* a, Node* b) { return compare(a->param, b->param, lParam) < 0; });
  } else {
    std::vector<std::pair<std::string, Node*>> keyed;
    for (Node* n : children) keyed.emplace_back(Resolve(s, n, TVIF_TEXT).text, n);
    if (!s.alive) return false;
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return CompareNoCase(a.first, b.first) < 0; });
    for (size_t i = 0; i < keyed.size(); ++i) children[i] = keyed[i].second;
  }
  if (!s.alive) return false;
  // The comparison may have deleted items: relink only those still there.
  parent->firstChild = parent->lastChild = nullptr;
  Node* after = nullptr;
  for (Node* n : children) {
    if (!s.nodes.count(n) || n->parent != parent) continue;
    Link(parent, after, n);
    after = n;
  }
  if (recurse)
    for (Node* n = parent->firstChild; n && s.alive; n = n->next) SortChildren(s, n, compare, lParam, true);
  InvalidateRows(s);
  return true;
}

void ApplyCheckBoxStyle(TreeViewState& s) {
  const bool checks = (StyleOf(s) & TVS_CHECKBOXES) != 0;
  if (checks && !s.stateImages) {
    // Image 0 stays blank: state image numbers start at 1 (unchecked) and 2 (checked).
    s.stateImages = CreateCheckBoxImages(1);
    s.ownStateImages = true;
    for (auto& [node, owned] : s.nodes)
      if (!(node->state & TVIS_STATEIMAGEMASK)) node->state |= INDEXTOSTATEIMAGEMASK(1);
  } else if (!checks && s.ownStateImages) {
    ImageList_Destroy(s.stateImages);
    s.stateImages = nullptr;
    s.ownStateImages = false;
    for (auto& [node, owned] : s.nodes) node->state &= ~TVIS_STATEIMAGEMASK;
  }
  InvalidateRows(s);
}

HIMAGELIST SetImageList(TreeViewState& s, int which, HIMAGELIST list) {
  HIMAGELIST old = nullptr;
  if (which == TVSIL_NORMAL) {
    old = s.normalImages;
    s.normalImages = list;
  } else if (which == TVSIL_STATE) {
    old = s.ownStateImages ? nullptr : s.stateImages;
    if (s.ownStateImages && s.stateImages) ImageList_Destroy(s.stateImages);
    s.stateImages = list;
    s.ownStateImages = false;
  } else {
    return nullptr;
  }
  InvalidateRows(s);
  return old;
}

}  // namespace pictavo::comctl::detail::treeview
