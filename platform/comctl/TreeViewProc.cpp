// The tree view's window procedure.
#include <algorithm>

#include "platform/comctl/ImageList.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/comctl/TreeViewInternal.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail::treeview {
namespace {

LRESULT HandleOf(Node* node) {
  return reinterpret_cast<LRESULT>(Handle(node));
}

LRESULT OnMessage(TreeViewState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      ApplyCheckBoxStyle(s);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kEditTimer);
      s.editor.reset();
      DeleteItem(s, &s.root);
      if (s.ownStateImages && s.stateImages) ImageList_Destroy(s.stateImages);
      s.stateImages = nullptr;
      s.ownStateImages = false;
      return 0;

    case TVM_INSERTITEMA: {
      auto* insert = reinterpret_cast<const TVINSERTSTRUCTA*>(lParam);
      return insert ? reinterpret_cast<LRESULT>(InsertItem(s, *insert)) : 0;
    }
    case TVM_DELETEITEM:
      return DeleteItem(s, NodeOf(s, reinterpret_cast<HTREEITEM>(lParam), true));
    case TVM_EXPAND:
      return Expand(s, NodeOf(s, reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam), false);
    case TVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect) return FALSE;
      Node* node = NodeOf(s, *reinterpret_cast<HTREEITEM*>(rect));
      NodeParts parts;
      if (!node || !PartsOf(s, node, &parts)) return FALSE;
      *rect = wParam ? parts.label : parts.row;
      return TRUE;
    }
    case TVM_GETCOUNT:
      return ItemCount(s);
    case TVM_GETINDENT:
      return s.indent;
    case TVM_SETINDENT:
      s.indent = std::max(static_cast<int>(wParam), 8);
      InvalidateRows(s);
      return 0;
    case TVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE    ? s.stateImages
                                       : wParam == TVSIL_NORMAL ? s.normalImages
                                                                : nullptr);
    case TVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(
          SetImageList(s, static_cast<int>(wParam), reinterpret_cast<HIMAGELIST>(lParam)));
    case TVM_GETNEXTITEM: {
      const UINT code = static_cast<UINT>(wParam);
      Node* node = NodeOf(s, reinterpret_cast<HTREEITEM>(lParam), code == TVGN_CHILD);
      if (!node && lParam && code != TVGN_ROOT && code != TVGN_CARET && code != TVGN_DROPHILITE &&
          code != TVGN_FIRSTVISIBLE && code != TVGN_LASTVISIBLE)
        return 0;
      return HandleOf(NextItem(s, node, code));
    }
    case TVM_SELECTITEM: {
      Node* node = NodeOf(s, reinterpret_cast<HTREEITEM>(lParam));
      if (lParam && !node) return FALSE;
      switch (wParam & ~TVSI_NOSINGLEEXPAND) {
        case TVGN_CARET:
          return SelectCaret(s, node, TVC_UNKNOWN);
        case TVGN_DROPHILITE:
          return SelectDropTarget(s, node);
        case TVGN_FIRSTVISIBLE:
          if (!node || !EnsureVisible(s, node)) return FALSE;
          ScrollToRow(s, node->row, s.scrollX);
          return TRUE;
        default:
          return FALSE;
      }
    }
    case TVM_GETITEMA:
    case TVM_SETITEMA: {
      // TVITEMEX begins as TVITEM does; iIntegral is only read when TVIF_INTEGRAL says so.
      auto* item = reinterpret_cast<TVITEMEXA*>(lParam);
      if (!item) return FALSE;
      if (message == TVM_GETITEMA) {
        TVITEMEXA copy{};
        std::copy_n(reinterpret_cast<const char*>(item), sizeof(TVITEMA), reinterpret_cast<char*>(&copy));
        if (item->mask & TVIF_INTEGRAL) copy.iIntegral = item->iIntegral;
        const bool ok = GetItem(s, &copy);
        std::copy_n(reinterpret_cast<const char*>(&copy), sizeof(TVITEMA), reinterpret_cast<char*>(item));
        if (ok && (item->mask & TVIF_INTEGRAL)) item->iIntegral = copy.iIntegral;
        return ok;
      }
      TVITEMEXA copy{};
      std::copy_n(reinterpret_cast<const char*>(item), sizeof(TVITEMA), reinterpret_cast<char*>(&copy));
      if (item->mask & TVIF_INTEGRAL) copy.iIntegral = item->iIntegral;
      return SetItem(s, copy);
    }
    case TVM_GETITEMSTATE: {
      Node* node = NodeOf(s, reinterpret_cast<HTREEITEM>(wParam));
      return node ? ItemStateOf(s, node) & static_cast<UINT>(lParam) : 0;
    }
    case TVM_EDITLABELA:
      return reinterpret_cast<LRESULT>(EditLabel(s, NodeOf(s, reinterpret_cast<HTREEITEM>(lParam))));
    case TVM_GETEDITCONTROL:
      return reinterpret_cast<LRESULT>(s.editor ? s.editor->Edit() : nullptr);
    case TVM_ENDEDITLABELNOW:
      if (!s.editor) return FALSE;
      s.editor->End(wParam != 0);
      return TRUE;
    case TVM_GETVISIBLECOUNT:
      return VisibleCount(s);
    case TVM_HITTEST: {
      auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
      if (!info) return 0;
      info->hItem = Handle(HitTest(s, info->pt, &info->flags));
      return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_CREATEDRAGIMAGE:
      return reinterpret_cast<LRESULT>(CreateDragImage(s, NodeOf(s, reinterpret_cast<HTREEITEM>(lParam))));
    case TVM_SORTCHILDREN:
      return SortChildren(s, NodeOf(s, reinterpret_cast<HTREEITEM>(lParam), true), nullptr, 0, wParam != 0);
    case TVM_SORTCHILDRENCB: {
      auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
      if (!sort || !sort->lpfnCompare) return FALSE;
      return SortChildren(s, NodeOf(s, sort->hParent, true), sort->lpfnCompare, sort->lParam, wParam != 0);
    }
    case TVM_ENSUREVISIBLE:
      return EnsureVisible(s, NodeOf(s, reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETISEARCHSTRINGA:
      if (lParam) CopyText(s.search, reinterpret_cast<LPSTR>(lParam), static_cast<int>(s.search.size()) + 1);
      return static_cast<LRESULT>(s.search.size());
    case TVM_SETITEMHEIGHT: {
      const int old = ItemHeight(s);
      const int height = static_cast<short>(LOWORD(wParam));
      s.itemHeight = height < 1 ? 0 : height;
      InvalidateRows(s);
      return old;
    }
    case TVM_GETITEMHEIGHT:
      return ItemHeight(s);
    case TVM_SETBKCOLOR: {
      const COLORREF old = s.bkColor;
      s.bkColor = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return static_cast<LRESULT>(old == CLR_DEFAULT ? static_cast<LRESULT>(-1) : old);
    }
    case TVM_GETBKCOLOR:
      return s.bkColor == CLR_DEFAULT ? static_cast<LRESULT>(-1) : s.bkColor;
    case TVM_SETTEXTCOLOR: {
      const COLORREF old = s.textColor;
      s.textColor = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return static_cast<LRESULT>(old == CLR_DEFAULT ? static_cast<LRESULT>(-1) : old);
    }
    case TVM_GETTEXTCOLOR:
      return s.textColor == CLR_DEFAULT ? static_cast<LRESULT>(-1) : s.textColor;
    case TVM_SETLINECOLOR: {
      const COLORREF old = ColorOr(s.lineColor, COLOR_GRAYTEXT);
      s.lineColor = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case TVM_GETLINECOLOR:
      return ColorOr(s.lineColor, COLOR_GRAYTEXT);

    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(wParam);
      InvalidateRows(s);
      return 0;
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE)) ApplyCheckBoxStyle(s);
      InvalidateRows(s);
      return 0;
    case WM_SIZE:
      InvalidateRows(s);
      return 0;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      RebuildRows(s);
      return PaintControl(s, wParam, Paint);
    case WM_VSCROLL:
    case WM_HSCROLL:
      OnScroll(s, message == WM_VSCROLL, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL: {
      const int notches = static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
      RebuildRows(s);
      ScrollToRow(s, s.scrollY - notches * 3, s.scrollX);
      return 0;
    }
    case WM_SETFOCUS:
      s.focused = true;
      if (s.caret) InvalidateNode(s, s.caret);
      SendSimpleNotify(s, NM_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s.focused = false;
      CancelPress(s);
      if (s.caret) InvalidateNode(s, s.caret);
      SendSimpleNotify(s, NM_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(s, PointFrom(lParam), false, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      OnButtonDown(s, PointFrom(lParam), true, message == WM_RBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(s, PointFrom(lParam), false);
      return 0;
    case WM_RBUTTONUP:
      OnButtonUp(s, PointFrom(lParam), true);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(s, PointFrom(lParam), wParam);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd && s.press.active) {
        s.press.active = false;
        if (s.press.right) SelectDropTarget(s, nullptr);
      }
      return 0;
    case WM_TIMER:
      OnTimer(s, wParam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(s, static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      OnChar(s, static_cast<char32_t>(wParam));
      return 0;
    case WM_COMMAND:
      return 0;
    default:
      return DefControlProc(s, message, wParam, lParam, kSetNotifyWindow);
  }
}

}  // namespace
}  // namespace pictavo::comctl::detail::treeview

namespace pictavo::comctl::detail {

void RegisterTreeViewClass() {
  RegisterControlClass(WC_TREEVIEW, ControlProc<treeview::TreeViewState, treeview::OnMessage>, CS_DBLCLKS);
}

}  // namespace pictavo::comctl::detail
