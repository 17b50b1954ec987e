// An album's theme, opening titles and closing credits: the theme it uses (a record of the
// project's theme list, remembered by name so that it survives reloading the list), the three
// text records (titles, theme text, credits), and their drawing into the video's frames: title
// and credit frames of their own, the theme laid over slide frames (README "Titles, credits and
// themes").
//
// Drawing is used by one thread at a time (the preview's renderer or the frame encoder); the
// settings belong to the UI thread and do not change while a renderer draws.
#pragma once

#include <memory>

#include "modules/data/AlbumTextSettings.h"
#include "platform/base/CString.h"

namespace pictavo::data {
class EffectFrames;
class Layer;
// Frees the drawing state where its type is known.
struct EffectFramesDeleter {
  void operator()(EffectFrames* frames) const;
};
}  // namespace pictavo::data

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

  // Drawing. Init gives the frame size (its width a multiple of 4 as the renderers make it) and
  // the frame rate, and ends any drawing under way.
  void Init(int width, int height, int fps);
  // Titles and credits: Start prepares the frames (FALSE without titles/credits or before Init);
  // the count is duration x fps; each GetOne...Frame call gives the next frame, null once all
  // were given: 24-bit pixel rows of the Init size, bottom row first, rows 3 x width bytes
  // (padded to 4 bytes, which a width that is a multiple of 4 needs none of), owned by this
  // object and valid until the next call. Stop frees them.
  BOOL StartTitleEffect();
  int GetTitleFrameCount() const;
  BYTE* GetOneTitleFrame();
  void StopTitleEffect();
  BOOL StartCreditEffect();
  int GetCreditFrameCount() const;
  BYTE* GetOneCreditFrame();
  void StopCreditEffect();
  // The theme over slide frames: StartEffect prepares the theme's overlay picture and text;
  // AddEffect lays them over a 24-bit picture (of any size; the Init size is the quick one).
  // The flag is accepted and not used. FALSE when there is no theme to draw.
  BOOL StartEffect();
  BOOL AddEffect(CxImage* picture, int flag);
  void StopEffect();

  ~CAlbumEffect();
  // Copies the settings; drawing under way stays with the original.
  CAlbumEffect& operator=(const CAlbumEffect& other);
  CAlbumEffect(const CAlbumEffect& other);

 private:
  // The theme's overlay picture and text for frames of this size.
  std::unique_ptr<pictavo::data::Layer> MakeThemeLayer(int width, int height) const;
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
  std::unique_ptr<pictavo::data::EffectFrames, pictavo::data::EffectFramesDeleter>
      m_frames;  // the drawing thread's; null before Init
};
