// Device contexts: where drawing goes (a window surface at an origin, or a memory DC's bitmap),
// the selected objects and the drawing state SaveDC keeps.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/gdi/Objects.h"

namespace pictavo::gdi {

struct DcState {
  std::shared_ptr<PenObject> pen;
  std::shared_ptr<BrushObject> brush;
  std::shared_ptr<FontObject> font;
  std::shared_ptr<BitmapObject> bitmap;  // memory DCs only
  std::shared_ptr<PaletteObject> palette;
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  COLORREF dcBrushColor = 0xFFFFFF;
  COLORREF dcPenColor = 0;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  int polyFillMode = ALTERNATE;
  int mapMode = MM_TEXT;
  UINT textAlign = TA_LEFT | TA_TOP;
  int charExtra = 0;
  POINT brushOrg{0, 0};
  POINT viewportOrg{0, 0};
  POINT windowOrg{0, 0};
  POINT position{0, 0};
  std::optional<RegionData> clip;  // device coordinates
};

class DeviceContext : public GdiObject {
 public:
  explicit DeviceContext(bool memory);
  ~DeviceContext() override;

  // Every call on the DC holds this for its whole duration.
  std::mutex& Lock() { return m_lock; }

  bool IsMemory() const { return m_memory; }
  // The surface drawn into (null when there is none).
  Surface* Target() const;
  std::shared_ptr<Surface> TargetShared() const;
  BitmapObject* TargetBitmap() const { return m_memory ? state.bitmap.get() : nullptr; }
  bool IsMonochrome() const { return m_memory && state.bitmap && state.bitmap->IsMonoDevice(); }

  void AttachSurface(std::shared_ptr<Surface> surface, POINT origin, const RECT& clipInSurface);
  void SetSystemClip(std::optional<RegionData> region);
  void ClipChanged() { m_clipValid = false; }

  // Logical point to surface point.
  int SurfaceX(int x) const { return x - state.windowOrg.x + state.viewportOrg.x + Origin().x; }
  int SurfaceY(int y) const { return y - state.windowOrg.y + state.viewportOrg.y + Origin().y; }
  POINT ToSurface(POINT p) const { return POINT{SurfaceX(p.x), SurfaceY(p.y)}; }
  RECT ToSurface(const RECT& r) const;
  // Device point (window-relative) to surface point.
  POINT Origin() const { return m_memory ? POINT{0, 0} : m_origin; }
  // The brush origin in surface coordinates.
  POINT PatternOrigin() const { return POINT{state.brushOrg.x + Origin().x, state.brushOrg.y + Origin().y}; }

  // Everything that may be drawn, in surface coordinates.
  const RegionData& Clip();

  DcState state;               // guarded by Lock()
  std::vector<DcState> saved;  // guarded by Lock()

 private:
  std::mutex m_lock;
  const bool m_memory;
  std::shared_ptr<Surface> m_surface;  // window DCs
  POINT m_origin{0, 0};
  RECT m_surfaceClip{0, 0, 0, 0};
  std::optional<RegionData> m_systemClip;  // device coordinates
  RegionData m_clip;                       // cached effective clip, surface coordinates
  bool m_clipValid = false;
  const Surface* m_clipFor = nullptr;
};

// A DC found by handle and locked for the duration of one call.
class DcLock {
 public:
  explicit DcLock(HDC dc);
  DcLock(const DcLock&) = delete;
  DcLock& operator=(const DcLock&) = delete;
  explicit operator bool() const { return m_dc != nullptr; }
  DeviceContext* operator->() const { return m_dc.get(); }
  DeviceContext& operator*() const { return *m_dc; }

 private:
  std::shared_ptr<DeviceContext> m_dc;
  std::unique_lock<std::mutex> m_lock;
};

// Two DCs (source and destination of a blit) locked together without risk of deadlock.
class DcPairLock {
 public:
  DcPairLock(HDC dest, HDC src);
  explicit operator bool() const { return m_dest && m_src; }
  DeviceContext& Dest() const { return *m_dest; }
  DeviceContext& Src() const { return *m_src; }

 private:
  std::shared_ptr<DeviceContext> m_dest;
  std::shared_ptr<DeviceContext> m_src;
  std::unique_lock<std::mutex> m_first;
  std::unique_lock<std::mutex> m_second;
};

// Drawing into a DC's target: makes a DIB section's pixels current before and writes the touched
// area back after. `Touch` records what was written (surface coordinates).
class DrawScope {
 public:
  explicit DrawScope(DeviceContext& dc);
  ~DrawScope();
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;
  explicit operator bool() const { return m_surface != nullptr; }
  Surface& Target() const { return *m_surface; }
  const RegionData& Clip() const { return *m_clip; }
  bool Mono() const { return m_mono; }
  void Touch(const RECT& area);

 private:
  Surface* m_surface;
  BitmapObject* m_bitmap;
  const RegionData* m_clip;
  bool m_mono;
  RECT m_touched{0, 0, 0, 0};
};

}  // namespace pictavo::gdi
