// The list view's window procedure: messages to the model, layout, painting and input.
#include <algorithm>

#include "platform/comctl/Header.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListViewInternal.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail::listview {
namespace {

constexpr UINT kHeaderId = 0;

void CreateHeader(ListViewState& s) {
  DWORD style = WS_CHILD | HDS_HORZ | HDS_FULLDRAG;
  if (!(StyleOf(s) & LVS_NOSORTHEADER)) style |= HDS_BUTTONS;
  s.header = CreateWindowEx(0, WC_HEADER, "", style, 0, 0, 0, 0, s.hwnd,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kHeaderId)), nullptr, nullptr);
  if (s.header && s.font) SendMessage(s.header, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
}

void DestroyImageLists(ListViewState& s) {
  if (s.ownStateImages && s.stateImages) ImageList_Destroy(s.stateImages);
  if (!(StyleOf(s) & LVS_SHAREIMAGELISTS)) {
    for (HIMAGELIST list : {s.normalImages, s.smallImages, s.ownStateImages ? nullptr : s.stateImages})
      if (list && !IsSystemImageList(list)) ImageList_Destroy(list);
  }
  s.normalImages = s.smallImages = s.stateImages = nullptr;
  s.ownStateImages = false;
}

// Notifications of the header: the list follows column changes and turns a click into
// LVN_COLUMNCLICK; the parent hears them too.
LRESULT OnHeaderNotify(ListViewState& s, NMHDR* hdr) {
  auto* nm = reinterpret_cast<NMHEADERA*>(hdr);
  switch (hdr->code) {
    case HDN_ITEMCHANGEDA:
      if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->iItem >= 0 &&
          nm->iItem < static_cast<int>(s.columns.size())) {
        s.columns[static_cast<size_t>(nm->iItem)].width = nm->pitem->cxy;
        InvalidateLayout(s);
      }
      if (nm->pitem && (nm->pitem->mask & HDI_ORDER)) {
        RefreshColumnOrder(s);
        InvalidateLayout(s);
      }
      if (s.headerSync) return 0;
      break;
    case HDN_ITEMCHANGINGA:
      if (s.headerSync) return 0;
      break;
    case HDN_ITEMCLICKA:
      if (s.notify) SendMessage(s.notify, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
      if (s.alive) NotifyListView(s, LVN_COLUMNCLICK, -1, nm->iItem);
      return 0;
    case HDN_DIVIDERDBLCLICKA: {
      const LRESULT result =
          s.notify ? SendMessage(s.notify, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)) : 0;
      if (s.alive && nm->iItem >= 0) SetColumnWidth(s, nm->iItem, LVSCW_AUTOSIZE);
      return result;
    }
    default:
      break;
  }
  return s.notify ? SendMessage(s.notify, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)) : 0;
}

LRESULT OnMessage(ListViewState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateHeader(s);
      InvalidateLayout(s);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kEditTimer);
      s.editor.reset();
      DeleteAllItems(s);
      DestroyImageLists(s);
      return 0;

    // Items.
    case LVM_GETITEMCOUNT:
      return Count(s);
    case LVM_INSERTITEMA: {
      auto* item = reinterpret_cast<const LVITEMA*>(lParam);
      return item ? InsertItem(s, *item) : -1;
    }
    case LVM_SETITEMA: {
      auto* item = reinterpret_cast<const LVITEMA*>(lParam);
      return item && SetItem(s, *item);
    }
    case LVM_GETITEMA:
      return GetItem(s, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMTEXTA: {
      auto* in = reinterpret_cast<const LVITEMA*>(lParam);
      if (!in) return FALSE;
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(wParam);
      item.iSubItem = in->iSubItem;
      item.pszText = in->pszText;
      return SetItem(s, item);
    }
    case LVM_GETITEMTEXTA: {
      auto* out = reinterpret_cast<LVITEMA*>(lParam);
      if (!out || !Valid(s, static_cast<int>(wParam))) return 0;
      const ItemView view = Resolve(s, static_cast<int>(wParam), out->iSubItem, LVIF_TEXT);
      return CopyText(view.text, out->pszText, out->cchTextMax);
    }
    case LVM_SETITEMSTATE: {
      auto* in = reinterpret_cast<const LVITEMA*>(lParam);
      return in && SetItemState(s, static_cast<int>(static_cast<intptr_t>(wParam)), in->state, in->stateMask);
    }
    case LVM_GETITEMSTATE:
      return Valid(s, static_cast<int>(wParam))
                 ? Resolve(s, static_cast<int>(wParam), 0, LVIF_STATE).state & static_cast<UINT>(lParam)
                 : 0;
    case LVM_DELETEITEM:
      return DeleteItem(s, static_cast<int>(wParam));
    case LVM_DELETEALLITEMS:
      return DeleteAllItems(s);
    case LVM_GETNEXTITEM:
      return NextItem(s, static_cast<int>(static_cast<intptr_t>(wParam)), static_cast<UINT>(LOWORD(lParam)));
    case LVM_GETSELECTEDCOUNT:
      return SelectedCount(s);
    case LVM_GETSELECTIONMARK:
      return s.anchor;
    case LVM_SETSELECTIONMARK: {
      const int old = s.anchor;
      s.anchor = Valid(s, static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
      return old;
    }
    case LVM_SORTITEMS:
      return SortItems(s, reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
    case LVM_FINDITEMA: {
      auto* find = reinterpret_cast<const LVFINDINFOA*>(lParam);
      return find ? FindItem(s, static_cast<int>(static_cast<intptr_t>(wParam)), *find) : -1;
    }
    case LVM_SETCALLBACKMASK:
      s.callbackMask = static_cast<UINT>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETCALLBACKMASK:
      return s.callbackMask;
    case LVM_REDRAWITEMS: {
      const int first = std::max(0, static_cast<int>(wParam));
      const int last = std::min(Count(s) - 1, static_cast<int>(lParam));
      for (int i = first; i <= last; ++i) InvalidateItem(s, i);
      return TRUE;
    }
    case LVM_UPDATE:
      if (!Valid(s, static_cast<int>(wParam))) return FALSE;
      InvalidateLayout(s);
      return TRUE;
    case LVM_EDITLABELA:
      if (static_cast<int>(static_cast<intptr_t>(wParam)) == -1) {
        if (s.editor) s.editor->End(true);
        return 0;
      }
      return reinterpret_cast<LRESULT>(EditLabel(s, static_cast<int>(wParam)));
    case LVM_GETEDITCONTROL:
      return reinterpret_cast<LRESULT>(s.editor ? s.editor->Edit() : nullptr);
    case LVM_CREATEDRAGIMAGE:
      return reinterpret_cast<LRESULT>(
          CreateDragImage(s, static_cast<int>(wParam), reinterpret_cast<POINT*>(lParam)));

    // Columns.
    case LVM_INSERTCOLUMNA: {
      auto* column = reinterpret_cast<const LVCOLUMNA*>(lParam);
      return column ? InsertColumn(s, static_cast<int>(wParam), *column) : -1;
    }
    case LVM_SETCOLUMNA: {
      auto* column = reinterpret_cast<const LVCOLUMNA*>(lParam);
      return column && SetColumn(s, static_cast<int>(wParam), *column);
    }
    case LVM_GETCOLUMNA:
      return GetColumn(s, static_cast<int>(wParam), reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN:
      return DeleteColumn(s, static_cast<int>(wParam));
    case LVM_GETCOLUMNWIDTH: {
      const View view = ViewOf(s);
      if (view == View::kList || view == View::kSmallIcon) return ListColumnWidth(s);
      const int index = static_cast<int>(wParam);
      return index >= 0 && index < static_cast<int>(s.columns.size())
                 ? s.columns[static_cast<size_t>(index)].width
                 : 0;
    }
    case LVM_SETCOLUMNWIDTH:
      return SetColumnWidth(s, static_cast<int>(wParam),
                            static_cast<int>(static_cast<short>(LOWORD(lParam))));
    case LVM_GETHEADER:
      return reinterpret_cast<LRESULT>(s.header);
    case LVM_SETCOLUMNORDERARRAY:
      if (!s.header) return FALSE;
      if (!SendMessage(s.header, HDM_SETORDERARRAY, wParam, lParam)) return FALSE;
      RefreshColumnOrder(s);
      InvalidateLayout(s);
      return TRUE;
    case LVM_GETCOLUMNORDERARRAY:
      return s.header ? SendMessage(s.header, HDM_GETORDERARRAY, wParam, lParam) : FALSE;

    // Geometry and scrolling.
    case LVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      return rect && ItemRect(s, static_cast<int>(wParam), rect->left, rect);
    }
    case LVM_GETSUBITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      return rect && SubItemRect(s, static_cast<int>(wParam), rect->top, rect->left, rect);
    }
    case LVM_GETITEMPOSITION: {
      auto* point = reinterpret_cast<POINT*>(lParam);
      RECT bounds;
      if (!point || !ItemRect(s, static_cast<int>(wParam), LVIR_BOUNDS, &bounds)) return FALSE;
      *point = POINT{bounds.left, bounds.top};
      return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
      return info ? HitTest(s, info, message == LVM_SUBITEMHITTEST) : -1;
    }
    case LVM_ENSUREVISIBLE:
      return EnsureVisible(s, static_cast<int>(wParam), lParam != 0);
    case LVM_SCROLL:
      ScrollBy(s, static_cast<int>(wParam), static_cast<int>(lParam));
      return TRUE;
    case LVM_GETTOPINDEX:
      EnsureLayout(s);
      return TopIndex(s);
    case LVM_GETCOUNTPERPAGE:
      EnsureLayout(s);
      return CountPerPage(s);
    case LVM_GETORIGIN: {
      auto* point = reinterpret_cast<POINT*>(lParam);
      if (!point) return FALSE;
      const View view = ViewOf(s);
      if (view == View::kReport || view == View::kList) return FALSE;
      *point = POINT{s.scrollX, s.scrollY};
      return TRUE;
    }
    case LVM_GETVIEWRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect) return FALSE;
      EnsureLayout(s);
      *rect = RECT{0, 0, 0, 0};
      for (int i : {0, Count(s) - 1}) {
        RECT bounds;
        if (ItemRect(s, i, LVIR_BOUNDS, &bounds)) UnionRect(rect, rect, &bounds);
      }
      return TRUE;
    }
    case LVM_ARRANGE:
      // Items always sit in the view's grid.
      InvalidateLayout(s);
      return TRUE;
    case LVM_SETICONSPACING: {
      const SIZE old = IconCell(s);
      const int cx = static_cast<short>(LOWORD(lParam));
      const int cy = static_cast<short>(HIWORD(lParam));
      s.iconSpacing = SIZE{cx < 0 ? 0 : cx, cy < 0 ? 0 : cy};
      InvalidateLayout(s);
      return MAKELONG(old.cx, old.cy);
    }
    case LVM_GETITEMSPACING: {
      const SIZE cell = IconCell(s);
      return MAKELONG(cell.cx, cell.cy);
    }
    case LVM_GETSTRINGWIDTHA:
      return lParam ? StringWidth(s, reinterpret_cast<LPCSTR>(lParam)) : 0;
    case LVM_GETISEARCHSTRINGA:
      if (lParam) CopyText(s.search, reinterpret_cast<LPSTR>(lParam), static_cast<int>(s.search.size()) + 1);
      return static_cast<LRESULT>(s.search.size());

    // Looks.
    case LVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(
          SetImageList(s, static_cast<int>(wParam), reinterpret_cast<HIMAGELIST>(lParam)));
    case LVM_GETIMAGELIST:
      switch (wParam) {
        case LVSIL_NORMAL:
          return reinterpret_cast<LRESULT>(s.normalImages);
        case LVSIL_SMALL:
          return reinterpret_cast<LRESULT>(s.smallImages);
        case LVSIL_STATE:
          return reinterpret_cast<LRESULT>(s.stateImages);
        default:
          return 0;
      }
    case LVM_SETBKCOLOR:
      s.bkColor = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETBKCOLOR:
      return s.bkColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : s.bkColor;
    case LVM_SETTEXTCOLOR:
      s.textColor = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETTEXTCOLOR:
      return s.textColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : s.textColor;
    case LVM_SETTEXTBKCOLOR:
      s.textBkColor = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return s.textBkColor;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD old = s.exStyle;
      SetExtendedStyle(s, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return s.exStyle;

    // Windows.
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(wParam);
      if (s.header) SendMessage(s.header, WM_SETFONT, wParam, lParam);
      InvalidateLayout(s);
      return 0;
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE) && s.header) {
        DWORD headerStyle = static_cast<DWORD>(GetWindowLong(s.header, GWL_STYLE)) & ~HDS_BUTTONS;
        if (!(StyleOf(s) & LVS_NOSORTHEADER)) headerStyle |= HDS_BUTTONS;
        SetWindowLong(s.header, GWL_STYLE, static_cast<LONG>(headerStyle));
      }
      s.scrollX = s.scrollY = 0;
      InvalidateLayout(s);
      return 0;
    case WM_SIZE:
      // Laid out again when next painted or asked: showing a scroll bar sizes the window anew.
      InvalidateLayout(s);
      return 0;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      EnsureLayout(s);
      return PaintControl(s, wParam, Paint);
    case WM_VSCROLL:
    case WM_HSCROLL:
      OnScroll(s, message == WM_VSCROLL, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL: {
      const int notches = static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
      for (int i = 0; i < std::abs(notches) * 3 && s.alive; ++i)
        OnScroll(s, ViewOf(s) != View::kList, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
      return 0;
    }
    case WM_SETFOCUS:
      s.focused = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      SendSimpleNotify(s, NM_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s.focused = false;
      CancelPress(s);
      InvalidateRect(hwnd, nullptr, FALSE);
      SendSimpleNotify(s, NM_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(s, PointFrom(lParam), wParam, false, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      OnButtonDown(s, PointFrom(lParam), wParam, true, message == WM_RBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(s, PointFrom(lParam), wParam, false);
      return 0;
    case WM_RBUTTONUP:
      OnButtonUp(s, PointFrom(lParam), wParam, true);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(s, PointFrom(lParam), wParam);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) s.press.active = false;
      return 0;
    case WM_CANCELMODE:
      CancelPress(s);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_TIMER:
      OnTimer(s, wParam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(s, static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      OnChar(s, static_cast<char32_t>(wParam));
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      if (hdr && hdr->hwndFrom == s.header && s.header) return OnHeaderNotify(s, hdr);
      return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_COMMAND:
      // The label editor's notifications are of no interest to the parent.
      return 0;
    default:
      return DefControlProc(s, message, wParam, lParam, kSetNotifyWindow);
  }
}

}  // namespace
}  // namespace pictavo::comctl::detail::listview

namespace pictavo::comctl::detail {

void RegisterListViewClass() {
  RegisterControlClass(WC_LISTVIEW, ControlProc<listview::ListViewState, listview::OnMessage>, CS_DBLCLKS);
}

}  // namespace pictavo::comctl::detail
