// Language and ini files: the current language file read through the lookups the windows use, and
// the same file walked whole through the profile functions every ini reader uses.
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/kernel/Ini.h"
#include "shell/LanguageFile.h"

namespace {

// The NUL-separated names of a section list or key list.
std::vector<std::string> Names(const std::vector<char>& buffer, DWORD length) {
  std::vector<std::string> names;
  for (DWORD i = 0; i < length;) {
    const std::string name(&buffer[i]);
    if (name.empty()) break;
    names.push_back(name);
    i += static_cast<DWORD>(name.size()) + 1;
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = pictavo::fuzz::WriteInput("Lang/lang_eng.ini", {data, size});
  pictavo::shell::SetLanguageRoot(pictavo::fuzz::Scratch());

  (void)LoadLangString(101);
  (void)ReadLangValue("DIALOG_IDD_102", "title");
  (void)ReadLangValue("MENU", "32771p");
  (void)TranslateDictionaryWord("Open");
  CStringArray items;
  SplitBracketList(ReadLangValue("STRING", "1000"), items);
  (void)GetSkinFileName();

  std::vector<char> buffer(4096);
  const DWORD sectionsLength = GetPrivateProfileString(nullptr, nullptr, "", buffer.data(),
                                                       static_cast<DWORD>(buffer.size()), path.c_str());
  pictavo::fuzz::Check(sectionsLength < buffer.size(), "a section list longer than its buffer");
  for (const std::string& section : Names(buffer, sectionsLength)) {
    std::vector<char> keys(4096);
    const DWORD keysLength = GetPrivateProfileString(section.c_str(), nullptr, "", keys.data(),
                                                     static_cast<DWORD>(keys.size()), path.c_str());
    pictavo::fuzz::Check(keysLength < keys.size(), "a key list longer than its buffer");
    for (const std::string& key : Names(keys, keysLength)) {
      char value[64];
      const DWORD length =
          GetPrivateProfileString(section.c_str(), key.c_str(), "", value, sizeof value, path.c_str());
      pictavo::fuzz::Check(length < sizeof value && value[length] == '\0', "a value longer than its buffer");
      (void)GetPrivateProfileInt(section.c_str(), key.c_str(), -1, path.c_str());
      SplitBracketList(ReadLangValue(section.c_str(), key.c_str()), items);
    }
  }
  return 0;
}
