// CPlxVisualManager: the replaceable object every toolkit control draws through. At most one is
// current: made by the first GetInstance from the default class the application chose,
// replaced by SetDefaultManager and deleted by the toolkit clean-up. This file holds its life
// cycle; the drawing operations join it with the managers' looks.
#pragma once

#include "platform/base/Object.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Dc.h"

class CPlxButton;
class CPlxPropList;
class CPlxToolbarComboBoxButton;

class CPlxVisualManager : public CObject {
  DECLARE_DYNCREATE(CPlxVisualManager)

 public:
  // A temporary manager is a drawing aid: it never becomes current and leaves the colours alone.
  explicit CPlxVisualManager(BOOL bTemporary = FALSE);
  ~CPlxVisualManager() override;

  // The current manager, made from the default class when there is none.
  static CPlxVisualManager* GetInstance();
  // Chooses the class of the next manager and deletes the current one; an unrelated class is
  // ignored.
  static void SetDefaultManager(CRuntimeClass* pRTI);
  // With bAutoDestroyOnly, only a manager GetInstance made is deleted.
  static void DestroyInstance(BOOL bAutoDestroyOnly = FALSE);
  // Repaints the application's main window.
  static void RedrawAll();

  virtual void OnUpdateSystemColors() {}

  // ---- Property list: expand boxes, group colours, the control border and drop-down buttons ----
  virtual void OnDrawExpandingBox(CDC* pDC, CRect rect, BOOL bIsOpened, COLORREF colorBox);
  virtual COLORREF GetPropListGroupColor(CPlxPropList* pPropList);
  virtual COLORREF GetPropListGroupTextColor(CPlxPropList* pPropList);
  virtual void OnDrawControlBorder(CWnd* pWndCtrl);
  virtual void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                     BOOL bIsHighlighted, CPlxToolbarComboBoxButton* pButton);
  // ---- end of the property list's block ----

  // ---- Image strips and push buttons ----
  // The colour disabled 24 and 32-bit images are greyed towards; -1: the highlight colour.
  virtual COLORREF GetDisabledImageColor() const { return (COLORREF)-1; }
  // 67 per cent of it fills the shadow copies of image strips.
  virtual COLORREF GetImageShadowBaseColor() const;
  // Draws a push button's frame with the desktop theme; FALSE when no theme is open, and the
  // button draws its classic frame itself.
  virtual BOOL DrawPushButtonWinXP(CDC* pDC, CRect rect, CPlxButton* pButton, UINT uiState);
  // ---- end of image strips and push buttons ----

  BOOL m_bLook2000 = FALSE;                // one gripper line instead of two
  int m_nMenuShadowDepth = 6;              // popup menus' shadow width
  BOOL m_bFlatMenuButtons = FALSE;         // menu buttons with an open popup get no border
  BOOL m_bShadowHighlightedImage = FALSE;  // a shadow under highlighted toolbar images
  BOOL m_bEmbossDisabledImage = TRUE;
  BOOL m_bFadeInactiveImage = FALSE;
  BOOL m_bShadeCheckedButtons = TRUE;
  BOOL m_bMenuButtonFlag = FALSE;
  BOOL m_bTemporary;
  // Tasks-pane spacings: vertical and horizontal margin, group vertical offset, group caption
  // height, its horizontal and vertical offsets, tasks horizontal offset, task icon offsets.
  int m_nVertMargin = 12, m_nHorzMargin = 12, m_nGroupVertOffset = 15, m_nGroupCaptionHeight = 25,
      m_nGroupCaptionHorzOffset = 13, m_nGroupCaptionVertOffset = 7, m_nTasksHorzOffset = 12,
      m_nTasksIconHorzOffset = 5, m_nTasksIconVertOffset = 4;
  BOOL m_bPopupMenuFlag = FALSE;
  int m_nPopupMenuBorderSize = 2;
  BOOL m_bOutlookFlag = TRUE;
  BOOL m_bFillTabs = FALSE;
  BOOL m_bTabDarkEdges = TRUE;
  BOOL m_bAutoDestroy = FALSE;

 protected:
  static CPlxVisualManager* m_pVisManager;
  static CRuntimeClass* m_pRTIDefault;
};
