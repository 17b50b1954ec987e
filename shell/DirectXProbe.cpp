#include "shell/DirectXProbe.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/com/Com.h"
#include "platform/kernel/ModuleVersion.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Unicode.h"

using pictavo::com::ComPtr;

namespace {

// Owns a VARIANT the diagnostic service filled.
struct ScopedVariant {
  VARIANT value;
  ScopedVariant() { VariantInit(&value); }
  ~ScopedVariant() { VariantClear(&value); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
};

bool ReadDWordProp(IDxDiagContainer* container, LPCWSTR name, DWORD* value) {
  ScopedVariant prop;
  if (FAILED(container->GetProp(name, &prop.value)) || prop.value.vt != VT_UI4) return false;
  *value = V_UI4(&prop.value);
  return true;
}

bool ReadLetterProp(IDxDiagContainer* container, LPCWSTR name, TCHAR* letter) {
  ScopedVariant prop;
  if (FAILED(container->GetProp(name, &prop.value)) || prop.value.vt != VT_BSTR) return false;
  char text[10] = {};
  if (V_BSTR(&prop.value) != nullptr)
    WideCharToMultiByte(CP_ACP, 0, V_BSTR(&prop.value), -1, text, sizeof text - 1, nullptr, nullptr);
  *letter = text[0];
  return true;
}

// Balances a successful CoInitialize of this call.
class ScopedComInit {
 public:
  ScopedComInit() : m_initialized(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ScopedComInit() {
    if (m_initialized) CoUninitialize();
  }
  ScopedComInit(const ScopedComInit&) = delete;
  ScopedComInit& operator=(const ScopedComInit&) = delete;

 private:
  bool m_initialized;
};

struct FileRow {
  const char* file;
  ULARGE_INTEGER threshold;   // for a file of major version 4 (and any other than 5)
  ULARGE_INTEGER threshold5;  // for a file of major version 5; zero when the row has one threshold
  DWORD major;
  DWORD minor;
  char letter;
};

const FileRow kFileRows[] = {
    {"ddraw.dll", PackFileVersion(4, 2, 0, 95), {}, 1, 0, ' '},
    {"ddraw.dll", PackFileVersion(4, 3, 0, 1096), {}, 2, 0, ' '},
    {"ddraw.dll", PackFileVersion(4, 4, 0, 68), {}, 3, 0, ' '},
    {"d3drg8x.dll", PackFileVersion(4, 4, 0, 70), {}, 3, 0, 'a'},
    {"ddraw.dll", PackFileVersion(4, 5, 0, 155), {}, 5, 0, ' '},
    {"ddraw.dll", PackFileVersion(4, 6, 0, 318), {}, 6, 0, ' '},
    {"ddraw.dll", PackFileVersion(4, 6, 0, 436), {}, 6, 1, ' '},
    {"dplayx.dll", PackFileVersion(4, 6, 3, 518), {}, 6, 1, 'a'},
    {"ddraw.dll", PackFileVersion(4, 7, 0, 700), {}, 7, 0, ' '},
    {"dinput.dll", PackFileVersion(4, 7, 0, 716), {}, 7, 0, 'a'},
    {"ddraw.dll", PackFileVersion(4, 8, 0, 400), PackFileVersion(5, 1, 2258, 400), 8, 0, ' '},
    {"d3d8.dll", PackFileVersion(4, 8, 1, 881), PackFileVersion(5, 1, 2600, 881), 8, 1, ' '},
    {"d3d8.dll", PackFileVersion(4, 8, 1, 901), PackFileVersion(5, 1, 2600, 901), 8, 1, 'a'},
    {"mpg2splt.ax", PackFileVersion(6, 3, 1, 885), {}, 8, 1, 'b'},
    {"dpnet.dll", PackFileVersion(4, 9, 0, 134), PackFileVersion(5, 2, 3677, 134), 8, 2, ' '},
};

WORD FileMajor(ULARGE_INTEGER version) {
  return static_cast<WORD>(version.u.HighPart >> 16);
}

}  // namespace

HRESULT QueryDxDiagVersion(DWORD* pdwDirectXVersionMajor, DWORD* pdwDirectXVersionMinor,
                           TCHAR* pcDirectXVersionLetter) {
  if (!pdwDirectXVersionMajor || !pdwDirectXVersionMinor || !pcDirectXVersionLetter) return E_FAIL;
  ScopedComInit com;
  ComPtr<IDxDiagProvider> provider;
  if (FAILED(CoCreateInstance(CLSID_DxDiagProvider, nullptr, CLSCTX_INPROC_SERVER, IID_IDxDiagProvider,
                              provider.OutVoid())) ||
      !provider)
    return E_FAIL;

  DXDIAG_INIT_PARAMS params{};
  params.dwSize = sizeof params;
  params.dwDxDiagHeaderVersion = DXDIAG_DX9_SDK_VERSION;
  params.bAllowWHQLChecks = FALSE;
  params.pReserved = nullptr;
  if (FAILED(provider->Initialize(&params))) return E_FAIL;

  ComPtr<IDxDiagContainer> root;
  ComPtr<IDxDiagContainer> systemInfo;
  if (FAILED(provider->GetRootContainer(root.Out())) || !root) return E_FAIL;
  if (FAILED(root->GetChildContainer(L"DxDiag_SystemInfo", systemInfo.Out())) || !systemInfo) return E_FAIL;

  DWORD major = 0;
  DWORD minor = 0;
  TCHAR letter = ' ';
  const bool gotMajor = ReadDWordProp(systemInfo.Get(), L"dwDirectXVersionMajor", &major);
  const bool gotMinor = ReadDWordProp(systemInfo.Get(), L"dwDirectXVersionMinor", &minor);
  const bool gotLetter = ReadLetterProp(systemInfo.Get(), L"szDirectXVersionLetter", &letter);
  if (gotMajor) *pdwDirectXVersionMajor = major;
  if (gotMinor) *pdwDirectXVersionMinor = minor;
  if (gotLetter) *pcDirectXVersionLetter = letter;
  return gotMajor && gotMinor && gotLetter ? S_OK : E_FAIL;
}

namespace pictavo::shell {

void ProbeDirectXFiles(const DirectXFileVersionReader& readVersion, DWORD* pdwMajor, DWORD* pdwMinor,
                       TCHAR* pcLetter) {
  DWORD major = 0;
  DWORD minor = 0;
  char letter = ' ';
  for (const FileRow& row : kFileRows) {
    ULARGE_INTEGER version{};
    if (!readVersion(row.file, &version)) continue;
    const bool useSecond = row.threshold5.QuadPart != 0 && FileMajor(version) == 5;
    if (CompareFileVersions(version, useSecond ? row.threshold5 : row.threshold) < 0) continue;
    major = row.major;
    minor = row.minor;
    letter = row.letter;
  }
  // Any d3d9.dll with version information means DirectX 9, whatever the older files say.
  ULARGE_INTEGER version{};
  if (readVersion("d3d9.dll", &version)) {
    major = 9;
    minor = 0;
    letter = ' ';
  }
  if (pdwMajor) *pdwMajor = major;
  if (pdwMinor) *pdwMinor = minor;
  if (pcLetter) *pcLetter = letter;
}

}  // namespace pictavo::shell

HRESULT ProbeDirectXFileVersions(DWORD* pdwDirectXVersionMajor, DWORD* pdwDirectXVersionMinor,
                                 TCHAR* pcDirectXVersionLetter) {
  char systemDir[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(systemDir, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    if (pdwDirectXVersionMajor) *pdwDirectXVersionMajor = 0;
    if (pdwDirectXVersionMinor) *pdwDirectXVersionMinor = 0;
    if (pcDirectXVersionLetter) *pcDirectXVersionLetter = ' ';
    return S_OK;
  }
  const std::string folder = std::string(systemDir) + '/';
  pictavo::shell::ProbeDirectXFiles(
      [&folder](const char* file, ULARGE_INTEGER* version) {
        return SUCCEEDED(ReadFileVersion((folder + file).c_str(), version));
      },
      pdwDirectXVersionMajor, pdwDirectXVersionMinor, pcDirectXVersionLetter);
  return S_OK;
}

HRESULT GetDirectXVersion(DWORD* pdwDirectXVersion, TCHAR* strDirectXVersion, int cchDirectXVersion) {
  if (pdwDirectXVersion) *pdwDirectXVersion = 0;
  if (strDirectXVersion && cchDirectXVersion > 0) strDirectXVersion[0] = '\0';

  DWORD major = 0;
  DWORD minor = 0;
  TCHAR letter = ' ';
  bool found = SUCCEEDED(QueryDxDiagVersion(&major, &minor, &letter));
  if (!found) {
    major = 0;
    minor = 0;
    letter = ' ';
    found = SUCCEEDED(ProbeDirectXFileVersions(&major, &minor, &letter));
  }
  // This platform has no DirectX: no diagnostic service is registered and the system folder
  // holds no DirectX files. Previews and output draw their frames through the program's own
  // renderer, which does all the program needed DirectX 9.0c for, so the system counts as a
  // ready 9.0c one. Where a diagnostic service exists, its answer or the files decide as usual.
  if (major == 0 && !pictavo::com::IsClassRegistered(CLSID_DxDiagProvider)) {
    major = (DIRECTX_VERSION_FRAME_PATH >> 16) & 0xFF;
    minor = (DIRECTX_VERSION_FRAME_PATH >> 8) & 0xFF;
    letter = static_cast<TCHAR>('a' + (DIRECTX_VERSION_FRAME_PATH & 0xFF) - 1);
    found = true;
  }
  if (!found) return E_FAIL;

  letter = static_cast<TCHAR>(std::tolower(static_cast<unsigned char>(letter)));
  const bool hasLetter = letter >= 'a' && letter <= 'z';
  if (pdwDirectXVersion)
    *pdwDirectXVersion = ((major & 0xFF) << 16) | ((minor & 0xFF) << 8) | (hasLetter ? letter - 'a' + 1 : 0);
  if (strDirectXVersion && cchDirectXVersion > 0) {
    if (hasLetter)
      std::snprintf(strDirectXVersion, cchDirectXVersion, "%d.%d%c", static_cast<int>(major),
                    static_cast<int>(minor), letter);
    else
      std::snprintf(strDirectXVersion, cchDirectXVersion, "%d.%d", static_cast<int>(major),
                    static_cast<int>(minor));
  }
  return S_OK;
}

HRESULT ReadFileVersion(const TCHAR* szPath, ULARGE_INTEGER* pllFileVersion) {
  if (szPath == nullptr || pllFileVersion == nullptr) return E_INVALIDARG;
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(szPath, &handle);
  if (size == 0) return E_FAIL;
  std::vector<BYTE> block;
  try {
    block.resize(size);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (!GetFileVersionInfoA(szPath, handle, size, block.data())) return E_FAIL;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<LPVOID*>(&info), &length) || info == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO))
    return E_FAIL;
  pllFileVersion->u.HighPart = info->dwFileVersionMS;
  pllFileVersion->u.LowPart = info->dwFileVersionLS;
  return S_OK;
}

int CompareFileVersions(ULARGE_INTEGER llFileVersion1, ULARGE_INTEGER llFileVersion2) {
  if (llFileVersion1.u.HighPart != llFileVersion2.u.HighPart)
    return llFileVersion1.u.HighPart > llFileVersion2.u.HighPart ? 1 : -1;
  if (llFileVersion1.u.LowPart != llFileVersion2.u.LowPart)
    return llFileVersion1.u.LowPart > llFileVersion2.u.LowPart ? 1 : -1;
  return 0;
}

ULARGE_INTEGER PackFileVersion(WORD wMajor, WORD wMinor, WORD wBuild, WORD wRevision) {
  ULARGE_INTEGER version{};
  version.QuadPart = (ULONGLONG{wMajor} << 48) | (ULONGLONG{wMinor} << 32) | (ULONGLONG{wBuild} << 16) |
                     ULONGLONG{wRevision};
  return version;
}
