#include "platform/base/Array.h"

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)

void CObArray::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
    for (INT_PTR i = 0; i < m_nSize; ++i) ar << m_pData[i];
    return;
  }
  // One object record at a time, so the array grows only with objects actually read.
  const DWORD_PTR count = ar.ReadCount();
  SetSize(0, -1);
  for (DWORD_PTR i = 0; i < count; ++i) {
    CObject* object = nullptr;
    ar >> object;
    Add(object);
  }
}
