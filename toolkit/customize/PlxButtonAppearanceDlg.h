// CPlxButtonAppearanceDlg: how one toolbar or menu item looks: image only, text only or both; the
// command's default image or a user-defined one (drawn new or edited in the image editor); and
// its text. On IDOK the choices are already written into the button; the caller re-lays out its
// bar.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/customize/PlxButtonGridCtrl.h"

class CPlxButtonImages;
class CPlxToolbarButton;
class CPlxUserTool;

class CPlxButtonAppearanceDlg : public CDialog {
 public:
  enum { IDD = 16132 };
  // Messages (string ids).
  static constexpr UINT kNoImageChosen = 16001, kNoText = 16002, kNoNewImage = 16003, kImageFailed = 16008;

  CPlxButtonAppearanceDlg(CPlxToolbarButton* pButton, CPlxButtonImages* pImages, CWnd* pParent = nullptr,
                          int iStartImage = 0, BOOL bMenuMode = FALSE);
  ~CPlxButtonAppearanceDlg() override;

  // Writes the choices into the button; FALSE (with the message shown and the focus moved) when
  // they cannot be applied and the dialog stays open.
  BOOL ApplyChoices();

  // The controls' actions, reachable as their clicks are.
  void OnImageOnly();
  void OnImageAndText();
  void OnTextOnly();
  void OnUserImage();
  void OnDefaultImage();
  void OnImageSelected();
  void OnNewImage();
  void OnEditImage();

  int GetCurrentImage() const { return m_iImage; }
  BOOL IsShowImage() const { return m_bImage; }
  BOOL IsShowText() const { return m_bText; }
  BOOL IsUserImage() const { return m_bUserButton; }
  const CString& GetAccelText() const { return m_strAccel; }
  CPlxButtonGridCtrl& Grid() { return m_wndButtonList; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();

  void FillImageGrid();
  void UpdateControls();
  // The command's image in the shared strip, -1 when it has none.
  int StandardImage() const;
  // Makes a bitmap of the user images' size compatible with the grid's DC; FALSE when it cannot.
  virtual BOOL MakeImageBitmap(CBitmap& bitmap);
  // Lets the user draw on the bitmap (the open sheet's editor or our own); TRUE on OK.
  virtual BOOL EditBitmap(CBitmap& bitmap);
  virtual void ShowMessage(UINT idString);

  CButton m_wndDefaultImageRadio;
  CButton m_wndUserImageRadio;
  CStatic m_wndDefaultImageArea;
  CEdit m_wndButtonText;
  CButton m_wndAddImage;
  CPlxButtonGridCtrl m_wndButtonList;
  CButton m_wndEditImage;
  CString m_strButtonText;
  CString m_strButtonDescr;
  CPlxToolbarButton* m_pButton;  // the caller's
  CPlxButtonImages* m_pImages;   // the caller's, or null
  int m_iStartImage;
  CObList m_Buttons{10};  // ours: one per offered user image
  int m_iImage = -1;
  BOOL m_bImage = FALSE;
  BOOL m_bText = FALSE;
  BOOL m_bMenuMode;
  BOOL m_bUserButton = FALSE;
  CRect m_rectDefaultImage;
  CString m_strAccel;
  CPlxUserTool* m_pUserTool = nullptr;
};
