// Internal: the tree view's state and the functions its files share. Items are nodes linked to
// their parent and siblings; the rows on show (the expanded part of the tree) are kept in a
// vector rebuilt after changes, so painting and hit tests go straight to a row.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/comctl/LabelEdit.h"
#include "platform/comctl/Support.h"
#include "platform/comctl/TreeView.h"

namespace pictavo::comctl::detail::treeview {

struct Node {
  Node* parent = nullptr;
  Node* firstChild = nullptr;
  Node* lastChild = nullptr;
  Node* next = nullptr;
  Node* prev = nullptr;
  std::string text;
  bool textCallback = false;
  int image = 0;
  int selectedImage = 0;
  UINT state = 0;    // TVIS_*
  int children = 0;  // cChildren: 0, 1 or I_CHILDRENCALLBACK
  LPARAM param = 0;
  int integral = 1;
  // Where the node shows: its row among the visible ones (-1: inside a collapsed parent) and depth.
  int row = -1;
  int level = 0;
};

// An item's callback fields resolved.
struct NodeView {
  std::string text;
  int image = 0;
  int selectedImage = 0;
  bool hasChildren = false;
};

struct TreeViewState : ControlBase {
  Node root;  // the invisible parent of the top-level items
  std::unordered_map<Node*, std::unique_ptr<Node>> nodes;
  HIMAGELIST normalImages = nullptr;
  HIMAGELIST stateImages = nullptr;
  bool ownStateImages = false;
  Node* caret = nullptr;
  Node* dropHilite = nullptr;
  int indent = 19;
  int itemHeight = 0;  // 0: from the font and the images
  COLORREF bkColor = CLR_DEFAULT;
  COLORREF textColor = CLR_DEFAULT;
  COLORREF lineColor = CLR_DEFAULT;
  std::vector<Node*> rows;  // the visible items, top to bottom
  bool rowsDirty = true;
  int scrollY = 0;  // the top row
  int scrollX = 0;  // pixels
  bool focused = false;
  struct Press {
    bool active = false;
    bool right = false;
    POINT start{};
    Node* node = nullptr;
    bool wasCaret = false;
  } press;
  std::string search;
  DWORD searchTime = 0;
  std::unique_ptr<LabelEditor> editor;
  Node* editNode = nullptr;
  Node* pendingEdit = nullptr;
};

inline HTREEITEM Handle(Node* node) {
  return reinterpret_cast<HTREEITEM>(node);
}
// The node of a handle; TVI_ROOT and null give the root when `rootOk`, anything unknown null.
Node* NodeOf(TreeViewState& s, HTREEITEM item, bool rootOk = false);
bool IsAncestor(const Node* ancestor, const Node* node);

// TreeViewModel.cpp: items, expansion, selection and their notifications.
HTREEITEM InsertItem(TreeViewState& s, const TVINSERTSTRUCTA& insert);
bool DeleteItem(TreeViewState& s, Node* node);  // the root: every item
bool GetItem(TreeViewState& s, TVITEMEXA* item);
bool SetItem(TreeViewState& s, const TVITEMEXA& item);
NodeView Resolve(TreeViewState& s, Node* node, UINT mask);
bool HasChildren(TreeViewState& s, Node* node);
// TVM_EXPAND; `byUser` notifies even once the item was expanded before.
bool Expand(TreeViewState& s, Node* node, UINT code, bool byUser);
// TVGN_CARET selection with its notifications; null clears it.
bool SelectCaret(TreeViewState& s, Node* node, UINT action);
bool SelectDropTarget(TreeViewState& s, Node* node);
bool EnsureVisible(TreeViewState& s, Node* node);
Node* NextItem(TreeViewState& s, Node* node, UINT code);
bool SortChildren(TreeViewState& s, Node* parent, PFNTVCOMPARE compare, LPARAM lParam, bool recurse);
int ItemCount(const TreeViewState& s);
HIMAGELIST SetImageList(TreeViewState& s, int which, HIMAGELIST list);
void ApplyCheckBoxStyle(TreeViewState& s);
UINT ItemStateOf(const TreeViewState& s, const Node* node);  // with the selection and drop bits

// TreeViewLayout.cpp: rows, geometry, hit tests, scrolling and painting.
void RebuildRows(TreeViewState& s);  // when dirty
void InvalidateRows(TreeViewState& s);
void InvalidateNode(TreeViewState& s, Node* node);
int ItemHeight(const TreeViewState& s);
int VisibleCount(const TreeViewState& s);  // whole rows that fit
// Geometry of a visible node in client coordinates.
struct NodeParts {
  RECT row;     // the whole line
  RECT button;  // the expand button's column
  RECT state;
  RECT icon;
  RECT label;
};
bool PartsOf(TreeViewState& s, Node* node, NodeParts* parts);
Node* HitTest(TreeViewState& s, POINT pt, UINT* flags);
void ScrollToRow(TreeViewState& s, int top, int x);
void MakeRowVisible(TreeViewState& s, int row);
void OnScroll(TreeViewState& s, bool vertical, WORD code);
void UpdateScrollBars(TreeViewState& s);
void Paint(TreeViewState& s, HDC dc, const RECT& area);
HIMAGELIST CreateDragImage(TreeViewState& s, Node* node);

// TreeViewInput.cpp.
void OnButtonDown(TreeViewState& s, POINT pt, bool right, bool doubleClick);
void OnButtonUp(TreeViewState& s, POINT pt, bool right);
void OnMouseMove(TreeViewState& s, POINT pt, WPARAM keys);
void OnKeyDown(TreeViewState& s, UINT key);
void OnChar(TreeViewState& s, char32_t ch);
void OnTimer(TreeViewState& s, UINT_PTR id);
HWND EditLabel(TreeViewState& s, Node* node);
void CancelPress(TreeViewState& s);

inline constexpr UINT_PTR kEditTimer = 1;

}  // namespace pictavo::comctl::detail::treeview
