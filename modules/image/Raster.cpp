#include "modules/image/Raster.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

namespace pictavo::image {

std::string CheckDimensions(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return "picture has no pixels";
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    return "picture too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
  return {};
}

namespace {

// A photo-sized picture faults its pages in one 4 KB page at a time otherwise: whole 2 MB pages
// take a 20 MB picture in ten faults instead of five thousand.
void AdviseHugePages(void* block, size_t bytes) {
  constexpr uintptr_t kHuge = uintptr_t{2} << 20;
  if (bytes < 2 * kHuge) return;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(kHuge - 1);
  if (end > begin) (void)::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

bool Raster::Allocate(int width, int height, bool zero, std::string& error) {
  Reset();
  error = CheckDimensions(width, height);
  if (!error.empty()) return false;
  const size_t stride = StrideFor(width);
  const size_t bytes = sizeof(BITMAPINFOHEADER) + stride * static_cast<size_t>(height);
  Block dib(static_cast<BYTE*>(zero ? std::calloc(1, bytes) : std::malloc(bytes)));
  if (!dib) {
    error = "out of memory";
    return false;
  }
  AdviseHugePages(dib.get(), bytes);
  m_dib = std::move(dib);
  m_width = width;
  m_height = height;
  m_stride = stride;
  BITMAPINFOHEADER* h = Header();
  std::memset(h, 0, sizeof(*h));
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = 24;
  h->biCompression = BI_RGB;
  h->biSizeImage = static_cast<DWORD>(PixelBytes());
  // 96 dpi, the screen's resolution.
  h->biXPelsPerMeter = 3780;
  h->biYPelsPerMeter = 3780;
  if (!zero) ZeroPadding();
  return true;
}

bool Raster::AllocateAlpha(BYTE level) {
  if (!AllocateAlphaUninitialised()) return false;
  std::memset(m_alpha.get(), level, static_cast<size_t>(m_width) * m_height);
  return true;
}

bool Raster::AllocateAlphaUninitialised() {
  if (!m_dib) return false;
  Block alpha(static_cast<BYTE*>(std::malloc(static_cast<size_t>(m_width) * m_height)));
  if (!alpha) return false;
  m_alpha = std::move(alpha);
  return true;
}

void Raster::Reset() {
  m_dib.reset();
  m_alpha.reset();
  m_width = m_height = 0;
  m_stride = 0;
}

bool Raster::Clone(const Raster& other, bool pixels, bool alpha, std::string& error) {
  if (&other == this) return true;
  if (!other.IsValid()) {
    Reset();
    return true;
  }
  Raster copy;
  if (!copy.Allocate(other.m_width, other.m_height, !pixels, error)) return false;
  std::memcpy(copy.Dib(), other.Dib(), pixels ? other.DibBytes() : sizeof(BITMAPINFOHEADER));
  if (alpha && other.HasAlpha()) {
    if (!copy.AllocateAlphaUninitialised()) {
      error = "out of memory";
      return false;
    }
    std::memcpy(copy.Alpha(), other.Alpha(), static_cast<size_t>(other.m_width) * other.m_height);
  }
  *this = std::move(copy);
  return true;
}

void Raster::ZeroPadding() {
  const size_t used = static_cast<size_t>(m_width) * 3;
  if (used == m_stride) return;
  for (int y = 0; y < m_height; ++y) std::memset(Row(y) + used, 0, m_stride - used);
}

}  // namespace pictavo::image
