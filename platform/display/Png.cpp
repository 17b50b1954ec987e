#include "platform/display/Png.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Surface.h"

namespace pictavo::display {
namespace {

// Encodes into an open file; false when libpng reports an error.
bool Encode(FILE* file, const gdi::Surface& surface) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(surface.Width()) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()),
               static_cast<png_uint_32>(surface.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    const auto pixels = surface.Row(y);
    for (size_t x = 0; x < pixels.size(); ++x) {
      row[x * 3] = static_cast<png_byte>(pixels[x] >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(pixels[x] >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(pixels[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const gdi::Surface& surface, const std::string& path) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    SetLastError(pictavo::ErrorFromErrno(errno));
    return false;
  }
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    SetLastError(pictavo::ErrorFromErrno(errno));
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  const bool encoded = Encode(file, surface);
  const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  const int savedErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!encoded || !flushed || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
    SetLastError(encoded ? pictavo::ErrorFromErrno(flushed ? errno : savedErrno) : ERROR_WRITE_FAULT);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace pictavo::display
