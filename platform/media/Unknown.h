// The base of the component interfaces: GUIDs and IUnknown with reference counting and
// QueryInterface, as far as the media interfaces need them.
#pragma once

#include <cstring>

#include "platform/base/WinTypes.h"

#ifndef PICTAVO_GUID_DEFINED
#define PICTAVO_GUID_DEFINED
struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
  return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator==(REFGUID a, REFGUID b) {
  return IsEqualGUID(a, b);
}
#define IsEqualIID IsEqualGUID
#define IsEqualCLSID IsEqualGUID
#endif

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
