// The header control: items laid out left to right in display order, flat button faces with a
// divider line, sort arrows, images and bitmaps; dragging a divider resizes its item.
#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/comctl/Header.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/Support.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail {
namespace {

constexpr int kTextMargin = 6;   // between an item's edge and its text
constexpr int kDividerGrip = 4;  // half the width in which a divider can be grabbed

struct HeaderItem {
  std::string text;
  int width = 0;
  int fmt = HDF_LEFT | HDF_STRING;
  LPARAM lParam = 0;
  HBITMAP bitmap = nullptr;
  int image = I_IMAGENONE;
};

struct HeaderState : ControlBase {
  std::vector<HeaderItem> items;  // by index
  std::vector<int> order;         // display position -> index
  HIMAGELIST images = nullptr;
  int hot = -1;
  // Mouse tracking: a divider being dragged, or an item held down.
  enum class Mode { kNone, kTrack, kPress } mode = Mode::kNone;
  int item = -1;
  int grabOffset = 0;  // pointer x minus the divider's x when the drag began
  int trackWidth = 0;
  bool pressedInside = false;
};

int Count(const HeaderState& s) {
  return static_cast<int>(s.items.size());
}

RECT ItemRect(const HeaderState& s, int index) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  int x = 0;
  for (int i : s.order) {
    const int w = std::max(0, s.items[static_cast<size_t>(i)].width);
    if (i == index) return RECT{x, 0, x + w, client.bottom};
    x += w;
  }
  return RECT{0, 0, 0, 0};
}

int HitTest(const HeaderState& s, POINT pt, UINT* flags) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  *flags = 0;
  if (pt.x < client.left) *flags |= HHT_TOLEFT;
  if (pt.x >= client.right) *flags |= HHT_TORIGHT;
  if (pt.y < client.top) *flags |= HHT_ABOVE;
  if (pt.y >= client.bottom) *flags |= HHT_BELOW;
  if (*flags) return -1;
  // A divider wins over the items beside it; a zero-width item's divider is "open".
  int x = 0;
  for (size_t pos = 0; pos < s.order.size(); ++pos) {
    const int index = s.order[pos];
    const int w = std::max(0, s.items[static_cast<size_t>(index)].width);
    const int right = x + w;
    if (pt.x >= right - kDividerGrip && pt.x < right + kDividerGrip) {
      // The last of several items ending at this x is the one to widen.
      size_t last = pos;
      while (last + 1 < s.order.size() && s.items[static_cast<size_t>(s.order[last + 1])].width <= 0 &&
             pt.x >= right)
        ++last;
      *flags = last != pos ? HHT_ONDIVOPEN : HHT_ONDIVIDER;
      return s.order[last];
    }
    x = right;
  }
  x = 0;
  for (int index : s.order) {
    const int w = std::max(0, s.items[static_cast<size_t>(index)].width);
    if (pt.x >= x && pt.x < x + w) {
      *flags = HHT_ONHEADER;
      return index;
    }
    x += w;
  }
  *flags = HHT_NOWHERE;
  return -1;
}

// Copies the fields a record asks for from an item.
void FillItem(const HeaderItem& item, int order, HDITEMA* out) {
  if (out->mask & HDI_WIDTH) out->cxy = item.width;
  if (out->mask & HDI_TEXT) CopyText(item.text, out->pszText, out->cchTextMax);
  if (out->mask & HDI_FORMAT) out->fmt = item.fmt;
  if (out->mask & HDI_LPARAM) out->lParam = item.lParam;
  if (out->mask & HDI_BITMAP) out->hbm = item.bitmap;
  if (out->mask & HDI_IMAGE) out->iImage = item.image;
  if (out->mask & HDI_ORDER) out->iOrder = order;
}

void ApplyItem(const HDITEMA& in, HeaderItem* item) {
  if (in.mask & HDI_WIDTH) item->width = std::max(0, in.cxy);
  if (in.mask & HDI_TEXT) item->text = (in.pszText && in.pszText != LPSTR_TEXTCALLBACK) ? in.pszText : "";
  if (in.mask & HDI_FORMAT) item->fmt = in.fmt;
  if (in.mask & HDI_LPARAM) item->lParam = in.lParam;
  if (in.mask & HDI_BITMAP) item->bitmap = in.hbm;
  if (in.mask & HDI_IMAGE) item->image = in.iImage;
}

int PositionOf(const HeaderState& s, int index) {
  auto it = std::find(s.order.begin(), s.order.end(), index);
  return it == s.order.end() ? -1 : static_cast<int>(it - s.order.begin());
}

void SetOrder(HeaderState& s, int index, int position) {
  auto it = std::find(s.order.begin(), s.order.end(), index);
  if (it == s.order.end()) return;
  s.order.erase(it);
  position = std::clamp(position, 0, static_cast<int>(s.order.size()));
  s.order.insert(s.order.begin() + position, index);
}

LRESULT Notify(HeaderState& s, UINT code, int index, HDITEMA* item, int button = 0) {
  NMHEADERA nm{};
  nm.iItem = index;
  nm.iButton = button;
  nm.pitem = item;
  return SendNotify(s, code, &nm.hdr);
}

// Changes an item's fields as HDM_SETITEM does: the parent may refuse, then hears of the change.
bool ChangeItem(HeaderState& s, int index, HDITEMA change) {
  if (Notify(s, HDN_ITEMCHANGING, index, &change)) return false;
  if (!s.alive || index >= Count(s)) return false;
  ApplyItem(change, &s.items[static_cast<size_t>(index)]);
  if (change.mask & HDI_ORDER) SetOrder(s, index, change.iOrder);
  InvalidateRect(s.hwnd, nullptr, TRUE);
  Notify(s, HDN_ITEMCHANGED, index, &change);
  return true;
}

int Insert(HeaderState& s, int index, const HDITEMA& in) {
  index = std::clamp(index, 0, Count(s));
  HeaderItem item;
  ApplyItem(in, &item);
  s.items.insert(s.items.begin() + index, item);
  for (int& i : s.order)
    if (i >= index) ++i;
  const int position = (in.mask & HDI_ORDER) ? in.iOrder : index;
  s.order.insert(s.order.begin() + std::clamp(position, 0, static_cast<int>(s.order.size())), index);
  InvalidateRect(s.hwnd, nullptr, TRUE);
  return index;
}

bool Delete(HeaderState& s, int index) {
  if (index < 0 || index >= Count(s)) return false;
  s.items.erase(s.items.begin() + index);
  s.order.erase(std::find(s.order.begin(), s.order.end(), index));
  for (int& i : s.order)
    if (i > index) --i;
  if (s.hot >= Count(s)) s.hot = -1;
  InvalidateRect(s.hwnd, nullptr, TRUE);
  return true;
}

void PaintItem(HeaderState& s, HDC dc, int index, const RECT& r) {
  const HeaderItem& item = s.items[static_cast<size_t>(index)];
  const bool pressed = s.mode == HeaderState::Mode::kPress && s.item == index && s.pressedInside;
  const DWORD style = static_cast<DWORD>(GetWindowLong(s.hwnd, GWL_STYLE));
  FillSolid(dc, r,
            GetSysColor(pressed                                     ? COLOR_3DLIGHT
                        : (s.hot == index && (style & HDS_BUTTONS)) ? COLOR_3DHIGHLIGHT
                                                                    : COLOR_BTNFACE));
  // Flat look: a divider line on the right, a shadow line along the bottom.
  FillSolid(dc, RECT{r.right - 1, r.top + 3, r.right, r.bottom - 3}, GetSysColor(COLOR_3DSHADOW));
  FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(COLOR_3DSHADOW));
  if (item.fmt & HDF_OWNERDRAW) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_HEADER;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(s.hwnd));
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = pressed ? ODS_SELECTED : 0;
    dis.hwndItem = s.hwnd;
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = static_cast<ULONG_PTR>(item.lParam);
    SavedDc saved(dc);
    SendMessage(s.notify, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  RECT area{r.left + kTextMargin, r.top, r.right - kTextMargin, r.bottom - 1};
  if (pressed) OffsetRect(&area, 1, 1);
  if (area.right <= area.left) return;
  SavedDc saved(dc);
  IntersectClipRect(dc, r.left, r.top, r.right - 1, r.bottom);
  // Sort arrow at the right end.
  if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) {
    RECT arrow{area.right - 9, area.top, area.right, area.bottom};
    DrawArrow(dc, arrow, (item.fmt & HDF_SORTUP) ? Arrow::kUp : Arrow::kDown, 8, GetSysColor(COLOR_3DSHADOW));
    area.right -= 13;
  }
  if ((item.fmt & HDF_IMAGE) && s.images && item.image >= 0) {
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(s.images, &cx, &cy);
    ImageList_Draw(s.images, item.image, dc, area.left, (area.top + area.bottom - cy) / 2, ILD_TRANSPARENT);
    area.left += cx + 3;
  }
  if ((item.fmt & HDF_BITMAP) && item.bitmap) {
    BITMAP bm{};
    if (GetObject(item.bitmap, sizeof bm, &bm)) {
      const int h = std::abs(bm.bmHeight);
      const int y = std::max<int>(area.top, (area.top + area.bottom - h) / 2);
      if (item.fmt & HDF_BITMAP_ON_RIGHT) {
        DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(item.bitmap), 0, area.right - bm.bmWidth, y,
                  bm.bmWidth, h, DST_BITMAP);
        area.right -= bm.bmWidth + 3;
      } else {
        DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(item.bitmap), 0, area.left, y, bm.bmWidth, h,
                  DST_BITMAP);
        area.left += bm.bmWidth + 3;
      }
    }
  }
  if (!item.text.empty() && area.right > area.left) {
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    switch (item.fmt & HDF_JUSTIFYMASK) {
      case HDF_RIGHT:
        format |= DT_RIGHT;
        break;
      case HDF_CENTER:
        format |= DT_CENTER;
        break;
      default:
        break;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(s.hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    Selected font(dc, FontOf(s));
    DrawText(dc, item.text.c_str(), static_cast<int>(item.text.size()), &area, format);
  }
}

void Paint(HeaderState& s, HDC dc, const RECT& area) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  int x = 0;
  for (int index : s.order) {
    const int w = std::max(0, s.items[static_cast<size_t>(index)].width);
    RECT r{x, 0, x + w, client.bottom};
    x += w;
    RECT visible;
    if (w > 0 && IntersectRect(&visible, &r, &area)) PaintItem(s, dc, index, r);
    if (!s.alive) return;
  }
  if (x < client.right) {
    FillSolid(dc, RECT{x, 0, client.right, client.bottom}, GetSysColor(COLOR_BTNFACE));
    FillSolid(dc, RECT{x, client.bottom - 1, client.right, client.bottom}, GetSysColor(COLOR_3DSHADOW));
  }
}

int LayoutHeight(const HeaderState& s) {
  return LineHeightOf(FontOf(s)) + 7;
}

void EndTracking(HeaderState& s, bool commit) {
  const HeaderState::Mode mode = s.mode;
  const int index = s.item;
  s.mode = HeaderState::Mode::kNone;
  if (GetCapture() == s.hwnd) ReleaseCapture();
  if (mode == HeaderState::Mode::kTrack && index >= 0 && index < Count(s)) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = s.trackWidth;
    Notify(s, HDN_ENDTRACK, index, &item);
    if (!s.alive) return;
    if (commit && index < Count(s) && s.items[static_cast<size_t>(index)].width != item.cxy)
      ChangeItem(s, index, item);
  } else if (mode == HeaderState::Mode::kPress) {
    InvalidateRect(s.hwnd, nullptr, FALSE);
  }
}

void OnMouseMove(HeaderState& s, POINT pt) {
  if (s.mode == HeaderState::Mode::kTrack) {
    const RECT r = ItemRect(s, s.item);
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = std::max(0, static_cast<int>(pt.x - s.grabOffset - r.left));
    if (Notify(s, HDN_TRACK, s.item, &item)) {
      EndTracking(s, false);
      return;
    }
    if (!s.alive) return;
    s.trackWidth = std::max(0, item.cxy);
    if (static_cast<DWORD>(GetWindowLong(s.hwnd, GWL_STYLE)) & HDS_FULLDRAG) {
      HDITEMA change{};
      change.mask = HDI_WIDTH;
      change.cxy = s.trackWidth;
      ChangeItem(s, s.item, change);
    }
    return;
  }
  if (s.mode == HeaderState::Mode::kPress) {
    UINT flags = 0;
    const bool inside = HitTest(s, pt, &flags) == s.item && (flags & HHT_ONHEADER);
    if (inside != s.pressedInside) {
      s.pressedInside = inside;
      InvalidateRect(s.hwnd, nullptr, FALSE);
    }
    return;
  }
  UINT flags = 0;
  int hit = HitTest(s, pt, &flags);
  if (!(flags & HHT_ONHEADER)) hit = -1;
  if (hit != s.hot) {
    s.hot = hit;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, s.hwnd, 0};
    TrackMouseEvent(&tme);
  }
}

void OnButtonDown(HeaderState& s, POINT pt, bool doubleClick) {
  UINT flags = 0;
  const int hit = HitTest(s, pt, &flags);
  if (hit < 0) return;
  if (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
    if (doubleClick) {
      Notify(s, HDN_DIVIDERDBLCLICK, hit, nullptr);
      return;
    }
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = s.items[static_cast<size_t>(hit)].width;
    if (Notify(s, HDN_BEGINTRACK, hit, &item) || !s.alive) return;
    const RECT r = ItemRect(s, hit);
    s.mode = HeaderState::Mode::kTrack;
    s.item = hit;
    s.grabOffset = pt.x - r.right;
    s.trackWidth = s.items[static_cast<size_t>(hit)].width;
    SetCapture(s.hwnd);
    return;
  }
  if (doubleClick) {
    Notify(s, HDN_ITEMDBLCLICK, hit, nullptr);
    return;
  }
  if (!(static_cast<DWORD>(GetWindowLong(s.hwnd, GWL_STYLE)) & HDS_BUTTONS)) return;
  s.mode = HeaderState::Mode::kPress;
  s.item = hit;
  s.pressedInside = true;
  SetCapture(s.hwnd);
  InvalidateRect(s.hwnd, nullptr, FALSE);
}

void OnButtonUp(HeaderState& s, POINT pt) {
  if (s.mode == HeaderState::Mode::kPress) {
    const int index = s.item;
    const bool click = s.pressedInside;
    EndTracking(s, true);
    if (click && s.alive && index < Count(s)) Notify(s, HDN_ITEMCLICK, index, nullptr, 0);
  } else if (s.mode == HeaderState::Mode::kTrack) {
    EndTracking(s, true);
  }
}

LRESULT OnMessage(HeaderState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case HDM_GETITEMCOUNT:
      return Count(s);
    case HDM_INSERTITEMA: {
      auto* in = reinterpret_cast<const HDITEMA*>(lParam);
      if (!in) return -1;
      return Insert(s, static_cast<int>(wParam), *in);
    }
    case HDM_DELETEITEM:
      return Delete(s, static_cast<int>(wParam));
    case HDM_GETITEMA: {
      auto* out = reinterpret_cast<HDITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!out || index < 0 || index >= Count(s)) return FALSE;
      FillItem(s.items[static_cast<size_t>(index)], PositionOf(s, index), out);
      return TRUE;
    }
    case HDM_SETITEMA: {
      auto* in = reinterpret_cast<const HDITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!in || index < 0 || index >= Count(s)) return FALSE;
      return ChangeItem(s, index, *in);
    }
    case HDM_LAYOUT: {
      auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
      if (!layout || !layout->prc || !layout->pwpos) return FALSE;
      const int height = (GetWindowLong(hwnd, GWL_STYLE) & HDS_HIDDEN) ? 0 : LayoutHeight(s);
      RECT& r = *layout->prc;
      *layout->pwpos = WINDOWPOS{hwnd,
                                 nullptr,
                                 static_cast<int>(r.left),
                                 static_cast<int>(r.top),
                                 static_cast<int>(r.right - r.left),
                                 height,
                                 SWP_NOZORDER | SWP_NOACTIVATE};
      r.top += height;
      return TRUE;
    }
    case HDM_HITTEST: {
      auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
      if (!info) return -1;
      info->iItem = HitTest(s, info->pt, &info->flags);
      return info->iItem;
    }
    case HDM_GETITEMRECT: {
      const int index = static_cast<int>(wParam);
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (!r || index < 0 || index >= Count(s)) return FALSE;
      *r = ItemRect(s, index);
      return TRUE;
    }
    case HDM_SETIMAGELIST: {
      HIMAGELIST old = s.images;
      s.images = reinterpret_cast<HIMAGELIST>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(s.images);
    case HDM_ORDERTOINDEX: {
      const int position = static_cast<int>(wParam);
      return position >= 0 && position < Count(s) ? s.order[static_cast<size_t>(position)] : position;
    }
    case HDM_GETORDERARRAY: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (!out || static_cast<int>(wParam) != Count(s)) return FALSE;
      std::copy(s.order.begin(), s.order.end(), out);
      return TRUE;
    }
    case HDM_SETORDERARRAY: {
      auto* in = reinterpret_cast<const int*>(lParam);
      if (!in || static_cast<int>(wParam) != Count(s)) return FALSE;
      std::vector<int> order(in, in + Count(s));
      std::vector<int> sorted = order;
      std::sort(sorted.begin(), sorted.end());
      std::vector<int> expected(sorted.size());
      std::iota(expected.begin(), expected.end(), 0);
      if (sorted != expected) return FALSE;
      s.order = std::move(order);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    case WM_SETCURSOR: {
      if (LOWORD(lParam) == HTCLIENT) {
        UINT flags = 0;
        HitTest(s, CursorIn(hwnd), &flags);
        if (s.mode == HeaderState::Mode::kTrack || (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))) {
          SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(s, PointFrom(lParam), message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(s, PointFrom(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(s, PointFrom(lParam));
      return 0;
    case WM_MOUSELEAVE:
      if (s.hot != -1) {
        s.hot = -1;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_RBUTTONUP: {
      SendSimpleNotify(s, NM_RCLICK);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (s.mode != HeaderState::Mode::kNone && reinterpret_cast<HWND>(lParam) != hwnd) {
        EndTracking(s, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && s.mode != HeaderState::Mode::kNone) EndTracking(s, false);
      return 0;
    default:
      return DefControlProc(s, message, wParam, lParam, kSetFont | kSetNotifyWindow);
  }
}

}  // namespace

void RegisterHeaderClass() {
  RegisterControlClass(WC_HEADER, ControlProc<HeaderState, OnMessage>, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace pictavo::comctl::detail
