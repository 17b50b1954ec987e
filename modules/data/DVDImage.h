// One slide of a photo album: the photo, its transition (the one into the slide), its durations,
// pan and zoom, rotation, picture adjustments, subtitle, sound annotation and the objects placed
// on it. A stored duration of -1 means that the album's value applies.
#pragma once

#include <memory>

#include "modules/data/AudioSource.h"
#include "modules/data/ImageSprite.h"
#include "modules/data/PhotoParams.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/base/Object.h"

struct WIN32_FIND_DATA;
class CDVDAlbumImage;
class CxImage;

// Image types.
#define DVD_IMAGE_PHOTO 0
#define DVD_IMAGE_BLANK_COLOR 1    // a plain slide of its background colour
#define DVD_IMAGE_BLANK_PICTURE 2  // a blank slide showing a picture

// Pan-and-zoom kinds besides a preset index (0 and up).
#define DVD_PANZOOM_ALBUM (-1)   // the album's setting
#define DVD_PANZOOM_CUSTOM (-2)  // the slide's saved positions

class CDVDImage : public CObject {
  DECLARE_DYNAMIC(CDVDImage)

 public:
  // A slide for `album` (null for one that belongs to no album yet, such as a file-browser row).
  // It takes the album's next transition (see SetTransitionSubset).
  explicit CDVDImage(CDVDAlbumImage* album = nullptr);
  // A copy of `other` for `album`: every setting, the objects copied too.
  CDVDImage(const CDVDImage& other, CDVDAlbumImage* album);
  ~CDVDImage() override;

  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }

  // The photo.
  const CString& Get_strPathName() const { return m_strPathName; }
  void Put_strPathName(LPCTSTR path);
  // Size in bytes, file time and the date shown in lists; read from the file.
  void SetDataFromParam(LPCTSTR path, const WIN32_FIND_DATA* find, LPCTSTR typeName);
  // The date the photo was taken (EXIF), else the file's date, as "YYYY-MM-DD hh:mm:ss"; read
  // from the file on first use. A non-zero `reload` reads again.
  CString Get_strPhotoDateTime(int reload);
  int Get_nImageType() const { return m_nImageType; }
  void Set_nImageType(int type) { m_nImageType = type; }
  COLORREF Get_clrBackground() const { return m_clrBackground; }
  void Set_clrBackground(COLORREF colour);
  // The colour around the photo: the album's background colour (black without an album).
  COLORREF Get_clrAlbumBG() const;
  const CString& Get_strLabel() const { return m_strLabel; }
  void Set_strLabel(LPCTSTR label) { m_strLabel = label; }

  // Durations in seconds as stored: -1 takes the album's.
  int Get_nOneDuration() const { return m_nOneDuration; }
  void Put_nOneDuration(int seconds);
  int Get_nTwoDuration() const { return m_nTwoDuration; }
  void Put_nTwoDuration(int seconds);

  // The transition into this slide, by display name of the transition list; "" lets the
  // renderers choose one at random.
  const CString& Get_strTransName() const { return m_strTransName; }
  void Set_strTransName(LPCTSTR name);
  // The transition's index in the transition list, -1 when its name is unknown.
  int Get_nTransID() const;

  // Pan and zoom: DVD_PANZOOM_ALBUM, DVD_PANZOOM_CUSTOM or a preset index; the saved positions
  // are copied (null clears them).
  int Get_nPanZoom() const { return m_nPanZoom; }
  void Set_nPanZoom(int kind, const _tagPhotoPanZoomSaveParam* saved);
  const _tagPhotoPanZoomSaveParam* GetpPhotoPanZoomSaveParam() const { return m_pPanZoomSaveParam.get(); }

  // Rotation in degrees as given (not reduced modulo 360).
  int Get_nRotateAngle() const { return m_nRotateAngle; }
  void Put_nRotateAngle(int degrees);

  // Picture adjustments: null while the slide has none. The record is copied.
  const _tagPhotoIntensityParam* Get_pPhotoIntensityParam() const { return m_pIntensityParam.get(); }
  void Set_pPhotoIntensityParam(const _tagPhotoIntensityParam* param);
  BOOL Get_bAutoExposure() const { return m_bAutoExposure; }
  // Switches automatic exposure; `picture` (a thumbnail copy) is accepted for callers that have
  // one and not needed.
  void ToggleAutoAdjustExposure(CxImage* picture);
  // Applies the slide's adjustments to a picture: PerformIntensity the six values,
  // UpdateAutoAdjustImage the exposure stretch when the slide asks for it.
  BOOL PerformIntensity(CxImage* picture) const;
  BOOL UpdateAutoAdjustImage(CxImage* picture) const;

  // Subtitle as entered and its macros expanded for this slide.
  const CString& Get_strOrgSubtilte() const { return m_strOrgSubtitle; }
  void Set_strSubtitle(LPCTSTR text);
  CString Get_strSubtitle() const;

  // Sound annotation (copied), null when none.
  const _AUDIO_SOURCE* GetAnnotation() const { return m_pAnnotation.get(); }
  _AUDIO_SOURCE* GetAnnotation() { return m_pAnnotation.get(); }
  void SetAnnotation(const _AUDIO_SOURCE* annotation);
  void ClearAnnotation();

  // Objects on this slide. AddImageSprite takes ownership; the flag is accepted and not used.
  // RemoveImageSprite deletes the object when `deleteIt` is set; FALSE when it is not here.
  BOOL AddImageSprite(CDVDImageSprite* sprite, int flag);
  BOOL RemoveImageSprite(CDVDImageSprite* sprite, BOOL deleteIt);
  // Empties the array; the objects are deleted when `deleteThem` is set (else their new holder
  // owns them).
  void RemoveAllImageSprite(BOOL deleteThem);

  // The change flag says the slide's look changed since its thumbnail was made; UpdateCookie
  // clears it and advances the cookie the thumbnail loader compares.
  BOOL IsChanged() const { return m_bChanged; }
  void UpdateCookie();
  DWORD GetCookie() const { return m_dwCookie; }

  // Thumbnails (UI thread). The thumbnail loader (CImageLoadManager) makes them off the UI
  // thread and hands them over by message; lists draw them with DrawThumbnail.
  // The cached thumbnail: the photo turned and adjusted, without objects, fitted into 160 x 120;
  // null until one was made. The arguments are accepted and not used.
  CxImage* GetThumbnail(int reserved1, int reserved2) const { return m_pThumbnail.get(); }
  // A stamp that changes whenever the slide's look changes; a thumbnail made for an older
  // stamp is out of date (it is still drawn until a new one comes).
  DWORD GetLookStamp() const { return m_dwLook; }
  BOOL IsThumbnailCurrent() const { return m_pThumbnail != nullptr && m_dwThumbnailLook == m_dwLook; }
  // Takes a thumbnail made for the look stamp `look`.
  void SetThumbnail(std::unique_ptr<CxImage> thumbnail, DWORD look);
  // Makes the thumbnail on the calling thread when the cached one is missing or out of date.
  BOOL UpdateThumbnail();
  // Draws the thumbnail into the box of `size` at `rect`'s corner moved by `offset`: with
  // `fillBox` the box is first filled with the album's background colour; with `fit` the whole
  // thumbnail shows, centred, else it covers the box (cut to it). A blank colour slide fills
  // the box with its colour. FALSE when there is no thumbnail yet.
  BOOL DrawThumbnail(HDC dc, const RECT& rect, POINT offset, SIZE size, int fillBox, int fit) const;
  // The file name under a 78-pixel thumbnail tile at `origin`: one line, centred, cut with an
  // ellipsis, in the DC's font and colours, in (x, y + 78, x + 78, y + 94).
  BOOL DrawFileDesc(HDC dc, POINT origin) const;
  // A one-pixel mid-grey frame along the picture's edges, which shows where a picture ends on a
  // background of any colour.
  BOOL DrawImageFrame(CxImage* picture) const;
  // The date a photo file was taken (EXIF), else its file date, as "YYYY-MM-DD hh:mm:ss"; "" for
  // a file that cannot be read. Any thread.
  static CString ReadPhotoDateTime(LPCTSTR path);
  // What the thumbnail loader learnt of the file: its pixel size and date.
  void SetFileFacts(int width, int height, LPCTSTR dateTime);

  // Loads the slide's picture for showing: the photo (or the blank slide) turned by its EXIF
  // orientation and rotation, with its adjustments when `apply` is set, fitted into `size` on the
  // background colour by the project's photo scale mode (fit or fill). A null size keeps the
  // picture's own size. The second form loads another file (a cached copy) in the photo's place.
  // FALSE when the file cannot be read; the picture is then `size` of the background colour.
  // With `apply` the objects are drawn too (the album-wide ones, then the slide's own, bottom
  // first), the picture standing for the 768-unit reference frame: this is the slide as the
  // video shows it.
  BOOL LoadToCxImage(CxImage* picture, const CSize* size, COLORREF background, int apply) const;
  BOOL LoadToCxImage(LPCTSTR path, CxImage* picture, const CSize* size, COLORREF background, int apply) const;

  // The placement of a picture of `picture` size in `frame`: mode 0 as the project's photo scale
  // says, 1 fit (all of it visible), 2 fill (the frame covered). Centred. FALSE for empty sizes.
  static BOOL CalcZoomRect(const RECT& frame, const SIZE& picture, RECT* result, int mode);
  // `source` placed into a `width` x `height` picture of `background` as the project's photo scale
  // says (fit or fill). The last three values are accepted and not used (callers pass 0).
  static BOOL ResizeXImage(const CxImage* source, COLORREF background, int width, int height, CxImage* output,
                           double reserved1, double reserved2, int reserved3);
  // Writes a JPEG of one colour.
  static BOOL CreateBlankImage(LPCTSTR path, COLORREF colour, int width, int height);
  // Draws the album-wide objects and the slide's own over a picture that stands for the whole
  // 768-unit reference frame, with the text macros expanded for this slide.
  BOOL DrawObjects(CxImage* picture) const;

  // The transition list as the data model knows it: names with their icon tags, registered in
  // list order at start-up (entry 0 is "no transition").
  static void AddTransID2Cache(LPCTSTR name, int tag);
  static void ClearTransIDCache();
  // The list index of a name (`tag` 0) or its tag (`tag` non-zero); -1 when the name is unknown.
  // Names are compared without regard to case.
  static int GetTransID(LPCTSTR name, int tag);
  static CString GetTransName(int index);
  static int GetTransCount();
  // New slides take a random transition of the subset; an empty subset gives the "no transition"
  // name when empty subsets are valid, else a random one of the whole list.
  static void SetTransitionSubset(const CStringArray& names);
  static void SetEmptyTransitionSubsetIsValid(BOOL valid);
  static void SetNoTransitionName(LPCTSTR name);
  static CString GetNoTransitionName();
  // The transition a new slide gets under these rules ("" when the list is empty).
  static CString PickNewTransitionName();
  static CString PickRandomTransitionName(BOOL fromSubset);

  // Fields other windows read directly.
  CDVDAlbumImage* m_pAlbum;  // owner; null for a slide of no album
  CString m_strPathName;
  int m_nImageType = DVD_IMAGE_PHOTO;
  COLORREF m_clrBackground = 0;
  int m_nWidth = 0;  // pixels, 0 until known
  int m_nHeight = 0;
  DWORD m_dwFileSize = 0;
  FILETIME m_ftFileTime{};
  CString m_strTypeName;
  CString m_strLabel;
  int m_nOneDuration = -1;
  int m_nTwoDuration = -1;
  CString m_strTransName;
  int m_nPanZoom = DVD_PANZOOM_ALBUM;
  std::unique_ptr<_tagPhotoPanZoomSaveParam> m_pPanZoomSaveParam;
  int m_nRotateAngle = 0;
  std::unique_ptr<_tagPhotoIntensityParam> m_pIntensityParam;
  BOOL m_bAutoExposure = FALSE;
  CString m_strOrgSubtitle;
  std::unique_ptr<_AUDIO_SOURCE> m_pAnnotation;
  CDVDImageSpriteArray m_arrSprites;  // owned
  BOOL m_bChanged = FALSE;
  DWORD m_dwCookie = 1;
  DWORD m_dwLook = 1;  // advanced by every change of the slide's look
  std::unique_ptr<CxImage> m_pThumbnail;
  DWORD m_dwThumbnailLook = 0;
  CString m_strPhotoDateTime;  // cached
  BOOL m_bDateRead = FALSE;

 private:
  void MarkChanged();
  void MarkDirty();
};

// Slides by pointer, in order. The array does not own them.
class CDVDImageArray : public CArray<CDVDImage*, CDVDImage*> {
 public:
  int IndexOf(const CDVDImage* image) const;
};
