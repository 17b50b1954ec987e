#include "modules/data/ProjectMedia.h"

#include <sys/stat.h>

#include <memory>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "platform/kernel/Path.h"

namespace pictavo::data {
namespace {

void VisitSprites(const CDVDImageSpriteArray& sprites, const CDVDImage* slide,
                  const std::function<void(MediaKind, const CString&, const CDVDImage*)>& visit) {
  for (INT_PTR i = 0; i < sprites.GetSize(); ++i)
    if (sprites[i]->GetSpriteType() == DVD_SPRITE_PROPS)
      visit(MediaKind::ClipArt, static_cast<const CDVDImageProps*>(sprites[i])->Get_strPathName(), slide);
}

}  // namespace

bool FileExists(const CString& path) {
  struct stat st {};
  return !path.IsEmpty() && stat(pictavo::path::ToNative(path.View()).c_str(), &st) == 0 &&
         S_ISREG(st.st_mode);
}

void ForEachMediaFile(
    const CDVDAlbumBase& album,
    const std::function<void(MediaKind kind, const CString& path, const CDVDImage* slide)>& visit) {
  if (album.IsImageAlbum()) {
    const auto& photos = static_cast<const CDVDAlbumImage&>(album);
    for (int i = 0; i < photos.GetImageCount(); ++i) {
      const CDVDImage* slide = photos.GetImage(i);
      if (slide->Get_nImageType() != DVD_IMAGE_BLANK_COLOR)
        visit(MediaKind::Photo, slide->Get_strPathName(), slide);
      if (const _AUDIO_SOURCE* sound = slide->GetAnnotation())
        visit(MediaKind::Annotation, sound->strPathName, slide);
      VisitSprites(slide->m_arrSprites, slide, visit);
    }
    VisitSprites(photos.m_arrSprites, nullptr, visit);
    for (int i = 0; i < photos.GetMusicCount(); ++i)
      visit(MediaKind::Music, photos.GetMusic(i)->strPathName, nullptr);
  } else if (album.IsMovieAlbum()) {
    const auto& clips = static_cast<const CDVDAlbumMovie&>(album);
    for (int i = 0; i < clips.Get_nVideoItemCount(); ++i)
      visit(MediaKind::VideoClip, clips.Get_pVideoItemData(i)->strPathName, nullptr);
  }
}

}  // namespace pictavo::data

BOOL CDVDProject::FindInvalidObject(CDVDAlbumArray& invalidAlbums,
                                    CAlbumBreakLinkInfoArray& brokenLinks) const {
  using pictavo::data::MediaKind;
  invalidAlbums.RemoveAll();
  brokenLinks.RemoveAllInfo();
  for (INT_PTR a = 0; a < m_arrAlbums.GetSize(); ++a) {
    CDVDAlbumBase* album = m_arrAlbums[a];
    const bool empty = album->IsImageAlbum() ? static_cast<CDVDAlbumImage*>(album)->GetImageCount() == 0
                       : album->IsMovieAlbum()
                           ? static_cast<CDVDAlbumMovie*>(album)->Get_nVideoItemCount() == 0
                           : true;
    if (empty) invalidAlbums.Add(album);
    auto info = std::make_unique<CAlbumBreakLinkInfo>();
    info->m_pAlbum = album;
    info->m_pImageAlbum = album->IsImageAlbum() ? static_cast<CDVDAlbumImage*>(album) : nullptr;
    pictavo::data::ForEachMediaFile(*album, [&](MediaKind kind, const CString& path, const CDVDImage* slide) {
      if (pictavo::data::FileExists(path)) return;
      if (kind == MediaKind::Photo)
        info->m_arrImages.Add(const_cast<CDVDImage*>(slide));
      else
        info->m_arrFiles.Add(path);
    });
    if (info->m_arrImages.GetSize() > 0 || info->m_arrFiles.GetSize() > 0) brokenLinks.Add(info.release());
  }
  return invalidAlbums.GetSize() == 0 && brokenLinks.GetSize() == 0;
}
