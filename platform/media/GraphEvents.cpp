#include "platform/media/GraphEvents.h"

#include <chrono>

#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/media/FilterGraph.h"
#include "platform/user/Message.h"

namespace pictavo::media::detail {
namespace {

// Waits on `condition` for `milliseconds` (INFINITE: without limit) until `ready` holds.
template <class Ready>
bool WaitFor(std::condition_variable& condition, std::unique_lock<std::mutex>& lock, DWORD milliseconds,
             Ready ready) {
  if (milliseconds == INFINITE) {
    condition.wait(lock, ready);
    return true;
  }
  return condition.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
}

bool IsCompletion(long code) {
  return code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT;
}

}  // namespace

GraphEvents::GraphEvents() {
  m_handle = CreateEvent(nullptr, TRUE, FALSE, nullptr);
}

GraphEvents::~GraphEvents() {
  if (m_handle) CloseHandle(m_handle);
}

void GraphEvents::Post(long code, LONG_PTR param1, LONG_PTR param2) {
  HWND window = nullptr;
  UINT message = 0;
  LONG_PTR instanceData = 0;
  {
    std::lock_guard lock(m_lock);
    m_queue.push_back(Event{code, param1, param2});
    if (IsCompletion(code) && !m_completion) m_completion = code;
    window = m_window;
    message = m_message;
    instanceData = m_instanceData;
    SetEvent(m_handle);
  }
  m_changed.notify_all();
  // A window that is gone is no error of the graph's: the event stays queued.
  if (window) PostMessage(window, message, 0, instanceData);
}

bool GraphEvents::Take(long& code, LONG_PTR& param1, LONG_PTR& param2, DWORD milliseconds) {
  std::unique_lock lock(m_lock);
  if (!WaitFor(m_changed, lock, milliseconds, [&] { return !m_queue.empty(); })) return false;
  const Event event = m_queue.front();
  m_queue.pop_front();
  if (m_queue.empty()) ResetEvent(m_handle);
  code = event.code;
  param1 = event.param1;
  param2 = event.param2;
  return true;
}

void GraphEvents::SetNotifyWindow(HWND window, UINT message, LONG_PTR instanceData) {
  std::lock_guard lock(m_lock);
  m_window = window;
  m_message = message;
  m_instanceData = instanceData;
}

void GraphEvents::ResetCompletion() {
  std::lock_guard lock(m_lock);
  m_completion.reset();
}

std::optional<long> GraphEvents::WaitForCompletion(DWORD milliseconds) {
  std::unique_lock lock(m_lock);
  if (!WaitFor(m_changed, lock, milliseconds, [&] { return m_completion.has_value(); })) return std::nullopt;
  return m_completion;
}

}  // namespace pictavo::media::detail
