// The album editor's arithmetic kept apart from its windows: which files the add operations
// take, what a new album is called, which list row or album is selected after a change, and how
// slide rotations add up. Pure functions; the table tests in tests/albums check them.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// The extension as the add operations cut it from a path: the file name's text from its last
// '.', the dot included; "" without one ("a/b.c/photo" -> "", "x.jpg.txt" -> ".txt").
CString FileExtOf(LPCTSTR lpszPath);

// Whole-extension tests, without regard to case: ".jpg", ".JPG" and ".Jpeg" are photos; ".jp",
// ".jpgx" and "" are not. Photos: .jpg .jpeg .bmp .pcx .tif .tiff .png; music: .mp3 .wav .wma;
// video: .avi .mov .vob .wmv .asf .mpg .mpeg .3gp .mp4 .rm .rmvb .flv.
BOOL IsPhotoFileExt(LPCTSTR lpszExt);
BOOL IsMusicFileExt(LPCTSTR lpszExt);
BOOL IsVideoFileExt(LPCTSTR lpszExt);

// TRUE when the folder holds a folder that is neither hidden (a dot name) nor ".", "..".
BOOL HasSubfolders(LPCTSTR lpszFolder);

// The name of the album made for a photo added on its own: the photo's folder's own name;
// `fallback` ("My Slideshow") for a photo in the root. "/Trips/Rome/a.jpg" -> "Rome",
// "C:\Trips\Rome\a.jpg" -> "Rome", "/a.jpg" -> fallback, "a.jpg" -> fallback.
CString AlbumNameForPhoto(LPCTSTR lpszPhotoPath, LPCTSTR lpszFallback);
// The name of the album made from a folder chosen in the folder tree: the text after the last
// separator (the whole path without one); `fallback` when that is empty ("" or "/x/").
// "/Trips/Rome" -> "Rome", "Rome" -> "Rome", "/Trips/" -> fallback.
CString AlbumNameForTreeFolder(LPCTSTR lpszFolder, LPCTSTR lpszFallback);
// A folder's own name as the folder walks name their albums: one trailing separator dropped, then
// the text after the last separator; "" when none remains. "/Trips/Rome/" -> "Rome", "/" -> "".
CString FolderOwnName(LPCTSTR lpszFolder);
// The name the album name dialog proposes: the text after the path's last separator, the whole
// path when it has none. "/Trips/Rome" -> "Rome".
CString ProposedAlbumName(LPCTSTR lpszFolder);

// Where the new album's list item goes: at the active album (before it) when one is active and
// inside the list, else appended. (active 1, count 4) -> 1; (-1, 4) -> 4; (7, 4) -> 4.
int NewAlbumInsertIndex(int nActive, int nCount);
// The album selected after the album at nDeleted was removed, leaving nCountAfter albums: the
// same index, the previous one when the last was removed, -1 when none is left.
// (1, 3) -> 1; (3, 3) -> 2; (0, 0) -> -1.
int SelectionAfterAlbumDelete(int nDeleted, int nCountAfter);
// The photo row selected after rows were removed: the row now at the last removed row's
// position, the last row when that is past the end, -1 for an empty list.
// (lastRemoved 2, rows left 3) -> 2; (4, 3) -> 2; (0, 0) -> -1.
int RowAfterPhotoRemoval(int nLastRemovedRow, int nRowsLeft);
// A slide's rotation after turning it by `degrees`, kept within one turn: 0, 90, 180 or 270 for
// quarter turns; (270, 90) -> 0, (0, 270) -> 270, (90, -90) -> 0, (0, 720) -> 0.
int AddRotation(int nAngle, int nDegrees);
// Tab and page numbers as the sheets wrap them: (7, 5) -> 2; a negative page keeps its sign, as
// C's remainder does ((-1, 2) -> -1), and selects nothing.
inline int WrapPage(int nPage, int nPages) {
  return nPages > 0 ? nPage % nPages : -1;
}
