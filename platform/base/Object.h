// CObject and its run-time class records: IsKindOf, creation by class (DYNCREATE) and the
// persistent classes that archives write and read by name (SERIAL).
//
//   class CShape : public CObject { DECLARE_SERIAL(CShape) ... };
//   IMPLEMENT_SERIAL(CShape, CObject, VERSIONABLE_SCHEMA | 2)
//
// Every class record made with an IMPLEMENT_ macro is registered at start-up, so FromName finds
// it. A class whose object file the linker leaves out (nothing else in it is used) is not
// registered; archives then report it as an unknown class.
#pragma once

#include "platform/base/Debug.h"
#include "platform/base/WinTypes.h"

class CArchive;
class CObject;

// A class's schema with this bit set accepts objects of any schema from an archive; the
// object's Serialize asks the archive for the stored one (CArchive::GetObjectSchema).
#define VERSIONABLE_SCHEMA (0x80000000u)

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                   // 0xFFFF: not persistent
  CObject* (*m_pfnCreateObject)();  // null: not creatable by class
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;  // registry link, set once at start-up

  // A new object of this class, or null when the class cannot be created by class.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // The registered class of that name, or null.
  static CRuntimeClass* FromName(LPCSTR lpszClassName);

  // Archive form of a class reference: schema (16 bits), name length (16 bits), name.
  void Store(CArchive& ar) const;
  // Reads that form; null for an unknown class or a name too long to be one.
  static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

namespace pictavo {
// Adds a class to the registry FromName searches; the IMPLEMENT_ macros call it.
struct ClassRegistration {
  explicit ClassRegistration(CRuntimeClass* pClass);
};
// ar.ReadObject(pClass), for the typed extraction operator DECLARE_SERIAL declares.
CObject* ReadObjectOf(CArchive& ar, const CRuntimeClass* pClass);
// Longest class name an archive may carry.
inline constexpr int kMaxClassNameLength = 64;
}  // namespace pictavo

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)       \
 public:                                  \
  static CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) \
  DECLARE_DYNCREATE(class_name)    \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define PICTAVO_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
  CRuntimeClass class_name::class##class_name = {                                    \
      #class_name, static_cast<int>(sizeof(class_name)), (wSchema),                  \
      (pfnNew),    RUNTIME_CLASS(base_class_name),       nullptr};                   \
  CRuntimeClass* class_name::GetRuntimeClass() const {                               \
    return RUNTIME_CLASS(class_name);                                                \
  }                                                                                  \
  static const ::pictavo::ClassRegistration pictavo_register_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  PICTAVO_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
  CObject* class_name::CreateObject() {                  \
    return new class_name;                               \
  }                                                      \
  PICTAVO_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                   \
  CObject* class_name::CreateObject() {                                                          \
    return new class_name;                                                                       \
  }                                                                                              \
  PICTAVO_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
  CArchive& operator>>(CArchive& ar, class_name*& pOb) {                                         \
    pOb = static_cast<class_name*>(::pictavo::ReadObjectOf(ar, RUNTIME_CLASS(class_name)));      \
    return ar;                                                                                   \
  }

class CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

  BOOL IsSerializable() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}
  virtual void Dump(CDumpContext& dc) const {}

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;
};

// Object records of an archive (see CArchive::WriteObject / ReadObject).
CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
