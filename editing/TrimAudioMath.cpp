#include "editing/TrimAudioMath.h"

#include <algorithm>

namespace trim_math {

int PercentOf(int64_t ms, int64_t lengthMs) {
  if (lengthMs <= 0) return 0;
  return static_cast<int>(std::clamp<int64_t>(ms * 100 / lengthMs, 0, 100));
}

int64_t TimeAtPercent(int64_t lengthMs, int percent) {
  return std::max<int64_t>(lengthMs, 0) * std::clamp(percent, 0, 100) / 100;
}

int64_t PositionAtPercent(int64_t durationUnits, int percent) {
  return std::max<int64_t>(durationUnits, 0) * std::clamp(percent, 0, 100) / 100;
}

CString FormatPosition(int64_t units) {
  const int64_t ms = std::max<int64_t>(units, 0) / kUnitsPerMs;
  CString text;
  text.Format("%02lld:%02lld.%02lld", static_cast<long long>(ms / 60000),
              static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms / 10 % 100));
  return text;
}

Selection InitialSelection(int64_t trimStart, int64_t trimEnd, int64_t lengthMs) {
  const int64_t length = std::max<int64_t>(lengthMs, 0);
  Selection s;
  s.start = trimStart < 0 ? 0 : std::min(trimStart, length);
  s.end = trimEnd < 0 ? length : std::min(trimEnd, length);
  if (s.end < s.start) s.end = length;
  return s;
}

Selection WithStart(Selection s, int64_t start, int64_t lengthMs) {
  s.start = std::clamp<int64_t>(start, 0, std::max<int64_t>(lengthMs, 0));
  if (s.end <= s.start) s.end = std::max<int64_t>(lengthMs, s.start);
  return s;
}

Selection WithEnd(Selection s, int64_t end, int64_t lengthMs) {
  s.end = std::clamp<int64_t>(end, 0, std::max<int64_t>(lengthMs, 0));
  if (s.end <= s.start) s.start = 0;
  return s;
}

int GoToStart(int barPercent, int64_t trimStartMs, int64_t lengthMs) {
  const int p = PercentOf(trimStartMs, lengthMs);
  return barPercent == p ? 0 : p;
}

int GoToEnd(int barPercent, int64_t trimEndMs, int64_t lengthMs) {
  const int p = PercentOf(trimEndMs, lengthMs);
  return barPercent == p ? 100 : p;
}

}  // namespace trim_math
