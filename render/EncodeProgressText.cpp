#include "render/EncodeProgressText.h"

namespace encode_text {
namespace {

CString WithHours(ULONGLONG seconds, LPCTSTR format) {
  CString text;
  text.Format(format, static_cast<unsigned>(seconds / 3600), static_cast<unsigned>(seconds / 60 % 60),
              static_cast<unsigned>(seconds % 60));
  return text;
}

CString MinutesOnly(ULONGLONG seconds) {
  CString text;
  text.Format("%2um:%02us", static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
  return text;
}

}  // namespace

CString Duration(ULONGLONG seconds) {
  return seconds >= 3600 ? WithHours(seconds, "%2uh:%02um:%02us") : MinutesOnly(seconds);
}

CString Remaining(ULONGLONG seconds) {
  return seconds >= 3600 ? WithHours(seconds, "%uh:%02um:%02us") : MinutesOnly(seconds);
}

CString FileSize(ULONGLONG bytes) {
  const ULONGLONG k = bytes >> 10;
  CString text;
  if (k <= 1000)
    text.Format("%llu KB", k);
  else if (k <= 1000000)
    text.Format("%llu,%03llu KB", k / 1000, k % 1000);
  else
    text.Format("%llu,%03llu,%03llu KB", k / 1000000, k % 1000000 / 1000, k % 1000);
  return text;
}

Percent PercentOf(ULONGLONG done, ULONGLONG total) {
  if (total == 0 || done >= total) return {100, 0};
  // done < total, so done * 10000 only overflows past 1.8e15 frames.
  const ULONGLONG basisPoints = done * 10000 / total;
  return {static_cast<UINT>(basisPoints / 100), static_cast<UINT>(basisPoints % 100)};
}

CString PercentText(Percent percent) {
  CString text;
  text.Format("%2u.%02u%%", percent.whole, percent.hundredths);
  return text;
}

ULONGLONG RemainingMs(UINT percent, ULONGLONG elapsedMs) {
  if (percent == 0) return 0;
  return (100 - static_cast<ULONGLONG>(percent > 100 ? 100 : percent)) * elapsedMs / percent;
}

}  // namespace encode_text
