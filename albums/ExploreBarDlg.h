// The file browser panel (template 151), child 151 of the organize page, above the album
// editor. It keeps the folder it shows, which the main window saves when it closes, and serves
// the album editor with the folder walks that turn a folder's photos into slides and the counters
// of its rows. Its folder tree and file list come with the file browser work; until then the
// folder it shows stands for the folder selected in the tree.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CAddFilesProgressWnd;
class CDVDAlbumBase;
class CDVDAlbumImage;
class CDVDAlbumMovie;
class CDVDImage;
class CListCtrl;

#define IDD_EXPLORE_BAR 151

// Item data of a file-browser row: kind 0 photo (`pData` a row-owned CDVDImage), 1 music, 2
// folder, 3 video clip (each of those a row-owned path).
struct _tagBrowserItem {
  int nKind;
  void* pData;
};

class ExploreBarDlg : public CPropertyPage {
 public:
  ExploreBarDlg();
  ~ExploreBarDlg() override;

  // The folder selected in the folder tree; "" when none is.
  CString GetSelectedTreeFolder() const { return m_strCurrentFolder; }

  // Counts the photo, music and video rows of the file list (folders are not counted), all of
  // them or the selected ones. Each output may be null.
  void CountAllItems(int* pPhotos, int* pMusic, int* pVideos);
  void CountSelectedItems(int* pPhotos, int* pMusic, int* pVideos);

  // Adds every photo of a folder (and of its subfolders when asked) to the album in the slot,
  // which is made on demand and named `lpszAlbumName` or after the folder. A progress window
  // with Cancel shows once the walk passes half a second. FALSE when the user cancelled.
  BOOL AddFolderToAlbum(LPCTSTR lpszFolder, CDVDAlbumImage*& pPhotoAlbum, CDVDAlbumMovie*& pVideoAlbum,
                        BOOL bSubfolders, CDVDImage* pPosition, LPCTSTR lpszAlbumName);
  // Batch collect: one new album per folder holding the folder's own photos, named after it; the
  // slot receives the last folder's album. FALSE when the user cancelled.
  BOOL AddFoldersAsAlbums(const CStringArray& folders, CDVDAlbumBase*& pLastAlbum);

  CString m_strCurrentFolder;        // the folder shown; the last one saved until the user picks another
  CListCtrl* m_pFileList = nullptr;  // the file list, once the panel has one

 protected:
  BOOL OnInitDialog() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // Walks one folder; FALSE once the user cancelled.
  BOOL AddFolderFiles(LPCTSTR lpszFolder, CDVDAlbumImage*& pPhotoAlbum, BOOL bSubfolders,
                      CDVDImage* pPosition);
  // FALSE when the walk is to end: the progress window was cancelled.
  BOOL TickProgress();
  void ShowAdding(LPCTSTR lpszPath);
  BOOL AddPhotoToAlbum(CDVDAlbumImage*& pPhotoAlbum, LPCTSTR lpszPath, CDVDImage* pPosition);
  void BeginWalk();
  BOOL EndWalk();
  void CountItems(int* pPhotos, int* pMusic, int* pVideos, BOOL bSelectedOnly);

  CString m_strAlbumName;                       // the name a walk gives an album it makes
  CAddFilesProgressWnd* m_pProgress = nullptr;  // owned, during a walk only
  BOOL m_bCancelled = FALSE;
};

// The look of the organize page's two panels: the skin's page colour inside a thin frame a shade
// darker than the window around it.
void PaintAlbumPanel(CWnd* pPanel, CDC* pDC);
