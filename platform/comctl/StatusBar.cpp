// The status bar: panes of text and icons along the bottom (or top) of its parent, placed again
// whenever it is sent WM_SIZE, with a size grip that resizes the parent's window.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/comctl/StatusBar.h"
#include "platform/comctl/Support.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail {
namespace {

constexpr int kBorder = 2;      // above and below the panes
constexpr int kPaneGap = 2;     // between panes
constexpr int kTextMargin = 3;  // inside a pane
constexpr int kMaxParts = 256;
constexpr WPARAM kWmszBottomRight = 8;

struct Pane {
  std::string text;
  LPARAM data = 0;  // of an owner-drawn pane
  UINT flags = 0;   // SBT_*
  HICON icon = nullptr;
};

struct StatusState : ControlBase {
  std::vector<int> edges{-1};  // right edges; -1 runs to the end
  std::vector<Pane> panes{Pane{}};
  Pane simplePane;
  bool simple = false;
  int minHeight = 0;
  COLORREF back = CLR_DEFAULT;
  bool placing = false;
};

int BarHeight(const StatusState& s) {
  return std::max(LineHeightOf(FontOf(s)) + 2 * kBorder + 4, s.minHeight + 2 * kBorder);
}

int GripSize(const StatusState& s) {
  if (!(StyleOf(s) & SBARS_SIZEGRIP)) return 0;
  RECT client;
  GetClientRect(s.hwnd, &client);
  return std::max<int>(0, client.bottom - client.top);
}

RECT PaneRect(const StatusState& s, int index) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  const int top = client.top + kBorder;
  const int bottom = client.bottom - kBorder + 1;
  if (s.simple) return RECT{client.left, top, client.right - GripSize(s), bottom};
  const int left = index == 0 ? 0 : s.edges[static_cast<size_t>(index) - 1] + kPaneGap;
  int right = s.edges[static_cast<size_t>(index)];
  if (right < 0 || right > client.right) right = client.right;
  // The grip keeps its corner clear of the last pane.
  if (index == static_cast<int>(s.edges.size()) - 1) right = std::min<int>(right, client.right - GripSize(s));
  return RECT{std::max(0, left), top, std::max(std::max(0, left), right), bottom};
}

// Where the bar goes in its parent, unless it was told not to move.
void Place(StatusState& s) {
  const DWORD style = StyleOf(s);
  HWND parent = GetParent(s.hwnd);
  if (s.placing || !parent || (style & CCS_NOPARENTALIGN)) return;
  RECT area;
  GetClientRect(parent, &area);
  RECT current;
  GetWindowRect(s.hwnd, &current);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&current), 2);
  const int height = (style & CCS_NORESIZE) ? current.bottom - current.top : BarHeight(s);
  const bool top = (style & CCS_BOTTOM) == CCS_TOP;
  const int y = top ? area.top : area.bottom - height;
  if (current.left == area.left && current.top == y && current.right == area.right &&
      current.bottom == y + height)
    return;
  s.placing = true;
  SetWindowPos(s.hwnd, nullptr, area.left, y, area.right - area.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
  s.placing = false;
}

void DrawPaneText(StatusState& s, HDC dc, const Pane& pane, RECT r) {
  if (pane.icon) {
    const int size = std::min<int>(GetSystemMetrics(SM_CXSMICON), r.bottom - r.top);
    DrawIconEx(dc, r.left + kTextMargin, (r.top + r.bottom - size) / 2, pane.icon, size, size, 0, nullptr,
               DI_NORMAL);
    r.left += kTextMargin + size;
  }
  // Tabs split the text into left, centred and right-aligned parts.
  std::string parts[3];
  if (pane.flags & SBT_NOTABPARSING) {
    parts[0] = pane.text;
  } else {
    size_t index = 0;
    for (char c : pane.text) {
      if (c == '\t' && index < 2)
        ++index;
      else
        parts[index] += c;
    }
  }
  RECT text{r.left + kTextMargin, r.top, r.right - kTextMargin, r.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const UINT aligns[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  for (int i = 0; i < 3; ++i)
    if (!parts[i].empty())
      DrawText(dc, parts[i].c_str(), static_cast<int>(parts[i].size()), &text,
               aligns[i] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void PaintPane(StatusState& s, HDC dc, int index, const Pane& pane, const RECT& r) {
  if (r.right <= r.left) return;
  if (!(pane.flags & SBT_NOBORDERS))
    FillSolid(dc, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, GetSysColor(COLOR_3DSHADOW));
  if (pane.flags & SBT_OWNERDRAW) {
    DRAWITEMSTRUCT dis{};
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(s.hwnd));
    dis.itemID = static_cast<UINT>(index);
    dis.hwndItem = s.hwnd;
    dis.hDC = dc;
    dis.rcItem = RECT{r.left, r.top, r.right - 1, r.bottom};
    dis.itemData = static_cast<ULONG_PTR>(pane.data);
    SavedDc saved(dc);
    SendMessage(s.notify, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  SavedDc saved(dc);
  IntersectClipRect(dc, r.left, r.top, r.right - 1, r.bottom);
  DrawPaneText(s, dc, pane, RECT{r.left, r.top, r.right - 1, r.bottom});
}

void Paint(StatusState& s, HDC dc) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  FillSolid(dc, client, ColorOr(s.back, COLOR_BTNFACE));
  FillSolid(dc, RECT{client.left, client.top, client.right, client.top + 1}, GetSysColor(COLOR_3DSHADOW));
  Selected font(dc, FontOf(s));
  if (s.simple) {
    PaintPane(s, dc, SB_SIMPLEID, s.simplePane, PaneRect(s, 0));
  } else {
    for (int i = 0; i < static_cast<int>(s.panes.size()) && s.alive; ++i)
      PaintPane(s, dc, i, s.panes[static_cast<size_t>(i)], PaneRect(s, i));
  }
  if (const int grip = GripSize(s)) {
    RECT box{client.right - grip, client.bottom - grip, client.right, client.bottom};
    DrawFrameControl(dc, &box, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

bool OnGrip(const StatusState& s, POINT pt) {
  const int grip = GripSize(s);
  if (!grip) return false;
  RECT client;
  GetClientRect(s.hwnd, &client);
  RECT box{client.right - grip, client.bottom - grip, client.right, client.bottom};
  HWND root = GetAncestor(s.hwnd, GA_ROOT);
  return PtInRect(&box, pt) && root && (GetWindowLong(root, GWL_STYLE) & WS_THICKFRAME) && !IsZoomed(root);
}

Pane* PaneOf(StatusState& s, int index) {
  if (index == SB_SIMPLEID) return &s.simplePane;
  if (index < 0 || index >= static_cast<int>(s.panes.size())) return nullptr;
  return &s.panes[static_cast<size_t>(index)];
}

LRESULT OnMessage(StatusState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) s.panes[0].text = cs->lpszName;
      Place(s);
      return 0;
    }
    case SB_SETTEXTA: {
      Pane* pane = PaneOf(s, static_cast<int>(LOBYTE(wParam)));
      if (!pane) return FALSE;
      pane->flags = static_cast<UINT>(wParam) & 0xFF00;
      if (pane->flags & SBT_OWNERDRAW) {
        pane->data = lParam;
        pane->text.clear();
      } else {
        pane->text = TextOf(reinterpret_cast<LPCSTR>(lParam));
      }
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    }
    case SB_GETTEXTA:
    case SB_GETTEXTLENGTHA: {
      Pane* pane = PaneOf(s, static_cast<int>(wParam));
      if (!pane) return 0;
      if (pane->flags & SBT_OWNERDRAW) return message == SB_GETTEXTA ? pane->data : 0;
      if (message == SB_GETTEXTA && lParam) {
        auto* out = reinterpret_cast<LPSTR>(lParam);
        std::copy(pane->text.begin(), pane->text.end(), out);
        out[pane->text.size()] = '\0';
      }
      return MAKELONG(static_cast<WORD>(pane->text.size()), static_cast<WORD>(pane->flags));
    }
    case SB_SETPARTS: {
      const int count = static_cast<int>(wParam);
      auto* edges = reinterpret_cast<const int*>(lParam);
      if (count <= 0 || count > kMaxParts || !edges) return FALSE;
      s.edges.assign(edges, edges + count);
      s.panes.resize(static_cast<size_t>(count));
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case SB_GETPARTS: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (out) std::copy_n(s.edges.begin(), std::min<size_t>(wParam, s.edges.size()), out);
      return static_cast<LRESULT>(s.edges.size());
    }
    case SB_GETBORDERS: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (!out) return FALSE;
      out[0] = 0;
      out[1] = kBorder;
      out[2] = kPaneGap;
      return TRUE;
    }
    case SB_SETMINHEIGHT:
      s.minHeight = static_cast<int>(wParam);
      return 0;
    case SB_SIMPLE: {
      const bool simple = wParam != 0;
      if (simple != s.simple) {
        s.simple = simple;
        InvalidateRect(hwnd, nullptr, TRUE);
        SendSimpleNotify(s, SBN_SIMPLEMODECHANGE);
      }
      return 0;
    }
    case SB_ISSIMPLE:
      return s.simple;
    case SB_GETRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!out || (!s.simple && (index < 0 || index >= static_cast<int>(s.edges.size())))) return FALSE;
      *out = PaneRect(s, index);
      return TRUE;
    }
    case SB_SETICON: {
      Pane* pane = PaneOf(
          s, static_cast<int>(static_cast<intptr_t>(wParam)) == -1 ? SB_SIMPLEID : static_cast<int>(wParam));
      if (!pane) return FALSE;
      pane->icon = reinterpret_cast<HICON>(lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    }
    case SB_GETICON: {
      Pane* pane = PaneOf(
          s, static_cast<int>(static_cast<intptr_t>(wParam)) == -1 ? SB_SIMPLEID : static_cast<int>(wParam));
      return reinterpret_cast<LRESULT>(pane ? pane->icon : nullptr);
    }
    case SB_SETBKCOLOR: {
      const COLORREF old = s.back;
      s.back = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case WM_SETTEXT: {
      s.panes[0].text = TextOf(reinterpret_cast<LPCSTR>(lParam));
      InvalidateRect(hwnd, nullptr, FALSE);
      return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_SIZE:
      // The parent hands its own WM_SIZE on: follow its new size.
      Place(s);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && OnGrip(s, CursorIn(hwnd))) {
        SetCursor(LoadCursor(nullptr, IDC_SIZENWSE));
        return TRUE;
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      const POINT pt = PointFrom(lParam);
      if (OnGrip(s, pt)) {
        POINT screen = pt;
        ClientToScreen(hwnd, &screen);
        SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_SIZE | kWmszBottomRight,
                    MAKELPARAM(screen.x, screen.y));
        return 0;
      }
      return 0;
    }
    case WM_LBUTTONUP:
      SendSimpleNotify(s, NM_CLICK);
      return 0;
    case WM_LBUTTONDBLCLK:
      SendSimpleNotify(s, NM_DBLCLK);
      return 0;
    case WM_RBUTTONUP:
      if (!SendSimpleNotify(s, NM_RCLICK) && s.alive) return DefWindowProc(hwnd, message, wParam, lParam);
      return 0;
    default:
      return DefControlProc(s, message, wParam, lParam, kSetFont);
  }
}

}  // namespace

void RegisterStatusBarClass() {
  RegisterControlClass(STATUSCLASSNAME, ControlProc<StatusState, OnMessage>,
                       CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace pictavo::comctl::detail
