#include "platform/base/List.h"

IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)

void CObList::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
    for (CNode* node = m_pNodeHead; node != nullptr; node = node->pNext) ar << node->data;
    return;
  }
  for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
    CObject* object = nullptr;
    ar >> object;
    AddTail(object);
  }
}
