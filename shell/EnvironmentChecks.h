// What the main window finds out about the system after start-up (DirectX, the Flash control,
// the Windows service pack) and what other windows later ask of it, plus the language files
// listed in View > Language and the translators' credits made from them.
#pragma once

#include <string>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// DirectX 9.0 or later is present (1 until the check says otherwise).
extern int g_bDirectXReady;
// What IsDirectXReady shows when it is not.
extern CString g_strDirectXMessage;
// 0 on Windows 2000, 1 on Windows XP; -1 on any other system, which needs no media-player warning.
extern int g_nOsMinorVersion;
extern int g_nServicePack;

// TRUE when DirectX is ready; otherwise shows why and returns FALSE. Asked before a preview or an
// output starts.
BOOL IsDirectXReady();
// Shows the media-player warning where the system needs one (Windows 2000 before service pack 4,
// XP before 2); asked when a ".wma" music file could not be added.
void WarnIfMediaPlayerMissing();
// The warning WarnIfMediaPlayerMissing shows, or "" when none is due.
CString MediaPlayerWarning(int nOsMinorVersion, int nServicePack);

// The installed Flash control's packed version (0x90000 for 9.0); 0 when there is none, which on
// this platform is always.
DWORD GetFlashOCXVersion();

// The DirectX probe's outcome in words: "Unknown version of DirectX installed" (result < 0),
// "DirectX <text> is running", or "DirectX not installed"; *pbReady whether it is 9.0 or later.
CString DescribeDirectX(HRESULT hResult, DWORD dwVersion, LPCTSTR lpszVersion, BOOL* pbReady);
// The service pack a version's service-pack text names ("Service Pack 2" gives 2); 0 for none.
int ServicePackFromText(CString strCSDVersion);
// The number of the system-language key of the lookup file: "0x%04X".
CString LanguageLookupKey(LANGID langId);

// One language file of View > Language: command 48000 + its index.
struct LanguageFileEntry {
  int nCommandID = 0;
  CString strFileName;  // lower case, without folder ("lang_eng.ini")
  CString strDisplayName;
};
#define ID_LANGUAGE_FIRST 48000u
// Language files past this many are not listed (the ids above are free for others).
#define ID_LANGUAGE_LAST 48999u
// The language files listed now, in menu order; UI thread only.
std::vector<LanguageFileEntry>& GetLanguageFiles();
// The language files of the folder (lang_???.ini, names without regard to case) that name
// their language, in the order the folder lists them; their ids from ID_LANGUAGE_FIRST.
std::vector<LanguageFileEntry> FindLanguageFiles(const CString& strLangFolder);
// The translators' list: per file, "<language> translation version <version> : <translator>"
// and an empty line, after a first line break.
CString TranslatorCreditsText(const CString& strLangFolder, const std::vector<LanguageFileEntry>& files);
