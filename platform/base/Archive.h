// CArchive: the class library's binary serialisation over a CFile, in its persistent layout:
// little-endian numbers; counts as 16 bits below 0xFFFF, else 0xFFFF and 32 bits; strings as a
// length (8 bits below 255; else 0xFF and 16 bits below 0xFFFE; else 0xFF, 0xFFFF and 32 bits)
// followed by the bytes without terminator; object records tagged as
//   0                      a null object
//   0xFFFF schema len name a class met for the first time, then the object's own data
//   0x8000 | n             a class met before (n its index), then the object's own data
//   n                      an object met before
// Classes and objects share one index space that starts at 1, in the order they are written;
// indices from 0x7FFF on are written as 0x7FFF followed by 32 bits (0x80000000 | n for a class).
//
// Loading never trusts the data: a short read, an unknown class, a class of the wrong kind, a
// schema the class does not accept, a reference to nothing or objects nested more than 256 deep
// throw CArchiveException, and buffers grow only with data actually read. An object whose loading
// fails is deleted with every object the archive made while loading it, so a collection that
// fails part-way leaks nothing (persistent classes do not delete what they load; collections
// never own their elements).
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/File.h"
#include "platform/base/Object.h"

class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  // lpBuf is accepted for the class library's signature; the archive keeps its own buffer.
  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  // Closes the archive (flushing a storing one) unless bNoFlushOnDelete was given; errors are
  // dropped here, so callers that care call Close() themselves.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  BOOL IsByteSwapping() const { return FALSE; }
  BOOL IsBufferEmpty() const { return m_cur == m_end; }
  CFile* GetFile() const { return m_pFile; }

  // The schema of the object being loaded, as stored; (UINT)-1 once asked for.
  UINT GetObjectSchema();
  void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

  // Raw bytes. Read returns fewer than nMax only at the end of the data; EnsureRead throws then.
  UINT Read(void* lpBuf, UINT nMax);
  void EnsureRead(void* lpBuf, UINT nCount);
  void Write(const void* lpBuf, UINT nMax);
  // Storing: hands buffered bytes to the file. Loading: moves the file back to the first byte
  // not consumed.
  void Flush();
  void Close();
  void Abort();  // detaches from the file without flushing or throwing

  // Text lines: ReadString drops the line end ("\n" or "\r\n") and answers FALSE at the end of
  // the data; WriteString writes the characters as they are.
  BOOL ReadString(CString& rString);
  void WriteString(LPCTSTR lpsz);

  DWORD_PTR ReadCount();
  void WriteCount(DWORD_PTR dwCount);

  // Object records (see above). ReadObject accepts only pClass and classes derived from it
  // (any class when pClass is null); the new object belongs to the caller.
  CObject* ReadObject(const CRuntimeClass* pClass);
  void WriteObject(const CObject* pOb);
  CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                           DWORD* pObTag = nullptr);
  void WriteClass(const CRuntimeClass* pClassRef);
  void SerializeClass(const CRuntimeClass* pClassRef);

  // Exactly bool: pointers must not slip in through the conversion to bool.
  template <class T>
  requires std::same_as<T, bool> CArchive& operator<<(T v) { return WriteLE<uint8_t>(v ? 1 : 0); }
  // Text given as a C string is written as a string.
  CArchive& operator<<(const char* psz);
  // Each fundamental type goes as its own width: int and unsigned are the 32-bit LONG/DWORD/UINT,
  // long (64 bits here) and long long the 64-bit LONGLONG/ULONGLONG.
  CArchive& operator<<(char v) { return WriteLE<uint8_t>(static_cast<uint8_t>(v)); }
  CArchive& operator<<(signed char v) { return WriteLE<uint8_t>(static_cast<uint8_t>(v)); }
  CArchive& operator<<(unsigned char v) { return WriteLE<uint8_t>(v); }
  CArchive& operator<<(short v) { return WriteLE<uint16_t>(static_cast<uint16_t>(v)); }
  CArchive& operator<<(unsigned short v) { return WriteLE<uint16_t>(v); }
  CArchive& operator<<(int v) { return WriteLE<uint32_t>(static_cast<uint32_t>(v)); }
  CArchive& operator<<(unsigned v) { return WriteLE<uint32_t>(v); }
  CArchive& operator<<(long v) { return WriteLE<uint64_t>(static_cast<uint64_t>(v)); }
  CArchive& operator<<(unsigned long v) { return WriteLE<uint64_t>(v); }
  CArchive& operator<<(long long v) { return WriteLE<uint64_t>(static_cast<uint64_t>(v)); }
  CArchive& operator<<(unsigned long long v) { return WriteLE<uint64_t>(v); }
  CArchive& operator<<(float v);
  CArchive& operator<<(double v);

  CArchive& operator>>(bool& v) {
    v = ReadLE<uint8_t>() != 0;
    return *this;
  }
  CArchive& operator>>(char& v) {
    v = static_cast<char>(ReadLE<uint8_t>());
    return *this;
  }
  CArchive& operator>>(signed char& v) {
    v = static_cast<signed char>(ReadLE<uint8_t>());
    return *this;
  }
  CArchive& operator>>(unsigned char& v) {
    v = ReadLE<uint8_t>();
    return *this;
  }
  CArchive& operator>>(short& v) {
    v = static_cast<short>(ReadLE<uint16_t>());
    return *this;
  }
  CArchive& operator>>(unsigned short& v) {
    v = ReadLE<uint16_t>();
    return *this;
  }
  CArchive& operator>>(int& v) {
    v = static_cast<int>(ReadLE<uint32_t>());
    return *this;
  }
  CArchive& operator>>(unsigned& v) {
    v = ReadLE<uint32_t>();
    return *this;
  }
  CArchive& operator>>(long& v) {
    v = static_cast<long>(ReadLE<uint64_t>());
    return *this;
  }
  CArchive& operator>>(unsigned long& v) {
    v = ReadLE<uint64_t>();
    return *this;
  }
  CArchive& operator>>(long long& v) {
    v = static_cast<long long>(ReadLE<uint64_t>());
    return *this;
  }
  CArchive& operator>>(unsigned long long& v) {
    v = ReadLE<uint64_t>();
    return *this;
  }
  CArchive& operator>>(float& v);
  CArchive& operator>>(double& v);

  // Name used in the exceptions this archive throws.
  CString m_strFileName;

 private:
  struct LoadEntry {
    CRuntimeClass* pClass;  // set for a class entry
    CObject* pObject;       // set for an object entry (null for index 0)
    UINT nSchema;           // the stored schema of a class entry
  };

  template <class T>
  CArchive& WriteLE(T value) {
    uint8_t bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    Write(bytes, sizeof bytes);
    return *this;
  }
  template <class T>
  T ReadLE() {
    uint8_t bytes[sizeof(T)];
    EnsureRead(bytes, sizeof bytes);
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(static_cast<T>(bytes[i]) << (8 * i));
    return value;
  }

  [[noreturn]] void Throw(int cause) const;
  void CheckOpen() const;
  void CheckCount() const;
  void FillBuffer();
  void WriteTag(DWORD index, bool isClass);

  CFile* m_pFile;
  UINT m_nMode;
  std::vector<BYTE> m_buffer;
  size_t m_cur = 0;  // next byte to read / first free byte
  size_t m_end = 0;  // loading: end of the buffered data
  UINT m_nObjectSchema = static_cast<UINT>(-1);
  DWORD m_nMapCount = 1;                              // next index; 0 is the null object
  int m_nLoadDepth = 0;                               // objects being loaded inside one another
  std::unordered_map<const void*, DWORD> m_storeMap;  // storing: classes and objects written
  std::vector<LoadEntry> m_loadArray;                 // loading: classes and objects read
};

CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);
// The platform's structures, as their 32-bit fields in order.
CArchive& operator<<(CArchive& ar, SIZE size);
CArchive& operator<<(CArchive& ar, POINT point);
CArchive& operator<<(CArchive& ar, const RECT& rect);
CArchive& operator>>(CArchive& ar, SIZE& size);
CArchive& operator>>(CArchive& ar, POINT& point);
CArchive& operator>>(CArchive& ar, RECT& rect);
