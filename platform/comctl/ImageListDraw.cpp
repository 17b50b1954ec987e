// Drawing image list images: the image is composed in memory (mask or alpha, background colour,
// blending towards the highlight colour, overlay) and put on the DC with one blit.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ImageListData.h"
#include "platform/comctl/ImageListDraw.h"
#include "platform/gdi/Gdi.h"

namespace pictavo::comctl::detail {
namespace {

uint32_t PixelOf(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

uint32_t Mix(uint32_t px, uint32_t towards, int percent) {
  auto channel = [&](int shift) {
    const int a = static_cast<int>((px >> shift) & 0xFF);
    const int b = static_cast<int>((towards >> shift) & 0xFF);
    return static_cast<uint32_t>(a + (b - a) * percent / 100) << shift;
  };
  return (px & 0xFF000000) | channel(16) | channel(8) | channel(0);
}

void ComposeOne(const ImageListData& list, int index, const DrawSpec& spec, bool transparent, Picture& out) {
  const bool alpha = list.HasAlpha(index);
  const bool useMask = list.Masked() && !(spec.style & ILD_IMAGE);
  const int blend = (spec.style & ILD_BLEND50) ? 50 : (spec.style & ILD_BLEND25) ? 25 : 0;
  const uint32_t fg = PixelOf(spec.fg);
  const uint32_t bk = PixelOf(spec.bk);
  for (int y = 0; y < out.height; ++y) {
    const int sy = spec.yBitmap + y;
    if (sy < 0 || sy >= list.Cy()) continue;
    const uint32_t* row = list.ImageRow(index, sy);
    const uint32_t* mask = list.MaskRow(index, sy);
    for (int x = 0; x < out.width; ++x) {
      const int sx = spec.xBitmap + x;
      if (sx < 0 || sx >= list.Cx()) continue;
      uint32_t px = alpha ? Unpremultiplied(row[sx]) : row[sx];
      uint32_t a = alpha ? (px >> 24) : 255;
      if (useMask && mask[sx]) {
        if (transparent) {
          a = 0;
        } else {
          px = bk;
          a = 255;
        }
      }
      if (a == 0) continue;
      px &= 0x00FFFFFF;
      if (blend) px = Mix(px, fg, blend);
      if (spec.state & ILS_SATURATE) {
        const uint32_t grey = (((px >> 16) & 0xFF) * 30 + ((px >> 8) & 0xFF) * 59 + (px & 0xFF) * 11) / 100;
        px = (grey << 16) | (grey << 8) | grey;
      }
      if (spec.state & ILS_ALPHA) a = a * spec.alpha / 255;
      Over(out.At(x, y), px | (a << 24));
    }
  }
}

// A memory DC with a 32-bit DIB at least as large as asked, kept per thread.
class Scratch {
 public:
  ~Scratch() {
    if (m_dc) {
      SelectObject(m_dc, m_old);
      DeleteDC(m_dc);
    }
    if (m_bitmap) DeleteObject(m_bitmap);
  }
  // The DC and the bits (rows of `Stride()` pixels) or null.
  HDC Get(int width, int height, uint32_t** bits) {
    if (!m_dc || width > m_width || height > m_height) {
      const int w = std::max(width, m_width);
      const int h = std::max(height, m_height);
      void* memory = nullptr;
      HBITMAP bitmap = MakeSection(w, h, &memory);
      if (!bitmap || !memory) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
      }
      if (!m_dc) {
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, bitmap);
      } else {
        SelectObject(m_dc, bitmap);
        DeleteObject(m_bitmap);
      }
      m_bitmap = bitmap;
      m_bits = static_cast<uint32_t*>(memory);
      m_width = w;
      m_height = h;
    }
    *bits = m_bits;
    return m_dc;
  }
  int Stride() const { return m_width; }

 private:
  HDC m_dc = nullptr;
  HGDIOBJ m_old = nullptr;
  HBITMAP m_bitmap = nullptr;
  uint32_t* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
};

thread_local Scratch t_scratch;

BOOL Blit(HDC dc, int x, int y, const Picture& picture, DWORD rop, bool opaque) {
  uint32_t* bits = nullptr;
  HDC source = t_scratch.Get(picture.width, picture.height, &bits);
  if (!source) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  const int stride = t_scratch.Stride();
  for (int row = 0; row < picture.height; ++row) {
    uint32_t* out = bits + static_cast<size_t>(row) * stride;
    const uint32_t* in = &picture.pixels[static_cast<size_t>(row) * picture.width];
    if (opaque) {
      std::memcpy(out, in, static_cast<size_t>(picture.width) * 4);
      continue;
    }
    for (int col = 0; col < picture.width; ++col) {
      // AlphaBlend takes premultiplied pixels.
      const uint32_t px = in[col];
      const uint32_t a = px >> 24;
      out[col] = (a << 24) | ((((px >> 16) & 0xFF) * a / 255) << 16) | ((((px >> 8) & 0xFF) * a / 255) << 8) |
                 ((px & 0xFF) * a / 255);
    }
  }
  if (opaque) return BitBlt(dc, x, y, picture.width, picture.height, source, 0, 0, rop);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  return AlphaBlend(dc, x, y, picture.width, picture.height, source, 0, 0, picture.width, picture.height,
                    blend);
}

}  // namespace

Picture ComposeImage(const ImageListData& list, int index, const DrawSpec& spec) {
  Picture out(spec.cx, spec.cy);
  const bool transparent = (spec.style & ILD_TRANSPARENT) || spec.bk == CLR_NONE;
  ComposeOne(list, index, spec, transparent, out);
  const int overlay = static_cast<int>((spec.style & ILD_OVERLAYMASK) >> 8);
  if (overlay >= 1 && overlay <= 15) {
    const int image = list.Overlay(overlay);
    if (image >= 0 && image < list.Count()) ComposeOne(list, image, spec, true, out);
  }
  return out;
}

}  // namespace pictavo::comctl::detail

using namespace pictavo::comctl::detail;

BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* params) {
  if (!params || !params->hdcDst) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto list = FindImageList(params->himl);
  if (!list) return FALSE;
  Picture picture;
  bool opaque = true;
  {
    std::lock_guard lock(list->Lock());
    if (params->i < 0 || params->i >= list->Count()) {
      SetLastError(ERROR_INVALID_INDEX);
      return FALSE;
    }
    DrawSpec spec;
    spec.style = params->fStyle;
    spec.bk = params->rgbBk == CLR_DEFAULT ? list->BkColor() : params->rgbBk;
    spec.fg = (params->rgbFg == CLR_DEFAULT || params->rgbFg == CLR_NONE) ? GetSysColor(COLOR_HIGHLIGHT)
                                                                          : params->rgbFg;
    spec.state = params->cbSize >= sizeof(IMAGELISTDRAWPARAMS) ? params->fState : 0;
    spec.alpha = static_cast<BYTE>(std::min<DWORD>(params->Frame, 255));
    spec.xBitmap = params->xBitmap;
    spec.yBitmap = params->yBitmap;
    spec.cx = params->cx > 0 ? std::min(params->cx, list->Cx()) : list->Cx();
    spec.cy = params->cy > 0 ? std::min(params->cy, list->Cy()) : list->Cy();
    if (spec.style & ILD_MASK) {
      // The mask itself: black where the image is, white where it lets through.
      picture = Picture(spec.cx, spec.cy);
      for (int y = 0; y < spec.cy; ++y) {
        const int sy = spec.yBitmap + y;
        if (sy < 0 || sy >= list->Cy()) continue;
        const uint32_t* mask = list->MaskRow(params->i, sy);
        const uint32_t* row = list->ImageRow(params->i, sy);
        const bool alpha = list->HasAlpha(params->i);
        for (int x = 0; x < spec.cx; ++x) {
          const int sx = spec.xBitmap + x;
          if (sx < 0 || sx >= list->Cx()) continue;
          const bool through = list->Masked() ? mask[sx] != 0 : (alpha && (row[sx] >> 24) == 0);
          picture.At(x, y) = through ? 0xFFFFFFFFu : 0xFF000000u;
        }
      }
    } else {
      picture = ComposeImage(*list, params->i, spec);
      opaque = std::all_of(picture.pixels.begin(), picture.pixels.end(),
                           [](uint32_t px) { return (px >> 24) == 255; });
    }
  }
  const DWORD rop = (params->fStyle & ILD_ROP) ? params->dwRop : SRCCOPY;
  return Blit(params->hdcDst, params->x, params->y, picture, rop, opaque || (params->fStyle & ILD_MASK));
}

BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, UINT style) {
  return ImageList_DrawEx(himl, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk,
                      COLORREF fg, UINT style) {
  IMAGELISTDRAWPARAMS params{};
  params.cbSize = sizeof params;
  params.himl = himl;
  params.i = index;
  params.hdcDst = dc;
  params.x = x;
  params.y = y;
  params.cx = dx;
  params.cy = dy;
  params.rgbBk = bk;
  params.rgbFg = fg;
  params.fStyle = style;
  params.dwRop = SRCCOPY;
  return ImageList_DrawIndirect(&params);
}

HICON ImageList_GetIcon(HIMAGELIST himl, int index, UINT flags) {
  auto list = FindImageList(himl);
  if (!list) return nullptr;
  Picture picture;
  {
    std::lock_guard lock(list->Lock());
    if (index < 0 || index >= list->Count()) {
      SetLastError(ERROR_INVALID_INDEX);
      return nullptr;
    }
    DrawSpec spec;
    spec.style = ILD_TRANSPARENT | (flags & (ILD_OVERLAYMASK | ILD_BLEND25 | ILD_BLEND50));
    spec.bk = CLR_NONE;
    spec.fg = GetSysColor(COLOR_HIGHLIGHT);
    spec.cx = list->Cx();
    spec.cy = list->Cy();
    picture = ComposeImage(*list, index, spec);
  }
  Picture mask(picture.width, picture.height);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    mask.pixels[i] = (picture.pixels[i] >> 24) ? 0 : 0x00FFFFFF;
  HBITMAP colorBitmap = MakeBitmap(picture);
  HBITMAP maskBitmap = MakeBitmap(mask);
  ICONINFO info{TRUE, 0, 0, maskBitmap, colorBitmap};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colorBitmap);
  DeleteObject(maskBitmap);
  return icon;
}
