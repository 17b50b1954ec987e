// Shows frames in a window: a frame is drawn into an offscreen picture of a fixed size, which is
// then stretched onto the window's client area. Used where frames are rendered on a thread of
// their own (the slideshow preview, the full-screen player, video playback); when a presenter
// cannot be created the caller draws with GDI itself.
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo::media {

struct VideoFrame;

// Not locked: one thread at a time; callers serialise Present with their own drawing of the
// same window.
class FramePresenter {
 public:
  FramePresenter() = default;
  ~FramePresenter();
  FramePresenter(const FramePresenter&) = delete;
  FramePresenter& operator=(const FramePresenter&) = delete;

  // Sizes of 0 take the window's client size. False, with the last error set and the presenter
  // released, for a null window or an empty picture size.
  [[nodiscard]] bool Create(HWND window, int width, int height);
  // Harmless when not created.
  void Release();
  bool IsCreated() const { return m_dc != nullptr; }
  HWND Window() const { return m_window; }
  SIZE PictureSize() const { return SIZE{m_width, m_height}; }

  // The offscreen picture's DC, for drawing into it with GDI; null when not created.
  HDC OffscreenDC() const { return m_dc; }
  // Draws a DIB into the offscreen picture: copied when `target` and `source` have the same
  // size, else stretched with HALFTONE. `source` is in DIB coordinates from the top-left.
  bool DrawDib(const RECT& target, const RECT& source, const void* bits, const BITMAPINFO* info);
  // Draws a decoded frame over the whole offscreen picture.
  bool DrawFrame(const VideoFrame& frame);
  // Stretches the offscreen picture onto the window's whole client area. False when not created
  // or the window has no DC any more.
  bool Present();

 private:
  HWND m_window = nullptr;
  int m_width = 0;
  int m_height = 0;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_previous = nullptr;  // what m_dc held before m_bitmap
};

// Draws a frame into `dest` (client coordinates) of a window through its DC, copied when the
// sizes match and stretched with HALFTONE otherwise. Safe from any thread. False when the window
// has no DC (destroyed) or the frame is empty.
bool PresentFrame(HWND window, const RECT& dest, const VideoFrame& frame);

}  // namespace pictavo::media
