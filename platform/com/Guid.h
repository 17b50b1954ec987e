// Globally unique identifiers: the names of component classes (CLSID) and interfaces (IID),
// compared by value and written as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

using OLECHAR = wchar_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

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
static_assert(sizeof(GUID) == 16);

using LPGUID = GUID*;
using LPIID = IID*;
using LPCLSID = CLSID*;

// Defines the constant where it is declared: every translation unit shares one inline object.
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  inline constexpr GUID name {                                       \
    l, w1, w2, {                                                     \
      b1, b2, b3, b4, b5, b6, b7, b8                                 \
    }                                                                \
  }

inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
#define CLSID_NULL GUID_NULL
#define IID_NULL GUID_NULL

// Writes the braced form into `text`; the characters written with the NUL (39), or 0 when
// `size` is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int size);
// The braced form (braces required, hex digits in either case). CO_E_CLASSSTRING for anything
// else; E_INVALIDARG for null arguments. Class names (ProgIDs) are not known here.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid);
// As CLSIDFromString, with E_INVALIDARG for text that is no GUID.
HRESULT IIDFromString(LPCOLESTR text, LPIID iid);
// The braced form in a block from CoTaskMemAlloc, which the caller frees with CoTaskMemFree.
HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text);
#define StringFromIID StringFromCLSID

namespace pictavo::com {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex.
std::string GuidToText(REFGUID guid);
// The braced form, or (with `braces` false) the bare one; nothing for other text.
std::optional<GUID> GuidFromText(std::string_view text, bool braces = true);

}  // namespace pictavo::com
