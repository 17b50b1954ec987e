// The decoders and encoders behind CxImage. Each works on a whole file held in memory, writes
// straight into the picture's DIB rows and reports a failure as text, never by crashing: every
// length and offset read from a file is checked before it is used.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "modules/image/Exif.h"
#include "modules/image/Raster.h"

namespace pictavo::image {

enum class Format { Unknown, Bmp, Gif, Jpeg, Png, Tiff, Pcx };

// The format of a file, from its first bytes.
Format Sniff(std::span<const BYTE> data);
const char* FormatName(Format format);

struct DecodeRequest {
  // When both are above 0 the caller will fit the picture into this box: a decoder that can
  // decode at a reduced size (JPEG) does so, never below the size the picture takes in the box.
  int maxWidth = 0;
  int maxHeight = 0;
};

struct Decoded {
  Raster raster;
  EXIFINFO exif{};
  int sourceWidth = 0;  // the size the file declares, before any reduced decoding
  int sourceHeight = 0;
};

// Largest power-of-two reduction (1, 2, 4 or 8) that keeps a width x height picture at least as
// large as its fit into the request's box.
int ReductionFor(int width, int height, const DecodeRequest& request);

bool DecodeJpeg(std::span<const BYTE> data, const DecodeRequest& request, Decoded& out, std::string& error);
bool DecodePng(std::span<const BYTE> data, Decoded& out, std::string& error);
bool DecodeTiff(std::span<const BYTE> data, Decoded& out, std::string& error);
bool DecodeBmp(std::span<const BYTE> data, Decoded& out, std::string& error);
bool DecodePcx(std::span<const BYTE> data, Decoded& out, std::string& error);

// quality 1..100; the alpha plane, if any, is not stored.
bool EncodeJpeg(const Raster& raster, int quality, std::vector<BYTE>& out, std::string& error);
// Stores the alpha plane when there is one.
bool EncodePng(const Raster& raster, std::vector<BYTE>& out, std::string& error);

}  // namespace pictavo::image
