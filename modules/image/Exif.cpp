#include "modules/image/Exif.h"

#include <cstring>
#include <vector>

namespace pictavo::image {
namespace {

constexpr WORD kTagOrientation = 0x0112;
constexpr WORD kTagDateTime = 0x0132;
constexpr WORD kTagExifIfd = 0x8769;
constexpr WORD kTagDateTimeOriginal = 0x9003;
constexpr WORD kTagDateTimeDigitized = 0x9004;
constexpr WORD kTypeAscii = 2;
constexpr WORD kTypeShort = 3;
constexpr WORD kTypeLong = 4;
constexpr size_t kEntrySize = 12;
// A real IFD holds a few dozen entries; more means a damaged block.
constexpr size_t kMaxEntries = 1000;

// The TIFF structure inside the block; every read is checked against its end.
class TiffView {
 public:
  TiffView(std::span<const BYTE> data, bool bigEndian) : m_data(data), m_bigEndian(bigEndian) {}

  bool U16(size_t offset, WORD& out) const {
    if (offset > m_data.size() || m_data.size() - offset < 2) return false;
    const BYTE* p = m_data.data() + offset;
    out = m_bigEndian ? static_cast<WORD>(p[0] << 8 | p[1]) : static_cast<WORD>(p[1] << 8 | p[0]);
    return true;
  }
  bool U32(size_t offset, DWORD& out) const {
    if (offset > m_data.size() || m_data.size() - offset < 4) return false;
    const BYTE* p = m_data.data() + offset;
    out = m_bigEndian ? (DWORD{p[0]} << 24 | DWORD{p[1]} << 16 | DWORD{p[2]} << 8 | p[3])
                      : (DWORD{p[3]} << 24 | DWORD{p[2]} << 16 | DWORD{p[1]} << 8 | p[0]);
    return true;
  }
  std::span<const BYTE> Bytes(size_t offset, size_t length) const {
    if (offset > m_data.size() || m_data.size() - offset < length) return {};
    return m_data.subspan(offset, length);
  }

 private:
  std::span<const BYTE> m_data;
  bool m_bigEndian;
};

struct Entry {
  WORD tag;
  WORD type;
  DWORD count;
  size_t valueOffset;  // where the value field sits in the block
};

// Calls `visit` for every entry of the IFD at `offset`; false when the IFD lies outside the block.
template <typename Visit>
bool WalkIfd(const TiffView& tiff, DWORD offset, Visit visit) {
  WORD count = 0;
  if (!tiff.U16(offset, count) || count > kMaxEntries) return false;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = offset + 2 + i * kEntrySize;
    Entry e{};
    DWORD count32 = 0;
    if (!tiff.U16(at, e.tag) || !tiff.U16(at + 2, e.type) || !tiff.U32(at + 4, count32)) return false;
    e.count = count32;
    e.valueOffset = at + 8;
    visit(e);
  }
  return true;
}

// An ASCII date of the form "YYYY:MM:DD HH:MM:SS"; cameras without a clock write blanks or zeros.
bool ReadDate(const TiffView& tiff, const Entry& e, char (&out)[20]) {
  if (e.type != kTypeAscii || e.count < 19) return false;
  size_t at = e.valueOffset;
  if (e.count > 4) {
    DWORD pointer = 0;
    if (!tiff.U32(e.valueOffset, pointer)) return false;
    at = pointer;
  }
  const auto text = tiff.Bytes(at, 19);
  if (text.empty()) return false;
  static constexpr char kShape[] = "dddd:dd:dd dd:dd:dd";
  bool anyNonZero = false;
  for (size_t i = 0; i < 19; ++i) {
    const char c = static_cast<char>(text[i]);
    if (kShape[i] == 'd') {
      if (c < '0' || c > '9') return false;
      anyNonZero |= c != '0';
    } else if (c != kShape[i] && !(kShape[i] == ':' && c == '-')) {
      return false;
    }
  }
  if (!anyNonZero) return false;
  std::memcpy(out, text.data(), 19);
  out[19] = '\0';
  return true;
}

}  // namespace

bool ParseExif(std::span<const BYTE> app1, EXIFINFO& info) {
  info = EXIFINFO{};
  static constexpr BYTE kSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
  if (app1.size() < 6 + 8 || std::memcmp(app1.data(), kSignature, 6) != 0) return false;
  const auto block = app1.subspan(6);
  bool bigEndian;
  if (block[0] == 'I' && block[1] == 'I')
    bigEndian = false;
  else if (block[0] == 'M' && block[1] == 'M')
    bigEndian = true;
  else
    return false;
  const TiffView tiff(block, bigEndian);
  WORD magic = 0;
  DWORD ifd0 = 0;
  if (!tiff.U16(2, magic) || magic != 42 || !tiff.U32(4, ifd0)) return false;

  char original[20] = {}, digitized[20] = {}, modified[20] = {};
  DWORD exifIfd = 0;
  int orientation = 0;
  const bool ok = WalkIfd(tiff, ifd0, [&](const Entry& e) {
    if (e.tag == kTagOrientation && e.type == kTypeShort && e.count >= 1) {
      WORD value = 0;
      if (tiff.U16(e.valueOffset, value) && value >= 1 && value <= 8) orientation = value;
    } else if (e.tag == kTagDateTime) {
      ReadDate(tiff, e, modified);
    } else if (e.tag == kTagExifIfd && e.type == kTypeLong && e.count == 1) {
      tiff.U32(e.valueOffset, exifIfd);
    }
  });
  if (!ok) return false;
  // The sub-IFD may not point back at IFD0: each IFD is read once.
  if (exifIfd != 0 && exifIfd != ifd0) {
    WalkIfd(tiff, exifIfd, [&](const Entry& e) {
      if (e.tag == kTagDateTimeOriginal)
        ReadDate(tiff, e, original);
      else if (e.tag == kTagDateTimeDigitized)
        ReadDate(tiff, e, digitized);
    });
  }
  info.IsExif = TRUE;
  info.Orientation = orientation;
  const char* date = original[0] ? original : digitized[0] ? digitized : modified;
  std::memcpy(info.DateTime, date, sizeof(info.DateTime));
  return true;
}

bool FindExif(const ByteReader& read, EXIFINFO& info) {
  info = EXIFINFO{};
  BYTE head[4];
  if (!read(0, 2, head) || head[0] != 0xFF || head[1] != 0xD8) return false;
  size_t pos = 2;
  // Segments before the first scan; a file with more than this many is not one we care about.
  for (int segments = 0; segments < 256; ++segments) {
    if (!read(pos, 4, head)) return false;
    if (head[0] != 0xFF) return false;
    BYTE marker = head[1];
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return false;          // end of image or first scan: no EXIF
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
      pos += 2;
      continue;
    }
    const size_t length = size_t{head[2]} << 8 | head[3];
    if (length < 2) return false;
    if (marker == 0xE1 && length >= 2 + 6 + 8) {
      std::vector<BYTE> payload(length - 2);
      if (!read(pos + 4, payload.size(), payload.data())) return false;
      if (ParseExif(payload, info)) return true;
    }
    pos += 2 + length;
  }
  return false;
}

}  // namespace pictavo::image
