#include "modules/data/GraphBuilderCB.h"

CGraphBuilderCB::CGraphBuilderCB(int) {}

HRESULT STDMETHODCALLTYPE CGraphBuilderCB::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
  *object = static_cast<IUnknown*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE CGraphBuilderCB::AddRef() {
  return ++m_references;
}

ULONG STDMETHODCALLTYPE CGraphBuilderCB::Release() {
  const ULONG left = --m_references;
  if (left == 0) delete this;
  return left;
}
