// An album's theme, opening titles and closing credits: the theme it uses (a record of the
// project's theme list, remembered by name so that it survives reloading the list) and the three
// text records (titles, theme text, credits). Drawing them into frames is not part of this class
// yet; it holds what the pages edit and the project file keeps.
#pragma once

#include "modules/data/AlbumTextSettings.h"
#include "platform/base/CString.h"

class CAlbumEffect {
 public:
  CAlbumEffect();

  // The album's theme record, null when none is set or it is not in the project's theme list.
  _ALBUM_THEME* GetTheme() const { return m_pTheme; }
  // The theme's name, kept also while its record is unknown.
  const CString& GetThemeName() const { return m_strThemeName; }
  void SetTheme(_ALBUM_THEME* theme);
  void SetThemeName(LPCTSTR name);
  // Forgets the record (the list is being freed); the name stays.
  void DetachThemeRecord() { m_pTheme = nullptr; }

  BOOL HasTheme() const { return m_pTheme != nullptr; }
  // The "no theme" theme: its name is "_no_theme" (without regard to case). A null theme counts too.
  static BOOL IsThemeNone(const _ALBUM_THEME* theme);
  // A theme that draws something over the slides.
  BOOL HasAlbumTheme() const { return HasTheme() && !IsThemeNone(m_pTheme); }
  // Titles and credits that last at least a second.
  BOOL HasTitleEffect() const { return GetTitleDuration() > 0; }
  BOOL HasCreditEffect() const { return GetCreditDuration() > 0; }
  // Seconds of the titles and credits: their duration when enabled, else 0.
  int GetTitleDuration() const { return DurationOf(m_title); }
  int GetCreditDuration() const { return DurationOf(m_credit); }

  _ALBUM_TEXT_SETTINGS* GetTitleSettings() { return &m_title; }
  _ALBUM_TEXT_SETTINGS* GetThemeTextSettings() { return &m_themeText; }
  _ALBUM_TEXT_SETTINGS* GetCreditSettings() { return &m_credit; }
  const _ALBUM_TEXT_SETTINGS* GetTitleSettings() const { return &m_title; }
  const _ALBUM_TEXT_SETTINGS* GetThemeTextSettings() const { return &m_themeText; }
  const _ALBUM_TEXT_SETTINGS* GetCreditSettings() const { return &m_credit; }

  // The texts shown where a title or credit text is empty: the album name, the program's name and
  // a web address.
  void SetDefaultText(LPCTSTR albumName, LPCTSTR programName, LPCTSTR webAddress);
  const CString& GetDefaultAlbumName() const { return m_strDefaultAlbumName; }
  const CString& GetDefaultProgramName() const { return m_strDefaultProgramName; }
  const CString& GetDefaultWebAddress() const { return m_strDefaultWebAddress; }

  // Fills a zero-filled theme record from a theme file (format in the README). Relative file
  // names in it are taken from the theme file's folder, then from `programFolder`. FALSE when the
  // file cannot be read or names no theme; the record then holds the file's name as the theme's.
  static BOOL ParseAlbumTheme(LPCTSTR path, _ALBUM_THEME* theme, LPCTSTR programFolder);

  static constexpr const char* kNoThemeName = "_no_theme";

  CAlbumEffect& operator=(const CAlbumEffect& other) = default;
  CAlbumEffect(const CAlbumEffect& other) = default;

 private:
  static int DurationOf(const _ALBUM_TEXT_SETTINGS& text) {
    return text.bEnabled && text.nDuration > 0 ? text.nDuration : 0;
  }

  _ALBUM_THEME* m_pTheme = nullptr;  // a record of the project's theme list; not owned
  CString m_strThemeName;
  _ALBUM_TEXT_SETTINGS m_title;
  _ALBUM_TEXT_SETTINGS m_themeText;
  _ALBUM_TEXT_SETTINGS m_credit;
  CString m_strDefaultAlbumName;
  CString m_strDefaultProgramName;
  CString m_strDefaultWebAddress;
};
