// The album editor (template 152), child 152 of the organize page. This is its project side:
// opening and creating projects in the data model and the album selection the main window
// resets. The album list, the album sheet with its pages and the editor's own commands join it
// with the album pages; until then the commands that start them do nothing.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CDVDAlbumImage;

#define IDD_ALBUM_EDITOR 152

class AlbumEditorDlg : public CPropertyPage {
 public:
  AlbumEditorDlg();
  ~AlbumEditorDlg() override;

  // Opens a project file into the data model; media it names that are missing are appended to
  // `missingFiles`. A file that cannot be read is reported to the user and leaves the project as
  // it was. TRUE when the project was opened.
  int OpenProject(CString strPath, CStringArray& missingFiles);
  // An empty project with the default options. TRUE.
  int NewProject();
  // Remembers the index and makes it the project's active album when it changed.
  void SetActiveAlbumIndex(int nIndex);
  // Makes the selected album the active one and refreshes the page.
  void ApplyAlbumSelection(BOOL bRebuild, BOOL bNotifyPreview);
  // The selected album when it is a photo album; null otherwise.
  CDVDAlbumImage* GetCurrentImageAlbum();
  void RefreshOutputFormats();
  void SelectPropPage(int nPage);
  int NewAlbum();
  int AddPhotos();
  int AddVideos();
  int AddMusic();
  int OnDeleteAlbum();

 protected:
  BOOL OnInitDialog() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  int m_nActiveAlbumIndex = -1;  // UI thread
};
