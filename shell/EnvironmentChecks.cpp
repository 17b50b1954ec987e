#include "shell/EnvironmentChecks.h"

#include <cstdlib>

#include "platform/kernel/FileFind.h"
#include "platform/kernel/Ini.h"
#include "platform/kernel/Path.h"
#include "platform/mfc/Afx.h"

int g_bDirectXReady = 1;
CString g_strDirectXMessage;
int g_nOsMinorVersion = -1;
int g_nServicePack = 0;

BOOL IsDirectXReady() {
  if (g_bDirectXReady) return TRUE;
  AfxMessageBox(g_strDirectXMessage, MB_OK);
  return FALSE;
}

CString MediaPlayerWarning(int nOsMinorVersion, int nServicePack) {
  if (nOsMinorVersion == 1 && nServicePack < 2)
    return "You are running Windows XP. Service pack 2 and Windows Media Player 9 or above need to be "
           "installed to render this media file correctly!";
  if (nOsMinorVersion == 0 && nServicePack < 4)
    return "You are running Windows 2000. Service pack 4 and Windows Media Player 9 or above need to be "
           "installed to render this media file correctly!";
  return "";
}

void WarnIfMediaPlayerMissing() {
  const CString warning = MediaPlayerWarning(g_nOsMinorVersion, g_nServicePack);
  if (!warning.IsEmpty()) AfxMessageBox(warning, MB_OK);
}

DWORD GetFlashOCXVersion() {
  return 0;
}

CString DescribeDirectX(HRESULT hResult, DWORD dwVersion, LPCTSTR lpszVersion, BOOL* pbReady) {
  CString description;
  BOOL ready = FALSE;
  if (hResult < 0) {
    description = "Unknown version of DirectX installed";
  } else if (dwVersion != 0) {
    description.Format("DirectX %s is running", lpszVersion != nullptr ? lpszVersion : "");
    ready = dwVersion >= 0x90000u;
  } else {
    description = "DirectX not installed";
  }
  // The description was kept in a buffer of 128 bytes.
  if (description.GetLength() > 127) description = description.Left(127);
  if (pbReady != nullptr) *pbReady = ready;
  return description;
}

int ServicePackFromText(CString strCSDVersion) {
  strCSDVersion.MakeLower();
  if (strCSDVersion.Find("service pack") < 0 || strCSDVersion.GetLength() <= 13) return 0;
  return std::atoi(strCSDVersion.Right(strCSDVersion.GetLength() - 13));
}

CString LanguageLookupKey(LANGID langId) {
  CString key;
  key.Format("0x%04X", static_cast<unsigned>(langId));
  return key;
}

std::vector<LanguageFileEntry>& GetLanguageFiles() {
  static std::vector<LanguageFileEntry> files;
  return files;
}

std::vector<LanguageFileEntry> FindLanguageFiles(const CString& strLangFolder) {
  std::vector<LanguageFileEntry> files;
  CFileFind finder;
  const CString folder(pictavo::path::ResolveDataPath(strLangFolder.View()));
  BOOL more = finder.FindFile(folder + "/lang_???.ini");
  while (more) {
    more = finder.FindNextFile();
    char name[1024] = {};
    GetPrivateProfileString("General", "Language", "", name, sizeof name, finder.GetFilePath());
    if (name[0] == '\0') continue;
    const UINT id = ID_LANGUAGE_FIRST + static_cast<UINT>(files.size());
    if (id > ID_LANGUAGE_LAST) break;
    CString file = finder.GetFileName();
    file.MakeLower();
    files.push_back(LanguageFileEntry{static_cast<int>(id), file, name});
  }
  return files;
}

CString TranslatorCreditsText(const CString& strLangFolder, const std::vector<LanguageFileEntry>& files) {
  CString text = "\r\n";
  const CString folder(pictavo::path::ResolveDataPath(strLangFolder.View()));
  for (const LanguageFileEntry& entry : files) {
    const CString path(pictavo::path::ResolveNoCase((folder + "/" + entry.strFileName).View()));
    const auto read = [&](LPCTSTR key) {
      char value[8192] = {};
      GetPrivateProfileString("General", key, "", value, sizeof value, path);
      return CString(value);
    };
    text += read("language");
    text += " translation version ";
    text += read("version");
    text += " : ";
    text += read("translator");
    text += "\r\n\r\n";
  }
  return text;
}
