// JPEG over libjpeg-turbo. libjpeg reports fatal errors through a callback that must not return,
// so the decode and encode bodies are C-style functions around setjmp: everything with a
// destructor lives in the caller's job record, which the longjmp never skips.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include <jerror.h>

#include "modules/image/Codec.h"

namespace pictavo::image {
namespace {

// Progressive files take one pass per scan; thousands of scans are an attack, not a photo.
constexpr int kMaxScans = 500;
// Corrupt-data warnings we tolerate before calling the file damaged.
constexpr long kMaxWarnings = 1000;
// Rows handed to libjpeg per call.
constexpr int kRowBatch = 16;

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnFatal(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  // libjpeg would pad a cut-off file with grey and call it a success; for us it is damaged.
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) {
    std::snprintf(err->message, sizeof(err->message), "file is truncated");
    std::longjmp(err->jump, 1);
  }
  if (++cinfo->err->num_warnings > kMaxWarnings) {
    std::snprintf(err->message, sizeof(err->message), "too much corrupt data");
    std::longjmp(err->jump, 1);
  }
}

void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof(err->message), "too many scans");
    std::longjmp(err->jump, 1);
  }
}

void InstallErrorManager(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnFatal;
  err.pub.emit_message = OnMessage;
  err.message[0] = '\0';
}

struct DecodeJob {
  std::span<const BYTE> data;
  DecodeRequest request;
  Decoded* out;
  std::string error;
  std::vector<BYTE> cmykRows;  // 4-byte pixels of a CMYK file, converted row by row
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  jpeg_progress_mgr progress;
};

void CmykToBgr(const BYTE* cmyk, BYTE* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    // Adobe writes inverted CMYK, where each value is already 255 - ink.
    const int c = inverted ? cmyk[0] : 255 - cmyk[0];
    const int m = inverted ? cmyk[1] : 255 - cmyk[1];
    const int y = inverted ? cmyk[2] : 255 - cmyk[2];
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    bgr[0] = static_cast<BYTE>((y * k + 127) / 255);
    bgr[1] = static_cast<BYTE>((m * k + 127) / 255);
    bgr[2] = static_cast<BYTE>((c * k + 127) / 255);
  }
}

// Only trivially destructible locals below: a longjmp lands back in this frame.
bool RunDecode(DecodeJob& job) {
  jpeg_decompress_struct& cinfo = job.cinfo;
  cinfo.err = &job.err.pub;
  InstallErrorManager(job.err);
  if (setjmp(job.err.jump)) {
    job.error = job.err.message;
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  job.progress.progress_monitor = OnProgress;
  cinfo.progress = &job.progress;
  jpeg_mem_src(&cinfo, job.data.data(), static_cast<unsigned long>(job.data.size()));
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
    job.error = "no image in the file";
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  job.error = CheckDimensions(cinfo.image_width, cinfo.image_height);
  if (!job.error.empty()) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  Decoded& out = *job.out;
  out.sourceWidth = static_cast<int>(cinfo.image_width);
  out.sourceHeight = static_cast<int>(cinfo.image_height);
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    if (m->marker == JPEG_APP0 + 1 && ParseExif({m->data, m->data_length}, out.exif)) break;
  }

  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned>(ReductionFor(out.sourceWidth, out.sourceHeight, job.request));
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);

  const int width = static_cast<int>(cinfo.output_width);
  const int height = static_cast<int>(cinfo.output_height);
  if (!out.raster.Allocate(width, height, false, job.error)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (cmyk) job.cmykRows.resize(static_cast<size_t>(width) * 4 * kRowBatch);

  JSAMPROW rows[kRowBatch];
  while (cinfo.output_scanline < cinfo.output_height) {
    const int first = static_cast<int>(cinfo.output_scanline);
    const int batch = std::min(kRowBatch, height - first);
    for (int i = 0; i < batch; ++i)
      rows[i] =
          cmyk ? job.cmykRows.data() + static_cast<size_t>(i) * width * 4 : out.raster.TopRow(first + i);
    const int got = static_cast<int>(jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(batch)));
    if (cmyk) {
      for (int i = 0; i < got; ++i)
        CmykToBgr(rows[i], out.raster.TopRow(first + i), width, cinfo.saw_Adobe_marker);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

struct EncodeJob {
  const Raster* raster;
  int quality;
  unsigned char* buffer = nullptr;  // malloc'd by libjpeg's memory destination
  unsigned long size = 0;
  std::string error;
  jpeg_compress_struct cinfo;
  ErrorManager err;
};

bool RunEncode(EncodeJob& job) {
  jpeg_compress_struct& cinfo = job.cinfo;
  cinfo.err = &job.err.pub;
  InstallErrorManager(job.err);
  if (setjmp(job.err.jump)) {
    job.error = job.err.message;
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &job.buffer, &job.size);
  const Raster& raster = *job.raster;
  cinfo.image_width = static_cast<JDIMENSION>(raster.Width());
  cinfo.image_height = static_cast<JDIMENSION>(raster.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, job.quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  JSAMPROW rows[kRowBatch];
  while (cinfo.next_scanline < cinfo.image_height) {
    const int first = static_cast<int>(cinfo.next_scanline);
    const int batch = std::min(kRowBatch, raster.Height() - first);
    for (int i = 0; i < batch; ++i) rows[i] = const_cast<BYTE*>(raster.TopRow(first + i));
    jpeg_write_scanlines(&cinfo, rows, static_cast<JDIMENSION>(batch));
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(std::span<const BYTE> data, const DecodeRequest& request, Decoded& out, std::string& error) {
  DecodeJob job{data, request, &out, {}, {}, {}, {}, {}};
  try {
    if (RunDecode(job)) return true;
  } catch (...) {  // out of memory while staging rows
    jpeg_destroy_decompress(&job.cinfo);
    out.raster.Reset();
    throw;
  }
  out.raster.Reset();
  error = "JPEG: " + job.error;
  return false;
}

bool EncodeJpeg(const Raster& raster, int quality, std::vector<BYTE>& out, std::string& error) {
  EncodeJob job{};
  job.raster = &raster;
  job.quality = std::clamp(quality, 1, 100);
  const bool ok = RunEncode(job);
  if (ok) out.assign(job.buffer, job.buffer + job.size);
  std::free(job.buffer);
  if (!ok) error = "JPEG: " + job.error;
  return ok;
}

}  // namespace pictavo::image
