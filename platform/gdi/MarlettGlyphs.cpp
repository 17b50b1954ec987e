#include "platform/gdi/MarlettGlyphs.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace pictavo::gdi {
namespace {

// A square cell of coverage drawn in whole pixels: the symbols stay crisp at menu sizes, as
// the hinted face draws them.
class Cell {
 public:
  explicit Cell(int size) : m_n(size), m_coverage(static_cast<size_t>(size) * static_cast<size_t>(size), 0) {}

  int Size() const { return m_n; }
  void Set(int x, int y) {
    if (x >= 0 && y >= 0 && x < m_n && y < m_n) m_coverage[static_cast<size_t>(y) * m_n + x] = 255;
  }
  // Pixels [left, right) x [top, bottom).
  void Rect(int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) Set(x, y);
  }
  // A window frame: the top edge is the title bar, twice as thick as the others.
  void Frame(int left, int top, int right, int bottom, int t) {
    Rect(left, top, right, top + 2 * t);
    Rect(left, bottom - t, right, bottom);
    Rect(left, top, left + t, bottom);
    Rect(right - t, top, right, bottom);
  }
  // Pixels whose centres satisfy `inside(cx, cy)`.
  template <class Inside>
  void Where(Inside&& inside) {
    for (int y = 0; y < m_n; ++y)
      for (int x = 0; x < m_n; ++x)
        if (inside(x + 0.5, y + 0.5)) Set(x, y);
  }
  void Disc(double radius) {
    double c = m_n / 2.0;
    Where([&](double x, double y) { return (x - c) * (x - c) + (y - c) * (y - c) <= radius * radius; });
  }
  // A stroke of half-width `hw` from (x0, y0) to (x1, y1), cell pixel coordinates.
  void Stroke(double x0, double y0, double x1, double y1, double hw) {
    Where([&](double x, double y) {
      double dx = x1 - x0, dy = y1 - y0;
      double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      double ex = x0 + t * dx - x, ey = y0 + t * dy - y;
      return ex * ex + ey * ey <= hw * hw;
    });
  }

  std::vector<uint8_t> Take() { return std::move(m_coverage); }

 private:
  int m_n;
  std::vector<uint8_t> m_coverage;
};

enum class Direction { Left, Right, Up, Down };

// A solid triangle k pixels long in the pointing direction and 2k - 1 pixels across its base;
// each line across is two pixels shorter than the one before it, towards the tip.
void Arrow(Cell& cell, Direction direction) {
  int n = cell.Size();
  int k = std::max(2, (n * 3 + 5) / 10);
  int centre = (n - 1) / 2;
  int base = (n - k) / 2;
  for (int across = -(k - 1); across <= k - 1; ++across) {
    int length = k - std::abs(across);
    for (int along = 0; along < length; ++along) {
      int a = base + along;  // from the base towards the tip
      switch (direction) {
        case Direction::Right:
          cell.Set(a, centre + across);
          break;
        case Direction::Left:
          cell.Set(n - 1 - a, centre + across);
          break;
        case Direction::Down:
          cell.Set(centre + across, a);
          break;
        case Direction::Up:
          cell.Set(centre + across, n - 1 - a);
          break;
      }
    }
  }
}

// Diagonal grip lines in the bottom-right corner (or the bottom-left one, mirrored): pairs of
// pixel diagonals counted from the corner.
void Grip(Cell& cell, bool mirrored) {
  int n = cell.Size();
  int step = std::max(3, n / 3);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      int fromCorner = (mirrored ? x : n - 1 - x) + (n - 1 - y);
      if (fromCorner >= 1 && fromCorner < 3 * step && (fromCorner - 1) % step < 2) cell.Set(x, y);
    }
}

void DrawSymbol(Cell& cell, char32_t c) {
  int n = cell.Size();
  int margin = std::max(1, static_cast<int>(std::lround(n * 0.15)));
  int t = std::max(1, static_cast<int>(std::lround(n / 12.0)));
  int inner = std::max(2, n - 2 * margin);
  switch (c) {
    case U'0': {  // minimise: a bar at the bottom of the window box
      int bottom = margin + inner;
      cell.Rect(margin, bottom - 2 * t, margin + std::max(2, inner * 3 / 5), bottom);
      break;
    }
    case U'1':  // maximise: one window frame
      cell.Frame(margin, margin, margin + inner, margin + inner, t);
      break;
    case U'2': {  // restore: a window in front of another one
      int s = std::max(3, (inner * 3 + 2) / 4);
      int far = margin + inner;
      Cell back(n);
      back.Frame(far - s, margin, far, margin + s, t);
      std::vector<uint8_t> behind = back.Take();
      for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
          bool hidden = x >= margin && x < margin + s && y >= far - s && y < far;
          if (behind[static_cast<size_t>(y) * n + x] && !hidden) cell.Set(x, y);
        }
      cell.Frame(margin, far - s, margin + s, far, t);
      break;
    }
    case U'3':
      Arrow(cell, Direction::Left);
      break;
    case U'4':
      Arrow(cell, Direction::Right);
      break;
    case U'5':
      Arrow(cell, Direction::Up);
      break;
    case U'6':
      Arrow(cell, Direction::Down);
      break;
    case U'a': {  // check mark
      double hw = std::max(0.7, n / 14.0);
      cell.Stroke(0.22 * n, 0.50 * n, 0.42 * n, 0.70 * n, hw);
      cell.Stroke(0.42 * n, 0.70 * n, 0.78 * n, 0.30 * n, hw);
      break;
    }
    case U'h':  // bullet
      cell.Disc(std::max(1.0, n / 6.0));
      break;
    case U'n':  // the filled circle of a radio button
      cell.Disc(n * 0.375);
      break;
    case U'r': {  // close: a cross of two thick diagonals
      int k = std::max(2, n / 6);
      for (int y = margin; y < margin + inner; ++y)
        for (int x = margin; x < margin + inner; ++x) {
          // The second diagonal mirrors the first, so its band of offsets is negated.
          int d1 = x - y, d2 = x + y - (2 * margin + inner - 1);
          if ((d1 >= -(k / 2) && d1 <= (k - 1) / 2) || (d2 >= -((k - 1) / 2) && d2 <= k / 2)) cell.Set(x, y);
        }
      break;
    }
    case U'o':  // size grip
      Grip(cell, false);
      break;
    case U'x':  // size grip of a right-to-left window
      Grip(cell, true);
      break;
    default:
      break;
  }
}

}  // namespace

bool IsMarlettFace(const char* face) {
  static constexpr char kName[] = "marlett";
  if (!face) return false;
  size_t i = 0;
  for (; face[i] && i < sizeof kName - 1; ++i)
    if (std::tolower(static_cast<unsigned char>(face[i])) != kName[i]) return false;
  return i == sizeof kName - 1 && face[i] == 0;
}

std::shared_ptr<const Glyph> MarlettGlyph(char32_t c, int cell, int ascent) {
  auto glyph = std::make_shared<Glyph>();
  glyph->advance = cell;
  Cell shape(cell);
  DrawSymbol(shape, c);
  std::vector<uint8_t> coverage = shape.Take();
  if (std::none_of(coverage.begin(), coverage.end(), [](uint8_t v) { return v != 0; })) return glyph;
  glyph->width = cell;
  glyph->height = cell;
  glyph->left = 0;
  glyph->top = ascent;
  glyph->coverage = std::move(coverage);
  return glyph;
}

}  // namespace pictavo::gdi
