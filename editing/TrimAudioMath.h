// The trim dialog's arithmetic, kept apart from the window. Clip times are milliseconds, playback
// positions 100-nanosecond units (ms x 10,000), the seek bar a whole percent of the clip. Every
// product is taken in 64 bits: a trim end x 10,000 passes 32 bits after 3 min 34 s.
#pragma once

#include <cstdint>

#include "platform/base/CString.h"

namespace trim_math {

constexpr int64_t kUnitsPerMs = 10000;

// The seek bar's percent for a time: 50,000 of 200,000 ms -> 25; 0 for a length of 0 or less.
int PercentOf(int64_t ms, int64_t lengthMs);
// The trim point the bar stands for: bar 33 on 200,000 ms -> 66,000.
int64_t TimeAtPercent(int64_t lengthMs, int percent);
// The position of a bar percent: percent x duration / 100.
int64_t PositionAtPercent(int64_t durationUnits, int percent);
// "%02d:%02d.%02d" of a position: whole minutes (past 59 too), seconds, hundredths.
// 500,000,000 units -> "00:50.00".
CString FormatPosition(int64_t units);

// The trim range: start <= end within the clip, whatever the record or the user gives.
struct Selection {
  int64_t start = 0;
  int64_t end = 0;
  bool operator==(const Selection&) const = default;
};
// A negative trim point opens as 0 (start) or the clip's length (end); points past the length
// are kept to it; an end before the start opens as the length.
Selection InitialSelection(int64_t trimStart, int64_t trimEnd, int64_t lengthMs);
// A start set at or past the end moves the end to the clip's end.
Selection WithStart(Selection s, int64_t start, int64_t lengthMs);
// An end set at or before the start moves the start to the clip's beginning.
Selection WithEnd(Selection s, int64_t end, int64_t lengthMs);

// Where the go-to buttons move the bar: to the trim point's percent, or, when the bar already
// stands there, to the clip's beginning (start) or end (end).
int GoToStart(int barPercent, int64_t trimStartMs, int64_t lengthMs);
int GoToEnd(int barPercent, int64_t trimEndMs, int64_t lengthMs);

}  // namespace trim_math
