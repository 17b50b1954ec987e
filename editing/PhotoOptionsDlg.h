// The "Photo Options" dialog (template 318) for one slide, opened from the duration and sound
// zones of a timeline photo item: the slide's sound annotation (chosen, recorded, trimmed), its
// durations (the album's or its own) and its pan-and-zoom preset (the album's or one of the
// engine's presets). The dialog works on its own copy of the annotation; nothing reaches the slide
// before OK.
#pragma once

#include <memory>

#include "controls/HintBitmapStatic.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Dialog.h"

#define IDD_PHOTO_OPTIONS 318
#define IDC_ANNOTATION_ENABLE 1430
#define IDC_ANNOTATION_DURATION_LABEL 1437
#define IDC_ANNOTATION_DURATION 1432
#define IDC_ANNOTATION_TRIM 1485
#define IDC_ANNOTATION_PATH 1436
#define IDC_ANNOTATION_BROWSE 1249
#define IDC_ANNOTATION_RECORD 1290
#define IDC_SAME_AS_ANNOTATION 1438
#define IDC_AUTO_PANZOOM 1386
#define IDC_PANZOOM_ALBUM 1433
#define IDC_PANZOOM_PRESET 1434
#define IDC_PANZOOM_PRESET_LIST 1243

class CDVDImage;
struct _AUDIO_SOURCE;

class CPhotoOptionsDlg : public CDialog {
 public:
  explicit CPhotoOptionsDlg(CDVDImage* pImage, CWnd* pParent = nullptr);
  ~CPhotoOptionsDlg() override;

  CDVDImage* GetImage() const { return m_pImage; }
  // The dialog's annotation as it stands (null when none).
  const _AUDIO_SOURCE* GetAnnotation() const { return m_pAnnotation.get(); }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnEnableAnnotation();
  afx_msg void OnBrowse();
  afx_msg void OnRecord();
  afx_msg void OnTrim();
  afx_msg void OnSameAsAnnotation();
  afx_msg void OnRadio();
  afx_msg void OnDurationChange();
  DECLARE_MESSAGE_MAP()

 private:
  void Load();
  void Save();
  void EnableControls();
  // A new annotation from a sound file, its whole length; an empty path clears it.
  void AnnotationFromFile(const CString& path);
  void ShowAnnotationLength();

  CHintBitmapStatic m_banner;
  CSpinButtonCtrl m_spinTransition;
  CSpinButtonCtrl m_spinPhoto;
  CComboBox m_comboPreset;
  int m_bAutoPanZoom = 0;
  int m_bAnnotation = 0;
  int m_nPreset = -1;  // the preset's index in the engine (the list's item data)
  int m_nAlbumOne = 0;
  int m_nAlbumTwo = 0;
  int m_nCustomOne = 0;
  int m_nCustomTwo = 0;
  CString m_strPath;
  int m_nDurationRadio = -1;
  int m_nPanZoomRadio = -1;
  CString m_strDuration;
  CDVDImage* m_pImage;
  BOOL m_bInitializing = TRUE;
  std::unique_ptr<_AUDIO_SOURCE> m_pAnnotation;
};
