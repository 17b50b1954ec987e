#include "platform/base/Map.h"

#include "platform/base/Archive.h"
#include "platform/base/Exceptions.h"

IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)

void CMapStringToOb::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
    if (m_pHashTable == nullptr) return;
    for (UINT i = 0; i < m_nHashTableSize; ++i)
      for (CAssoc* assoc = m_pHashTable[i]; assoc != nullptr; assoc = assoc->pNext)
        ar << assoc->key << assoc->value;
    return;
  }
  for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
    CString key;
    CObject* value = nullptr;
    ar >> key >> value;
    // A key stored twice would drop the first object unowned; no sound archive holds one.
    if (CObject* existing = nullptr; Lookup(key, existing))
      AfxThrowArchiveException(CArchiveException::genericException);
    SetAt(key, value);
  }
}
