#include "albums/AlbumEditorDlg.h"

#include "albums/ExploreBarDlg.h"

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

#define WM_PROJECT_RELOADED 0x07FF
#define WM_LANGUAGE_CHANGED 0x12D8

BEGIN_MESSAGE_MAP(AlbumEditorDlg, CPropertyPage)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

AlbumEditorDlg::AlbumEditorDlg() : CPropertyPage(IDD_ALBUM_EDITOR) {}

AlbumEditorDlg::~AlbumEditorDlg() = default;

BOOL AlbumEditorDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_EDITOR);
  GetWindowRegistry()->m_pAlbumEditor = this;
  return TRUE;
}

BOOL AlbumEditorDlg::OnEraseBkgnd(CDC* pDC) {
  PaintAlbumPanel(this, pDC);
  return TRUE;
}

int AlbumEditorDlg::OpenProject(CString strPath, CStringArray& missingFiles) {
  WriteLog("Open project file: %s", strPath.GetString());
  int missingCount = 0;
  CDVDProject* project = GetProject();
  if (!project->OpenFromFile(strPath, missingCount, missingFiles, 0, -1)) {
    WriteErrorLog("Open project file failed: %s", CDVDProject::GetLastFileError().GetString());
    MessageBoxText(CDVDProject::GetLastFileError(), MB_ICONERROR);
    return FALSE;
  }
  m_nActiveAlbumIndex = project->Get_nActiveAlbumIndex();
  Invalidate();
  return TRUE;
}

int AlbumEditorDlg::NewProject() {
  WriteLog("Create new project...");
  CDVDProject* project = GetProject();
  project->NewProject();
  GetAppSettings()->ApplyToProject(project);
  m_nActiveAlbumIndex = -1;
  Invalidate();
  return TRUE;
}

void AlbumEditorDlg::SetActiveAlbumIndex(int nIndex) {
  if (nIndex == m_nActiveAlbumIndex) return;
  m_nActiveAlbumIndex = nIndex;
  GetProject()->Put_nActiveAlbumIndex(nIndex);
}

void AlbumEditorDlg::ApplyAlbumSelection(BOOL, BOOL) {
  GetProject()->Put_nActiveAlbumIndex(m_nActiveAlbumIndex);
  Invalidate();
}

CDVDAlbumImage* AlbumEditorDlg::GetCurrentImageAlbum() {
  CDVDProject* project = GetProject();
  if (m_nActiveAlbumIndex < 0 || m_nActiveAlbumIndex >= project->GetAlbumCount()) return nullptr;
  CDVDAlbumBase* album = project->GetAlbum(m_nActiveAlbumIndex);
  return album != nullptr && album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))
             ? static_cast<CDVDAlbumImage*>(album)
             : nullptr;
}

// The album sheet, its pages and the file dialogs of these commands come with the album pages.
void AlbumEditorDlg::RefreshOutputFormats() {}
void AlbumEditorDlg::SelectPropPage(int) {}
int AlbumEditorDlg::NewAlbum() {
  return 0;
}
int AlbumEditorDlg::AddPhotos() {
  return 0;
}
int AlbumEditorDlg::AddVideos() {
  return 0;
}
int AlbumEditorDlg::AddMusic() {
  return 0;
}
int AlbumEditorDlg::OnDeleteAlbum() {
  return 0;
}

LRESULT AlbumEditorDlg::OnProjectReloaded(WPARAM, LPARAM) {
  m_nActiveAlbumIndex = GetProject()->Get_nActiveAlbumIndex();
  Invalidate();
  return 1;
}

LRESULT AlbumEditorDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_ALBUM_EDITOR);
  Invalidate();
  return 1;
}
