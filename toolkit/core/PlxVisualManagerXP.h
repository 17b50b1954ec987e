// CPlxVisualManagerXP: the flat Office-XP look. This file holds its palette, computed from the
// system colours on every colour change, its metrics and the operations that only answer values.
#pragma once

#include "platform/mfc/GdiObjects.h"
#include "toolkit/core/PlxVisualManager.h"

class CPlxVisualManagerXP : public CPlxVisualManager {
  DECLARE_DYNCREATE(CPlxVisualManagerXP)

 public:
  explicit CPlxVisualManagerXP(BOOL bIsTemporary = FALSE);
  ~CPlxVisualManagerXP() override;

  void OnUpdateSystemColors() override;

  virtual BOOL HasMenuImageStrip() const { return TRUE; }
  COLORREF GetImageShadowBaseColor() const override { return m_clrHotFill; }
  virtual int GetMenuImageMargin() const { return 3; }
  virtual int GetPopupMenuOffset() const { return 0; }
  virtual BOOL IsOptionsFlag4Allowed() const { return FALSE; }
  virtual BOOL IsLook2000Allowed() const { return FALSE; }
  // The base of the whole palette.
  virtual COLORREF GetWindowColor() const;
  virtual void CreateDotBrushes();

  // ---- Property list ----
  COLORREF GetPropListGroupColor(CPlxPropList* pPropList) override;
  COLORREF GetPropListGroupTextColor(CPlxPropList* pPropList) override;
  void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                             CPlxToolbarComboBoxButton* pButton) override;
  // ---- end of the property list's block ----

  CBrush m_brDotsHorz, m_brDotsVert;
  COLORREF m_clrBarFill = 0;
  CBrush m_brBarFill;
  COLORREF m_clrRareStrip = 0;
  CBrush m_brRareStrip;
  COLORREF m_clrMenuFill = 0;
  CBrush m_brMenuFill;
  COLORREF m_clrHotFill = 0;
  CBrush m_brHotFill;
  COLORREF m_clrPressedFill = 0;
  CBrush m_brPressedFill;
  COLORREF m_clrCheckedFill = 0;
  CBrush m_brCheckedFill;
  COLORREF m_clrTabTextDim = 0;
  CBrush m_brTabArea;
  CPen m_penSeparatorLine;
  COLORREF m_clrPaneFrame = 0;
  COLORREF m_clrMenuFrame = 0;
  COLORREF m_clrHotFrame = 0;
  CPen m_penHotFrame;
  COLORREF m_clrPressedFrame = (COLORREF)-1;
  COLORREF m_clrGripDots = 0;
  BOOL m_bJoinMenuToParent = TRUE;
  COLORREF m_clrShadowTint = (COLORREF)-1;
  BOOL m_bDroppedButtonShadow = TRUE;
  BOOL m_bLastTabSeparator = TRUE;
  // The colours the last update chose for the tab area and separators.
  COLORREF m_clrTabArea = 0;
  COLORREF m_clrSeparator = 0;
};

// The manager the program installs; its themed look falls back to the Office-XP drawing here.
class CPlxWinXPVisualManager : public CPlxVisualManagerXP {
  DECLARE_DYNCREATE(CPlxWinXPVisualManager)

 public:
  explicit CPlxWinXPVisualManager(BOOL bTemporary = FALSE) : CPlxVisualManagerXP(bTemporary) {}
};
