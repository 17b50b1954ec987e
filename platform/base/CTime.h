// CTime: a point in time as seconds since 1970-01-01 UTC, as file status records carry it.
#pragma once

#include <compare>
#include <ctime>

class CTime {
 public:
  CTime() = default;
  explicit CTime(time_t time) : m_time(time) {}

  time_t GetTime() const { return m_time; }
  friend auto operator<=>(const CTime&, const CTime&) = default;

 private:
  time_t m_time = 0;
};
