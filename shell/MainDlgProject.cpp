// The main window's File commands: New, Open, Save, Save As, Exit, the save question that guards
// them, the window title, the project named on the command line or handed over by a second
// copy, and the progress popup while the data model reads or writes a project file.
#include <cstring>

#include "albums/AlbumEditorDlg.h"
#include "controls/MessageDialogs.h"
#include "controls/ProgressWnd.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/comdlg/CommonDialogs.h"
#include "shell/AlbumPageServices.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SlideshowApp.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDS_UNTITLED = 142;
constexpr UINT IDS_TITLE_FORMAT = 143;
constexpr UINT IDS_SAVE_MODIFIED = 151;
constexpr UINT IDS_SAVE_FAILED = 266;
constexpr UINT IDS_PROCESSING_PROJECT = 57533;
constexpr UINT_PTR kHandOverTimer = 0x2A83;
constexpr UINT kHandOverRetryMs = 200;
// The longest path a second copy may hand over, terminator included.
constexpr DWORD kMaxHandOverBytes = 32768;

// Marks the main window busy with a project file for the life of the object.
class ProjectWork {
 public:
  explicit ProjectWork(int& counter) : m_counter(counter) { ++m_counter; }
  ~ProjectWork() { --m_counter; }
  ProjectWork(const ProjectWork&) = delete;
  ProjectWork& operator=(const ProjectWork&) = delete;

 private:
  int& m_counter;
};

}  // namespace

void CMainDlg::BroadcastPrepareSave(BOOL bKeepAlbum) {
  SendMessageToDescendants(WM_PREPARE_PROJECT_SAVE, bKeepAlbum ? 0 : 1, 0, TRUE);
}

bool CMainDlg::SaveProjectFileTo(const CString& path, bool bLog) {
  ProjectWork work(m_nProjectWork);
  EnableProjectProgress(TRUE, "Save project file...");
  theApp.SetBusy(TRUE);
  if (bLog) WriteLog("Save project file: %s", path.GetString());
  const BOOL saved = GetProject()->SaveToFile(path);
  if (!saved) {
    WriteErrorLog("Save project file failed: %s", CDVDProject::GetLastFileError().GetString());
    AfxMessageBox(LoadLangString(IDS_SAVE_FAILED), MB_ICONHAND);
  }
  theApp.SetBusy(FALSE);
  theApp.FlushInputMessages();
  return saved != FALSE;
}

int CMainDlg::SaveModified(BOOL bCheck, BOOL bAsk, BOOL bKeepAlbum) {
  BroadcastPrepareSave(bKeepAlbum);
  CDVDProject* project = GetProject();
  SaveQuestionFacts facts;
  facts.check = bCheck;
  facts.ask = bAsk;
  facts.dirty = project->Get_bDirty();
  facts.path = theApp.GetProjectPath();
  facts.tempPath = theApp.GetTempProjectPath();
  facts.images = project->GetTotalImages();
  facts.clips = project->GetTotalVidepClips();

  SaveQuestionActions actions;
  actions.askToSave = [] { return AfxMessageBox(LoadLangString(IDS_SAVE_MODIFIED), MB_YESNOCANCEL); };
  actions.choosePath = [](CString& path) { return theApp.ChooseProjectSavePath(path) != FALSE; };
  actions.saveTo = [this](const CString& path) { return SaveProjectFileTo(path, true); };
  actions.adopt = [](const CString& path) {
    SetProjectFileName(path);
    theApp.AddCurrentProjectToRecent();
  };
  const int result = RunSaveQuestion(facts, actions);
  UpdateWindowTitle();
  return result;
}

int CMainDlg::SaveProject() {
  int result = 1;
  if (!theApp.GetProjectPath().IsEmpty()) {
    result = SaveModified(1, 0, 1);
    if (result == IDNO) result = IDCANCEL;
  } else if (theApp.GetTempProjectPath().IsEmpty()) {
    const CString file = TempProjectFileName(GetProject()->Get_strTempFilePath());
    BroadcastPrepareSave(FALSE);
    if (SaveProjectFileTo(file, true)) {
      theApp.SetTempProjectPath(file);
      theApp.AddRecentProject(file);
    }
  } else {
    const CString file = theApp.GetTempProjectPath();
    if (SaveProjectFileTo(file, false)) theApp.AddRecentProject(file);
  }
  UpdateWindowTitle();
  return result;
}

void CMainDlg::UpdateWindowTitle() {
  CString name = ProjectTitleName(theApp.GetProjectPath());
  if (name.IsEmpty()) name = LoadLangString(IDS_UNTITLED);
  CString title;
  title.Format(LoadLangString(IDS_TITLE_FORMAT), name.GetString(), GetProductTitle().GetString());
  SetWindowText(title);
}

void CMainDlg::EnableProjectProgress(BOOL bEnable, const char* lpszCaption) {
  m_strProgressCaption = lpszCaption != nullptr ? lpszCaption : "";
  CDVDProject::g_m_readwrite_callback = bEnable ? &CMainDlg::ProjectProgressCallback : nullptr;
  CDVDProject::g_m_readwrite_callback_userdata = bEnable ? this : nullptr;
  StartTickCount();
}

void CMainDlg::EnableProjectProgressById(BOOL bEnable, UINT nStringID) {
  if (nStringID == 0) {
    EnableProjectProgress(bEnable, nullptr);
    return;
  }
  const CString caption = LoadLangString(nStringID);
  EnableProjectProgress(bEnable, caption);
}

int CMainDlg::ProjectProgressCallback(void* pUserData, float fraction) {
  auto* dlg = static_cast<CMainDlg*>(pUserData);
  if (dlg == nullptr) return 0;
  const bool finished = ProjectProgressFinished(fraction);
  if (dlg->m_pProgressWnd == nullptr) {
    // Short reads and writes never show a popup.
    if (GetElapsedTicks(FALSE) <= kProjectProgressDelayMs) return 0;
    dlg->m_pProgressWnd = new CLoadProgressWnd(nullptr, dlg->m_strProgressCaption, TRUE, FALSE);
    dlg->m_pProgressWnd->ShowModal("Progress");
    dlg->m_pProgressWnd->SetRange(0, 1000, 1);
    dlg->m_pProgressWnd->SetText(LoadLangString(IDS_PROCESSING_PROJECT));
  }
  dlg->m_pProgressWnd->SetPos(ProjectProgressPosition(fraction));
  dlg->m_pProgressWnd->PumpMessages(TRUE);
  if (finished) {
    if (dlg->m_pProgressWnd->GetSafeHwnd() != nullptr) dlg->m_pProgressWnd->DestroyWindow();
    delete dlg->m_pProgressWnd;
    dlg->m_pProgressWnd = nullptr;
  }
  return 0;
}

void CMainDlg::ResetAlbumSelection(bool bClearActive) {
  AlbumEditorDlg* editor = m_pPageEditor->GetAlbumEditor();
  if (editor->GetSafeHwnd() == nullptr) return;
  if (bClearActive) editor->SetActiveAlbumIndex(-1);
  editor->ApplyAlbumSelection(1, 1);
}

bool CMainDlg::OpenThroughEditor(const CString& path, CStringArray& missingFiles) {
  ProjectWork work(m_nProjectWork);
  EnableProjectProgress(TRUE, "Open project file...");
  theApp.SetBusy(TRUE);
  const bool opened = m_pPageEditor->OpenProject(path, missingFiles) != FALSE;
  // A file that could not be read leaves the current project and its path alone, so a later
  // Save never writes the project over the file that failed to open.
  if (opened) SetProjectFileName(path);
  theApp.SetBusy(FALSE);
  theApp.FlushInputMessages();
  if (opened) theApp.AddCurrentProjectToRecent();
  return opened;
}

void CMainDlg::ShowMissingFiles(CStringArray& missingFiles) {
  if (missingFiles.GetSize() == 0) return;
  CMissingFilesDlg dialog;
  dialog.SetFileList(&missingFiles);
  dialog.DoModal();
}

void CMainDlg::OnFileNew() {
  if (SaveModified(1, 1, 0) == IDCANCEL) {
    ResetAlbumSelection(true);
    return;
  }
  m_pPageEditor->NewProject();
  SetProjectFileName("");
  UpdateWindowTitle();
  SetTvAspect(GetProject()->GetOptionsData()->nAspectCorrection, FALSE);
  PostProjectReloaded();
  GetProject()->ClearAllDirty();
  UpdateStatusText();
}

void CMainDlg::OnFileOpen() {
  if (SaveModified(1, 1, 1) == IDCANCEL) {
    ResetAlbumSelection(false);
    return;
  }
  CString filter;
  filter.Format("All Supported Project File(%s)|%s||", "*.r7m;*.jvk;*.zel;*.xqd;*.ytw;*.qvn",
                "*.r7m;*.jvk;*.zel;*.xqd;*.ytw;*.qvn");
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER, filter);
  dialog.m_ofn.lStructSize = GetOpenFileNameSize();
  if (dialog.DoModal() == IDOK) {
    CStringArray missingFiles;
    OpenThroughEditor(dialog.GetPathName(), missingFiles);
    ShowMissingFiles(missingFiles);
  }
  UpdateWindowTitle();
  m_pPageEditor->PostMessage(WM_PROJECT_RELOADED, 1, 0);
  SetTvAspect(GetProject()->GetOptionsData()->nAspectCorrection, FALSE);
  UpdateStatusText();
}

void CMainDlg::OpenProjectFile(const char* lpszPath) {
  if (lpszPath == nullptr || *lpszPath == '\0') return;
  const CString path = lpszPath;  // the caller's buffer may not outlive the dialogs below
  if (SaveModified(1, 1, 0) == IDCANCEL) {
    ResetAlbumSelection(true);
    return;
  }
  CStringArray missingFiles;
  const bool opened = OpenThroughEditor(path, missingFiles);
  UpdateWindowTitle();
  m_pPageEditor->PostMessage(WM_PROJECT_RELOADED, 1, 0);
  ShowMissingFiles(missingFiles);
  SetTvAspect(GetProject()->GetOptionsData()->nAspectCorrection, FALSE);
  UpdateStatusText();
  if (opened) GetProject()->ClearAllDirty();
}

void CMainDlg::OnFileSave() {
  SaveModified(0, 1, 1);
  UpdateWindowTitle();
}

void CMainDlg::OnFileSaveAs() {
  BroadcastPrepareSave(TRUE);
  CString path;
  if (!theApp.ChooseProjectSavePath(path)) return;
  if (SaveProjectFileTo(path, false)) {
    SetProjectFileName(path);
    theApp.AddCurrentProjectToRecent();
  }
  UpdateWindowTitle();
}

void CMainDlg::OnFileExit() {
  if (SaveModified(1, 1, 1) == IDCANCEL) return;
  SaveWindowState();
  EndDialog(1);
}

void CMainDlg::OnResetRecentFiles() {
  theApp.ResetRecentFileList();
}

LRESULT CMainDlg::OnOpenCommandLine(WPARAM, LPARAM) {
  CSlideshowCommandLineInfo info;
  theApp.ParseCommandLine(info);
  if (!info.m_strFileName.IsEmpty()) OpenProjectFile(info.m_strFileName);
  return 1;
}

BOOL CMainDlg::OnCopyData(CWnd*, COPYDATASTRUCT* pCopyDataStruct) {
  // Another process's bytes: a path only when it ends within the bytes sent.
  if (pCopyDataStruct == nullptr || pCopyDataStruct->lpData == nullptr || pCopyDataStruct->cbData == 0 ||
      pCopyDataStruct->cbData > kMaxHandOverBytes)
    return TRUE;
  const auto* bytes = static_cast<const char*>(pCopyDataStruct->lpData);
  const size_t length = strnlen(bytes, pCopyDataStruct->cbData);
  if (length == pCopyDataStruct->cbData || length == 0) {
    WriteErrorLog("A path handed over by another copy was refused: it is not a terminated text.");
    return TRUE;
  }
  // The other copy waits for this answer: the project opens once this window is back in its
  // own loop, never under a dialog that happens to be open now.
  m_strPendingHandOver = CString(std::string(bytes, length).c_str());
  m_bHandOverWaitLogged = false;
  WriteLog("Project file handed over by another copy: %s", m_strPendingHandOver.GetString());
  SetTimer(kHandOverTimer, kHandOverRetryMs, nullptr);
  return TRUE;
}

void CMainDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kHandOverTimer) {
    OpenPendingHandOver();
    return;
  }
  CDialog::OnTimer(nIDEvent);
}

void CMainDlg::OpenPendingHandOver() {
  // A modal dialog disables this window; a project read or write pumps messages itself.
  if (m_strPendingHandOver.IsEmpty()) {
    KillTimer(kHandOverTimer);
    return;
  }
  if (!IsWindowEnabled() || m_nProjectWork > 0) {
    if (!m_bHandOverWaitLogged) WriteLog("The handed-over project waits until no dialog is open.");
    m_bHandOverWaitLogged = true;
    return;
  }
  KillTimer(kHandOverTimer);
  const CString path = m_strPendingHandOver;
  m_strPendingHandOver.Empty();
  OpenProjectFile(path);
}
