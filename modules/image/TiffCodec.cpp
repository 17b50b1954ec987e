// TIFF over libtiff, reading the first page from memory through libtiff's RGBA interface, which
// covers every photometric, bit depth and compression libtiff knows. Messages go to this call's
// error text, never to stderr.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "modules/image/Codec.h"

namespace pictavo::image {
namespace {

// No single buffer libtiff allocates for a picture we accept comes near this.
constexpr tmsize_t kMaxLibtiffAllocation = tmsize_t{1} << 30;
// Rows converted per call; keeps the 32-bit staging buffer small.
constexpr int kBandRows = 64;

struct MemoryFile {
  const BYTE* data;
  toff_t size;
  toff_t pos;
};

tsize_t ReadProc(thandle_t h, tdata_t buffer, tsize_t length) {
  auto* f = static_cast<MemoryFile*>(h);
  if (length <= 0 || f->pos >= f->size) return 0;
  const toff_t n = std::min<toff_t>(static_cast<toff_t>(length), f->size - f->pos);
  std::memcpy(buffer, f->data + f->pos, n);
  f->pos += n;
  return static_cast<tsize_t>(n);
}

tsize_t WriteProc(thandle_t, tdata_t, tsize_t) {
  return -1;
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  toff_t base = 0;
  if (whence == SEEK_CUR)
    base = f->pos;
  else if (whence == SEEK_END)
    base = f->size;
  const auto delta = static_cast<int64_t>(offset);
  if (delta < 0 && static_cast<toff_t>(-delta) > base) return static_cast<toff_t>(-1);
  f->pos = base + offset;
  return f->pos;
}

int CloseProc(thandle_t) {
  return 0;
}
toff_t SizeProc(thandle_t h) {
  return static_cast<MemoryFile*>(h)->size;
}

int MapProc(thandle_t h, tdata_t* base, toff_t* size) {
  auto* f = static_cast<MemoryFile*>(h);
  *base = const_cast<BYTE*>(f->data);
  *size = f->size;
  return 1;
}

void UnmapProc(thandle_t, tdata_t, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* format, va_list args) {
  auto* text = static_cast<std::string*>(user);
  if (text->empty()) {
    char buffer[512];
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    *text = buffer;
  }
  return 1;
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

struct OptionsDeleter {
  void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};
struct TiffDeleter {
  void operator()(TIFF* t) const { TIFFClose(t); }
};
struct RgbaImageEnd {
  void operator()(TIFFRGBAImage* img) const { TIFFRGBAImageEnd(img); }
};

// libtiff hands back alpha multiplied into the colours; the picture keeps them apart.
inline BYTE Unpremultiply(uint32_t c, uint32_t a) {
  return a == 0 ? 0 : static_cast<BYTE>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
}

}  // namespace

bool DecodeTiff(std::span<const BYTE> data, Decoded& out, std::string& error) {
  std::string libtiffError;
  std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(TIFFOpenOptionsAlloc());
  if (!options) {
    error = "TIFF: out of memory";
    return false;
  }
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), OnError, &libtiffError);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), OnWarning, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxLibtiffAllocation);
  MemoryFile file{data.data(), data.size(), 0};
  std::unique_ptr<TIFF, TiffDeleter> tif(TIFFClientOpenExt("memory", "rm", &file, ReadProc, WriteProc,
                                                           SeekProc, CloseProc, SizeProc, MapProc, UnmapProc,
                                                           options.get()));
  const auto fail = [&](const std::string& why) {
    out.raster.Reset();
    error = "TIFF: " + (libtiffError.empty() ? why : libtiffError);
    return false;
  };
  if (!tif) return fail("not a readable TIFF file");
  uint32_t width = 0, height = 0;
  TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
  if (std::string why = CheckDimensions(width, height); !why.empty()) return fail(why);

  char message[1024] = {};
  TIFFRGBAImage img;
  std::memset(&img, 0, sizeof(img));
  if (!TIFFRGBAImageOK(tif.get(), message) || !TIFFRGBAImageBegin(&img, tif.get(), 1, message))
    return fail(message);
  std::unique_ptr<TIFFRGBAImage, RgbaImageEnd> imgGuard(&img);
  img.req_orientation = ORIENTATION_TOPLEFT;

  out.sourceWidth = static_cast<int>(width);
  out.sourceHeight = static_cast<int>(height);
  Raster& raster = out.raster;
  std::string allocError;
  if (!raster.Allocate(out.sourceWidth, out.sourceHeight, false, allocError)) return fail(allocError);
  const bool alpha = img.alpha != 0;
  if (alpha && !raster.AllocateAlphaUninitialised()) return fail("out of memory");

  std::vector<uint32_t> band(static_cast<size_t>(width) * kBandRows);
  for (int top = 0; top < out.sourceHeight; top += kBandRows) {
    const int rows = std::min(kBandRows, out.sourceHeight - top);
    img.row_offset = top;
    img.col_offset = 0;
    if (!TIFFRGBAImageGet(&img, band.data(), width, static_cast<uint32_t>(rows)))
      return fail("damaged image data");
    for (int i = 0; i < rows; ++i) {
      const uint32_t* src = band.data() + static_cast<size_t>(i) * width;
      BYTE* dst = raster.TopRow(top + i);
      if (!alpha) {
        for (uint32_t x = 0; x < width; ++x, dst += 3) {
          dst[0] = static_cast<BYTE>(TIFFGetB(src[x]));
          dst[1] = static_cast<BYTE>(TIFFGetG(src[x]));
          dst[2] = static_cast<BYTE>(TIFFGetR(src[x]));
        }
        continue;
      }
      BYTE* a = raster.AlphaTopRow(top + i);
      for (uint32_t x = 0; x < width; ++x, dst += 3) {
        const uint32_t level = TIFFGetA(src[x]);
        dst[0] = Unpremultiply(TIFFGetB(src[x]), level);
        dst[1] = Unpremultiply(TIFFGetG(src[x]), level);
        dst[2] = Unpremultiply(TIFFGetR(src[x]), level);
        a[x] = static_cast<BYTE>(level);
      }
    }
  }
  return true;
}

}  // namespace pictavo::image
