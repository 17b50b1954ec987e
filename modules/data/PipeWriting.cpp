#include "modules/data/PipeWriting.h"

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Wait.h"

namespace pictavo::data {

DWORD WriteAll(HANDLE pipe, const void* bytes, size_t count) {
  pictavo::kernel::IgnoreBrokenPipeSignal();
  const auto* at = static_cast<const BYTE*>(bytes);
  while (count > 0) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(count, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(pipe, at, piece, &written, nullptr)) {
      const DWORD error = GetLastError();
      return error != NO_ERROR ? error : ERROR_NO_DATA;
    }
    at += written;
    count -= written;
  }
  return NO_ERROR;
}

bool IsSet(HANDLE event) {
  return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

WriteCanceller::WriteCanceller(std::initializer_list<HANDLE> pipes, std::initializer_list<HANDLE> stopEvents)
    : m_finished(CreateEvent(nullptr, TRUE, FALSE, nullptr)) {
  std::vector<HANDLE> targets;
  for (HANDLE pipe : pipes)
    if (pipe != nullptr && pipe != INVALID_HANDLE_VALUE) targets.push_back(pipe);
  std::vector<HANDLE> waits{m_finished};
  for (HANDLE event : stopEvents)
    if (event != nullptr) waits.push_back(event);
  m_thread = std::thread([this, targets = std::move(targets), waits = std::move(waits)] {
    const DWORD which =
        WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, INFINITE);
    if (which == WAIT_OBJECT_0) return;
    while (WaitForSingleObject(m_finished, 20) == WAIT_TIMEOUT)
      for (HANDLE pipe : targets) CancelIoEx(pipe, nullptr);
  });
}

WriteCanceller::~WriteCanceller() {
  SetEvent(m_finished);
  m_thread.join();
  CloseHandle(m_finished);
}

}  // namespace pictavo::data
