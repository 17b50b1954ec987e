#include "platform/gdi/Transfer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pictavo::gdi {
namespace {

// For each destination index, the source index (nearest, sampled at pixel centres), -1 outside.
std::vector<int> NearestMap(int destCount, int sourceStart, int sourceCount, bool flip, int sourceLimit) {
  std::vector<int> map(static_cast<size_t>(destCount));
  for (int i = 0; i < destCount; ++i) {
    int offset = static_cast<int>((int64_t{2} * i + 1) * sourceCount / (int64_t{2} * destCount));
    if (flip) offset = sourceCount - 1 - offset;
    int s = sourceStart + offset;
    map[static_cast<size_t>(i)] = s >= 0 && s < sourceLimit ? s : -1;
  }
  return map;
}

inline uint32_t Convert(const TransferSource& src, uint32_t pixel) {
  switch (src.convert) {
    case TransferSource::Convert::None:
      return pixel;
    case TransferSource::Convert::MonoToColor:
      return (pixel & kRgbMask) ? src.background : src.foreground;
    case TransferSource::Convert::ColorToMono:
      return (pixel & kRgbMask) == src.background ? kWhitePixel : kBlackPixel;
  }
  return pixel;
}

struct Weights {
  std::vector<int> first;    // first source index per destination index (relative)
  std::vector<int> offsets;  // where each destination index's weights start in `weights`
  std::vector<int> weights;  // 12-bit fixed point, summing to 4096 per destination index
};

// Box-filter weights for mapping `sourceCount` pixels onto `destCount`, for destination indexes
// [from, to).
Weights BoxWeights(int sourceCount, int destCount, int from, int to) {
  Weights w;
  for (int i = from; i < to; ++i) {
    int64_t start = int64_t{i} * sourceCount, end = int64_t{i + 1} * sourceCount;  // in 1/destCount units
    int k0 = static_cast<int>(start / destCount);
    int k1 = static_cast<int>((end + destCount - 1) / destCount);
    w.first.push_back(k0);
    w.offsets.push_back(static_cast<int>(w.weights.size()));
    int sum = 0, largest = -1, largestIndex = 0;
    for (int k = k0; k < k1; ++k) {
      int64_t overlap = std::min<int64_t>(end, int64_t{k + 1} * destCount) -
                        std::max<int64_t>(start, int64_t{k} * destCount);
      int weight = static_cast<int>((overlap * 4096 + sourceCount / 2) / sourceCount);
      w.weights.push_back(weight);
      sum += weight;
      if (weight > largest) {
        largest = weight;
        largestIndex = static_cast<int>(w.weights.size()) - 1;
      }
    }
    w.weights[static_cast<size_t>(largestIndex)] += 4096 - sum;
  }
  w.offsets.push_back(static_cast<int>(w.weights.size()));
  return w;
}

}  // namespace

bool NormalizeExtent(int origin, int extent, int& start, int& end) {
  if (extent >= 0) {
    start = origin;
    end = origin + extent;
    return false;
  }
  start = origin + extent + 1;
  end = origin + 1;
  return true;
}

TransferSource SourceFor(DeviceContext& dest, DeviceContext& src) {
  TransferSource t;
  t.surface = src.Target();
  bool srcMono = src.IsMonochrome();
  bool destMono = dest.IsMonochrome();
  if (srcMono && !destMono) {
    t.convert = TransferSource::Convert::MonoToColor;
    t.foreground = PixelFromColor(dest.state.textColor);
    t.background = PixelFromColor(dest.state.bkColor);
  } else if (!srcMono && destMono) {
    t.convert = TransferSource::Convert::ColorToMono;
    t.background = PixelFromColor(src.state.bkColor);
  }
  return t;
}

std::shared_ptr<Surface> HalftoneScale(const Surface& src, const RECT& source, int dw, int dh,
                                       const RECT& want, bool flipX, bool flipY) {
  int sw = source.right - source.left, sh = source.bottom - source.top;
  int ww = want.right - want.left, wh = want.bottom - want.top;
  auto out = std::make_shared<Surface>(ww, wh);
  if (ww <= 0 || wh <= 0 || sw <= 0 || sh <= 0) return out;
  // Mirroring: destination index i reads as index (d - 1 - i) of the unmirrored picture.
  int fromX = flipX ? dw - want.right : want.left, toX = flipX ? dw - want.left : want.right;
  int fromY = flipY ? dh - want.bottom : want.top, toY = flipY ? dh - want.top : want.bottom;
  Weights wx = BoxWeights(sw, dw, fromX, toX);
  Weights wy = BoxWeights(sh, dh, fromY, toY);

  // Horizontally filtered source rows, channels in 8.8 fixed point, filtered when first needed.
  int rowFirst = wy.first.front();
  int rowLast = wy.first.back() + (wy.offsets.back() - wy.offsets[wy.offsets.size() - 2]);
  std::vector<std::vector<uint16_t>> rows(static_cast<size_t>(rowLast - rowFirst));
  auto filtered = [&](int k) -> const std::vector<uint16_t>& {
    std::vector<uint16_t>& row = rows[static_cast<size_t>(k - rowFirst)];
    if (!row.empty()) return row;
    row.resize(static_cast<size_t>(ww) * 4);
    const uint32_t* s = src.Row(source.top + k).data() + source.left;
    for (int i = 0; i < ww; ++i) {
      uint32_t acc[4] = {0, 0, 0, 0};
      int begin = wx.offsets[static_cast<size_t>(i)], end = wx.offsets[static_cast<size_t>(i) + 1];
      for (int j = begin; j < end; ++j) {
        uint32_t p = s[wx.first[static_cast<size_t>(i)] + (j - begin)];
        uint32_t w = static_cast<uint32_t>(wx.weights[static_cast<size_t>(j)]);
        acc[0] += w * (p & 0xFF);
        acc[1] += w * ((p >> 8) & 0xFF);
        acc[2] += w * ((p >> 16) & 0xFF);
        acc[3] += w * (p >> 24);
      }
      int column = flipX ? ww - 1 - i : i;
      for (int c = 0; c < 4; ++c)
        row[static_cast<size_t>(column) * 4 + c] = static_cast<uint16_t>(acc[c] >> 4);
    }
    return row;
  };

  std::vector<uint32_t> acc(static_cast<size_t>(ww) * 4);
  for (int j = 0; j < wh; ++j) {
    int begin = wy.offsets[static_cast<size_t>(j)], end = wy.offsets[static_cast<size_t>(j) + 1];
    uint32_t* d = out->Row(flipY ? wh - 1 - j : j).data();
    std::fill(acc.begin(), acc.end(), 0u);
    for (int t = begin; t < end; ++t) {
      const std::vector<uint16_t>& row = filtered(wy.first[static_cast<size_t>(j)] + (t - begin));
      uint32_t w = static_cast<uint32_t>(wy.weights[static_cast<size_t>(t)]);
      for (size_t c = 0; c < acc.size(); ++c) acc[c] += w * row[c];
    }
    for (int i = 0; i < ww; ++i) {
      uint32_t p = 0;
      for (int c = 0; c < 4; ++c) {
        uint32_t v = (acc[static_cast<size_t>(i) * 4 + c] + (1u << 19)) >> 20;
        p |= std::min<uint32_t>(v, 255) << (8 * c);
      }
      d[i] = p;
    }
  }
  return out;
}

void Transfer(DrawScope& scope, const RECT& dest, const TransferSource& src, const RECT& source, bool flipX,
              bool flipY, const Paint& paint, uint8_t rop, bool halftone) {
  if (!scope) return;
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  int sw = source.right - source.left, sh = source.bottom - source.top;
  if (dw <= 0 || dh <= 0) return;
  bool usesSource = RopUsesSource(rop);
  if (!usesSource) {
    FillRectRop(scope, dest, paint, rop);
    return;
  }
  if (!src.surface || sw <= 0 || sh <= 0) return;
  if (paint.null && RopUsesPattern(rop)) return;

  const Surface* surface = src.surface;
  RECT from = source;
  std::shared_ptr<Surface> holder;
  bool stretched = sw != dw || sh != dh;
  RECT visible = scope.Clip().Intersected(dest).Box();
  if (visible.left >= visible.right) return;

  if (stretched && halftone) {
    // Scale the visible part first; it then transfers one to one.
    RECT inside{std::max<LONG>(source.left, 0), std::max<LONG>(source.top, 0),
                std::min<LONG>(source.right, surface->Width()),
                std::min<LONG>(source.bottom, surface->Height())};
    if (inside.left != source.left || inside.top != source.top || inside.right != source.right ||
        inside.bottom != source.bottom) {
      // A source partly outside its surface: fall back to nearest sampling, which skips it.
      halftone = false;
    } else {
      RECT want{visible.left - dest.left, visible.top - dest.top, visible.right - dest.left,
                visible.bottom - dest.top};
      holder = HalftoneScale(*surface, source, dw, dh, want, flipX, flipY);
      surface = holder.get();
      RECT sub{0, 0, want.right - want.left, want.bottom - want.top};
      Transfer(scope, visible, TransferSource{surface, src.convert, src.foreground, src.background}, sub,
               false, false, paint, rop, false);
      return;
    }
  }
  if (surface == &scope.Target()) {
    // Source and destination share pixels: read from a copy of the source area.
    RECT inside{std::max<LONG>(from.left, 0), std::max<LONG>(from.top, 0),
                std::min<LONG>(from.right, surface->Width()), std::min<LONG>(from.bottom, surface->Height())};
    if (inside.left >= inside.right || inside.top >= inside.bottom) return;
    holder = std::make_shared<Surface>(inside.right - inside.left, inside.bottom - inside.top);
    for (int y = inside.top; y < inside.bottom; ++y)
      std::memcpy(holder->Row(y - inside.top).data(), surface->Row(y).data() + inside.left,
                  static_cast<size_t>(inside.right - inside.left) * 4);
    from = RECT{from.left - inside.left, from.top - inside.top, from.right - inside.left,
                from.bottom - inside.top};
    surface = holder.get();
  }

  std::vector<int> xmap = NearestMap(dw, from.left, sw, flipX, surface->Width());
  std::vector<int> ymap = NearestMap(dh, from.top, sh, flipY, surface->Height());
  bool direct = !stretched && !flipX && src.convert == TransferSource::Convert::None;
  std::vector<uint32_t> buffer(static_cast<size_t>(dw));
  Surface& target = scope.Target();

  ForEachClipped(scope.Clip(), dest, [&](int left, int top, int right, int bottom) {
    // Columns whose source is inside the source surface form one run.
    int a = left, b = right;
    while (a < b && xmap[static_cast<size_t>(a - dest.left)] < 0) ++a;
    while (b > a && xmap[static_cast<size_t>(b - 1 - dest.left)] < 0) --b;
    if (a >= b) return;
    for (int y = top; y < bottom; ++y) {
      int sy = ymap[static_cast<size_t>(y - dest.top)];
      if (sy < 0) continue;
      const uint32_t* srow = surface->Row(sy).data();
      const uint32_t* run;
      if (direct) {
        run = srow + xmap[static_cast<size_t>(a - dest.left)];
      } else {
        for (int x = a; x < b; ++x)
          buffer[static_cast<size_t>(x - a)] = Convert(src, srow[xmap[static_cast<size_t>(x - dest.left)]]);
        run = buffer.data();
      }
      Rop3Row(rop, target.Row(y).data() + a, run, paint.RowAt(a, y), b - a);
    }
    scope.Touch(RECT{a, top, b, bottom});
  });
}

}  // namespace pictavo::gdi
