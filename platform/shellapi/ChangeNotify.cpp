#include "platform/shellapi/ChangeNotify.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/base/Utf8.h"
#include "platform/shellapi/KnownFolders.h"

namespace pictavo::shell {

namespace {

class Listeners {
 public:
  static Listeners& Get() {
    static Listeners listeners;
    return listeners;
  }
  void Add(std::shared_ptr<ChangeListener> listener) {
    std::lock_guard lock(m_lock);
    m_listeners.push_back(std::move(listener));
  }
  void Remove(const std::shared_ptr<ChangeListener>& listener) {
    std::lock_guard lock(m_lock);
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
  }
  bool Contains(const std::shared_ptr<ChangeListener>& listener) {
    std::lock_guard lock(m_lock);
    return std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end();
  }
  std::vector<std::shared_ptr<ChangeListener>> Snapshot() {
    std::lock_guard lock(m_lock);
    return m_listeners;
  }

 private:
  std::mutex m_lock;
  std::vector<std::shared_ptr<ChangeListener>> m_listeners;  // guarded by m_lock
};

std::string PathOf(UINT type, LPCVOID item) {
  if (!item) return {};
  switch (type) {
    case SHCNF_IDLIST: {
      char path[MAX_PATH];
      return SHGetPathFromIDList(static_cast<LPCITEMIDLIST>(item), path) ? std::string(path) : std::string();
    }
    case SHCNF_PATHA:
      return static_cast<const char*>(item);
    case SHCNF_PATHW:
      return utf8::FromWide(static_cast<const wchar_t*>(item));
    default:
      return {};
  }
}

}  // namespace

ChangeSubscription::~ChangeSubscription() {
  if (m_listener) Listeners::Get().Remove(m_listener);
}

ChangeSubscription& ChangeSubscription::operator=(ChangeSubscription&& other) noexcept {
  if (this != &other) {
    if (m_listener) Listeners::Get().Remove(m_listener);
    m_listener = std::move(other.m_listener);
  }
  return *this;
}

ChangeSubscription SubscribeToChanges(ChangeListener listener) {
  auto shared = std::make_shared<ChangeListener>(std::move(listener));
  Listeners::Get().Add(shared);
  return ChangeSubscription(std::move(shared));
}

}  // namespace pictavo::shell

void SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2) {
  using namespace pictavo::shell;
  const UINT type = flags & SHCNF_TYPE;
  const ChangeEvent event{eventId, PathOf(type, item1), PathOf(type, item2)};
  for (const auto& listener : Listeners::Get().Snapshot()) {
    // One that unsubscribed while an earlier one ran hears nothing more.
    if (Listeners::Get().Contains(listener)) (*listener)(event);
  }
}
