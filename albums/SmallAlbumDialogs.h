// The album editor's small modal dialogs: the question before the photos of a folder are added
// (template 182), the question before an album is deleted (template 214), the album's name and subtitle font (template 181), the name of a new album (template
// 259) and the folders batch collect turns into albums (template 230). All are made on the
// caller's stack.
#pragma once

#include "controls/HintBitmapStatic.h"
#include "controls/ShellFolderTree.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/StdControls.h"

class CDVDAlbumBase;

#define IDD_ADD_DIRECTORY 182
#define IDC_ADD_DIRECTORY_MESSAGE 1198
#define IDC_ADD_DIRECTORY_SUBFOLDERS 1197
#define IDD_DELETE_ALBUM 214
#define IDD_ALBUM_NAME 259
#define IDC_ALBUM_NAME_EDIT 1196
#define IDD_BATCH_COLLECT 230
#define IDC_BATCH_FOLDER_TREE 1020

// The caller sets the message (the folder named in it) and reads whether subfolders count after
// IDOK ("Yes"). The template's texts are not translated: the caller's message is.
class CAddDirectoryDlg : public CDialog {
 public:
  CAddDirectoryDlg() : CDialog(IDD_ADD_DIRECTORY) {}

  CString m_strMessage;
  int m_bIncludeSubDirectories = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};

class CDeleteAlbumDlg : public CDialog {
 public:
  CDeleteAlbumDlg() : CDialog(IDD_DELETE_ALBUM) {}
};

#define IDD_ALBUM_PROPERTIES 181
#define IDC_ALBUM_BANNER 1453
#define IDC_ALBUM_FONT_LIST 1314
#define IDC_ALBUM_CHARSET_LIST 1243
#define IDC_ALBUM_FONT_SIZE 1223
#define IDC_ALBUM_FONT_SIZE_SPIN 1228

// The album's name and the font of its subtitles. OK writes the font to the album and makes it
// the default of later albums (the SubtitleFont settings).
class CAlbumPropertiesDlg : public CDialog {
 public:
  CAlbumPropertiesDlg();
  ~CAlbumPropertiesDlg() override;

  CString m_strName;
  int m_nFontSize = 0;
  CDVDAlbumBase* m_pAlbum = nullptr;  // the album edited; the dialog's own when null
  CStringArray m_arrFontFiles;        // full paths, as found

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CDVDAlbumBase* Album();

  CHintBitmapStatic m_banner;
  CComboBox m_fontList;
  CSpinButtonCtrl m_sizeSpin;
  CComboBox m_charsetList;
  CDVDAlbumBase* m_pTemplateAlbum = nullptr;  // owned
};

class CAlbumNameDlg : public CDialog {
 public:
  CAlbumNameDlg() : CDialog(IDD_ALBUM_NAME) {}
  // Stores kind % 2 (the remainder keeps its sign); the dialog offers no choice of kind.
  void SetAlbumKind(int nKind) { m_nKind = nKind % 2; }
  int GetAlbumKind() const { return m_nKind; }

  CString m_strName;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

 private:
  CHintBitmapStatic m_banner;
  int m_nKind = 0;
};

class CBatchCollectDlg : public CDialog {
 public:
  CBatchCollectDlg() : CDialog(IDD_BATCH_COLLECT) {}
  CFolderCheckTree& GetTree() { return m_tree; }

  // After IDOK: the full paths of the ticked folders.
  CStringArray m_arrFolders;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  CFolderCheckTree m_tree;
  BOOL m_bCancel = FALSE;  // polled by the tree while it collects
};
