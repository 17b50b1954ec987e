#include "platform/base/Archive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "platform/base/Utf8.h"

static_assert(std::endian::native == std::endian::little, "archives and arrays assume little-endian");

namespace {

constexpr WORD kNullTag = 0;            // a null object
constexpr WORD kNewClassTag = 0xFFFF;   // a class met for the first time follows
constexpr WORD kClassTag = 0x8000;      // or'ed into the index of a class met before
constexpr WORD kBigObjectTag = 0x7FFF;  // a 32-bit tag follows
constexpr DWORD kBigClassTag = 0x80000000;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;

// Bytes read per step when the length comes from the data, so memory follows what is there.
constexpr size_t kReadChunk = 64 * 1024;

// Objects whose Serialize reads further objects nest on the stack; data nested deeper than
// any the program writes is refused before it can exhaust the stack.
constexpr int kMaxObjectNesting = 256;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* /*lpBuf*/)
    : m_pFile(pFile), m_nMode(nMode), m_buffer(static_cast<size_t>(std::max(nBufSize, 128))) {
  if (pFile != nullptr) m_strFileName = pFile->GetFilePath();
  m_loadArray.push_back(LoadEntry{nullptr, nullptr, 0});
}

CArchive::~CArchive() {
  if (m_pFile == nullptr) return;
  if (m_nMode & bNoFlushOnDelete) {
    Abort();
    return;
  }
  try {
    Close();
  } catch (CException* e) {
    e->Delete();  // the caller did not Close(), so it does not want to hear about it
    Abort();
  }
}

void CArchive::Throw(int cause) const {
  AfxThrowArchiveException(cause, m_strFileName);
}

void CArchive::CheckOpen() const {
  if (m_pFile == nullptr) Throw(CArchiveException::genericException);
}

UINT CArchive::GetObjectSchema() {
  const UINT schema = m_nObjectSchema;
  m_nObjectSchema = static_cast<UINT>(-1);
  return schema;
}

// Raw bytes

void CArchive::FillBuffer() {
  m_cur = m_end = 0;
  m_end = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  CheckOpen();
  if (!IsLoading()) Throw(CArchiveException::writeOnly);
  auto* out = static_cast<BYTE*>(lpBuf);
  UINT done = 0;
  while (done < nMax) {
    if (m_cur == m_end) {
      const UINT left = nMax - done;
      if (left >= m_buffer.size()) {  // large reads go straight to the caller
        const UINT n = m_pFile->Read(out + done, left);
        done += n;
        break;
      }
      FillBuffer();
      if (m_end == 0) break;
    }
    const size_t n = std::min<size_t>(m_end - m_cur, nMax - done);
    std::memcpy(out + done, m_buffer.data() + m_cur, n);
    m_cur += n;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CArchive::EnsureRead(void* lpBuf, UINT nCount) {
  if (Read(lpBuf, nCount) != nCount) Throw(CArchiveException::endOfFile);
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  CheckOpen();
  if (!IsStoring()) Throw(CArchiveException::readOnly);
  const auto* in = static_cast<const BYTE*>(lpBuf);
  if (m_cur + nMax > m_buffer.size()) {
    Flush();
    if (nMax >= m_buffer.size()) {
      m_pFile->Write(in, nMax);
      return;
    }
  }
  std::memcpy(m_buffer.data() + m_cur, in, nMax);
  m_cur += nMax;
}

void CArchive::Flush() {
  CheckOpen();
  if (IsStoring()) {
    if (m_cur > 0) {
      const auto n = static_cast<UINT>(m_cur);
      m_cur = 0;
      m_pFile->Write(m_buffer.data(), n);
    }
  } else if (m_cur != m_end) {
    const auto unread = static_cast<LONGLONG>(m_end - m_cur);
    m_cur = m_end = 0;
    m_pFile->Seek(-unread, CFile::current);
  }
}

void CArchive::Close() {
  CheckOpen();
  Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() {
  m_pFile = nullptr;
  m_cur = m_end = 0;
}

// Numbers and text

CArchive& CArchive::operator<<(float v) {
  return WriteLE<uint32_t>(std::bit_cast<uint32_t>(v));
}
CArchive& CArchive::operator<<(double v) {
  return WriteLE<uint64_t>(std::bit_cast<uint64_t>(v));
}
CArchive& CArchive::operator>>(float& v) {
  v = std::bit_cast<float>(ReadLE<uint32_t>());
  return *this;
}
CArchive& CArchive::operator>>(double& v) {
  v = std::bit_cast<double>(ReadLE<uint64_t>());
  return *this;
}

CArchive& CArchive::operator<<(const char* psz) {
  return ::operator<<(*this, CString(psz));
}

DWORD_PTR CArchive::ReadCount() {
  WORD count;
  *this >> count;
  if (count != 0xFFFF) return count;
  DWORD big;
  *this >> big;
  return big;
}

void CArchive::WriteCount(DWORD_PTR dwCount) {
  if (dwCount < 0xFFFF) {
    *this << static_cast<WORD>(dwCount);
  } else {
    if (dwCount > 0xFFFFFFFFu) Throw(CArchiveException::genericException);
    *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(dwCount);
  }
}

BOOL CArchive::ReadString(CString& rString) {
  std::string line;
  BYTE ch;
  bool any = false;
  while (Read(&ch, 1) == 1) {
    any = true;
    if (ch == '\n') break;
    line.push_back(static_cast<char>(ch));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  rString = std::move(line);
  return any;
}

void CArchive::WriteString(LPCTSTR lpsz) {
  if (lpsz != nullptr) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

namespace {

// The length prefix of a string; `unicode` tells that UTF-16 characters follow.
ULONGLONG ReadStringLength(CArchive& ar, bool& unicode) {
  BYTE byteLength;
  ar >> byteLength;
  if (byteLength < 0xFF) return byteLength;
  WORD wordLength;
  ar >> wordLength;
  if (wordLength == 0xFFFE) {
    if (unicode) AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    unicode = true;
    return ReadStringLength(ar, unicode);
  }
  if (wordLength < 0xFFFE) return wordLength;
  DWORD dwordLength;
  ar >> dwordLength;
  if (dwordLength < 0xFFFFFFFF) return dwordLength;
  ULONGLONG longLength;
  ar >> longLength;
  return longLength;
}

// Reads `count` bytes in steps, so a length larger than the data costs no more than the data.
std::string ReadBytes(CArchive& ar, ULONGLONG count) {
  std::string out;
  while (count > 0) {
    const size_t step = static_cast<size_t>(std::min<ULONGLONG>(count, kReadChunk));
    const size_t at = out.size();
    out.resize(at + step);
    ar.EnsureRead(out.data() + at, static_cast<UINT>(step));
    count -= step;
  }
  return out;
}

std::string Utf16ToUtf8(const std::string& bytes) {
  std::string out;
  const size_t units = bytes.size() / 2;
  auto unit = [&](size_t i) {
    return static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                 (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  };
  for (size_t i = 0; i < units; ++i) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    }
    pictavo::utf8::AppendCodePoint(out, cp);  // a lone surrogate becomes U+FFFD
  }
  return out;
}

}  // namespace

CArchive& operator<<(CArchive& ar, const CString& string) {
  const size_t length = string.Str().size();
  if (length < 0xFF) {
    ar << static_cast<BYTE>(length);
  } else if (length < 0xFFFE) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
  } else {
    if (length >= 0xFFFFFFFF) AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(length);
  }
  ar.Write(string.GetString(), static_cast<UINT>(length));
  return ar;
}

CArchive& operator>>(CArchive& ar, CString& string) {
  bool unicode = false;
  const ULONGLONG length = ReadStringLength(ar, unicode);
  if (unicode) {
    if (length > ~0ull / 2) AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    string = Utf16ToUtf8(ReadBytes(ar, length * 2));
  } else {
    string = ReadBytes(ar, length);
  }
  return ar;
}

CArchive& operator<<(CArchive& ar, SIZE size) {
  return ar << size.cx << size.cy;
}
CArchive& operator<<(CArchive& ar, POINT point) {
  return ar << point.x << point.y;
}
CArchive& operator<<(CArchive& ar, const RECT& rect) {
  return ar << rect.left << rect.top << rect.right << rect.bottom;
}
CArchive& operator>>(CArchive& ar, SIZE& size) {
  return ar >> size.cx >> size.cy;
}
CArchive& operator>>(CArchive& ar, POINT& point) {
  return ar >> point.x >> point.y;
}
CArchive& operator>>(CArchive& ar, RECT& rect) {
  return ar >> rect.left >> rect.top >> rect.right >> rect.bottom;
}

// Classes and objects

void CRuntimeClass::Store(CArchive& ar) const {
  const auto length = static_cast<WORD>(std::strlen(m_lpszClassName));
  ar << static_cast<WORD>(m_wSchema) << length;
  ar.Write(m_lpszClassName, length);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
  WORD schema, length;
  ar >> schema >> length;
  if (pwSchemaNum != nullptr) *pwSchemaNum = schema;
  if (length >= pictavo::kMaxClassNameLength) return nullptr;
  char name[pictavo::kMaxClassNameLength];
  ar.EnsureRead(name, length);
  name[length] = '\0';
  if (std::strlen(name) != length) return nullptr;  // a NUL inside the name
  return FromName(name);
}

void CArchive::CheckCount() const {
  if (m_nMapCount >= kMaxMapCount) Throw(CArchiveException::badIndex);
}

void CArchive::WriteTag(DWORD index, bool isClass) {
  if (index < kBigObjectTag) {
    *this << static_cast<WORD>(isClass ? (kClassTag | index) : index);
  } else {
    *this << kBigObjectTag << (isClass ? (kBigClassTag | index) : index);
  }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
  CheckOpen();
  if (!IsStoring()) Throw(CArchiveException::readOnly);
  if (pClassRef == nullptr || pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();
  const auto known = m_storeMap.find(pClassRef);
  if (known != m_storeMap.end()) {
    WriteTag(known->second, true);
    return;
  }
  *this << kNewClassTag;
  pClassRef->Store(*this);
  CheckCount();
  m_storeMap.emplace(pClassRef, m_nMapCount++);
}

void CArchive::WriteObject(const CObject* pOb) {
  CheckOpen();
  if (!IsStoring()) Throw(CArchiveException::readOnly);
  if (pOb == nullptr) {
    *this << kNullTag;
    return;
  }
  const auto known = m_storeMap.find(pOb);
  if (known != m_storeMap.end()) {
    WriteTag(known->second, false);
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  CheckCount();
  m_storeMap.emplace(pOb, m_nMapCount++);
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
  CheckOpen();
  if (!IsLoading()) Throw(CArchiveException::writeOnly);
  WORD tag;
  *this >> tag;
  DWORD obTag;
  if (tag == kBigObjectTag)
    *this >> obTag;
  else
    obTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag);

  if ((obTag & kBigClassTag) == 0) {  // an object reference, not a class
    if (pObTag == nullptr) Throw(CArchiveException::badIndex);
    *pObTag = obTag;
    return nullptr;
  }

  CRuntimeClass* pClass;
  UINT schema;
  if (tag == kNewClassTag) {
    pClass = CRuntimeClass::Load(*this, &schema);
    if (pClass == nullptr || pClass->m_wSchema == 0xFFFF) Throw(CArchiveException::badClass);
    const UINT ownSchema = pClass->m_wSchema & ~VERSIONABLE_SCHEMA;
    if (ownSchema != schema && !(pClass->m_wSchema & VERSIONABLE_SCHEMA)) Throw(CArchiveException::badSchema);
    CheckCount();
    m_loadArray.push_back(LoadEntry{pClass, nullptr, schema});
    ++m_nMapCount;
  } else {
    const DWORD index = obTag & ~kBigClassTag;
    if (index == 0 || index >= m_loadArray.size() || m_loadArray[index].pClass == nullptr)
      Throw(CArchiveException::badIndex);
    pClass = m_loadArray[index].pClass;
    schema = m_loadArray[index].nSchema;
  }

  if (pClassRefRequested != nullptr && !pClass->IsDerivedFrom(pClassRefRequested))
    Throw(CArchiveException::badClass);
  if (pSchema != nullptr)
    *pSchema = schema;
  else
    m_nObjectSchema = schema;
  if (pObTag != nullptr) *pObTag = obTag;
  return pClass;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
  if (IsStoring())
    WriteClass(pClassRef);
  else
    ReadClass(pClassRef);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClass) {
  UINT schema = 0;
  DWORD obTag = 0;
  CRuntimeClass* pClassRef = ReadClass(pClass, &schema, &obTag);

  if (pClassRef == nullptr) {  // null, or an object read before
    if (obTag >= m_loadArray.size() || m_loadArray[obTag].pClass != nullptr)
      Throw(CArchiveException::badIndex);
    CObject* pOb = m_loadArray[obTag].pObject;
    if (obTag != 0 && pOb == nullptr) Throw(CArchiveException::badIndex);  // one whose loading failed
    if (pOb != nullptr && pClass != nullptr && !pOb->IsKindOf(pClass)) Throw(CArchiveException::badClass);
    return pOb;
  }

  if (m_nLoadDepth >= kMaxObjectNesting) Throw(CArchiveException::genericException);
  std::unique_ptr<CObject> object(pClassRef->CreateObject());
  if (object == nullptr) Throw(CArchiveException::badClass);
  CheckCount();
  const size_t index = m_loadArray.size();
  m_loadArray.push_back(LoadEntry{nullptr, object.get(), 0});
  ++m_nMapCount;

  const UINT savedSchema = m_nObjectSchema;
  m_nObjectSchema = schema;
  ++m_nLoadDepth;
  try {
    object->Serialize(*this);
  } catch (...) {
    --m_nLoadDepth;
    m_nObjectSchema = savedSchema;
    // Collections do not own their elements, so whatever was loaded into the object before it
    // failed would be lost with it: every object made for it goes too (an inner failure already
    // took its own). Later references to any of them are bad, not dangling.
    for (size_t i = m_loadArray.size(); i-- > index + 1;) {
      LoadEntry& entry = m_loadArray[i];
      if (entry.pClass == nullptr && entry.pObject != nullptr) {
        delete entry.pObject;
        entry.pObject = nullptr;
      }
    }
    m_loadArray[index].pObject = nullptr;
    throw;
  }
  --m_nLoadDepth;
  m_nObjectSchema = savedSchema;
  return object.release();
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
  ar.WriteObject(pOb);
  return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}

namespace pictavo {
CObject* ReadObjectOf(CArchive& ar, const CRuntimeClass* pClass) {
  return ar.ReadObject(pClass);
}
}  // namespace pictavo
