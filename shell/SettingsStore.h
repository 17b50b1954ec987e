// The settings framework: a record lists its values once, in one exchange that both reads and
// writes; a store carries typed values by name to and from a medium (the registry here, see
// RegistrySettingsStore.h). The language record is the program's one record built on it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CSettingsRecord;

class CSettingsStore {
 public:
  CSettingsStore();
  // Frees an array store that no end call released.
  virtual ~CSettingsStore();
  CSettingsStore(const CSettingsStore&) = delete;
  CSettingsStore& operator=(const CSettingsStore&) = delete;

  // A new store for the child of that name; the caller deletes it. Null when none can be made.
  virtual CSettingsStore* CreateSubStore(LPCTSTR lpszName) = 0;
  // Whether a record's exchange goes on after one value failed.
  virtual bool ContinueOnFailure() = 0;
  virtual bool OpenForWrite();
  virtual bool CloseAfterWrite();
  virtual bool OpenForRead();
  virtual bool CloseAfterRead();

  // Every exchange stores the caller's variable (bWrite) or reads into it; a failed read leaves
  // the variable as it was.
  virtual bool ExchangeString(LPCTSTR lpszName, CString& value, bool bWrite);
  virtual bool ExchangeRecord(LPCTSTR lpszName, CSettingsRecord& record, bool bWrite);
  virtual bool ExchangeFloat(LPCTSTR lpszName, float& value, bool bWrite);
  virtual bool ExchangeInt64(LPCTSTR lpszName, int64_t& value, bool bWrite);
  virtual bool ExchangeUInt64(LPCTSTR lpszName, uint64_t& value, bool bWrite);
  virtual bool ExchangeUChar(LPCTSTR lpszName, unsigned char& value, bool bWrite);
  virtual bool ExchangeChar(LPCTSTR lpszName, char& value, bool bWrite);
  virtual bool ExchangeUShort(LPCTSTR lpszName, unsigned short& value, bool bWrite);
  virtual bool ExchangeShort(LPCTSTR lpszName, short& value, bool bWrite);
  virtual bool ExchangeUInt(LPCTSTR lpszName, unsigned int& value, bool bWrite);
  virtual bool ExchangeInt(LPCTSTR lpszName, int& value, bool bWrite);
  // The caller's buffer of nSize bytes.
  virtual bool ExchangeBinary(LPCTSTR lpszName, void* pBuffer, DWORD nSize, bool bWrite) = 0;
  // Characters of a caller's buffer; nBytes is the byte count to write, or the buffer's size to
  // read into, and receives the value's size (the size needed when the buffer was too small,
  // 0 after any other failure).
  virtual bool ExchangeRawString(LPCTSTR lpszName, LPTSTR pBuffer, DWORD& nBytes, bool bWrite) = 0;
  virtual bool ExchangeDouble(LPCTSTR lpszName, double& value, bool bWrite) = 0;
  virtual bool ExchangeBool(LPCTSTR lpszName, bool& value, bool bWrite) = 0;
  virtual bool ExchangeDword(LPCTSTR lpszName, DWORD& value, bool bWrite) = 0;
  virtual bool ExchangeLong(LPCTSTR lpszName, LONG& value, bool bWrite) = 0;

  // Arrays of records: the array lives in a child named lpszName holding "Count" and one child
  // per element ("0", "1", ...). Every begin is paired with its end call.
  virtual bool BeginArray(LPCTSTR lpszName, int& nCount, bool bWrite);
  virtual bool ExchangeArrayItem(int nIndex, CSettingsRecord& record, bool bWrite);
  virtual bool EndArray(bool bWrite);
  virtual bool BeginArrayChecked(LPCTSTR lpszName, int& nCount, bool bWrite);
  // "Item.<index>" in a buffer of this store, valid until the next call.
  virtual bool GetArrayItemName(int nIndex, int nUnused, LPCTSTR& lpszName);
  virtual bool EndArrayChecked(bool bWrite);

 protected:
  // The array store opened by the last BeginArray or BeginArrayChecked, until the end call.
  std::unique_ptr<CSettingsStore> m_pArrayStore;
  char m_szItemName[16];
};

class CSettingsRecord {
 public:
  CSettingsRecord() = default;
  virtual ~CSettingsRecord() = default;

  virtual void OnBeginSave(bool bOpened) {}
  virtual void OnEndSave(bool bResult) {}
  virtual void OnBeginLoad(bool bOpened) {}
  virtual void OnEndLoad(bool bResult) {}
  // Exchanges every value of the record; with bReset the fields take their defaults instead.
  virtual bool Exchange(bool bContinueOnFailure, CSettingsStore& store, bool bWrite, bool bReset) = 0;
  // Open, exchange, close; true when all three worked.
  virtual bool Load(CSettingsStore& store);
  virtual bool Save(CSettingsStore& store);
};
