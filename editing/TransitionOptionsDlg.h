// The "Transition Options" dialog (template 319) for one slide, opened from a timeline transition
// item: the transition into the slide, previewed on the sample pictures, and the slide's two
// durations, the album's (both stored -1) or its own. Nothing reaches the slide before OK.
#pragma once

#include "controls/HintBitmapStatic.h"
#include "editing/SlideEditRules.h"
#include "editing/TransitionControls.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Dialog.h"

#define IDD_TRANSITION_OPTIONS 319
#define IDC_SLIDE_DURATION_ALBUM 1331
#define IDC_SLIDE_DURATION_CUSTOM 1332
#define IDC_SLIDE_ALBUM_TRANSITION 1324
#define IDC_SLIDE_ALBUM_PHOTO 1087
#define IDC_SLIDE_TRANSITION_DURATION 1323
#define IDC_SLIDE_TRANSITION_SPIN 1326
#define IDC_SLIDE_PHOTO_DURATION 1086
#define IDC_SLIDE_PHOTO_SPIN 1150
#define IDC_SLIDE_TRANSITION_LABEL 1439
#define IDC_SLIDE_PHOTO_LABEL 1440
#define IDC_SLIDE_TRANSITION_COMBO 1325
#define IDC_SLIDE_TRANSITION_PREVIEW_BUTTON 1327

class CDVDImage;
class CDVDAlbumImage;

class CTransitionOptionsDlg : public CDialog {
 public:
  explicit CTransitionOptionsDlg(CDVDImage* pImage, CWnd* pParent = nullptr);
  ~CTransitionOptionsDlg() override;

  CDVDImage* GetImage() const { return m_pImage; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnDurationRadio();
  afx_msg void OnPreview();
  afx_msg void OnDurationChange();
  DECLARE_MESSAGE_MAP()

 private:
  void Load();
  void Save();
  void EnableCustom();

  CHintBitmapStatic m_banner;
  CComboBox m_comboTransition;
  CSpinButtonCtrl m_spinTransition;
  CSpinButtonCtrl m_spinPhoto;
  int m_nCustomOne = 0;
  int m_nCustomTwo = 0;
  int m_nRadio = -1;
  int m_nAlbumOne = 0;
  int m_nAlbumTwo = 0;
  CDVDImage* m_pImage;
  BOOL m_bInitializing = TRUE;
  COLORREF m_clrPreview = 0;  // black around the sample pictures
  CTransitionPreviewStatic m_preview;
};

// Shared by the transition dialog and the transition page: fills a combo box with every
// transition-list entry's name without its group, in list order.
void FillTransitionCombo(CComboBox& combo);
// The index of the entry whose full display name equals `name` without regard to case, -1 for an
// empty or unknown name.
int FindTransitionEntry(const CString& name);
// The duration controls the two dialogs and the page share (template ids 1323, 1086, 1324, 1087
// and the radio group from 1331).
void DDX_SlideDurations(CDataExchange* pDX, int& nOne, int& nTwo, int& nAlbumOne, int& nAlbumTwo,
                        int& nRadio);
// The custom edits, spins and (where the template has them) labels, enabled exactly for Custom.
void EnableCustomDurations(CWnd& page);
// The radio group as the user left it: 0 Album, 1 Custom.
int CheckedDurationRadio(CWnd& page);
// The album's values into nAlbumOne / nAlbumTwo (when there is an album) and what the slide shows.
slideedit::DurationChoice LoadSlideDurations(const CDVDImage& slide, const CDVDAlbumImage* pAlbum,
                                             int& nAlbumOne, int& nAlbumTwo);
// What OK stores: the custom values, or -1 and -1 for Album in an album.
void StoreSlideDurations(CDVDImage& slide, const slideedit::DurationChoice& shown, bool bHasAlbum);
// Plays the combo's selected transition-list entry in the preview.
void PlaySelectedTransition(const CComboBox& combo, CTransitionPreviewStatic& preview);
// Reads the two custom duration edits; when both are 0 the photo duration becomes 1 and is
// written back. Fields that do not hold a number yet are left alone.
void FixZeroCustomDurations(CWnd& page, int& nOne, int& nTwo);
