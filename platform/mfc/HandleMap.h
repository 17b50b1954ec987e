// Internal: the map from handles to the framework objects that wrap them. A permanent object is
// one the program owns and attached; a temporary object is made by FromHandle for a handle that
// has none and lives until the thread next goes idle with no window procedure running.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

namespace pictavo::mfc {

template <class Handle, class Object>
class HandleMap {
 public:
  Object* FindPermanent(Handle handle) const {
    auto it = m_permanent.find(handle);
    return it == m_permanent.end() ? nullptr : it->second;
  }
  Object* FindTemporary(Handle handle) const {
    auto it = m_temporary.find(handle);
    return it == m_temporary.end() ? nullptr : it->second.get();
  }
  void SetPermanent(Handle handle, Object* object) { m_permanent[handle] = object; }
  void RemovePermanent(Handle handle, const Object* object) {
    auto it = m_permanent.find(handle);
    if (it != m_permanent.end() && it->second == object) m_permanent.erase(it);
  }
  Object* AddTemporary(Handle handle, std::unique_ptr<Object> object) {
    Object* raw = object.get();
    m_temporary[handle] = std::move(object);
    return raw;
  }
  // Frees the temporary objects; `release` first takes the handle away from each, so freeing it
  // leaves the handle alone.
  template <class Release>
  void DeleteTemporaries(Release release) {
    auto temporaries = std::move(m_temporary);
    m_temporary.clear();
    for (auto& [handle, object] : temporaries) release(*object);
  }

 private:
  std::unordered_map<Handle, Object*> m_permanent;
  std::unordered_map<Handle, std::unique_ptr<Object>> m_temporary;
};

}  // namespace pictavo::mfc
