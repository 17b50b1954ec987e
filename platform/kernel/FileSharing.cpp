#include "platform/kernel/FileSharing.h"

#include <mutex>
#include <utility>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"

namespace pictavo::kernel {
namespace {

struct Open {
  FileIdentity file;
  uint64_t ticket;
  bool reads;
  bool writes;
  DWORD share;
};

struct ShareTable {
  std::mutex lock;
  uint64_t nextTicket = 0;  // guarded by lock
  std::vector<Open> opens;  // guarded by lock; few files are open at a time
};

ShareTable& Table() {
  static ShareTable* table = new ShareTable;  // outlives static destructors of callers
  return *table;
}

bool Conflicts(const Open& open, bool reads, bool writes, DWORD share) {
  if (reads && !(open.share & FILE_SHARE_READ)) return true;
  if (writes && !(open.share & FILE_SHARE_WRITE)) return true;
  if (open.reads && !(share & FILE_SHARE_READ)) return true;
  if (open.writes && !(share & FILE_SHARE_WRITE)) return true;
  return false;
}

}  // namespace

ShareRegistration::~ShareRegistration() {
  Release();
}

ShareRegistration::ShareRegistration(ShareRegistration&& other) noexcept
    : m_file(other.m_file), m_ticket(std::exchange(other.m_ticket, 0)) {}

ShareRegistration& ShareRegistration::operator=(ShareRegistration&& other) noexcept {
  if (this != &other) {
    Release();
    m_file = other.m_file;
    m_ticket = std::exchange(other.m_ticket, 0);
  }
  return *this;
}

bool ShareRegistration::Register(FileIdentity file, bool reads, bool writes, DWORD shareMode) {
  Release();
  auto& table = Table();
  std::lock_guard lock(table.lock);
  for (const Open& open : table.opens) {
    if (open.file == file && Conflicts(open, reads, writes, shareMode)) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return false;
    }
  }
  m_file = file;
  m_ticket = ++table.nextTicket;
  table.opens.push_back({file, m_ticket, reads, writes, shareMode});
  return true;
}

void ShareRegistration::Release() {
  if (m_ticket == 0) return;
  auto& table = Table();
  std::lock_guard lock(table.lock);
  std::erase_if(table.opens, [&](const Open& open) { return open.ticket == m_ticket; });
  m_ticket = 0;
}

bool OpenHandlesAllowDelete(FileIdentity file) {
  auto& table = Table();
  std::lock_guard lock(table.lock);
  for (const Open& open : table.opens)
    if (open.file == file && !(open.share & FILE_SHARE_DELETE)) return false;
  return true;
}

}  // namespace pictavo::kernel
