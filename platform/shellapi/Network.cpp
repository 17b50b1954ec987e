#include "platform/shellapi/Network.h"

#include "platform/base/ErrorCodes.h"

DWORD WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCE resource, LPHANDLE enumeration) {
  if (enumeration) *enumeration = nullptr;
  return ERROR_NO_NETWORK;
}

DWORD WNetEnumResource(HANDLE enumeration, LPDWORD count, LPVOID buffer, LPDWORD bufferSize) {
  return ERROR_INVALID_HANDLE;
}

DWORD WNetCloseEnum(HANDLE enumeration) {
  return ERROR_INVALID_HANDLE;
}

NET_API_STATUS NetShareEnum(LPWSTR server, DWORD level, LPBYTE* buffer, DWORD preferredMaximum,
                            LPDWORD entriesRead, LPDWORD totalEntries, LPDWORD resumeHandle) {
  if (buffer) *buffer = nullptr;
  if (entriesRead) *entriesRead = 0;
  if (totalEntries) *totalEntries = 0;
  return NERR_Success;
}

NET_API_STATUS NetApiBufferFree(LPVOID buffer) {
  return NERR_Success;
}
