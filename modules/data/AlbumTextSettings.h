// The records of an album's texts and theme: the opening titles, the theme text and the closing
// credits (_ALBUM_TEXT_SETTINGS), an entry of a title or credit effect list (_TITLE_EFFECT) and a
// theme of the theme folder (_ALBUM_THEME). Callers allocate them zero-filled and copy them whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/WinTypes.h"

class CxImage;
class CObject;

struct _ALBUM_TEXT_SETTINGS {
  int32_t bEnabled;
  COLORREF clrFont;
  COLORREF clrBackground;
  int32_t nFontSize;
  char szText[10240];      // Unix line ends; at most 10239 characters
  char szEffectFile[260];  // full path of the effect's movie
  int32_t nDuration;       // seconds
};
static_assert(sizeof(_ALBUM_TEXT_SETTINGS) == 10520);
static_assert(offsetof(_ALBUM_TEXT_SETTINGS, szText) == 16);
static_assert(offsetof(_ALBUM_TEXT_SETTINGS, szEffectFile) == 10256);
static_assert(offsetof(_ALBUM_TEXT_SETTINGS, nDuration) == 10516);

struct _TITLE_EFFECT {
  char szName[100];
  char szEffectFile[260];
  int32_t nDefaultDuration;  // seconds
};
static_assert(sizeof(_TITLE_EFFECT) == 364);

// A theme, filled by CAlbumEffect::ParseAlbumTheme from a file of the theme folder. The name
// "_no_theme" is the theme that draws nothing.
struct _ALBUM_THEME {
  char szThemeName[100];
  char szMovieFile[260];      // the theme's preview movie
  char szThumbnailFile[260];  // picture shown in the theme list
  char szOverlayFile[260];    // picture drawn over every slide (PNG with alpha), "" for none
  char szThemeFile[260];      // the file the theme was read from
  char szFontFace[100];       // face of the theme text
  RECT rcText;                // where the theme text goes, in 768 x 576 units
  COLORREF clrText;
  int32_t nFontSize;   // points at 768 units across
  int32_t nTextAlign;  // 0 left, 1 centre, 2 right
  int32_t nReserved[83];
  CxImage* pThumbnail;  // owned by the record's holder (the theme page)
  CObject* pEffect;     // an effect object the record's holder owns
};
static_assert(sizeof(_ALBUM_THEME) == 1616);
static_assert(offsetof(_ALBUM_THEME, szMovieFile) == 100);
static_assert(offsetof(_ALBUM_THEME, pThumbnail) == 1600);
