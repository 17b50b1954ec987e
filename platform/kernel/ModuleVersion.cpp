#include "platform/kernel/ModuleVersion.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"

namespace {

constexpr DWORD kBlockMagic = 0x52455650;   // "PVER"
constexpr DWORD kTranslation = 0x04B00409;  // US English, Unicode code page 1200
constexpr std::string_view kStringTable = "040904b0";

struct BlockHeader {
  DWORD magic;
  DWORD size;
};
constexpr size_t kFixedOffset = sizeof(BlockHeader);
constexpr size_t kTranslationOffset = kFixedOffset + sizeof(VS_FIXEDFILEINFO);
constexpr size_t kStringsOffset = kTranslationOffset + sizeof(DWORD);

std::string RealPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string out(real);
  std::free(real);
  return out;
}

bool IsElf(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char magic[4] = {};
  const bool elf = ::read(fd, magic, sizeof magic) == 4 && std::memcmp(magic,
                                                                       "\x7f"
                                                                       "ELF",
                                                                       4) == 0;
  ::close(fd);
  return elf;
}

// VFT_APP or VFT_DLL for the program's own files; nullopt (with the last error set) otherwise.
std::optional<DWORD> OwnFileType(LPCSTR fileName, std::string& real) {
  if (fileName == nullptr || *fileName == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  const std::string native = pictavo::path::ResolveDataPath(fileName);
  if (::access(native.c_str(), F_OK) != 0) {
    SetLastError(pictavo::kernel::FileErrorFromErrno(errno, native));
    return std::nullopt;
  }
  real = RealPath(native);
  const std::string exe = RealPath(pictavo::ExecutablePath());
  if (!real.empty() && real == exe) return VFT_APP;
  const std::string folder = RealPath(pictavo::ExecutableFolder());
  if (!real.empty() && !folder.empty() && real.compare(0, folder.size() + 1, folder + "/") == 0 &&
      IsElf(real))
    return VFT_DLL;
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return std::nullopt;
}

std::vector<uint8_t> BuildBlock(DWORD fileType, const std::string& real) {
  const auto& v = pictavo::kProgramVersion;
  VS_FIXEDFILEINFO fixed{};
  fixed.dwSignature = VS_FFI_SIGNATURE;
  fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
  fixed.dwFileVersionMS = (DWORD{v.major} << 16) | v.minor;
  fixed.dwFileVersionLS = (DWORD{v.build} << 16) | v.revision;
  fixed.dwProductVersionMS = fixed.dwFileVersionMS;
  fixed.dwProductVersionLS = fixed.dwFileVersionLS;
  fixed.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
  fixed.dwFileOS = VOS_NT_WINDOWS32;
  fixed.dwFileType = fileType;

  char version[64];
  std::snprintf(version, sizeof version, "%u.%u.%u.%u", v.major, v.minor, v.build, v.revision);
  const std::string title(pictavo::path::FileTitle(real));
  const std::pair<std::string, std::string> strings[] = {
      {"FileVersion", version},   {"ProductVersion", version},
      {"ProductName", "Pictavo"}, {"FileDescription", fileType == VFT_APP ? std::string("Pictavo") : title},
      {"InternalName", title},    {"OriginalFilename", std::string(pictavo::path::FileName(real))},
  };

  std::vector<uint8_t> block(kStringsOffset);
  std::memcpy(block.data() + kFixedOffset, &fixed, sizeof fixed);
  std::memcpy(block.data() + kTranslationOffset, &kTranslation, sizeof kTranslation);
  for (const auto& [name, value] : strings) {
    block.insert(block.end(), name.begin(), name.end());
    block.push_back(0);
    block.insert(block.end(), value.begin(), value.end());
    block.push_back(0);
  }
  block.push_back(0);
  const BlockHeader header{kBlockMagic, static_cast<DWORD>(block.size())};
  std::memcpy(block.data(), &header, sizeof header);
  return block;
}

BOOL NotFound(LPVOID* buffer, LPUINT length) {
  if (buffer != nullptr) *buffer = nullptr;
  if (length != nullptr) *length = 0;
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return FALSE;
}

// The sub-block path split at `\` or `/`, empty parts dropped.
std::vector<std::string_view> SubBlockParts(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (pos <= text.size()) {
    const size_t end = std::min(text.find_first_of("/\\", pos), text.size());
    if (end > pos) parts.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

}  // namespace

DWORD GetFileVersionInfoSize(LPCSTR fileName, LPDWORD handle) {
  if (handle != nullptr) *handle = 0;
  std::string real;
  const auto type = OwnFileType(fileName, real);
  if (!type) return 0;
  return static_cast<DWORD>(BuildBlock(*type, real).size());
}

BOOL GetFileVersionInfo(LPCSTR fileName, DWORD, DWORD size, LPVOID data) {
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string real;
  const auto type = OwnFileType(fileName, real);
  if (!type) return FALSE;
  const std::vector<uint8_t> block = BuildBlock(*type, real);
  if (size < block.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(data, block.data(), block.size());
  return TRUE;
}

BOOL VerQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, LPUINT length) {
  using pictavo::unicode::EqualsNoCase;
  if (block == nullptr || subBlock == nullptr || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto* bytes = static_cast<uint8_t*>(const_cast<void*>(block));
  BlockHeader header;
  std::memcpy(&header, bytes, sizeof header);
  if (header.magic != kBlockMagic || header.size < kStringsOffset + 1) return NotFound(buffer, length);

  const std::vector<std::string_view> parts = SubBlockParts(subBlock);
  if (parts.empty()) {
    *buffer = bytes + kFixedOffset;
    if (length != nullptr) *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
  }
  if (parts.size() == 2 && EqualsNoCase(parts[0], "VarFileInfo") && EqualsNoCase(parts[1], "Translation")) {
    *buffer = bytes + kTranslationOffset;
    if (length != nullptr) *length = sizeof(DWORD);
    return TRUE;
  }
  if (parts.size() != 3 || !EqualsNoCase(parts[0], "StringFileInfo") || !EqualsNoCase(parts[1], kStringTable))
    return NotFound(buffer, length);
  size_t pos = kStringsOffset;
  while (pos < header.size && bytes[pos] != 0) {
    const char* name = reinterpret_cast<const char*>(bytes + pos);
    const size_t nameLength = std::strlen(name);
    char* value = reinterpret_cast<char*>(bytes + pos + nameLength + 1);
    const size_t valueLength = std::strlen(value);
    if (EqualsNoCase(std::string_view(name, nameLength), parts[2])) {
      *buffer = value;
      if (length != nullptr) *length = static_cast<UINT>(valueLength + 1);
      return TRUE;
    }
    pos += nameLength + 1 + valueLength + 1;
  }
  return NotFound(buffer, length);
}
