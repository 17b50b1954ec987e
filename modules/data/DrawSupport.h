// What the data model's drawing shares: GDI+ started once, text widened for GDI+, a frame
// (CxImage) drawn on through GDI+, and transparent layers made once and laid over many frames.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdiplus/GdiPlus.h"

class CxImage;

namespace pictavo::data {

// Starts GDI+ for the data model the first time it is called (any thread); the token is kept
// for the process's life.
void EnsureGdiplus();

std::wstring Widen(std::string_view utf8);
Gdiplus::Color ColorOf(COLORREF colour, BYTE alpha = 255);
// A 32-bit copy of a picture with its alpha plane (opaque without one); null for an empty one.
std::unique_ptr<Gdiplus::Bitmap> BitmapOf(CxImage& picture);

// GDI+ drawing straight into a 24-bit picture's pixels (anti-aliased, text too). The drawing is
// in the picture once this object is gone.
class FrameGraphics {
 public:
  explicit FrameGraphics(CxImage& frame);
  ~FrameGraphics();
  FrameGraphics(const FrameGraphics&) = delete;
  FrameGraphics& operator=(const FrameGraphics&) = delete;

  // Null for an empty picture.
  Gdiplus::Graphics* Get() { return m_graphics.get(); }

 private:
  std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
  std::unique_ptr<Gdiplus::Graphics> m_graphics;
};

// A transparent picture drawn once with GDI+ and then laid over frames of its size with integer
// arithmetic, touching only the rows and columns that hold something.
class Layer {
 public:
  Layer(int width, int height);
  ~Layer();
  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // For drawing, until Finish.
  Gdiplus::Graphics* Graphics();
  // Ends drawing and finds what the layer covers.
  void Finish();
  bool IsEmpty() const { return m_box.right <= m_box.left || m_box.bottom <= m_box.top; }

  // Lays the layer over `frame` with its top-left corner at (dx, dy) of the frame, its alpha
  // scaled by opacity / 256 (0..256). Parts outside the frame are left out.
  void Compose(CxImage& frame, int dx = 0, int dy = 0, int opacity = 256) const;

 private:
  int m_width;
  int m_height;
  std::vector<uint32_t> m_pixels;  // premultiplied 0xAARRGGBB, rows going down
  std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
  std::unique_ptr<Gdiplus::Graphics> m_graphics;
  RECT m_box{};  // what is not fully transparent
};

// Multiplies every colour of the picture by gain / 256 (0..256): fades to black.
void ScaleBrightness(CxImage& frame, int gain);

}  // namespace pictavo::data
