// The texts of the encoding dialog's progress display, kept apart from the window so that the
// arithmetic can be checked on its own. Counts are 64-bit: long albums and files over 4 GB do not
// wrap.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

namespace encode_text {

// " 1m:30s" below an hour, " 1h:00m:00s" from an hour on (the total and the elapsed time).
CString Duration(ULONGLONG seconds);
// The remaining time: as Duration, but the hours without padding ("1h:00m:00s").
CString Remaining(ULONGLONG seconds);
// "1000 KB", "1,024 KB", "1,953,125 KB" for a size in bytes (whole kilobytes of 1024 bytes).
CString FileSize(ULONGLONG bytes);

// `done` of `total` as a whole percent and its hundredths, capped at 100.00. total > 0.
struct Percent {
  UINT whole = 0;
  UINT hundredths = 0;
};
Percent PercentOf(ULONGLONG done, ULONGLONG total);
// "25.00%", "99.90%", "100.00%".
CString PercentText(Percent percent);

// Milliseconds still to go when `percent` (whole, 1 to 100) took `elapsedMs`.
ULONGLONG RemainingMs(UINT percent, ULONGLONG elapsedMs);

}  // namespace encode_text
