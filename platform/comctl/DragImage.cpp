// The drag image: a top-level pop-up of ours, shaped like the image, that follows the drag. The
// display composes windows opaquely, so the window paints the image blended over what the
// windows beneath it show, recomposed whenever the image moves or is shown again.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/base/Geometry.h"
#include "platform/base/LastError.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ImageListData.h"
#include "platform/comctl/ImageListDraw.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"

namespace pictavo::comctl::detail {
namespace {

constexpr char kDragClass[] = "PictavoDragImage";
// The image's opacity over what lies beneath it.
constexpr uint32_t kOpacity = 170;

// One drag at a time, driven by the thread that began it.
struct DragState {
  HIMAGELIST list = nullptr;  // our copy of the dragged image
  Picture image;              // the image, straight alpha
  POINT hotspot{};
  HWND lock = nullptr;
  bool entered = false;
  bool shown = false;
  POINT position{};  // relative to the lock window's corner
  HWND window = nullptr;
  Picture painted;  // what the window shows: the image over what is beneath
};

std::mutex g_lock;
DragState& Drag() {  // guarded by g_lock
  static auto* state = new DragState;
  return *state;
}

LRESULT CALLBACK DragWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterDragClass() {
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, kDragClass, &wc)) return;
  wc.lpfnWndProc = DragWindowProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kDragClass;
  RegisterClass(&wc);
}

RECT LockRect(HWND lock) {
  RECT r{};
  if (lock && IsWindow(lock) && lock != GetDesktopWindow()) {
    GetWindowRect(lock, &r);
    return r;
  }
  const SIZE desktop = gdi::DesktopSize();
  return RECT{0, 0, desktop.cx, desktop.cy};
}

RECT ImageRectOnScreen(const DragState& drag) {
  const RECT lock = LockRect(drag.lock);
  const int x = lock.left + drag.position.x - drag.hotspot.x;
  const int y = lock.top + drag.position.y - drag.hotspot.y;
  return RECT{x, y, x + drag.image.width, y + drag.image.height};
}

// What our other top-level windows (and the desktop) show under `area`.
Picture Beneath(const RECT& area, HWND self) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  Picture out(width, height, gdi::PixelFromColor(GetSysColor(COLOR_DESKTOP)));
  for (const user::TopLevelWindow& w : user::TopLevelWindows()) {
    if (w.hwnd == self || !w.visible || !w.surface) continue;
    std::vector<RECT> pieces = w.shape;
    if (pieces.empty()) pieces.push_back(RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top});
    for (RECT piece : pieces) {
      OffsetRect(&piece, w.rect.left, w.rect.top);
      RECT part;
      if (!IntersectRect(&part, &piece, &area)) continue;
      for (int y = part.top; y < part.bottom; ++y) {
        const int sy = y - w.rect.top;
        if (sy < 0 || sy >= w.surface->Height()) continue;
        auto row = w.surface->Row(sy);
        for (int x = part.left; x < part.right; ++x) {
          const int sx = x - w.rect.left;
          if (sx < 0 || sx >= w.surface->Width()) continue;
          out.At(x - area.left, y - area.top) = row[static_cast<size_t>(sx)] & 0x00FFFFFF;
        }
      }
    }
  }
  return out;
}

void Recompose(DragState& drag) {
  const RECT area = ImageRectOnScreen(drag);
  drag.painted = Beneath(area, drag.window);
  for (size_t i = 0; i < drag.painted.pixels.size(); ++i) {
    const uint32_t px = drag.image.pixels[i];
    const uint32_t a = (px >> 24) * kOpacity / 255;
    if (a == 0) continue;
    uint32_t& out = drag.painted.pixels[i];
    auto channel = [&](int shift) {
      const uint32_t s = (px >> shift) & 0xFF;
      const uint32_t d = (out >> shift) & 0xFF;
      return ((s * a + d * (255 - a)) / 255) << shift;
    };
    out = channel(16) | channel(8) | channel(0);
  }
}

// The window's shape: the image's visible pixels, cut to the lock window.
void Shape(const DragState& drag) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < drag.image.height; ++y) {
    int x = 0;
    while (x < drag.image.width) {
      while (x < drag.image.width && (drag.image.At(x, y) >> 24) == 0) ++x;
      const int start = x;
      while (x < drag.image.width && (drag.image.At(x, y) >> 24) != 0) ++x;
      if (x > start) {
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        CombineRgn(shape, shape, run, RGN_OR);
        DeleteObject(run);
      }
    }
  }
  const RECT area = ImageRectOnScreen(drag);
  RECT lock = LockRect(drag.lock);
  OffsetRect(&lock, -area.left, -area.top);
  HRGN clip = CreateRectRgnIndirect(&lock);
  CombineRgn(shape, shape, clip, RGN_AND);
  DeleteObject(clip);
  SetWindowRgn(drag.window, shape, FALSE);  // the window owns the region now
}

// Places and paints the window as the state says (the lock is not held: this sends messages).
void Update(DragState snapshot) {
  if (!snapshot.window) return;
  if (!snapshot.entered || !snapshot.shown) {
    ShowWindow(snapshot.window, SW_HIDE);
    return;
  }
  const RECT area = ImageRectOnScreen(snapshot);
  SetWindowPos(snapshot.window, HWND_TOPMOST, area.left, area.top, area.right - area.left,
               area.bottom - area.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Shape(snapshot);
  InvalidateRect(snapshot.window, nullptr, FALSE);
  UpdateWindow(snapshot.window);
}

LRESULT CALLBACK DragWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Picture picture;
      {
        std::lock_guard lock(g_lock);
        DragState& drag = Drag();
        if (drag.window == hwnd) {
          Recompose(drag);
          picture = drag.painted;
        }
      }
      if (!picture.Empty()) {
        HBITMAP bitmap = MakeBitmap(picture);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(dc, 0, 0, picture.width, picture.height, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        DeleteObject(bitmap);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

HWND EnsureWindow() {
  {
    std::lock_guard lock(g_lock);
    if (Drag().window && IsWindow(Drag().window)) return Drag().window;
  }
  RegisterDragClass();
  HWND hwnd =
      CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT | WS_EX_LAYERED,
                     kDragClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  std::lock_guard lock(g_lock);
  Drag().window = hwnd;
  return hwnd;
}

DragState Snapshot() {
  std::lock_guard lock(g_lock);
  DragState copy = Drag();
  copy.painted = Picture();
  return copy;
}

}  // namespace
}  // namespace pictavo::comctl::detail

using namespace pictavo::comctl::detail;

BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int index, int dxHotspot, int dyHotspot) {
  auto source = FindImageList(himlTrack);
  if (!source) return FALSE;
  ImageList_EndDrag();
  Picture image;
  int cx = 0;
  int cy = 0;
  {
    std::lock_guard lock(source->Lock());
    if (index < 0 || index >= source->Count()) {
      SetLastError(ERROR_INVALID_INDEX);
      return FALSE;
    }
    cx = source->Cx();
    cy = source->Cy();
    DrawSpec spec;
    spec.style = ILD_TRANSPARENT;
    spec.cx = cx;
    spec.cy = cy;
    image = ComposeImage(*source, index, spec);
  }
  HIMAGELIST copy = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (!copy) return FALSE;
  HBITMAP bitmap = MakeBitmap(Premultiplied(image));
  ImageList_Add(copy, bitmap, nullptr);
  DeleteObject(bitmap);
  std::lock_guard lock(g_lock);
  DragState& drag = Drag();
  drag.list = copy;
  drag.image = std::move(image);
  drag.hotspot = POINT{dxHotspot, dyHotspot};
  drag.entered = false;
  drag.shown = false;
  return TRUE;
}

void ImageList_EndDrag() {
  HWND window = nullptr;
  HIMAGELIST list = nullptr;
  {
    std::lock_guard lock(g_lock);
    DragState& drag = Drag();
    window = drag.window;
    list = drag.list;
    drag = DragState{};
  }
  if (window && IsWindow(window)) DestroyWindow(window);
  if (list) ImageList_Destroy(list);
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  {
    std::lock_guard guard(g_lock);
    if (!Drag().list) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  }
  if (!EnsureWindow()) return FALSE;
  {
    std::lock_guard guard(g_lock);
    DragState& drag = Drag();
    drag.lock = lock;
    drag.position = POINT{x, y};
    drag.entered = true;
    drag.shown = true;
  }
  Update(Snapshot());
  return TRUE;
}

BOOL ImageList_DragLeave(HWND lock) {
  {
    std::lock_guard guard(g_lock);
    DragState& drag = Drag();
    if (!drag.list) return FALSE;
    drag.entered = false;
  }
  Update(Snapshot());
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  {
    std::lock_guard guard(g_lock);
    DragState& drag = Drag();
    if (!drag.list) return FALSE;
    drag.position = POINT{x, y};
  }
  Update(Snapshot());
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  {
    std::lock_guard guard(g_lock);
    DragState& drag = Drag();
    if (!drag.list) return FALSE;
    drag.shown = show != FALSE;
  }
  Update(Snapshot());
  return TRUE;
}

HIMAGELIST ImageList_GetDragImage(POINT* position, POINT* hotspot) {
  std::lock_guard guard(g_lock);
  const DragState& drag = Drag();
  if (!drag.list) return nullptr;
  if (position) *position = drag.position;
  if (hotspot) *hotspot = drag.hotspot;
  return drag.list;
}
