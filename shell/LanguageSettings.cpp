#include "shell/LanguageSettings.h"

CLanguageSettings g_languageSettings;

namespace {
constexpr char kDefaultLanguage[] = "auto";
constexpr char kDefaultLangIniFile[] = "lang_eng.ini";
constexpr int kDefaultLanguageAuto = 1;
}  // namespace

void CLanguageSettings::SetDefaults() {
  language = kDefaultLanguage;
  LangIniFile = kDefaultLangIniFile;
  LanguageAuto = kDefaultLanguageAuto;
}

bool CLanguageSettings::Exchange(bool bContinueOnFailure, CSettingsStore& store, bool bWrite, bool bReset) {
  if (bReset) {
    SetDefaults();
    return true;
  }
  bool result = true;
  // Each value in order; `fallback` puts that field's default back after a failed read.
  const auto step = [&](bool ok, auto fallback) {
    if (ok) return true;
    if (!bContinueOnFailure) return false;
    if (bWrite)
      result = false;
    else
      fallback();
    return true;
  };
  if (!step(store.ExchangeString("language", language, bWrite), [&] { language = kDefaultLanguage; }))
    return false;
  if (!step(store.ExchangeString("LangIniFile", LangIniFile, bWrite),
            [&] { LangIniFile = kDefaultLangIniFile; }))
    return false;
  if (!step(store.ExchangeInt("LanguageAuto", LanguageAuto, bWrite),
            [&] { LanguageAuto = kDefaultLanguageAuto; }))
    return false;
  return result;
}

CString GetLangIniFile() {
  return g_languageSettings.LangIniFile;
}

int GetLanguageAuto() {
  return g_languageSettings.LanguageAuto;
}
