// CList and the class library's named lists: doubly linked, walked with POSITION values.
// Reaching past an end (the head of an empty list, a null position) throws
// CInvalidArgException. Archive form: the count, then the elements; loading appends.
#pragma once

#include <utility>

#include "platform/base/CollectionSupport.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 protected:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  // The block size is accepted for the class library's signature; nodes are allocated singly.
  explicit CList(INT_PTR nBlockSize = 10) {}
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return Checked(m_pNodeHead)->data; }
  const TYPE& GetHead() const { return Checked(m_pNodeHead)->data; }
  TYPE& GetTail() { return Checked(m_pNodeTail)->data; }
  const TYPE& GetTail() const { return Checked(m_pNodeTail)->data; }
  TYPE RemoveHead();
  TYPE RemoveTail();

  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
  // Copies of another list's elements, in its order.
  void AddHead(const CList* pNewList);
  void AddTail(const CList* pNewList);
  void RemoveAll();

  POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
  POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
  // The element at rPosition; rPosition moves on (null after the last one).
  TYPE& GetNext(POSITION& rPosition);
  const TYPE& GetNext(POSITION& rPosition) const;
  TYPE& GetPrev(POSITION& rPosition);
  const TYPE& GetPrev(POSITION& rPosition) const;

  TYPE& GetAt(POSITION position) { return Checked(ToNode(position))->data; }
  const TYPE& GetAt(POSITION position) const { return Checked(ToNode(position))->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Checked(ToNode(pos))->data = newElement; }
  void RemoveAt(POSITION position);
  // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

  // Searches after startAfter (from the head when null) with CompareElements; null if absent.
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
  // The position of the element at nIndex, or null when out of range.
  POSITION FindIndex(INT_PTR nIndex) const;

  void Serialize(CArchive& ar) override;

 protected:
  static CNode* ToNode(POSITION position) { return reinterpret_cast<CNode*>(position); }
  static POSITION ToPosition(CNode* node) { return reinterpret_cast<POSITION>(node); }
  static CNode* Checked(CNode* node) {
    if (node == nullptr) AfxThrowInvalidArgException();
    return node;
  }
  CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE value);

  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
};

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(CNode* pPrev, CNode* pNext,
                                                                      ARG_TYPE value) {
  auto* node = new (std::nothrow) CNode{pNext, pPrev, TYPE(value)};
  if (node == nullptr) AfxThrowMemoryException();
  ++m_nCount;
  return node;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
  CNode* old = ToNode(position);
  if (old == nullptr) old = m_pNodeHead;
  CNode* node = NewNode(old != nullptr ? old->pPrev : nullptr, old, newElement);
  if (old == nullptr) {  // empty list
    m_pNodeHead = m_pNodeTail = node;
    return ToPosition(node);
  }
  if (old->pPrev != nullptr)
    old->pPrev->pNext = node;
  else
    m_pNodeHead = node;
  old->pPrev = node;
  return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
  CNode* old = ToNode(position);
  if (old == nullptr) old = m_pNodeTail;
  CNode* node = NewNode(old, old != nullptr ? old->pNext : nullptr, newElement);
  if (old == nullptr) {
    m_pNodeHead = m_pNodeTail = node;
    return ToPosition(node);
  }
  if (old->pNext != nullptr)
    old->pNext->pPrev = node;
  else
    m_pNodeTail = node;
  old->pNext = node;
  return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
  CNode* node = Checked(ToNode(position));
  if (node->pPrev != nullptr)
    node->pPrev->pNext = node->pNext;
  else
    m_pNodeHead = node->pNext;
  if (node->pNext != nullptr)
    node->pNext->pPrev = node->pPrev;
  else
    m_pNodeTail = node->pPrev;
  delete node;
  --m_nCount;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
  CNode* node = Checked(m_pNodeHead);
  TYPE value(std::move(node->data));
  RemoveAt(ToPosition(node));
  return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
  CNode* node = Checked(m_pNodeTail);
  TYPE value(std::move(node->data));
  RemoveAt(ToPosition(node));
  return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(const CList* pNewList) {
  if (pNewList == nullptr) AfxThrowInvalidArgException();
  // Walk backwards, each element going to the head, so the other list's order is kept; a list
  // added to itself stops at the node that was its head.
  const CNode* stop = pNewList->m_pNodeHead;
  for (CNode* node = pNewList->m_pNodeTail; node != nullptr; node = node->pPrev) {
    AddHead(node->data);
    if (node == stop) break;
  }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(const CList* pNewList) {
  if (pNewList == nullptr) AfxThrowInvalidArgException();
  const CNode* stop = pNewList->m_pNodeTail;
  for (CNode* node = pNewList->m_pNodeHead; node != nullptr; node = node->pNext) {
    AddTail(node->data);
    if (node == stop) break;
  }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
  for (CNode* node = m_pNodeHead; node != nullptr;) {
    CNode* next = node->pNext;
    delete node;
    node = next;
  }
  m_pNodeHead = m_pNodeTail = nullptr;
  m_nCount = 0;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition) {
  CNode* node = Checked(ToNode(rPosition));
  rPosition = ToPosition(node->pNext);
  return node->data;
}

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition) const {
  CNode* node = Checked(ToNode(rPosition));
  rPosition = ToPosition(node->pNext);
  return node->data;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition) {
  CNode* node = Checked(ToNode(rPosition));
  rPosition = ToPosition(node->pPrev);
  return node->data;
}

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition) const {
  CNode* node = Checked(ToNode(rPosition));
  rPosition = ToPosition(node->pPrev);
  return node->data;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
  CNode* node = startAfter == nullptr ? m_pNodeHead : ToNode(startAfter)->pNext;
  for (; node != nullptr; node = node->pNext)
    if (CompareElements<TYPE>(&node->data, &searchValue)) return ToPosition(node);
  return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  CNode* node = m_pNodeHead;
  while (nIndex-- > 0) node = node->pNext;
  return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if constexpr (std::is_pointer_v<TYPE>) AfxThrowNotSupportedException();
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
    for (CNode* node = m_pNodeHead; node != nullptr; node = node->pNext)
      SerializeElements<TYPE>(ar, &node->data, 1);
    return;
  }
  for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
    TYPE value{};
    SerializeElements<TYPE>(ar, &value, 1);
    AddTail(value);
  }
}

// The named lists.

class CStringList : public CList<CString, LPCTSTR> {
  DECLARE_SERIAL(CStringList)

 public:
  explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

// Pointers have no archive form: Serialize throws CNotSupportedException.
class CPtrList : public CList<void*, void*> {
  DECLARE_DYNAMIC(CPtrList)

 public:
  explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

// Serialises its elements as object records; the list does not own them.
class CObList : public CList<CObject*, CObject*> {
  DECLARE_SERIAL(CObList)

 public:
  explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
  void Serialize(CArchive& ar) override;
};
