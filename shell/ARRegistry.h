// CARRegistry: the program's registry access object. It opens one key at a time below a root
// (HKEY_CURRENT_USER, or HKEY_LOCAL_MACHINE for administrator use), resolves relative key paths
// below the application's own key, and reads and writes typed values, whole objects and
// containers included: those are REG_BINARY values holding what their Serialize writes into an
// archive. Every use makes a fresh object through CARRegistrySP, which deletes it (closing the
// key) when it goes out of scope.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/base/Object.h"
#include "platform/kernel/Registry.h"

class CARRegistry : public CObject {
  DECLARE_DYNCREATE(CARRegistry)

 public:
  CARRegistry();
  // Closes the open key.
  ~CARRegistry() override;

  // Names of the current key's values, appended in index order. FALSE when there is none.
  virtual BOOL EnumValueNames(CStringArray& names);
  // Whether the key exists (opened with this object's access and closed again).
  virtual BOOL VerifyKey(LPCTSTR lpszPath);
  virtual BOOL VerifyValue(LPCTSTR lpszValue);
  // Creates the key (and its parents) and makes it the current key.
  virtual BOOL CreateKey(LPCTSTR lpszPath);
  // Opens an existing key as the current key; on failure the root stays current.
  virtual BOOL Open(LPCTSTR lpszPath);
  virtual void Close();
  virtual BOOL DeleteValue(LPCTSTR lpszValue);
  // Deletes the key with everything below it, under HKEY_LOCAL_MACHINE when bAdmin is set.
  virtual BOOL DeleteKey(LPCTSTR lpszPath, BOOL bAdmin);

  // Writers; every one is refused by a read-only object.
  virtual BOOL WriteObjectPtr(LPCTSTR lpszValue, CObject* pObject);
  virtual BOOL WriteObject(LPCTSTR lpszValue, CObject& object);
  virtual BOOL WriteStringList(LPCTSTR lpszValue, CStringList& list);
  virtual BOOL WriteBinary(LPCTSTR lpszValue, const BYTE* pData, UINT nBytes);
  virtual BOOL WritePoint(LPCTSTR lpszValue, POINT* pPoint);
  virtual BOOL WriteRect(LPCTSTR lpszValue, RECT* pRect);
  virtual BOOL WriteWordArray(LPCTSTR lpszValue, CWordArray& array);
  virtual BOOL WriteByteArray(LPCTSTR lpszValue, CByteArray& array);
  virtual BOOL WriteStringArray(LPCTSTR lpszValue, CStringArray& array);
  virtual BOOL WriteDWordArray(LPCTSTR lpszValue, CDWordArray& array);
  virtual BOOL WriteObList(LPCTSTR lpszValue, CObList& list);
  virtual BOOL WriteString(LPCTSTR lpszValue, LPCTSTR lpszText);
  virtual BOOL WriteDword(LPCTSTR lpszValue, DWORD dwValue);
  virtual BOOL WriteInt(LPCTSTR lpszValue, int nValue);

  // Readers with a default: on failure the variable takes the default and the answer is FALSE.
  virtual BOOL ReadRectOr(LPCTSTR lpszValue, RECT* pRect, const RECT* pDefault);
  virtual BOOL ReadPointOr(LPCTSTR lpszValue, POINT* pPoint, const POINT* pDefault);
  virtual BOOL ReadStringOr(LPCTSTR lpszValue, CString& text, LPCTSTR lpszDefault);
  virtual BOOL ReadDwordOr(LPCTSTR lpszValue, DWORD& dwValue, DWORD dwDefault);
  virtual BOOL ReadIntOr(LPCTSTR lpszValue, int& nValue, int nDefault);

  // Archive readers. ReadObjectPtr creates the stored object by its class; the caller owns it.
  virtual BOOL ReadObjectPtr(LPCTSTR lpszValue, CObject*& pObject);
  virtual BOOL ReadObject(LPCTSTR lpszValue, CObject& object);
  // Deletes the list's objects first.
  virtual BOOL ReadObList(LPCTSTR lpszValue, CObList& list);
  // The value's bytes in a new block the caller frees (delete[]); null for an empty value.
  virtual BOOL ReadBinary(LPCTSTR lpszValue, BYTE*& pData, UINT& nBytes);
  virtual BOOL ReadRect(LPCTSTR lpszValue, RECT* pRect);
  virtual BOOL ReadPoint(LPCTSTR lpszValue, POINT* pPoint);
  virtual BOOL ReadByteArray(LPCTSTR lpszValue, CByteArray& array);
  virtual BOOL ReadWordArray(LPCTSTR lpszValue, CWordArray& array);
  virtual BOOL ReadDWordArray(LPCTSTR lpszValue, CDWordArray& array);
  virtual BOOL ReadStringArray(LPCTSTR lpszValue, CStringArray& array);
  virtual BOOL ReadStringList(LPCTSTR lpszValue, CStringList& list);
  // Plain readers: the caller's variable changes only on success (a failed ReadString empties it).
  virtual BOOL ReadString(LPCTSTR lpszValue, CString& text);
  virtual BOOL ReadDword(LPCTSTR lpszValue, DWORD& dwValue);
  virtual BOOL ReadInt(LPCTSTR lpszValue, int& nValue);
  // Names of the current key's sub-keys. FALSE when it has none.
  virtual BOOL EnumSubKeyNames(CStringArray& names);

  // The key path a path names: one trailing backslash removed, and unless the object works with
  // absolute paths, placed below the application's key.
  CString ResolvePath(LPCTSTR lpszPath) const;
  HKEY GetCurrentKey() const { return m_hKey; }

  HKEY m_hKey;           // the root while no key is open
  BOOL m_bAdmin;         // root HKEY_LOCAL_MACHINE instead of HKEY_CURRENT_USER
  BOOL m_bReadOnly;      // writers, CreateKey and DeleteKey refuse; keys open for reading
  BOOL m_bAbsolutePath;  // key paths are taken as they are below the root

 private:
  HKEY Root() const;
  REGSAM Access() const;
  BOOL IsKeyOpen() const { return m_hKey != nullptr && m_hKey != Root(); }
  // The bytes of a storing archive's output.
  template <class Fill>
  BOOL WriteArchived(LPCTSTR lpszValue, Fill fill);
  // Runs a loading archive over the value's bytes.
  template <class Load>
  BOOL ReadArchived(LPCTSTR lpszValue, Load load);
};

// Makes one CARRegistry for the span of a scope and deletes it at the end.
class CARRegistrySP {
 public:
  explicit CARRegistrySP(BOOL bAbsolutePath = FALSE) : m_bAbsolutePath(bAbsolutePath) {}
  ~CARRegistrySP() { delete m_pRegistry; }
  CARRegistrySP(const CARRegistrySP&) = delete;
  CARRegistrySP& operator=(const CARRegistrySP&) = delete;

  // The object of this creator; the first call makes it with these flags, later calls return
  // it unchanged.
  CARRegistry* Create(BOOL bAdmin, BOOL bReadOnly);

  CARRegistry* m_pRegistry = nullptr;
  BOOL m_bAbsolutePath;
};

// A string value of the user's "General" key (the folders the file dialogs last used): "" when
// absent; the write makes the key when it is missing.
CString ReadGeneralString(LPCTSTR lpszValue);
void WriteGeneralString(LPCTSTR lpszValue, const CString& value);

// Relative key paths resolve below "Software\<registry key>\<application name>", or
// "Software\<application name>" when the registry key is empty: the values the start-up gives
// the application object (SetRegistryKey and its name). Until it sets them they are "" and
// "Talvane Pictavo".
void SetRegistryApplication(LPCTSTR lpszRegistryKey, LPCTSTR lpszAppName);
