#include "platform/kernel/FileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileObject.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/SyncObjectsNamed.h"

namespace pictavo::kernel {
namespace {

ULONGLONG PageSize() {
  static const auto size = static_cast<ULONGLONG>(sysconf(_SC_PAGESIZE));
  return size;
}

bool IsKnownProtection(DWORD protect) {
  switch (protect) {
    case PAGE_READONLY:
    case PAGE_READWRITE:
    case PAGE_WRITECOPY:
    case PAGE_EXECUTE_READ:
    case PAGE_EXECUTE_READWRITE:
    case PAGE_EXECUTE_WRITECOPY:
      return true;
    default:
      return false;
  }
}
bool AllowsWrite(DWORD protect) {
  return protect == PAGE_READWRITE || protect == PAGE_EXECUTE_READWRITE;
}
bool AllowsExecute(DWORD protect) {
  return protect >= PAGE_EXECUTE_READ;
}

class FileMapping final : public KernelObject {
 public:
  // `fd` belongs to the mapping, or to `named` when the mapping has a name.
  FileMapping(int fd, std::unique_ptr<NamedFile> named, ULONGLONG size, DWORD protect)
      : m_fd(fd), m_named(std::move(named)), m_size(size), m_protect(protect) {}
  ~FileMapping() override {
    if (!m_named) close(m_fd);
  }
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  int Fd() const { return m_fd; }
  ULONGLONG Size() const { return m_size; }
  DWORD Protection() const { return m_protect; }

 private:
  const int m_fd;
  const std::unique_ptr<NamedFile> m_named;
  const ULONGLONG m_size;
  const DWORD m_protect;
};

// A view keeps its mapping (and a named mapping's share) alive after the handle is closed.
struct View {
  std::shared_ptr<FileMapping> mapping;
  size_t length;
};
struct Views {
  std::mutex lock;
  std::map<uintptr_t, View> byBase;  // guarded by lock
};
Views& TheViews() {
  static Views* views = new Views;
  return *views;
}

struct NamedMappings {
  std::mutex lock;
  std::map<std::string, std::weak_ptr<FileMapping>> byName;  // guarded by lock
};
NamedMappings& Names() {
  static NamedMappings* names = new NamedMappings;
  return *names;
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

HANDLE Publish(const std::shared_ptr<FileMapping>& mapping, DWORD error) {
  HANDLE handle = InsertHandle(mapping);
  SetLastError(error);
  return handle;
}

HANDLE CreateForFile(HANDLE file, DWORD protect, ULONGLONG size) {
  auto object = FindObjectAs<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  struct stat st {};
  if (fstat(object->Fd(), &st) != 0) return Fail(ErrorFromErrno(errno));
  const auto length = static_cast<ULONGLONG>(st.st_size);
  if (size == 0) {
    if (length == 0) return Fail(ERROR_FILE_INVALID);
    size = length;
  } else if (size > length) {
    if (!AllowsWrite(protect)) return Fail(ERROR_ACCESS_DENIED);
    if (ftruncate(object->Fd(), static_cast<off_t>(size)) != 0)
      return Fail(errno == EBADF || errno == EINVAL ? ERROR_ACCESS_DENIED : ErrorFromErrno(errno));
  }
  // The mapping keeps the file open after its handle is closed.
  const int fd = fcntl(object->Fd(), F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return Fail(ErrorFromErrno(errno));
  return Publish(std::make_shared<FileMapping>(fd, nullptr, size, protect), ERROR_SUCCESS);
}

HANDLE CreateUnnamed(DWORD protect, ULONGLONG size) {
  const int fd = memfd_create("pictavo-mapping", MFD_CLOEXEC);
  if (fd < 0) return Fail(ErrorFromErrno(errno));
  if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
    const DWORD error = errno == EFBIG || errno == EINVAL ? ERROR_NOT_ENOUGH_MEMORY : ErrorFromErrno(errno);
    close(fd);
    return Fail(error);
  }
  return Publish(std::make_shared<FileMapping>(fd, nullptr, size, protect), ERROR_SUCCESS);
}

std::shared_ptr<FileMapping> FromNamedFile(std::unique_ptr<NamedFile> file, DWORD protect) {
  struct stat st {};
  if (fstat(file->Fd(), &st) != 0 || st.st_size == 0) {
    // A creator failed before giving it a size: there is nothing to map.
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  const int fd = file->Fd();
  return std::make_shared<FileMapping>(fd, std::move(file), static_cast<ULONGLONG>(st.st_size), protect);
}

HANDLE CreateNamed(DWORD protect, ULONGLONG size, const std::string& name) {
  auto& names = Names();
  std::lock_guard lock(names.lock);
  std::erase_if(names.byName, [](const auto& entry) { return entry.second.expired(); });
  if (auto existing = names.byName[name].lock()) return Publish(existing, ERROR_ALREADY_EXISTS);
  auto startFresh = [size](int fd) {
    if (ftruncate(fd, 0) == 0 && ftruncate(fd, static_cast<off_t>(size)) == 0) return true;
    FailWithErrno();
    return false;
  };
  auto joined = NamedFile::Open("mapping", name, NamedFile::Join::CreateOrOpen, startFresh);
  if (!joined.file) return nullptr;
  auto mapping = FromNamedFile(std::move(joined.file), protect);
  if (!mapping) return nullptr;
  names.byName[name] = mapping;
  return Publish(mapping, joined.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
}

LPVOID Map(HANDLE handle, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes, LPVOID base) {
  auto mapping = FindObjectAs<FileMapping>(handle);
  if (!mapping) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const bool write = (access & FILE_MAP_WRITE) != 0;
  const bool copy = (access & FILE_MAP_COPY) != 0 && !write;
  const bool execute = (access & FILE_MAP_EXECUTE) != 0;
  if (!(access & (FILE_MAP_READ | FILE_MAP_WRITE | FILE_MAP_COPY))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if ((write && !AllowsWrite(mapping->Protection())) || (execute && !AllowsExecute(mapping->Protection()))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  const ULONGLONG offset = (static_cast<ULONGLONG>(offsetHigh) << 32) | offsetLow;
  if (offset % PageSize() != 0 || reinterpret_cast<uintptr_t>(base) % PageSize() != 0) {
    SetLastError(ERROR_MAPPED_ALIGNMENT);
    return nullptr;
  }
  if (offset >= mapping->Size() || bytes > mapping->Size() - offset) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const size_t length = bytes ? bytes : static_cast<size_t>(mapping->Size() - offset);
  const int protection = PROT_READ | (write || copy ? PROT_WRITE : 0) | (execute ? PROT_EXEC : 0);
  const int flags = (copy ? MAP_PRIVATE : MAP_SHARED) | (base ? MAP_FIXED_NOREPLACE : 0);
  void* view = mmap(base, length, protection, flags, mapping->Fd(), static_cast<off_t>(offset));
  if (view == MAP_FAILED) {
    SetLastError(errno == EEXIST ? ERROR_INVALID_ADDRESS : ErrorFromErrno(errno));
    return nullptr;
  }
  if (base && view != base) {
    munmap(view, length);
    SetLastError(ERROR_INVALID_ADDRESS);
    return nullptr;
  }
  auto& views = TheViews();
  std::lock_guard lock(views.lock);
  views.byBase[reinterpret_cast<uintptr_t>(view)] = View{std::move(mapping), length};
  return view;
}

}  // namespace
}  // namespace pictavo::kernel

namespace kernel = pictavo::kernel;

HANDLE CreateFileMapping(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maximumSizeHigh,
                         DWORD maximumSizeLow, LPCSTR name) {
  const DWORD protection = protect & ~SEC_COMMIT;
  if (!kernel::IsKnownProtection(protection)) return kernel::Fail(ERROR_INVALID_PARAMETER);
  const ULONGLONG size = (static_cast<ULONGLONG>(maximumSizeHigh) << 32) | maximumSizeLow;
  const bool named = name && *name;
  if (file != INVALID_HANDLE_VALUE) {
    // Another process could not find this process's file by the name.
    if (named) return kernel::Fail(ERROR_NOT_SUPPORTED);
    return kernel::CreateForFile(file, protection, size);
  }
  if (size == 0) return kernel::Fail(ERROR_INVALID_PARAMETER);
  return named ? kernel::CreateNamed(protection, size, name) : kernel::CreateUnnamed(protection, size);
}

HANDLE OpenFileMapping(DWORD, BOOL, LPCSTR name) {
  if (!name || !*name) return kernel::Fail(ERROR_INVALID_PARAMETER);
  auto& names = kernel::Names();
  std::lock_guard lock(names.lock);
  auto it = names.byName.find(name);
  if (it != names.byName.end()) {
    if (auto existing = it->second.lock()) return kernel::Publish(existing, ERROR_SUCCESS);
  }
  auto joined = kernel::NamedFile::Open("mapping", name, kernel::NamedFile::Join::OpenExisting, nullptr);
  if (!joined.file) return nullptr;
  auto mapping = kernel::FromNamedFile(std::move(joined.file), PAGE_READWRITE);
  if (!mapping) return nullptr;
  names.byName[name] = mapping;
  return kernel::Publish(mapping, ERROR_SUCCESS);
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes) {
  return kernel::Map(mapping, access, offsetHigh, offsetLow, bytes, nullptr);
}

LPVOID MapViewOfFileEx(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes,
                       LPVOID baseAddress) {
  return kernel::Map(mapping, access, offsetHigh, offsetLow, bytes, baseAddress);
}

BOOL UnmapViewOfFile(LPCVOID baseAddress) {
  kernel::View view{};
  {
    auto& views = kernel::TheViews();
    std::lock_guard lock(views.lock);
    auto it = views.byBase.find(reinterpret_cast<uintptr_t>(baseAddress));
    if (it == views.byBase.end()) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    view = std::move(it->second);
    views.byBase.erase(it);
  }
  munmap(const_cast<void*>(baseAddress), view.length);
  return TRUE;  // the mapping goes here when this was its last view and its handles are closed
}

BOOL FlushViewOfFile(LPCVOID address, SIZE_T bytes) {
  const auto at = reinterpret_cast<uintptr_t>(address);
  uintptr_t begin = 0;
  uintptr_t end = 0;
  {
    auto& views = kernel::TheViews();
    std::lock_guard lock(views.lock);
    auto it = views.byBase.upper_bound(at);
    if (it == views.byBase.begin()) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    --it;
    const uintptr_t viewEnd = it->first + it->second.length;
    if (at >= viewEnd) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    begin = at - at % kernel::PageSize();
    end = bytes == 0 || bytes > viewEnd - at ? viewEnd : at + bytes;
  }
  if (msync(reinterpret_cast<void*>(begin), end - begin, MS_SYNC) != 0) return pictavo::FailWithErrno();
  return TRUE;
}
