// A CD address as minute, second and frame (75 frames a second), from an absolute sector address
// (sector address on the disc + 150).
#pragma once

#include <cstdint>

class Msf {
 public:
  constexpr explicit Msf(uint32_t address)
      : m_minute(address / (60 * 75)), m_second(address / 75 % 60), m_frame(address % 75) {}

  constexpr uint32_t Minute() const { return m_minute; }
  constexpr uint32_t Second() const { return m_second; }
  constexpr uint32_t Frame() const { return m_frame; }

  // The address back; Msf(a).Address() == a.
  constexpr uint32_t Address() const { return (m_minute * 60 + m_second) * 75 + m_frame; }

 private:
  uint32_t m_minute;
  uint32_t m_second;
  uint32_t m_frame;
};

// A value below 100 as a BCD byte: 59 -> 0x59.
constexpr uint8_t ToBcd(uint32_t value) {
  return static_cast<uint8_t>(value / 10 % 10 * 16 + value % 10);
}
