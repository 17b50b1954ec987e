// An album of the project: its name, theme and texts, subtitle font and dirty flags. Photo albums
// (CDVDAlbumImage) and video albums (CDVDAlbumMovie) derive from it.
#pragma once

#include <memory>

#include "modules/data/AlbumEffect.h"
#include "modules/data/SubtitleFont.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/Object.h"

class CDVDProject;

class CDVDAlbumBase : public CObject {
  DECLARE_DYNAMIC(CDVDAlbumBase)

 public:
  ~CDVDAlbumBase() override;

  virtual BOOL IsImageAlbum() const { return FALSE; }
  virtual BOOL IsMovieAlbum() const { return FALSE; }

  CDVDProject* GetProject() const { return m_pProject; }
  void SetProject(CDVDProject* project) { m_pProject = project; }

  const CString& Get_strAlbumName() const { return m_strAlbumName; }
  void Set_strAlbumName(LPCTSTR name);

  // Changed since the project was last saved or opened.
  BOOL Get_bDirty() const { return m_bDirty; }
  void Put_bDirty(BOOL dirty) { m_bDirty = dirty; }
  // Changed since its video was last made.
  BOOL Get_bEncodeDirty() const { return m_bEncodeDirty; }
  void Put_bEncodeDirty(BOOL dirty) { m_bEncodeDirty = dirty; }
  // Playback starts with the transition into the current slide rather than its display.
  BOOL Get_bFirstTransActive() const { return m_bFirstTransActive; }
  void Set_bFirstTransActive(BOOL active) { m_bFirstTransActive = active; }

  // Theme, titles and credits.
  CAlbumEffect* GetAlbumEffect() { return &m_effect; }
  const CAlbumEffect* GetAlbumEffect() const { return &m_effect; }
  void SetAlbumTheme(_ALBUM_THEME* theme);

  const CDVDSubtitleFont& GetDVDSubtitleFont() const { return m_subtitleFont; }
  CDVDSubtitleFont& GetDVDSubtitleFont() { return m_subtitleFont; }
  void SetDVDSubtitleFont(const CDVDSubtitleFont& font);

  // The base path (without extension) of the album's intermediate video file in this run's
  // temporary folder.
  CString Get_strEncodeFileAllName() const;

  // The album's picture in the album list, drawn as CDVDImage::DrawThumbnail draws a slide's:
  // a photo album's cover slide (its thumbnail made now when it has none), a video album's first
  // clip. FALSE when there is none.
  virtual BOOL DrawThumbnail(HDC dc, const RECT& rect, POINT offset, SIZE size, int fillBox, int fit) {
    return FALSE;
  }

  // Marks the album changed: dirty and in need of a new video.
  void MarkChanged() {
    m_bDirty = TRUE;
    m_bEncodeDirty = TRUE;
  }

  // Fields other windows read directly.
  CString m_strAlbumName;
  BOOL m_bDirty = FALSE;
  BOOL m_bEncodeDirty = TRUE;
  BOOL m_bFirstTransActive = FALSE;
  BOOL m_bDropHighlight = FALSE;  // the album list's drag feedback
  CAlbumEffect m_effect;
  CDVDSubtitleFont m_subtitleFont;

 protected:
  explicit CDVDAlbumBase(CDVDProject* project);
  // Copies the settings of `other` (not its project, not its dirty flags).
  void CopyBaseFrom(const CDVDAlbumBase& other);

  CDVDProject* m_pProject;  // not owned
  int m_nSerial;            // names the album's files in the temporary folder
};

// Albums by pointer, in project order. The array does not own them.
class CDVDAlbumArray : public CArray<CDVDAlbumBase*, CDVDAlbumBase*> {
 public:
  int IndexOf(const CDVDAlbumBase* album) const;
};
