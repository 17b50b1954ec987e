#include "platform/com/Guid.h"

#include <cstdio>

#include "platform/com/HResult.h"
#include "platform/com/TaskMemory.h"

namespace pictavo::com {

std::string GuidToText(REFGUID guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

std::optional<GUID> GuidFromText(std::string_view text, bool braces) {
  if (braces) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return std::nullopt;
  // Hex digit positions of the 16 bytes in "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
  static constexpr int kByteAt[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
  for (int dash : {8, 13, 18, 23})
    if (text[dash] != '-') return std::nullopt;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  BYTE bytes[16];
  for (int i = 0; i < 16; ++i) {
    const int high = digit(text[kByteAt[i]]);
    const int low = digit(text[kByteAt[i] + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<BYTE>(high * 16 + low);
  }
  GUID guid{};
  guid.Data1 = (DWORD(bytes[0]) << 24) | (DWORD(bytes[1]) << 16) | (DWORD(bytes[2]) << 8) | bytes[3];
  guid.Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
  guid.Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
  return guid;
}

}  // namespace pictavo::com

namespace {

// GUID text is plain ASCII, so wide characters outside it simply fail the parse.
std::string Narrow(LPCOLESTR text) {
  std::string out;
  for (; *text; ++text) out += (*text > 0 && *text < 0x80) ? static_cast<char>(*text) : '?';
  return out;
}

}  // namespace

int StringFromGUID2(REFGUID guid, LPOLESTR text, int size) {
  const std::string narrow = pictavo::com::GuidToText(guid);
  if (!text || size < static_cast<int>(narrow.size()) + 1) return 0;
  for (size_t i = 0; i < narrow.size(); ++i) text[i] = static_cast<OLECHAR>(narrow[i]);
  text[narrow.size()] = 0;
  return static_cast<int>(narrow.size()) + 1;
}

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) {
  if (!text || !clsid) return E_INVALIDARG;
  const auto guid = pictavo::com::GuidFromText(Narrow(text));
  if (!guid) return CO_E_CLASSSTRING;
  *clsid = *guid;
  return S_OK;
}

HRESULT IIDFromString(LPCOLESTR text, LPIID iid) {
  if (!text || !iid) return E_INVALIDARG;
  const auto guid = pictavo::com::GuidFromText(Narrow(text));
  if (!guid) return E_INVALIDARG;
  *iid = *guid;
  return S_OK;
}

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text) {
  if (!text) return E_INVALIDARG;
  *text = static_cast<LPOLESTR>(CoTaskMemAlloc(39 * sizeof(OLECHAR)));
  if (!*text) return E_OUTOFMEMORY;
  StringFromGUID2(clsid, *text, 39);
  return S_OK;
}
