// The tab control: one row of tabs along the top of a framed display area. Changing the
// selection by mouse or keyboard asks the parent first (TCN_SELCHANGING may refuse).
#include <algorithm>
#include <string>
#include <vector>

#include "platform/comctl/ImageList.h"
#include "platform/comctl/Support.h"
#include "platform/comctl/Tab.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail {
namespace {

constexpr int kFrame = 4;   // display area inset from the frame
constexpr int kRaise = 2;   // how much larger the selected tab is drawn
constexpr int kMargin = 2;  // left of the first tab

struct TabItem {
  std::string text;
  int image = -1;
  LPARAM param = 0;
  DWORD state = 0;
};

struct TabState : ControlBase {
  std::vector<TabItem> items;
  int current = -1;
  int focusItem = -1;
  HIMAGELIST images = nullptr;
  SIZE itemSize{0, 0};  // TCM_SETITEMSIZE; 0: from the contents
  SIZE padding{6, 3};
  int minWidth = 0;
  bool focused = false;
};

int Count(const TabState& s) {
  return static_cast<int>(s.items.size());
}

SIZE ImageSize(const TabState& s) {
  int cx = 0;
  int cy = 0;
  if (s.images && ImageList_GetIconSize(s.images, &cx, &cy)) return SIZE{cx, cy};
  return SIZE{0, 0};
}

int RowHeight(const TabState& s) {
  if (s.itemSize.cy > 0) return s.itemSize.cy;
  return std::max<int>(LineHeightOf(FontOf(s)), ImageSize(s).cy) + 2 * s.padding.cy + 1;
}

int TabWidth(const TabState& s, int index) {
  if ((StyleOf(s) & TCS_FIXEDWIDTH) && s.itemSize.cx > 0) return s.itemSize.cx;
  const TabItem& item = s.items[static_cast<size_t>(index)];
  int width = TextExtent(FontOf(s), item.text).cx + 2 * s.padding.cx;
  if (s.images && item.image >= 0) width += ImageSize(s).cx + 3;
  return std::max(width, s.minWidth);
}

// The unselected rectangle of a tab.
RECT TabRect(const TabState& s, int index) {
  int x = kMargin;
  for (int i = 0; i < index; ++i) x += TabWidth(s, i);
  return RECT{x, kRaise, x + TabWidth(s, index), RowHeight(s) + kRaise};
}

int HitTest(const TabState& s, POINT pt, UINT* flags) {
  for (int i = 0; i < Count(s); ++i) {
    RECT r = TabRect(s, i);
    if (i == s.current) {
      InflateRect(&r, kRaise, 0);
      r.top -= kRaise;
    }
    if (PtInRect(&r, pt)) {
      if (flags) {
        const bool icon = s.images && s.items[static_cast<size_t>(i)].image >= 0 &&
                          pt.x < r.left + s.padding.cx + ImageSize(s).cx;
        *flags = icon ? TCHT_ONITEMICON : TCHT_ONITEMLABEL;
      }
      return i;
    }
  }
  if (flags) *flags = TCHT_NOWHERE;
  return -1;
}

RECT DisplayFrame(const TabState& s) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  client.top = RowHeight(s) + kRaise;
  return client;
}

// TCN_SELCHANGING, then TCN_SELCHANGE when the parent lets it happen.
bool ChangeSelection(TabState& s, int index) {
  if (index < 0 || index >= Count(s) || index == s.current) return false;
  if (SendSimpleNotify(s, TCN_SELCHANGING) || !s.alive) return false;
  s.current = index;
  s.focusItem = index;
  InvalidateRect(s.hwnd, nullptr, TRUE);
  SendSimpleNotify(s, TCN_SELCHANGE);
  return true;
}

void PaintTab(TabState& s, HDC dc, int index) {
  const TabItem& item = s.items[static_cast<size_t>(index)];
  const bool selected = index == s.current;
  RECT r = TabRect(s, index);
  if (selected) {
    InflateRect(&r, kRaise, 0);
    r.top -= kRaise;
    r.bottom += 1;
  }
  const COLORREF edge = GetSysColor(COLOR_3DSHADOW);
  FillSolid(dc, r, GetSysColor(selected ? COLOR_BTNFACE : COLOR_3DLIGHT));
  FillSolid(dc, RECT{r.left, r.top, r.right, r.top + 1}, edge);
  FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - (selected ? 1 : 0)}, edge);
  FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom - (selected ? 1 : 0)}, edge);
  if (selected)
    FillSolid(dc, RECT{r.left + 1, r.bottom - 1, r.right - 1, r.bottom}, GetSysColor(COLOR_BTNFACE));
  RECT content{r.left + s.padding.cx, r.top + 1, r.right - s.padding.cx, r.bottom};
  if (StyleOf(s) & TCS_OWNERDRAWFIXED) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_TAB;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(s.hwnd));
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hwndItem = s.hwnd;
    dis.hDC = dc;
    dis.rcItem = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    dis.itemData = static_cast<ULONG_PTR>(item.param);
    SavedDc saved(dc);
    SendMessage(s.notify, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  const SIZE image = ImageSize(s);
  int width = TextExtent(FontOf(s), item.text).cx;
  if (s.images && item.image >= 0) width += image.cx + 3;
  int x = (content.left + content.right - width) / 2;
  if (s.images && item.image >= 0) {
    ImageList_Draw(s.images, item.image, dc, x, (content.top + content.bottom - image.cy) / 2,
                   ILD_TRANSPARENT);
    x += image.cx + 3;
  }
  RECT text{x, content.top, content.right, content.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(s.hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawText(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
           DT_SINGLELINE | DT_VCENTER | DT_HIDEPREFIX);
  if (selected && s.focused && !(StyleOf(s) & TCS_FOCUSNEVER)) {
    RECT focus{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    DrawFocusRect(dc, &focus);
  }
}

void Paint(TabState& s, HDC dc, const RECT& area) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  FillSolid(dc, area, GetSysColor(COLOR_BTNFACE));
  Selected font(dc, FontOf(s));
  const RECT frame = DisplayFrame(s);
  FrameSolid(dc, frame, GetSysColor(COLOR_3DSHADOW));
  for (int i = 0; i < Count(s); ++i)
    if (i != s.current) PaintTab(s, dc, i);
  if (s.current >= 0) PaintTab(s, dc, s.current);
}

void OnKeyDown(TabState& s, UINT key) {
  NMTCKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  SendNotify(s, TCN_KEYDOWN, &nm.hdr);
  if (!s.alive || Count(s) == 0) return;
  const int current = std::max(s.current, 0);
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      ChangeSelection(s, current - 1);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      ChangeSelection(s, current + 1);
      break;
    case VK_HOME:
      ChangeSelection(s, 0);
      break;
    case VK_END:
      ChangeSelection(s, Count(s) - 1);
      break;
    case VK_TAB:
      // Ctrl+Tab and Ctrl+Shift+Tab go round.
      if (KeyDown(VK_CONTROL))
        ChangeSelection(s, (current + (KeyDown(VK_SHIFT) ? Count(s) - 1 : 1)) % Count(s));
      break;
    default:
      break;
  }
}

void FillItem(const TabItem& item, TCITEMA* out) {
  if (out->mask & TCIF_TEXT) CopyText(item.text, out->pszText, out->cchTextMax);
  if (out->mask & TCIF_IMAGE) out->iImage = item.image;
  if (out->mask & TCIF_PARAM) out->lParam = item.param;
  if (out->mask & TCIF_STATE) out->dwState = item.state & out->dwStateMask;
}

void ApplyItem(const TCITEMA& in, TabItem* item) {
  if (in.mask & TCIF_TEXT) item->text = TextOf(in.pszText == LPSTR_TEXTCALLBACK ? nullptr : in.pszText);
  if (in.mask & TCIF_IMAGE) item->image = in.iImage;
  if (in.mask & TCIF_PARAM) item->param = in.lParam;
  if (in.mask & TCIF_STATE) item->state = (item->state & ~in.dwStateMask) | (in.dwState & in.dwStateMask);
}

LRESULT OnMessage(TabState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TCM_GETITEMCOUNT:
      return Count(s);
    case TCM_INSERTITEMA: {
      auto* in = reinterpret_cast<const TCITEMA*>(lParam);
      if (!in || static_cast<int>(wParam) < 0) return -1;
      const int index = std::min(static_cast<int>(wParam), Count(s));
      TabItem item;
      ApplyItem(*in, &item);
      s.items.insert(s.items.begin() + index, item);
      if (s.current >= index) ++s.current;
      if (s.focusItem >= index) ++s.focusItem;
      // The first tab is selected without telling anyone.
      if (s.current < 0) s.current = s.focusItem = 0;
      InvalidateRect(hwnd, nullptr, TRUE);
      return index;
    }
    case TCM_SETITEMA: {
      auto* in = reinterpret_cast<const TCITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!in || index < 0 || index >= Count(s)) return FALSE;
      ApplyItem(*in, &s.items[static_cast<size_t>(index)]);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TCM_GETITEMA: {
      auto* out = reinterpret_cast<TCITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!out || index < 0 || index >= Count(s)) return FALSE;
      FillItem(s.items[static_cast<size_t>(index)], out);
      return TRUE;
    }
    case TCM_DELETEITEM: {
      const int index = static_cast<int>(wParam);
      if (index < 0 || index >= Count(s)) return FALSE;
      s.items.erase(s.items.begin() + index);
      if (s.current == index)
        s.current = -1;
      else if (s.current > index)
        --s.current;
      if (s.focusItem == index)
        s.focusItem = s.current;
      else if (s.focusItem > index)
        --s.focusItem;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TCM_DELETEALLITEMS:
      s.items.clear();
      s.current = s.focusItem = -1;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!rect || index < 0 || index >= Count(s)) return FALSE;
      *rect = TabRect(s, index);
      return TRUE;
    }
    case TCM_GETCURSEL:
      return s.current;
    case TCM_SETCURSEL: {
      const int old = s.current;
      const int index = static_cast<int>(static_cast<intptr_t>(wParam));
      if (index < 0 || index >= Count(s)) return -1;
      s.current = s.focusItem = index;
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case TCM_GETCURFOCUS:
      return s.focusItem;
    case TCM_SETCURFOCUS: {
      const int index = static_cast<int>(static_cast<intptr_t>(wParam));
      // In the tab style the focus and the selection go together.
      if (index >= 0 && index < Count(s) && index != s.current) ChangeSelection(s, index);
      return 0;
    }
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
      return info ? HitTest(s, info->pt, &info->flags) : -1;
    }
    case TCM_SETITEMEXTRA:
      // Items keep one LPARAM of data.
      return wParam <= sizeof(LPARAM) && Count(s) == 0;
    case TCM_ADJUSTRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect) return 0;
      const int top = RowHeight(s) + kRaise;
      if (wParam) {
        rect->left -= kFrame;
        rect->right += kFrame;
        rect->bottom += kFrame;
        rect->top -= top + kFrame;
      } else {
        rect->left += kFrame;
        rect->right -= kFrame;
        rect->bottom -= kFrame;
        rect->top += top + kFrame;
      }
      return 0;
    }
    case TCM_SETITEMSIZE: {
      const LRESULT old =
          MAKELONG(s.itemSize.cx > 0 ? s.itemSize.cx : (Count(s) ? TabWidth(s, 0) : 0), RowHeight(s));
      s.itemSize = SIZE{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case TCM_SETPADDING:
      s.padding = SIZE{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TCM_SETMINTABWIDTH: {
      const int old = s.minWidth;
      s.minWidth = std::max(0, static_cast<int>(lParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case TCM_GETROWCOUNT:
      return 1;
    case TCM_DESELECTALL:
      return 0;
    case TCM_SETIMAGELIST: {
      HIMAGELIST old = s.images;
      s.images = reinterpret_cast<HIMAGELIST>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case TCM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(s.images);
    case TCM_REMOVEIMAGE: {
      const int image = static_cast<int>(wParam);
      if (s.images) ImageList_Remove(s.images, image);
      for (TabItem& item : s.items) {
        if (item.image == image)
          item.image = -1;
        else if (item.image > image)
          --item.image;
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    case WM_LBUTTONDOWN: {
      const int hit = HitTest(s, PointFrom(lParam), nullptr);
      if ((StyleOf(s) & TCS_FOCUSONBUTTONDOWN) && !(StyleOf(s) & TCS_FOCUSNEVER)) SetFocus(hwnd);
      if (hit >= 0 && s.alive) ChangeSelection(s, hit);
      return 0;
    }
    case WM_LBUTTONUP:
      SendSimpleNotify(s, NM_CLICK);
      return 0;
    case WM_RBUTTONUP:
      if (!SendSimpleNotify(s, NM_RCLICK) && s.alive) return DefWindowProc(hwnd, message, wParam, lParam);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s.focused = message == WM_SETFOCUS;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: {
      // Ctrl+Tab belongs to the tabs, plain Tab to the dialog.
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (KeyDown(VK_CONTROL)) code |= DLGC_WANTTAB;
      return code;
    }
    case WM_KEYDOWN:
      OnKeyDown(s, static_cast<UINT>(wParam));
      return 0;
    default:
      return DefControlProc(s, message, wParam, lParam, kSetFont | kSetNotifyWindow);
  }
}

}  // namespace

void RegisterTabClass() {
  RegisterControlClass(WC_TABCONTROL, ControlProc<TabState, OnMessage>, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace pictavo::comctl::detail
