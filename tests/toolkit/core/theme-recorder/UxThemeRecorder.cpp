// A visual-styles module for tests: every theme class opens (unless a test closed it for
// good with SetClosedThemeClasses), and every drawing call is recorded as one line
// "CLASS part state" so that tests can check which part and state each themed slot asks for.
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;
std::wstring g_closed;  // ";CLASS;CLASS;"
std::string g_text;

struct Theme {
  std::string name;
};

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text != 0; ++text) out.push_back(static_cast<char>(*text));
  return out;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void* OpenThemeData(void*, const wchar_t* classes) {
  if (g_closed.find(L";" + std::wstring(classes) + L";") != std::wstring::npos) return nullptr;
  return new Theme{Narrow(classes)};
}

__attribute__((visibility("default"))) int32_t CloseThemeData(void* theme) {
  delete static_cast<Theme*>(theme);
  return 0;
}

__attribute__((visibility("default"))) int32_t DrawThemeBackground(void* theme, void*, int part, int state,
                                                                   const int32_t*, const int32_t*) {
  g_calls.push_back(static_cast<Theme*>(theme)->name + " " + std::to_string(part) + " " +
                    std::to_string(state));
  return 0;
}

__attribute__((visibility("default"))) int32_t GetThemeColor(void* theme, int part, int state, int prop,
                                                             uint32_t* color) {
  g_calls.push_back("color " + static_cast<Theme*>(theme)->name + " " + std::to_string(part) + " " +
                    std::to_string(state) + " " + std::to_string(prop));
  *color = 0x00123456;
  return 0;
}

__attribute__((visibility("default"))) uint32_t GetThemeSysColor(void*, int) {
  return 0;
}

__attribute__((visibility("default"))) int32_t GetCurrentThemeName(wchar_t* file, int, wchar_t* color, int,
                                                                   wchar_t*, int) {
  std::wcscpy(file, L"C:\\Themes\\Luna.msstyles");
  std::wcscpy(color, L"HomeStead");
  return 0;
}

__attribute__((visibility("default"))) void* GetWindowTheme(void*) {
  return nullptr;
}

__attribute__((visibility("default"))) int IsAppThemed() {
  return 1;
}

// The calls since the last reset, one a line.
__attribute__((visibility("default"))) const char* RecordedThemeCalls() {
  g_text.clear();
  for (const std::string& call : g_calls) g_text += call + "\n";
  return g_text.c_str();
}

__attribute__((visibility("default"))) void ResetThemeCalls() {
  g_calls.clear();
}

// Classes that will not open from now on, as ";CLASS;CLASS;".
__attribute__((visibility("default"))) void SetClosedThemeClasses(const wchar_t* classes) {
  g_closed = classes;
}
}
