// Network browsing and shares, as far as the folder trees ask: this platform browses no
// network and shares no folders, and says so in the calls' own terms. WNetOpenEnum fails with
// ERROR_NO_NETWORK (the tree keeps its network node without children); NetShareEnum succeeds
// with no shares (no folder gets a "shared" overlay).
#pragma once

#include "platform/base/WinTypes.h"

#ifndef ERROR_NO_NETWORK
#define ERROR_NO_NETWORK 1222L
#endif
#define NERR_Success 0
#define MAX_PREFERRED_LENGTH 0xFFFFFFFFu

#define RESOURCE_CONNECTED 0x00000001u
#define RESOURCE_GLOBALNET 0x00000002u
#define RESOURCE_REMEMBERED 0x00000003u
#define RESOURCE_CONTEXT 0x00000005u

#define RESOURCETYPE_ANY 0x00000000u
#define RESOURCETYPE_DISK 0x00000001u
#define RESOURCETYPE_PRINT 0x00000002u

#define RESOURCEUSAGE_CONNECTABLE 0x00000001u
#define RESOURCEUSAGE_CONTAINER 0x00000002u

#define RESOURCEDISPLAYTYPE_GENERIC 0x00000000u
#define RESOURCEDISPLAYTYPE_DOMAIN 0x00000001u
#define RESOURCEDISPLAYTYPE_SERVER 0x00000002u
#define RESOURCEDISPLAYTYPE_SHARE 0x00000003u
#define RESOURCEDISPLAYTYPE_FILE 0x00000004u
#define RESOURCEDISPLAYTYPE_GROUP 0x00000005u
#define RESOURCEDISPLAYTYPE_NETWORK 0x00000006u

#define STYPE_DISKTREE 0u
#define STYPE_PRINTQ 1u
#define STYPE_DEVICE 2u
#define STYPE_IPC 3u
#define STYPE_SPECIAL 0x80000000u

struct NETRESOURCE {
  DWORD dwScope;
  DWORD dwType;
  DWORD dwDisplayType;
  DWORD dwUsage;
  LPSTR lpLocalName;
  LPSTR lpRemoteName;
  LPSTR lpComment;
  LPSTR lpProvider;
};
using NETRESOURCEA = NETRESOURCE;
using LPNETRESOURCE = NETRESOURCE*;
using LPNETRESOURCEA = NETRESOURCE*;

struct SHARE_INFO_502 {
  LPWSTR shi502_netname;
  DWORD shi502_type;
  LPWSTR shi502_remark;
  DWORD shi502_permissions;
  DWORD shi502_max_uses;
  DWORD shi502_current_uses;
  LPWSTR shi502_path;
  LPWSTR shi502_passwd;
  DWORD shi502_reserved;
  void* shi502_security_descriptor;
};

using NET_API_STATUS = DWORD;

// ERROR_NO_NETWORK; *enumeration becomes null.
DWORD WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCE resource, LPHANDLE enumeration);
#define WNetOpenEnumA WNetOpenEnum
// ERROR_INVALID_HANDLE: no enumeration can have been opened.
DWORD WNetEnumResource(HANDLE enumeration, LPDWORD count, LPVOID buffer, LPDWORD bufferSize);
#define WNetEnumResourceA WNetEnumResource
DWORD WNetCloseEnum(HANDLE enumeration);

// NERR_Success with no entries: *buffer null, both counts 0.
NET_API_STATUS NetShareEnum(LPWSTR server, DWORD level, LPBYTE* buffer, DWORD preferredMaximum,
                            LPDWORD entriesRead, LPDWORD totalEntries, LPDWORD resumeHandle);
NET_API_STATUS NetApiBufferFree(LPVOID buffer);
