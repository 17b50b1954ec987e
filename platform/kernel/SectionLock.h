// A critical section held for one scope.
#pragma once

#include "platform/kernel/CriticalSection.h"

namespace pictavo::kernel {

class SectionLock {
 public:
  explicit SectionLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
  ~SectionLock() { LeaveCriticalSection(&m_section); }
  SectionLock(const SectionLock&) = delete;
  SectionLock& operator=(const SectionLock&) = delete;

 private:
  CRITICAL_SECTION& m_section;
};

}  // namespace pictavo::kernel
