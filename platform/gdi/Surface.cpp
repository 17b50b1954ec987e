#include "platform/gdi/Surface.h"

#include <algorithm>
#include <new>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/DeviceContext.h"

namespace pictavo::gdi {

Surface::Surface(int width, int height) : m_width(std::max(width, 0)), m_height(std::max(height, 0)) {
  size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
  std::shared_ptr<uint32_t[]> pixels(new uint32_t[count ? count : 1]());
  m_top = pixels.get();
  m_stride = static_cast<ptrdiff_t>(m_width) * 4;
  m_memory = std::move(pixels);
}

Surface::Surface(void* memory, int width, int height, ptrdiff_t strideBytes, bool bottomUp,
                 std::shared_ptr<void> keepAlive)
    : m_width(width), m_height(height), m_memory(std::move(keepAlive)) {
  auto* first = static_cast<std::byte*>(memory);
  if (bottomUp && height > 0) {
    m_top = reinterpret_cast<uint32_t*>(first + (height - 1) * strideBytes);
    m_stride = -strideBytes;
  } else {
    m_top = reinterpret_cast<uint32_t*>(first);
    m_stride = strideBytes;
  }
}

void Surface::Fill(uint32_t pixel) {
  for (int y = 0; y < m_height; ++y) std::ranges::fill(Row(y), pixel);
}

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, const RECT& clipInSurface) {
  if (!surface) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto dc = std::make_shared<DeviceContext>(false);
  dc->AttachSurface(std::move(surface), origin, clipInSurface);
  return static_cast<HDC>(InsertObject(dc));
}

BOOL SetSystemClip(HDC hdc, HRGN region) {
  DcLock dc(hdc);
  if (!dc || dc->IsMemory()) return FALSE;
  if (!region) {
    dc->SetSystemClip(std::nullopt);
    return TRUE;
  }
  auto r = FindAs<RegionObject>(region, ObjectKind::Region);
  if (!r) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  dc->SetSystemClip(r->Get());
  return TRUE;
}

BOOL SetSurfaceOrigin(HDC hdc, POINT origin, const RECT& clipInSurface) {
  DcLock dc(hdc);
  if (!dc || dc->IsMemory()) return FALSE;
  dc->AttachSurface(dc->TargetShared(), origin, clipInSurface);
  return TRUE;
}

std::shared_ptr<Surface> SurfaceOfDC(HDC hdc) {
  DcLock dc(hdc);
  return dc ? dc->TargetShared() : nullptr;
}

BOOL DeleteSurfaceDC(HDC hdc) {
  auto dc = FindAs<DeviceContext>(hdc, ObjectKind::Dc);
  if (!dc || dc->IsMemory()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return RemoveObject(hdc) ? TRUE : FALSE;
}

}  // namespace pictavo::gdi
