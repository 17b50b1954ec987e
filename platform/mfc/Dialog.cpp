// CDialog: creation from templates, the modal loop and the standard buttons.
#include "platform/mfc/Dialog.h"

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
  return dialog ? dialog->OnInitDialog() : TRUE;
}

CDialog::CDialog() = default;

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

const pictavo::res::DialogTemplate* CDialog::FindTemplate(HINSTANCE* hInst) const {
  if (m_lpDialogTemplate) {
    *hInst = AfxGetResourceHandle();
    return m_lpDialogTemplate;
  }
  *hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
  return pictavo::res::FindDialog(*hInst, m_lpszTemplateName);
}

BOOL CDialog::CreateFromTemplate(const pictavo::res::DialogTemplate* dialogTemplate, CWnd* pParentWnd,
                                 HINSTANCE hInst) {
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  pictavo::mfc::BeginCreateHook(this);
  HWND hWnd = ::CreateDialogIndirectParam(hInst, dialogTemplate, pParentWnd->GetSafeHwnd(), AfxDlgProc, 0);
  if (!pictavo::mfc::EndCreateHook()) PostNcDestroy();
  // EndDialog in OnInitDialog ends the dialog before it is shown.
  if (hWnd && !(m_nFlags & WF_CONTINUEMODAL)) {
    ::DestroyWindow(hWnd);
    hWnd = nullptr;
  }
  return hWnd != nullptr;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  HINSTANCE hInst = nullptr;
  const pictavo::res::DialogTemplate* t = FindTemplate(&hInst);
  if (!t) return FALSE;
  return CreateFromTemplate(t, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void*) {
  if (!lpDialogTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  return CreateFromTemplate(lpDialogTemplate, pParentWnd, AfxGetResourceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void*) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_lpszTemplateName = nullptr;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

HWND CDialog::PreModal() {
  HWND hWnd = m_pParentWnd->GetSafeHwnd();
  if (!hWnd) {
    CWnd* mainWnd = AfxGetMainWnd();
    hWnd = mainWnd != this ? mainWnd->GetSafeHwnd() : nullptr;
    if (hWnd) hWnd = ::GetLastActivePopup(hWnd);
  }
  // A pop-up cannot be owned by a child window.
  while (hWnd && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  return hWnd;
}

void CDialog::PostModal() {
  m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE hInst = nullptr;
  const pictavo::res::DialogTemplate* t = FindTemplate(&hInst);
  if (!t) return -1;
  HWND parent = PreModal();
  struct OwnerDisabled {
    HWND owner = nullptr;
    void Enable() {
      if (owner) ::EnableWindow(owner, TRUE);
      owner = nullptr;
    }
    ~OwnerDisabled() { Enable(); }
  } disabled;
  if (parent && parent != ::GetDesktopWindow() && ::IsWindowEnabled(parent)) {
    ::EnableWindow(parent, FALSE);
    disabled.owner = parent;
  }
  if (CreateFromTemplate(t, CWnd::FromHandle(parent), hInst) && (m_nFlags & WF_CONTINUEMODAL)) {
    DWORD flags = MLF_SHOWONIDLE;
    if (GetStyle() & DS_NOIDLEMSG) flags |= MLF_NOIDLEMSG;
    RunModalLoop(flags);
  }
  // The owner comes back before the dialog goes, so activation returns to it.
  disabled.Enable();
  if (m_hWnd) DestroyWindow();
  PostModal();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}

void CDialog::NextDlgCtrl() const {
  SendMessage(WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
  SendMessage(WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), 1);
}

void CDialog::SetDefID(UINT nID) {
  SendMessage(DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const {
  return static_cast<DWORD>(SendMessage(DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT lpRect) const {
  ::MapDialogRect(m_hWnd, lpRect);
}

BOOL CDialog::OnInitDialog() {
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnSetFont(CFont*) {}

void CDialog::PreInitDialog() {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  return Default();
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
  OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
  return Default();
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;  // the failing control has the focus, the user was told
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  return PreTranslateInput(pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Commands (not control notifications, not system commands) go on to the thread's object.
  const UINT code = static_cast<UINT>(nCode);
  if ((code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI) || !(nID & 0x8000) || nID >= 0xF000) return FALSE;
  CWinThread* thread = AfxGetThread();
  return thread ? thread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
}

BOOL CDialog::CheckAutoCenter() {
  return (GetStyle() & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0;
}
