// String resources: LoadString and the class library's CString::LoadString.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/ModuleTable.h"
#include "platform/res/Resources.h"

namespace pictavo::res {

namespace {

const std::string* FindStringIn(HINSTANCE module, UINT id, DWORD& error) {
  const ResourceSet* set = SetOfModule(module, error);
  if (set == nullptr) return nullptr;
  if (id > 0xFFFF) {
    error = ERROR_RESOURCE_NAME_NOT_FOUND;
    return nullptr;
  }
  return set->FindString(id, error);
}

}  // namespace

// As the class library looks strings up: in the resource handle, then in the executable.
bool LoadStringForClassLibrary(UINT id, std::string& text) {
  DWORD error = 0;
  const HINSTANCE current = AfxGetResourceHandle();
  const std::string* found = FindStringIn(current, id, error);
  if (found == nullptr && current != ExecutableHandle()) found = FindStringIn(ExecutableHandle(), id, error);
  if (found == nullptr) return false;
  text = *found;
  return true;
}

}  // namespace pictavo::res

int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
  if (buffer == nullptr || bufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  buffer[0] = '\0';
  DWORD error = 0;
  const std::string* text = pictavo::res::FindStringIn(instance, id, error);
  if (text == nullptr) {
    SetLastError(error);
    return 0;
  }
  size_t length = std::min(text->size(), static_cast<size_t>(bufferMax - 1));
  // Never split a character: back up over the continuation bytes of the one that does not fit.
  while (length > 0 && length < text->size() && (static_cast<unsigned char>((*text)[length]) & 0xC0) == 0x80)
    --length;
  std::memcpy(buffer, text->data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}
