#include "toolkit/core/PlxDrawHelper.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

// A screen area copied into a top-down 32-bit DIB section: pixels are 0x00RRGGBB.
class DibArea {
 public:
  DibArea(HDC target, int x, int y, int cx, int cy) : m_target(target), m_x(x), m_y(y), m_cx(cx), m_cy(cy) {
    if (cx <= 0 || cy <= 0) return;
    m_mem = CreateCompatibleDC(target);
    if (m_mem == nullptr) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_bitmap == nullptr) return;
    m_old = SelectObject(m_mem, m_bitmap);
    m_bits = static_cast<DWORD*>(bits);
    if (!BitBlt(m_mem, 0, 0, cx, cy, target, x, y, SRCCOPY)) m_bits = nullptr;
  }
  ~DibArea() {
    if (m_old != nullptr) SelectObject(m_mem, m_old);
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
    if (m_mem != nullptr) DeleteDC(m_mem);
  }
  DibArea(const DibArea&) = delete;
  DibArea& operator=(const DibArea&) = delete;

  bool Ok() const { return m_bits != nullptr; }
  int Width() const { return m_cx; }
  int Height() const { return m_cy; }
  DWORD* Row(int y) { return m_bits + static_cast<size_t>(y) * m_cx; }
  DWORD* Pixel(int x, int y) {
    // Runs computed from the shadow's geometry can reach past small areas: those pixels are skipped.
    if (x < 0 || y < 0 || x >= m_cx || y >= m_cy) return nullptr;
    return Row(y) + x;
  }
  BOOL PutBack() { return BitBlt(m_target, m_x, m_y, m_cx, m_cy, m_mem, 0, 0, SRCCOPY); }

 private:
  HDC m_target;
  int m_x, m_y, m_cx, m_cy;
  HDC m_mem = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  DWORD* m_bits = nullptr;
};

// DIB pixels keep blue lowest; COLORREF keeps red lowest.
DWORD SwapRB(COLORREF color) {
  return RGB(GetBValue(color), GetGValue(color), GetRValue(color));
}

int Cap(int value) {
  return std::min(value, 255);
}

bool IsLowColor() {
  return g_plxGlobalData.nBitsPerPixel <= 8;
}

}  // namespace

COLORREF CPlxDrawHelper::ScaleColor(COLORREF color, int nPercent) {
  return RGB(Cap(GetRValue(color) * nPercent / 100), Cap(GetGValue(color) * nPercent / 100),
             Cap(GetBValue(color) * nPercent / 100));
}

COLORREF CPlxDrawHelper::ScaleColorChannels(COLORREF color, double kr, double kg, double kb) {
  auto scale = [](int channel, double k) {
    // Black is lightened by how far the factor is above one, so it does not stay black.
    const int value = channel == 0 && k > 1.0 ? static_cast<int>((k - 1.0) * 255 + 0.5)
                                              : static_cast<int>(channel * k + 0.5);
    return Cap(value);
  };
  return RGB(scale(GetRValue(color), kr), scale(GetGValue(color), kg), scale(GetBValue(color), kb));
}

COLORREF CPlxDrawHelper::BlendColors(COLORREF color1, COLORREF color2, int nPercent1) {
  auto blend = [nPercent1](int c1, int c2) { return (nPercent1 * c1 + (100 - nPercent1) * c2) / 100; };
  return RGB(blend(GetRValue(color1), GetRValue(color2)), blend(GetGValue(color1), GetGValue(color2)),
             blend(GetBValue(color1), GetBValue(color2)));
}

void CPlxDrawHelper::RGBtoHSL(COLORREF color, double* h, double* s, double* l) {
  const double r = GetRValue(color) / 255.0;
  const double g = GetGValue(color) / 255.0;
  const double b = GetBValue(color) / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  *l = (max + min) / 2;
  if (max == min) {
    *s = 0;
    *h = 0;
    return;
  }
  const double d = max - min;
  *s = *l >= 0.5 ? d / (2 - max - min) : d / (max + min);
  double hue = r == max ? (g - b) / d : g == max ? (b - r) / d + 2 : (r - g) / d + 4;
  hue /= 6;
  if (hue < 0) hue += 1;
  *h = hue;
}

double CPlxDrawHelper::HueToRGB(double m1, double m2, double h) {
  if (h < 0) h += 1;
  if (h > 1) h -= 1;
  if (6 * h < 1) return m1 + (m2 - m1) * h * 6;
  if (2 * h < 1) return m2;
  if (3 * h < 2) return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
  return m1;
}

COLORREF CPlxDrawHelper::HLStoRGB(double h, double l, double s) {
  if (s == 0) {
    const int grey = static_cast<int>(l * 255);
    return RGB(grey, grey, grey);
  }
  const double m2 = l > 0.5 ? l + s - l * s : l * (1 + s);
  const double m1 = 2 * l - m2;
  return RGB(static_cast<int>(HueToRGB(m1, m2, h + 1.0 / 3.0) * 255),
             static_cast<int>(HueToRGB(m1, m2, h) * 255),
             static_cast<int>(HueToRGB(m1, m2, h - 1.0 / 3.0) * 255));
}

int CPlxDrawHelper::HueToRGB360(float m1, float m2, float h) {
  if (h > 360) h -= 360;
  if (h < 0) h += 360;
  float value = m1;
  if (h < 60)
    value = m1 + (m2 - m1) * h / 60;
  else if (h < 180)
    value = m2;
  else if (h < 240)
    value = m1 + (m2 - m1) * (240 - h) / 60;
  return static_cast<int>(value * 255);
}

COLORREF CPlxDrawHelper::HLStoRGB360(double h, double l, double s) {
  if (s == 0) {
    const int grey = static_cast<int>(l * 255);
    return RGB(grey, grey, grey);
  }
  const float m2 = static_cast<float>(l > 0.5 ? l + s - l * s : l * (1 + s));
  const float m1 = static_cast<float>(2 * l - m2);
  const float hue = static_cast<float>(h);
  return RGB(HueToRGB360(m1, m2, hue + 120), HueToRGB360(m1, m2, hue), HueToRGB360(m1, m2, hue - 120));
}

BOOL CPlxDrawHelper::HighlightRect(CRect rect, int nPercentage, COLORREF clrTransparent, int nTolerance,
                                   COLORREF clrBlend) {
  if (nPercentage == 100 || rect.IsRectEmpty()) return TRUE;
  if (IsLowColor()) {
    FillRect(m_pDC->GetSafeHdc(), &rect, g_plxGlobalData.brLight);
    return TRUE;
  }
  if (clrBlend != (COLORREF)-1 && nPercentage > 100) return FALSE;
  DibArea area(m_pDC->GetSafeHdc(), rect.left, rect.top, rect.Width(), rect.Height());
  if (!area.Ok()) return FALSE;
  const DWORD transparent = SwapRB(clrTransparent) & 0xFFFFFF;
  const COLORREF hilite = g_plxGlobalData.clrBtnHilite;
  const int count = area.Width() * area.Height();
  DWORD* pixels = area.Row(0);
  for (int i = 0; i < count; ++i) {
    const DWORD pixel = pixels[i] & 0xFFFFFF;
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    if (nTolerance > 0) {
      const int tr = (transparent >> 16) & 0xFF, tg = (transparent >> 8) & 0xFF, tb = transparent & 0xFF;
      if (std::abs(r - tr) < nTolerance && std::abs(g - tg) < nTolerance && std::abs(b - tb) < nTolerance)
        continue;
    } else if (clrTransparent != (COLORREF)-1 && pixel == transparent) {
      continue;
    }
    COLORREF result;
    if (nPercentage == -1) {
      result = RGB((GetRValue(hilite) + 2 * r) / 3, (GetGValue(hilite) + 2 * g) / 3,
                   (GetBValue(hilite) + 2 * b) / 3);
    } else if (clrBlend == (COLORREF)-1) {
      const double k = nPercentage / 100.0;
      result = ScaleColorChannels(RGB(r, g, b), k, k, k);
    } else {
      auto mix = [nPercentage](int c, int blend) { return Cap(c + MulDiv(blend - c, nPercentage, 100)); };
      result = RGB(mix(r, GetRValue(clrBlend)), mix(g, GetGValue(clrBlend)), mix(b, GetBValue(clrBlend)));
    }
    pixels[i] = SwapRB(result);
  }
  return area.PutBack();
}

BOOL CPlxDrawHelper::GrayRect(CRect rect, int nPercentage, COLORREF clrTransparent, COLORREF clrDisabled) {
  if (rect.IsRectEmpty()) return TRUE;
  if (IsLowColor()) {
    FillRect(m_pDC->GetSafeHdc(), &rect, g_plxGlobalData.brLight);
    return TRUE;
  }
  DibArea area(m_pDC->GetSafeHdc(), rect.left, rect.top, rect.Width(), rect.Height());
  if (!area.Ok()) return FALSE;
  if (clrDisabled == (COLORREF)-1) clrDisabled = g_plxGlobalData.clrBtnHilite;
  const DWORD transparent = SwapRB(clrTransparent) & 0xFFFFFF;
  const int count = area.Width() * area.Height();
  DWORD* pixels = area.Row(0);
  for (int i = 0; i < count; ++i) {
    const DWORD pixel = pixels[i] & 0xFFFFFF;
    if (clrTransparent != (COLORREF)-1 && pixel == transparent) continue;
    double h = 0, s = 0, l = 0;
    RGBtoHSL(SwapRB(pixel), &h, &s, &l);
    COLORREF grey = HLStoRGB(h, l, 0);
    if (nPercentage == -1) {
      auto half = [](int g, int d) { return Cap(g + (d - g) / 2); };
      grey = RGB(half(GetRValue(grey), GetRValue(clrDisabled)), half(GetGValue(grey), GetGValue(clrDisabled)),
                 half(GetBValue(grey), GetBValue(clrDisabled)));
    } else {
      const double k = nPercentage / 100.0;
      grey = ScaleColorChannels(grey, k, k, k);
    }
    pixels[i] = SwapRB(grey);
  }
  return area.PutBack();
}

void CPlxDrawHelper::MirrorRect(CRect rect, BOOL bHorz) {
  if (rect.IsRectEmpty()) return;
  CRect clip;
  m_pDC->GetClipBox(&clip);
  CRect inside;
  if (!inside.IntersectRect(&clip, &rect) || inside != rect) return;
  DibArea area(m_pDC->GetSafeHdc(), rect.left, rect.top, rect.Width(), rect.Height());
  if (!area.Ok()) return;
  const int cx = area.Width(), cy = area.Height();
  if (bHorz) {
    for (int y = 0; y < cy; ++y) std::reverse(area.Row(y), area.Row(y) + cx);
  } else {
    for (int y = 0; y < cy / 2; ++y) std::swap_ranges(area.Row(y), area.Row(y) + cx, area.Row(cy - 1 - y));
  }
  area.PutBack();
}

void CPlxDrawHelper::FillGradient(CRect rect, COLORREF colorStart, COLORREF colorFinish, BOOL bHorz,
                                  int nStartFlatPercentage, int nEndFlatPercentage) {
  const HDC dc = m_pDC->GetSafeHdc();
  auto fill = [dc](const CRect& band, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  };
  if (colorStart == colorFinish) {
    fill(rect, colorStart);
    return;
  }
  if (nStartFlatPercentage > 0) {
    CRect band = rect;
    if (bHorz) {
      band.bottom = band.top + rect.Height() * nStartFlatPercentage / 100;
      fill(band, colorFinish);
      rect.top = band.bottom;
    } else {
      band.right = band.left + rect.Width() * nStartFlatPercentage / 100;
      fill(band, colorStart);
      rect.left = band.right;
    }
  }
  if (nEndFlatPercentage > 0) {
    CRect band = rect;
    if (bHorz) {
      band.top = band.bottom - rect.Height() * nEndFlatPercentage / 100;
      fill(band, colorStart);
      rect.bottom = band.top;
    } else {
      band.left = band.right - rect.Width() * nEndFlatPercentage / 100;
      fill(band, colorFinish);
      rect.right = band.left;
    }
  }
  if (nStartFlatPercentage + nEndFlatPercentage > 100) return;
  constexpr int kBands = 64;
  auto channel = [](int start, int finish, int i) { return (start * kBands + i * (finish - start)) >> 6; };
  for (int i = 0; i < kBands; ++i) {
    const COLORREF color = RGB(channel(GetRValue(colorStart), GetRValue(colorFinish), i),
                               channel(GetGValue(colorStart), GetGValue(colorFinish), i),
                               channel(GetBValue(colorStart), GetBValue(colorFinish), i));
    CRect band = rect;
    if (bHorz) {
      band.top = rect.bottom - ((rect.Height() * (i + 1)) >> 6);
      band.bottom = rect.bottom - ((rect.Height() * i) >> 6);
    } else {
      band.left = rect.left + ((rect.Width() * i) >> 6);
      band.right = rect.left + ((rect.Width() * (i + 1)) >> 6);
    }
    if (!band.IsRectEmpty()) fill(band, color);
  }
}

BOOL CPlxDrawHelper::DrawShadow(CRect rect, int nDepth, int iMinBrightness, int iMaxBrightness,
                                CBitmap* pBmpSaveBottom, CBitmap* pBmpSaveRight, BOOL bRightShadow,
                                COLORREF clrTint) {
  if (nDepth <= 0 || rect.IsRectEmpty()) return TRUE;
  const HDC dc = m_pDC->GetSafeHdc();
  const int w = rect.Width(), h = rect.Height(), d = nDepth;
  const int sideX = bRightShadow ? rect.right : rect.left - d;
  const int bottomX = bRightShadow ? rect.left : rect.left - d;
  const int areaX = bRightShadow ? rect.left : rect.left - d;

  if (pBmpSaveBottom != nullptr && pBmpSaveRight != nullptr && pBmpSaveBottom->GetSafeHandle() != nullptr &&
      pBmpSaveRight->GetSafeHandle() != nullptr) {
    DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(*pBmpSaveRight)), 0, sideX,
              rect.top, d, h + d, DST_BITMAP);
    DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(*pBmpSaveBottom)), 0,
              bottomX, rect.bottom, w + d, d, DST_BITMAP);
    return TRUE;
  }

  {
    DibArea area(dc, areaX, rect.top, w + d, h + d);
    if (!area.Ok()) return FALSE;
    const int step = (iMaxBrightness - iMinBrightness) / d;
    auto shade = [&](int x, int y, int percent) {
      DWORD* pixel = area.Pixel(bRightShadow ? x : (w + d) - x, y);
      if (pixel == nullptr) return;
      COLORREF color = ScaleColor(SwapRB(*pixel & 0xFFFFFF), percent);
      if (clrTint != (COLORREF)-1) {
        auto tint = [](int t, int c) { return Cap((t + 3 * c) / 4); };
        color = RGB(tint(GetRValue(clrTint), GetRValue(color)), tint(GetGValue(clrTint), GetGValue(color)),
                    tint(GetBValue(clrTint), GetBValue(color)));
      }
      *pixel = SwapRB(color);
    };
    for (int k = 0; k < d; ++k) {
      const int a = iMaxBrightness - (d - k) * step;
      const int b = iMaxBrightness - k * step;
      for (int y = h - 1; y <= h + d - k - 2; ++y) shade(d + k, y, a);
      for (int x = 2 * d - k; x <= w + k - 1; ++x) shade(x, h - 1 + k, b);
      for (int y = 2 * d - k - 1; y <= h + k - 1; ++y) shade(w + k, y, b);
      for (int x = w; x <= w + d - k - 1; ++x) shade(x, d - 1 + k, a);
    }
    if (!area.PutBack()) return FALSE;
  }

  auto save = [&](CBitmap* bitmap, int cx, int cy, int copyCx, int copyCy, int x, int y) {
    if (bitmap == nullptr) return;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP saved = CreateCompatibleBitmap(dc, cx, cy);
    if (mem != nullptr && saved != nullptr) {
      HGDIOBJ old = SelectObject(mem, saved);
      BitBlt(mem, 0, 0, copyCx, copyCy, dc, x, y, SRCCOPY);
      SelectObject(mem, old);
      bitmap->DeleteObject();
      bitmap->Attach(saved);
      saved = nullptr;
    }
    if (saved != nullptr) DeleteObject(saved);
    if (mem != nullptr) DeleteDC(mem);
  };
  save(pBmpSaveRight, d + 1, h + d, d, h + d, sideX, rect.top);
  save(pBmpSaveBottom, w + d, d + 1, w + d, d, bottomX, rect.bottom);
  return TRUE;
}
