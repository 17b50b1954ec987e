// CPlxRegistry: the toolkit's one way to the registry. It holds one open key and reads and writes
// typed values there, whole objects and collections included (REG_BINARY values in archive
// form). CPlxRegistryHolder makes one for the span of a load or save; PlxGetRegPath builds the
// key under which a toolkit part keeps its state.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/base/Object.h"
#include "platform/kernel/Registry.h"

class CPlxRegistry : public CObject {
  DECLARE_DYNCREATE(CPlxRegistry)

 public:
  // Created by name: no key and no flags; the creator sets them.
  CPlxRegistry();
  CPlxRegistry(BOOL bAdmin, BOOL bReadOnly);
  ~CPlxRegistry() override;

  // Appends the current key's value names; FALSE when the first one cannot be read.
  virtual BOOL EnumValueNames(CStringArray& names);
  virtual BOOL VerifyKey(LPCTSTR lpszPath);
  virtual BOOL VerifyValue(LPCTSTR lpszValue);
  // Relative to the current key; the new key becomes current.
  virtual BOOL CreateKey(LPCTSTR lpszPath);
  // Relative to the current key; on failure the current key stays.
  virtual BOOL Open(LPCTSTR lpszPath);
  virtual void Close();
  virtual BOOL DeleteValue(LPCTSTR lpszValue);
  // Depth first from HKEY_LOCAL_MACHINE (bAdmin) or HKEY_CURRENT_USER, whatever key is current.
  virtual BOOL DeleteKey(LPCTSTR lpszPath, BOOL bAdmin = FALSE);

  virtual BOOL WriteObject(LPCTSTR lpszValue, CObject* pObject);
  virtual BOOL WriteSerialized(LPCTSTR lpszValue, CObject& object);
  virtual BOOL WriteObList(LPCTSTR lpszValue, CObList& list);
  virtual BOOL WriteBinary(LPCTSTR lpszValue, const BYTE* pData, UINT nBytes);
  virtual BOOL WritePoint(LPCTSTR lpszValue, POINT*& pPoint);
  virtual BOOL WriteRect(LPCTSTR lpszValue, const RECT& rect);
  virtual BOOL WriteWordArray(LPCTSTR lpszValue, CWordArray& array);
  virtual BOOL WriteDWordArray(LPCTSTR lpszValue, CDWordArray& array);
  virtual BOOL WriteStringArray(LPCTSTR lpszValue, CStringArray& array);
  virtual BOOL WriteByteArray(LPCTSTR lpszValue, CByteArray& array);
  virtual BOOL WriteStringList(LPCTSTR lpszValue, CStringList& list);
  virtual BOOL WriteString(LPCTSTR lpszValue, LPCTSTR lpszText);
  virtual BOOL WriteDword(LPCTSTR lpszValue, DWORD dwValue);
  virtual BOOL WriteInt(LPCTSTR lpszValue, int nValue);

  // The stored object, made by its class; the caller owns it. With pExpected, a record of
  // another class is refused.
  virtual BOOL ReadObject(LPCTSTR lpszValue, CObject*& pObject, const CRuntimeClass* pExpected = nullptr);
  virtual BOOL ReadSerialized(LPCTSTR lpszValue, CObject& object);
  // Deletes the list's objects first.
  virtual BOOL ReadObList(LPCTSTR lpszValue, CObList& list);
  // A new block the caller frees (delete[]); null with 0 for an empty value.
  virtual BOOL ReadBinary(LPCTSTR lpszValue, BYTE** ppData, UINT* pBytes);
  // Exactly the 16-byte form; otherwise the rectangle is unchanged.
  virtual BOOL ReadRect(LPCTSTR lpszValue, RECT& rect);
  virtual BOOL ReadPoint(LPCTSTR lpszValue, POINT*& pPoint);
  virtual BOOL ReadByteArray(LPCTSTR lpszValue, CByteArray& array);
  virtual BOOL ReadWordArray(LPCTSTR lpszValue, CWordArray& array);
  virtual BOOL ReadDWordArray(LPCTSTR lpszValue, CDWordArray& array);
  virtual BOOL ReadStringArray(LPCTSTR lpszValue, CStringArray& array);
  virtual BOOL ReadStringList(LPCTSTR lpszValue, CStringList& list);
  virtual BOOL ReadString(LPCTSTR lpszValue, CString& text);
  virtual BOOL ReadDword(LPCTSTR lpszValue, DWORD& dwValue);
  virtual BOOL ReadInt(LPCTSTR lpszValue, int& nValue);
  virtual BOOL EnumSubKeyNames(CStringArray& names);

  HKEY m_hKey;       // the root until Open or CreateKey; null after Close
  BOOL m_bAdmin;     // root HKEY_LOCAL_MACHINE instead of HKEY_CURRENT_USER
  BOOL m_bReadOnly;  // writes, CreateKey and DeleteKey refuse; keys open for reading

 private:
  REGSAM Access() const;
  template <class Fill>
  BOOL WriteArchived(LPCTSTR lpszValue, Fill fill);
  template <class Load>
  BOOL ReadArchived(LPCTSTR lpszValue, Load load);
};

// One registry object for the span of a scope.
class CPlxRegistryHolder {
 public:
  CPlxRegistryHolder() = default;
  ~CPlxRegistryHolder() { delete m_pRegistry; }
  CPlxRegistryHolder(const CPlxRegistryHolder&) = delete;
  CPlxRegistryHolder& operator=(const CPlxRegistryHolder&) = delete;

  // The first call makes the object with these flags; later calls return it unchanged.
  CPlxRegistry& Create(BOOL bAdmin, BOOL bReadOnly);

  CPlxRegistry* m_pRegistry = nullptr;
};

// lpszProfile unchanged when given; else "SOFTWARE\<key>\<profile name>\<section>\".
CString PlxGetRegPath(LPCTSTR lpszSection, LPCTSTR lpszProfile = nullptr);
