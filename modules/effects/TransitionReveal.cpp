// Shape reveals: every pixel of the frame has a moment (a threshold map, 0..65535) at which it
// turns from the outgoing to the incoming picture, softened over `softness` map units. A map
// depends only on the shape and the frame size, so it is computed once and shared.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <mutex>
#include <numbers>
#include <vector>

#include "modules/effects/BuiltInTransitions.h"
#include "modules/effects/TransitionKernel.h"

namespace pictavo::effects {

namespace {

struct RevealMap {
  Shape shape;
  int width;
  int height;
  int32_t softness;              // map units over which a pixel blends, at least 1
  std::vector<uint16_t> values;  // width x height, top row first
  std::vector<uint16_t> rowMin;  // per row, so that settled rows are copied whole
  std::vector<uint16_t> rowMax;
};

// Small deterministic generator: the same dissolve for the same frame size, every run.
struct XorShift {
  uint32_t state;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};
constexpr uint32_t kDissolveSeed = 0x2545F491u;

uint16_t ToMapValue(double v) {
  const double scaled = std::floor(v * 65536.0);
  return static_cast<uint16_t>(std::clamp(scaled, 0.0, 65535.0));
}

std::unique_ptr<RevealMap> BuildMap(Shape shape, int width, int height) {
  auto map = std::make_unique<RevealMap>();
  map->shape = shape;
  map->width = width;
  map->height = height;
  map->values.resize(static_cast<size_t>(width) * height);
  const double w = width;
  const double h = height;
  const double cx = w / 2;
  const double cy = h / 2;
  const double radius = std::hypot(cx, cy);
  const double blindsBand = std::max(2.0, h / 8);
  const double barsBand = std::max(2.0, w / 10);
  const double cell = std::max(2.0, h / 6);
  const int barWidth = std::max(1, width / 160);
  double soft = 1.0 / 12;  // fraction of the map's range over which the edge blends

  XorShift random{kDissolveSeed};
  std::vector<uint16_t> barMoments;
  if (shape == Shape::RandomBars) {
    barMoments.resize(static_cast<size_t>(width / barWidth + 1));
    for (uint16_t& moment : barMoments) moment = static_cast<uint16_t>(random.Next() >> 16);
  }
  switch (shape) {
    case Shape::Dissolve:
    case Shape::RandomBars:
      soft = 0;
      break;
    case Shape::CircleIn:
    case Shape::CircleOut:
    case Shape::BoxIn:
    case Shape::BoxOut:
    case Shape::Diamond:
      soft = 1.0 / 16;
      break;
    case Shape::Clock:
    case Shape::Wheel:
      soft = 1.0 / 48;
      break;
    case Shape::BlindsHorizontal:
      soft = 2.0 / blindsBand;
      break;
    case Shape::BlindsVertical:
      soft = 2.0 / barsBand;
      break;
    case Shape::Checkerboard:
      soft = 1.0 / cell;
      break;
    default:
      break;
  }
  map->softness = std::max<int32_t>(1, static_cast<int32_t>(std::lround(soft * 65536)));

  for (int y = 0; y < height; ++y) {
    uint16_t* row = map->values.data() + static_cast<size_t>(y) * width;
    const double py = y + 0.5;
    const double ny = py / h;
    const double dy = py - cy;
    for (int x = 0; x < width; ++x) {
      const double px = x + 0.5;
      const double nx = px / w;
      const double dx = px - cx;
      double v = 0;
      switch (shape) {
        case Shape::Dissolve:
          row[x] = static_cast<uint16_t>(random.Next() >> 16);
          continue;
        case Shape::RandomBars:
          row[x] = barMoments[static_cast<size_t>(x / barWidth)];
          continue;
        case Shape::WipeRight:
          v = nx;
          break;
        case Shape::WipeLeft:
          v = 1 - nx;
          break;
        case Shape::WipeDown:
          v = ny;
          break;
        case Shape::WipeUp:
          v = 1 - ny;
          break;
        case Shape::WipeDownRight:
          v = (nx + ny) / 2;
          break;
        case Shape::WipeDownLeft:
          v = (1 - nx + ny) / 2;
          break;
        case Shape::WipeUpRight:
          v = (nx + 1 - ny) / 2;
          break;
        case Shape::WipeUpLeft:
          v = (2 - nx - ny) / 2;
          break;
        case Shape::CircleOut:
          v = std::hypot(dx, dy) / radius;
          break;
        case Shape::CircleIn:
          v = 1 - std::hypot(dx, dy) / radius;
          break;
        case Shape::BoxOut:
          v = std::max(std::abs(dx) / cx, std::abs(dy) / cy);
          break;
        case Shape::BoxIn:
          v = 1 - std::max(std::abs(dx) / cx, std::abs(dy) / cy);
          break;
        case Shape::Diamond:
          v = (std::abs(dx) / cx + std::abs(dy) / cy) / 2;
          break;
        case Shape::Clock:
        case Shape::Wheel: {
          // Clockwise from twelve o'clock; the wheel has four spokes.
          double angle = std::atan2(dx, -dy);
          if (angle < 0) angle += 2 * std::numbers::pi;
          const double sector = shape == Shape::Clock ? 2 * std::numbers::pi : std::numbers::pi / 2;
          v = std::fmod(angle, sector) / sector;
          break;
        }
        case Shape::BlindsHorizontal:
          v = std::fmod(py, blindsBand) / blindsBand;
          break;
        case Shape::BlindsVertical:
          v = std::fmod(px, barsBand) / barsBand;
          break;
        case Shape::Checkerboard: {
          // One colour of squares fills from the left, then the other.
          const int parity = (static_cast<int>(px / cell) + static_cast<int>(py / cell)) & 1;
          v = (parity + std::fmod(px, cell) / cell) / 2;
          break;
        }
        case Shape::BarnDoorsOpen:
          v = std::abs(dx) / cx;
          break;
        case Shape::BarnDoorsClose:
          v = 1 - std::abs(dx) / cx;
          break;
        case Shape::SplitOpen:
          v = std::abs(dy) / cy;
          break;
        case Shape::SplitClose:
          v = 1 - std::abs(dy) / cy;
          break;
      }
      row[x] = ToMapValue(v);
    }
  }
  map->rowMin.resize(static_cast<size_t>(height));
  map->rowMax.resize(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const auto first = map->values.begin() + static_cast<ptrdiff_t>(y) * width;
    const auto [lo, hi] = std::minmax_element(first, first + width);
    map->rowMin[static_cast<size_t>(y)] = *lo;
    map->rowMax[static_cast<size_t>(y)] = *hi;
  }
  return map;
}

// The last few maps, shared by every transition object and thread: a slideshow creates a new
// transition per slide, mostly at one frame size.
class MapCache {
 public:
  std::shared_ptr<const RevealMap> Get(Shape shape, int width, int height) {
    {
      std::lock_guard guard(m_lock);
      for (auto it = m_maps.begin(); it != m_maps.end(); ++it) {
        const RevealMap& map = **it;
        if (map.shape == shape && map.width == width && map.height == height) {
          m_maps.splice(m_maps.begin(), m_maps, it);
          return m_maps.front();
        }
      }
    }
    std::shared_ptr<const RevealMap> built = BuildMap(shape, width, height);
    std::lock_guard guard(m_lock);
    m_maps.push_front(built);
    if (m_maps.size() > kCapacity) m_maps.pop_back();
    return built;
  }

 private:
  static constexpr size_t kCapacity = 8;
  std::mutex m_lock;
  std::list<std::shared_ptr<const RevealMap>> m_maps;  // guarded by m_lock; most recent first
};

MapCache& Maps() {
  static MapCache* const cache = new MapCache;  // used by render threads until the process ends
  return *cache;
}

}  // namespace

void ComposeReveal(Shape shape, const TransitionFrame& f) {
  const std::shared_ptr<const RevealMap> map = Maps().Get(shape, f.width, f.height);
  const int32_t soft = map->softness;
  // The threshold sweeps from 0 (nothing turned) to 65535 + soft (everything turned).
  const int32_t threshold =
      static_cast<int32_t>((static_cast<int64_t>(f.progress) * (65535 + soft)) / kProgressOne);
  // This frame's alpha of every map value: 0 at or above the threshold, rising to exactly 256
  // at `soft` below it.
  const int64_t scale = ((int64_t{256} << 16) + soft - 1) / soft;
  // Only the values within `soft` below the threshold are between 0 and 256. The tables are kept
  // per thread: a fresh 128 KB a frame cost more than filling it.
  thread_local std::vector<uint16_t> alphaOf(65536);
  const int32_t rampLo = std::clamp<int32_t>(threshold - soft + 1, 0, 65536);
  const int32_t rampHi = std::clamp<int32_t>(threshold, 0, 65536);
  std::fill(alphaOf.begin(), alphaOf.begin() + rampLo, static_cast<uint16_t>((soft * scale) >> 16));
  for (int32_t m = rampLo; m < rampHi; ++m)
    alphaOf[static_cast<size_t>(m)] = static_cast<uint16_t>(((threshold - m) * scale) >> 16);
  std::fill(alphaOf.begin() + rampHi, alphaOf.end(), uint16_t{0});
  const size_t rowBytes = static_cast<size_t>(f.width) * 3;
  thread_local std::vector<uint16_t> alpha;
  if (alpha.size() < rowBytes) alpha.resize(rowBytes);
  for (int y = 0; y < f.height; ++y) {
    const BYTE* a = f.FromRow(y);
    const BYTE* b = f.ToRow(y);
    BYTE* out = f.OutRow(y);
    if (threshold - map->rowMax[static_cast<size_t>(y)] >= soft) {
      std::memcpy(out, b, rowBytes);
      continue;
    }
    if (threshold - map->rowMin[static_cast<size_t>(y)] <= 0) {
      std::memcpy(out, a, rowBytes);
      continue;
    }
    const uint16_t* moments = map->values.data() + static_cast<size_t>(y) * f.width;
    for (int x = 0; x < f.width; ++x) {
      const uint16_t value = alphaOf[moments[x]];
      alpha[3 * static_cast<size_t>(x)] = value;
      alpha[3 * static_cast<size_t>(x) + 1] = value;
      alpha[3 * static_cast<size_t>(x) + 2] = value;
    }
    BlendBytesVarying(a, b, out, alpha.data(), static_cast<int>(rowBytes));
  }
}

}  // namespace pictavo::effects
