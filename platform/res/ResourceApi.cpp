// FindResource and friends, the class library's resource handle, and the parsed records.
#include <atomic>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/IconDirectory.h"
#include "platform/res/ModuleTable.h"
#include "platform/res/Resources.h"

using namespace pictavo::res;

namespace {

std::atomic<HINSTANCE> g_resourceHandle{nullptr};  // null: the executable

// What LoadResource hands out for an empty resource, which has no bytes to point at.
const BYTE kEmptyData = 0;

const Entry* FindEntry(HMODULE module, LPCSTR name, LPCSTR type, const ResourceSet** setOut = nullptr) {
  const std::optional<ResourceName> resourceName = NameFromPointer(name);
  const std::optional<ResourceName> resourceType = NameFromPointer(type);
  if (!resourceName || !resourceType) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DWORD error = 0;
  const ResourceSet* set = SetOfModule(module, error);
  const Entry* entry = set ? set->Find(*resourceType, *resourceName, error) : nullptr;
  if (entry == nullptr) {
    SetLastError(error);
    return nullptr;
  }
  if (setOut) *setOut = set;
  return entry;
}

// The entry behind an HRSRC of `module`; HRSRCs of other modules are refused.
const Entry* EntryOf(HMODULE module, HRSRC resource, const ResourceSet*& set) {
  DWORD error = 0;
  set = SetOfModule(module, error);
  if (set == nullptr) {
    SetLastError(error);
    return nullptr;
  }
  if (resource == nullptr || !set->Owns(resource)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return reinterpret_cast<const Entry*>(resource);
}

std::optional<std::span<const BYTE>> DataOf(HMODULE module, HRSRC resource) {
  const ResourceSet* set = nullptr;
  const Entry* entry = EntryOf(module, resource, set);
  if (entry == nullptr) return std::nullopt;
  DWORD error = 0;
  std::optional<std::span<const BYTE>> data = set->Data(*entry, error);
  if (!data) SetLastError(error);
  return data;
}

template <class Record>
const Record* FindRecord(HMODULE module, LPCSTR name, WORD type) {
  const Entry* entry = FindEntry(module, name, MAKEINTRESOURCE(type));
  return entry ? std::get_if<Record>(&entry->parsed) : nullptr;
}

WORD ImageType(ImageKind kind) {
  switch (kind) {
    case ImageKind::Bitmap:
      return kTypeBitmap;
    case ImageKind::Icon:
      return kTypeIconGroup;
    case ImageKind::Cursor:
      return kTypeCursorGroup;
  }
  return kTypeBitmap;
}

bool HasResource(HINSTANCE module, LPCSTR name, LPCSTR type) {
  const DWORD saved = GetLastError();
  const bool found = FindEntry(module, name, type) != nullptr;
  SetLastError(saved);
  return found;
}

}  // namespace

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type) {
  return reinterpret_cast<HRSRC>(const_cast<Entry*>(FindEntry(module, name, type)));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  const std::optional<std::span<const BYTE>> data = DataOf(module, resource);
  if (!data) return nullptr;
  return const_cast<BYTE*>(data->empty() ? &kEmptyData : data->data());
}

LPVOID LockResource(HGLOBAL data) {
  return data;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  const std::optional<std::span<const BYTE>> data = DataOf(module, resource);
  return data ? static_cast<DWORD>(data->size()) : 0;
}

BOOL FreeResource(HGLOBAL) {
  return FALSE;
}

HINSTANCE AfxGetResourceHandle() {
  const HINSTANCE handle = g_resourceHandle.load();
  return handle ? handle : ExecutableHandle();
}

void AfxSetResourceHandle(HINSTANCE instance) {
  g_resourceHandle.store(instance);
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
  const HINSTANCE current = AfxGetResourceHandle();
  if (HasResource(current, name, type)) return current;
  if (current != ExecutableHandle() && HasResource(ExecutableHandle(), name, type)) return ExecutableHandle();
  return current;
}

namespace pictavo::res {

const DialogTemplate* FindDialog(HMODULE module, LPCSTR name) {
  return FindRecord<DialogTemplate>(module, name, kTypeDialog);
}

const MenuTemplate* FindMenu(HMODULE module, LPCSTR name) {
  return FindRecord<MenuTemplate>(module, name, kTypeMenu);
}

const AcceleratorTable* FindAccelerators(HMODULE module, LPCSTR name) {
  return FindRecord<AcceleratorTable>(module, name, kTypeAccelerator);
}

const ToolbarTemplate* FindToolbar(HMODULE module, LPCSTR name) {
  return FindRecord<ToolbarTemplate>(module, name, kTypeToolbar);
}

const std::string* FindImageFile(HMODULE module, LPCSTR name, ImageKind kind) {
  const Entry* entry = FindEntry(module, name, MAKEINTRESOURCE(ImageType(kind)));
  return entry ? &entry->file : nullptr;
}

std::optional<IconImage> FindIconImage(HMODULE module, LPCSTR name, ImageKind kind, int cx, int cy) {
  if (kind == ImageKind::Bitmap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  const ResourceSet* set = nullptr;
  const Entry* entry = FindEntry(module, name, MAKEINTRESOURCE(ImageType(kind)), &set);
  if (entry == nullptr) return std::nullopt;
  DWORD error = 0;
  const std::optional<std::span<const BYTE>> data = set->Data(*entry, error);
  std::string problem;
  const std::optional<std::vector<IconImage>> images =
      data ? ReadIconDirectory(*data, kind == ImageKind::Cursor, problem) : std::nullopt;
  if (!images) {
    SetLastError(data ? ERROR_INVALID_DATA : error);
    return std::nullopt;
  }
  return (*images)[ChooseIconImage(*images, cx, cy)];
}

}  // namespace pictavo::res
