#include "platform/gdi/DeviceContext.h"

#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

namespace pictavo::gdi {

DeviceContext::DeviceContext(bool memory) : GdiObject(ObjectKind::Dc), m_memory(memory) {
  state.pen = FindAs<PenObject>(GetStockObject(BLACK_PEN), ObjectKind::Pen);
  state.brush = FindAs<BrushObject>(GetStockObject(WHITE_BRUSH), ObjectKind::Brush);
  state.font = FindAs<FontObject>(GetStockObject(SYSTEM_FONT), ObjectKind::Font);
  state.palette = FindAs<PaletteObject>(GetStockObject(DEFAULT_PALETTE), ObjectKind::Palette);
  if (memory) state.bitmap = StockBitmap();
}

DeviceContext::~DeviceContext() {
  // The selected bitmap may go into another DC now.
  if (state.bitmap) {
    const void* self = this;
    state.bitmap->selectedInto.compare_exchange_strong(self, nullptr);
  }
}

Surface* DeviceContext::Target() const {
  if (m_memory) return state.bitmap ? state.bitmap->surface.get() : nullptr;
  return m_surface.get();
}

std::shared_ptr<Surface> DeviceContext::TargetShared() const {
  if (m_memory) return state.bitmap ? state.bitmap->surface : nullptr;
  return m_surface;
}

void DeviceContext::AttachSurface(std::shared_ptr<Surface> surface, POINT origin, const RECT& clipInSurface) {
  m_surface = std::move(surface);
  m_origin = origin;
  m_surfaceClip = clipInSurface;
  m_systemClip.reset();
  m_clipValid = false;
}

void DeviceContext::SetSystemClip(std::optional<RegionData> region) {
  m_systemClip = std::move(region);
  m_clipValid = false;
}

RECT DeviceContext::ToSurface(const RECT& r) const {
  return RECT{SurfaceX(r.left), SurfaceY(r.top), SurfaceX(r.right), SurfaceY(r.bottom)};
}

const RegionData& DeviceContext::Clip() {
  const Surface* target = Target();
  if (m_clipValid && m_clipFor == target) return m_clip;
  m_clipFor = target;
  m_clipValid = true;
  if (!target) {
    m_clip.Clear();
    return m_clip;
  }
  RECT bounds = target->Bounds();
  if (!m_memory) {
    bounds.left = std::max(bounds.left, m_surfaceClip.left);
    bounds.top = std::max(bounds.top, m_surfaceClip.top);
    bounds.right = std::min(bounds.right, m_surfaceClip.right);
    bounds.bottom = std::min(bounds.bottom, m_surfaceClip.bottom);
  }
  m_clip.SetRect(bounds);
  POINT origin = Origin();
  for (const std::optional<RegionData>* extra : {&m_systemClip, &state.clip}) {
    if (!extra->has_value() || (m_memory && extra == &m_systemClip)) continue;
    RegionData shifted = **extra;
    shifted.Offset(origin.x, origin.y);
    m_clip = RegionData::Combine(m_clip, shifted, RGN_AND);
  }
  return m_clip;
}

DcLock::DcLock(HDC dc) : m_dc(FindAs<DeviceContext>(dc, ObjectKind::Dc)) {
  if (!m_dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return;
  }
  m_lock = std::unique_lock(m_dc->Lock());
}

DcPairLock::DcPairLock(HDC dest, HDC src)
    : m_dest(FindAs<DeviceContext>(dest, ObjectKind::Dc)), m_src(FindAs<DeviceContext>(src, ObjectKind::Dc)) {
  if (!m_dest || !m_src) {
    SetLastError(ERROR_INVALID_HANDLE);
    m_dest.reset();
    m_src.reset();
    return;
  }
  if (m_dest == m_src) {
    m_first = std::unique_lock(m_dest->Lock());
    return;
  }
  // A fixed order (by address) keeps two threads blitting between the same DCs from deadlocking.
  std::mutex* a = &m_dest->Lock();
  std::mutex* b = &m_src->Lock();
  if (b < a) std::swap(a, b);
  m_first = std::unique_lock(*a);
  m_second = std::unique_lock(*b);
}

DrawScope::DrawScope(DeviceContext& dc)
    : m_surface(dc.Target()), m_bitmap(dc.TargetBitmap()), m_clip(&dc.Clip()), m_mono(dc.IsMonochrome()) {
  if (m_bitmap) m_bitmap->BeginAccess();
}

DrawScope::~DrawScope() {
  if (m_bitmap && m_touched.left < m_touched.right && m_touched.top < m_touched.bottom)
    m_bitmap->EndWrite(m_touched);
}

void DrawScope::Touch(const RECT& area) {
  if (area.left >= area.right || area.top >= area.bottom) return;
  if (m_touched.left >= m_touched.right) {
    m_touched = area;
    return;
  }
  m_touched.left = std::min(m_touched.left, area.left);
  m_touched.top = std::min(m_touched.top, area.top);
  m_touched.right = std::max(m_touched.right, area.right);
  m_touched.bottom = std::max(m_touched.bottom, area.bottom);
}

}  // namespace pictavo::gdi
