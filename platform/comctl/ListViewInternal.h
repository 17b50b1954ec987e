// Internal: the list view's state and the functions its files share. Items live in one vector;
// every view is a grid computed from the index, so finding, drawing and hit-testing an item
// costs the same whatever the item count.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/comctl/LabelEdit.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/Support.h"

namespace pictavo::comctl::detail::listview {

struct SubItem {
  std::string text;
  bool textCallback = false;
  int image = I_IMAGENONE;
};

struct Item {
  std::string text;
  bool textCallback = false;
  int image = 0;
  LPARAM param = 0;
  UINT state = 0;  // LVIS_*, with the overlay and state image numbers
  int indent = 0;
  std::vector<SubItem> subItems;  // sub-item k at [k - 1]
};

struct Column {
  std::string text;
  int fmt = LVCFMT_LEFT;
  int width = 0;
  int subItem = 0;
  int image = I_IMAGENONE;
};

// What a paint or a query needs of an item, callbacks resolved.
struct ItemView {
  std::string text;
  int image = I_IMAGENONE;
  UINT state = 0;
  int indent = 0;
};

struct ListViewState : ControlBase {
  std::vector<Item> items;
  std::vector<Column> columns;  // by index; the header keeps the display order
  HIMAGELIST normalImages = nullptr;
  HIMAGELIST smallImages = nullptr;
  HIMAGELIST stateImages = nullptr;
  bool ownStateImages = false;  // the check boxes' list, made by the control
  COLORREF bkColor = CLR_DEFAULT;
  COLORREF textColor = CLR_DEFAULT;
  COLORREF textBkColor = CLR_DEFAULT;
  DWORD exStyle = 0;
  UINT callbackMask = 0;
  int focus = -1;           // the item with LVIS_FOCUSED
  int anchor = -1;          // the selection mark: where Shift selections start
  SIZE iconSpacing{0, 0};   // 0: the default
  int listColumnWidth = 0;  // LVS_LIST column width; 0: the default
  HWND header = nullptr;
  int headerSync = 0;      // inside our own changes of the header: its notifications stay with us
  std::vector<int> order;  // the columns in display order, as the header has them
  // Scrolling: report and list views scroll by whole rows / columns, icon views by pixels.
  int scrollX = 0;  // pixels (report, icon views) or columns (list view)
  int scrollY = 0;  // the top row (report) or pixels (icon views)
  bool layoutDirty = true;
  bool focused = false;  // the control has the keyboard focus
  // A button press being followed: a drag starts when the mouse moves far enough.
  struct Press {
    bool active = false;
    bool right = false;
    POINT start{};
    int item = -1;
    bool selectOnRelease = false;  // a plain click on a selected item narrows on release
    bool editOnRelease = false;    // a click on the focused, selected item may start editing
  } press;
  std::string search;  // type-ahead
  DWORD searchTime = 0;
  std::unique_ptr<LabelEditor> editor;
  int editItem = -1;
};

enum class View { kIcon, kReport, kSmallIcon, kList };
View ViewOf(const ListViewState& s);
int Count(const ListViewState& s);
bool Valid(const ListViewState& s, int index);

// ListViewModel.cpp: items, columns and states, with their notifications.
int InsertItem(ListViewState& s, const LVITEMA& item);
bool SetItem(ListViewState& s, const LVITEMA& item);
bool GetItem(ListViewState& s, LVITEMA* item);
bool DeleteItem(ListViewState& s, int index);
bool DeleteAllItems(ListViewState& s);
// Changes (state & mask) of an item, with LVN_ITEMCHANGING (which may refuse) and LVN_ITEMCHANGED.
// Moving the focus takes it from the item that had it; a single-selection list keeps one
// selected item.
bool SetItemState(ListViewState& s, int index, UINT state, UINT mask);
// Selects only `index` (focused too); -1 clears the selection.
void SelectOnly(ListViewState& s, int index);
// Selects the items from `from` to `to` (either order) and no others, focusing `to`.
void SelectRange(ListViewState& s, int from, int to);
void SetFocusItem(ListViewState& s, int index);
int SelectedCount(const ListViewState& s);
int NextItem(ListViewState& s, int start, UINT flags);
bool SortItems(ListViewState& s, PFNLVCOMPARE compare, LPARAM lParam);
int FindItem(ListViewState& s, int start, const LVFINDINFOA& find);
// The text, image and state of an item or sub-item, asking the parent for callback fields.
ItemView Resolve(ListViewState& s, int index, int subItem, UINT mask);
int InsertColumn(ListViewState& s, int index, const LVCOLUMNA& column);
bool SetColumn(ListViewState& s, int index, const LVCOLUMNA& column);
bool GetColumn(const ListViewState& s, int index, LVCOLUMNA* column);
bool DeleteColumn(ListViewState& s, int index);
bool SetColumnWidth(ListViewState& s, int index, int width);
void SyncHeaderItem(ListViewState& s, int index);
// The columns in display order (kept from the header, read again by RefreshColumnOrder).
const std::vector<int>& ColumnOrder(const ListViewState& s);
void RefreshColumnOrder(ListViewState& s);
HIMAGELIST SetImageList(ListViewState& s, int which, HIMAGELIST list);
void SetExtendedStyle(ListViewState& s, DWORD mask, DWORD style);
LRESULT NotifyListView(ListViewState& s, UINT code, int item, int subItem, POINT pt = POINT{});

// ListViewLayout.cpp: geometry, scrolling and hit tests.
void EnsureLayout(ListViewState& s);
void InvalidateLayout(ListViewState& s);
RECT ClientArea(const ListViewState& s);  // below the header
int RowHeight(const ListViewState& s);
int HeaderHeight(const ListViewState& s);
SIZE IconCell(const ListViewState& s);
int ListColumnWidth(const ListViewState& s);
int TotalColumnWidth(const ListViewState& s);
// Rows that fit (report), per-page count as LVM_GETCOUNTPERPAGE gives it.
int RowsPerPage(const ListViewState& s);
int CountPerPage(const ListViewState& s);
int TopIndex(const ListViewState& s);
// The item's rectangles in client coordinates (LVIR_*); false for a bad index.
bool ItemRect(ListViewState& s, int index, int code, RECT* rect);
bool SubItemRect(ListViewState& s, int index, int subItem, int code, RECT* rect);
// Column rectangle's left and right in client coordinates (report view).
bool ColumnSpan(const ListViewState& s, int column, int* left, int* right);
int HitTest(ListViewState& s, LVHITTESTINFO* info, bool subItems);
// The range of items a rectangle of the client area may show (icon views: whole rows of cells).
void VisibleRange(ListViewState& s, const RECT& area, int* first, int* last);
bool EnsureVisible(ListViewState& s, int index, bool partialOk);
void ScrollBy(ListViewState& s, int dx, int dy);  // pixels
void OnScroll(ListViewState& s, bool vertical, WORD code);
void UpdateScrollBars(ListViewState& s);
void PlaceHeader(ListViewState& s);
void InvalidateItem(ListViewState& s, int index);
// The neighbour of an item in a direction (LVNI_ABOVE ...), -1 when there is none.
int Neighbour(ListViewState& s, int index, UINT direction);
int StringWidth(const ListViewState& s, std::string_view text);

// ListViewPaint.cpp.
void Paint(ListViewState& s, HDC dc, const RECT& area);
HIMAGELIST CreateDragImage(ListViewState& s, int index, POINT* upperLeft);

// ListViewInput.cpp.
void OnButtonDown(ListViewState& s, POINT pt, WPARAM keys, bool right, bool doubleClick);
void OnButtonUp(ListViewState& s, POINT pt, WPARAM keys, bool right);
void OnMouseMove(ListViewState& s, POINT pt, WPARAM keys);
void OnKeyDown(ListViewState& s, UINT key);
void OnChar(ListViewState& s, char32_t ch);
void OnTimer(ListViewState& s, UINT_PTR id);
HWND EditLabel(ListViewState& s, int index);
void CancelPress(ListViewState& s);

inline constexpr UINT_PTR kEditTimer = 1;

}  // namespace pictavo::comctl::detail::listview
