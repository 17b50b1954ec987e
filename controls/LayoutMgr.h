// Table-driven layout of a window's controls. A window declares one static table of rows in
// pre-order: a group row (rows group stacks its children top to bottom, columns group left to
// right), its children, an end-of-group marker; the table ends with an end-of-table row. Each
// child is sized by a rule: fixed length, percentage of the group, the rest of the group, or its
// natural to-fit size. On WM_SIZE the owner lays the tree out into its client rectangle and moves
// every control in one deferred batch; on WM_GETMINMAXINFO the manager reports the smallest and
// largest window the table allows. Owners and controls adjust a row's size by answering the
// registered message "WM_WINMGR" (code 1), and sizer bars report a drag with it (code 2).
//
// An owner:
//   constructor:  m_layout(s_layoutTable)
//   OnInitDialog: m_layout.CaptureToFitSizes(this); then LayoutRoot(client) + ApplyLayout
//   OnSize:       m_layout.LayoutRoot(CRect(0, 0, cx, cy), this); m_layout.ApplyLayout(this);
//   OnGetMinMaxInfo: m_layout.FillMinMaxInfo(this, lpMMI);
//   "WM_WINMGR" code 2 from its sizer bar: MoveSizer(wParam, dx, dy, this); ApplyLayout(this); return 1
//
// UI thread only. Tables are static and shared by every instance of their window class.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"
#include "platform/mfc/Afx.h"

// Sizing kind (flags bits 0-3): how a row is sized inside its parent group.
#define LAYOUT_FIXED 0x01    // param = length; -n: length n that may shrink to 0
#define LAYOUT_PERCENT 0x02  // param = percentage of the parent group's length
#define LAYOUT_REST 0x03     // takes what the group has left
#define LAYOUT_TOFIT 0x04    // param = MAKELONG(width, height), filled by CaptureToFitSizes
// Group kind (flags bits 4-7).
#define LAYOUT_LEAF 0x00
#define LAYOUT_ROWS 0x10     // children top to bottom
#define LAYOUT_COLUMNS 0x20  // children left to right
#define LAYOUT_END_GROUP 0xF0
#define LAYOUT_END_TABLE 0x00
#define LAYOUT_SIZING_MASK 0x0F
#define LAYOUT_GROUP_MASK 0xF0
// Rows that stand for no window: groups and empty rest rows carry 0; spacers and markers -1.
#define LAYOUT_NO_WINDOW static_cast<UINT>(-1)
// Sizes are limited to this, which also means "no maximum".
#define LAYOUT_MAX_SIZE 0x7FFF

// "WM_WINMGR" notification codes.
#define LAYOUT_NOTIFY_SIZE_QUERY 1
#define LAYOUT_NOTIFY_SIZER_MOVED 2

struct _tagLayoutRow {
  _tagLayoutRow* next;  // next sibling in the same group; NULL for the last child
  _tagLayoutRow* prev;  // previous sibling; NULL for the first child
  RECT rect;            // owner client coordinates; rewritten by every layout
  WORD flags;           // sizing kind | group kind
  UINT id;              // control id; 0 or -1 for no window
  LONG param;           // by kind: length, percentage, MAKELONG(w, h), or group margins MAKELONG(mx, my)
};

struct _tagLayoutSizeInfo {
  int cxAvailable;  // only for a size query: the size of the row's parent group
  int cyAvailable;
  int cxDesired;
  int cyDesired;
  int cxMin;
  int cyMin;
  int cxMax;
  int cyMax;
};

// lParam of "WM_WINMGR"; wParam is the control id. Zero-filled before use.
struct _tagLayoutNotify {
  NMHDR hdr;  // hwndFrom always NULL; idFrom the control id; code 1 size query, 2 sizer moved
  union {
    _tagLayoutSizeInfo sizeInfo;  // code 1: the record to adjust in place
    struct {
      int dx;  // code 2: horizontal move (0 for a horizontal bar)
      int dy;  // vertical move (0 for a vertical bar)
    } move;
  };
};

// The number RegisterWindowMessage("WM_WINMGR") gives; set by a static initialiser.
extern UINT g_uWinMgrMsg;
// The static initialiser's work; safe to call again (the number does not change).
UINT RegisterWinMgrMessage();

// Zeroes the row (links and rectangle) and stores the three values.
_tagLayoutRow* InitLayoutRow(_tagLayoutRow* row, WORD flags, UINT id, LONG param);
// Links one level of the table starting at `first`, recursing into groups. Returns the row the
// walk stopped on (that level's end marker) when `parent` is given, NULL for the root call.
_tagLayoutRow* LinkLayoutRows(_tagLayoutRow* first, _tagLayoutRow* parent);

// One row of a table as its source file writes it; InitLayoutRows runs InitLayoutRow over them.
struct LayoutRowInit {
  WORD flags;
  UINT id;
  LONG param;
};
template <size_t N>
void InitLayoutRows(_tagLayoutRow (&rows)[N], const LayoutRowInit (&init)[N]) {
  for (size_t i = 0; i < N; ++i) InitLayoutRow(&rows[i], init[i].flags, init[i].id, init[i].param);
}

class CLayoutMgr : public CObject {
 public:
  explicit CLayoutMgr(_tagLayoutRow* table);
  ~CLayoutMgr() override = default;

  // ReadControlRects, then every to-fit leaf row's param = MAKELONG(width, height) of its rectangle.
  void CaptureToFitSizes(CWnd* owner);
  // rect of every row whose owner child exists = the child's window rectangle in owner client
  // coordinates; other rows keep theirs.
  virtual void ReadControlRects(CWnd* owner);
  // Moves every control to its row in one deferred batch and invalidates the rows with no window.
  // The number of id rows when nothing is moved, else the result of EndDeferWindowPos.
  virtual BOOL ApplyLayout(CWnd* owner);
  // Desired, minimum and maximum size of a row (sends the code-1 queries of its leaf rows).
  virtual void GetRowSizeInfo(_tagLayoutSizeInfo& info, _tagLayoutRow* row, CWnd* owner);
  // Lays out the children of a group inside the group's rectangle, recursively.
  virtual void LayoutGroup(_tagLayoutRow* group, CWnd* owner);
  // Second pass of LayoutGroup for one child: grows it towards its desired length.
  virtual void GrowChild(_tagLayoutRow* child, BOOL vertical, int& remaining, CWnd* owner);
  // Places the children one after another from the start of `inner`.
  virtual void StackChildren(_tagLayoutRow* group, const RECT& inner, BOOL vertical);

  // Root row's rect = rc, then LayoutGroup of the root.
  void LayoutRoot(const RECT& rc, CWnd* owner);
  // Sends the code-1 query to the owner, then to its child `id`; TRUE when one answered.
  BOOL QueryControlSize(_tagLayoutSizeInfo& info, CWnd* owner, UINT id);
  // Size record of the root row plus, for a visible owner, its caption, menu and frames.
  void GetWindowMinMax(CWnd* owner, _tagLayoutSizeInfo& info);
  // ptMinTrackSize and ptMaxTrackSize from GetWindowMinMax; the rest is left alone.
  MINMAXINFO* FillMinMaxInfo(CWnd* owner, MINMAXINFO* mmi);
  int CountControls() const;
  _tagLayoutRow* FindRow(UINT id) const;
  // Moves a sizer row by (dx, dy) along its group's axis and resizes its two neighbours.
  void MoveSizerRow(_tagLayoutRow* row, int dx, int dy, CWnd* owner);
  void MoveSizer(UINT id, int dx, int dy, CWnd* owner);

  static _tagLayoutRow* GetParentGroup(_tagLayoutRow* row);
  static BOOL GetGroupMargins(const _tagLayoutRow* row, int& mx, int& my);

  _tagLayoutRow* GetTable() const { return m_pTable; }

 protected:
  _tagLayoutRow* m_pTable;  // static, not owned
};
