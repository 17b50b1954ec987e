// The registry as a settings medium: one key per store, below a root key. A child store made by
// CreateSubStore is rooted at its parent's open key, so it is usable only while the parent is
// open. Every open is paired with a close by the caller; the destructor does not close.
#pragma once

#include "platform/kernel/Registry.h"
#include "shell/SettingsStore.h"

class CRegistrySettingsStore : public CSettingsStore {
 public:
  // The path is copied, at most 259 characters.
  CRegistrySettingsStore(HKEY hRoot, LPCTSTR lpszPath);

  CSettingsStore* CreateSubStore(LPCTSTR lpszName) override;
  bool ContinueOnFailure() override { return true; }
  // KEY_WRITE; the key and its missing parents are created.
  bool OpenForWrite() override;
  bool CloseAfterWrite() override { return CloseKey(); }
  // KEY_READ; a missing key is not created.
  bool OpenForRead() override;
  bool CloseAfterRead() override { return CloseKey(); }

  // Floats, doubles and 8-byte integers are REG_BINARY values of their bytes.
  bool ExchangeFloat(LPCTSTR lpszName, float& value, bool bWrite) override;
  // REG_BINARY of nSize bytes. Reading a shorter value succeeds and leaves the rest of the buffer.
  bool ExchangeBinary(LPCTSTR lpszName, void* pBuffer, DWORD nSize, bool bWrite) override;
  // REG_SZ of exactly nBytes bytes.
  bool ExchangeRawString(LPCTSTR lpszName, LPTSTR pBuffer, DWORD& nBytes, bool bWrite) override;
  bool ExchangeDouble(LPCTSTR lpszName, double& value, bool bWrite) override;
  // 0 or 1 as a DWORD; any non-zero DWORD reads as true.
  bool ExchangeBool(LPCTSTR lpszName, bool& value, bool bWrite) override;
  // REG_DWORD of 4 bytes; the stored type is not compared when reading.
  bool ExchangeDword(LPCTSTR lpszName, DWORD& value, bool bWrite) override;
  bool ExchangeLong(LPCTSTR lpszName, LONG& value, bool bWrite) override;

  HKEY GetOpenKey() const { return m_hKey; }

 private:
  bool CloseKey();

  HKEY m_hKey = nullptr;  // null while closed
  HKEY m_hRoot;
  char m_szPath[260];
};
