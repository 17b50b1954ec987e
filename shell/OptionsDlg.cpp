#include "shell/OptionsDlg.h"

#include "shell/LanguageFile.h"

namespace {

// Category names and page titles, in page order; the language file's dictionary translates them.
struct Category {
  const char* name;
  const char* title;
};
const Category kCategories[] = {{"General", "Gerneral options"}, {"Album Default", "Album Default Options"}};

constexpr int kCategoryListWidth = 104;

}  // namespace

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
ON_LBN_SELCHANGE(IDC_OPTIONS_CATEGORIES, OnSelChangeCategory)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

COptionsDlg::COptionsDlg(CWnd* pParent) : CDialog(IDD_OPTIONS, pParent) {}

void COptionsDlg::FillCategories() {
  const int selected = m_categories.GetCurSel();
  m_categories.ResetContent();
  m_arrTitles.RemoveAll();
  for (int i = 0; i < 2; ++i) {
    const int item = m_categories.AddString(TranslateDictionaryWord(kCategories[i].name));
    m_categories.SetItemData(item, static_cast<DWORD_PTR>(i));
    m_arrTitles.Add(TranslateDictionaryWord(kCategories[i].title));
  }
  if (selected >= 0) m_categories.SetCurSel(selected);
}

BOOL COptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_banner.SubclassDlgItem(IDC_OPTIONS_BANNER, this);
  m_categories.SubclassDlgItem(IDC_OPTIONS_CATEGORIES, this);
  TranslateDialog(m_hWnd, IDD_OPTIONS);
  m_categories.LoadImages();
  FillCategories();
  CRect list;
  m_categories.GetWindowRect(&list);
  m_categories.SetWindowPos(nullptr, 0, 0, kCategoryListWidth, list.Height(), SWP_NOMOVE | SWP_NOZORDER);
  CreatePages();
  ShowPage(0);
  m_categories.SetCurSel(0);
  return TRUE;
}

void COptionsDlg::CreatePages() {
  m_albumPage.Create(IDD_ALBUM_DEFAULT_OPTIONS, this);
  m_generalPage.Create(IDD_GENERAL_OPTIONS, this);
  CWnd* area = GetDlgItem(IDC_OPTIONS_PAGE_AREA);
  if (area == nullptr) return;
  CRect place;
  area->GetClientRect(&place);
  area->ClientToScreen(&place);
  ScreenToClient(&place);
  for (CWnd* page : {static_cast<CWnd*>(&m_albumPage), static_cast<CWnd*>(&m_generalPage)})
    page->SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void COptionsDlg::ShowPage(int n) {
  m_generalPage.ShowWindow(SW_HIDE);
  m_albumPage.ShowWindow(SW_HIDE);
  if (n != 0 && n != 1) return;
  (n == 0 ? static_cast<CWnd&>(m_generalPage) : static_cast<CWnd&>(m_albumPage)).ShowWindow(SW_SHOW);
  m_banner.SetTitle(m_arrTitles[n]);
}

int COptionsDlg::GetShownPage() const {
  if (m_generalPage.IsWindowVisible()) return 0;
  if (m_albumPage.IsWindowVisible()) return 1;
  return -1;
}

void COptionsDlg::OnSelChangeCategory() {
  const int selected = m_categories.GetCurSel();
  if (selected < 0) return;
  ShowPage(selected);
}

void COptionsDlg::OnOK() {
  // Both pages are checked before either stores anything, so a value the user must correct
  // never leaves half of the options written.
  for (int page : {0, 1}) {
    CDialog& dialog = page == 0 ? static_cast<CDialog&>(m_generalPage) : static_cast<CDialog&>(m_albumPage);
    if (!dialog.UpdateData(TRUE)) {
      ShowPage(page);
      m_categories.SetCurSel(page);
      return;
    }
  }
  m_generalPage.OnOK();
  m_albumPage.OnOK();
  EndDialog(IDOK);
}

LRESULT COptionsDlg::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
  TranslateDialog(m_hWnd, IDD_OPTIONS);
  FillCategories();
  const int shown = GetShownPage();
  if (shown >= 0) m_banner.SetTitle(m_arrTitles[shown]);
  m_categories.Invalidate();
  for (CWnd* page : {static_cast<CWnd*>(&m_generalPage), static_cast<CWnd*>(&m_albumPage)})
    if (::IsWindow(page->GetSafeHwnd())) page->SendMessage(WM_LANGUAGE_CHANGED, wParam, lParam);
  return 0;
}
