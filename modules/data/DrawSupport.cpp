#include "modules/data/DrawSupport.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "platform/kernel/Unicode.h"

namespace pictavo::data {

void EnsureGdiplus() {
  static std::once_flag started;
  std::call_once(started, [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
      WriteErrorLog("Drawing: GDI+ could not be started; texts and clip art are not drawn");
  });
}

std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = pictavo::unicode::DecodeUtf8(utf8, i);
    out.push_back(static_cast<wchar_t>(c == pictavo::unicode::kInvalid ? pictavo::unicode::kReplacement : c));
  }
  return out;
}

Gdiplus::Color ColorOf(COLORREF colour, BYTE alpha) {
  return Gdiplus::Color(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

std::unique_ptr<Gdiplus::Bitmap> BitmapOf(CxImage& picture) {
  if (!picture.IsValid()) return nullptr;
  const int w = static_cast<int>(picture.GetWidth());
  const int h = static_cast<int>(picture.GetHeight());
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
  Gdiplus::BitmapData data{};
  const Gdiplus::Rect all(0, 0, w, h);
  if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, Gdiplus::PixelFormat32bppARGB, &data) !=
      Gdiplus::Ok)
    return nullptr;
  const bool alpha = picture.AlphaIsValid();
  for (int y = 0; y < h; ++y) {
    const BYTE* from = picture.GetBits(static_cast<DWORD>(h - 1 - y));
    auto* to =
        reinterpret_cast<uint32_t*>(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
    for (int x = 0; x < w; ++x) {
      const uint32_t a = alpha ? picture.AlphaGet(x, h - 1 - y) : 255u;
      to[x] = (a << 24) | (static_cast<uint32_t>(from[x * 3 + 2]) << 16) |
              (static_cast<uint32_t>(from[x * 3 + 1]) << 8) | from[x * 3];
    }
  }
  bitmap->UnlockBits(&data);
  return bitmap;
}

FrameGraphics::FrameGraphics(CxImage& frame) {
  EnsureGdiplus();
  if (!frame.IsValid()) return;
  const int w = static_cast<int>(frame.GetWidth());
  const int h = static_cast<int>(frame.GetHeight());
  // The top row is the last in memory: a negative stride walks down the picture.
  m_bitmap = std::make_unique<Gdiplus::Bitmap>(w, h, -static_cast<INT>(frame.GetEffWidth()),
                                               Gdiplus::PixelFormat24bppRGB,
                                               frame.GetBits(static_cast<DWORD>(h - 1)));
  if (m_bitmap->GetLastStatus() != Gdiplus::Ok) {
    m_bitmap.reset();
    return;
  }
  m_graphics.reset(Gdiplus::Graphics::FromImage(m_bitmap.get()));
  m_graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  m_graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  m_graphics->SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
}

FrameGraphics::~FrameGraphics() {
  if (m_graphics) m_graphics->Flush(Gdiplus::FlushIntentionSync);
  m_graphics.reset();
  m_bitmap.reset();
}

Layer::Layer(int width, int height)
    : m_width(std::max(1, width)),
      m_height(std::max(1, height)),
      m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), 0u) {
  EnsureGdiplus();
}

Layer::~Layer() = default;

Gdiplus::Graphics* Layer::Graphics() {
  if (!m_graphics) {
    m_bitmap =
        std::make_unique<Gdiplus::Bitmap>(m_width, m_height, m_width * 4, Gdiplus::PixelFormat32bppPARGB,
                                          reinterpret_cast<BYTE*>(m_pixels.data()));
    m_graphics.reset(Gdiplus::Graphics::FromImage(m_bitmap.get()));
    m_graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    m_graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    m_graphics->SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
  }
  return m_graphics.get();
}

void Layer::Finish() {
  if (m_graphics) m_graphics->Flush(Gdiplus::FlushIntentionSync);
  m_graphics.reset();
  m_bitmap.reset();
  m_box = RECT{m_width, m_height, 0, 0};
  for (int y = 0; y < m_height; ++y) {
    const uint32_t* row = m_pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_width);
    for (int x = 0; x < m_width; ++x) {
      if ((row[x] >> 24) == 0) continue;
      m_box.left = std::min<LONG>(m_box.left, x);
      m_box.right = std::max<LONG>(m_box.right, x + 1);
      m_box.top = std::min<LONG>(m_box.top, y);
      m_box.bottom = std::max<LONG>(m_box.bottom, y + 1);
    }
  }
}

void Layer::Compose(CxImage& frame, int dx, int dy, int opacity) const {
  if (!frame.IsValid() || IsEmpty() || opacity <= 0) return;
  opacity = std::min(opacity, 256);
  const int fw = static_cast<int>(frame.GetWidth());
  const int fh = static_cast<int>(frame.GetHeight());
  const int x0 = std::max<int>(m_box.left, -dx);
  const int x1 = std::min<int>(m_box.right, fw - dx);
  const int y0 = std::max<int>(m_box.top, -dy);
  const int y1 = std::min<int>(m_box.bottom, fh - dy);
  for (int y = y0; y < y1; ++y) {
    const uint32_t* src = m_pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_width);
    BYTE* dst = frame.GetBits(static_cast<DWORD>(fh - 1 - (y + dy)));
    for (int x = x0; x < x1; ++x) {
      const uint32_t p = src[x];
      uint32_t a = p >> 24;
      if (a == 0) continue;
      uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (opacity < 256) {
        a = (a * static_cast<uint32_t>(opacity)) >> 8;
        r = (r * static_cast<uint32_t>(opacity)) >> 8;
        g = (g * static_cast<uint32_t>(opacity)) >> 8;
        b = (b * static_cast<uint32_t>(opacity)) >> 8;
      }
      BYTE* d = dst + (x + dx) * 3;
      const uint32_t keep = 255 - a;
      // Premultiplied over: source plus what the destination keeps.
      d[0] = static_cast<BYTE>(b + (d[0] * keep + 127) / 255);
      d[1] = static_cast<BYTE>(g + (d[1] * keep + 127) / 255);
      d[2] = static_cast<BYTE>(r + (d[2] * keep + 127) / 255);
    }
  }
}

void ScaleBrightness(CxImage& frame, int gain) {
  if (!frame.IsValid() || gain >= 256) return;
  gain = std::max(gain, 0);
  const DWORD rows = frame.GetHeight();
  const size_t bytes = static_cast<size_t>(frame.GetWidth()) * 3;
  for (DWORD y = 0; y < rows; ++y) {
    BYTE* row = frame.GetBits(y);
    for (size_t i = 0; i < bytes; ++i) row[i] = static_cast<BYTE>((row[i] * gain + 128) >> 8);
  }
}

}  // namespace pictavo::data
