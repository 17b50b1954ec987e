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

void DDX_SlideDurations(CDataExchange* pDX, int& nOne, int& nTwo, int& nAlbumOne, int& nAlbumTwo,
                        int& nRadio) {
  DDX_Text(pDX, IDC_SLIDE_TRANSITION_DURATION, nOne);
  DDX_Text(pDX, IDC_SLIDE_PHOTO_DURATION, nTwo);
  DDX_Text(pDX, IDC_SLIDE_ALBUM_TRANSITION, nAlbumOne);
  DDX_Text(pDX, IDC_SLIDE_ALBUM_PHOTO, nAlbumTwo);
  DDX_Radio(pDX, IDC_SLIDE_DURATION_ALBUM, nRadio);
}

int CheckedDurationRadio(CWnd& page) {
  return page.IsDlgButtonChecked(IDC_SLIDE_DURATION_CUSTOM) == BST_CHECKED ? slideedit::kCustom
                                                                           : slideedit::kAlbum;
}

void EnableCustomDurations(CWnd& page) {
  const BOOL custom = CheckedDurationRadio(page) == slideedit::kCustom;
  for (const int id : {IDC_SLIDE_TRANSITION_DURATION, IDC_SLIDE_TRANSITION_SPIN, IDC_SLIDE_TRANSITION_LABEL,
                       IDC_SLIDE_PHOTO_DURATION, IDC_SLIDE_PHOTO_SPIN, IDC_SLIDE_PHOTO_LABEL})
    if (CWnd* control = page.GetDlgItem(id)) control->EnableWindow(custom);
}

slideedit::DurationChoice LoadSlideDurations(const CDVDImage& slide, const CDVDAlbumImage* pAlbum,
                                             int& nAlbumOne, int& nAlbumTwo) {
  if (pAlbum != nullptr) {
    nAlbumOne = pAlbum->Get_nOneDuration(-1);
    nAlbumTwo = pAlbum->Get_nTwoDuration(-1);
  }
  return slideedit::LoadDurations(slide.Get_nOneDuration(), slide.Get_nTwoDuration(), pAlbum != nullptr,
                                  nAlbumOne, nAlbumTwo);
}

void StoreSlideDurations(CDVDImage& slide, const slideedit::DurationChoice& shown, bool bHasAlbum) {
  const slideedit::DurationChoice stored = slideedit::StoredDurations(shown, bHasAlbum);
  slide.Put_nOneDuration(stored.one);
  slide.Put_nTwoDuration(stored.two);
}

void PlaySelectedTransition(const CComboBox& combo, CTransitionPreviewStatic& preview) {
  const int entry = combo.GetCurSel();
  CTransitionEntryArray* transitions = GetTransitionList();
  if (entry >= 0 && entry < transitions->GetSize())
    preview.PlayTransition(transitions->GetAt(entry)->pfnFactory);
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
  DDX_SlideDurations(pDX, m_nCustomOne, m_nCustomTwo, m_nAlbumOne, m_nAlbumTwo, m_nRadio);
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
  const slideedit::DurationChoice shown =
      LoadSlideDurations(*m_pImage, m_pImage->GetAlbum(), m_nAlbumOne, m_nAlbumTwo);
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
  EnableCustomDurations(*this);
}

void CTransitionOptionsDlg::OnDurationRadio() {
  m_nRadio = CheckedDurationRadio(*this);
  EnableCustom();
}

void CTransitionOptionsDlg::OnPreview() {
  PlaySelectedTransition(m_comboTransition, m_preview);
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
  StoreSlideDurations(*m_pImage, {m_nRadio, m_nCustomOne, m_nCustomTwo}, m_pImage->GetAlbum() != nullptr);
  const int entry = m_comboTransition.GetCurSel();
  CTransitionEntryArray* transitions = GetTransitionList();
  if (entry >= 0 && entry < transitions->GetSize())
    m_pImage->Set_strTransName(transitions->GetAt(entry)->strName);
}
