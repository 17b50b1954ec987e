#include "platform/base/Object.h"

#include <cstring>
#include <mutex>

namespace {
// Classes register during static initialisation, possibly from several threads of a program
// that loads libraries later; the list only grows.
std::mutex g_classLock;
CRuntimeClass* g_firstClass = nullptr;  // guarded by g_classLock
}  // namespace

namespace pictavo {
ClassRegistration::ClassRegistration(CRuntimeClass* pClass) {
  std::lock_guard lock(g_classLock);
  pClass->m_pNextClass = g_firstClass;
  g_firstClass = pClass;
}
}  // namespace pictavo

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr,
                                       nullptr};
static const pictavo::ClassRegistration g_registerCObject(RUNTIME_CLASS(CObject));

CObject* CRuntimeClass::CreateObject() const {
  if (m_pfnCreateObject == nullptr) {
    TRACE("%s cannot be created by class\n", m_lpszClassName);
    return nullptr;
  }
  return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
    if (c == pBaseClass) return TRUE;
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  std::lock_guard lock(g_classLock);
  for (CRuntimeClass* c = g_firstClass; c != nullptr; c = c->m_pNextClass)
    if (std::strcmp(c->m_lpszClassName, lpszClassName) == 0) return c;
  return nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const {
  return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsSerializable() const {
  return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive& ar) {}
