// String formats of the flat API.
#include <new>

#include "platform/gdiplus/Objects.h"

using namespace Gdiplus;
using pictavo::gdiplus::Started;

namespace {

bool ValidAlignment(StringAlignment align) {
  return align >= StringAlignmentNear && align <= StringAlignmentFar;
}

}  // namespace

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreateStringFormat(INT formatAttributes, LANGID, GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  auto* f = new (std::nothrow) GpStringFormat;
  if (!f) return OutOfMemory;
  f->flags = formatAttributes;
  *format = f;
  return Ok;
}

GpStatus WINAPI GdipStringFormatGetGenericDefault(GpStringFormat** format) {
  return GdipCreateStringFormat(0, 0, format);
}

GpStatus WINAPI GdipStringFormatGetGenericTypographic(GpStringFormat** format) {
  GpStatus status = GdipCreateStringFormat(
      StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit | StringFormatFlagsNoClip, 0, format);
  if (status != Ok) return status;
  (*format)->trimming = StringTrimmingNone;
  (*format)->typographic = true;
  return Ok;
}

GpStatus WINAPI GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone) {
  if (!format || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpStringFormat(*format);
  return *clone ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipDeleteStringFormat(GpStringFormat* format) {
  if (!format) return InvalidParameter;
  delete format;
  return Ok;
}

GpStatus WINAPI GdipSetStringFormatFlags(GpStringFormat* format, INT flags) {
  if (!format) return InvalidParameter;
  format->flags = flags;
  return Ok;
}

GpStatus WINAPI GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags) {
  if (!format || !flags) return InvalidParameter;
  *flags = format->flags;
  return Ok;
}

GpStatus WINAPI GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || !ValidAlignment(align)) return InvalidParameter;
  format->align = align;
  return Ok;
}

GpStatus WINAPI GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align) {
  if (!format || !align) return InvalidParameter;
  *align = format->align;
  return Ok;
}

GpStatus WINAPI GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || !ValidAlignment(align)) return InvalidParameter;
  format->lineAlign = align;
  return Ok;
}

GpStatus WINAPI GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align) {
  if (!format || !align) return InvalidParameter;
  *align = format->lineAlign;
  return Ok;
}

GpStatus WINAPI GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming) {
  if (!format || trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath)
    return InvalidParameter;
  format->trimming = trimming;
  return Ok;
}

GpStatus WINAPI GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming) {
  if (!format || !trimming) return InvalidParameter;
  *trimming = format->trimming;
  return Ok;
}

}  // namespace Gdiplus::DllExports
