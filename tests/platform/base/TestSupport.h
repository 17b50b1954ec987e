// Shared helpers of the base tests: readable failure output and archive byte fixtures.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/MemFile.h"

inline void PrintTo(const CString& s, std::ostream* os) {
  *os << '"' << s.Str() << '"';
}

namespace testing_support {

using Bytes = std::vector<BYTE>;

// What `write` puts into a storing archive.
inline Bytes Store(const std::function<void(CArchive&)>& write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  const auto length = static_cast<size_t>(file.GetLength());
  BYTE* block = file.Detach();
  Bytes bytes(block, block + length);
  std::free(block);
  return bytes;
}

// Runs `read` over a loading archive on `bytes`.
inline void Load(Bytes bytes, const std::function<void(CArchive&)>& read) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  read(ar);
}

// An object's stored form.
inline Bytes StoreObject(CObject& object) {
  return Store([&](CArchive& ar) { object.Serialize(ar); });
}

// Loads `bytes` into the object; false when the archive threw (short or damaged data).
inline bool LoadObject(CObject& object, Bytes bytes) {
  try {
    Load(std::move(bytes), [&](CArchive& ar) {
      object.Serialize(ar);
      ar.Close();
    });
    return true;
  } catch (CException* e) {
    e->Delete();
    return false;
  }
}

// Bytes from a readable mix of numbers and text: {0x05, 0x00, "abc"}.
struct Piece {
  Piece(int byte) : text(1, static_cast<char>(byte)) {}  // NOLINT
  Piece(const char* chars) : text(chars) {}              // NOLINT
  std::string text;
};
inline Bytes B(std::initializer_list<Piece> pieces) {
  Bytes out;
  for (const auto& p : pieces) out.insert(out.end(), p.text.begin(), p.text.end());
  return out;
}

}  // namespace testing_support

namespace testing_support {

// Largest single allocation made through operator new while watching (see AllocationProbe.cpp).
void WatchAllocations(bool on);
size_t LargestAllocation();

}  // namespace testing_support

// Persistent classes for the archive and collection tests.
class CShape : public CObject {
  DECLARE_SERIAL(CShape)

 public:
  CShape() { ++s_live; }
  explicit CShape(LONG size) : m_size(size) { ++s_live; }
  ~CShape() override { --s_live; }
  void Serialize(CArchive& ar) override;
  LONG m_size = 0;
  static inline int s_live = 0;  // shapes alive, so a test can see what a failed load left
};

// Versionable: reads any schema and remembers the stored one.
class CCircle : public CShape {
  DECLARE_SERIAL(CCircle)

 public:
  void Serialize(CArchive& ar) override;
  CString m_name;
  UINT m_loadedSchema = 0;
};

// Refers to another object without owning it, for shared references and cycles.
class CLink : public CObject {
  DECLARE_SERIAL(CLink)

 public:
  void Serialize(CArchive& ar) override;
  CObject* m_next = nullptr;
};

// Creatable by class but not persistent.
class CNotPersistent : public CObject {
  DECLARE_DYNCREATE(CNotPersistent)
};
