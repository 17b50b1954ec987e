// Automation values: BSTR strings and VARIANTs, with copying, clearing and type conversion.
//
// A BSTR points at wide characters (OLECHAR is wchar_t, 4 bytes here) preceded by a 4-byte byte
// count and followed by a NUL character; it may hold NULs of its own. A null BSTR is the empty
// string to every function here.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/com/Guid.h"
#include "platform/com/HResult.h"
#include "platform/com/Unknown.h"

using BSTR = OLECHAR*;
using LPBSTR = BSTR*;
using VARTYPE = USHORT;
using VARIANT_BOOL = short;
using DATE = double;
using DOUBLE = double;
using DISPID = LONG;
using MEMBERID = DISPID;

#define VARIANT_TRUE (static_cast<VARIANT_BOOL>(-1))
#define VARIANT_FALSE (static_cast<VARIANT_BOOL>(0))

union CY {
  struct {
    ULONG Lo;
    LONG Hi;
  } u;
  LONGLONG int64;
};

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF
};

struct IDispatch;

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CY cyVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    BYTE* pbVal;
    SHORT* piVal;
    LONG* plVal;
    LONGLONG* pllVal;
    FLOAT* pfltVal;
    DOUBLE* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    CY* pcyVal;
    DATE* pdate;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    VARIANT* pvarVal;
    PVOID byref;
    CHAR* pcVal;
    USHORT* puiVal;
    ULONG* pulVal;
    ULONGLONG* pullVal;
    INT* pintVal;
    UINT* puintVal;
  };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;
using LPVARIANTARG = VARIANT*;

#define V_VT(v) ((v)->vt)
#define V_ISBYREF(v) (V_VT(v) & VT_BYREF)
#define V_I2(v) ((v)->iVal)
#define V_I4(v) ((v)->lVal)
#define V_I8(v) ((v)->llVal)
#define V_R4(v) ((v)->fltVal)
#define V_R8(v) ((v)->dblVal)
#define V_BSTR(v) ((v)->bstrVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_UI1(v) ((v)->bVal)
#define V_UI2(v) ((v)->uiVal)
#define V_UI4(v) ((v)->ulVal)
#define V_INT(v) ((v)->intVal)
#define V_UINT(v) ((v)->uintVal)
#define V_ERROR(v) ((v)->scode)
#define V_DATE(v) ((v)->date)
#define V_UNKNOWN(v) ((v)->punkVal)
#define V_DISPATCH(v) ((v)->pdispVal)

// The automation interface; declared for interfaces that derive from it (no object here
// implements it).
struct ITypeInfo;
struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};
struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  PVOID pvReserved;
  HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};
inline constexpr IID IID_IDispatch{
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
struct IDispatch : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                                  DISPID* ids) = 0;
  virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                           DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                           UINT* argumentError) = 0;

 protected:
  ~IDispatch() = default;
};
PICTAVO_COM_INTERFACE_ID(IDispatch, IID_IDispatch);

// BSTRs. The allocation calls return null when memory runs out (or, for SysAllocString, for a
// null source).
BSTR SysAllocString(LPCOLESTR text);
// `length` characters copied from `text`, or left zero when `text` is null.
BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
// `bytes` bytes copied from `bytes` (zero when null); SysStringLen is bytes / sizeof(OLECHAR).
BSTR SysAllocStringByteLen(LPCSTR data, UINT bytes);
// Replace *bstr by a new string, freeing the old one; FALSE (the old one kept) on failure.
INT SysReAllocString(BSTR* bstr, LPCOLESTR text);
INT SysReAllocStringLen(BSTR* bstr, LPCOLESTR text, UINT length);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);

// VariantChangeType flags.
#define VARIANT_NOVALUEPROP 0x01
#define VARIANT_ALPHABOOL 0x02
#define VARIANT_NOUSEROVERRIDE 0x04
#define VARIANT_LOCALBOOL 0x10

#define LOCALE_USER_DEFAULT 0x0400u
#define LOCALE_SYSTEM_DEFAULT 0x0800u

void VariantInit(VARIANTARG* variant);
// Frees what the value owns (a BSTR, an interface reference) and leaves VT_EMPTY.
// DISP_E_BADVARTYPE for a type this layer does not know (arrays among them), the value kept.
HRESULT VariantClear(VARIANTARG* variant);
// Clears `dest`, then copies: BSTRs are duplicated, interfaces get a reference, by-reference
// values stay references.
HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* source);
// As VariantCopy, with a by-reference source copied as the value it refers to.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* source);
// Converts between VT_EMPTY, VT_I1/I2/I4/I8, VT_UI1/UI2/UI4/UI8, VT_INT, VT_UINT, VT_R4, VT_R8,
// VT_BOOL, VT_BSTR (and VT_ERROR to the 32-bit integers, VT_UNKNOWN and VT_DISPATCH into each
// other); `dest` may be `source`. Numbers to text are written in the C locale (R8 with 15
// significant digits, R4 with 7); text to numbers accepts blanks around a decimal number; real
// numbers become integers rounded to even. VT_BOOL becomes "-1" or "0", or with
// VARIANT_ALPHABOOL "True" or "False", which text is also read as (any case). A value out of the
// target's range gives DISP_E_OVERFLOW, text that is no number DISP_E_TYPEMISMATCH, as does VT_NULL
// and any pairing not listed (VT_DATE and VT_CY convert only to themselves). On failure `dest`
// is left as it was.
HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* source, USHORT flags, VARTYPE type);
HRESULT VariantChangeTypeEx(VARIANTARG* dest, const VARIANTARG* source, LCID locale, USHORT flags,
                            VARTYPE type);

namespace pictavo::com {

// A BSTR of UTF-8 text (null when memory runs out) and the UTF-8 text of a BSTR.
BSTR AllocBstr(std::string_view utf8);
std::string BstrToUtf8(BSTR bstr);

}  // namespace pictavo::com
