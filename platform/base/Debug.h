// Diagnostics of the class library: assertions and trace output in debug builds (NDEBUG not
// defined), nothing in release builds, where ASSERT and TRACE do not even evaluate their
// arguments (VERIFY still does).
#pragma once

#include "platform/base/WinTypes.h"

class CObject;

namespace pictavo::debug {
// Reports a failed assertion on stderr and aborts.
[[noreturn]] void AssertFailed(const char* file, int line, const char* expression);
// Formatted text on stderr, with the conversions of platform/base/StringFormat.h.
void Trace(const char* format, ...);
// Runs the object's own AssertValid after checking the pointer.
void AssertValidObject(const CObject* object, const char* file, int line);
}  // namespace pictavo::debug

#ifndef NDEBUG
#define ASSERT(f) ((f) ? static_cast<void>(0) : ::pictavo::debug::AssertFailed(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) ::pictavo::debug::Trace(__VA_ARGS__)
#define ASSERT_VALID(pOb) ::pictavo::debug::AssertValidObject((pOb), __FILE__, __LINE__)
#else
#define ASSERT(f) static_cast<void>(0)
#define VERIFY(f) static_cast<void>(f)
#define TRACE(...) static_cast<void>(0)
#define ASSERT_VALID(pOb) static_cast<void>(0)
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define DEBUG_NEW new
#define UNUSED_ALWAYS(x) static_cast<void>(x)

// The class library's pointer checks: nothing is known about a pointer beyond its being set.
inline BOOL AfxIsValidAddress(const void* p, UINT_PTR nBytes, BOOL bReadWrite = TRUE) {
  return p != nullptr;
}
inline BOOL AfxIsValidString(const char* psz, int nLength = -1) {
  return psz != nullptr;
}
inline BOOL AfxIsValidString(const wchar_t* psz, int nLength = -1) {
  return psz != nullptr;
}

// Target of the diagnostic Dump members; the output goes nowhere.
class CDumpContext {
 public:
  template <class T>
  CDumpContext& operator<<(const T&) {
    return *this;
  }
};
extern CDumpContext afxDump;
