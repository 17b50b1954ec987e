// Block transfers: PatBlt, BitBlt, StretchBlt, the DIB transfers, AlphaBlend and TransparentBlt.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Transfer.h"

using namespace pictavo::gdi;

namespace {

uint8_t RopIndex(DWORD rop) {
  return static_cast<uint8_t>((rop >> 16) & 0xFF);
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Logical rectangle (origin + signed extents) of a DC in surface coordinates, normalised.
RECT SurfaceRect(DeviceContext& dc, int x, int y, int w, int h, bool& flipX, bool& flipY) {
  int l, r, t, b;
  flipX = NormalizeExtent(x, w, l, r);
  flipY = NormalizeExtent(y, h, t, b);
  return RECT{dc.SurfaceX(l), dc.SurfaceY(t), dc.SurfaceX(r), dc.SurfaceY(b)};
}

void PrepareSource(DeviceContext& src) {
  if (BitmapObject* bitmap = src.TargetBitmap()) bitmap->BeginAccess();
}

BOOL StretchCore(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs, DWORD rop,
                 bool stretch) {
  uint8_t code = RopIndex(rop);
  if (!RopUsesSource(code)) return PatBlt(hdest, x, y, w, h, rop);
  DcPairLock pair(hdest, hsrc);
  if (!pair) return FALSE;
  DeviceContext& dest = pair.Dest();
  DeviceContext& src = pair.Src();
  PrepareSource(src);
  bool fx, fy, sfx, sfy;
  RECT d = SurfaceRect(dest, x, y, w, h, fx, fy);
  RECT s = SurfaceRect(src, xs, ys, ws, hs, sfx, sfy);
  if (!stretch) fx = fy = sfx = sfy = false;
  DrawScope scope(dest);
  Paint paint = RopUsesPattern(code) ? ResolveBrush(dest, nullptr) : SolidPaint(0);
  Transfer(scope, d, SourceFor(dest, src), s, fx != sfx, fy != sfy, paint, code,
           stretch && dest.state.stretchMode == HALFTONE);
  return TRUE;
}

// A DIB given by header and bits, as a source surface: its own memory when it is 32-bit,
// decoded rows otherwise.
std::shared_ptr<Surface> DibSurface(const DibFormat& f, const void* bits, int firstRow, int rowCount) {
  if (f.bitsPerPixel == 32 && firstRow == 0 && rowCount == f.height)
    return std::make_shared<Surface>(const_cast<void*>(bits), f.width, f.height,
                                     static_cast<ptrdiff_t>(f.Stride()), !f.topDown, nullptr);
  auto s = std::make_shared<Surface>(f.width, rowCount);
  for (int y = 0; y < rowCount; ++y) f.DecodeRow(f.Row(bits, firstRow + y), s->Row(y).data(), 0, f.width);
  return s;
}

// How a DIB's colours enter a DC: as they are, or through the background colour of a
// monochrome one.
TransferSource DibSource(DeviceContext& dc, const Surface* dib) {
  TransferSource ts;
  ts.surface = dib;
  if (dc.IsMonochrome()) {
    ts.convert = TransferSource::Convert::ColorToMono;
    ts.background = PixelFromColor(dc.state.bkColor);
  }
  return ts;
}

// Destination pixel after blending, channel by channel: src + dst * (255 - alpha) / 255, with
// the product rounded to nearest.
inline uint32_t Mul255(uint32_t a, uint32_t b) {
  uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// The source of AlphaBlend and TransparentBlt: a monochrome source's pixels stand for the colours
// SourceFor gives them.
struct SampledSource {
  TransferSource convert;
  bool mono = false;
  uint32_t Color(uint32_t pixel) const {
    return mono ? ((pixel & kRgbMask) ? convert.background : convert.foreground) : pixel;
  }
};

// Stretches the source rectangle over the destination rectangle, nearest neighbour, calling
// `blend(source, sourcePixel, destPixel)` for each destination pixel inside the clip. Fails with
// ERROR_INVALID_PARAMETER when the source rectangle leaves the source's surface.
template <class Blend>
BOOL SampleOnto(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs,
                Blend blend) {
  DcPairLock pair(hdest, hsrc);
  if (!pair) return FALSE;
  DeviceContext& dest = pair.Dest();
  DeviceContext& src = pair.Src();
  PrepareSource(src);
  const Surface* source = src.Target();
  RECT s{src.SurfaceX(xs), src.SurfaceY(ys), src.SurfaceX(xs + ws), src.SurfaceY(ys + hs)};
  if (!source || s.left < 0 || s.top < 0 || s.right > source->Width() || s.bottom > source->Height())
    return Fail(ERROR_INVALID_PARAMETER);
  if (w == 0 || h == 0 || ws == 0 || hs == 0) return TRUE;
  RECT d{dest.SurfaceX(x), dest.SurfaceY(y), dest.SurfaceX(x + w), dest.SurfaceY(y + h)};
  DrawScope scope(dest);
  if (!scope) return TRUE;
  // Drawn onto itself: sampled from a copy.
  std::shared_ptr<Surface> copy;
  if (source == &scope.Target()) {
    copy = std::make_shared<Surface>(ws, hs);
    for (int r = 0; r < hs; ++r)
      std::memcpy(copy->Row(r).data(), source->Row(s.top + r).data() + s.left, static_cast<size_t>(ws) * 4);
    s = RECT{0, 0, ws, hs};
    source = copy.get();
  }
  const SampledSource sampled{SourceFor(dest, src), src.IsMonochrome()};
  Surface& target = scope.Target();
  ForEachClipped(scope.Clip(), d, [&](int left, int top, int right, int bottom) {
    for (int yy = top; yy < bottom; ++yy) {
      const uint32_t* srow =
          source->Row(s.top + static_cast<int>((int64_t{2} * (yy - d.top) + 1) * hs / (int64_t{2} * h)))
              .data();
      uint32_t* drow = target.Row(yy).data();
      for (int xx = left; xx < right; ++xx)
        blend(sampled,
              srow[s.left + static_cast<int>((int64_t{2} * (xx - d.left) + 1) * ws / (int64_t{2} * w))],
              drow[xx]);
    }
    scope.Touch(RECT{left, top, right, bottom});
  });
  return TRUE;
}

}  // namespace

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  uint8_t code = RopIndex(rop);
  if (RopUsesSource(code)) return Fail(ERROR_INVALID_PARAMETER);
  DcLock dc(hdc);
  if (!dc) return FALSE;
  bool fx, fy;
  RECT r = SurfaceRect(*dc, x, y, w, h, fx, fy);
  // PatBlt's negative extents cover the pixels before the origin, not the origin itself.
  if (fx) r.left -= 1, r.right -= 1;
  if (fy) r.top -= 1, r.bottom -= 1;
  DrawScope scope(*dc);
  FillRectRop(scope, r, ResolveBrush(*dc, nullptr), code);
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys, DWORD rop) {
  if (w < 0) x += w, xs += w, w = -w;
  if (h < 0) y += h, ys += h, h = -h;
  return StretchCore(dest, x, y, w, h, src, xs, ys, w, h, rop, false);
}

BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, DWORD rop) {
  return StretchCore(dest, x, y, w, h, src, xs, ys, ws, hs, rop, true);
}

int StretchDIBits(HDC hdc, int x, int y, int w, int h, int xs, int ys, int ws, int hs, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop) {
  std::optional<DibFormat> f = DibFormat::FromInfo(info);
  if (!f || !bits || usage != DIB_RGB_COLORS) return Fail(ERROR_INVALID_PARAMETER);
  uint8_t code = RopIndex(rop);
  DcLock dc(hdc);
  if (!dc) return 0;
  std::shared_ptr<Surface> source = DibSurface(*f, bits, 0, f->height);
  bool fx, fy, sfx, sfy;
  RECT d = SurfaceRect(*dc, x, y, w, h, fx, fy);
  int sl, sr, st, sb;
  sfx = NormalizeExtent(xs, ws, sl, sr);
  sfy = NormalizeExtent(ys, hs, st, sb);
  // Source rows of a bottom-up DIB count from its bottom edge.
  RECT s = f->topDown ? RECT{sl, st, sr, sb} : RECT{sl, f->height - sb, sr, f->height - st};
  const TransferSource ts = DibSource(*dc, source.get());
  DrawScope scope(*dc);
  Paint paint = RopUsesPattern(code) ? ResolveBrush(*dc, nullptr) : SolidPaint(0);
  Transfer(scope, d, ts, s, fx != sfx, fy != sfy, paint, code, dc->state.stretchMode == HALFTONE);
  return std::abs(h);
}

int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD w, DWORD h, int xs, int ys, UINT startScan, UINT scanLines,
                      const void* bits, const BITMAPINFO* info, UINT usage) {
  std::optional<DibFormat> f = DibFormat::FromInfo(info);
  if (!f || !bits || usage != DIB_RGB_COLORS) return Fail(ERROR_INVALID_PARAMETER);
  DcLock dc(hdc);
  if (!dc) return 0;
  // `bits` holds scan lines [startScan, startScan + scanLines); scan lines count from the bottom
  // of a bottom-up DIB and from the top of a top-down one, and so does ys.
  int lines = static_cast<int>(std::min<UINT>(scanLines, static_cast<UINT>(f->height)));
  DibFormat band = *f;
  band.height = lines;
  std::shared_ptr<Surface> source = DibSurface(band, bits, 0, lines);
  // Row r of the band (from its top) is scan line startScan + lines - 1 - r bottom-up, startScan + r
  // top-down.
  int top = f->topDown ? ys - static_cast<int>(startScan)
                       : static_cast<int>(startScan) + lines - (ys + static_cast<int>(h));
  RECT s{xs, top, xs + static_cast<int>(w), top + static_cast<int>(h)};
  RECT d{dc->SurfaceX(x), dc->SurfaceY(y), dc->SurfaceX(x + static_cast<int>(w)),
         dc->SurfaceY(y + static_cast<int>(h))};
  const TransferSource ts = DibSource(*dc, source.get());
  DrawScope scope(*dc);
  Transfer(scope, d, ts, s, false, false, SolidPaint(0), 0xCC, false);
  return lines;
}

BOOL AlphaBlend(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs,
                BLENDFUNCTION blend) {
  if (w < 0 || h < 0 || ws < 0 || hs < 0 || blend.BlendOp != AC_SRC_OVER)
    return Fail(ERROR_INVALID_PARAMETER);
  const uint32_t constant = blend.SourceConstantAlpha;
  const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  return SampleOnto(hdest, x, y, w, h, hsrc, xs, ys, ws, hs,
                    [&](const SampledSource& source, uint32_t sp, uint32_t& dp) {
                      sp = source.Color(sp);
                      uint32_t out = 0;
                      if (perPixel) {
                        // Premultiplied source: scale all four channels by the constant, then "over".
                        uint32_t sa = Mul255(sp >> 24, constant);
                        for (int c = 0; c < 32; c += 8) {
                          uint32_t sc = Mul255((sp >> c) & 0xFF, constant);
                          uint32_t dc = (dp >> c) & 0xFF;
                          out |= std::min<uint32_t>(sc + Mul255(dc, 255 - sa), 255) << c;
                        }
                      } else {
                        for (int c = 0; c < 32; c += 8) {
                          uint32_t sc = (sp >> c) & 0xFF, dc = (dp >> c) & 0xFF;
                          out |= (Mul255(sc, constant) + Mul255(dc, 255 - constant)) << c;
                        }
                      }
                      dp = out;
                    });
}

BOOL TransparentBlt(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs,
                    UINT transparent) {
  if (w <= 0 || h <= 0 || ws <= 0 || hs <= 0) return Fail(ERROR_INVALID_PARAMETER);
  const uint32_t key = PixelFromColor(transparent & 0xFFFFFF);
  return SampleOnto(hdest, x, y, w, h, hsrc, xs, ys, ws, hs,
                    [&](const SampledSource& source, uint32_t sp, uint32_t& dp) {
                      if ((sp & kRgbMask) != key) dp = source.Color(sp);
                    });
}
