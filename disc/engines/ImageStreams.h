// The files the Video-CD image writer reads (MPEG and extra files, as data sources) and writes
// (BIN and CUE, as file sinks): opened on first use, 128 KB stdio buffers, 64-bit positions.
// A write side stream does nothing while bit 1 of g_nImageOutputFlags is clear, so that a
// burn-only job runs the same writing code without files.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Bit 0: burn the image directly; bit 1: write the BIN and CUE files. 1 at start.
extern uint32_t g_nImageOutputFlags;
constexpr uint32_t kImageOutputBurn = 1, kImageOutputFiles = 2;

struct _tagStream {
  struct Ops;
  std::unique_ptr<Ops> ops;
  bool opened = false;
  int64_t position = 0;
  // A write, seek or close of the write side that did not complete; checked by the image sink.
  bool failed = false;
  bool writeSide = false;
};
using _tagDataSource = _tagStream;
using _tagFileStream = _tagStream;

// A data source on `path` with the size the file has now; null when the path cannot be
// examined (or is not a regular file). The file is not opened yet.
_tagDataSource* OpenFileSource(const char* path);
// A write side stream on `path`; nothing is created yet.
_tagFileStream* CreateFileSink(const char* path);

// Stream layer (either kind).
int64_t StreamSeek(_tagStream* stream, int64_t position);
// Reads size x count bytes; the new position.
int64_t StreamRead(_tagStream* stream, void* buffer, size_t size, size_t count);
// The bytes read by the last StreamRead are the new position minus the old one; this returns them.
size_t StreamReadBytes(_tagStream* stream, void* buffer, size_t bytes);
int64_t StreamSize(_tagStream* stream);
// Closes when open; false when closing a write side stream failed (data not on disk).
bool StreamClose(_tagStream* stream);
void StreamFree(_tagStream* stream);
bool StreamDelete(_tagStream* stream);
size_t StreamWrite(_tagStream* stream, const void* bytes, size_t size, size_t count);
size_t StreamPrint(_tagStream* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));
const std::string& StreamPath(const _tagStream* stream);

struct StreamFreeDeleter {
  void operator()(_tagStream* s) const { StreamFree(s); }
};
using StreamPtr = std::unique_ptr<_tagStream, StreamFreeDeleter>;
