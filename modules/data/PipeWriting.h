// Writing streams into pipes that a reader (ffmpeg) may stop reading or leave: whole writes, and
// a guard that aborts writes blocked on a reader that does not read once the writing is to stop.
#pragma once

#include <initializer_list>
#include <thread>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::data {

// Writes all the bytes; NO_ERROR, or the error that ended the write (ERROR_NO_DATA when the
// reader is gone, ERROR_OPERATION_ABORTED when a WriteCanceller aborted it).
DWORD WriteAll(HANDLE pipe, const void* bytes, size_t count);

// While it lives: once one of the stop events is set, aborts the calls blocked on the pipes
// (again and again, as a write may start just after an abort) until the object goes. Null
// events and pipes are left out.
class WriteCanceller {
 public:
  WriteCanceller(std::initializer_list<HANDLE> pipes, std::initializer_list<HANDLE> stopEvents);
  ~WriteCanceller();
  WriteCanceller(const WriteCanceller&) = delete;
  WriteCanceller& operator=(const WriteCanceller&) = delete;

 private:
  HANDLE m_finished;
  std::thread m_thread;
};

// Whether the event is set now (false for null).
bool IsSet(HANDLE event);

}  // namespace pictavo::data
