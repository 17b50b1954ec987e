// What start-up and shut-down use of the album pages: the process-wide theme and title-effect
// lists the pages fill, and the callback through which the data model inserts a video file.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

struct _ALBUM_THEME;
struct _TITLE_EFFECT;
struct _DV_LIST_ITEM_DATA;
class CDVDAlbumMovie;
class CObject;

// Theme records the theme loader handed to the project (CDVDProject::AddThemeToList); each owns
// the effect object it points at. UI thread.
extern CArray<_ALBUM_THEME*, _ALBUM_THEME*> g_albumThemeList;
// Title and credit effect records, owned. UI thread.
extern CArray<_TITLE_EFFECT*, _TITLE_EFFECT*> g_titleEffectList;

// Deletes every theme record (its effect object first) and empties the list. 1.
int FreeAlbumThemeList();
// Deletes every title and credit effect record and empties the list. 1.
int FreeTitleEffectList();

// Inserts a video file into a video album before `position`: the new item, or null when the
// album is not a video album, no path is given or the file can't be read.
_DV_LIST_ITEM_DATA* InsertVideoFileIntoAlbum(CDVDAlbumMovie* album, _DV_LIST_ITEM_DATA* position,
                                             LPCTSTR path, int flag);

// The application's current project path; "" makes the project untitled.
void SetProjectFileName(const CString& strPath);

// A process-wide start tick for timing long project operations (UI thread).
DWORD StartTickCount();
// Milliseconds since the start tick (one less when the tick counter wrapped); with bRestart the
// start tick becomes now afterwards.
DWORD GetElapsedTicks(BOOL bRestart);
