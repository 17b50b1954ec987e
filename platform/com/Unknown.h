// The base of every component interface: IUnknown with reference counting and QueryInterface,
// the class factory interface, and the link from an interface type to its IID that the helpers
// in ComObject.h use.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

#ifndef PICTAVO_IUNKNOWN_DEFINED
#define PICTAVO_IUNKNOWN_DEFINED
inline constexpr IID IID_IUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;  // objects go by Release, never by delete through an interface
};
using LPUNKNOWN = IUnknown*;
#endif

inline constexpr IID IID_IClassFactory{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IClassFactory : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) = 0;

 protected:
  ~IClassFactory() = default;
};
using LPCLASSFACTORY = IClassFactory*;

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0

namespace pictavo::com {

// InterfaceId<I>::Get() is the IID of interface I, declared next to the interface with
// PICTAVO_COM_INTERFACE_ID (outside any namespace).
template <class Interface>
struct InterfaceId;

}  // namespace pictavo::com

#define PICTAVO_COM_INTERFACE_ID(Interface, iid) \
  template <>                                    \
  struct pictavo::com::InterfaceId<Interface> {  \
    static const IID& Get() { return iid; }      \
  }

PICTAVO_COM_INTERFACE_ID(IUnknown, IID_IUnknown);
PICTAVO_COM_INTERFACE_ID(IClassFactory, IID_IClassFactory);
