// Helpers for using and implementing component objects inside our layers: ComPtr holds one
// reference, Object<I...> implements IUnknown for a class that implements interfaces I...
#pragma once

#include <atomic>
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/com/Unknown.h"

namespace pictavo::com {

// One reference to an interface. Constructing from a raw pointer takes a new reference;
// Adopt() takes over one the caller already holds.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  explicit ComPtr(T* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  // From a pointer to an implementation or a derived interface.
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  ComPtr(ComPtr<U> other) : m_p(other.Detach()) {}
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }

  static ComPtr Adopt(T* p) {
    ComPtr out;
    out.m_p = p;
    return out;
  }

  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  void Reset() {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  // Gives up the reference without releasing it.
  [[nodiscard]] T* Detach() { return std::exchange(m_p, nullptr); }
  // For out-parameters: releases what is held and returns the slot to fill.
  T** Out() {
    Reset();
    return &m_p;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }

  // QueryInterface for interface Q.
  template <class Q>
  HRESULT As(ComPtr<Q>& out) const {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(InterfaceId<Q>::Get(), out.OutVoid());
  }

 private:
  T* m_p = nullptr;
};

// Implements IUnknown for a class deriving from it: thread-safe reference counting that deletes
// the object with its last reference, and QueryInterface answering IID_IUnknown and the IID of
// each interface in `Interfaces` (through InterfaceId). An object starts with one reference, the
// creator's. A class that answers more IIDs (base interfaces of its interfaces) overrides
// QueryOther.
template <class... Interfaces>
class Object : public Interfaces... {
  static_assert(sizeof...(Interfaces) > 0);

 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown)
      *object = static_cast<IUnknown*>(static_cast<First*>(this));
    else if (!(Match<Interfaces>(iid, object) || ...))
      *object = QueryOther(iid);
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
  }

 protected:
  Object() = default;
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // The interface pointer for another IID, or null.
  virtual void* QueryOther(REFIID iid) { return nullptr; }

 private:
  template <class First, class...>
  struct FirstOf {
    using Type = First;
  };
  using First = typename FirstOf<Interfaces...>::Type;

  template <class I>
  bool Match(REFIID iid, void** object) {
    if (!(iid == InterfaceId<I>::Get())) return false;
    *object = static_cast<I*>(this);
    return true;
  }

  std::atomic<ULONG> m_references{1};
};

// Creates a T and returns it as the interface `iid` (what a class factory does).
template <class T, class... Args>
HRESULT CreateInstance(REFIID iid, void** object, Args&&... args) {
  if (!object) return E_POINTER;
  *object = nullptr;
  T* instance = new (std::nothrow) T(std::forward<Args>(args)...);
  if (!instance) return E_OUTOFMEMORY;
  const HRESULT result = instance->QueryInterface(iid, object);
  instance->Release();
  return result;
}

// Creates a T holding its creator's reference.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace pictavo::com
