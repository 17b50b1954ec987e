// The language record: which language file is in use and whether it follows the system
// language. It lives in HKEY_CURRENT_USER under a key of its own, outside the application's
// settings key. Start-up loads it before the language file is chosen; shut-down saves it.
#pragma once

#include "platform/base/CString.h"
#include "shell/SettingsStore.h"

// The key of the language record below HKEY_CURRENT_USER.
#define LANGUAGE_SETTINGS_KEY "Software\\Marvessa Professional"

class CLanguageSettings : public CSettingsRecord {
 public:
  CLanguageSettings() { SetDefaults(); }

  // A missing or unreadable value takes its default while the others are still read; a value
  // that cannot be written leaves the result false while the others are still written.
  bool Exchange(bool bContinueOnFailure, CSettingsStore& store, bool bWrite, bool bReset) override;

  // The name the fixed-language commands set ("auto" until one does).
  CString language;
  // The language file in use, a file name in the program's language folder.
  CString LangIniFile;
  // 1 while the language follows the system language.
  int LanguageAuto;

 private:
  void SetDefaults();
};

// The process-wide record; UI thread only.
extern CLanguageSettings g_languageSettings;

// Copies of the record's file name and automatic flag.
CString GetLangIniFile();
int GetLanguageAuto();
