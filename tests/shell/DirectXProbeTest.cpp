// The DirectX probe: file-version arithmetic, the system-file table, the diagnostic service's
// answer, and what this platform reports without any DirectX.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/com/Com.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/ModuleVersion.h"
#include "shell/DirectXProbe.h"

namespace {

ULARGE_INTEGER V(WORD a, WORD b, WORD c, WORD d) {
  return PackFileVersion(a, b, c, d);
}

TEST(FileVersions, PackPutsEachPartInItsSixteenBits) {
  struct Case {
    WORD major, minor, build, revision;
    ULONGLONG packed;
  };
  const Case cases[] = {
      {4, 8, 1, 901, 0x0004000800010385ull},
      {5, 1, 2600, 881, 0x000500010A280371ull},
      {0xFFFF, 0, 0, 0xFFFF, 0xFFFF00000000FFFFull},
      {0, 0, 0, 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PackFileVersion(c.major, c.minor, c.build, c.revision).QuadPart, c.packed)
        << c.major << "." << c.minor << "." << c.build << "." << c.revision;
}

TEST(FileVersions, CompareIsUnsignedHighHalfFirst) {
  struct Case {
    ULARGE_INTEGER one, two;
    int result;
  };
  const Case cases[] = {
      {V(4, 8, 1, 901), V(4, 8, 1, 901), 0},
      {V(4, 8, 1, 901), V(4, 8, 1, 881), 1},
      {V(4, 8, 0, 400), V(4, 8, 1, 0), -1},
      {V(5, 0, 0, 0), V(4, 0xFFFF, 0xFFFF, 0xFFFF), 1},  // the major version outweighs the rest
      {V(0x8000, 0, 0, 0), V(0x7FFF, 0, 0, 0), 1},       // a set top bit is not negative
      {V(1, 0, 0x8000, 0), V(1, 0, 0x7FFF, 0), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareFileVersions(c.one, c.two), c.result)
        << std::hex << c.one.QuadPart << " " << c.two.QuadPart;
    EXPECT_EQ(CompareFileVersions(c.two, c.one), -c.result) << std::hex << c.one.QuadPart;
  }
}

TEST(FileVersions, ReadsTheExecutablesVersion) {
  ULARGE_INTEGER version{};
  ASSERT_EQ(ReadFileVersion(pictavo::ExecutablePath().c_str(), &version), S_OK);
  const auto& v = pictavo::kProgramVersion;
  EXPECT_EQ(version.QuadPart, PackFileVersion(v.major, v.minor, v.build, v.revision).QuadPart);
}

TEST(FileVersions, ReadRefusesBadArgumentsAndFilesWithoutVersion) {
  ULARGE_INTEGER version{};
  EXPECT_EQ(ReadFileVersion(nullptr, &version), E_INVALIDARG);
  EXPECT_EQ(ReadFileVersion(pictavo::ExecutablePath().c_str(), nullptr), E_INVALIDARG);
  EXPECT_EQ(ReadFileVersion("/nonexistent/ddraw.dll", &version), E_FAIL);
  const std::string source = std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/CMakeLists.txt";
  EXPECT_EQ(ReadFileVersion(source.c_str(), &version), E_FAIL);
}

// The system-file table over a made-up system folder.
TEST(DirectXFiles, TableGivesTheNewestQualifyingRow) {
  struct Case {
    std::map<std::string, ULARGE_INTEGER> files;
    DWORD major, minor;
    char letter;
  };
  const Case cases[] = {
      {{}, 0, 0, ' '},
      {{{"ddraw.dll", V(4, 2, 0, 94)}}, 0, 0, ' '},  // just below the first threshold
      {{{"ddraw.dll", V(4, 2, 0, 95)}}, 1, 0, ' '},
      {{{"ddraw.dll", V(4, 6, 0, 436)}}, 6, 1, ' '},
      {{{"ddraw.dll", V(4, 6, 0, 436)}, {"dplayx.dll", V(4, 6, 3, 518)}}, 6, 1, 'a'},
      {{{"ddraw.dll", V(4, 7, 0, 700)}, {"dinput.dll", V(4, 7, 0, 716)}}, 7, 0, 'a'},
      // Two-threshold rows: a major version 5 file is held to the second threshold.
      {{{"ddraw.dll", V(5, 1, 2258, 400)}}, 8, 0, ' '},
      {{{"ddraw.dll", V(5, 1, 2258, 399)}}, 7, 0, ' '},
      {{{"ddraw.dll", V(5, 1, 2600, 0)}, {"d3d8.dll", V(5, 1, 2600, 901)}}, 8, 1, 'a'},
      {{{"ddraw.dll", V(4, 8, 0, 400)}, {"d3d8.dll", V(4, 8, 1, 881)}}, 8, 1, ' '},
      {{{"ddraw.dll", V(4, 8, 0, 400)}, {"d3d8.dll", V(4, 8, 1, 901)}, {"mpg2splt.ax", V(6, 3, 1, 885)}},
       8,
       1,
       'b'},
      {{{"ddraw.dll", V(5, 1, 2600, 0)}, {"dpnet.dll", V(5, 2, 3677, 134)}}, 8, 2, ' '},
      // A later row overrides an earlier one, even a file that alone would say less.
      {{{"d3drg8x.dll", V(4, 4, 0, 70)}, {"ddraw.dll", V(4, 4, 0, 68)}}, 3, 0, 'a'},
      // Any d3d9.dll with a version means 9.0.
      {{{"ddraw.dll", V(4, 2, 0, 95)}, {"d3d9.dll", V(0, 0, 0, 1)}}, 9, 0, ' '},
      {{{"d3d9.dll", V(5, 3, 0, 0)}}, 9, 0, ' '},
  };
  for (const auto& c : cases) {
    DWORD major = 99, minor = 99;
    TCHAR letter = '?';
    pictavo::shell::ProbeDirectXFiles(
        [&c](const char* name, ULARGE_INTEGER* version) {
          auto it = c.files.find(name);
          if (it == c.files.end()) return false;
          *version = it->second;
          return true;
        },
        &major, &minor, &letter);
    EXPECT_EQ(major, c.major) << c.files.size() << " files";
    EXPECT_EQ(minor, c.minor) << c.files.size() << " files";
    EXPECT_EQ(letter, c.letter) << c.files.size() << " files";
  }
}

// A diagnostic service that answers with fixed properties.
struct DxDiagAnswer {
  HRESULT initialize = S_OK;
  VARIANT major{}, minor{}, letter{};
};

class FakeContainer : public pictavo::com::Object<IDxDiagContainer> {
 public:
  FakeContainer(const DxDiagAnswer* answer, bool root) : m_answer(answer), m_root(root) {}
  STDMETHODIMP GetNumberOfChildContainers(DWORD* count) override {
    *count = m_root ? 1 : 0;
    return S_OK;
  }
  STDMETHODIMP EnumChildContainerNames(DWORD, LPWSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetChildContainer(LPCWSTR name, IDxDiagContainer** child) override {
    *child = nullptr;
    if (!m_root || std::wstring(name) != L"DxDiag_SystemInfo") return E_INVALIDARG;
    *child = new FakeContainer(m_answer, false);
    return S_OK;
  }
  STDMETHODIMP GetNumberOfProps(DWORD* count) override {
    *count = m_root ? 0 : 3;
    return S_OK;
  }
  STDMETHODIMP EnumPropNames(DWORD, LPWSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetProp(LPCWSTR name, VARIANT* value) override {
    const std::wstring n(name);
    const VARIANT* source = n == L"dwDirectXVersionMajor"    ? &m_answer->major
                            : n == L"dwDirectXVersionMinor"  ? &m_answer->minor
                            : n == L"szDirectXVersionLetter" ? &m_answer->letter
                                                             : nullptr;
    if (m_root || source == nullptr || source->vt == VT_EMPTY) return E_INVALIDARG;
    *value = *source;
    if (source->vt == VT_BSTR) value->bstrVal = SysAllocString(source->bstrVal);
    return S_OK;
  }

 private:
  const DxDiagAnswer* m_answer;
  bool m_root;
};

class FakeProvider : public pictavo::com::Object<IDxDiagProvider> {
 public:
  explicit FakeProvider(const DxDiagAnswer* answer) : m_answer(answer) {}
  STDMETHODIMP Initialize(DXDIAG_INIT_PARAMS* params) override {
    if (params == nullptr || params->dwSize != sizeof(DXDIAG_INIT_PARAMS) ||
        params->dwDxDiagHeaderVersion != DXDIAG_DX9_SDK_VERSION || params->bAllowWHQLChecks)
      return E_INVALIDARG;
    if (FAILED(m_answer->initialize)) return m_answer->initialize;
    m_initialized = true;
    return S_OK;
  }
  STDMETHODIMP GetRootContainer(IDxDiagContainer** root) override {
    *root = nullptr;
    if (!m_initialized) return E_FAIL;
    *root = new FakeContainer(m_answer, true);
    return S_OK;
  }

 private:
  const DxDiagAnswer* m_answer;
  bool m_initialized = false;
};

class InstalledDxDiag {
 public:
  explicit InstalledDxDiag(const DxDiagAnswer& answer)
      : m_answer(answer), m_registration(CLSID_DxDiagProvider, [this](REFIID iid, void** out) {
          return pictavo::com::CreateInstance<FakeProvider>(iid, out, &m_answer);
        }) {}

 private:
  DxDiagAnswer m_answer;
  pictavo::com::ClassRegistration m_registration;
};

VARIANT UI4(ULONG value) {
  VARIANT v{};
  v.vt = VT_UI4;
  v.ulVal = value;
  return v;
}
VARIANT Text(const wchar_t* text) {  // a few bytes the test never frees
  VARIANT v{};
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}
VARIANT I4(LONG value) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

TEST(DirectXVersion, DiagnosticServiceAnswerIsPackedAndFormatted) {
  struct Case {
    DxDiagAnswer answer;
    HRESULT query;
    DWORD packed;
    const char* text;
  };
  const Case cases[] = {
      {{S_OK, UI4(9), UI4(0), Text(L"c")}, S_OK, 0x00090003, "9.0c"},
      {{S_OK, UI4(9), UI4(0), Text(L"C")}, S_OK, 0x00090003, "9.0c"},  // the letter is lower-cased
      {{S_OK, UI4(8), UI4(1), Text(L" ")}, S_OK, 0x00080100, "8.1"},
      // A service that fails or answers with the wrong types leaves the system files to decide;
      // the system folder has none here, and a present service means they are believed.
      {{E_FAIL, UI4(9), UI4(0), Text(L"c")}, E_FAIL, 0, "0.0"},
      {{S_OK, UI4(9), UI4(0), I4(3)}, E_FAIL, 0, "0.0"},
      {{S_OK, I4(9), UI4(0), Text(L"c")}, E_FAIL, 0, "0.0"},
      {{S_OK, UI4(9), VARIANT{}, Text(L"c")}, E_FAIL, 0, "0.0"},
  };
  for (const auto& c : cases) {
    InstalledDxDiag service(c.answer);
    DWORD major = 0, minor = 0;
    TCHAR letter = 0;
    EXPECT_EQ(QueryDxDiagVersion(&major, &minor, &letter), c.query) << c.text;

    DWORD version = 0xDEADBEEF;
    char text[10] = "garbage";
    EXPECT_EQ(GetDirectXVersion(&version, text, sizeof text), S_OK) << c.text;
    EXPECT_EQ(version, c.packed) << c.text;
    EXPECT_STREQ(text, c.text);
  }
}

TEST(DirectXVersion, WithoutAnyDirectXTheFramePathCountsAsReady) {
  ASSERT_FALSE(pictavo::com::IsClassRegistered(CLSID_DxDiagProvider));
  DWORD major = 0, minor = 0;
  TCHAR letter = 0;
  EXPECT_EQ(QueryDxDiagVersion(&major, &minor, &letter), E_FAIL);

  DWORD version = 0;
  char text[10] = {};
  ASSERT_EQ(GetDirectXVersion(&version, text, sizeof text), S_OK);
  EXPECT_EQ(version, 0x00090003u);
  EXPECT_STREQ(text, "9.0c");
  EXPECT_GE(version, 0x00090000u);  // what the environment check asks of a ready system
}

TEST(DirectXVersion, OutputsAreOptionalAndTheTextIsCutToTheBuffer) {
  DWORD version = 0;
  EXPECT_EQ(GetDirectXVersion(&version, nullptr, 0), S_OK);
  EXPECT_EQ(version, 0x00090003u);

  char text[4] = "xyz";
  EXPECT_EQ(GetDirectXVersion(nullptr, text, 3), S_OK);
  EXPECT_STREQ(text, "9.");
  EXPECT_EQ(text[3], '\0');
}

}  // namespace
