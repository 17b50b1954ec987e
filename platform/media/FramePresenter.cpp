#include "platform/media/FramePresenter.h"

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/media/VideoReader.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"

namespace pictavo::media {
namespace {

int Width(const RECT& r) {
  return r.right - r.left;
}
int Height(const RECT& r) {
  return r.bottom - r.top;
}

// Copies or stretches DIB pixels into a DC.
bool DrawDibInto(HDC dc, const RECT& target, const RECT& source, const void* bits, const BITMAPINFO* info) {
  SetStretchBltMode(dc, HALFTONE);
  if (Width(target) == Width(source) && Height(target) == Height(source)) {
    // Scan lines count from the bottom of a bottom-up DIB; SetDIBitsToDevice takes them that way.
    const int dibHeight = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    const int ySource = info->bmiHeader.biHeight < 0 ? source.top : dibHeight - source.bottom;
    return SetDIBitsToDevice(dc, target.left, target.top, static_cast<DWORD>(Width(target)),
                             static_cast<DWORD>(Height(target)), source.left, ySource, 0,
                             static_cast<UINT>(dibHeight), bits, info, DIB_RGB_COLORS) != 0;
  }
  const int ySource = info->bmiHeader.biHeight < 0 ? source.top : info->bmiHeader.biHeight - source.bottom;
  return StretchDIBits(dc, target.left, target.top, Width(target), Height(target), source.left, ySource,
                       Width(source), Height(source), bits, info, DIB_RGB_COLORS, SRCCOPY) != 0;
}

}  // namespace

FramePresenter::~FramePresenter() {
  Release();
}

bool FramePresenter::Create(HWND window, int width, int height) {
  Release();
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (width == 0 && height == 0) {
    RECT client{};
    if (!GetClientRect(window, &client)) return false;
    width = Width(client);
    height = Height(client);
  }
  if (width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_dc = CreateCompatibleDC(nullptr);
  m_bitmap = m_dc ? CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (!m_bitmap) {
    const DWORD error = GetLastError();
    Release();
    SetLastError(error);
    return false;
  }
  m_previous = SelectObject(m_dc, m_bitmap);
  m_window = window;
  m_width = width;
  m_height = height;
  return true;
}

void FramePresenter::Release() {
  if (m_dc) {
    if (m_previous) SelectObject(m_dc, m_previous);
    DeleteDC(m_dc);
  }
  if (m_bitmap) DeleteObject(m_bitmap);
  m_dc = nullptr;
  m_bitmap = nullptr;
  m_previous = nullptr;
  m_window = nullptr;
  m_width = m_height = 0;
}

bool FramePresenter::DrawDib(const RECT& target, const RECT& source, const void* bits,
                             const BITMAPINFO* info) {
  if (!m_dc || !bits || !info) return false;
  return DrawDibInto(m_dc, target, source, bits, info);
}

bool FramePresenter::DrawFrame(const VideoFrame& frame) {
  if (!m_dc || frame.pixels.empty()) return false;
  const BITMAPINFO info = FrameBitmapInfo(frame);
  return DrawDibInto(m_dc, RECT{0, 0, m_width, m_height}, RECT{0, 0, frame.width, frame.height},
                     frame.pixels.data(), &info);
}

bool FramePresenter::Present() {
  if (!m_dc) return false;
  RECT client{};
  if (!GetClientRect(m_window, &client)) return false;
  HDC dc = GetDC(m_window);
  if (!dc) return false;
  SetStretchBltMode(dc, HALFTONE);
  const BOOL done =
      Width(client) == m_width && Height(client) == m_height
          ? BitBlt(dc, 0, 0, m_width, m_height, m_dc, 0, 0, SRCCOPY)
          : StretchBlt(dc, 0, 0, Width(client), Height(client), m_dc, 0, 0, m_width, m_height, SRCCOPY);
  ReleaseDC(m_window, dc);
  return done != FALSE;
}

bool PresentFrame(HWND window, const RECT& dest, const VideoFrame& frame) {
  if (frame.pixels.empty() || Width(dest) <= 0 || Height(dest) <= 0) return false;
  HDC dc = GetDC(window);
  if (!dc) return false;
  const BITMAPINFO info = FrameBitmapInfo(frame);
  const bool done = DrawDibInto(dc, dest, RECT{0, 0, frame.width, frame.height}, frame.pixels.data(), &info);
  ReleaseDC(window, dc);
  return done;
}

}  // namespace pictavo::media
