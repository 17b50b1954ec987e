#include "tests/platform/base/TestSupport.h"

IMPLEMENT_SERIAL(CShape, CObject, 1)
IMPLEMENT_SERIAL(CCircle, CShape, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_SERIAL(CLink, CObject, 1)
IMPLEMENT_DYNCREATE(CNotPersistent, CObject)

void CShape::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_size;
  else
    ar >> m_size;
}

void CCircle::Serialize(CArchive& ar) {
  CShape::Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_name;
  } else {
    m_loadedSchema = ar.GetObjectSchema();
    ar >> m_name;
  }
}

void CLink::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_next;
  else
    ar >> m_next;
}
