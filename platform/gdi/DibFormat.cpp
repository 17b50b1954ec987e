#include "platform/gdi/DibFormat.h"

#include <cstring>

namespace pictavo::gdi {

std::optional<DibFormat> DibFormat::FromInfo(const BITMAPINFO* info) {
  if (!info) return std::nullopt;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 256 || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biPlanes != 1)
    return std::nullopt;
  if (h.biWidth > 65536 || h.biHeight > 65536 || h.biHeight < -65536) return std::nullopt;
  DibFormat f;
  f.width = h.biWidth;
  f.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  f.topDown = h.biHeight < 0;
  f.bitsPerPixel = h.biBitCount;
  switch (h.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return std::nullopt;
  }
  const uint8_t* after = reinterpret_cast<const uint8_t*>(info) + h.biSize;
  if (h.biCompression == BI_BITFIELDS) {
    if (h.biBitCount != 32 && h.biBitCount != 16) return std::nullopt;
    DWORD masks[3];
    // The masks follow a plain 40-byte header; larger headers carry them inside.
    std::memcpy(masks,
                h.biSize == sizeof(BITMAPINFOHEADER) ? after : reinterpret_cast<const uint8_t*>(info) + 40,
                sizeof masks);
    bool standard32 = h.biBitCount == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
    bool standard16 = h.biBitCount == 16 && masks[0] == 0x7C00 && masks[1] == 0x3E0 && masks[2] == 0x1F;
    if (!standard32 && !standard16) return std::nullopt;
  } else if (h.biCompression != BI_RGB) {
    return std::nullopt;
  }
  if (h.biBitCount <= 8) {
    size_t count = h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount);
    if (count > (1u << h.biBitCount)) return std::nullopt;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(after);
    f.colors.assign(table, table + count);
  }
  return f;
}

void DibFormat::DecodeRow(const uint8_t* src, uint32_t* out, int first, int count) const {
  switch (bitsPerPixel) {
    case 32:
      for (int i = 0; i < count; ++i) {
        uint32_t v;
        std::memcpy(&v, src + (first + i) * 4, 4);
        out[i] = v;
      }
      return;
    case 24:
      for (int i = 0; i < count; ++i) {
        const uint8_t* p = src + (first + i) * 3;
        out[i] = p[0] | (p[1] << 8) | (p[2] << 16);
      }
      return;
    case 16:
      for (int i = 0; i < count; ++i) {
        const uint8_t* p = src + (first + i) * 2;
        uint32_t v = p[0] | (p[1] << 8);
        uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        out[i] = ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
      }
      return;
    case 8:
      for (int i = 0; i < count; ++i) out[i] = ColorPixel(src[first + i]);
      return;
    case 4:
      for (int i = 0; i < count; ++i) {
        int x = first + i;
        out[i] = ColorPixel((src[x >> 1] >> (x & 1 ? 0 : 4)) & 0xF);
      }
      return;
    case 1:
      for (int i = 0; i < count; ++i) {
        int x = first + i;
        out[i] = ColorPixel((src[x >> 3] >> (7 - (x & 7))) & 1);
      }
      return;
  }
}

uint8_t DibFormat::NearestIndex(uint32_t pixel) const {
  int best = 0;
  long bestDistance = -1;
  int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  for (size_t i = 0; i < colors.size(); ++i) {
    long dr = r - colors[i].rgbRed, dg = g - colors[i].rgbGreen, db = b - colors[i].rgbBlue;
    long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
      if (distance == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

void DibFormat::EncodeRow(const uint32_t* in, uint8_t* dst, int first, int count) const {
  switch (bitsPerPixel) {
    case 32:
      std::memcpy(dst + first * 4, in, static_cast<size_t>(count) * 4);
      return;
    case 24:
      for (int i = 0; i < count; ++i) {
        uint8_t* p = dst + (first + i) * 3;
        p[0] = static_cast<uint8_t>(in[i]);
        p[1] = static_cast<uint8_t>(in[i] >> 8);
        p[2] = static_cast<uint8_t>(in[i] >> 16);
      }
      return;
    case 16:
      for (int i = 0; i < count; ++i) {
        uint32_t v = ((in[i] >> 9) & 0x7C00) | ((in[i] >> 6) & 0x3E0) | ((in[i] >> 3) & 0x1F);
        dst[(first + i) * 2] = static_cast<uint8_t>(v);
        dst[(first + i) * 2 + 1] = static_cast<uint8_t>(v >> 8);
      }
      return;
  }
  uint32_t lastPixel = 0;
  uint8_t lastIndex = NearestIndex(0);
  for (int i = 0; i < count; ++i) {
    uint32_t pixel = in[i] & 0xFFFFFF;
    if (pixel != lastPixel) {
      lastPixel = pixel;
      lastIndex = NearestIndex(pixel);
    }
    int x = first + i;
    switch (bitsPerPixel) {
      case 8:
        dst[x] = lastIndex;
        break;
      case 4: {
        int shift = x & 1 ? 0 : 4;
        dst[x >> 1] = static_cast<uint8_t>((dst[x >> 1] & ~(0xF << shift)) | (lastIndex << shift));
        break;
      }
      case 1: {
        int shift = 7 - (x & 7);
        dst[x >> 3] = static_cast<uint8_t>((dst[x >> 3] & ~(1 << shift)) | ((lastIndex & 1) << shift));
        break;
      }
    }
  }
}

BITMAPINFOHEADER HeaderOf(const DibFormat& format) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = format.width;
  h.biHeight = format.topDown ? -format.height : format.height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(format.bitsPerPixel);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(format.ImageSize());
  h.biClrUsed = static_cast<DWORD>(format.colors.size());
  return h;
}

}  // namespace pictavo::gdi
