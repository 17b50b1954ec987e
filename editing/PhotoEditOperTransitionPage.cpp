#include "editing/PhotoEditOperTransitionPage.h"

#include "editing/SlideEditRules.h"
#include "editing/TransitionOptionsDlg.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "shell/LanguageFile.h"
#include "shell/TransitionList.h"
#include "shell/UIHelpers.h"

BEGIN_MESSAGE_MAP(CPhotoEditOperTransitionPage, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_BN_CLICKED(IDC_SLIDE_DURATION_ALBUM, OnChoice)
ON_BN_CLICKED(IDC_SLIDE_DURATION_CUSTOM, OnChoice)
ON_BN_CLICKED(IDC_SLIDE_TRANSITION_PREVIEW_BUTTON, OnPreview)
ON_CBN_SELCHANGE(IDC_SLIDE_TRANSITION_COMBO, OnSelChangeTransition)
ON_EN_CHANGE(IDC_SLIDE_TRANSITION_DURATION, OnDurationChange)
ON_EN_CHANGE(IDC_SLIDE_PHOTO_DURATION, OnDurationChange)
END_MESSAGE_MAP()

CPhotoEditOperTransitionPage::CPhotoEditOperTransitionPage()
    : CPropertyPage(IDD_PHOTO_EDIT_TRANSITION), m_preview(&m_clrBackground, 0) {}

CPhotoEditOperTransitionPage::~CPhotoEditOperTransitionPage() = default;

void CPhotoEditOperTransitionPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SLIDE_TRANSITION_COMBO, m_comboTransition);
  DDX_Control(pDX, IDC_SLIDE_PHOTO_SPIN, m_spinPhoto);
  DDX_Control(pDX, IDC_SLIDE_TRANSITION_SPIN, m_spinTransition);
  DDX_SlideDurations(pDX, m_nCustomOne, m_nCustomTwo, m_nAlbumOne, m_nAlbumTwo, m_nChoice);
}

BOOL CPhotoEditOperTransitionPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_EDIT_TRANSITION);
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  if (m_pImage == nullptr) return FALSE;
  m_spinTransition.SendMessage(UDM_SETRANGE32, 0, 99);
  m_spinPhoto.SendMessage(UDM_SETRANGE32, 0, 99);
  LoadChoice();
  m_spinTransition.SetPos(m_nCustomOne);
  m_spinPhoto.SetPos(m_nCustomTwo);
  FillTransitionCombo(m_comboTransition);
  const int entry = FindTransitionEntry(m_pImage->Get_strTransName());
  m_comboTransition.SetCurSel(entry >= 0 ? entry : 0);
  m_preview.SubclassDlgItem(IDC_TRANSITION_PREVIEW, this);
  UpdateData(FALSE);
  m_bHold = FALSE;
  EnableCustom();
  return TRUE;
}

void CPhotoEditOperTransitionPage::LoadChoice() {
  const slideedit::DurationChoice shown = LoadSlideDurations(*m_pImage, m_pAlbum, m_nAlbumOne, m_nAlbumTwo);
  m_nChoice = shown.radio, m_nCustomOne = shown.one, m_nCustomTwo = shown.two;
}

void CPhotoEditOperTransitionPage::SetImage(CDVDImage* pImage) {
  Exchange(TRUE);
  m_pImage = pImage;
  if (pImage != nullptr) m_clrBackground = pImage->Get_clrBackground();
  Exchange(FALSE);
}

void CPhotoEditOperTransitionPage::Exchange(BOOL bStore) {
  if (m_bHold || m_pImage == nullptr || GetSafeHwnd() == nullptr) return;
  if (bStore) {
    if (!UpdateData(TRUE)) return;
    StoreSlideDurations(*m_pImage, {m_nChoice, m_nCustomOne, m_nCustomTwo}, m_pAlbum != nullptr);
    // Browsing shows a slide whose transition is unknown with the previous selection; only a
    // transition the user picks reaches the slide.
    if (m_bPicked) {
      const int entry = m_comboTransition.GetCurSel();
      CTransitionEntryArray* transitions = GetTransitionList();
      m_pImage->Set_strTransName(
          entry >= 0 && entry < transitions->GetSize() ? transitions->GetAt(entry)->strName : CString());
    }
    return;
  }
  LoadChoice();
  const CString& name = m_pImage->Get_strTransName();
  const int entry = FindTransitionEntry(name);
  if (name.IsEmpty())
    m_comboTransition.SetCurSel(0);
  else if (entry >= 0)
    m_comboTransition.SetCurSel(entry);
  m_bPicked = FALSE;
  UpdateData(FALSE);
  EnableCustom();
}

void CPhotoEditOperTransitionPage::EnableCustom() {
  EnableCustomDurations(*this);
}

void CPhotoEditOperTransitionPage::OnChoice() {
  m_nChoice = CheckedDurationRadio(*this);
  EnableCustom();
}

void CPhotoEditOperTransitionPage::OnPreview() {
  PlaySelectedTransition(m_comboTransition, m_preview);
}

void CPhotoEditOperTransitionPage::OnSelChangeTransition() {
  m_bPicked = TRUE;
  OnPreview();
}

void CPhotoEditOperTransitionPage::OnDurationChange() {
  if (m_bHold) return;
  FixZeroCustomDurations(*this, m_nCustomOne, m_nCustomTwo);
}

void CPhotoEditOperTransitionPage::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

BOOL CPhotoEditOperTransitionPage::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  return TRUE;
}

HBRUSH CPhotoEditOperTransitionPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_STATIC && pWnd != nullptr && m_brushBackground.GetSafeHandle() != nullptr) {
    char className[16] = {};
    ::GetClassName(pWnd->GetSafeHwnd(), className, sizeof(className));
    if (CString(className).CompareNoCase("Static") == 0 || CString(className).CompareNoCase("Button") == 0) {
      pDC->SetBkMode(TRANSPARENT);
      return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
    }
  }
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}
