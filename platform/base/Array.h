// CArray and the class library's named arrays. Indices outside the array throw
// CInvalidArgException. Without a grow-by, the capacity grows by an eighth of the size (at
// least 4, at most 1024 elements). Archive form: the count, then the elements.
#pragma once

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "platform/base/CollectionSupport.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;
  ~CArray() override { Reallocate(0); }

  INT_PTR GetSize() const { return m_nSize; }
  INT_PTR GetCount() const { return m_nSize; }
  BOOL IsEmpty() const { return m_nSize == 0; }
  INT_PTR GetUpperBound() const { return m_nSize - 1; }
  // New elements are value-initialised (zero for numbers); nGrowBy -1 keeps the current one.
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
  void FreeExtra() { Reallocate(m_nSize); }
  void RemoveAll() { SetSize(0, -1); }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
  const TYPE& operator[](INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& operator[](INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }

  // The element may come from this array: it is copied before the array grows.
  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
  INT_PTR Add(ARG_TYPE newElement);
  INT_PTR Append(const CArray& src);
  void Copy(const CArray& src);
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
  void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray);
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

  void Serialize(CArchive& ar) override;

 protected:
  INT_PTR Checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
    return nIndex;
  }
  // Moves the elements into a block of nNewMax (>= m_nSize) elements.
  void Reallocate(INT_PTR nNewMax);
  // Loads a count and that many elements, growing with what the archive really holds.
  void LoadElements(CArchive& ar);

  TYPE* m_pData = nullptr;
  INT_PTR m_nSize = 0;
  INT_PTR m_nMaxSize = 0;
  INT_PTR m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax) {
  if (nNewMax == m_nMaxSize && nNewMax != 0) return;
  TYPE* block = nullptr;
  if (nNewMax > 0) {
    if (static_cast<size_t>(nNewMax) > SIZE_MAX / sizeof(TYPE)) AfxThrowMemoryException();
    block = static_cast<TYPE*>(::operator new(static_cast<size_t>(nNewMax) * sizeof(TYPE), std::nothrow));
    if (block == nullptr) AfxThrowMemoryException();
    std::uninitialized_move(m_pData, m_pData + m_nSize, block);
  } else {
    std::destroy(m_pData, m_pData + m_nSize);
    m_nSize = 0;
  }
  if (block != nullptr) std::destroy(m_pData, m_pData + m_nSize);
  ::operator delete(m_pData);
  m_pData = block;
  m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
  if (nNewSize < 0) AfxThrowInvalidArgException();
  if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
  if (nNewSize == 0) {
    Reallocate(0);
    return;
  }
  if (nNewSize > m_nMaxSize) {
    INT_PTR grow = m_nGrowBy;
    if (grow == 0) grow = std::min<INT_PTR>(1024, std::max<INT_PTR>(4, m_nSize / 8));
    Reallocate(m_pData == nullptr ? std::max(nNewSize, m_nGrowBy) : std::max(nNewSize, m_nMaxSize + grow));
  }
  if (nNewSize > m_nSize) {
    for (INT_PTR i = m_nSize; i < nNewSize; ++i) {
      ::new (static_cast<void*>(m_pData + i)) TYPE();
      m_nSize = i + 1;  // counted one by one: a throwing constructor leaves a consistent array
    }
  } else {
    std::destroy(m_pData + nNewSize, m_pData + m_nSize);
  }
  m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
  if (nIndex < 0) AfxThrowInvalidArgException();
  TYPE value(newElement);
  if (nIndex >= m_nSize) SetSize(nIndex + 1, -1);
  m_pData[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
  const INT_PTR index = m_nSize;
  SetAtGrow(index, newElement);
  return index;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
  if (&src == this) AfxThrowInvalidArgException();
  const INT_PTR oldSize = m_nSize;
  SetSize(m_nSize + src.m_nSize, -1);
  std::copy(src.m_pData, src.m_pData + src.m_nSize, m_pData + oldSize);
  return oldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
  if (&src == this) return;
  SetSize(src.m_nSize, -1);
  std::copy(src.m_pData, src.m_pData + src.m_nSize, m_pData);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
  if (nIndex < 0 || nCount <= 0) AfxThrowInvalidArgException();
  TYPE value(newElement);
  if (nIndex >= m_nSize) {  // past the end: the array grows up to the new elements
    SetSize(nIndex + nCount, -1);
  } else {
    const INT_PTR oldSize = m_nSize;
    SetSize(m_nSize + nCount, -1);
    std::move_backward(m_pData + nIndex, m_pData + oldSize, m_pData + oldSize + nCount);
  }
  std::fill(m_pData + nIndex, m_pData + nIndex + nCount, value);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
  if (pNewArray == nullptr || nStartIndex < 0) AfxThrowInvalidArgException();
  if (pNewArray->m_nSize == 0) return;
  if (pNewArray == this) AfxThrowInvalidArgException();
  InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->m_nSize);
  std::copy(pNewArray->m_pData, pNewArray->m_pData + pNewArray->m_nSize, m_pData + nStartIndex);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
  if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) AfxThrowInvalidArgException();
  std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
  std::destroy(m_pData + m_nSize - nCount, m_pData + m_nSize);
  m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::LoadElements(CArchive& ar) {
  const DWORD_PTR count = ar.ReadCount();
  SetSize(0, -1);
  constexpr INT_PTR kStep = 4096;
  INT_PTR done = 0;
  while (static_cast<DWORD_PTR>(done) < count) {
    const INT_PTR step = std::min<INT_PTR>(kStep, static_cast<INT_PTR>(count) - done);
    if (done + step > m_nMaxSize) Reallocate(std::max(done + step, 2 * m_nMaxSize));
    SetSize(done + step, -1);
    SerializeElements<TYPE>(ar, m_pData + done, step);
    done += step;
  }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if constexpr (std::is_pointer_v<TYPE>) AfxThrowNotSupportedException();
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
    SerializeElements<TYPE>(ar, m_pData, m_nSize);
  } else {
    LoadElements(ar);
  }
}

// The named arrays.

class CByteArray : public CArray<BYTE, BYTE> {
  DECLARE_SERIAL(CByteArray)
};

class CWordArray : public CArray<WORD, WORD> {
  DECLARE_SERIAL(CWordArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
  DECLARE_SERIAL(CDWordArray)
};

// Not persistent as a class; its Serialize writes 32-bit elements.
class CUIntArray : public CArray<UINT, UINT> {
  DECLARE_DYNAMIC(CUIntArray)
};

class CStringArray : public CArray<CString, LPCTSTR> {
  DECLARE_SERIAL(CStringArray)
};

// Pointers have no archive form: Serialize throws CNotSupportedException.
class CPtrArray : public CArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
};

// Serialises its elements as object records.
class CObArray : public CArray<CObject*, CObject*> {
  DECLARE_SERIAL(CObArray)

 public:
  void Serialize(CArchive& ar) override;
};
