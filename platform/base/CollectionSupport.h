// What the collection classes share: positions, and the element helpers the class library
// lets a program specialise for its own types (SerializeElements, CompareElements, HashKey).
#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>

#include "platform/base/Archive.h"
#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"

// A place in a list or map; BEFORE_START_POSITION starts a map walk.
struct PictavoPosition;
using POSITION = PictavoPosition*;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<intptr_t>(-1)))

namespace pictavo::collections {

// Largest number of bytes one raw read or write moves.
inline constexpr size_t kRawStep = size_t{1} << 20;

template <class T>
concept ArchiveStorable = requires(CArchive& ar, T& v) {
  ar << v;
  ar >> v;
};

}  // namespace pictavo::collections

// Writes or reads nCount elements. Plain data goes as its bytes, as the class library does;
// other types go through their archive operators. Pointers (which would come back as garbage)
// and types with neither throw CNotSupportedException: specialise SerializeElements for them.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
  if (nCount <= 0) return;
  if constexpr (std::is_pointer_v<TYPE>) {
    AfxThrowNotSupportedException();
  } else if constexpr (std::is_trivially_copyable_v<TYPE>) {
    auto* bytes = reinterpret_cast<BYTE*>(pElements);
    size_t left = static_cast<size_t>(nCount) * sizeof(TYPE);
    while (left > 0) {
      const size_t step = left < pictavo::collections::kRawStep ? left : pictavo::collections::kRawStep;
      if (ar.IsStoring())
        ar.Write(bytes, static_cast<UINT>(step));
      else
        ar.EnsureRead(bytes, static_cast<UINT>(step));
      bytes += step;
      left -= step;
    }
  } else if constexpr (pictavo::collections::ArchiveStorable<TYPE>) {
    for (INT_PTR i = 0; i < nCount; ++i) {
      if (ar.IsStoring())
        ar << pElements[i];
      else
        ar >> pElements[i];
    }
  } else {
    AfxThrowNotSupportedException();
  }
}

template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// Bucket hash of a map key. Numbers, enumerations and pointers hash by value; strings by their
// characters. Other key types need a specialisation.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
  using Key = std::remove_cvref_t<ARG_KEY>;
  if constexpr (std::is_pointer_v<Key>) {
    return static_cast<UINT>(reinterpret_cast<uintptr_t>(key) >> 4);
  } else if constexpr (std::is_integral_v<Key> || std::is_enum_v<Key>) {
    return static_cast<UINT>(static_cast<uint64_t>(key) >> 4);
  } else {
    static_assert(std::is_pointer_v<Key>, "specialise HashKey for this key type");
    return 0;
  }
}

namespace pictavo::collections {
inline UINT HashString(const char* key) {
  UINT hash = 0;
  if (key != nullptr)
    for (; *key != '\0'; ++key)
      hash = (hash << 5) + hash + static_cast<UINT>(static_cast<int>(static_cast<signed char>(*key)));
  return hash;
}
}  // namespace pictavo::collections

template <>
inline UINT HashKey<const char*>(const char* key) {
  return pictavo::collections::HashString(key);
}
template <>
inline UINT HashKey<const CString&>(const CString& key) {
  return pictavo::collections::HashString(key.GetString());
}
template <>
inline UINT HashKey<CString>(CString key) {
  return pictavo::collections::HashString(key.GetString());
}
