// Result codes of the component calls: bit 31 is failure, bits 16-26 the facility, the low word
// the code. S_OK, S_FALSE and the common E_* codes are in platform/base/WinTypes.h.
#pragma once

#include "platform/base/WinTypes.h"

using SCODE = LONG;

#define SEVERITY_SUCCESS 0
#define SEVERITY_ERROR 1
#define FACILITY_NULL 0
#define FACILITY_RPC 1
#define FACILITY_DISPATCH 2
#define FACILITY_STORAGE 3
#define FACILITY_ITF 4
#define FACILITY_WIN32 7

#define MAKE_HRESULT(severity, facility, code)                                                       \
  static_cast<HRESULT>((static_cast<DWORD>(severity) << 31) | (static_cast<DWORD>(facility) << 16) | \
                       static_cast<DWORD>(code))
#define MAKE_SCODE(severity, facility, code) MAKE_HRESULT(severity, facility, code)
#define HRESULT_CODE(hr) (static_cast<DWORD>(hr) & 0xFFFFu)
#define SCODE_CODE(sc) HRESULT_CODE(sc)
#define HRESULT_FACILITY(hr) ((static_cast<DWORD>(hr) >> 16) & 0x1FFFu)
#define HRESULT_SEVERITY(hr) ((static_cast<DWORD>(hr) >> 31) & 0x1u)
#define IS_ERROR(status) (static_cast<DWORD>(status) >> 31 == SEVERITY_ERROR)

#ifndef HRESULT_FROM_WIN32
#define HRESULT_FROM_WIN32(x)    \
  (static_cast<HRESULT>(x) <= 0  \
       ? static_cast<HRESULT>(x) \
       : static_cast<HRESULT>((static_cast<DWORD>(x) & 0x0000FFFFu) | (7u << 16) | 0x80000000u))
#endif

#define NOERROR S_OK
#define E_PENDING static_cast<HRESULT>(0x8000000A)

#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110)
#define CLASS_E_CLASSNOTAVAILABLE static_cast<HRESULT>(0x80040111)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154)
#define CO_E_NOTINITIALIZED static_cast<HRESULT>(0x800401F0)
#define CO_E_CLASSSTRING static_cast<HRESULT>(0x800401F3)
#define RPC_E_CHANGED_MODE static_cast<HRESULT>(0x80010106)

#define DISP_E_UNKNOWNINTERFACE static_cast<HRESULT>(0x80020001)
#define DISP_E_MEMBERNOTFOUND static_cast<HRESULT>(0x80020003)
#define DISP_E_PARAMNOTFOUND static_cast<HRESULT>(0x80020004)
#define DISP_E_TYPEMISMATCH static_cast<HRESULT>(0x80020005)
#define DISP_E_UNKNOWNNAME static_cast<HRESULT>(0x80020006)
#define DISP_E_BADVARTYPE static_cast<HRESULT>(0x80020008)
#define DISP_E_EXCEPTION static_cast<HRESULT>(0x80020009)
#define DISP_E_OVERFLOW static_cast<HRESULT>(0x8002000A)
#define DISP_E_BADPARAMCOUNT static_cast<HRESULT>(0x8002000E)
