// Transitions that move pictures: slides, pushes, zooms, the spin, the page turn, the mosaic and
// the wave. Moves are whole pixels per frame (rows copied in runs); scaled and turned pictures
// go through the bilinear sampler.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "modules/effects/BuiltInTransitions.h"
#include "modules/effects/Sampler.h"
#include "modules/effects/TransitionKernel.h"

namespace pictavo::effects {

namespace {

enum class Picture { From, To };

const BYTE* RowOf(const TransitionFrame& f, Picture picture, int y) {
  return picture == Picture::From ? f.FromRow(y) : f.ToRow(y);
}

// Copies the picture, moved by (ox, oy), into row y of out wherever it covers that row.
void PasteMoved(const TransitionFrame& f, Picture picture, int ox, int oy, int y, BYTE* out) {
  const int sourceY = y - oy;
  if (sourceY < 0 || sourceY >= f.height) return;
  const int x0 = std::max(0, ox);
  const int x1 = std::min(f.width, f.width + ox);
  if (x1 <= x0) return;
  std::memcpy(out + 3 * x0, RowOf(f, picture, sourceY) + 3 * (x0 - ox), static_cast<size_t>(x1 - x0) * 3);
}

}  // namespace

void ComposeSliding(Effect effect, int dx, int dy, const TransitionFrame& f) {
  // `moved` is how far the moving picture has travelled; the incoming one starts a whole frame
  // away and arrives at (0, 0).
  const int movedX = ScaleByProgress(f.progress, f.width);
  const int movedY = ScaleByProgress(f.progress, f.height);
  const int inX = dx * (movedX - f.width);
  const int inY = dy * (movedY - f.height);
  const int outX = dx * movedX;
  const int outY = dy * movedY;
  const size_t rowBytes = static_cast<size_t>(f.width) * 3;
  for (int y = 0; y < f.height; ++y) {
    BYTE* out = f.OutRow(y);
    switch (effect) {
      case Effect::Cover:
        std::memcpy(out, f.FromRow(y), rowBytes);
        PasteMoved(f, Picture::To, inX, inY, y, out);
        break;
      case Effect::Uncover:
        std::memcpy(out, f.ToRow(y), rowBytes);
        PasteMoved(f, Picture::From, outX, outY, y, out);
        break;
      default:  // Push: the two pictures tile the frame
        PasteMoved(f, Picture::From, outX, outY, y, out);
        PasteMoved(f, Picture::To, inX, inY, y, out);
        break;
    }
  }
}

void ComposeScaled(Effect effect, const TransitionFrame& f) {
  const double p = static_cast<double>(f.progress) / kProgressOne;
  // The picture that moves, its scale and its turn (degrees clockwise).
  const bool incoming = effect != Effect::ZoomOut;
  const double scale = effect == Effect::ZoomOut ? 1 - p : p;
  const double turn = effect == Effect::Spin ? (1 - p) * 360 : 0;
  const Picture moving = incoming ? Picture::To : Picture::From;
  const Picture still = incoming ? Picture::From : Picture::To;
  const size_t rowBytes = static_cast<size_t>(f.width) * 3;
  // Below a thousandth of its size the picture covers nothing.
  if (scale < 1.0 / 1024) {
    for (int y = 0; y < f.height; ++y) std::memcpy(f.OutRow(y), RowOf(f, still, y), rowBytes);
    return;
  }
  const double radians = turn * std::numbers::pi / 180;
  const double c = std::cos(radians) / scale;
  const double s = std::sin(radians) / scale;
  const double cx = f.width / 2.0;
  const double cy = f.height / 2.0;
  // The centre of output pixel (x, y) is (x + 0.5 - cx, y + 0.5 - cy) from the centre; turned
  // back and scaled back, it lands there from the source centre (pixel centres at whole numbers).
  AffineMap map;
  map.dudx = c;
  map.dudy = s;
  map.dvdx = -s;
  map.dvdy = c;
  map.u0 = cx - 0.5 + c * (0.5 - cx) + s * (0.5 - cy);
  map.v0 = cy - 0.5 - s * (0.5 - cx) + c * (0.5 - cy);
  const SourceView source{RowOf(f, moving, 0), -static_cast<ptrdiff_t>(f.stride), f.width, f.height};
  for (int y = 0; y < f.height; ++y)
    SampleRow(source, RowOf(map, y), RowOf(f, still, y), f.OutRow(y), f.width);
}

void ComposePageTurn(const TransitionFrame& f) {
  const int w = f.width;
  const double slant = 0.35;                 // the fold leans: the bottom corner leads
  const double lean = slant * f.height / 2;  // how far the fold's ends stand from its middle
  const int shadow = std::max(2, w / 24);    // whole pixels, so the last frame is free of it
  const double p = static_cast<double>(f.progress) / kProgressOne;
  // The fold's middle travels from right of the frame (nothing folded) until fold, flap and
  // shadow have all left it on the left.
  const double fold = (w + lean) - p * (w + 2 * lean + shadow);
  for (int y = 0; y < f.height; ++y) {
    const BYTE* a = f.FromRow(y);
    const BYTE* b = f.ToRow(y);
    BYTE* out = f.OutRow(y);
    const int edge = static_cast<int>(std::lround(fold - slant * (y + 0.5 - f.height / 2.0)));
    // [0, flapStart): the page lying flat; [flapStart, edge): its back, folded over from
    // [edge, w); [edge, w): the next page, in the flap's shadow near the fold.
    const int flapStart = std::clamp(2 * edge - w, 0, w);
    const int flatEnd = std::clamp(edge, 0, w);
    std::memcpy(out, a, static_cast<size_t>(flapStart) * 3);
    for (int x = flapStart; x < flatEnd; ++x) {
      const int mirrored = std::clamp(2 * edge - 1 - x, 0, w - 1);
      // The back of the paper: the picture showing through, pale.
      for (int c = 0; c < 3; ++c) out[3 * x + c] = BlendByte(a[3 * mirrored + c], 240, 176);
    }
    for (int x = flatEnd; x < w; ++x) {
      const int distance = x - edge;
      const int dark = distance < shadow ? 110 * (shadow - distance) / shadow : 0;
      for (int c = 0; c < 3; ++c) out[3 * x + c] = BlendByte(b[3 * x + c], 0, dark);
    }
  }
}

void ComposeMosaic(const TransitionFrame& f) {
  const int alpha = AlphaOfProgress(f.progress);
  // Blocks grow to their largest at half way and shrink back to single pixels.
  const int32_t rise = f.progress <= kProgressOne / 2 ? f.progress : kProgressOne - f.progress;
  const int largest = std::max(2, std::min(f.width, f.height) / 12);
  const int block = 1 + ScaleByProgress(rise * 2, largest - 1);
  if (block == 1) {
    for (int y = 0; y < f.height; ++y) BlendBytes(f.FromRow(y), f.ToRow(y), f.OutRow(y), f.width * 3, alpha);
    return;
  }
  std::vector<BYTE> colours(static_cast<size_t>(f.width) * 3);
  for (int top = 0; top < f.height; top += block) {
    const int bottom = std::min(f.height, top + block);
    const int sampleY = (top + bottom - 1) / 2;
    const BYTE* a = f.FromRow(sampleY);
    const BYTE* b = f.ToRow(sampleY);
    // One row of block colours, each the blend at the block's centre, then copied down.
    for (int left = 0; left < f.width; left += block) {
      const int right = std::min(f.width, left + block);
      const int sampleX = (left + right - 1) / 2;
      BYTE colour[3];
      for (int c = 0; c < 3; ++c) colour[c] = BlendByte(a[3 * sampleX + c], b[3 * sampleX + c], alpha);
      for (int x = left; x < right; ++x) std::memcpy(&colours[3 * static_cast<size_t>(x)], colour, 3);
    }
    for (int y = top; y < bottom; ++y) std::memcpy(f.OutRow(y), colours.data(), colours.size());
  }
}

void ComposeWave(const TransitionFrame& f) {
  const double p = static_cast<double>(f.progress) / kProgressOne;
  const int alpha = AlphaOfProgress(f.progress);
  // The sway swells and settles with the cross-fade; two waves run down the frame.
  const double amplitude = std::max(2.0, f.width / 20.0) * std::sin(std::numbers::pi * p);
  const double wavelength = std::max(8.0, f.height / 3.0);
  const double phase = 4 * std::numbers::pi * p;
  const int w = f.width;
  std::vector<BYTE> shiftedA(static_cast<size_t>(w) * 3);
  std::vector<BYTE> shiftedB(static_cast<size_t>(w) * 3);
  // The row moved right by `shift` pixels, its edge pixel repeated into the gap.
  const auto shiftRow = [w](const BYTE* row, int shift, BYTE* out) {
    shift = std::clamp(shift, -(w - 1), w - 1);
    if (shift >= 0) {
      std::memcpy(out + 3 * shift, row, static_cast<size_t>(w - shift) * 3);
      for (int x = 0; x < shift; ++x) std::memcpy(out + 3 * x, row, 3);
    } else {
      std::memcpy(out, row - 3 * shift, static_cast<size_t>(w + shift) * 3);
      for (int x = w + shift; x < w; ++x) std::memcpy(out + 3 * x, row + 3 * (w - 1), 3);
    }
  };
  for (int y = 0; y < f.height; ++y) {
    const int shift = static_cast<int>(
        std::lround(amplitude * std::sin(2 * std::numbers::pi * (y + 0.5) / wavelength + phase)));
    if (shift == 0) {
      BlendBytes(f.FromRow(y), f.ToRow(y), f.OutRow(y), w * 3, alpha);
      continue;
    }
    shiftRow(f.FromRow(y), shift, shiftedA.data());
    shiftRow(f.ToRow(y), shift, shiftedB.data());
    BlendBytes(shiftedA.data(), shiftedB.data(), f.OutRow(y), w * 3, alpha);
  }
}

}  // namespace pictavo::effects
