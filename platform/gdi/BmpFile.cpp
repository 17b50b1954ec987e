// BMP files: reading (1/4/8/16/24/32 bits, RLE4/RLE8, bit fields) and writing, and LoadImage.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/res/Templates.h"

namespace pictavo::gdi {
namespace {

uint32_t Read32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// A decoded picture: top-down 0xAARRGGBB pixels and what the file said about itself.
struct Picture {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 24;
  std::vector<RGBQUAD> colors;
  std::vector<uint32_t> pixels;
};

uint32_t MaskShift(uint32_t mask) {
  uint32_t shift = 0;
  while (mask && !(mask & 1)) mask >>= 1, ++shift;
  return shift;
}

uint32_t Expand(uint32_t value, uint32_t mask) {
  if (!mask) return 0;
  uint32_t bits = static_cast<uint32_t>(__builtin_popcount(mask));
  value = (value & mask) >> MaskShift(mask);
  if (bits >= 8) return value >> (bits - 8);
  // Replicate the high bits into the low ones so that full scale stays 255.
  uint32_t out = 0;
  for (int filled = 0; filled < 8; filled += static_cast<int>(bits)) out = (out << bits) | value;
  return out >> (((8 + bits - 1) / bits) * bits - 8);
}

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

bool DecodeRle(const uint8_t* data, size_t size, int bpp, Picture& pic, bool bottomUp) {
  int x = 0, y = 0;  // y counts rows in file order
  size_t i = 0;
  auto put = [&](uint32_t index) {
    if (x < pic.width && y < pic.height) {
      int row = bottomUp ? pic.height - 1 - y : y;
      uint32_t pixel = index < pic.colors.size()
                           ? (pic.colors[index].rgbRed << 16) | (pic.colors[index].rgbGreen << 8) |
                                 pic.colors[index].rgbBlue
                           : 0;
      pic.pixels[static_cast<size_t>(row) * pic.width + x] = pixel;
    }
    ++x;
  };
  while (i + 1 < size) {
    uint8_t count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(bpp == 8 ? value : (k % 2 ? value & 0xF : value >> 4));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return true;
    } else if (value == 2) {  // delta
      if (i + 1 >= size) return false;
      x += data[i];
      y += data[i + 1];
      i += 2;
    } else {  // absolute run
      size_t bytes = bpp == 8 ? value : (value + 1u) / 2;
      if (i + bytes > size) return false;
      for (int k = 0; k < value; ++k)
        put(bpp == 8 ? data[i + k] : (k % 2 ? data[i + k / 2] & 0xF : data[i + k / 2] >> 4));
      i += (bytes + 1) & ~size_t{1};
    }
    if (y > pic.height) return false;
  }
  return true;  // a missing end marker is tolerated
}

bool Decode(const std::vector<uint8_t>& file, Picture& pic) {
  if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M') return Fail(ERROR_BAD_FORMAT);
  uint32_t offBits = Read32(&file[10]);
  const uint8_t* h = &file[14];
  uint32_t headerSize = Read32(h);
  if (headerSize < 12 || 14 + static_cast<size_t>(headerSize) > file.size()) return Fail(ERROR_INVALID_DATA);
  int64_t width, height;
  uint32_t bpp, compression = BI_RGB, colorsUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};
  size_t paletteEntrySize = 4;
  if (headerSize == 12) {
    width = Read16(h + 4);
    height = static_cast<int16_t>(Read16(h + 6));
    bpp = Read16(h + 10);
    paletteEntrySize = 3;
  } else {
    if (headerSize < 40) return Fail(ERROR_INVALID_DATA);
    width = static_cast<int32_t>(Read32(h + 4));
    height = static_cast<int32_t>(Read32(h + 8));
    if (Read16(h + 12) != 1) return Fail(ERROR_INVALID_DATA);
    bpp = Read16(h + 14);
    compression = Read32(h + 16);
    colorsUsed = Read32(h + 32);
    if (compression == BI_BITFIELDS) {
      size_t at = headerSize >= 52 ? 14 + 40 : 14 + headerSize;
      if (at + 12 > file.size()) return Fail(ERROR_INVALID_DATA);
      for (int k = 0; k < 3; ++k) masks[k] = Read32(&file[at + 4 * k]);
      if (headerSize >= 56) masks[3] = Read32(h + 52);
    }
  }
  bool bottomUp = height > 0;
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768) return Fail(ERROR_INVALID_DATA);
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return Fail(ERROR_BAD_FORMAT);
  bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  if ((compression == BI_RLE8 && bpp != 8) || (compression == BI_RLE4 && bpp != 4) ||
      (compression == BI_BITFIELDS && bpp != 16 && bpp != 32) || compression > BI_BITFIELDS ||
      (rle && !bottomUp))
    return Fail(ERROR_BAD_FORMAT);
  pic.width = static_cast<int>(width);
  pic.height = static_cast<int>(height);
  pic.bitsPerPixel = static_cast<int>(bpp);
  if (bpp <= 8) {
    size_t count = colorsUsed ? colorsUsed : (1u << bpp);
    if (count > (1u << bpp)) return Fail(ERROR_INVALID_DATA);
    size_t at = 14 + headerSize + (compression == BI_BITFIELDS && headerSize == 40 ? 12 : 0);
    if (at + count * paletteEntrySize > file.size()) return Fail(ERROR_INVALID_DATA);
    for (size_t k = 0; k < count; ++k) {
      const uint8_t* e = &file[at + k * paletteEntrySize];
      pic.colors.push_back(RGBQUAD{e[0], e[1], e[2], 0});
    }
  }
  if (offBits >= file.size()) return Fail(ERROR_INVALID_DATA);
  pic.pixels.assign(static_cast<size_t>(pic.width) * pic.height, 0);
  const uint8_t* data = &file[offBits];
  size_t available = file.size() - offBits;
  if (rle) {
    if (!DecodeRle(data, available, static_cast<int>(bpp), pic, bottomUp)) return Fail(ERROR_INVALID_DATA);
    return true;
  }
  size_t stride = ((static_cast<size_t>(pic.width) * bpp + 31) / 32) * 4;
  if (stride * pic.height > available) return Fail(ERROR_INVALID_DATA);
  if (compression == BI_RGB && bpp == 16) masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
  if (compression == BI_RGB && bpp == 32)
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0xFF000000;
  for (int y = 0; y < pic.height; ++y) {
    const uint8_t* row = data + stride * static_cast<size_t>(bottomUp ? pic.height - 1 - y : y);
    uint32_t* out = &pic.pixels[static_cast<size_t>(y) * pic.width];
    for (int x = 0; x < pic.width; ++x) {
      uint32_t index = 0;
      switch (bpp) {
        case 1:
          index = (row[x >> 3] >> (7 - (x & 7))) & 1;
          break;
        case 4:
          index = (row[x >> 1] >> (x & 1 ? 0 : 4)) & 0xF;
          break;
        case 8:
          index = row[x];
          break;
        case 24:
          out[x] = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
          continue;
        case 16: {
          uint32_t v = Read16(row + x * 2);
          out[x] = (Expand(v, masks[0]) << 16) | (Expand(v, masks[1]) << 8) | Expand(v, masks[2]);
          continue;
        }
        case 32: {
          uint32_t v = Read32(row + x * 4);
          out[x] = (Expand(v, masks[0]) << 16) | (Expand(v, masks[1]) << 8) | Expand(v, masks[2]) |
                   (masks[3] ? Expand(v, masks[3]) << 24 : 0);
          continue;
        }
      }
      if (index >= pic.colors.size()) index = 0;  // out-of-table indexes show the first colour
      const RGBQUAD& q = pic.colors.empty() ? RGBQUAD{0, 0, 0, 0} : pic.colors[index];
      out[x] = (q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue;
    }
  }
  return true;
}

bool ReadFile(const char* path, std::vector<uint8_t>& bytes) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  std::ifstream in(native, std::ios::binary);
  if (!in) return Fail(ERROR_FILE_NOT_FOUND);
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return Fail(ERROR_READ_FAULT);
  return true;
}

std::shared_ptr<BitmapObject> MakeBitmap(const Picture& pic, bool dibSection) {
  bool blackWhite = pic.bitsPerPixel == 1 && pic.colors.size() == 2 &&
                    std::memcmp(&pic.colors[0], "\0\0\0", 3) == 0 && pic.colors[1].rgbRed == 255 &&
                    pic.colors[1].rgbGreen == 255 && pic.colors[1].rgbBlue == 255;
  std::shared_ptr<BitmapObject> b;
  if (dibSection) {
    DibFormat f;
    f.width = pic.width;
    f.height = pic.height;
    f.bitsPerPixel = pic.bitsPerPixel == 16 ? 24 : pic.bitsPerPixel;
    f.colors = pic.colors;
    if (f.bitsPerPixel <= 8 && f.colors.empty()) f.colors.resize(size_t{1} << f.bitsPerPixel);
    b = BitmapObject::CreateDib(f);
  } else {
    b = BitmapObject::CreateDevice(pic.width, pic.height, blackWhite ? 1 : 32);
  }
  if (!b) return nullptr;
  for (int y = 0; y < pic.height; ++y)
    std::copy_n(&pic.pixels[static_cast<size_t>(y) * pic.width], pic.width, b->surface->Row(y).data());
  b->EndWrite(RECT{0, 0, pic.width, pic.height});
  return b;
}

void MapColors(Picture& pic, UINT flags) {
  if (flags & LR_LOADTRANSPARENT && !pic.pixels.empty()) {
    uint32_t key = pic.pixels[0] & kRgbMask, window = PixelFromColor(GetSysColor(COLOR_WINDOW));
    for (uint32_t& p : pic.pixels)
      if ((p & kRgbMask) == key) p = window;
  }
  if (flags & LR_LOADMAP3DCOLORS) {
    const std::pair<uint32_t, int> map[] = {
        {0x808080, COLOR_3DSHADOW}, {0xC0C0C0, COLOR_3DFACE}, {0xDFDFDF, COLOR_3DLIGHT}};
    for (uint32_t& p : pic.pixels)
      for (auto [grey, index] : map)
        if ((p & kRgbMask) == grey) p = PixelFromColor(GetSysColor(index)) | (p & 0xFF000000u);
  }
}

HBITMAP FromPicture(Picture& pic, int cx, int cy, UINT flags);

HBITMAP LoadFile(const char* path, int cx, int cy, UINT flags) {
  std::vector<uint8_t> bytes;
  Picture pic;
  if (!path || !ReadFile(path, bytes) || !Decode(bytes, pic)) return nullptr;
  return FromPicture(pic, cx, cy, flags);
}

HBITMAP FromPicture(Picture& pic, int cx, int cy, UINT flags) {
  MapColors(pic, flags);
  // Colour mapping changes pixels, not the colour table: such images become true colour.
  if ((flags & (LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS)) && pic.bitsPerPixel <= 8) pic.bitsPerPixel = 24;
  auto b = MakeBitmap(pic, (flags & LR_CREATEDIBSECTION) != 0);
  if (!b) return nullptr;
  HBITMAP handle = static_cast<HBITMAP>(InsertObject(b));
  if (handle && ((cx > 0 && cx != pic.width) || (cy > 0 && cy != pic.height))) {
    HANDLE scaled = CopyImage(handle, IMAGE_BITMAP, cx, cy, (flags & LR_CREATEDIBSECTION) | LR_COPYDELETEORG);
    return static_cast<HBITMAP>(scaled);
  }
  return handle;
}

// A packed DIB (header, colour table, rows) as a BMP file, so one decoder serves both. An icon's
// DIB counts the colour rows and the mask rows in its height: `rows` says how many to take and
// `skipRows` how many of the image's own rows come first (the mask follows the colour image).
std::vector<uint8_t> DibAsFile(std::span<const BYTE> dib, int32_t rows, uint16_t bitCount,
                               size_t bitsOffset) {
  std::vector<uint8_t> file(14 + bitsOffset);
  file[0] = 'B';
  file[1] = 'M';
  const uint32_t off = static_cast<uint32_t>(14 + bitsOffset);
  std::memcpy(&file[10], &off, 4);
  std::memcpy(&file[14], dib.data(), std::min(bitsOffset, dib.size()));
  std::memcpy(&file[14 + 8], &rows, 4);       // biHeight
  std::memcpy(&file[14 + 14], &bitCount, 2);  // biBitCount
  const uint32_t none = 0;
  std::memcpy(&file[14 + 16], &none, 4);  // biCompression: plain rows
  return file;
}

HICON IconFromDib(std::span<const BYTE> dib, const pictavo::res::IconImage& image, bool icon) {
  if (dib.size() < 40) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const uint32_t headerSize = Read32(dib.data());
  const uint16_t bitCount = Read16(dib.data() + 14);
  const uint32_t colorsUsed = Read32(dib.data() + 32);
  const int width = image.width, height = image.height;
  if (headerSize < 40 || width <= 0 || height <= 0 || bitCount == 0 || bitCount > 32) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const size_t paletteCount = bitCount <= 8 ? (colorsUsed ? colorsUsed : size_t{1} << bitCount) : 0;
  const size_t bitsOffset = headerSize + paletteCount * 4;
  const size_t colorStride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  const size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  const size_t colorBytes = colorStride * height, maskBytes = maskStride * height;
  if (dib.size() < bitsOffset + colorBytes) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  // The colour image: the DIB's own header and rows, `height` of them.
  std::vector<uint8_t> colorFile = DibAsFile(dib, height, bitCount, bitsOffset);
  colorFile.insert(colorFile.end(), dib.begin() + bitsOffset, dib.begin() + bitsOffset + colorBytes);
  // The AND mask: 1 bit per pixel with a black/white table, right after the colour rows.
  std::vector<uint8_t> maskFile(14 + 40 + 8, 0);
  maskFile[0] = 'B';
  maskFile[1] = 'M';
  const uint32_t maskOff = 14 + 40 + 8, header40 = 40, one = 1;
  const int32_t w = width, h = height;
  std::memcpy(&maskFile[10], &maskOff, 4);
  std::memcpy(&maskFile[14], &header40, 4);
  std::memcpy(&maskFile[18], &w, 4);
  std::memcpy(&maskFile[22], &h, 4);
  std::memcpy(&maskFile[26], &one, 2);
  const uint16_t bits1 = 1;
  std::memcpy(&maskFile[28], &bits1, 2);
  maskFile[14 + 40 + 4] = maskFile[14 + 40 + 5] = maskFile[14 + 40 + 6] = 0xFF;  // entry 1 white
  const size_t maskStart = bitsOffset + colorBytes;
  if (dib.size() >= maskStart + maskBytes)
    maskFile.insert(maskFile.end(), dib.begin() + maskStart, dib.begin() + maskStart + maskBytes);
  else
    maskFile.resize(maskFile.size() + maskBytes, 0);  // no mask: every pixel opaque

  Picture color, mask;
  if (!Decode(colorFile, color) || !Decode(maskFile, mask)) return nullptr;
  auto colorBitmap = MakeBitmap(color, bitCount == 32);
  auto maskBitmap = MakeBitmap(mask, false);
  if (!colorBitmap || !maskBitmap) return nullptr;
  ICONINFO info{};
  info.fIcon = icon ? TRUE : FALSE;
  info.xHotspot = static_cast<DWORD>(image.hotspot.x);
  info.yHotspot = static_cast<DWORD>(image.hotspot.y);
  info.hbmColor = static_cast<HBITMAP>(InsertObject(colorBitmap));
  info.hbmMask = static_cast<HBITMAP>(InsertObject(maskBitmap));
  HICON result = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return result;
}

// Bitmaps, icons and cursors from the program's resource files (platform/res).
HANDLE LoadResourceImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  using pictavo::res::ImageKind;
  if (type == IMAGE_BITMAP) {
    const std::string* path = pictavo::res::FindImageFile(instance, name, ImageKind::Bitmap);
    return path ? LoadFile(path->c_str(), cx, cy, flags) : nullptr;
  }
  if (type != IMAGE_ICON && type != IMAGE_CURSOR) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const ImageKind kind = type == IMAGE_ICON ? ImageKind::Icon : ImageKind::Cursor;
  const int wantX = cx > 0 ? cx : 32;
  const int wantY = cy > 0 ? cy : 32;
  auto image = pictavo::res::FindIconImage(instance, name, kind, wantX, wantY);
  if (!image) return nullptr;
  if (image->png) {
    SetLastError(ERROR_NOT_SUPPORTED);  // PNG-compressed icon images need a PNG decoder here
    return nullptr;
  }
  return IconFromDib(image->bits, *image, type == IMAGE_ICON);
}

}  // namespace

HBITMAP LoadBmpFile(const char* path, bool createDibSection) {
  return LoadFile(path, 0, 0, createDibSection ? LR_CREATEDIBSECTION : 0);
}

BOOL SaveBmpFile(HBITMAP bitmap, const char* path) {
  auto b = FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
  if (!b || !path) {
    SetLastError(b ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  b->BeginAccess();
  DibFormat f;
  f.width = b->Width();
  f.height = b->Height();
  f.bitsPerPixel = b->bitsPerPixel == 1 ? 1 : (b->isDib && b->bitsPerPixel == 32 ? 32 : 24);
  if (f.bitsPerPixel == 1)
    f.colors =
        b->isDib ? b->format.colors : std::vector<RGBQUAD>{RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  std::vector<uint8_t> out(14 + 40 + f.colors.size() * 4 + f.ImageSize(), 0);
  BITMAPINFOHEADER h = HeaderOf(f);
  uint32_t offBits = static_cast<uint32_t>(14 + 40 + f.colors.size() * 4);
  out[0] = 'B';
  out[1] = 'M';
  uint32_t fileSize = static_cast<uint32_t>(out.size());
  std::memcpy(&out[2], &fileSize, 4);
  std::memcpy(&out[10], &offBits, 4);
  std::memcpy(&out[14], &h, sizeof h);
  if (!f.colors.empty()) std::memcpy(&out[54], f.colors.data(), f.colors.size() * 4);
  for (int y = 0; y < f.height; ++y)
    f.EncodeRow(b->surface->Row(y).data(), f.Row(&out[offBits], y), 0, f.width);
  // Written beside the target and renamed over it, so a failure leaves the old file whole.
  std::string native(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  std::string temp = native + ".tmp" + std::to_string(::getpid());
  FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) return FailWithErrno();
  bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  ok = std::fflush(file) == 0 && ok;
  ok = ::fsync(::fileno(file)) == 0 && ok;
  int closeResult = std::fclose(file);
  if (!ok || closeResult != 0 || std::rename(temp.c_str(), native.c_str()) != 0) {
    int err = errno;
    std::remove(temp.c_str());
    errno = err;
    return FailWithErrno();
  }
  return TRUE;
}

}  // namespace pictavo::gdi

using namespace pictavo::gdi;

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (flags & LR_LOADFROMFILE) {
    if (type != IMAGE_BITMAP) {
      SetLastError(ERROR_NOT_SUPPORTED);
      return nullptr;
    }
    return LoadFile(name, cx, cy, flags);
  }
  return LoadResourceImage(instance, name, type, cx, cy, flags);
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, 0));
}
