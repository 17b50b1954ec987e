#include "shell/AboutDlg.h"

#include "controls/MessageDialogs.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

namespace {

// The strip under the picture that holds the buttons.
constexpr int kButtonStripHeight = 46;

// The picture one pixel below the top edge, the buttons in a row 10 pixels under it, right
// aligned with 12 pixels between them and 30 to the right edge.
_tagLayoutRow g_aboutLayout[18];
const LayoutRowInit kAboutRows[18] = {
    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 1},
    {LAYOUT_TOFIT, IDC_ABOUT_PICTURE, 0},
    {LAYOUT_ROWS | LAYOUT_REST, 0, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 10},
    {LAYOUT_COLUMNS | LAYOUT_TOFIT, 0, 0},
    {LAYOUT_REST, 0, 0},
    {LAYOUT_TOFIT, IDC_ABOUT_LEGAL_NOTICE, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 12},
    {LAYOUT_TOFIT, IDC_ABOUT_CREDITS, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 12},
    {LAYOUT_TOFIT, IDOK, 0},
    {LAYOUT_FIXED, LAYOUT_NO_WINDOW, 30},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_REST, 0, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow* AboutLayout() {
  static const bool initialised = (InitLayoutRows(g_aboutLayout, kAboutRows), true);
  (void)initialised;
  return g_aboutLayout;
}

}  // namespace

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_BN_CLICKED(IDC_ABOUT_LEGAL_NOTICE, OnLegalNotice)
ON_WM_SIZE()
ON_BN_CLICKED(IDC_ABOUT_CREDITS, OnCredits)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX), m_layout(AboutLayout()) {}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ABOUTBOX);
  if (!LoadResourceBitmap(&m_bitmap, IDB_PRODUCT_PICTURE)) return FALSE;
  BITMAP bm{};
  m_bitmap.GetBitmap(&bm);
  if (CWnd* frame = GetDlgItem(IDC_ABOUT_PICTURE))
    frame->SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  m_layout.CaptureToFitSizes(this);
  CRect rc(0, 0, bm.bmWidth, bm.bmHeight + kButtonStripHeight);
  CalcWindowRect(&rc);
  MoveWindow(&rc, TRUE);
  CenterWindow();
  SetTitle();
  PostMessage(WM_SIZE, 0, MAKELPARAM(bm.bmWidth, bm.bmHeight + kButtonStripHeight));
  return TRUE;
}

void CAboutDlg::SetTitle() {
  CString title;
  GetWindowText(title);
  SetWindowText(title + " " + GetProductTitle());
}

void CAboutDlg::OnPaint() {
  CPaintDC dc(this);
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap* old = memory.SelectObject(&m_bitmap);
  CRect client;
  GetClientRect(&client);
  // Without a picture the area keeps the dialog's own face, not a block of whatever the DC held.
  if (m_bitmap.GetSafeHandle() != nullptr)
    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  memory.DeleteDC();
}

void CAboutDlg::OnLButtonDown(UINT, CPoint) {}

void CAboutDlg::OnLegalNotice() {
  CLegalNoticeDlg dialog(nullptr);
  dialog.DoModal();
}

void CAboutDlg::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
}

void CAboutDlg::OnCredits() {
  CCreditsDlg dialog(nullptr);
  dialog.DoModal();
}

LRESULT CAboutDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_ABOUTBOX);
  if (m_bitmap.GetSafeHandle() != nullptr) SetTitle();
  return 1;
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCreditsDlg, CDialog)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CCreditsDlg::CCreditsDlg(CWnd* pParent) : CDialog(IDD_CREDITS, pParent) {}

void CCreditsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CREDITS_TEXT, m_edit);
}

BOOL CCreditsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_CREDITS);
  if (auto* main = dynamic_cast<CMainDlg*>(AfxGetMainWnd())) main->FillTranslatorCredits(&m_edit);
  return TRUE;
}

LRESULT CCreditsDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_CREDITS);
  return 1;
}

// ---------------------------------------------------------------------------------------------

void LogDiskSpace(CDVDProject* pProject, LPCTSTR lpszPrefix) {
  const CString folder = pProject->Get_strTempFilePath();
  ULONGLONG total = 0;
  ULONGLONG free = 0;
  if (!GetDiskFreeSpaceInfo(folder, &total, &free)) total = free = 0;
  const auto megabytes = [](ULONGLONG bytes) {
    return FormatThousands(static_cast<UINT>(static_cast<LONGLONG>(bytes) / 1024 / 1024));
  };
  WriteLog("%s Hard Disk Space: Total:%sMB, Free:%sMB in %s", lpszPrefix, megabytes(total).GetString(),
           megabytes(free).GetString(), folder.GetString());
}

CDiskSpaceLogger::CDiskSpaceLogger() {
  LogDiskSpace(GetProject(), "Enter:");
}

CDiskSpaceLogger::~CDiskSpaceLogger() {
  LogDiskSpace(GetProject(), "Exit:");
}
