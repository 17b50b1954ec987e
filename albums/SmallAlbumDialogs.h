// The album editor's small modal dialogs: the question before an album is deleted (template
// 214), the name of a new album (template 259) and the folders batch collect turns into albums
// (template 230). All are made on the caller's stack.
#pragma once

#include "controls/ShellFolderTree.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"

#define IDD_DELETE_ALBUM 214
#define IDD_ALBUM_NAME 259
#define IDC_ALBUM_NAME_EDIT 1196
#define IDD_BATCH_COLLECT 230
#define IDC_BATCH_FOLDER_TREE 1020

class CDeleteAlbumDlg : public CDialog {
 public:
  CDeleteAlbumDlg() : CDialog(IDD_DELETE_ALBUM) {}
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
