// Cursors: the standard shapes (drawn here, once, as 32-bit icons with alpha), the current
// cursor and its visibility, and the pointer position.
#include "platform/user/Cursor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Display.h"
#include "platform/user/Input.h"
#include "platform/user/Metrics.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

constexpr int kSize = 32;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

struct PointF {
  double x, y;
};

// A 32 x 32 picture with alpha, drawn with a few primitives.
class Canvas {
 public:
  void Fill(const std::vector<PointF>& polygon, uint32_t color) {
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (Inside(polygon, x + 0.5, y + 0.5)) Set(x, y, color);
      }
    }
  }
  void Outline(const std::vector<PointF>& polygon, uint32_t color) {
    for (size_t i = 0; i < polygon.size(); ++i) {
      const PointF& a = polygon[i];
      const PointF& b = polygon[(i + 1) % polygon.size()];
      Line(a.x, a.y, b.x, b.y, color);
    }
  }
  void Shape(const std::vector<PointF>& polygon) {
    Fill(polygon, kWhite);
    Outline(polygon, kBlack);
  }
  void Line(double x0, double y0, double x1, double y1, uint32_t color) {
    const int steps = static_cast<int>(std::max(std::abs(x1 - x0), std::abs(y1 - y0))) + 1;
    for (int i = 0; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      Set(static_cast<int>(std::lround(x0 + (x1 - x0) * t)),
          static_cast<int>(std::lround(y0 + (y1 - y0) * t)), color);
    }
  }
  void Ring(double cx, double cy, double outer, double inner, uint32_t color) {
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (d <= outer && d >= inner) Set(x, y, color);
      }
    }
  }
  void Set(int x, int y, uint32_t color) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) m_pixels[static_cast<size_t>(y * kSize + x)] = color;
  }
  const uint32_t* Pixels() const { return m_pixels.data(); }

 private:
  static bool Inside(const std::vector<PointF>& p, double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
        inside = !inside;
    }
    return inside;
  }
  std::array<uint32_t, kSize * kSize> m_pixels{};
};

std::vector<PointF> Moved(std::vector<PointF> points, double dx, double dy, double scale = 1.0) {
  for (PointF& p : points) p = PointF{p.x * scale + dx, p.y * scale + dy};
  return points;
}

std::vector<PointF> Rotated(std::vector<PointF> points, double degrees, PointF center) {
  const double a = degrees * 3.14159265358979 / 180.0;
  for (PointF& p : points) {
    const double x = p.x;
    const double y = p.y;
    p = PointF{center.x + x * std::cos(a) - y * std::sin(a), center.y + x * std::sin(a) + y * std::cos(a)};
  }
  return points;
}

const std::vector<PointF> kArrow{{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9.5, 18}, {6.5, 11}, {11.5, 11}};
const std::vector<PointF> kHourglass{{2, 0},   {13, 0}, {13, 2}, {9, 8}, {13, 14},
                                     {13, 16}, {2, 16}, {2, 14}, {6, 8}, {2, 2}};
// A double-headed arrow along the x axis, centred on the origin.
const std::vector<PointF> kDoubleArrow{{-10, 0}, {-5, -5}, {-5, -2}, {5, -2}, {5, -5},
                                       {10, 0},  {5, 5},   {5, 2},   {-5, 2}, {-5, 5}};

struct Artwork {
  Canvas canvas;
  POINT hotspot{};
};

Artwork Draw(UINT id) {
  Artwork art;
  Canvas& c = art.canvas;
  const PointF center{12, 12};
  switch (id) {
    case 32513:  // I-beam
      c.Line(4, 1, 4, 15, kBlack);
      c.Line(1, 0, 3, 0, kBlack);
      c.Line(5, 0, 7, 0, kBlack);
      c.Line(1, 16, 3, 16, kBlack);
      c.Line(5, 16, 7, 16, kBlack);
      art.hotspot = POINT{4, 8};
      break;
    case 32514:  // wait
      c.Shape(kHourglass);
      art.hotspot = POINT{8, 8};
      break;
    case 32515:  // cross
      c.Line(0, 8, 16, 8, kBlack);
      c.Line(8, 0, 8, 16, kBlack);
      art.hotspot = POINT{8, 8};
      break;
    case 32516:  // up arrow
      c.Shape({{8, 0}, {15, 7}, {11, 7}, {11, 16}, {5, 16}, {5, 7}, {1, 7}});
      art.hotspot = POINT{8, 0};
      break;
    case 32642:  // north-west / south-east
      c.Shape(Rotated(kDoubleArrow, 45, center));
      art.hotspot = POINT{12, 12};
      break;
    case 32643:  // north-east / south-west
      c.Shape(Rotated(kDoubleArrow, 135, center));
      art.hotspot = POINT{12, 12};
      break;
    case 32644:  // west-east
      c.Shape(Rotated(kDoubleArrow, 0, center));
      art.hotspot = POINT{12, 12};
      break;
    case 32645:  // north-south
      c.Shape(Rotated(kDoubleArrow, 90, center));
      art.hotspot = POINT{12, 12};
      break;
    case 32640:  // size
    case 32646:  // size all
      c.Shape(Rotated(kDoubleArrow, 0, center));
      c.Shape(Rotated(kDoubleArrow, 90, center));
      art.hotspot = POINT{12, 12};
      break;
    case 32641:  // icon
      c.Shape({{0, 0}, {16, 0}, {16, 16}, {0, 16}});
      art.hotspot = POINT{8, 8};
      break;
    case 32648:  // no
      c.Ring(10, 10, 9.5, 5.5, kWhite);
      c.Ring(10, 10, 8.5, 6.5, kBlack);
      c.Line(4, 4, 16, 16, kBlack);
      art.hotspot = POINT{10, 10};
      break;
    case 32649:  // hand
      c.Shape({{5, 0}, {8, 0}, {8, 7}, {13, 8}, {14, 10}, {13, 18}, {4, 18}, {1, 11}, {2, 9}, {5, 11}});
      art.hotspot = POINT{6, 0};
      break;
    case 32650:  // arrow with an hourglass
      c.Shape(kArrow);
      c.Shape(Moved(kHourglass, 12, 12, 0.6));
      art.hotspot = POINT{0, 0};
      break;
    case 32651:  // arrow with a question mark
      c.Shape(kArrow);
      c.Line(13, 2, 17, 2, kBlack);
      c.Line(18, 3, 18, 6, kBlack);
      c.Line(17, 7, 15, 8, kBlack);
      c.Line(15, 9, 15, 10, kBlack);
      c.Set(15, 12, kBlack);
      art.hotspot = POINT{0, 0};
      break;
    default:  // arrow
      c.Shape(kArrow);
      art.hotspot = POINT{0, 0};
      break;
  }
  return art;
}

constexpr UINT kStandardIds[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                                 32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};

struct Cursors {
  std::mutex lock;
  std::map<UINT, HCURSOR> standard;     // guarded by lock
  std::map<HCURSOR, UINT> standardIds;  // guarded by lock
  HCURSOR current = nullptr;            // guarded by lock
  int showCount = 0;                    // guarded by lock
};
Cursors& TheCursors() {
  static Cursors* cursors = new Cursors;
  return *cursors;
}

HCURSOR MakeCursor(UINT id) {
  const Artwork art = Draw(id);
  HBITMAP color = CreateBitmap(kSize, kSize, 1, 32, art.canvas.Pixels());
  const std::vector<BYTE> maskBits(kSize * kSize / 8, 0);
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, maskBits.data());
  ICONINFO info{FALSE, static_cast<DWORD>(art.hotspot.x), static_cast<DWORD>(art.hotspot.y), mask, color};
  HCURSOR cursor = CreateIconIndirect(&info);
  DeleteObject(color);
  DeleteObject(mask);
  return cursor;
}

HCURSOR StandardCursor(UINT id) {
  if (std::find(std::begin(kStandardIds), std::end(kStandardIds), id) == std::end(kStandardIds))
    return nullptr;
  auto& cursors = TheCursors();
  std::lock_guard lock(cursors.lock);
  auto it = cursors.standard.find(id);
  if (it != cursors.standard.end()) return it->second;
  HCURSOR cursor = MakeCursor(id);
  if (!cursor) return nullptr;
  cursors.standard[id] = cursor;
  cursors.standardIds[cursor] = id;
  return cursor;
}

}  // namespace

void CursorForHit(HWND hwnd, int hit, UINT mouseMessage) {
  switch (hit) {
    case HTCLIENT: {
      const auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtr(hwnd, GCLP_HCURSOR));
      if (cursor) SetCursor(cursor);
      return;
    }
    case HTLEFT:
    case HTRIGHT:
      SetCursor(StandardCursor(32644));
      return;
    case HTTOP:
    case HTBOTTOM:
      SetCursor(StandardCursor(32645));
      return;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      SetCursor(StandardCursor(32642));
      return;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      SetCursor(StandardCursor(32643));
      return;
    case HTERROR:
      if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN ||
          mouseMessage == WM_MBUTTONDOWN || mouseMessage == WM_NCLBUTTONDOWN ||
          mouseMessage == WM_NCRBUTTONDOWN) {
        // A click on a window disabled by a modal one brings the modal one forward.
        MessageBeep(0);
        HWND root = GetAncestor(hwnd, GA_ROOTOWNER);
        HWND popup = root ? GetLastActivePopup(root) : nullptr;
        if (popup && popup != hwnd) SetForegroundWindow(popup);
      }
      SetCursor(StandardCursor(32512));
      return;
    default:
      SetCursor(StandardCursor(32512));
      return;
  }
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    HCURSOR cursor =
        IS_INTRESOURCE(name) ? StandardCursor(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name))) : nullptr;
    if (!cursor) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return cursor;
  }
  return static_cast<HCURSOR>(LoadImage(instance, name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

BOOL DestroyCursor(HCURSOR cursor) {
  if (pictavo::user::StandardCursorId(cursor)) return TRUE;  // shared, never destroyed
  return DestroyIcon(cursor);
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = nullptr;
  bool visible = false;
  {
    auto& cursors = TheCursors();
    std::lock_guard lock(cursors.lock);
    previous = cursors.current;
    cursors.current = cursor;
    visible = cursors.showCount >= 0;
  }
  if (previous != cursor)
    if (auto display = CurrentDisplay()) display->CursorChanged(cursor, visible);
  return previous;
}

HCURSOR GetCursor() {
  auto& cursors = TheCursors();
  std::lock_guard lock(cursors.lock);
  return cursors.current;
}

int ShowCursor(BOOL show) {
  int count = 0;
  bool changed = false;
  HCURSOR current = nullptr;
  {
    auto& cursors = TheCursors();
    std::lock_guard lock(cursors.lock);
    const bool before = cursors.showCount >= 0;
    cursors.showCount += show ? 1 : -1;
    count = cursors.showCount;
    changed = before != (count >= 0);
    current = cursors.current;
  }
  if (changed)
    if (auto display = CurrentDisplay()) display->CursorChanged(current, count >= 0);
  return count;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *point = CursorPosition();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  const POINT point{x, y};
  pictavo::user::InjectMouseMove(point);
  if (auto display = CurrentDisplay()) display->CursorMoved(point);
  return TRUE;
}

namespace pictavo::user {
UINT StandardCursorId(HCURSOR cursor) {
  if (!cursor) return 0;
  auto& cursors = TheCursors();
  std::lock_guard lock(cursors.lock);
  auto it = cursors.standardIds.find(cursor);
  return it == cursors.standardIds.end() ? 0 : it->second;
}
}  // namespace pictavo::user
