#include "toolkit/bars/PlxMenuTempStore.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/ArchiveBytes.h"
#include "platform/base/Exceptions.h"
#include "platform/base/MemFile.h"
#include "platform/kernel/FileSystem.h"
#include "toolkit/bars/PlxToolBar.h"

IMPLEMENT_DYNAMIC(CPlxMenuTempStore, CObject)

BOOL CPlxMenuTempStore::m_bSerializing = FALSE;
CPlxMenuTempStore g_menuTempStore;

namespace {

constexpr UINT kArchiveBuffer = 4096;

// A file in the temporary folder that never has a name: O_TMPFILE where the file system offers
// it, else a fresh "Plx" name made exclusively (mkstemp) and unlinked before anything is written.
// Owner-only either way. -1 when the folder cannot take it.
int MakeUnnamedTempFile() {
  char folder[MAX_PATH];
  const DWORD length = GetTempPath(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return -1;
  int fd = ::open(folder, O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR)) return fd;
  std::string pattern = std::string(folder) + "PlxXXXXXX";
  fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  if (::unlink(pattern.c_str()) != 0 || ::fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
    ::unlink(pattern.c_str());
    ::close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const BYTE* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool ReadAll(int fd, std::vector<BYTE>& out) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  out.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(fd, out.data() + done, out.size() - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

// Holds the store's serializing flag for a scope, exceptions included.
class SerializingScope {
 public:
  explicit SerializingScope(BOOL& flag) : m_flag(flag) { m_flag = TRUE; }
  ~SerializingScope() { m_flag = FALSE; }

 private:
  BOOL& m_flag;
};

}  // namespace

CPlxMenuTempStore::TempFile& CPlxMenuTempStore::TempFile::operator=(TempFile&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = other.Release();
  }
  return *this;
}

CPlxMenuTempStore::TempFile::~TempFile() {
  if (m_fd >= 0) ::close(m_fd);
}

CPlxMenuTempStore::CPlxMenuTempStore() = default;

CPlxMenuTempStore::~CPlxMenuTempStore() {
  CleanUp();
}

BOOL CPlxMenuTempStore::SaveMenuBar(HMENU hMenu, CPlxToolBar* pBar) {
  if (pBar == nullptr || pBar->GetCount() == 0) return FALSE;
  // The items are written to memory first and reach a new file only whole; the menu's old file
  // is given up only once the new one holds them.
  std::vector<BYTE> bytes;
  try {
    SerializingScope serializing(m_bSerializing);
    bytes = pictavo::ArchiveBytes([&](CArchive& ar) { pBar->Serialize(ar); }, kArchiveBuffer);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  TempFile file(MakeUnnamedTempFile());
  if (file.Get() < 0 || !WriteAll(file.Get(), bytes.data(), bytes.size())) return FALSE;
  m_mapMenuFiles[hMenu] = std::move(file);
  return TRUE;
}

BOOL CPlxMenuTempStore::LoadMenuBar(HMENU hMenu, CPlxToolBar* pBar) {
  const auto it = m_mapMenuFiles.find(hMenu);
  if (pBar == nullptr || it == m_mapMenuFiles.end()) return FALSE;
  std::vector<BYTE> bytes;
  if (!ReadAll(it->second.Get(), bytes)) return FALSE;
  try {
    CMemFile memory(bytes.data(), static_cast<UINT>(bytes.size()));
    SerializingScope serializing(m_bSerializing);
    CArchive ar(&memory, CArchive::load, kArchiveBuffer);
    // The bar reads everything before it changes, so a damaged file leaves it as it was.
    pBar->Serialize(ar);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

BOOL CPlxMenuTempStore::RemoveMenu(HMENU hMenu) {
  return m_mapMenuFiles.erase(hMenu) != 0 ? TRUE : FALSE;
}

void CPlxMenuTempStore::CleanUp() {
  m_mapMenuFiles.clear();
}
