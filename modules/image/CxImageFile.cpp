// CxImage loading and saving: files, memory buffers, format dispatch, atomic writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

#include "modules/image/Codec.h"
#include "modules/image/CxImage.h"

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"
#include "platform/res/Resources.h"

namespace {

using namespace pictavo::image;

// Larger files are not pictures we can hold.
constexpr off_t kMaxFileSize = off_t{1} << 30;

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

std::string Describe(const std::string& path, int err) {
  return path + ": " + std::strerror(err);
}

// Reads a regular file whole. Opening never blocks (a FIFO is refused, not waited on).
bool ReadWholeFile(const std::string& path, std::vector<BYTE>& data, DWORD& code, std::string& error) {
  Fd file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  struct stat st {};
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0) {
    code = pictavo::ErrorFromErrno(errno);
    error = Describe(path, errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    code = ERROR_ACCESS_DENIED;
    error = path + ": not a file";
    return false;
  }
  if (st.st_size > kMaxFileSize) {
    code = ERROR_NOT_ENOUGH_MEMORY;
    error = path + ": file too large";
    return false;
  }
  data.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::read(file.fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      code = pictavo::ErrorFromErrno(errno);
      error = Describe(path, errno);
      return false;
    }
    if (n == 0) break;  // the file shrank while we read it
    done += static_cast<size_t>(n);
  }
  data.resize(done);
  return true;
}

// Writes `bytes` to a new file beside `path` and renames it over `path`.
bool WriteAtomically(const std::string& path, const std::vector<BYTE>& bytes, DWORD& code,
                     std::string& error) {
  static std::atomic<unsigned> s_counter{0};
  std::string temp;
  Fd file;
  for (int attempt = 0; attempt < 16 && file.fd < 0; ++attempt) {
    temp = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++) + ".tmp";
    file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.fd < 0 && errno != EEXIST) break;
  }
  const auto fail = [&](int err) {
    code = pictavo::ErrorFromErrno(err);
    error = Describe(path, err);
    if (file.fd >= 0) ::unlink(temp.c_str());
    return false;
  };
  if (file.fd < 0) return fail(errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(file.fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(n < 0 ? errno : EIO);
    done += static_cast<size_t>(n);
  }
  if (::fsync(file.fd) != 0) return fail(errno);
  if (::close(file.fd) != 0) {
    file.fd = -1;
    ::unlink(temp.c_str());
    return fail(errno);
  }
  file.fd = -1;
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    code = pictavo::ErrorFromErrno(err);
    error = Describe(path, err);
    return false;
  }
  return true;
}

DWORD TypeOf(Format format) {
  switch (format) {
    case Format::Bmp:
      return CXIMAGE_FORMAT_BMP;
    case Format::Jpeg:
      return CXIMAGE_FORMAT_JPG;
    case Format::Png:
      return CXIMAGE_FORMAT_PNG;
    case Format::Tiff:
      return CXIMAGE_FORMAT_TIF;
    case Format::Pcx:
      return CXIMAGE_FORMAT_PCX;
    default:
      return CXIMAGE_FORMAT_UNKNOWN;
  }
}

}  // namespace

bool CxImage::Load(LPCTSTR filename, DWORD imagetype) {
  return LoadScaled(filename, 0, 0, imagetype);
}

bool CxImage::LoadScaled(LPCTSTR filename, long maxWidth, long maxHeight, DWORD) {
  Destroy();
  if (!filename || !*filename) return Fail(ERROR_INVALID_PARAMETER, "no file name");
  std::vector<BYTE> data;
  DWORD code = 0;
  std::string error;
  try {
    if (!ReadWholeFile(pictavo::path::ToNative(filename), data, code, error)) return Fail(code, error);
  } catch (const std::bad_alloc&) {
    return Fail(ERROR_NOT_ENOUGH_MEMORY, std::string(filename) + ": out of memory");
  }
  if (!DecodeInto(data.data(), data.size(), maxWidth, maxHeight)) {
    m_lastError = std::string(filename) + ": " + m_lastError;
    return false;
  }
  return true;
}

bool CxImage::Decode(const BYTE* buffer, DWORD size, DWORD imagetype) {
  return DecodeScaled(buffer, size, 0, 0, imagetype);
}

bool CxImage::LoadResource(HRSRC resource, DWORD imagetype, HMODULE module) {
  HGLOBAL data = ::LoadResource(module, resource);
  const DWORD size = data ? ::SizeofResource(module, resource) : 0;
  const auto* bytes = static_cast<const BYTE*>(data ? ::LockResource(data) : nullptr);
  if (!bytes || size == 0) {
    Destroy();
    return false;
  }
  return Decode(bytes, size, imagetype);
}

bool CxImage::DecodeScaled(const BYTE* buffer, DWORD size, long maxWidth, long maxHeight, DWORD) {
  Destroy();
  if (!buffer || size == 0) return Fail(ERROR_INVALID_PARAMETER, "no data");
  return DecodeInto(buffer, size, maxWidth, maxHeight);
}

bool CxImage::DecodeInto(const BYTE* buffer, size_t size, long maxWidth, long maxHeight) {
  Destroy();
  const std::span<const BYTE> data(buffer, size);
  const Format format = Sniff(data);
  Decoded decoded;
  std::string error;
  bool ok = false;
  try {
    switch (format) {
      case Format::Jpeg: {
        DecodeRequest request;
        request.maxWidth = static_cast<int>(std::clamp<long>(maxWidth, 0, INT32_MAX));
        request.maxHeight = static_cast<int>(std::clamp<long>(maxHeight, 0, INT32_MAX));
        ok = DecodeJpeg(data, request, decoded, error);
        break;
      }
      case Format::Png:
        ok = DecodePng(data, decoded, error);
        break;
      case Format::Tiff:
        ok = DecodeTiff(data, decoded, error);
        break;
      case Format::Bmp:
        ok = DecodeBmp(data, decoded, error);
        break;
      case Format::Pcx:
        ok = DecodePcx(data, decoded, error);
        break;
      case Format::Gif:
        return Fail(ERROR_NOT_SUPPORTED, "GIF pictures are not supported");
      case Format::Unknown:
        return Fail(ERROR_BAD_FORMAT, "not a picture file");
    }
  } catch (const std::bad_alloc&) {
    return Fail(ERROR_NOT_ENOUGH_MEMORY, std::string(FormatName(format)) + ": out of memory");
  }
  if (!ok) return Fail(ERROR_INVALID_DATA, error);
  m_raster = std::move(decoded.raster);
  m_exif = decoded.exif;
  m_type = TypeOf(format);
  m_sourceWidth = decoded.sourceWidth;
  m_sourceHeight = decoded.sourceHeight;
  Succeed();
  return true;
}

bool CxImage::Save(LPCTSTR filename, DWORD imagetype) {
  if (!filename || !*filename) return Fail(ERROR_INVALID_PARAMETER, "no file name");
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture to save");
  std::vector<BYTE> bytes;
  std::string error;
  bool ok = false;
  try {
    if (imagetype == CXIMAGE_FORMAT_JPG)
      ok = EncodeJpeg(m_raster, m_jpegQuality, bytes, error);
    else if (imagetype == CXIMAGE_FORMAT_PNG)
      ok = EncodePng(m_raster, bytes, error);
    else
      return Fail(ERROR_NOT_SUPPORTED, "pictures are saved as JPEG or PNG");
  } catch (const std::bad_alloc&) {
    return Fail(ERROR_NOT_ENOUGH_MEMORY, "out of memory");
  }
  if (!ok) return Fail(ERROR_INVALID_DATA, error);
  DWORD code = 0;
  if (!WriteAtomically(pictavo::path::ToNative(filename), bytes, code, error)) return Fail(code, error);
  Succeed();
  return true;
}

bool CxImage::ReadExifInfo(LPCTSTR filename, EXIFINFO* info) {
  if (!info) return false;
  *info = EXIFINFO{};
  if (!filename) return false;
  Fd file{::open(pictavo::path::ToNative(filename).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  struct stat st {};
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const auto read = [&](size_t offset, size_t length, BYTE* out) {
    size_t done = 0;
    while (done < length) {
      const ssize_t n = ::pread(file.fd, out + done, length - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  };
  return FindExif(read, *info);
}
