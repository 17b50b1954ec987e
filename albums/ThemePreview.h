// What the theme page's preview shows without a Flash player: the data model's own drawing. The
// theme is one still picture, the album's first photo (else the theme's thumbnail) with the
// theme's overlay and text laid over it (CAlbumEffect::AddEffect); titles and credits are their
// frames at 20 per second, the one due at the time asked for. Works on copies of the album's
// settings, so the album may change or go while a preview runs. UI thread only.
#pragma once

#include <memory>

#include "modules/data/AlbumEffect.h"
#include "modules/image/CxImage.h"
#include "platform/base/CString.h"

class CDVDAlbumImage;

class CThemePreviewFrames {
 public:
  enum class Kind { kNone, kTheme, kTitle, kCredit };
  static constexpr int kFps = 20;

  CThemePreviewFrames();
  ~CThemePreviewFrames();

  // The theme `theme` (null or the none theme: the photo alone) over `album`'s first photo.
  void StartTheme(const CDVDAlbumImage& album, _ALBUM_THEME* theme);
  // Titles (or credits) of the record for `seconds`, the album name standing in for an empty text.
  void StartText(bool credits, const _ALBUM_TEXT_SETTINGS& text, int seconds, const CString& albumName);
  void Stop();
  Kind GetKind() const { return m_kind; }

  // The picture for `elapsedMs` after the start, made for a w x h box (titles and credits keep
  // the size of their first frame; the caller stretches); null when there is nothing to show.
  CxImage* Frame(DWORD elapsedMs, int w, int h);
  // Frames given so far of a title or credit run.
  int FramesShown() const { return m_nNext; }

 private:
  CxImage* ThemeFrame(int w, int h);
  CxImage* TextFrame(DWORD elapsedMs, int w, int h);

  Kind m_kind = Kind::kNone;
  CAlbumEffect m_effect;  // a copy of the album's settings
  CxImage m_source;       // the theme's picture before the overlay, 768 x 576
  CxImage m_frame;        // the picture last made
  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nCount = 0;  // title or credit frames
  int m_nNext = 0;   // the next frame to take from the effect
};
