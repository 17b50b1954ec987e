// CMap and the class library's named maps: hash tables of chained buckets (17 unless
// InitHashTable says otherwise). A walk (GetStartPosition / GetNextAssoc) visits the buckets in
// order and each bucket newest first; the archive form is the count, then key and value of each
// entry in that order. Loading adds to what the map holds.
#pragma once

#include <memory>
#include <new>

#include "platform/base/CollectionSupport.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;  // the full hash, so a walk can find the next bucket
    KEY key;
    VALUE value;
  };

 public:
  // The block size is accepted for the class library's signature; entries are allocated singly.
  explicit CMap(INT_PTR nBlockSize = 10) {}
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
  // The value of key, added (value-initialised) when the map does not hold it.
  VALUE& operator[](ARG_KEY key);
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key);
  void RemoveAll();

  POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

  UINT GetHashTableSize() const { return m_nHashTableSize; }
  // Sets the number of buckets (entries already held are moved to their new buckets).
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

  void Serialize(CArchive& ar) override;

 protected:
  CAssoc* Find(ARG_KEY key, UINT& nBucket, UINT& nHashValue) const;
  CAssoc* FirstFrom(UINT nBucket) const;

  std::unique_ptr<CAssoc*[]> m_pHashTable;  // allocated with the first entry
  UINT m_nHashTableSize = 17;
  INT_PTR m_nCount = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Find(
    ARG_KEY key, UINT& nBucket, UINT& nHashValue) const {
  nHashValue = HashKey<ARG_KEY>(key);
  nBucket = nHashValue % m_nHashTableSize;
  if (m_pHashTable == nullptr) return nullptr;
  for (CAssoc* assoc = m_pHashTable[nBucket]; assoc != nullptr; assoc = assoc->pNext)
    if (assoc->nHashValue == nHashValue && CompareElements(&assoc->key, &key)) return assoc;
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
  UINT bucket, hash;
  const CAssoc* assoc = Find(key, bucket, hash);
  if (assoc == nullptr) return FALSE;
  rValue = assoc->value;
  return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
  UINT bucket, hash;
  if (CAssoc* assoc = Find(key, bucket, hash)) return assoc->value;
  if (m_pHashTable == nullptr) InitHashTable(m_nHashTableSize);
  auto* assoc = new (std::nothrow) CAssoc{m_pHashTable[bucket], hash, KEY(key), VALUE()};
  if (assoc == nullptr) AfxThrowMemoryException();
  m_pHashTable[bucket] = assoc;
  ++m_nCount;
  return assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
  UINT bucket, hash;
  if (Find(key, bucket, hash) == nullptr) return FALSE;
  for (CAssoc** link = &m_pHashTable[bucket]; *link != nullptr; link = &(*link)->pNext) {
    CAssoc* assoc = *link;
    if (assoc->nHashValue == hash && CompareElements(&assoc->key, &key)) {
      *link = assoc->pNext;
      delete assoc;
      --m_nCount;
      return TRUE;
    }
  }
  return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
  if (m_pHashTable != nullptr) {
    for (UINT i = 0; i < m_nHashTableSize; ++i) {
      for (CAssoc* assoc = m_pHashTable[i]; assoc != nullptr;) {
        CAssoc* next = assoc->pNext;
        delete assoc;
        assoc = next;
      }
    }
  }
  m_pHashTable.reset();
  m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow) {
  if (hashSize == 0) AfxThrowInvalidArgException();
  std::unique_ptr<CAssoc*[]> table;
  if (bAllocNow || m_nCount > 0) {
    table.reset(new (std::nothrow) CAssoc*[hashSize]());
    if (table == nullptr) AfxThrowMemoryException();
  }
  if (m_pHashTable != nullptr) {
    // Re-bucket in walk order so each bucket keeps its newest-first order.
    for (UINT i = m_nHashTableSize; i-- > 0;) {
      CAssoc* chain = m_pHashTable[i];
      CAssoc* reversed = nullptr;
      while (chain != nullptr) {
        CAssoc* next = chain->pNext;
        chain->pNext = reversed;
        reversed = chain;
        chain = next;
      }
      for (CAssoc* assoc = reversed; assoc != nullptr;) {
        CAssoc* next = assoc->pNext;
        const UINT bucket = assoc->nHashValue % hashSize;
        assoc->pNext = table[bucket];
        table[bucket] = assoc;
        assoc = next;
      }
    }
  }
  m_pHashTable = std::move(table);
  m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstFrom(
    UINT nBucket) const {
  for (; nBucket < m_nHashTableSize; ++nBucket)
    if (m_pHashTable[nBucket] != nullptr) return m_pHashTable[nBucket];
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                        VALUE& rValue) const {
  if (rNextPosition == nullptr || m_pHashTable == nullptr) AfxThrowInvalidArgException();
  CAssoc* assoc =
      rNextPosition == BEFORE_START_POSITION ? FirstFrom(0) : reinterpret_cast<CAssoc*>(rNextPosition);
  if (assoc == nullptr) AfxThrowInvalidArgException();
  CAssoc* next = assoc->pNext != nullptr ? assoc->pNext : FirstFrom(assoc->nHashValue % m_nHashTableSize + 1);
  rNextPosition = reinterpret_cast<POSITION>(next);
  rKey = assoc->key;
  rValue = assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if constexpr (std::is_pointer_v<KEY> || std::is_pointer_v<VALUE>) AfxThrowNotSupportedException();
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
    if (m_pHashTable == nullptr) return;
    for (UINT i = 0; i < m_nHashTableSize; ++i) {
      for (CAssoc* assoc = m_pHashTable[i]; assoc != nullptr; assoc = assoc->pNext) {
        SerializeElements<KEY>(ar, &assoc->key, 1);
        SerializeElements<VALUE>(ar, &assoc->value, 1);
      }
    }
    return;
  }
  for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
    KEY key{};
    VALUE value{};
    SerializeElements<KEY>(ar, &key, 1);
    SerializeElements<VALUE>(ar, &value, 1);
    SetAt(key, value);
  }
}

// The named maps.

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
  DECLARE_DYNAMIC(CMapStringToPtr)

 public:
  explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
  DECLARE_SERIAL(CMapStringToOb)

 public:
  explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  // Keys as strings, values as object records; the map does not own the objects.
  void Serialize(CArchive& ar) override;
};

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
  DECLARE_SERIAL(CMapStringToString)

 public:
  explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
  DECLARE_DYNAMIC(CMapPtrToPtr)

 public:
  explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
  DECLARE_DYNAMIC(CMapWordToPtr)

 public:
  explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
  DECLARE_DYNAMIC(CMapPtrToWord)

 public:
  explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
