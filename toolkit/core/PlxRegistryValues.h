// The registry value forms shared by the toolkit's registry object and the program's own
// settings registry: one code for what each typed write stores and what each read accepts.
// Every function works on an open key and reports success as BOOL; none raises.
#pragma once

#include <cstdlib>
#include <new>

#include "platform/base/Archive.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/MemFile.h"
#include "platform/kernel/Registry.h"

// Storing archives over values: the memory file grows by 1 KB, the archive buffers 4 KB.
constexpr UINT kPlxRegMemFileGrowBy = 1024;
constexpr int kPlxRegArchiveBuffer = 4096;

BOOL PlxRegEnumValueNames(HKEY hKey, CStringArray& names);
// FALSE when the key has no sub-key; TRUE with nothing added when the first call fails otherwise.
BOOL PlxRegEnumSubKeyNames(HKEY hKey, CStringArray& names);
// Deletes root\path depth first with every sub-key below it.
BOOL PlxRegDeleteKeyTree(HKEY hRoot, const CString& path);

BOOL PlxRegWriteBinary(HKEY hKey, LPCTSTR lpszValue, const BYTE* pData, UINT nBytes);
// REG_SZ of length + 1 bytes.
BOOL PlxRegWriteString(HKEY hKey, LPCTSTR lpszValue, LPCTSTR lpszText);
BOOL PlxRegWriteDword(HKEY hKey, LPCTSTR lpszValue, DWORD dwValue);
// The 22-byte archive form of the double-word array x, y, 0, 0, 0.
BOOL PlxRegWritePoint(HKEY hKey, LPCTSTR lpszValue, const POINT& point);

// The value's bytes in a new block the caller frees (delete[]); null with 0 for an empty value.
BOOL PlxRegReadBinary(HKEY hKey, LPCTSTR lpszValue, BYTE*& pData, UINT& nBytes);
// Up to the first NUL, never past the stored size; a missing value empties the text.
BOOL PlxRegReadString(HKEY hKey, LPCTSTR lpszValue, CString& text);
// Exactly a 4-byte REG_DWORD; anything else leaves the target unchanged.
BOOL PlxRegReadDword(HKEY hKey, LPCTSTR lpszValue, DWORD& dwValue);
// Only a REG_BINARY point record of at least two elements changes the point.
BOOL PlxRegReadPoint(HKEY hKey, LPCTSTR lpszValue, POINT& point);

// The bytes a storing archive writes; the caller frees them with std::free.
template <class Fill>
BOOL PlxRegArchiveBytes(Fill fill, BYTE*& bytes, UINT& length) {
  bytes = nullptr;
  length = 0;
  try {
    CMemFile file(kPlxRegMemFileGrowBy);
    CArchive archive(&file, CArchive::store, kPlxRegArchiveBuffer);
    fill(archive);
    archive.Close();
    length = static_cast<UINT>(file.GetLength());
    bytes = file.Detach();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  return TRUE;
}

// Runs a loading archive over stored bytes; short or malformed data gives FALSE.
template <class Load>
BOOL PlxRegLoadArchive(BYTE* bytes, UINT length, Load load) {
  try {
    CMemFile file;
    if (length > 0) file.Attach(bytes, length);
    CArchive archive(&file, CArchive::load, kPlxRegArchiveBuffer);
    load(archive, length);
    archive.Close();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  return TRUE;
}

// The word-array form: a 32-bit count, then 16-bit elements; a count past the bytes is refused.
void PlxRegStoreWordArray(CArchive& ar, const CWordArray& array);
void PlxRegLoadWordArray(CArchive& ar, UINT length, CWordArray& array);
// Exactly the 16 bytes left, top, right, bottom; other lengths throw.
void PlxRegLoadRect(CArchive& ar, UINT length, RECT& rect);
