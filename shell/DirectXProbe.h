// Which DirectX the system offers. The main dialog asks once after start-up and keeps previews
// and output off below 9.0.
//
// Packed DirectX version (32 bits): major in bits 16-23, minor in bits 8-15, the revision letter
// in bits 0-7 as 1 for 'a', 2 for 'b' ... (0 without letter): 9.0c is 0x00090003, 8.1 0x00080100.
// File versions are the 64-bit VS_FIXEDFILEINFO numbers: dwFileVersionMS high, dwFileVersionLS low.
#pragma once

#include <functional>

#include "platform/base/WinTypes.h"
#include "platform/com/OleAuto.h"
#include "platform/com/Unknown.h"

// The version the program's own frame path stands for where no DirectX is installed at all.
#define DIRECTX_VERSION_FRAME_PATH 0x00090003u

// Fills the packed version and the text "%d.%d" or "%d.%d%c" (lower-case letter), cut to
// cchVersion characters with the NUL. Both outputs are optional and cleared first. E_FAIL only
// when every method failed.
HRESULT GetDirectXVersion(DWORD* pdwDirectXVersion, TCHAR* strDirectXVersion, int cchDirectXVersion);

// The version the DirectX diagnostic service reports: S_OK when major, minor and letter were all
// read, else E_FAIL.
HRESULT QueryDxDiagVersion(DWORD* pdwDirectXVersionMajor, DWORD* pdwDirectXVersionMinor,
                           TCHAR* pcDirectXVersionLetter);

// The version told by the DirectX files of the system folder. Always S_OK; 0, 0 and a blank when
// the folder can't be read or no file qualifies.
HRESULT ProbeDirectXFileVersions(DWORD* pdwDirectXVersionMajor, DWORD* pdwDirectXVersionMinor,
                                 TCHAR* pcDirectXVersionLetter);

// The file version of a file: S_OK, E_INVALIDARG for null arguments, E_OUTOFMEMORY, or E_FAIL
// when the file has no version information.
HRESULT ReadFileVersion(const TCHAR* szPath, ULARGE_INTEGER* pllFileVersion);
// -1, 0 or 1, unsigned, high half first.
int CompareFileVersions(ULARGE_INTEGER llFileVersion1, ULARGE_INTEGER llFileVersion2);
// major << 48 | minor << 32 | build << 16 | revision, each taken as 16 bits.
ULARGE_INTEGER PackFileVersion(WORD wMajor, WORD wMinor, WORD wBuild, WORD wRevision);

namespace pictavo::shell {
// Reads the version of one file of the system folder by its name ("ddraw.dll"); false when the
// file has no version information.
using DirectXFileVersionReader = std::function<bool(const char* szFileName, ULARGE_INTEGER* pllVersion)>;
// The file table of ProbeDirectXFileVersions over any reader.
void ProbeDirectXFiles(const DirectXFileVersionReader& readVersion, DWORD* pdwMajor, DWORD* pdwMinor,
                       TCHAR* pcLetter);
}  // namespace pictavo::shell

// The diagnostic service's interfaces, as far as the probe reads them.
#define DXDIAG_DX9_SDK_VERSION 111

struct DXDIAG_INIT_PARAMS {
  DWORD dwSize;
  DWORD dwDxDiagHeaderVersion;
  BOOL bAllowWHQLChecks;
  LPVOID pReserved;
};

inline constexpr CLSID CLSID_DxDiagProvider{
    0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
inline constexpr IID IID_IDxDiagProvider{
    0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};
inline constexpr IID IID_IDxDiagContainer{
    0x7D0F462F, 0x4064, 0x4862, {0xBC, 0x7F, 0x93, 0x3E, 0x50, 0x58, 0xC1, 0x0F}};

struct IDxDiagContainer : IUnknown {
  STDMETHOD(GetNumberOfChildContainers)(DWORD* pdwCount) PURE;
  STDMETHOD(EnumChildContainerNames)(DWORD dwIndex, LPWSTR pwszContainer, DWORD cchContainer) PURE;
  STDMETHOD(GetChildContainer)(LPCWSTR pwszContainer, IDxDiagContainer** ppInstance) PURE;
  STDMETHOD(GetNumberOfProps)(DWORD* pdwCount) PURE;
  STDMETHOD(EnumPropNames)(DWORD dwIndex, LPWSTR pwszPropName, DWORD cchPropName) PURE;
  STDMETHOD(GetProp)(LPCWSTR pwszPropName, VARIANT* pvarProp) PURE;

 protected:
  ~IDxDiagContainer() = default;
};
PICTAVO_COM_INTERFACE_ID(IDxDiagContainer, IID_IDxDiagContainer);

struct IDxDiagProvider : IUnknown {
  STDMETHOD(Initialize)(DXDIAG_INIT_PARAMS* pParams) PURE;
  STDMETHOD(GetRootContainer)(IDxDiagContainer** ppInstance) PURE;

 protected:
  ~IDxDiagProvider() = default;
};
PICTAVO_COM_INTERFACE_ID(IDxDiagProvider, IID_IDxDiagProvider);
