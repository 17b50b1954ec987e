// Message boxes as dialogs of ours: laid out in pixels around the measured text, with the icon
// drawn in the dialog's own paint.
#include "platform/user/MessageBox.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Thread.h"
#include "platform/res/Templates.h"
#include "platform/user/Controls.h"
#include "platform/user/Cursor.h"
#include "platform/user/Dialog.h"
#include "platform/user/DialogInternal.h"
#include "platform/user/Input.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user {
namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

enum class Icon { kNone, kError, kQuestion, kWarning, kInformation };

struct Button {
  int id;
  const char* text;
};

struct Box {
  UINT type = 0;
  Icon icon = Icon::kNone;
  std::vector<Button> buttons;
  int defaultIndex = 0;
  HWND owner = nullptr;
};

std::vector<Button> ButtonsOf(UINT type) {
  std::vector<Button> buttons;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      buttons = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
      break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
      break;
    case MB_YESNOCANCEL:
      buttons = {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
      break;
    case MB_YESNO:
      buttons = {{IDYES, "&Yes"}, {IDNO, "&No"}};
      break;
    case MB_RETRYCANCEL:
      buttons = {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
      break;
    case MB_CANCELTRYCONTINUE:
      buttons = {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "&Try Again"}, {IDCONTINUE, "&Continue"}};
      break;
    default:
      buttons = {{IDOK, "OK"}};
      break;
  }
  if (type & MB_HELP) buttons.push_back({IDHELP, "Help"});
  return buttons;
}

Icon IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return Icon::kError;
    case MB_ICONQUESTION:
      return Icon::kQuestion;
    case MB_ICONEXCLAMATION:
      return Icon::kWarning;
    case MB_ICONASTERISK:
      return Icon::kInformation;
    default:
      return Icon::kNone;
  }
}

bool HasButton(const Box& box, int id) {
  return std::any_of(box.buttons.begin(), box.buttons.end(), [id](const Button& b) { return b.id == id; });
}

// A bold glyph centred in the icon.
void DrawGlyph(HDC dc, const RECT& r, const char* glyph, COLORREF color) {
  HFONT font = CreateFont(-24, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  RECT box = r;
  DrawText(dc, glyph, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

void DrawIconShape(HDC dc, Icon icon, int x, int y) {
  const RECT r{x, y, x + kIconSize, y + kIconSize};
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  HBRUSH fill = nullptr;
  switch (icon) {
    case Icon::kError:
      fill = CreateSolidBrush(RGB(204, 32, 32));
      break;
    case Icon::kWarning:
      fill = CreateSolidBrush(RGB(240, 190, 20));
      break;
    case Icon::kQuestion:
    case Icon::kInformation:
      fill = CreateSolidBrush(RGB(32, 96, 200));
      break;
    case Icon::kNone:
      SelectObject(dc, oldPen);
      return;
  }
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  if (icon == Icon::kWarning) {
    const POINT triangle[] = {
        {x + kIconSize / 2, y + 1}, {x + kIconSize - 1, y + kIconSize - 2}, {x + 1, y + kIconSize - 2}};
    Polygon(dc, triangle, 3);
  } else {
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(fill);
  switch (icon) {
    case Icon::kError: {
      HPEN pen = CreatePen(PS_SOLID, 4, RGB(255, 255, 255));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, x + 10, y + 10, nullptr);
      LineTo(dc, x + kIconSize - 10, y + kIconSize - 10);
      MoveToEx(dc, x + kIconSize - 10, y + 10, nullptr);
      LineTo(dc, x + 10, y + kIconSize - 10);
      SelectObject(dc, old);
      DeleteObject(pen);
      break;
    }
    case Icon::kWarning:
      DrawGlyph(dc, RECT{r.left, r.top + 6, r.right, r.bottom}, "!", RGB(0, 0, 0));
      break;
    case Icon::kQuestion:
      DrawGlyph(dc, r, "?", RGB(255, 255, 255));
      break;
    case Icon::kInformation:
      DrawGlyph(dc, r, "i", RGB(255, 255, 255));
      break;
    case Icon::kNone:
      break;
  }
}

SIZE MeasureText(HWND dialog, const std::string& text, int maxWidth) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(dialog, WM_GETFONT, 0, 0)));
  RECT r{0, 0, maxWidth, 0};
  DrawText(dc, text.empty() ? " " : text.c_str(), -1, &r,
           DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return SIZE{std::min<LONG>(r.right - r.left, maxWidth), r.bottom - r.top};
}

void Layout(HWND dialog, const Box& box) {
  const SIZE desktop = gdi::DesktopSize();
  HWND label = GetDlgItem(dialog, kMessageBoxTextId);
  std::string text(static_cast<size_t>(std::max(GetWindowTextLength(label), 0)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowText(label, text.data(), static_cast<int>(text.size()))));
  const SIZE textSize = MeasureText(dialog, text, std::max<LONG>(200, desktop.cx / 2));

  const int textLeft = kMargin + (box.icon != Icon::kNone ? kIconSize + kMargin : 0);
  const int bodyHeight = std::max<int>(textSize.cy, box.icon != Icon::kNone ? kIconSize : 0);
  const int buttonsWidth = static_cast<int>(box.buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  const int width = std::max<int>(textLeft + textSize.cx + kMargin, buttonsWidth + 2 * kMargin);
  const int buttonsTop = kMargin + bodyHeight + kMargin + 4;
  const int height = buttonsTop + kButtonHeight + kMargin;

  const int textTop = kMargin + (bodyHeight - textSize.cy) / 2;
  MoveWindow(label, textLeft, textTop, textSize.cx, textSize.cy, FALSE);
  int x = (width - buttonsWidth) / 2;
  for (const Button& b : box.buttons) {
    MoveWindow(GetDlgItem(dialog, b.id), x, buttonsTop, kButtonWidth, kButtonHeight, FALSE);
    x += kButtonWidth + kButtonGap;
  }

  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLong(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLong(dialog, GWL_EXSTYLE)));
  const int frameWidth = frame.right - frame.left;
  const int frameHeight = frame.bottom - frame.top;
  RECT around{0, 0, desktop.cx, desktop.cy};
  if (box.owner && IsWindowVisible(box.owner) && !IsIconic(box.owner)) GetWindowRect(box.owner, &around);
  int left = around.left + (around.right - around.left - frameWidth) / 2;
  int top = around.top + (around.bottom - around.top - frameHeight) / 2;
  left = std::clamp<int>(left, 0, std::max<int>(0, desktop.cx - frameWidth));
  top = std::clamp<int>(top, 0, std::max<int>(0, desktop.cy - frameHeight));
  SetWindowPos(dialog, nullptr, left, top, frameWidth, frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK BoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<Box*>(GetWindowLongPtr(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      box = reinterpret_cast<Box*>(lParam);
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      Layout(dialog, *box);
      const int defId = box->buttons[static_cast<size_t>(box->defaultIndex)].id;
      SendMessage(dialog, DM_SETDEFID, static_cast<WPARAM>(defId), 0);
      dialog::StateOf(dialog)->focusSave = GetDlgItem(dialog, defId);
      return FALSE;  // the default button takes the focus when the box is activated
    }
    case WM_PAINT: {
      if (!box || box->icon == Icon::kNone) return FALSE;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      DrawIconShape(dc, box->icon, kMargin, kMargin);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_COMMAND: {
      if (!box) return FALSE;
      int id = LOWORD(wParam);
      if (id == IDHELP && HasButton(*box, IDHELP)) {
        if (box->owner) {
          HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, IDHELP, reinterpret_cast<HANDLE>(dialog), 0, {}};
          GetCursorPos(&info.MousePos);
          SendMessage(box->owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        }
        return TRUE;
      }
      if (id == IDCANCEL && !HasButton(*box, IDCANCEL)) {
        // Escape and the close box answer OK when OK is the only answer, and nothing otherwise.
        if (box->buttons.size() - (HasButton(*box, IDHELP) ? 1 : 0) != 1 || !HasButton(*box, IDOK))
          return TRUE;
        id = IDOK;
      }
      if (HasButton(*box, id)) EndDialog(dialog, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

res::DialogTemplate MakeTemplate(const char* text, const char* caption, const Box& box) {
  res::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  if (box.type & MB_TOPMOST) t.exStyle |= WS_EX_TOPMOST;
  t.caption = caption ? caption : "Error";
  t.fontFace = "MS Sans Serif";
  t.pointSize = 8;
  t.cx = 100;
  t.cy = 40;
  res::DialogControl label;
  label.id = static_cast<DWORD>(kMessageBoxTextId);
  label.className = WC_STATIC;
  label.text = text ? text : "";
  label.style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
  t.controls.push_back(label);
  for (size_t i = 0; i < box.buttons.size(); ++i) {
    res::DialogControl button;
    button.id = static_cast<DWORD>(box.buttons[i].id);
    button.className = WC_BUTTON;
    button.text = box.buttons[i].text;
    button.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                   (static_cast<int>(i) == box.defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                   (i == 0 ? WS_GROUP : 0);
    t.controls.push_back(button);
  }
  return t;
}

struct DisabledWindows {
  std::vector<HWND> windows;
  static BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam) {
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
      reinterpret_cast<DisabledWindows*>(lParam)->windows.push_back(hwnd);
    return TRUE;
  }
};

}  // namespace
}  // namespace pictavo::user

using namespace pictavo::user;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Box box;
  box.type = type;
  box.icon = IconOf(type);
  box.buttons = ButtonsOf(type);
  const int index = static_cast<int>((type & MB_DEFMASK) >> 8);
  box.defaultIndex = index < static_cast<int>(box.buttons.size()) ? index : 0;
  box.owner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  const pictavo::res::DialogTemplate t = MakeTemplate(text, caption, box);

  DisabledWindows disabled;
  if (!box.owner && (type & MB_TASKMODAL)) {
    EnumThreadWindows(GetCurrentThreadId(), DisabledWindows::Collect, reinterpret_cast<LPARAM>(&disabled));
    for (HWND hwnd : disabled.windows) EnableWindow(hwnd, FALSE);
  }
  if (box.icon != Icon::kNone) MessageBeep(type & MB_ICONMASK);
  const INT_PTR result =
      DialogBoxIndirectParam(nullptr, &t, box.owner, BoxProc, reinterpret_cast<LPARAM>(&box));
  for (HWND hwnd : disabled.windows)
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  return result < 0 ? 0 : static_cast<int>(result);
}

int MessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD) {
  return MessageBox(owner, text, caption, type);
}
