// A video album: video clips played one after the other. Each clip is a _DV_LIST_ITEM_DATA
// record owned by the album.
#pragma once

#include <memory>
#include <vector>

#include "modules/data/DVDAlbumBase.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"

// The file behind a clip and the part of it that plays, in milliseconds.
struct _DV_SOURCE {
  CString strPathName;
  DWORD dwDuration = 0;  // the whole file
  DWORD dwStart = 0;
  DWORD dwEnd = 0;
};

struct _DV_LIST_ITEM_DATA {
  int nWidth = 0;  // pixels
  int nHeight = 0;
  BOOL bHeightIsTVSystem = FALSE;  // nHeight names a TV system (576 PAL, 480 NTSC) of DV video
  double dblFrameRate = 0;
  BOOL bDVVideo = FALSE;
  BOOL bPAL = FALSE;
  BOOL bHasAudio = FALSE;
  // Thumbnail as DIB bits (24-bit, bottom-up, rows padded to 4 bytes, allocated with new[]),
  // made when the clip is inserted or read from a project file (MakeVideoItemThumbnail); null
  // when its video could not be read.
  BYTE* pThumbBits = nullptr;
  int nThumbWidth = 0;
  int nThumbHeight = 0;
  BITMAPINFO bmiThumb{};
  CString strPathName;
  _DV_SOURCE* pSource = nullptr;  // owned by the record

  DWORD GetPlayLength() const {
    return pSource && pSource->dwEnd > pSource->dwStart ? pSource->dwEnd - pSource->dwStart : 0;
  }
};

class CTimelineProject;

class CDVDAlbumMovie : public CDVDAlbumBase {
  DECLARE_DYNAMIC(CDVDAlbumMovie)

 public:
  explicit CDVDAlbumMovie(CDVDProject* project = nullptr);
  ~CDVDAlbumMovie() override;

  BOOL IsMovieAlbum() const override { return TRUE; }
  BOOL DrawThumbnail(HDC dc, const RECT& rect, POINT offset, SIZE size, int fillBox, int fit) override;

  void CopyFrom(const CDVDAlbumMovie& other, CDVDProject* project);

  int Get_nVideoItemCount() const { return static_cast<int>(m_arrItems.GetSize()); }
  _DV_LIST_ITEM_DATA* Get_pVideoItemData(int index) const;
  int IndexOf(const _DV_LIST_ITEM_DATA* item) const;

  // Reads the facts of a video file and inserts a clip of all of it before `position` (appended
  // for null). `displayName` is accepted for callers that pass the path twice. Null when the file
  // holds no video the data model can read. The flag is accepted and not used.
  _DV_LIST_ITEM_DATA* InsertVideoFile(LPCTSTR path, LPCTSTR displayName, _DV_LIST_ITEM_DATA* position,
                                      int flag);
  // Inserts a record made elsewhere (the album owns it afterwards), before `position`.
  _DV_LIST_ITEM_DATA* InsertVideoItemData(_DV_LIST_ITEM_DATA* item, _DV_LIST_ITEM_DATA* position);
  // Appends records (of another album: the caller removed them there); the flag is accepted and
  // not used.
  BOOL AddVideoItemData(const CPtrArray& items, int flag);
  // Removes records without freeing them.
  BOOL RemoveVideoItemData(const CPtrArray& items);
  BOOL RemoveVideoItemData(_DV_LIST_ITEM_DATA* item);
  // Frees a record (when `freeIt` is set) that is no longer in any album.
  static void FreeVideoItemData(_DV_LIST_ITEM_DATA* item, int freeIt);
  static _DV_LIST_ITEM_DATA* CopyVideoItemData(const _DV_LIST_ITEM_DATA& item);
  // Fills the record's thumbnail (pThumbBits, its size and bmiThumb) with the frame shown a
  // second into its play range (halfway through a shorter one), fitted into 160 x 120. FALSE
  // when the file's video cannot be read; the record keeps what it had.
  static BOOL MakeVideoItemThumbnail(_DV_LIST_ITEM_DATA* item);
  // Moves records of this album, in the order given, before `target` (to the end for null).
  BOOL MoveVideoItemPos(_DV_LIST_ITEM_DATA* target, const CPtrArray& items);
  // Copies of records placed before `target` (appended for null); the copies go to `copies`.
  int DuplicateVideoItemToPos(const CPtrArray& items, _DV_LIST_ITEM_DATA* target, CPtrArray* copies);

  // Milliseconds of all clips' play ranges.
  DWORD GetAlbumDuration() const;
  // Adds the clips' play ranges to the timeline in order, with their sound when `withSound` is
  // set (the other two values are accepted and not used). S_FALSE when no clip has a play range.
  HRESULT AddStaffToTimeline(CTimelineProject* timeline, int withSound, int reserved1, int reserved2);
  // Whether the clips are DV video, and PAL DV.
  void GetIsDVVideoAndPALFlag(int& isDV, int& isPAL) const;

  // The program's callback that inserts a video file into an album, given at start-up.
  using PROC_INSERT_VIDEO_FILES = _DV_LIST_ITEM_DATA* (*)(CDVDAlbumMovie* album, _DV_LIST_ITEM_DATA* position,
                                                          LPCTSTR path, int flag);
  static void SetProcInsertVideoFilesFuncPtr(PROC_INSERT_VIDEO_FILES proc);
  static PROC_INSERT_VIDEO_FILES GetProcInsertVideoFilesFuncPtr();

  // Fields other windows read directly.
  CPtrArray m_arrItems;   // _DV_LIST_ITEM_DATA*, owned, in play order
  int m_nFieldOrder = 0;  // non-zero: the clips are interlaced and their field order is kept
};
