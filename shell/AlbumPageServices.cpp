#include "shell/AlbumPageServices.h"

#include "modules/data/AlbumTextSettings.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/image/CxImage.h"
#include "platform/kernel/Time.h"
#include "shell/SlideshowApp.h"

CArray<_ALBUM_THEME*, _ALBUM_THEME*> g_albumThemeList;
CArray<_TITLE_EFFECT*, _TITLE_EFFECT*> g_titleEffectList;

int FreeAlbumThemeList() {
  for (INT_PTR i = 0; i < g_albumThemeList.GetSize(); ++i) {
    _ALBUM_THEME* theme = g_albumThemeList[i];
    delete theme->pEffect;
    theme->pEffect = nullptr;
    delete theme->pThumbnail;
    theme->pThumbnail = nullptr;
    delete theme;
  }
  g_albumThemeList.RemoveAll();
  return 1;
}

int FreeTitleEffectList() {
  for (INT_PTR i = 0; i < g_titleEffectList.GetSize(); ++i) delete g_titleEffectList[i];
  g_titleEffectList.RemoveAll();
  return 1;
}

_DV_LIST_ITEM_DATA* InsertVideoFileIntoAlbum(CDVDAlbumMovie* album, _DV_LIST_ITEM_DATA* position,
                                             LPCTSTR path, int flag) {
  if (album == nullptr || path == nullptr || *path == '\0') return nullptr;
  if (!album->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie))) return nullptr;
  // The failure question and the album editor's repaint come with the album pages.
  return album->InsertVideoFile(path, path, position, flag);
}

void SetProjectFileName(const CString& strPath) {
  theApp.SetProjectPath(strPath);
}

namespace {
DWORD g_dwStartTick = 0;  // UI thread
}  // namespace

DWORD StartTickCount() {
  g_dwStartTick = GetTickCount();
  return g_dwStartTick;
}

DWORD GetElapsedTicks(BOOL bRestart) {
  const DWORD now = GetTickCount();
  const DWORD elapsed = now >= g_dwStartTick ? now - g_dwStartTick : now - g_dwStartTick - 1;
  if (bRestart) g_dwStartTick = now;
  return elapsed;
}
