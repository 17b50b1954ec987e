#include "editing/PhotoOptionsDlg.h"

#include "editing/RecordSoundDlg.h"
#include "editing/SlideEditRules.h"
#include "editing/TransitionControls.h"
#include "editing/TransitionOptionsDlg.h"
#include "editing/TrimAudioDlg.h"
#include "modules/data/AudioSource.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "platform/comdlg/CommonDialogs.h"
#include "shell/ARRegistry.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"

#define IDS_ANNOTATION_TOO_SHORT 273

namespace {

constexpr char kCaption[] = "Talvane Pictavo";
constexpr char kSoundFilter[] =
    "Music Files(*.mp3;*.WMA;*.wav)|*.mp3;*.WMA;*.wav|\t\tMP3 (*.mp3)|*.mp3|Windows Media "
    "Audio(*.wma)|*.wma|Wave(*.wav)|*.wav||";

}  // namespace

BEGIN_MESSAGE_MAP(CPhotoOptionsDlg, CDialog)
ON_BN_CLICKED(IDC_ANNOTATION_ENABLE, OnEnableAnnotation)
ON_BN_CLICKED(IDC_ANNOTATION_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_ANNOTATION_RECORD, OnRecord)
ON_BN_CLICKED(IDC_ANNOTATION_TRIM, OnTrim)
ON_BN_CLICKED(IDC_SAME_AS_ANNOTATION, OnSameAsAnnotation)
ON_BN_CLICKED(IDC_SLIDE_DURATION_ALBUM, OnRadio)
ON_BN_CLICKED(IDC_SLIDE_DURATION_CUSTOM, OnRadio)
ON_BN_CLICKED(IDC_PANZOOM_ALBUM, OnRadio)
ON_BN_CLICKED(IDC_PANZOOM_PRESET, OnRadio)
ON_EN_CHANGE(IDC_SLIDE_TRANSITION_DURATION, OnDurationChange)
ON_EN_CHANGE(IDC_SLIDE_PHOTO_DURATION, OnDurationChange)
END_MESSAGE_MAP()

CPhotoOptionsDlg::CPhotoOptionsDlg(CDVDImage* pImage, CWnd* pParent)
    : CDialog(IDD_PHOTO_OPTIONS, pParent), m_strDuration(""), m_pImage(pImage) {}

CPhotoOptionsDlg::~CPhotoOptionsDlg() = default;

void CPhotoOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SLIDE_DIALOG_BANNER, m_banner);
  DDX_Control(pDX, IDC_SLIDE_TRANSITION_SPIN, m_spinTransition);
  DDX_Control(pDX, IDC_SLIDE_PHOTO_SPIN, m_spinPhoto);
  DDX_Control(pDX, IDC_PANZOOM_PRESET_LIST, m_comboPreset);
  DDX_Check(pDX, IDC_AUTO_PANZOOM, m_bAutoPanZoom);
  DDX_Check(pDX, IDC_ANNOTATION_ENABLE, m_bAnnotation);
  DDX_SlideDurations(pDX, m_nCustomOne, m_nCustomTwo, m_nAlbumOne, m_nAlbumTwo, m_nDurationRadio);
  DDX_Text(pDX, IDC_ANNOTATION_PATH, m_strPath);
  DDX_Radio(pDX, IDC_PANZOOM_ALBUM, m_nPanZoomRadio);
  DDX_Text(pDX, IDC_ANNOTATION_DURATION, m_strDuration);
  // The list skips presets without a name, so its rows carry the preset's own index.
  if (m_comboPreset.GetSafeHwnd() == nullptr) return;
  if (pDX->m_bSaveAndValidate) {
    const int row = m_comboPreset.GetCurSel();
    m_nPreset = row >= 0 ? static_cast<int>(m_comboPreset.GetItemData(row)) : -1;
  } else {
    int found = -1;
    for (int row = 0; row < m_comboPreset.GetCount() && found < 0; ++row)
      if (static_cast<int>(m_comboPreset.GetItemData(row)) == m_nPreset) found = row;
    m_comboPreset.SetCurSel(found);
  }
}

BOOL CPhotoOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_OPTIONS);
  if (m_pImage == nullptr) return FALSE;
  m_spinTransition.SendMessage(UDM_SETRANGE32, 0, 99);
  m_spinPhoto.SendMessage(UDM_SETRANGE32, 0, 99);
  m_comboPreset.ResetContent();
  for (int i = 0; i < CPanZoomEx::GetPanZoomType_PresetCount(); ++i) {
    const _tagPanZoomType_Preset* preset = CPanZoomEx::GetPanZoomType_Preset(i);
    if (preset == nullptr) continue;
    const int row = m_comboPreset.AddString(preset->szName);
    if (row >= 0) m_comboPreset.SetItemData(row, static_cast<DWORD_PTR>(i));
  }
  Load();
  m_bInitializing = FALSE;
  if (CSkinMinor* skin = GetSkinMinor()) m_banner.SetBitmap(skin->GetDialogHintBitmap(2));
  return TRUE;
}

void CPhotoOptionsDlg::ShowAnnotationLength() {
  m_strDuration = slideedit::FormatSoundLength(
      m_pAnnotation != nullptr ? static_cast<long long>(m_pAnnotation->nTrimEnd) - m_pAnnotation->nTrimStart
                               : 0);
}

void CPhotoOptionsDlg::Load() {
  const _AUDIO_SOURCE* annotation = m_pImage->GetAnnotation();
  m_bAnnotation = annotation != nullptr ? 1 : 0;
  m_strPath = annotation != nullptr ? annotation->strPathName : CString();
  if (annotation != nullptr && !annotation->strPathName.IsEmpty())
    m_pAnnotation = std::make_unique<_AUDIO_SOURCE>(*annotation);
  else
    m_pAnnotation.reset();
  ShowAnnotationLength();

  const CDVDAlbumImage* album = m_pImage->GetAlbum();
  if (album != nullptr) m_bAutoPanZoom = album->Get_bAutoPanZoom() ? 1 : 0;
  const slideedit::DurationChoice shown = LoadSlideDurations(*m_pImage, album, m_nAlbumOne, m_nAlbumTwo);
  m_nDurationRadio = shown.radio, m_nCustomOne = shown.one, m_nCustomTwo = shown.two;
  if (m_pImage->Get_nPanZoom() == -1) {
    m_nPanZoomRadio = 0;
    m_nPreset = 0;
  } else {
    m_nPanZoomRadio = 1;
    m_nPreset = m_pImage->Get_nPanZoom();
  }
  UpdateData(FALSE);
  EnableControls();
}

void CPhotoOptionsDlg::EnableControls() {
  UpdateData(TRUE);
  auto enable = [this](int id, BOOL on) {
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
  };
  for (const int id : {IDC_ANNOTATION_DURATION_LABEL, IDC_ANNOTATION_DURATION, IDC_ANNOTATION_PATH,
                       IDC_ANNOTATION_BROWSE, IDC_ANNOTATION_RECORD})
    enable(id, m_bAnnotation);
  enable(IDC_SAME_AS_ANNOTATION,
         m_bAnnotation && !m_strPath.IsEmpty() && CDVDProject::GetMusicDuration(m_strPath) != 0);
  EnableCustomDurations(*this);
  enable(IDC_PANZOOM_PRESET_LIST, m_nPanZoomRadio == 1);
}

void CPhotoOptionsDlg::AnnotationFromFile(const CString& path) {
  if (path.IsEmpty()) {
    m_pAnnotation.reset();
    ShowAnnotationLength();
    return;
  }
  const int seconds = CDVDProject::GetMusicDuration(path);
  if (m_pAnnotation == nullptr) m_pAnnotation = std::make_unique<_AUDIO_SOURCE>();
  m_pAnnotation->strPathName = path;
  m_pAnnotation->nSourceLength = seconds * 1000;
  m_pAnnotation->nTrimStart = 0;
  m_pAnnotation->nTrimEnd = seconds * 1000;
  m_pAnnotation->nStartPos = 0;
  ShowAnnotationLength();
}

void CPhotoOptionsDlg::OnEnableAnnotation() {
  UpdateData(TRUE);
  if (!m_bAnnotation) {
    m_strPath.Empty();
    m_pAnnotation.reset();
    ShowAnnotationLength();
    UpdateData(FALSE);
  }
  EnableControls();
}

void CPhotoOptionsDlg::OnBrowse() {
  const CString lastPath = ReadGeneralString("LastAudioPath");
  // One sound belongs to a slide: the dialog takes one file.
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     kSoundFilter, this);
  if (!lastPath.IsEmpty()) dialog.m_ofn.lpstrInitialDir = lastPath;
  if (dialog.DoModal() != IDOK) return;
  const CString chosen = dialog.GetPathName();
  if (chosen.CompareNoCase(lastPath) != 0) WriteGeneralString("LastAudioPath", chosen);
  UpdateData(TRUE);
  m_strPath = chosen;
  AnnotationFromFile(chosen);
  UpdateData(FALSE);
  EnableControls();
}

void CPhotoOptionsDlg::OnRecord() {
  CRecordSoundDlg recorder(nullptr);
  recorder.DoModal();
  UpdateData(TRUE);
  const CString recorded = recorder.GetRecordedPath();
  if (!recorded.IsEmpty()) {
    m_strPath = recorded;
    AnnotationFromFile(recorded);
  }
  UpdateData(FALSE);
  EnableControls();
}

void CPhotoOptionsDlg::OnTrim() {
  if (m_pAnnotation == nullptr) return;
  if (m_pAnnotation->nSourceLength == 0) {
    ::MessageBox(m_hWnd, LoadLangString(IDS_ANNOTATION_TOO_SHORT), kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  _AUDIO_SOURCE copy = *m_pAnnotation;
  CTrimAudioDlg trim(&copy, FALSE, nullptr);
  if (trim.DoModal() == IDOK) {
    UpdateData(TRUE);
    *m_pAnnotation = copy;
    ShowAnnotationLength();
  }
  UpdateData(FALSE);
}

void CPhotoOptionsDlg::OnSameAsAnnotation() {
  UpdateData(TRUE);
  if (m_strPath.IsEmpty()) return;
  const int sound = m_pAnnotation != nullptr ? (m_pAnnotation->nTrimEnd - m_pAnnotation->nTrimStart) / 1000
                                             : CDVDProject::GetMusicDuration(m_strPath);
  if (sound == 0) return;
  m_nCustomTwo = slideedit::PhotoDurationForSound(sound, m_nCustomOne);
  m_nDurationRadio = slideedit::kCustom;
  UpdateData(FALSE);
  EnableControls();
}

void CPhotoOptionsDlg::OnRadio() {
  EnableControls();
}

void CPhotoOptionsDlg::OnDurationChange() {
  if (m_bInitializing) return;
  FixZeroCustomDurations(*this, m_nCustomOne, m_nCustomTwo);
}

void CPhotoOptionsDlg::OnOK() {
  // The values are read before the dialog ends; a field that is not a number keeps it open.
  if (!UpdateData(TRUE)) return;
  CDialog::OnOK();
  Save();
}

void CPhotoOptionsDlg::Save() {
  if (m_pImage == nullptr) return;
  if (m_bAnnotation)
    m_pImage->SetAnnotation(m_pAnnotation.get());
  else
    m_pImage->ClearAnnotation();
  const bool hasAlbum = m_pImage->GetAlbum() != nullptr;
  StoreSlideDurations(*m_pImage, {m_nDurationRadio, m_nCustomOne, m_nCustomTwo}, hasAlbum);
  if (m_nPanZoomRadio == 1 && m_nPreset < 0 && m_pImage->Get_nPanZoom() == DVD_PANZOOM_CUSTOM) {
    // The slide's own motion from the photo editor is in no preset; left alone, it stays.
  } else if (m_nPanZoomRadio == 1 || !hasAlbum) {
    m_pImage->Set_nPanZoom(m_nPreset, nullptr);
  } else {
    m_pImage->Set_nPanZoom(-1, nullptr);
  }
}
