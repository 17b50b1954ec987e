// BSTR layout: [4-byte byte count][characters][NUL character], the BSTR pointing at the first
// character. Blocks come from malloc, whose alignment keeps the characters aligned.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/base/Utf8.h"
#include "platform/com/OleAuto.h"

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);
static_assert(kPrefix % alignof(OLECHAR) == 0);

uint32_t* PrefixOf(BSTR bstr) {
  return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(bstr) - kPrefix);
}

// A block for `bytes` bytes of text, filled from `data` (zero when null), NUL-terminated.
BSTR Allocate(const void* data, size_t bytes) {
  if (bytes > UINT32_MAX - 2 * sizeof(OLECHAR)) return nullptr;
  const size_t textBytes = (bytes + sizeof(OLECHAR) - 1) / sizeof(OLECHAR) * sizeof(OLECHAR);
  char* block = static_cast<char*>(std::malloc(kPrefix + textBytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  const uint32_t count = static_cast<uint32_t>(bytes);
  std::memcpy(block, &count, kPrefix);
  char* text = block + kPrefix;
  if (data)
    std::memcpy(text, data, bytes);
  else
    std::memset(text, 0, bytes);
  std::memset(text + bytes, 0, textBytes - bytes + sizeof(OLECHAR));
  return reinterpret_cast<BSTR>(text);
}

}  // namespace

BSTR SysAllocString(LPCOLESTR text) {
  if (!text) return nullptr;
  return Allocate(text, std::wcslen(text) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(LPCOLESTR text, UINT length) {
  if (length > UINT32_MAX / sizeof(OLECHAR)) return nullptr;
  return Allocate(text, size_t{length} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(LPCSTR data, UINT bytes) {
  return Allocate(data, bytes);
}

INT SysReAllocString(BSTR* bstr, LPCOLESTR text) {
  if (!bstr) return FALSE;
  BSTR fresh = SysAllocString(text);
  if (!fresh && text) return FALSE;
  SysFreeString(*bstr);
  *bstr = fresh;
  return TRUE;
}

INT SysReAllocStringLen(BSTR* bstr, LPCOLESTR text, UINT length) {
  if (!bstr) return FALSE;
  BSTR fresh = SysAllocStringLen(text, length);
  if (!fresh) return FALSE;
  SysFreeString(*bstr);
  *bstr = fresh;
  return TRUE;
}

void SysFreeString(BSTR bstr) {
  if (bstr) std::free(PrefixOf(bstr));
}

UINT SysStringByteLen(BSTR bstr) {
  return bstr ? *PrefixOf(bstr) : 0;
}

UINT SysStringLen(BSTR bstr) {
  return SysStringByteLen(bstr) / sizeof(OLECHAR);
}

namespace pictavo::com {

BSTR AllocBstr(std::string_view utf8) {
  const std::wstring wide = utf8::ToWide(utf8);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string BstrToUtf8(BSTR bstr) {
  return utf8::FromWide(std::wstring_view(bstr ? bstr : L"", SysStringLen(bstr)));
}

}  // namespace pictavo::com
