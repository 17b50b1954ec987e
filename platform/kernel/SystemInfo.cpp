#include "platform/kernel/SystemInfo.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/SystemBuffers.h"

namespace {

struct KernelVersion {
  DWORD major = 0, minor = 0, build = 0;
  std::string release;
};

KernelVersion RunningKernel() {
  KernelVersion version;
  utsname names;
  if (::uname(&names) != 0) return version;
  version.release = std::string(names.sysname) + " " + names.release;
  const char* p = names.release;
  DWORD* const parts[] = {&version.major, &version.minor, &version.build};
  for (DWORD* part : parts) {
    if (!std::isdigit(static_cast<unsigned char>(*p))) break;
    char* end = nullptr;
    *part = static_cast<DWORD>(std::strtoul(p, &end, 10));
    p = end;
    if (*p != '.') break;
    ++p;
  }
  return version;
}

std::mutex& EnvironmentLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

BOOL GetVersionEx(LPOSVERSIONINFO info) {
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = info->dwOSVersionInfoSize;
  if (size != sizeof(OSVERSIONINFO) && size != sizeof(OSVERSIONINFOEX)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  const KernelVersion kernel = RunningKernel();
  info->dwMajorVersion = kernel.major;
  info->dwMinorVersion = kernel.minor;
  info->dwBuildNumber = kernel.build;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  pictavo::kernel::CopyTruncated(kernel.release, sizeof info->szCSDVersion, info->szCSDVersion);
  if (size == sizeof(OSVERSIONINFOEX)) {
    auto* ex = reinterpret_cast<OSVERSIONINFOEX*>(info);
    ex->wServicePackMajor = 0;
    ex->wServicePackMinor = 0;
    ex->wSuiteMask = 0;
    ex->wProductType = VER_NT_WORKSTATION;
    ex->wReserved = 0;
  }
  return TRUE;
}

DWORD GetVersion() {
  const KernelVersion kernel = RunningKernel();
  return (kernel.major & 0xFF) | ((kernel.minor & 0xFF) << 8) | ((kernel.build & 0x7FFF) << 16);
}

UINT GetSystemDirectory(LPSTR buffer, UINT size) {
  return pictavo::kernel::CopyOrSizeNeeded("/usr/lib", size, buffer);
}

UINT GetWindowsDirectory(LPSTR buffer, UINT size) {
  return pictavo::kernel::CopyOrSizeNeeded("/usr/share", size, buffer);
}

BOOL GetComputerName(LPSTR buffer, LPDWORD size) {
  if (size == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return pictavo::FailWithErrno();
  std::string name(host);
  name = name.substr(0, std::min(name.find('.'), size_t{MAX_COMPUTERNAME_LENGTH}));
  if (buffer == nullptr || *size <= name.size()) {
    *size = static_cast<DWORD>(name.size() + 1);
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return TRUE;
}

BOOL GetUserName(LPSTR buffer, LPDWORD size) {
  if (size == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string name;
  std::vector<char> scratch(16384);
  passwd entry;
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found != nullptr)
    name = found->pw_name;
  if (name.empty()) {
    std::lock_guard lock(EnvironmentLock());
    for (const char* variable : {"USER", "LOGNAME"})
      if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
        name = value;
        break;
      }
  }
  if (name.empty()) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  if (buffer == nullptr || *size <= name.size()) {
    *size = static_cast<DWORD>(name.size() + 1);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size() + 1);
  return TRUE;
}

namespace {

struct LanguageRow {
  const char* language;
  const char* territory;  // "" for the language's default
  LANGID id;
};

// Languages first with their default, then the regional variants the platform distinguishes.
constexpr LanguageRow kLanguages[] = {
    {"en", "", 0x0409},   {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009},
    {"en", "NZ", 0x1409}, {"en", "IE", 0x1809}, {"en", "ZA", 0x1C09}, {"de", "", 0x0407},
    {"de", "CH", 0x0807}, {"de", "AT", 0x0C07}, {"de", "LU", 0x1007}, {"de", "LI", 0x1407},
    {"fr", "", 0x040C},   {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C},
    {"fr", "LU", 0x140C}, {"es", "", 0x0C0A},   {"es", "MX", 0x080A}, {"es", "AR", 0x2C0A},
    {"it", "", 0x0410},   {"it", "CH", 0x0810}, {"pt", "", 0x0816},   {"pt", "BR", 0x0416},
    {"nl", "", 0x0413},   {"nl", "BE", 0x0813}, {"ja", "", 0x0411},   {"ko", "", 0x0412},
    {"zh", "", 0x0804},   {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04}, {"zh", "SG", 0x1004},
    {"zh", "MO", 0x1404}, {"ru", "", 0x0419},   {"pl", "", 0x0415},   {"cs", "", 0x0405},
    {"sk", "", 0x041B},   {"hu", "", 0x040E},   {"sv", "", 0x041D},   {"sv", "FI", 0x081D},
    {"da", "", 0x0406},   {"nb", "", 0x0414},   {"no", "", 0x0414},   {"nn", "", 0x0814},
    {"fi", "", 0x040B},   {"tr", "", 0x041F},   {"el", "", 0x0408},   {"he", "", 0x040D},
    {"ar", "", 0x0401},   {"ar", "EG", 0x0C01}, {"th", "", 0x041E},   {"uk", "", 0x0422},
    {"ro", "", 0x0418},   {"sl", "", 0x0424},   {"hr", "", 0x041A},   {"sr", "", 0x081A},
    {"bg", "", 0x0402},   {"et", "", 0x0425},   {"lv", "", 0x0426},   {"lt", "", 0x0427},
    {"id", "", 0x0421},   {"ms", "", 0x043E},   {"vi", "", 0x042A},   {"hi", "", 0x0439},
    {"ca", "", 0x0403},   {"is", "", 0x040F},   {"fa", "", 0x0429},
};

constexpr LANGID kUsEnglish = 0x0409;

LANGID EnvironmentLangId() {
  std::string locale;
  {
    std::lock_guard lock(EnvironmentLock());
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
      if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
        locale = value;
        break;
      }
  }
  return pictavo::LangIdFromLocale(locale.c_str());
}

}  // namespace

LANGID pictavo::LangIdFromLocale(const char* locale) {
  if (locale == nullptr) return kUsEnglish;
  const std::string_view text(locale);
  const size_t languageEnd = text.find_first_of("_.@");
  std::string language(text.substr(0, languageEnd));
  for (char& c : language) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string territory;
  if (languageEnd != std::string_view::npos && text[languageEnd] == '_') {
    const std::string_view rest = text.substr(languageEnd + 1);
    territory = std::string(rest.substr(0, rest.find_first_of(".@")));
    for (char& c : territory) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  LANGID fallback = kUsEnglish;
  for (const LanguageRow& row : kLanguages) {
    if (language != row.language) continue;
    if (territory == row.territory) return row.id;
    if (row.territory[0] == '\0' && fallback == kUsEnglish) fallback = row.id;
  }
  return fallback;
}

LANGID GetSystemDefaultLangID() {
  return EnvironmentLangId();
}
LANGID GetUserDefaultLangID() {
  return EnvironmentLangId();
}
LCID GetSystemDefaultLCID() {
  return MAKELCID(EnvironmentLangId(), SORT_DEFAULT);
}
LCID GetUserDefaultLCID() {
  return MAKELCID(EnvironmentLangId(), SORT_DEFAULT);
}

DWORD GetEnvironmentVariable(LPCSTR name, LPSTR buffer, DWORD size) {
  if (name == nullptr || *name == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string value;
  {
    std::lock_guard lock(EnvironmentLock());
    const char* found = std::getenv(name);
    if (found == nullptr) {
      SetLastError(ERROR_ENVVAR_NOT_FOUND);
      return 0;
    }
    value = found;
  }
  return pictavo::kernel::CopyOrSizeNeeded(value, size, buffer);
}

BOOL SetEnvironmentVariable(LPCSTR name, LPCSTR value) {
  if (name == nullptr || *name == '\0' || std::strchr(name, '=') != nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(EnvironmentLock());
  const int result = value == nullptr ? ::unsetenv(name) : ::setenv(name, value, 1);
  return result == 0 ? TRUE : pictavo::FailWithErrno();
}
