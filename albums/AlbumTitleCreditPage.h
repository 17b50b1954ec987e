// The title and credit page (template 297): one text effect of the current photo album, the
// opening titles or the closing credits. The theme page makes two of them as child windows below
// its preview. The page edits a copy of the album's record and writes it back on every change,
// marking the album dirty when the record changed. UI thread only.
#pragma once

#include "controls/ColorPicker.h"
#include "modules/data/AlbumTextSettings.h"
#include "platform/base/CString.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

class CDVDAlbumImage;

#define IDD_TITLE_CREDIT_PAGE 297

#define IDC_TITLE_DURATION_SPIN 1150
#define IDC_TITLE_FONT_SIZE_SPIN 1149
#define IDC_TITLE_TEXT 1172
#define IDC_TITLE_FONT_SIZE 1176
#define IDC_TITLE_DURATION 1177
#define IDC_TITLE_FONT_COLOR 1184
#define IDC_TITLE_BACK_COLOR 1185
#define IDC_TITLE_EFFECT 1243
#define IDC_TITLE_PREVIEW 1373
#define IDC_TITLE_ENABLE 1375

class CAlbumTitleCreditPage : public CPropertyPage {
 public:
  CAlbumTitleCreditPage();
  ~CAlbumTitleCreditPage() override;

  // Before the window is made: the effect list file and the kind (1 titles, 0 credits).
  void Init(LPCTSTR lpszEffectList, int nKind);
  void SetNotifyMessage(UINT nMessage) { m_nNotifyMessage = nMessage; }
  void SetCaption(UINT nStringId);
  void ShowEnableCheck(BOOL bShow);

  // The record the page edits and the album it belongs to (marked dirty when the record changes);
  // null shows the defaults and edits the page's own copy.
  void SetSettings(_ALBUM_TEXT_SETTINGS* pSettings, CDVDAlbumImage* pAlbum = nullptr);
  // Writes the controls into the record: 0 when nothing was saved or nothing changed, -1 without
  // an effect chosen, 1 when the record changed.
  int SaveSettings();
  // Forgets the album's record without writing into it (its project is gone).
  void ForgetSettings();

  CString GetSelectedEffectFile();
  int GetSelectedEffectDuration();
  int GetDuration();
  const _ALBUM_TEXT_SETTINGS& GetLocalSettings() const { return m_local; }
  _ALBUM_TEXT_SETTINGS* GetAlbumSettings() const { return m_pSettings; }
  int GetKind() const { return m_nKind; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnEnableClicked();
  afx_msg void OnPreview();
  afx_msg void OnEffectChange();
  afx_msg void OnTextChanged();
  afx_msg LRESULT OnColorPicked(WPARAM wParam, LPARAM lParam);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void LoadEffects();
  void ReadControls();
  int FindEffect(LPCTSTR lpszFile);
  void EnableControls();
  const _TITLE_EFFECT* SelectedEffect();
  // The controls' values into a cleared record.
  void FillRecord(_ALBUM_TEXT_SETTINGS& record, const _TITLE_EFFECT& effect, int nDuration);

  CString m_strEffectList;
  CSpinButtonCtrl m_spinDuration;
  CComboBox m_comboEffect;
  CSpinButtonCtrl m_spinFontSize;
  CColorPickerButton m_btnFontColor;
  CColorPickerButton m_btnBackColor;
  CString m_strText;
  BOOL m_bEnabled = FALSE;
  int m_nFontSize = 48;
  int m_nEffect = -1;
  int m_nDuration = 10;
  CBrush m_brushPage;
  UINT m_nNotifyMessage = 0;
  int m_nKind = 1;
  BOOL m_bInitialized = FALSE;
  _ALBUM_TEXT_SETTINGS m_local;
  _ALBUM_TEXT_SETTINGS* m_pSettings = nullptr;  // the album's record, not owned
  CDVDAlbumImage* m_pAlbum = nullptr;           // the record's album
  BOOL m_bLoading = FALSE;                      // controls being filled: their changes are not edits
};
