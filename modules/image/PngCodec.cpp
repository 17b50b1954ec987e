// PNG over libpng. Reading uses the classic interface so that every variant (palette, grey,
// 1 to 16 bits, transparency chunks, interlacing) becomes 8-bit BGR with the stored values,
// without gamma conversions; writing uses the simplified interface. libpng reports fatal errors
// by longjmp, so the read body is a C-style function: everything with a destructor lives in the
// caller's job record.
#include <png.h>

#include <cstring>

#include "modules/image/Codec.h"

namespace pictavo::image {
namespace {

// Deflate cannot shrink data by more than about 1032:1, so a file much smaller than its declared
// pixels could ever compress to is damaged; it is refused before the pixels are allocated.
constexpr uint64_t kMaxDeflateRatio = 1032;

struct ReadJob {
  std::span<const BYTE> data;
  size_t pos = 0;
  Decoded* out = nullptr;
  std::string error;
  std::vector<BYTE> bgra;  // staging for pictures with alpha
  std::vector<BYTE*> rows;
  png_structp png = nullptr;
  png_infop info = nullptr;
};

void OnRead(png_structp png, png_bytep out, size_t length) {
  auto* job = static_cast<ReadJob*>(png_get_io_ptr(png));
  if (length > job->data.size() - job->pos) png_error(png, "file is truncated");
  std::memcpy(out, job->data.data() + job->pos, length);
  job->pos += length;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* job = static_cast<ReadJob*>(png_get_error_ptr(png));
  job->error = message ? message : "damaged file";
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Only trivially destructible locals below: a longjmp lands back in this frame.
bool RunRead(ReadJob& job) {
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, OnError, OnWarning);
  if (!job.png) return (job.error = "out of memory", false);
  job.info = png_create_info_struct(job.png);
  if (!job.info) {
    png_destroy_read_struct(&job.png, nullptr, nullptr);
    return (job.error = "out of memory", false);
  }
  png_structp png = job.png;
  png_infop info = job.info;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    return false;
  }
  png_set_read_fn(png, &job, OnRead);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
  job.error = CheckDimensions(width, height);
  if (!job.error.empty()) png_longjmp(png, 1);
  // The smallest a row can be: one filter byte plus one bit per pixel.
  const uint64_t minRaw = uint64_t{height} * (1 + (uint64_t{width} + 7) / 8);
  if (minRaw > job.data.size() * kMaxDeflateRatio + 1024) png_error(png, "file is truncated");

  const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_scale_16(png);
  if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);

  Decoded& out = *job.out;
  out.sourceWidth = static_cast<int>(width);
  out.sourceHeight = static_cast<int>(height);
  Raster& raster = out.raster;
  if (!raster.Allocate(out.sourceWidth, out.sourceHeight, false, job.error)) png_longjmp(png, 1);
  const int h = out.sourceHeight, w = out.sourceWidth;
  job.rows.resize(h);
  if (!alpha) {
    for (int y = 0; y < h; ++y) job.rows[y] = raster.TopRow(y);
    png_read_image(png, job.rows.data());
  } else {
    if (!raster.AllocateAlphaUninitialised()) png_error(png, "out of memory");
    // Interlaced pictures need every row at hand for the later passes.
    const int staged = passes > 1 ? h : 1;
    job.bgra.resize(static_cast<size_t>(w) * 4 * staged);
    for (int y = 0; y < staged; ++y) job.rows[y] = job.bgra.data() + static_cast<size_t>(y) * w * 4;
    if (passes > 1) png_read_image(png, job.rows.data());
    for (int y = 0; y < h; ++y) {
      const BYTE* src = passes > 1 ? job.rows[y] : job.bgra.data();
      if (passes == 1) png_read_row(png, job.bgra.data(), nullptr);
      BYTE* dst = raster.TopRow(y);
      BYTE* a = raster.AlphaTopRow(y);
      for (int x = 0; x < w; ++x, src += 4, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        a[x] = src[3];
      }
    }
  }
  png_read_end(png, nullptr);
  png_destroy_read_struct(&job.png, &job.info, nullptr);
  raster.ZeroPadding();
  return true;
}

}  // namespace

bool DecodePng(std::span<const BYTE> data, Decoded& out, std::string& error) {
  ReadJob job;
  job.data = data;
  job.out = &out;
  try {
    if (RunRead(job)) return true;
  } catch (...) {  // out of memory while staging rows
    if (job.png) png_destroy_read_struct(&job.png, &job.info, nullptr);
    out.raster.Reset();
    throw;
  }
  out.raster.Reset();
  error = "PNG: " + job.error;
  return false;
}

bool EncodePng(const Raster& raster, std::vector<BYTE>& out, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(raster.Width());
  image.height = static_cast<png_uint_32>(raster.Height());
  std::vector<BYTE> bgra;
  const void* pixels = raster.Pixels();
  png_int_32 stride = -static_cast<png_int_32>(raster.Stride());
  if (raster.HasAlpha()) {
    image.format = PNG_FORMAT_BGRA;
    const int width = raster.Width();
    bgra.resize(static_cast<size_t>(width) * 4 * raster.Height());
    for (int y = 0; y < raster.Height(); ++y) {
      const BYTE* src = raster.Row(y);
      const BYTE* alpha = raster.AlphaRow(y);
      BYTE* dst = bgra.data() + static_cast<size_t>(y) * width * 4;
      for (int x = 0; x < width; ++x, src += 3, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = alpha[x];
      }
    }
    pixels = bgra.data();
    stride = -width * 4;
  } else {
    image.format = PNG_FORMAT_BGR;
  }
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
  out.resize(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels, stride, nullptr)) {
    error = std::string("PNG: ") + image.message;
    out.clear();
    return false;
  }
  out.resize(size);
  return true;
}

}  // namespace pictavo::image
