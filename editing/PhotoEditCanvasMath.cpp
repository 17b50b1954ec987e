#include "editing/PhotoEditCanvasMath.h"

#include <algorithm>
#include <cmath>

namespace pictavo::canvas {

namespace {

bool IsLeft(int hit) {
  return hit == 1 || hit == 7 || hit == 8;
}
bool IsRight(int hit) {
  return hit == 3 || hit == 4 || hit == 5;
}
bool IsTop(int hit) {
  return hit == 1 || hit == 2 || hit == 3;
}
bool IsBottom(int hit) {
  return hit == 5 || hit == 6 || hit == 7;
}
bool IsCorner(int hit) {
  return hit == 1 || hit == 3 || hit == 5 || hit == 7;
}

// Gives a span at least `minimum` (growing it on the dragged side) and moves it whole back inside
// [low, high] when it fits there.
void KeepSpanInside(LONG& lo, LONG& hi, bool draggingLow, LONG low, LONG high, int minimum) {
  if (hi - lo < minimum) {
    if (draggingLow)
      lo = hi - minimum;
    else
      hi = lo + minimum;
  }
  if (high - low < hi - lo) return;
  if (lo < low) {
    hi += low - lo;
    lo = low;
  }
  if (hi > high) {
    lo -= hi - high;
    hi = high;
  }
}

}  // namespace

CRect FrameRect(const RECT& rect, bool widescreen) {
  // A window smaller than its border has no room: an empty frame, never a negative one.
  const int width = std::max<int>(0, rect.right - rect.left);
  const int height = std::max<int>(0, rect.bottom - rect.top);
  int w = 0;
  int h = height;
  if (widescreen) {
    w = static_cast<int>(static_cast<float>(h) * 1.7777778f);
    if (w > width) {
      w = width;
      h = static_cast<int>(static_cast<float>(w) * 0.5625f);
    }
  } else {
    w = static_cast<int>(h * 1.3333333333333333);
    if (w > width) {
      w = width;
      h = static_cast<int>(w * 0.75);
    }
  }
  const int left = rect.left + (width - w) / 2;
  const int top = rect.top + (height - h) / 2;
  return CRect(left, top, left + w, top + h);
}

int ToReference(int pixels, float factor) {
  if (!(factor > 0)) return pixels;
  return static_cast<int>(static_cast<float>(pixels) / factor + 0.5f);
}

POINT NextCascade(POINT current) {
  POINT next{current.x + 20, current.y + 20};
  if (current.x + 70 > 767) next.x = 50;
  if (current.y + 70 > 575) next.y = 50;
  return next;
}

CSize CachedPhotoSize(CSize placement, CSize picture) {
  const int w = placement.cx;
  const int h = placement.cy;
  if (w <= 0 || h <= 0) return picture;
  if (w < h) {
    // A sliver of a photo would be cached thousands of pixels high: it keeps its placement size.
    const long long high = static_cast<long long>(h) * h / w;
    if (high > kMaxCachedSide) return CSize(w, h);
    return CSize(h, static_cast<int>(high));
  }
  return CSize(w, h);
}

int TextResizeStep(const RECT& box, int fontSize, int hit, POINT mouse) {
  if (fontSize <= 0 || hit < 1 || hit > 8) return fontSize;
  const float u = static_cast<float>(box.right - box.left) / static_cast<float>(fontSize);
  const float v = static_cast<float>(box.bottom - box.top) / static_cast<float>(fontSize);
  int dx = 0;
  int dy = 0;
  if (IsLeft(hit)) dx = mouse.x - box.left;
  if (IsRight(hit)) dx = mouse.x - box.right;
  if (IsTop(hit)) dy = mouse.y - box.top;
  if (IsBottom(hit)) dy = mouse.y - box.bottom;
  const bool horizontal = IsLeft(hit) || IsRight(hit);
  const bool vertical = IsTop(hit) || IsBottom(hit);
  // An empty box (a text of no size) steps at any distance rather than dividing by zero.
  const bool farX = horizontal && (u > 0 ? std::fabs(static_cast<float>(dx)) / u > 0.5f : dx != 0);
  const bool farY = vertical && (v > 0 ? std::fabs(static_cast<float>(dy)) / v > 0.5f : dy != 0);
  if (!farX && !farY) return fontSize;
  const bool outside = (IsLeft(hit) && dx < 0) || (IsRight(hit) && dx > 0) || (IsTop(hit) && dy < 0) ||
                       (IsBottom(hit) && dy > 0);
  const int size = fontSize + (outside ? 1 : -1);
  if (size < kMinTextSize || size > kMaxTextSize) return fontSize;
  return size;
}

POINT TextResizeAnchor(const RECT& box, CSize size, int hit) {
  const int centreX = (box.left + box.right) / 2;
  const int centreY = (box.top + box.bottom) / 2;
  switch (hit) {
    case 1:
      return {box.right - size.cx, box.bottom - size.cy};
    case 2:
      return {centreX - size.cx / 2, box.bottom - size.cy};
    case 3:
      return {box.left, box.bottom - size.cy};
    case 4:
      return {box.left, centreY - size.cy / 2};
    case 6:
      return {centreX - size.cx / 2, box.top};
    case 7:
      return {box.right - size.cx, box.top};
    case 8:
      return {box.right - size.cx, centreY - size.cy / 2};
    default:
      return {box.left, box.top};
  }
}

CRect ClipArtResizeRect(const RECT& box, const RECT& frame, int hit, POINT mouse, float widthPerHeight,
                        float heightPerWidth) {
  CRect r(box);
  const int m = kMinClipArtPixels;
  // The dragged edges follow the mouse, 10 pixels from the opposite edge at least.
  if (IsLeft(hit)) r.left = std::min<LONG>(mouse.x, r.right - m);
  if (IsRight(hit)) r.right = std::max<LONG>(mouse.x, r.left + m);
  if (IsTop(hit)) r.top = std::min<LONG>(mouse.y, r.bottom - m);
  if (IsBottom(hit)) r.bottom = std::max<LONG>(mouse.y, r.top + m);
  r.left = std::max(r.left, frame.left);
  r.top = std::max(r.top, frame.top);
  r.right = std::min(r.right, frame.right);
  r.bottom = std::min(r.bottom, frame.bottom);
  if (IsCorner(hit)) {
    const auto scaled = [](LONG length, float ratio) {
      return static_cast<LONG>(static_cast<float>(length) * ratio);
    };
    switch (hit) {
      case 1:  // height from the mouse, width from the ratio
        r.left = r.right - scaled(r.bottom - r.top, widthPerHeight);
        if (r.left < frame.left) {
          r.left = frame.left;
          r.top = r.bottom - scaled(r.right - r.left, heightPerWidth);
        }
        break;
      case 3:  // width from the mouse, height from the ratio
        r.top = r.bottom - scaled(r.right - r.left, heightPerWidth);
        if (r.top < frame.top) {
          r.top = frame.top;
          r.right = r.left + scaled(r.bottom - r.top, widthPerHeight);
        }
        break;
      case 5:
      case 7:
        r.bottom = r.top + scaled(r.right - r.left, heightPerWidth);
        if (r.bottom > frame.bottom) {
          r.bottom = frame.bottom;
          const LONG width = scaled(r.bottom - r.top, widthPerHeight);
          if (hit == 5)
            r.right = r.left + width;
          else
            r.left = r.right - width;
        }
        break;
    }
  }
  // An object lying outside the frame (after a switch from 4:3 to 16:9) is clipped to nothing
  // above: it keeps 10 pixels and comes back inside.
  KeepSpanInside(r.left, r.right, IsLeft(hit), frame.left, frame.right, m);
  KeepSpanInside(r.top, r.bottom, IsTop(hit), frame.top, frame.bottom, m);
  return r;
}

}  // namespace pictavo::canvas
