#include "editing/RandomTransitionDlg.h"

#include <algorithm>
#include <vector>

#include "modules/data/DVDImage.h"
#include "platform/user/MessageBox.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"
#include "shell/TransitionList.h"

#define IDS_EMPTY_SUBSET_ALBUM 258
#define IDS_EMPTY_SUBSET_DEFAULT 259

namespace {

constexpr int kRowHeight = 34;
constexpr char kCaption[] = "Talvane Pictavo";

// The entry a row's item data names: the index modulo the list's count.
_tagTransitionEntry* EntryOf(DWORD_PTR data) {
  CTransitionEntryArray* transitions = GetTransitionList();
  const int count = static_cast<int>(transitions->GetSize());
  if (count == 0) return nullptr;
  const int index = static_cast<int>(data);
  return transitions->GetAt(((index % count) + count) % count);
}

CString RowText(CListBox& list, int row) {
  CString text;
  list.GetText(row, text);
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CRandomTransitionDlg, CDialog)
ON_LBN_SELCHANGE(IDC_RANDOM_SUBSET_LIST, OnSelChangeSubset)
ON_LBN_SELCHANGE(IDC_RANDOM_UNSELECTED_LIST, OnSelChangeUnselected)
ON_LBN_DBLCLK(IDC_RANDOM_UNSELECTED_LIST, OnAdd)
ON_LBN_DBLCLK(IDC_RANDOM_SUBSET_LIST, OnRemove)
ON_BN_CLICKED(IDC_RANDOM_ADD, OnAdd)
ON_BN_CLICKED(IDC_RANDOM_REMOVE, OnRemove)
ON_BN_CLICKED(IDC_RANDOM_ADD_ALL, OnAddAll)
ON_BN_CLICKED(IDC_RANDOM_REMOVE_ALL, OnRemoveAll)
END_MESSAGE_MAP()

CRandomTransitionDlg::CRandomTransitionDlg(int nMode, CWnd* pParent)
    : CDialog(IDD_RANDOM_TRANSITION, pParent),
      m_listSubset(GetTransitionList()),
      m_listUnselected(GetTransitionList()),
      m_preview(&m_clrPreview, 0),
      m_nMode(nMode) {}

CRandomTransitionDlg::~CRandomTransitionDlg() = default;

void CRandomTransitionDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SLIDE_DIALOG_BANNER, m_banner);
  DDX_Control(pDX, IDC_RANDOM_SUBSET_LIST, m_listSubset);
  DDX_Control(pDX, IDC_RANDOM_UNSELECTED_LIST, m_listUnselected);
  DDX_Check(pDX, IDC_RANDOM_DEFAULT, m_bDefault);
}

BOOL CRandomTransitionDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_RANDOM_TRANSITION);
  const CTransitionSettings& settings = GetAppSettings()->Transition;
  CTransitionEntryArray* transitions = GetTransitionList();
  for (int i = 0; i < transitions->GetSize(); ++i) {
    const CString& name = transitions->GetAt(i)->strName;
    bool inSubset = false;
    if (settings.TransitionName.GetSize() > 0) {
      for (int n = 0; n < settings.TransitionName.GetSize() && !inSubset; ++n)
        inSubset = settings.TransitionName[n].CompareNoCase(name) == 0;
    } else {
      // Nothing saved yet: every transition but the first (none) unless an empty subset was chosen.
      inSubset = !settings.EmptySubsetIsValid && i != 0;
    }
    CListBox& list = inSubset ? static_cast<CListBox&>(m_listSubset) : m_listUnselected;
    InsertRow(list, list.GetCount(), StripTransitionGroup(name), static_cast<DWORD_PTR>(i));
  }
  m_listSubset.SetCurSel(m_listSubset.GetCount() > 0 ? 0 : -1);
  m_listUnselected.SetCurSel(m_listUnselected.GetCount() > 0 ? 0 : -1);
  m_preview.SubclassDlgItem(IDC_TRANSITION_PREVIEW, this);
  if (m_nMode == 1) {
    SetDlgItemText(IDOK, "Ok");
    if (CWnd* check = GetDlgItem(IDC_RANDOM_DEFAULT)) check->ShowWindow(SW_HIDE);
  }
  m_bDefault = 1;
  UpdateData(FALSE);
  if (CSkinMinor* skin = GetSkinMinor()) m_banner.SetBitmap(skin->GetDialogHintBitmap(4));
  m_bInitializing = FALSE;
  UpdateOkButton();
  return TRUE;
}

void CRandomTransitionDlg::InsertRow(CListBox& list, int nAt, const CString& text, DWORD_PTR data) {
  const int row = list.InsertString(nAt, text);
  if (row < 0) return;
  list.SetItemData(row, data);
  list.SetItemHeight(row, kRowHeight);
}

void CRandomTransitionDlg::PlaySelected(CListBox& list) {
  if (m_bInitializing) return;
  const int row = list.GetCurSel();
  if (row < 0) return;
  if (_tagTransitionEntry* entry = EntryOf(list.GetItemData(row)))
    m_preview.PlayTransition(entry->pfnFactory);
}

void CRandomTransitionDlg::OnSelChangeSubset() {
  PlaySelected(m_listSubset);
}

void CRandomTransitionDlg::OnSelChangeUnselected() {
  PlaySelected(m_listUnselected);
}

void CRandomTransitionDlg::MoveSelected(CListBox& from, CListBox& to) {
  const int row = from.GetCurSel();
  if (row < 0) return;
  const CString text = RowText(from, row);
  const DWORD_PTR data = from.GetItemData(row);
  from.DeleteString(row);
  const int left = from.GetCount();
  from.SetCurSel(left == 0 ? -1 : std::min(row, left - 1));
  InsertRow(to, 0, text, data);
  to.SetCurSel(0);
  UpdateOkButton();
}

void CRandomTransitionDlg::MoveAll(CListBox& from, CListBox& to) {
  LockWindowUpdate();
  for (int row = from.GetCount() - 1; row >= 0; --row)
    InsertRow(to, 0, RowText(from, row), from.GetItemData(row));
  from.ResetContent();
  to.SetCurSel(to.GetCount() > 0 ? 0 : -1);
  UnlockWindowUpdate();
  UpdateOkButton();
}

void CRandomTransitionDlg::OnAdd() {
  MoveSelected(m_listUnselected, m_listSubset);
}

void CRandomTransitionDlg::OnRemove() {
  MoveSelected(m_listSubset, m_listUnselected);
}

void CRandomTransitionDlg::OnAddAll() {
  MoveAll(m_listUnselected, m_listSubset);
}

void CRandomTransitionDlg::OnRemoveAll() {
  MoveAll(m_listSubset, m_listUnselected);
}

void CRandomTransitionDlg::UpdateOkButton() {
  if (CWnd* ok = GetDlgItem(IDOK)) ok->EnableWindow(m_listSubset.GetCount() > 0);
}

int CRandomTransitionDlg::CollectSubset() {
  UpdateData(TRUE);
  m_arrSubset.RemoveAll();
  for (int row = 0; row < m_listSubset.GetCount(); ++row)
    if (_tagTransitionEntry* entry = EntryOf(m_listSubset.GetItemData(row))) m_arrSubset.Add(entry->strName);

  if (m_arrSubset.GetSize() == 0) {
    UINT question = 0;
    if (m_nMode == 1)
      question = IDS_EMPTY_SUBSET_DEFAULT;
    else if (m_bDefault)
      question = IDS_EMPTY_SUBSET_ALBUM;
    if (question != 0 &&
        ::MessageBox(m_hWnd, LoadLangString(question), kCaption, MB_YESNO | MB_ICONQUESTION) == IDNO)
      return 0;
  }

  // Random choices walk the subset in transition-list order.
  std::vector<unsigned> ids;
  for (int i = 0; i < m_arrSubset.GetSize(); ++i)
    ids.push_back(static_cast<unsigned>(CDVDImage::GetTransID(m_arrSubset[i], 0)));
  std::sort(ids.begin(), ids.end());
  CTransitionEntryArray* transitions = GetTransitionList();
  m_arrSubset.RemoveAll();
  for (unsigned id : ids)
    if (id < static_cast<unsigned>(transitions->GetSize()))
      m_arrSubset.Add(transitions->GetAt(static_cast<int>(id))->strName);

  if (m_nMode == 0 && !m_bDefault) return 1;
  CTransitionSettings& settings = GetAppSettings()->Transition;
  settings.TransitionName.Copy(m_arrSubset);
  settings.EmptySubsetIsValid = 1;
  settings.SaveTransitionSubset();
  CDVDImage::SetTransitionSubset(m_arrSubset);
  CDVDImage::SetEmptyTransitionSubsetIsValid(1);
  return 1;
}

void CRandomTransitionDlg::OnOK() {
  if (CollectSubset() == 0)
    CDialog::OnCancel();
  else
    CDialog::OnOK();
}
