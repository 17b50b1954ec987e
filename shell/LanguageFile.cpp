#include "shell/LanguageFile.h"

#include <mutex>
#include <vector>

#include "modules/data/DVDProject.h"
#include "platform/kernel/Ini.h"
#include "platform/kernel/Path.h"
#include "platform/res/Resources.h"
#include "shell/LanguageFileInternal.h"
#include "shell/LanguageSettings.h"

namespace {

// At most this many bytes of a value are read; longer values are cut.
constexpr DWORD kMaxValue = 8192;
// The longest string resource in bytes: 32767 characters of up to four bytes.
constexpr int kMaxStringResource = 4 * 32767 + 1;

struct LanguageRoot {
  std::mutex lock;
  std::string folder;  // guarded by lock; "" for the program's folder
};

LanguageRoot& TheLanguageRoot() {
  static LanguageRoot root;
  return root;
}

// A value cut at kMaxValue - 1 bytes may end inside a character: the partial one goes.
void DropPartialCharacter(std::string& text) {
  size_t end = text.size();
  size_t start = end;
  while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
  if (start == 0) return;
  const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
  const size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (expected > 1 && end - (start - 1) < expected) text.resize(start - 1);
}

}  // namespace

namespace pictavo::shell {
void SetLanguageRoot(std::string folder) {
  LanguageRoot& root = TheLanguageRoot();
  std::lock_guard guard(root.lock);
  root.folder = std::move(folder);
}
}  // namespace pictavo::shell

namespace langfile {

std::string ReadRaw(LPCTSTR lpszSection, LPCTSTR lpszKey) {
  std::vector<char> buffer(kMaxValue, '\0');
  const DWORD length =
      GetPrivateProfileStringA(lpszSection, lpszKey, "", buffer.data(), kMaxValue, GetLangIniFilePath());
  std::string value(buffer.data(), length);
  if (length == kMaxValue - 1) DropPartialCharacter(value);
  return value;
}

void TurnEscapes(std::string& text, bool tabs) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      if (text[i + 1] == 'n') {
        out += '\n';
        ++i;
        continue;
      }
      if (tabs && text[i + 1] == 't') {
        out += '\t';
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  text = std::move(out);
}

}  // namespace langfile

CString GetLangIniFilePath() {
  std::string folder;
  {
    LanguageRoot& root = TheLanguageRoot();
    std::lock_guard guard(root.lock);
    folder = root.folder;
  }
  if (folder.empty()) folder = CDVDProject::GetExeFilePath().Str();
  const std::string path = pictavo::path::Join(pictavo::path::Join(folder, "Lang"), GetLangIniFile().View());
  return CString(pictavo::path::ResolveNoCase(path));
}

CString ReadLangValue(LPCTSTR lpszSection, LPCTSTR lpszKey) {
  std::string value = langfile::ReadRaw(lpszSection, lpszKey);
  langfile::TurnEscapes(value, true);
  return CString(std::move(value));
}

CString LoadLangString(UINT nID) {
  CString key;
  key.Format("%u", nID);
  CString text = ReadLangValue("STRING", key);
  if (!text.IsEmpty()) return text;
  std::vector<char> buffer(kMaxStringResource, '\0');
  const int length = ::LoadStringA(nullptr, nID, buffer.data(), kMaxStringResource);
  return CString(buffer.data(), length);
}

CString TranslateDictionaryWord(LPCTSTR lpszWord) {
  if (lpszWord == nullptr || *lpszWord == '\0') return CString(lpszWord);
  const std::string value = langfile::ReadRaw("DICTIONARY", lpszWord);
  return value.empty() ? CString(lpszWord) : CString(value);
}

CString GetSkinFileName() {
  const std::string value = langfile::ReadRaw("ZEL_SKIN", "xml");
  return value.empty() ? CString("zel_en.xml") : CString(value);
}
