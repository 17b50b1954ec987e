// The static control: text, bitmaps and icons, rectangles, frames and etched lines, owner-drawn
// statics. Without SS_NOTIFY it is transparent to the mouse.
#include <cstdlib>
#include <string>

#include "platform/user/ControlsInternal.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::controls {
namespace {

struct StaticState : ControlState {
  HANDLE image = nullptr;  // SS_BITMAP / SS_ICON
  UINT imageType = IMAGE_BITMAP;
};
StateTable<StaticState>& States() {
  static auto* table = new StateTable<StaticState>;
  return *table;
}

UINT TypeOf(DWORD style) {
  return style & SS_TYPEMASK;
}
bool IsImageType(UINT type) {
  return type == SS_BITMAP || type == SS_ICON;
}

SIZE ImageSize(HANDLE image, UINT type) {
  SIZE size{};
  if (!image) return size;
  if (type != IMAGE_BITMAP) return gdi::IconSize(static_cast<HICON>(image));
  BITMAP bm{};
  if (GetObject(image, sizeof bm, &bm)) size = SIZE{bm.bmWidth, std::abs(bm.bmHeight)};
  return size;
}

// An image static takes the size of its image unless it centres or scales it.
void FitToImage(HWND hwnd, const StaticState& s) {
  const DWORD style = StyleOf(hwnd);
  if (style & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) return;
  const SIZE size = ImageSize(s.image, s.imageType);
  if (size.cx <= 0 || size.cy <= 0) return;
  SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HANDLE SetImage(HWND hwnd, StaticState& s, UINT type, HANDLE image) {
  HANDLE old = s.image;
  s.image = image;
  s.imageType = type == IMAGE_BITMAP ? IMAGE_BITMAP : IMAGE_ICON;
  FitToImage(hwnd, s);
  InvalidateRect(hwnd, nullptr, TRUE);
  return old;
}

// The image a dialog template names by the window text: "#id", a name, or an integer resource.
void LoadNamedImage(HWND hwnd, StaticState& s, const CREATESTRUCT& cs) {
  if (!cs.lpszName) return;
  LPCSTR name = cs.lpszName;
  if (!IS_INTRESOURCE(name)) {
    if (!*name) return;
    if (name[0] == '#') name = MAKEINTRESOURCE(std::atoi(name + 1));
  }
  const UINT type = TypeOf(static_cast<DWORD>(cs.style)) == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON;
  HANDLE image = LoadImage(cs.hInstance, name, type, 0, 0, type == IMAGE_ICON ? LR_DEFAULTSIZE : 0);
  if (image) SetImage(hwnd, s, type, image);
}

UINT TextFormat(DWORD style) {
  UINT format = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  switch (TypeOf(style)) {
    case SS_CENTER:
      format |= DT_CENTER | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      format |= DT_RIGHT | DT_WORDBREAK;
      break;
    case SS_SIMPLE:
      format |= DT_LEFT | DT_SINGLELINE;
      break;
    case SS_LEFTNOWORDWRAP:
      // Long lines are cut at the right edge rather than wrapped; line breaks still start lines.
      format |= DT_LEFT | DT_EXPANDTABS;
      break;
    default:
      format |= DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS;
      break;
  }
  switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
      format |= DT_END_ELLIPSIS | DT_SINGLELINE;
      break;
    case SS_PATHELLIPSIS:
      format |= DT_PATH_ELLIPSIS | DT_SINGLELINE;
      break;
    case SS_WORDELLIPSIS:
      format |= DT_WORD_ELLIPSIS | DT_SINGLELINE;
      break;
    default:
      break;
  }
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  if (format & DT_SINGLELINE) format &= ~DT_WORDBREAK;
  return format;
}

void PaintImage(HWND hwnd, HDC dc, const StaticState& s, DWORD style, const RECT& client) {
  const SIZE size = ImageSize(s.image, s.imageType);
  if (size.cx <= 0 || size.cy <= 0) return;
  RECT target{0, 0, size.cx, size.cy};
  if (style & SS_REALSIZECONTROL) {
    target = client;
  } else if (style & SS_CENTERIMAGE) {
    OffsetRect(&target, (client.right - size.cx) / 2, (client.bottom - size.cy) / 2);
  }
  const bool disabled = !IsWindowEnabled(hwnd);
  if (s.imageType == IMAGE_BITMAP) {
    if (disabled) {
      DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(s.image), 0, target.left, target.top, size.cx,
                size.cy, DST_BITMAP | DSS_DISABLED);
      return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, s.image);
    StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source, 0,
               0, size.cx, size.cy, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  } else if (disabled) {
    DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(s.image), 0, target.left, target.top, size.cx,
              size.cy, DST_ICON | DSS_DISABLED);
  } else {
    DrawIconEx(dc, target.left, target.top, static_cast<HICON>(s.image), target.right - target.left,
               target.bottom - target.top, 0, nullptr, DI_NORMAL);
  }
}

void FillWith(HDC dc, const RECT& r, int colorIndex) {
  gdi::FillSolidRect(dc, r, GetSysColor(colorIndex));
}

void FrameWith(HDC dc, const RECT& r, int colorIndex) {
  HBRUSH brush = CreateSolidBrush(GetSysColor(colorIndex));
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

void Paint(HWND hwnd, HDC dc, const StaticState& s) {
  const DWORD style = StyleOf(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  const UINT type = TypeOf(style);
  Selected font(dc, FontOrDefault(s.font));
  switch (type) {
    case SS_BLACKRECT:
      FillWith(dc, client, COLOR_WINDOWFRAME);
      return;
    case SS_GRAYRECT:
      FillWith(dc, client, COLOR_BTNSHADOW);
      return;
    case SS_WHITERECT:
      FillWith(dc, client, COLOR_WINDOW);
      return;
    case SS_BLACKFRAME:
      FrameWith(dc, client, COLOR_WINDOWFRAME);
      return;
    case SS_GRAYFRAME:
      FrameWith(dc, client, COLOR_BTNSHADOW);
      return;
    case SS_WHITEFRAME:
      FrameWith(dc, client, COLOR_WINDOW);
      return;
    case SS_ETCHEDHORZ: {
      RECT r = client;
      DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
      return;
    }
    case SS_ETCHEDVERT: {
      RECT r = client;
      DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT);
      return;
    }
    case SS_ETCHEDFRAME: {
      RECT r = client;
      DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
      return;
    }
    case SS_OWNERDRAW: {
      HWND parent = GetParent(hwnd);
      if (!parent) return;
      DRAWITEMSTRUCT dis{};
      dis.CtlType = ODT_STATIC;
      dis.CtlID = static_cast<UINT>(ControlId(hwnd));
      dis.itemAction = ODA_DRAWENTIRE;
      dis.itemState = IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED;
      dis.hwndItem = hwnd;
      dis.hDC = dc;
      dis.rcItem = client;
      SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
      return;
    }
    case SS_ENHMETAFILE:
    case SS_USERITEM:
      return;
    default:
      break;
  }
  HBRUSH brush = ControlColorBrush(hwnd, dc, WM_CTLCOLORSTATIC);
  FillBackground(hwnd, dc, brush, client);
  if (IsImageType(type)) {
    PaintImage(hwnd, dc, s, style, client);
    return;
  }
  if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  const std::string text = pictavo::user::WindowText(hwnd);
  RECT area = client;
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &area, TextFormat(style));
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto state = States().Find(hwnd);
  if (!state) {
    if (message != WM_NCCREATE) return DefWindowProc(hwnd, message, wParam, lParam);
    state = States().Create(hwnd);
    const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
    if (cs && (cs->style & SS_SUNKEN))
      SetWindowLong(hwnd, GWL_EXSTYLE, GetWindowLong(hwnd, GWL_EXSTYLE) | WS_EX_STATICEDGE);
  }
  StaticState& s = *state;
  const DWORD style = StyleOf(hwnd);
  switch (message) {
    case WM_NCDESTROY:
      States().Remove(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE:
      if (IsImageType(TypeOf(style))) LoadNamedImage(hwnd, s, *reinterpret_cast<const CREATESTRUCT*>(lParam));
      return 0;
    case WM_NCHITTEST:
      return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PaintDc paint(hwnd, wParam);
      Paint(hwnd, paint.Dc(), s);
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProc(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      if (style & SS_NOTIFY) NotifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
      return 0;
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s.font);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_LBUTTONDOWN:
      if (style & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (style & SS_NOTIFY) NotifyParent(hwnd, STN_DBLCLK);
      return 0;
    case STM_SETIMAGE:
      if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON && wParam != IMAGE_CURSOR) return 0;
      return reinterpret_cast<LRESULT>(
          SetImage(hwnd, s, static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam)));
    case STM_GETIMAGE:
      if ((wParam == IMAGE_BITMAP) != (s.imageType == IMAGE_BITMAP)) return 0;
      return reinterpret_cast<LRESULT>(s.image);
    case STM_SETICON:
      return reinterpret_cast<LRESULT>(SetImage(hwnd, s, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam)));
    case STM_GETICON:
      return s.imageType == IMAGE_ICON ? reinterpret_cast<LRESULT>(s.image) : 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace pictavo::user::controls
