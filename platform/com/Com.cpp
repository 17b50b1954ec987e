#include "platform/com/Com.h"

#include <map>
#include <mutex>
#include <optional>
#include <tuple>

namespace {

// This thread's initialisations.
struct ThreadState {
  int comCount = 0;
  DWORD model = COINIT_APARTMENTTHREADED;  // meaningful while comCount > 0
  int oleCount = 0;
};
thread_local ThreadState t_state;

DWORD ModelOf(DWORD coInit) {
  return (coInit & COINIT_APARTMENTTHREADED) ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
}

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

class ClassTable {
 public:
  static ClassTable& Get() {
    static ClassTable table;  // built on first use, so static registrations of any layer find it
    return table;
  }
  void Set(REFCLSID clsid, pictavo::com::ClassFactory factory) {
    std::lock_guard lock(m_lock);
    if (factory)
      m_factories[clsid] = std::move(factory);
    else
      m_factories.erase(clsid);
  }
  pictavo::com::ClassFactory Find(REFCLSID clsid) {
    std::lock_guard lock(m_lock);
    auto found = m_factories.find(clsid);
    return found == m_factories.end() ? pictavo::com::ClassFactory{} : found->second;
  }

 private:
  std::mutex m_lock;
  std::map<CLSID, pictavo::com::ClassFactory, GuidLess> m_factories;  // guarded by m_lock
};

}  // namespace

HRESULT CoInitialize(LPVOID reserved) {
  return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit) {
  if (reserved) return E_INVALIDARG;
  ThreadState& state = t_state;
  const DWORD model = ModelOf(coInit);
  if (state.comCount > 0 && state.model != model) return RPC_E_CHANGED_MODE;
  state.model = model;
  return ++state.comCount == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (t_state.comCount > 0) --t_state.comCount;
}

HRESULT OleInitialize(LPVOID reserved) {
  if (reserved) return E_INVALIDARG;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(com)) return com;
  return ++t_state.oleCount == 1 ? S_OK : S_FALSE;
}

void OleUninitialize() {
  if (t_state.oleCount == 0) return;
  --t_state.oleCount;
  CoUninitialize();
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  const pictavo::com::ClassFactory factory = ClassTable::Get().Find(clsid);
  if (!factory) return REGDB_E_CLASSNOTREG;
  const HRESULT result = factory(iid, object);
  if (FAILED(result)) *object = nullptr;
  return result;
}

namespace pictavo::com {

void RegisterClassFactory(REFCLSID clsid, ClassFactory factory) {
  ClassTable::Get().Set(clsid, std::move(factory));
}

bool IsClassRegistered(REFCLSID clsid) {
  return static_cast<bool>(ClassTable::Get().Find(clsid));
}

ClassRegistration::ClassRegistration(REFCLSID clsid, ClassFactory factory) : m_clsid(clsid) {
  RegisterClassFactory(clsid, std::move(factory));
}

ClassRegistration::~ClassRegistration() {
  RegisterClassFactory(m_clsid, {});
}

}  // namespace pictavo::com
