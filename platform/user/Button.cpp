// The button control: push buttons, check boxes, radio buttons, group boxes and owner-drawn
// buttons, with the mouse and keyboard behaviour dialogs rely on.
#include <algorithm>
#include <string>

#include "platform/user/ControlsInternal.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::controls {
namespace {

constexpr int kBoxSize = 13;  // check box and radio glyphs
constexpr int kBoxGap = 4;    // between the glyph and the text

struct ButtonState : ControlState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;  // drawn pressed (BST_PUSHED)
  bool focused = false;
  bool tracking = false;   // a mouse press is being followed
  bool spaceDown = false;  // Space pressed while focused
  HANDLE image = nullptr;  // BS_BITMAP / BS_ICON
  UINT imageType = IMAGE_BITMAP;
};
StateTable<ButtonState>& States() {
  static auto* table = new StateTable<ButtonState>;
  return *table;
}

UINT TypeOf(DWORD style) {
  return style & BS_TYPEMASK;
}
bool IsCheckType(UINT type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(UINT type) {
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

COLORREF Blend(COLORREF a, COLORREF b, int percentOfB) {
  auto mix = [&](int ca, int cb) {
    return static_cast<BYTE>((ca * (100 - percentOfB) + cb * percentOfB) / 100);
  };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

// DrawText alignment from the BS_ alignment bits; `defaultHorz` applies when none is given.
UINT TextFormat(DWORD style, UINT defaultHorz) {
  UINT format = 0;
  switch (style & BS_CENTER) {
    case BS_LEFT:
      format |= DT_LEFT;
      break;
    case BS_RIGHT:
      format |= DT_RIGHT;
      break;
    case BS_CENTER:
      format |= DT_CENTER;
      break;
    default:
      format |= defaultHorz;
      break;
  }
  if (style & BS_MULTILINE) return format | DT_WORDBREAK;
  switch (style & BS_VCENTER) {
    case BS_TOP:
      return format | DT_SINGLELINE | DT_TOP;
    case BS_BOTTOM:
      return format | DT_SINGLELINE | DT_BOTTOM;
    default:
      return format | DT_SINGLELINE | DT_VCENTER;
  }
}

// Draws the label (text, or the image of BS_BITMAP / BS_ICON) into `area`; returns where the
// text went (for the focus rectangle).
RECT DrawLabel(HWND hwnd, HDC dc, const ButtonState& s, DWORD style, RECT area, UINT defaultHorz,
               bool disabled) {
  if ((style & (BS_BITMAP | BS_ICON)) && s.image) {
    int w = 0, h = 0;
    if (s.imageType == IMAGE_ICON) {
      const SIZE size = gdi::IconSize(static_cast<HICON>(s.image));
      w = size.cx;
      h = size.cy;
    } else {
      BITMAP bm{};
      GetObject(s.image, sizeof bm, &bm);
      w = bm.bmWidth;
      h = bm.bmHeight;
    }
    const UINT format = TextFormat(style, defaultHorz);
    int x = (format & DT_RIGHT)    ? area.right - w
            : (format & DT_CENTER) ? (area.left + area.right - w) / 2
                                   : area.left;
    int y = (format & DT_BOTTOM)                              ? area.bottom - h
            : (format & DT_VCENTER) || (style & BS_MULTILINE) ? (area.top + area.bottom - h) / 2
                                                              : area.top;
    const UINT kind = s.imageType == IMAGE_ICON ? DST_ICON : DST_BITMAP;
    DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(s.image), 0, x, y, w, h,
              kind | (disabled ? DSS_DISABLED : DSS_NORMAL));
    return RECT{x, y, x + w, y + h};
  }
  const std::string text = pictavo::user::WindowText(hwnd);
  UINT format = TextFormat(style, defaultHorz);
  RECT measured = area;
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &measured,
           (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  // Place the measured block the way DrawText will draw it, for the focus rectangle.
  const int w = measured.right - measured.left, h = measured.bottom - measured.top;
  RECT placed = area;
  if (format & DT_CENTER)
    placed.left = (area.left + area.right - w) / 2;
  else if (format & DT_RIGHT)
    placed.left = area.right - w;
  placed.right = placed.left + w;
  if ((format & DT_VCENTER) || (style & BS_MULTILINE && !(style & BS_TOP)))
    placed.top = (area.top + area.bottom - h) / 2;
  else if (format & DT_BOTTOM)
    placed.top = area.bottom - h;
  placed.bottom = placed.top + h;
  if (style & BS_MULTILINE) {
    RECT r = placed;
    r.left = area.left;
    r.right = area.right;
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, format & ~(DT_VCENTER | DT_BOTTOM));
  } else {
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
  }
  return text.empty() ? RECT{} : placed;
}

void SendDrawItem(HWND hwnd, HDC dc, const ButtonState& s, UINT action) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(ControlId(hwnd));
  dis.itemID = 0;
  dis.itemAction = action;
  dis.itemState = (s.pushed ? ODS_SELECTED : 0) | (s.focused ? ODS_FOCUS : 0) |
                  (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED) | (s.check == BST_CHECKED ? ODS_CHECKED : 0);
  dis.hwndItem = hwnd;
  dis.hDC = dc;
  GetClientRect(hwnd, &dis.rcItem);
  SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void PaintPush(HWND hwnd, HDC dc, const ButtonState& s, DWORD style, const RECT& client, bool disabled) {
  FillBackground(hwnd, dc, ControlColorBrush(hwnd, dc, WM_CTLCOLORBTN), client);
  const bool down = s.pushed || ((style & BS_PUSHLIKE) && s.check != BST_UNCHECKED);
  const COLORREF face = GetSysColor(COLOR_3DLIGHT);
  gdi::FillSolidRect(dc, client, down ? Blend(face, GetSysColor(COLOR_BTNSHADOW), 45) : face);
  const bool isDefault = TypeOf(style) == BS_DEFPUSHBUTTON;
  HBRUSH border = CreateSolidBrush(GetSysColor(isDefault && !disabled ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
  RECT ring = client;
  FrameRect(dc, &ring, border);
  if (isDefault) {
    InflateRect(&ring, -1, -1);
    FrameRect(dc, &ring, border);
  }
  DeleteObject(border);
  RECT area = client;
  InflateRect(&area, -4, -3);
  if (down) OffsetRect(&area, 1, 1);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  SetBkMode(dc, TRANSPARENT);
  DrawLabel(hwnd, dc, s, style, area, DT_CENTER, disabled);
  if (s.focused) {
    RECT focus = client;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

void PaintCheck(HWND hwnd, HDC dc, const ButtonState& s, DWORD style, const RECT& client, bool disabled) {
  HBRUSH brush = ControlColorBrush(hwnd, dc, WM_CTLCOLORSTATIC);
  FillBackground(hwnd, dc, brush, client);
  const UINT type = TypeOf(style);
  const bool leftText = (style & BS_LEFTTEXT) != 0;
  RECT box = client;
  const int top = (style & BS_VCENTER) == BS_TOP      ? client.top
                  : (style & BS_VCENTER) == BS_BOTTOM ? client.bottom - kBoxSize
                                                      : (client.top + client.bottom - kBoxSize) / 2;
  box.top = top;
  box.bottom = top + kBoxSize;
  if (leftText) {
    box.right = client.right;
    box.left = box.right - kBoxSize;
  } else {
    box.right = box.left + kBoxSize;
  }
  UINT state = IsRadioType(type)                              ? DFCS_BUTTONRADIO
               : (type == BS_3STATE || type == BS_AUTO3STATE) ? DFCS_BUTTON3STATE
                                                              : DFCS_BUTTONCHECK;
  if (s.check != BST_UNCHECKED) state |= DFCS_CHECKED;
  if (s.check == BST_INDETERMINATE) state |= DFCS_BUTTON3STATE;
  if (s.pushed) state |= DFCS_PUSHED;
  if (disabled) state |= DFCS_INACTIVE;
  DrawFrameControl(dc, &box, DFC_BUTTON, state | DFCS_FLAT);
  RECT area = client;
  if (leftText)
    area.right = box.left - kBoxGap;
  else
    area.left = box.right + kBoxGap;
  if (disabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  RECT label = DrawLabel(hwnd, dc, s, style, area, leftText ? DT_RIGHT : DT_LEFT, disabled);
  if (s.focused && label.right > label.left) {
    InflateRect(&label, 1, 1);
    IntersectRect(&label, &label, &client);
    DrawFocusRect(dc, &label);
  }
}

void PaintGroup(HWND hwnd, HDC dc, const ButtonState& s, DWORD style, const RECT& client, bool disabled) {
  HBRUSH brush = ControlColorBrush(hwnd, dc, WM_CTLCOLORSTATIC);
  const std::string text = pictavo::user::WindowText(hwnd);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  // The frame runs through the middle of the caption; the inside belongs to the parent.
  RECT frame = client;
  frame.top += tm.tmHeight / 2;
  HBRUSH line = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
  FrameRect(dc, &frame, line);
  DeleteObject(line);
  if (text.empty()) return;
  RECT caption{client.left + 8, client.top, client.right - 8, client.top + tm.tmHeight};
  RECT measured = caption;
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
  const int width = std::min<int>(measured.right - measured.left, caption.right - caption.left);
  if ((style & BS_CENTER) == BS_CENTER)
    caption.left = (client.left + client.right - width) / 2;
  else if ((style & BS_CENTER) == BS_RIGHT)
    caption.left = caption.right - width;
  caption.right = caption.left + width;
  RECT back = caption;
  InflateRect(&back, 2, 0);
  if (brush) FillRect(dc, &back, brush);
  if (disabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_SINGLELINE | DT_LEFT | DT_TOP);
}

void Paint(HWND hwnd, HDC dc, const ButtonState& s, UINT ownerAction = ODA_DRAWENTIRE) {
  const DWORD style = StyleOf(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  const bool disabled = !IsWindowEnabled(hwnd);
  Selected font(dc, FontOrDefault(s.font));
  const UINT type = TypeOf(style);
  if (type == BS_OWNERDRAW) {
    if (ownerAction == ODA_DRAWENTIRE)
      FillBackground(hwnd, dc, ControlColorBrush(hwnd, dc, WM_CTLCOLORBTN), client);
    SendDrawItem(hwnd, dc, s, ownerAction);
  } else if (type == BS_GROUPBOX) {
    PaintGroup(hwnd, dc, s, style, client, disabled);
  } else if ((IsCheckType(type) || IsRadioType(type)) && !(style & BS_PUSHLIKE)) {
    PaintCheck(hwnd, dc, s, style, client, disabled);
  } else {
    PaintPush(hwnd, dc, s, style, client, disabled);
  }
}

// Draws a state change now: owner-drawn buttons get the action that changed.
void Repaint(HWND hwnd, const ButtonState& s, UINT ownerAction) {
  if (!IsWindowVisible(hwnd)) return;
  if (TypeOf(StyleOf(hwnd)) != BS_OWNERDRAW) {
    InvalidateRect(hwnd, nullptr, FALSE);
    return;
  }
  HDC dc = GetDC(hwnd);
  if (!dc) return;
  Paint(hwnd, dc, s, ownerAction);
  ReleaseDC(hwnd, dc);
}

void SetPushed(HWND hwnd, ButtonState& s, bool pushed) {
  if (s.pushed == pushed) return;
  s.pushed = pushed;
  Repaint(hwnd, s, ODA_SELECT);
}

// Calls `each` for the siblings of `hwnd`'s group: from the nearest WS_GROUP at or before it
// to the next WS_GROUP after it.
template <class Each>
void ForEachInGroup(HWND hwnd, Each each) {
  HWND first = hwnd;
  while (!(GetWindowLong(first, GWL_STYLE) & WS_GROUP)) {
    HWND prev = GetWindow(first, GW_HWNDPREV);
    if (!prev) break;
    first = prev;
  }
  for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w != first && (GetWindowLong(w, GWL_STYLE) & WS_GROUP)) break;
    each(w);
  }
}

bool IsRadio(HWND w) {
  return (SendMessage(w, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

void SetCheck(HWND hwnd, ButtonState& s, UINT check) {
  const UINT type = TypeOf(StyleOf(hwnd));
  if (!IsCheckType(type) && !IsRadioType(type)) return;
  if (type != BS_3STATE && type != BS_AUTO3STATE) check = check ? BST_CHECKED : BST_UNCHECKED;
  check = std::min<UINT>(check, BST_INDETERMINATE);
  if (IsRadioType(type)) {
    // The checked radio is where Tab enters its group.
    const LONG style = GetWindowLong(hwnd, GWL_STYLE);
    SetWindowLong(hwnd, GWL_STYLE, check ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  if (s.check == check) return;
  s.check = check;
  Repaint(hwnd, s, ODA_SELECT);
}

// A completed click: automatic buttons change their check, then the parent hears of it.
void Clicked(HWND hwnd, const std::shared_ptr<ButtonState>& state) {
  ButtonState& s = *state;
  switch (TypeOf(StyleOf(hwnd))) {
    case BS_AUTOCHECKBOX:
      SetCheck(hwnd, s, s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      break;
    case BS_AUTO3STATE:
      SetCheck(hwnd, s, (s.check + 1) % 3);
      break;
    case BS_AUTORADIOBUTTON:
      SetCheck(hwnd, s, BST_CHECKED);
      ForEachInGroup(hwnd, [hwnd](HWND w) {
        if (w != hwnd && IsRadio(w)) SendMessage(w, BM_SETCHECK, BST_UNCHECKED, 0);
      });
      break;
    default:
      break;
  }
  if (s.alive) NotifyParent(hwnd, BN_CLICKED);
}

// Arrow keys inside a radio group when no dialog manager took them: the focus moves to the
// next usable radio of the group, which is clicked, as the dialog manager does.
void MoveInGroup(HWND hwnd, bool forward) {
  std::vector<HWND> radios;
  ForEachInGroup(hwnd, [&](HWND w) {
    if (w == hwnd || (IsRadio(w) && IsWindowVisible(w) && IsWindowEnabled(w))) radios.push_back(w);
  });
  auto it = std::find(radios.begin(), radios.end(), hwnd);
  if (radios.size() < 2 || it == radios.end()) return;
  size_t i = static_cast<size_t>(it - radios.begin());
  i = forward ? (i + 1) % radios.size() : (i + radios.size() - 1) % radios.size();
  SetFocus(radios[i]);
  if (GetFocus() == radios[i]) SendMessage(radios[i], BM_CLICK, 0, 0);
}

void BeginPress(HWND hwnd, ButtonState& s) {
  s.tracking = true;
  SetFocus(hwnd);
  if (!s.alive || !s.tracking) return;
  SetCapture(hwnd);
  SetPushed(hwnd, s, true);
}

void EndPress(HWND hwnd, const std::shared_ptr<ButtonState>& state, POINT pt) {
  ButtonState& s = *state;
  if (!s.tracking) return;
  s.tracking = false;
  RECT client;
  GetClientRect(hwnd, &client);
  const bool inside = PtInRect(&client, pt);
  SetPushed(hwnd, s, false);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (inside && s.alive) Clicked(hwnd, state);
}

LRESULT DlgCode(DWORD style) {
  switch (TypeOf(style)) {
    case BS_DEFPUSHBUTTON:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_PUSHBOX:
    case BS_USERBUTTON:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
      return DLGC_STATIC;
    default:
      return DLGC_BUTTON;
  }
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto state = States().Find(hwnd);
  if (!state) {
    if (message != WM_NCCREATE) return DefWindowProc(hwnd, message, wParam, lParam);
    state = States().Create(hwnd);
  }
  ButtonState& s = *state;
  const UINT type = TypeOf(StyleOf(hwnd));
  switch (message) {
    case WM_NCDESTROY:
      States().Remove(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_NCHITTEST:
      if (type == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProc(hwnd, message, wParam, lParam);
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
      Repaint(hwnd, s, ODA_DRAWENTIRE);
      return 0;
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s.font);
    case WM_GETDLGCODE:
      return DlgCode(StyleOf(hwnd));
    case WM_SETFOCUS:
      s.focused = true;
      Repaint(hwnd, s, ODA_FOCUS);
      if (StyleOf(hwnd) & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s.focused = false;
      s.spaceDown = false;
      if (s.tracking) {
        s.tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      SetPushed(hwnd, s, false);
      Repaint(hwnd, s, ODA_FOCUS);
      if (s.alive && (StyleOf(hwnd) & BS_NOTIFY)) NotifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (IsRadioType(type) || type == BS_OWNERDRAW || (StyleOf(hwnd) & BS_NOTIFY)) {
        NotifyParent(hwnd, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (type == BS_GROUPBOX) return 0;
      BeginPress(hwnd, s);
      return 0;
    case WM_MOUSEMOVE:
      if (s.tracking) {
        RECT client;
        GetClientRect(hwnd, &client);
        SetPushed(hwnd, s, PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      }
      return 0;
    case WM_LBUTTONUP:
      EndPress(hwnd, state, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED:
      if (s.tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
        s.tracking = false;
        SetPushed(hwnd, s, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && type != BS_GROUPBOX) {
        if (!(lParam & 0x40000000)) {  // not a repeat
          s.spaceDown = true;
          SetPushed(hwnd, s, true);
        }
        return 0;
      }
      if (IsRadioType(type) &&
          (wParam == VK_UP || wParam == VK_LEFT || wParam == VK_DOWN || wParam == VK_RIGHT)) {
        MoveInGroup(hwnd, wParam == VK_DOWN || wParam == VK_RIGHT);
        return 0;
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_KEYUP:
      if (wParam == VK_SPACE && s.spaceDown) {
        s.spaceDown = false;
        SetPushed(hwnd, s, false);
        if (s.alive) Clicked(hwnd, state);
        return 0;
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    case BM_GETCHECK:
      return (IsCheckType(type) || IsRadioType(type)) ? s.check : BST_UNCHECKED;
    case BM_SETCHECK:
      SetCheck(hwnd, s, static_cast<UINT>(wParam));
      return 0;
    case BM_GETSTATE:
      return s.check | (s.pushed ? BST_PUSHED : 0) | (s.focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPushed(hwnd, s, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      const DWORD style = (StyleOf(hwnd) & 0xFFFF0000u) | LOWORD(wParam);
      SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(style));
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      if (!IsWindowEnabled(hwnd) || type == BS_GROUPBOX) return 0;
      // As the mouse would: a press and a release inside.
      BeginPress(hwnd, s);
      if (s.alive) EndPress(hwnd, state, POINT{0, 0});
      return 0;
    case BM_SETIMAGE: {
      if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON) return 0;
      HANDLE old = s.image;
      s.image = reinterpret_cast<HANDLE>(lParam);
      s.imageType = static_cast<UINT>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
      return wParam == s.imageType ? reinterpret_cast<LRESULT>(s.image) : 0;
    case BM_SETDONTCLICK:
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace pictavo::user::controls
