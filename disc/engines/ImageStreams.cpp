#include "disc/engines/ImageStreams.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

uint32_t g_nImageOutputFlags = 1;

namespace {
constexpr size_t kBufferBytes = 0x20000;

bool FilesOn() {
  return g_nImageOutputFlags & kImageOutputFiles;
}
}  // namespace

struct _tagStream::Ops {
  std::string path;
  FILE* file = nullptr;
  std::vector<char> buffer;
  int64_t size = 0;

  bool Open(const char* mode) {
    file = std::fopen(path.c_str(), mode);
    if (!file) return false;
    buffer.resize(kBufferBytes);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    return true;
  }
  bool Close() {
    if (!file) return true;
    const bool ok = std::fclose(file) == 0;
    file = nullptr;
    buffer.clear();
    buffer.shrink_to_fit();
    return ok;
  }
};

_tagDataSource* OpenFileSource(const char* path) {
  struct stat st {};
  if (!path || ::stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  auto* s = new _tagStream;
  s->ops = std::make_unique<_tagStream::Ops>();
  s->ops->path = path;
  s->ops->size = st.st_size;
  return s;
}

_tagFileStream* CreateFileSink(const char* path) {
  if (!path) return nullptr;
  auto* s = new _tagStream;
  s->ops = std::make_unique<_tagStream::Ops>();
  s->ops->path = path;
  s->writeSide = true;
  return s;
}

namespace {

bool EnsureOpen(_tagStream* s) {
  if (s->opened) return true;
  if (s->writeSide && !FilesOn()) return false;
  if (!s->ops->Open(s->writeSide ? "wb" : "rb")) {
    if (s->writeSide) s->failed = true;
    return false;
  }
  s->opened = true;
  s->position = 0;
  return true;
}

}  // namespace

const std::string& StreamPath(const _tagStream* stream) {
  return stream->ops->path;
}

int64_t StreamSeek(_tagStream* s, int64_t position) {
  if (s->writeSide && !FilesOn()) return 0;
  if (!EnsureOpen(s)) return -1;
  if (position == s->position) return position;
  s->position = position;
  if (::fseeko(s->ops->file, position, SEEK_SET) != 0 && s->writeSide) s->failed = true;
  return position;
}

int64_t StreamRead(_tagStream* s, void* buffer, size_t size, size_t count) {
  StreamReadBytes(s, buffer, size * count);
  return s->position;
}

size_t StreamReadBytes(_tagStream* s, void* buffer, size_t bytes) {
  if (s->writeSide || !EnsureOpen(s)) return 0;
  const size_t n = std::fread(buffer, 1, bytes, s->ops->file);
  if (n < bytes) std::clearerr(s->ops->file);
  s->position += static_cast<int64_t>(n);
  return n;
}

int64_t StreamSize(_tagStream* s) {
  if (!s->writeSide) {
    EnsureOpen(s);
    return s->ops->size;
  }
  return s->position;
}

bool StreamClose(_tagStream* s) {
  if (!s->opened) return true;
  const bool ok = s->ops->Close();
  if (!ok && s->writeSide) s->failed = true;
  s->opened = false;
  s->position = 0;
  return ok;
}

void StreamFree(_tagStream* s) {
  if (!s) return;
  if (s->opened) s->ops->Close();
  delete s;
}

bool StreamDelete(_tagStream* s) {
  return !s->writeSide && ::unlink(s->ops->path.c_str()) == 0;
}

size_t StreamWrite(_tagStream* s, const void* bytes, size_t size, size_t count) {
  if (!s->writeSide || !FilesOn() || !EnsureOpen(s)) return 0;
  const size_t want = size * count;
  const size_t n = std::fwrite(bytes, 1, want, s->ops->file);
  if (n != want) s->failed = true;
  s->position += static_cast<int64_t>(n);
  return n;
}

size_t StreamPrint(_tagStream* s, const char* format, ...) {
  if (!s->writeSide || !FilesOn()) return 0;
  va_list args, again;
  va_start(args, format);
  va_copy(again, args);
  char small[4096];
  const int needed = std::vsnprintf(small, sizeof(small), format, args);
  va_end(args);
  size_t written = 0;
  if (needed < 0) {
    s->failed = true;
  } else if (static_cast<size_t>(needed) < sizeof(small)) {
    written = StreamWrite(s, small, 1, static_cast<size_t>(needed));
  } else {
    // Long texts (long file names) are sized, never cut.
    std::vector<char> text(static_cast<size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    written = StreamWrite(s, text.data(), 1, static_cast<size_t>(needed));
  }
  va_end(again);
  return written;
}
