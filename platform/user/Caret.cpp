// The caret: drawn by inverting the pixels under it in its window's client area, so drawing it
// twice takes it away again. It blinks by a window timer whose procedure the window never sees.
#include "platform/user/Caret.h"

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"

namespace {

constexpr UINT_PTR kBlinkTimer = 0xFFF1;
UINT g_blinkTime = 530;  // shared by all threads, as the setting is; written rarely

struct Caret {
  HWND owner = nullptr;
  HBITMAP bitmap = nullptr;  // (HBITMAP)1: grey
  int width = 0;
  int height = 0;
  POINT pos{};
  int hidden = 1;      // HideCaret nesting; created hidden
  bool drawn = false;  // the pixels are inverted now
};
thread_local Caret t_caret;  // one caret per thread

void Invert(const Caret& c) {
  HDC dc = GetDC(c.owner);
  if (!dc) return;
  if (c.bitmap && c.bitmap != reinterpret_cast<HBITMAP>(1)) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, c.bitmap);
    BitBlt(dc, c.pos.x, c.pos.y, c.width, c.height, source, 0, 0, SRCINVERT);
    SelectObject(source, old);
    DeleteDC(source);
  } else if (c.bitmap) {
    HGDIOBJ old = SelectObject(dc, pictavo::gdi::HalftoneBrush());
    PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, PATINVERT);
    SelectObject(dc, old);
  } else {
    PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
  }
  ReleaseDC(c.owner, dc);
}

void SetDrawn(Caret& c, bool drawn) {
  if (c.drawn == drawn || !c.owner) return;
  Invert(c);
  c.drawn = drawn;
}

void CALLBACK Blink(HWND hwnd, UINT, UINT_PTR, DWORD) {
  Caret& c = t_caret;
  if (c.owner != hwnd || c.hidden > 0) return;
  SetDrawn(c, !c.drawn);
}

// Starts a blink period with the caret drawn.
void RestartBlink(Caret& c) {
  if (c.hidden > 0 || !c.owner) return;
  SetDrawn(c, true);
  SetTimer(c.owner, kBlinkTimer, g_blinkTime, Blink);
}

bool Owns(HWND hwnd) {
  return t_caret.owner && (!hwnd || hwnd == t_caret.owner);
}

}  // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  DestroyCaret();
  Caret& c = t_caret;
  c.owner = hwnd;
  c.bitmap = bitmap;
  if (bitmap && bitmap != reinterpret_cast<HBITMAP>(1)) {
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    width = info.bmWidth;
    height = info.bmHeight;
  }
  c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  c.pos = POINT{0, 0};
  c.hidden = 1;
  c.drawn = false;
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = t_caret;
  if (!c.owner) return FALSE;
  if (IsWindow(c.owner)) {
    SetDrawn(c, false);
    KillTimer(c.owner, kBlinkTimer);
  }
  c = Caret{};
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  if (!Owns(hwnd)) return FALSE;
  Caret& c = t_caret;
  SetDrawn(c, false);
  ++c.hidden;
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  if (!Owns(hwnd)) return FALSE;
  Caret& c = t_caret;
  if (c.hidden > 0 && --c.hidden == 0) RestartBlink(c);
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& c = t_caret;
  if (!c.owner) return FALSE;
  if (c.pos.x == x && c.pos.y == y) return TRUE;
  SetDrawn(c, false);
  c.pos = POINT{x, y};
  RestartBlink(c);
  return TRUE;
}

BOOL GetCaretPos(POINT* point) {
  if (!point || !t_caret.owner) return FALSE;
  *point = t_caret.pos;
  return TRUE;
}

UINT GetCaretBlinkTime() {
  return g_blinkTime;
}

BOOL SetCaretBlinkTime(UINT milliseconds) {
  g_blinkTime = milliseconds ? milliseconds : 530;
  return TRUE;
}
