#include "editing/TransitionOptionsDlg.h"

#include "editing/SlideEditRules.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"
#include "shell/TransitionList.h"

void FillTransitionCombo(CComboBox& combo) {
  combo.ResetContent();
  CTransitionEntryArray* transitions = GetTransitionList();
  for (int i = 0; i < transitions->GetSize(); ++i)
    combo.AddString(slideedit::ComboName(transitions->GetAt(i)->strName));
}

int FindTransitionEntry(const CString& name) {
  if (name.IsEmpty()) return -1;
  CTransitionEntryArray* transitions = GetTransitionList();
  for (int i = 0; i < transitions->GetSize(); ++i)
    if (transitions->GetAt(i)->strName.CompareNoCase(name) == 0) return i;
  return -1;
}

void FixZeroCustomDurations(CWnd& page, int& nOne, int& nTwo) {
  BOOL okOne = FALSE, okTwo = FALSE;
  const int one = static_cast<int>(page.GetDlgItemInt(IDC_SLIDE_TRANSITION_DURATION, &okOne, FALSE));
  int two = static_cast<int>(page.GetDlgItemInt(IDC_SLIDE_PHOTO_DURATION, &okTwo, FALSE));
  if (!okOne || !okTwo) return;
  nOne = one;
  if (slideedit::FixZeroDurations(one, two)) page.SetDlgItemInt(IDC_SLIDE_PHOTO_DURATION, two, FALSE);
  nTwo = two;
}

BEGIN_MESSAGE_MAP(CTransitionOptionsDlg, CDialog)
ON_BN_CLICKED(IDC_SLIDE_DURATION_ALBUM, OnDurationRadio)
ON_BN_CLICKED(IDC_SLIDE_DURATION_CUSTOM, OnDurationRadio)
ON_BN_CLICKED(IDC_SLIDE_TRANSITION_PREVIEW_BUTTON, OnPreview)
ON_CBN_SELCHANGE(IDC_SLIDE_TRANSITION_COMBO, OnPreview)
ON_EN_CHANGE(IDC_SLIDE_TRANSITION_DURATION, OnDurationChange)
ON_EN_CHANGE(IDC_SLIDE_PHOTO_DURATION, OnDurationChange)
END_MESSAGE_MAP()

CTransitionOptionsDlg::CTransitionOptionsDlg(CDVDImage* pImage, CWnd* pParent)
    : CDialog(IDD_TRANSITION_OPTIONS, pParent), m_pImage(pImage), m_preview(&m_clrPreview, 0) {}

CTransitionOptionsDlg::~CTransitionOptionsDlg() = default;

void CTransitionOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SLIDE_DIALOG_BANNER, m_banner);
  DDX_Control(pDX, IDC_SLIDE_TRANSITION_COMBO, m_comboTransition);
  DDX_Control(pDX, IDC_SLIDE_TRANSITION_SPIN, m_spinTransition);
  DDX_Control(pDX, IDC_SLIDE_PHOTO_SPIN, m_spinPhoto);
  DDX_Text(pDX, IDC_SLIDE_TRANSITION_DURATION, m_nCustomOne);
  DDX_Text(pDX, IDC_SLIDE_PHOTO_DURATION, m_nCustomTwo);
  DDX_Radio(pDX, IDC_SLIDE_DURATION_ALBUM, m_nRadio);
  DDX_Text(pDX, IDC_SLIDE_ALBUM_TRANSITION, m_nAlbumOne);
  DDX_Text(pDX, IDC_SLIDE_ALBUM_PHOTO, m_nAlbumTwo);
}

BOOL CTransitionOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_TRANSITION_OPTIONS);
  if (m_pImage == nullptr) return FALSE;
  m_spinTransition.SendMessage(UDM_SETRANGE32, 0, 99);
  m_spinPhoto.SendMessage(UDM_SETRANGE32, 0, 99);
  FillTransitionCombo(m_comboTransition);
  const int entry = FindTransitionEntry(m_pImage->Get_strTransName());
  m_comboTransition.SetCurSel(entry >= 0 ? entry : 0);
  m_preview.SubclassDlgItem(IDC_TRANSITION_PREVIEW, this);
  Load();
  if (CSkinMinor* skin = GetSkinMinor()) m_banner.SetBitmap(skin->GetDialogHintBitmap(3));
  m_bInitializing = FALSE;
  return TRUE;
}

void CTransitionOptionsDlg::Load() {
  const CDVDAlbumImage* album = m_pImage->GetAlbum();
  if (album != nullptr) {
    m_nAlbumOne = album->Get_nOneDuration(-1);
    m_nAlbumTwo = album->Get_nTwoDuration(-1);
  }
  const slideedit::DurationChoice shown = slideedit::LoadDurations(
      m_pImage->Get_nOneDuration(), m_pImage->Get_nTwoDuration(), album != nullptr, m_nAlbumOne, m_nAlbumTwo);
  m_nRadio = shown.radio, m_nCustomOne = shown.one, m_nCustomTwo = shown.two;
  const CString& name = m_pImage->Get_strTransName();
  const int entry = FindTransitionEntry(name);
  if (name.IsEmpty())
    m_comboTransition.SetCurSel(0);
  else if (entry >= 0)
    m_comboTransition.SetCurSel(entry);
  UpdateData(FALSE);
  EnableCustom();
}

void CTransitionOptionsDlg::EnableCustom() {
  const BOOL custom = IsDlgButtonChecked(IDC_SLIDE_DURATION_CUSTOM) == BST_CHECKED;
  for (const int id : {IDC_SLIDE_TRANSITION_DURATION, IDC_SLIDE_TRANSITION_SPIN, IDC_SLIDE_TRANSITION_LABEL,
                       IDC_SLIDE_PHOTO_DURATION, IDC_SLIDE_PHOTO_SPIN, IDC_SLIDE_PHOTO_LABEL})
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(custom);
}

void CTransitionOptionsDlg::OnDurationRadio() {
  m_nRadio =
      IsDlgButtonChecked(IDC_SLIDE_DURATION_CUSTOM) == BST_CHECKED ? slideedit::kCustom : slideedit::kAlbum;
  EnableCustom();
}

void CTransitionOptionsDlg::OnPreview() {
  const int entry = m_comboTransition.GetCurSel();
  CTransitionEntryArray* transitions = GetTransitionList();
  if (entry >= 0 && entry < transitions->GetSize())
    m_preview.PlayTransition(transitions->GetAt(entry)->pfnFactory);
}

void CTransitionOptionsDlg::OnDurationChange() {
  if (m_bInitializing) return;
  FixZeroCustomDurations(*this, m_nCustomOne, m_nCustomTwo);
}

void CTransitionOptionsDlg::OnOK() {
  // The values are read before the dialog ends; a field that is not a number keeps it open.
  if (!UpdateData(TRUE)) return;
  CDialog::OnOK();
  Save();
}

void CTransitionOptionsDlg::Save() {
  if (m_pImage == nullptr) return;
  const slideedit::DurationChoice stored =
      slideedit::StoredDurations({m_nRadio, m_nCustomOne, m_nCustomTwo}, m_pImage->GetAlbum() != nullptr);
  m_pImage->Put_nOneDuration(stored.one);
  m_pImage->Put_nTwoDuration(stored.two);
  const int entry = m_comboTransition.GetCurSel();
  CTransitionEntryArray* transitions = GetTransitionList();
  if (entry >= 0 && entry < transitions->GetSize())
    m_pImage->Set_strTransName(transitions->GetAt(entry)->strName);
}
