// The rebar: band records, the row layout that places every child, the painting of grippers,
// texts and borders, and resizing by a gripper.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/comctl/ReBar.h"
#include "platform/comctl/Support.h"

namespace pictavo::comctl::detail {
namespace {

constexpr int kGripper = 12;  // gripper column when a band shows one
constexpr int kPad = 2;       // around a child
constexpr int kRowGap = 2;    // etched line between rows with RBS_BANDBORDERS

struct Band {
  REBARBANDINFO info{};  // lpText points into text
  std::string text;
  RECT rect{};  // laid out
  int row = 0;
};

struct ReBarState : ControlBase {
  std::vector<Band> bands;
  int height = 0;
  int rows = 0;
  int dragging = -1;  // band whose gripper is held
  int dragX = 0;
};

bool Hidden(const Band& b) {
  return (b.info.fStyle & RBBS_HIDDEN) != 0;
}

int HeaderWidth(const ReBarState& s, const Band& b) {
  if (b.info.fMask & RBBIM_HEADERSIZE) return static_cast<int>(b.info.cxHeader);
  int width = (b.info.fStyle & RBBS_NOGRIPPER) ? kPad : kGripper;
  if (!b.text.empty()) width += TextExtent(FontOf(s), b.text).cx + 4;
  return width;
}

int MinWidth(const ReBarState& s, const Band& b) {
  return HeaderWidth(s, b) + static_cast<int>(b.info.cxMinChild) + 2 * kPad;
}

int BandHeight(const Band& b) {
  int child = static_cast<int>(b.info.cyMinChild);
  if ((b.info.fStyle & RBBS_VARIABLEHEIGHT) && b.info.cyChild > b.info.cyMinChild)
    child = static_cast<int>(b.info.cyChild);
  return child + 2 * kPad;
}

void PlaceChild(const ReBarState& s, const Band& b) {
  if (!b.info.hwndChild || !IsWindow(b.info.hwndChild)) return;
  if (Hidden(b)) {
    ShowWindow(b.info.hwndChild, SW_HIDE);
    return;
  }
  const int left = b.rect.left + HeaderWidth(s, b) + kPad;
  const int height = BandHeight(b) - 2 * kPad;
  const int top = b.rect.top + (b.rect.bottom - b.rect.top - height) / 2;
  SetWindowPos(b.info.hwndChild, nullptr, left, top,
               std::max(0, static_cast<int>(b.rect.right) - kPad - left), height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Rows from the band order; the last band of a row reaches the right edge.
void Layout(ReBarState& s, bool notify = true) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  const int width = std::max<int>(client.right, 1);
  const bool borders = (StyleOf(s) & RBS_BANDBORDERS) != 0;
  std::vector<std::vector<size_t>> rows;
  int x = 0;
  for (size_t i = 0; i < s.bands.size(); ++i) {
    const Band& b = s.bands[i];
    if (Hidden(b)) continue;
    const int w = std::max(static_cast<int>(b.info.cx), MinWidth(s, b));
    if (rows.empty() || ((b.info.fStyle & RBBS_BREAK) && !rows.back().empty()) ||
        (x + MinWidth(s, b) > width && !rows.back().empty())) {
      rows.emplace_back();
      x = 0;
    }
    rows.back().push_back(i);
    x += w;
  }
  int top = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    int rowHeight = 0;
    for (size_t i : rows[r]) rowHeight = std::max(rowHeight, BandHeight(s.bands[i]));
    int left = 0;
    for (size_t k = 0; k < rows[r].size(); ++k) {
      Band& b = s.bands[rows[r][k]];
      const bool last = k + 1 == rows[r].size();
      const int w = last ? std::max(width - left, MinWidth(s, b))
                         : std::max(static_cast<int>(b.info.cx), MinWidth(s, b));
      b.rect = {left, top, left + w, top + rowHeight};
      b.row = static_cast<int>(r);
      left += w;
    }
    top += rowHeight + (borders && r + 1 < rows.size() ? kRowGap : 0);
  }
  for (const Band& b : s.bands) PlaceChild(s, b);
  s.rows = static_cast<int>(rows.size());
  const int old = s.height;
  s.height = top;
  InvalidateRect(s.hwnd, nullptr, TRUE);
  if (notify && old != s.height) SendSimpleNotify(s, RBN_HEIGHTCHANGE);
}

// The record's fields the mask names; the text and child are copied, never kept as pointers.
void Apply(ReBarState& s, Band& b, const REBARBANDINFO& in) {
  const UINT m = in.fMask;
  if (m & RBBIM_STYLE) b.info.fStyle = in.fStyle;
  if (m & RBBIM_COLORS) {
    b.info.clrFore = in.clrFore;
    b.info.clrBack = in.clrBack;
  }
  if (m & RBBIM_TEXT) b.text = in.lpText ? in.lpText : "";
  if (m & RBBIM_IMAGE) b.info.iImage = in.iImage;
  if (m & RBBIM_CHILD) {
    if (b.info.hwndChild && b.info.hwndChild != in.hwndChild && IsWindow(b.info.hwndChild))
      ShowWindow(b.info.hwndChild, SW_HIDE);
    b.info.hwndChild = in.hwndChild;
    if (in.hwndChild && IsWindow(in.hwndChild) && GetParent(in.hwndChild) != s.hwnd)
      SetParent(in.hwndChild, s.hwnd);
  }
  if (m & RBBIM_CHILDSIZE) {
    b.info.cxMinChild = in.cxMinChild;
    b.info.cyMinChild = in.cyMinChild;
    b.info.cyChild = in.cyChild;
    b.info.cyMaxChild = in.cyMaxChild;
    b.info.cyIntegral = in.cyIntegral;
  }
  if (m & RBBIM_SIZE) b.info.cx = in.cx;
  if (m & RBBIM_BACKGROUND) b.info.hbmBack = in.hbmBack;
  if (m & RBBIM_ID) b.info.wID = in.wID;
  if (m & RBBIM_IDEALSIZE) b.info.cxIdeal = in.cxIdeal;
  if (m & RBBIM_LPARAM) b.info.lParam = in.lParam;
  if (m & RBBIM_HEADERSIZE) b.info.cxHeader = in.cxHeader;
  b.info.fMask |= m & RBBIM_HEADERSIZE;
}

void Report(const ReBarState& s, const Band& b, REBARBANDINFO& out) {
  const UINT m = out.fMask;
  if (m & RBBIM_STYLE) out.fStyle = b.info.fStyle;
  if (m & RBBIM_COLORS) {
    out.clrFore = b.info.clrFore;
    out.clrBack = b.info.clrBack;
  }
  if ((m & RBBIM_TEXT) && out.lpText && out.cch > 0) {
    const size_t n = std::min<size_t>(b.text.size(), out.cch - 1);
    b.text.copy(out.lpText, n);
    out.lpText[n] = '\0';
  }
  if (m & RBBIM_IMAGE) out.iImage = b.info.iImage;
  if (m & RBBIM_CHILD) out.hwndChild = b.info.hwndChild;
  if (m & RBBIM_CHILDSIZE) {
    out.cxMinChild = b.info.cxMinChild;
    out.cyMinChild = b.info.cyMinChild;
    out.cyChild = b.info.cyChild;
    out.cyMaxChild = b.info.cyMaxChild;
    out.cyIntegral = b.info.cyIntegral;
  }
  if (m & RBBIM_SIZE)
    out.cx = static_cast<UINT>(b.rect.right > b.rect.left ? b.rect.right - b.rect.left : b.info.cx);
  if (m & RBBIM_BACKGROUND) out.hbmBack = b.info.hbmBack;
  if (m & RBBIM_ID) out.wID = b.info.wID;
  if (m & RBBIM_IDEALSIZE) out.cxIdeal = b.info.cxIdeal;
  if (m & RBBIM_LPARAM) out.lParam = b.info.lParam;
  if (m & RBBIM_HEADERSIZE) out.cxHeader = static_cast<UINT>(HeaderWidth(s, b));
}

void Paint(ReBarState& s, HDC dc) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
  const bool borders = (StyleOf(s) & RBS_BANDBORDERS) != 0;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  HGDIOBJ oldFont = SelectObject(dc, FontOf(s));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (const Band& b : s.bands) {
    if (Hidden(b)) continue;
    const RECT& r = b.rect;
    if (b.info.clrBack != CLR_DEFAULT && (b.info.fMask & RBBIM_COLORS)) FillSolid(dc, r, b.info.clrBack);
    int x = r.left + kPad;
    if (!(b.info.fStyle & RBBS_NOGRIPPER)) {
      // Two raised lines, as a handle to take the band by.
      for (int g = 0; g < 2; ++g) {
        const RECT grip{r.left + 2 + 3 * g, r.top + 3, r.left + 5 + 3 * g, r.bottom - 3};
        FillSolid(dc, {grip.left, grip.top, grip.right, grip.top + 1}, light);
        FillSolid(dc, {grip.left, grip.top, grip.left + 1, grip.bottom}, light);
        FillSolid(dc, {grip.left, grip.bottom - 1, grip.right, grip.bottom}, shadow);
        FillSolid(dc, {grip.right - 1, grip.top, grip.right, grip.bottom}, shadow);
      }
      x = r.left + kGripper;
    }
    if (!b.text.empty()) {
      RECT text{x, r.top, r.right, r.bottom};
      DrawText(dc, b.text.c_str(), static_cast<int>(b.text.size()), &text,
               DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    if (borders) {
      // Etched edges between bands and under each row.
      if (r.right < client.right) {
        FillSolid(dc, {r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, shadow);
        FillSolid(dc, {r.right - 1, r.top + 1, r.right, r.bottom - 1}, light);
      }
      if (b.row + 1 < s.rows) {
        FillSolid(dc, {r.left, r.bottom, r.right, r.bottom + 1}, shadow);
        FillSolid(dc, {r.left, r.bottom + 1, r.right, r.bottom + 2}, light);
      }
    }
  }
  SelectObject(dc, oldFont);
}

int GripperAt(const ReBarState& s, POINT pt) {
  for (size_t i = 0; i < s.bands.size(); ++i) {
    const Band& b = s.bands[i];
    if (Hidden(b) || (b.info.fStyle & (RBBS_NOGRIPPER | RBBS_FIXEDSIZE))) continue;
    const RECT grip{b.rect.left, b.rect.top, b.rect.left + kGripper, b.rect.bottom};
    if (PtInRect(&grip, pt)) return static_cast<int>(i);
  }
  return -1;
}

// The band before `index` on its row, or -1.
int Previous(const ReBarState& s, int index) {
  for (int i = index - 1; i >= 0; --i) {
    if (Hidden(s.bands[i])) continue;
    return s.bands[i].row == s.bands[index].row ? i : -1;
  }
  return -1;
}

bool ValidIndex(const ReBarState& s, WPARAM index) {
  return index < s.bands.size();
}

LRESULT OnMessage(ReBarState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<REBARBANDINFO*>(lParam);
  const bool recordMessage =
      message == RB_INSERTBAND || message == RB_SETBANDINFO || message == RB_GETBANDINFO;
  const bool goodRecord = recordMessage && record && record->cbSize == sizeof(REBARBANDINFO);
  switch (message) {
    case RB_INSERTBAND: {
      if (!goodRecord) return FALSE;
      const int at = static_cast<int>(wParam);
      Band band;
      band.info.clrFore = band.info.clrBack = CLR_DEFAULT;
      band.info.iImage = -1;
      Apply(s, band, *record);
      const size_t pos = at < 0 || static_cast<size_t>(at) > s.bands.size() ? s.bands.size() : at;
      s.bands.insert(s.bands.begin() + static_cast<std::ptrdiff_t>(pos), std::move(band));
      Layout(s);
      return TRUE;
    }
    case RB_DELETEBAND:
      if (!ValidIndex(s, wParam)) return FALSE;
      if (HWND child = s.bands[wParam].info.hwndChild; child && IsWindow(child)) ShowWindow(child, SW_HIDE);
      s.bands.erase(s.bands.begin() + static_cast<std::ptrdiff_t>(wParam));
      Layout(s);
      return TRUE;
    case RB_SETBANDINFO:
      if (!goodRecord || !ValidIndex(s, wParam)) return FALSE;
      Apply(s, s.bands[wParam], *record);
      Layout(s);
      return TRUE;
    case RB_GETBANDINFO:
      if (!goodRecord || !ValidIndex(s, wParam)) return FALSE;
      Report(s, s.bands[wParam], *record);
      return TRUE;
    case RB_GETRECT:
      if (!ValidIndex(s, wParam) || !lParam) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = s.bands[wParam].rect;
      return TRUE;
    case RB_GETBANDCOUNT:
      return static_cast<LRESULT>(s.bands.size());
    case RB_GETROWCOUNT:
      return s.rows;
    case RB_GETROWHEIGHT:
      return ValidIndex(s, wParam) ? s.bands[wParam].rect.bottom - s.bands[wParam].rect.top : 0;
    case RB_IDTOINDEX:
      for (size_t i = 0; i < s.bands.size(); ++i)
        if (s.bands[i].info.wID == wParam) return static_cast<LRESULT>(i);
      return -1;
    case RB_GETBARHEIGHT:
      return s.height;
    case RB_MOVEBAND: {
      const auto to = static_cast<WPARAM>(lParam);
      if (!ValidIndex(s, wParam) || !ValidIndex(s, to)) return FALSE;
      Band band = std::move(s.bands[wParam]);
      s.bands.erase(s.bands.begin() + static_cast<std::ptrdiff_t>(wParam));
      s.bands.insert(s.bands.begin() + static_cast<std::ptrdiff_t>(to), std::move(band));
      Layout(s);
      return TRUE;
    }
    case WM_SIZE:
      Layout(s);
      return 0;
    case WM_SETCURSOR: {
      POINT pt;
      GetCursorPos(&pt);
      ScreenToClient(hwnd, &pt);
      if (LOWORD(lParam) == HTCLIENT && (s.dragging >= 0 || GripperAt(s, pt) >= 0)) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      return DefControlProc(s, message, wParam, lParam);
    }
    case WM_LBUTTONDOWN: {
      const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      s.dragging = GripperAt(s, pt);
      if (s.dragging >= 0) {
        s.dragX = pt.x;
        SetCapture(hwnd);
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (s.dragging < 0 || GetCapture() != hwnd) return 0;
      const int x = static_cast<short>(LOWORD(lParam));
      const int before = Previous(s, s.dragging);
      if (before < 0 || x == s.dragX) return 0;
      Band& prev = s.bands[before];
      const int width = prev.rect.right - prev.rect.left + (x - s.dragX);
      prev.info.cx = static_cast<UINT>(std::max(width, MinWidth(s, prev)));
      s.dragX = x;
      Layout(s);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
      if (s.dragging >= 0 && GetCapture() == hwnd) ReleaseCapture();
      s.dragging = -1;
      return 0;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    default:
      return DefControlProc(s, message, wParam, lParam);
  }
}

}  // namespace

void RegisterReBarClass() {
  RegisterControlClass(REBARCLASSNAME, ControlProc<ReBarState, OnMessage>, CS_HREDRAW | CS_VREDRAW);
}

}  // namespace pictavo::comctl::detail
