// The system image lists: generic shell icons drawn here on a 16-unit grid, anti-aliased by
// sampling each pixel 4 x 4 times, at 16 and 32 pixels.
#include "platform/comctl/SystemImageList.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "platform/comctl/ImageList.h"
#include "platform/comctl/ImageListData.h"
#include "platform/gdi/Gdi.h"

namespace pictavo::comctl {
namespace {

using detail::Picture;

struct Pt {
  double x;
  double y;
};

// Straight-alpha drawing on a square picture; coordinates are in units of 1/16 of its side.
class Canvas {
 public:
  explicit Canvas(int size) : m_size(size), m_picture(size, size) {}

  void Polygon(std::initializer_list<Pt> points, uint32_t rgb) {
    std::vector<Pt> poly(points);
    Cover([&](double x, double y) { return Inside(poly, x, y); }, rgb);
  }
  void Rect(double left, double top, double right, double bottom, uint32_t rgb) {
    Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, rgb);
  }
  // A rectangle outline `w` units thick, inside the rectangle.
  void Frame(double left, double top, double right, double bottom, double w, uint32_t rgb) {
    Rect(left, top, right, top + w, rgb);
    Rect(left, bottom - w, right, bottom, rgb);
    Rect(left, top, left + w, bottom, rgb);
    Rect(right - w, top, right, bottom, rgb);
  }
  void Ellipse(double cx, double cy, double rx, double ry, uint32_t rgb) {
    Cover([&](double x,
              double y) { return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1; },
          rgb);
  }

  Picture Take() { return std::move(m_picture); }

 private:
  static bool Inside(const std::vector<Pt>& poly, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
      if ((poly[i].y > y) != (poly[j].y > y) &&
          x < (poly[j].x - poly[i].x) * (y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
        in = !in;
    }
    return in;
  }

  template <class Test>
  void Cover(Test&& inside, uint32_t rgb) {
    const double unit = m_size / 16.0;
    for (int py = 0; py < m_size; ++py)
      for (int px = 0; px < m_size; ++px) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx)
            if (inside((px + (sx + 0.5) / 4) / unit, (py + (sy + 0.5) / 4) / unit)) ++hits;
        if (hits)
          detail::Over(m_picture.At(px, py),
                       (static_cast<uint32_t>(hits * 255 / 16) << 24) | (rgb & 0xFFFFFF));
      }
  }

  int m_size;
  Picture m_picture;
};

constexpr uint32_t kOutline = 0x6B6B6B;
constexpr uint32_t kPaper = 0xFFFFFF;
constexpr uint32_t kFold = 0xD8D8D8;
constexpr uint32_t kFolderBack = 0xD9A520;
constexpr uint32_t kFolderFront = 0xF2C94C;
constexpr uint32_t kFolderEdge = 0xB07F12;

void Page(Canvas& c) {
  c.Polygon({{2.5, 0.5}, {10, 0.5}, {13.5, 4}, {13.5, 15.5}, {2.5, 15.5}}, kOutline);
  c.Polygon({{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}}, kPaper);
  c.Polygon({{9.5, 1.5}, {12.5, 4.5}, {9.5, 4.5}}, kFold);
}

Picture DrawIcon(SystemIcon icon, int size) {
  Canvas c(size);
  switch (icon) {
    case SystemIcon::kFile:
      Page(c);
      for (double y : {7.0, 9.0, 11.0}) c.Rect(5, y, 11, y + 0.8, 0xB0B0B0);
      break;
    case SystemIcon::kFolder:
      c.Polygon({{0.5, 3}, {6, 3}, {7.5, 4.5}, {15.5, 4.5}, {15.5, 14}, {0.5, 14}}, kFolderEdge);
      c.Polygon({{1.5, 4}, {5.5, 4}, {7, 5.5}, {14.5, 5.5}, {14.5, 13}, {1.5, 13}}, kFolderBack);
      c.Rect(0.5, 6.5, 15.5, 14, kFolderEdge);
      c.Rect(1.5, 7.5, 14.5, 13, kFolderFront);
      break;
    case SystemIcon::kOpenFolder:
      c.Polygon({{0.5, 3}, {6, 3}, {7.5, 4.5}, {14, 4.5}, {14, 14}, {0.5, 14}}, kFolderEdge);
      c.Polygon({{1.5, 4}, {5.5, 4}, {7, 5.5}, {13, 5.5}, {13, 13}, {1.5, 13}}, kFolderBack);
      c.Rect(3, 5, 12, 9, kPaper);
      c.Polygon({{3, 7.5}, {15.8, 7.5}, {13.5, 14}, {0.5, 14}}, kFolderEdge);
      c.Polygon({{3.7, 8.5}, {14.4, 8.5}, {12.8, 13}, {1.9, 13}}, kFolderFront);
      break;
    case SystemIcon::kImageFile:
      Page(c);
      c.Rect(4.5, 6, 11.5, 13, 0x7FB2E5);
      c.Ellipse(9.6, 7.9, 1.1, 1.1, 0xF7D046);
      c.Polygon({{4.5, 13}, {4.5, 10.5}, {7, 8.5}, {9.5, 11}, {10.5, 10}, {11.5, 11}, {11.5, 13}}, 0x3E9A4A);
      break;
    case SystemIcon::kAudioFile:
      Page(c);
      c.Rect(8.6, 5.5, 9.6, 11.5, 0x2A2A2A);
      c.Polygon({{9.6, 5.5}, {12, 6.8}, {12, 8.2}, {9.6, 7}}, 0x2A2A2A);
      c.Ellipse(7.4, 11.6, 1.9, 1.4, 0x2A2A2A);
      break;
    case SystemIcon::kVideoFile:
      Page(c);
      c.Rect(4.5, 6, 11.5, 13, 0x303030);
      for (double y : {6.6, 8.6, 10.6, 12.0}) {
        c.Rect(5, y, 6, y + 0.8, 0xE0E0E0);
        c.Rect(10, y, 11, y + 0.8, 0xE0E0E0);
      }
      c.Polygon({{7, 7.8}, {9.4, 9.5}, {7, 11.2}}, 0xE0E0E0);
      break;
    case SystemIcon::kDrive:
      c.Polygon({{1.5, 6}, {14.5, 6}, {15.5, 12.5}, {0.5, 12.5}}, kOutline);
      c.Polygon({{2.3, 7}, {13.7, 7}, {14.4, 11.5}, {1.6, 11.5}}, 0xC8C8C8);
      c.Rect(1.5, 9.8, 14.5, 10.4, 0x9A9A9A);
      c.Rect(11.5, 10.6, 13, 11.2, 0x35C24A);
      break;
  }
  return c.Take();
}

constexpr SystemIcon kIcons[] = {SystemIcon::kFile,      SystemIcon::kFolder,    SystemIcon::kOpenFolder,
                                 SystemIcon::kImageFile, SystemIcon::kAudioFile, SystemIcon::kVideoFile,
                                 SystemIcon::kDrive};

HIMAGELIST MakeList(int size) {
  HIMAGELIST himl =
      ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, static_cast<int>(std::size(kIcons)), 8);
  for (SystemIcon icon : kIcons) {
    HBITMAP bitmap = detail::MakeBitmap(detail::Premultiplied(DrawIcon(icon, size)));
    ImageList_Add(himl, bitmap, nullptr);
    DeleteObject(bitmap);
  }
  return himl;
}

std::once_flag g_once;
std::atomic<HIMAGELIST> g_small{nullptr};  // set once, under g_once
std::atomic<HIMAGELIST> g_large{nullptr};

void MakeLists() {
  std::call_once(g_once, [] {
    g_small = MakeList(16);
    g_large = MakeList(32);
  });
}

}  // namespace

HIMAGELIST SystemImageList(bool small) {
  MakeLists();
  return small ? g_small : g_large;
}

int SystemIconIndex(SystemIcon icon) {
  return static_cast<int>(std::find(std::begin(kIcons), std::end(kIcons), icon) - std::begin(kIcons));
}

bool IsSystemImageList(HIMAGELIST himl) {
  return himl && (himl == g_small.load() || himl == g_large.load());
}

}  // namespace pictavo::comctl
