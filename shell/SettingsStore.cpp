#include "shell/SettingsStore.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The typed wrappers: the primitive works on a temporary, and only a successful read reaches the
// caller's variable.
template <class Primitive, class Value, class Exchange>
bool ThroughPrimitive(Value& value, bool bWrite, Exchange exchange) {
  Primitive temporary = static_cast<Primitive>(value);
  if (!exchange(temporary)) return false;
  if (!bWrite) value = static_cast<Value>(temporary);
  return true;
}

// The first read offers this many bytes; a longer value is read again at its size.
constexpr DWORD kFirstStringBuffer = 128;

}  // namespace

CSettingsStore::CSettingsStore() {
  std::memset(m_szItemName, 0, sizeof m_szItemName);
}

CSettingsStore::~CSettingsStore() = default;

bool CSettingsStore::OpenForWrite() {
  return true;
}
bool CSettingsStore::CloseAfterWrite() {
  return true;
}
bool CSettingsStore::OpenForRead() {
  return true;
}
bool CSettingsStore::CloseAfterRead() {
  return true;
}

bool CSettingsStore::ExchangeString(LPCTSTR lpszName, CString& value, bool bWrite) {
  if (bWrite) {
    // The characters without their terminator.
    DWORD nBytes = static_cast<DWORD>(value.GetLength());
    return ExchangeRawString(lpszName, const_cast<LPTSTR>(value.GetString()), nBytes, true);
  }
  std::vector<char> buffer(kFirstStringBuffer);
  DWORD nBytes = kFirstStringBuffer;
  if (!ExchangeRawString(lpszName, buffer.data(), nBytes, false)) {
    // Only a buffer that was too small is worth a second try; the size needed came back.
    if (nBytes <= kFirstStringBuffer) return false;
    buffer.assign(nBytes, '\0');
    if (!ExchangeRawString(lpszName, buffer.data(), nBytes, false)) return false;
  }
  const size_t available = std::min<size_t>(nBytes, buffer.size());
  const void* nul = std::memchr(buffer.data(), '\0', available);
  const size_t length = nul != nullptr ? static_cast<const char*>(nul) - buffer.data() : available;
  value = CString(buffer.data(), static_cast<int>(length));
  return true;
}

bool CSettingsStore::ExchangeRecord(LPCTSTR lpszName, CSettingsRecord& record, bool bWrite) {
  std::unique_ptr<CSettingsStore> child(CreateSubStore(lpszName));
  if (!child) return false;
  return bWrite ? record.Save(*child) : record.Load(*child);
}

bool CSettingsStore::ExchangeFloat(LPCTSTR lpszName, float& value, bool bWrite) {
  return ThroughPrimitive<double>(value, bWrite,
                                  [&](double& v) { return ExchangeDouble(lpszName, v, bWrite); });
}

bool CSettingsStore::ExchangeInt64(LPCTSTR lpszName, int64_t& value, bool bWrite) {
  return ThroughPrimitive<int64_t>(
      value, bWrite, [&](int64_t& v) { return ExchangeBinary(lpszName, &v, sizeof v, bWrite); });
}

bool CSettingsStore::ExchangeUInt64(LPCTSTR lpszName, uint64_t& value, bool bWrite) {
  return ThroughPrimitive<uint64_t>(
      value, bWrite, [&](uint64_t& v) { return ExchangeBinary(lpszName, &v, sizeof v, bWrite); });
}

bool CSettingsStore::ExchangeUChar(LPCTSTR lpszName, unsigned char& value, bool bWrite) {
  return ThroughPrimitive<DWORD>(value, bWrite, [&](DWORD& v) { return ExchangeDword(lpszName, v, bWrite); });
}

bool CSettingsStore::ExchangeChar(LPCTSTR lpszName, char& value, bool bWrite) {
  // Sign-extended: the char goes through a signed char first.
  signed char narrow = static_cast<signed char>(value);
  const bool ok =
      ThroughPrimitive<LONG>(narrow, bWrite, [&](LONG& v) { return ExchangeLong(lpszName, v, bWrite); });
  if (ok && !bWrite) value = static_cast<char>(narrow);
  return ok;
}

bool CSettingsStore::ExchangeUShort(LPCTSTR lpszName, unsigned short& value, bool bWrite) {
  return ThroughPrimitive<DWORD>(value, bWrite, [&](DWORD& v) { return ExchangeDword(lpszName, v, bWrite); });
}

bool CSettingsStore::ExchangeShort(LPCTSTR lpszName, short& value, bool bWrite) {
  return ThroughPrimitive<LONG>(value, bWrite, [&](LONG& v) { return ExchangeLong(lpszName, v, bWrite); });
}

bool CSettingsStore::ExchangeUInt(LPCTSTR lpszName, unsigned int& value, bool bWrite) {
  return ThroughPrimitive<DWORD>(value, bWrite, [&](DWORD& v) { return ExchangeDword(lpszName, v, bWrite); });
}

bool CSettingsStore::ExchangeInt(LPCTSTR lpszName, int& value, bool bWrite) {
  return ThroughPrimitive<LONG>(value, bWrite, [&](LONG& v) { return ExchangeLong(lpszName, v, bWrite); });
}

bool CSettingsStore::BeginArray(LPCTSTR lpszName, int& nCount, bool bWrite) {
  m_pArrayStore.reset(CreateSubStore(lpszName));
  if (!m_pArrayStore || nCount == -1) return false;
  if (bWrite)
    m_pArrayStore->OpenForWrite();
  else
    m_pArrayStore->OpenForRead();
  unsigned int count = static_cast<unsigned int>(nCount);
  if (!m_pArrayStore->ExchangeUInt("Count", count, bWrite)) return false;
  nCount = static_cast<int>(count);
  return true;
}

bool CSettingsStore::ExchangeArrayItem(int nIndex, CSettingsRecord& record, bool bWrite) {
  if (!m_pArrayStore) return false;
  char name[16];
  std::snprintf(name, sizeof name, "%d", nIndex);
  std::unique_ptr<CSettingsStore> child(m_pArrayStore->CreateSubStore(name));
  if (!child) return false;
  return bWrite ? record.Save(*child) : record.Load(*child);
}

bool CSettingsStore::EndArray(bool bWrite) {
  if (!m_pArrayStore) return false;
  if (bWrite)
    m_pArrayStore->CloseAfterWrite();
  else
    m_pArrayStore->CloseAfterRead();
  m_pArrayStore.reset();
  return true;
}

bool CSettingsStore::BeginArrayChecked(LPCTSTR lpszName, int& nCount, bool bWrite) {
  m_pArrayStore.reset(CreateSubStore(lpszName));
  if (!m_pArrayStore) return false;
  const bool opened = bWrite ? m_pArrayStore->OpenForWrite() : m_pArrayStore->OpenForRead();
  unsigned int count = static_cast<unsigned int>(nCount);
  if (!m_pArrayStore->ExchangeUInt("Count", count, bWrite)) {
    if (bWrite)
      m_pArrayStore->CloseAfterWrite();
    else
      m_pArrayStore->CloseAfterRead();
    m_pArrayStore.reset();
    return false;
  }
  nCount = static_cast<int>(count);
  return opened;
}

bool CSettingsStore::GetArrayItemName(int nIndex, int nUnused, LPCTSTR& lpszName) {
  std::snprintf(m_szItemName, sizeof m_szItemName, "Item.%i", nIndex);
  lpszName = m_szItemName;
  return true;
}

bool CSettingsStore::EndArrayChecked(bool bWrite) {
  if (!m_pArrayStore) return false;
  const bool closed = bWrite ? m_pArrayStore->CloseAfterWrite() : m_pArrayStore->CloseAfterRead();
  m_pArrayStore.reset();
  return closed;
}

bool CSettingsRecord::Load(CSettingsStore& store) {
  const bool opened = store.OpenForRead();
  OnBeginLoad(opened);
  const bool ok = opened && Exchange(store.ContinueOnFailure(), store, false, false);
  const bool closed = store.CloseAfterRead();
  const bool result = ok && closed;
  OnEndLoad(result);
  return result;
}

bool CSettingsRecord::Save(CSettingsStore& store) {
  const bool opened = store.OpenForWrite();
  OnBeginSave(opened);
  const bool ok = opened && Exchange(store.ContinueOnFailure(), store, true, false);
  const bool closed = store.CloseAfterWrite();
  const bool result = ok && closed;
  OnEndSave(result);
  return result;
}
