// CPlxToolbarButton: the item of every toolkit bar. It knows its command, style bits, image
// (toolbar strip or user strip), label and rectangle, measures and draws itself for an
// orientation through the current visual manager, stores itself in archives and drag data, and
// keeps the command manager told which image belongs to its command. Derived kinds (menu
// buttons, the chevron, the drop-down button, menu-item kinds) override its virtual operations.
#pragma once

#include <vector>

#include "platform/base/List.h"
#include "platform/base/Object.h"
#include "platform/mfc/Wnd.h"

// Toolbar button style bits of the class library.
#define TBBS_BUTTON 0x0000u
#define TBBS_SEPARATOR 0x0001u
#define TBBS_CHECKBOX 0x0002u
#define TBBS_GROUP 0x0004u
#define TBBS_CHECKED 0x00010000u
#define TBBS_PRESSED 0x00020000u
#define TBBS_DISABLED 0x00040000u
#define TBBS_HIDDEN 0x00080000u
#define TBBS_INDETERMINATE 0x00100000u
#define TBBS_MARKED 0x00400000u

class CDC;
class CMenu;
class CPlxButtonImages;
class CPlxPopupMenu;
class CPlxToolBar;
class COleDataSource;
class COleDataObject;
struct TOOLINFOA;
typedef unsigned short CLIPFORMAT;

class CPlxToolbarButton : public CObject {
  DECLARE_SERIAL(CPlxToolbarButton)

 public:
  CPlxToolbarButton();
  CPlxToolbarButton(UINT uiID, int iImage, LPCTSTR lpszText = nullptr, BOOL bUserButton = FALSE,
                    BOOL bLocked = FALSE);
  ~CPlxToolbarButton() override;

  void Serialize(CArchive& ar) override;

  virtual BOOL PrepareDrag(COleDataSource& srcItem);
  virtual BOOL CanBeDropped(CPlxToolBar*) { return TRUE; }
  virtual void CopyFrom(const CPlxToolbarButton& src);
  virtual void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
                      BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                      BOOL bGrayDisabledButtons = TRUE);
  virtual CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz);
  virtual BOOL OnClick(CWnd*, BOOL = TRUE) { return FALSE; }
  virtual BOOL OnClickUp() { return FALSE; }
  virtual void OnChangeParentWnd(CWnd* pWndParent);
  virtual BOOL ExportTooltipText(CPlxToolbarButton* pTarget);
  virtual void OnMove() {}
  virtual void OnSize(int) {}
  virtual HWND GetHwnd() { return nullptr; }
  virtual BOOL CanBeStretched() const { return FALSE; }
  virtual BOOL NotifyCommand(int) { return FALSE; }
  virtual void OnAddToCustomizePage() {}
  virtual HBRUSH OnCtlColor(CDC*, UINT) { return nullptr; }
  virtual void OnDblClick(CWnd*) {}
  virtual BOOL CanBeStored() const { return TRUE; }
  virtual BOOL HaveHotBorder() const { return TRUE; }
  virtual void OnCancelMode() {}
  virtual void OnGlobalFontsChanged() {}
  virtual BOOL IsEditable() const;
  virtual BOOL OnContextHelp(CWnd*) { return FALSE; }
  virtual BOOL OnCustomizeMenu(CMenu*) { return FALSE; }
  virtual int OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected);
  virtual BOOL IsDroppedDown() const { return FALSE; }
  virtual BOOL OnBeforeDrag() const { return TRUE; }
  virtual BOOL ReservedHook1(void*) { return TRUE; }
  virtual BOOL OnToolHitTest(const CWnd* pWnd, TOOLINFOA* pTI);
  virtual void OnAfterAltDrop() {}
  virtual void Show(BOOL) {}
  virtual CRect GetRect() const { return m_rect; }
  virtual void SetStyle(UINT nStyle) { m_nStyle = nStyle; }
  virtual void ResetImageToDefault();
  virtual BOOL CompareWith(const CPlxToolbarButton& other) const { return m_nID == other.m_nID; }
  virtual void EnableWindow(BOOL bEnable = TRUE);
  virtual BOOL IsWindowVisible();
  virtual BOOL IsOwnerOf(HWND hwnd);
  virtual BOOL HasFocus() const;
  virtual BOOL ReservedHook2(void*) { return FALSE; }
  virtual BOOL ReservedHook3(void*, void*, void*, void*) { return FALSE; }
  virtual void SetImage(int iImage);
  virtual void SetRadio() {}
  virtual BOOL IsExtraSize() const { return m_bExtraSize; }

  // The clipboard format of dragged buttons, registered on first use.
  static CLIPFORMAT GetClipboardFormat();
  // A new button rebuilt from drag data, or null. Only button kinds are made: the data may come
  // from any process, so a class it names that is no CPlxToolbarButton is refused.
  static CPlxToolbarButton* CreateFromOleData(COleDataObject* pDataObject);
  // The archive form PrepareDrag puts into drag data (run-time class, then the button), and the
  // button rebuilt from such bytes (null for anything but a whole button record).
  BOOL WriteDragBytes(std::vector<BYTE>& bytes) const;
  static CPlxToolbarButton* CreateFromDragBytes(const BYTE* pData, UINT nBytes);

  void FillInterior(CDC* pDC, const CRect& rect, BOOL bHighlight);
  int GetImage() const { return m_bUserImage ? m_iUserImage : m_iImage; }
  BOOL IsHidden() const { return m_bIsHidden; }
  BOOL IsVisible() const { return m_bVisible; }
  void SetVisible(BOOL bShow = TRUE) { m_bVisible = bShow; }
  BOOL IsHorizontal() const { return m_bHorz; }
  // The label as measured and drawn: "&&" gives one "&", every other "&" goes.
  CString GetDisplayText() const;

  static BOOL s_bWrapText;
  static BOOL s_bUpdateImages;
  static CString m_strClipboardFormatName;

  BOOL m_bUserImage;
  UINT m_nID;
  UINT m_nStyle;
  CString m_strText;
  BOOL m_bText;
  BOOL m_bImage;
  BOOL m_bWrap;
  BOOL m_bTextFits;
  BOOL m_bTextBelow;
  CString m_strCommandName;
  BOOL m_bDragCopy;
  CRect m_rect;
  int m_iImage;
  int m_iUserImage;
  BOOL m_bLocked;
  BOOL m_bIsHidden;
  CSize m_sizeTextBelow;
  BOOL m_bDisableFill;
  BOOL m_bExtraSize;
  BOOL m_bHorz;
  BOOL m_bVisible;
  CWnd* m_pWndParent = nullptr;  // the bar it sits on, borrowed

 protected:
  void Initialize();
  void BindImage(int iImage);  // this class's own image binding, not through the table
  void DrawVerticalLabel(CDC* pDC, const CRect& rectText, COLORREF clrText, int nTextHeight);

  static CLIPFORMAT s_cfButton;
};

// Style bit beside the TBBS_ bits: the menu item starts a new column (MF_MENUBREAK).
#define PLX_TBBS_BREAK 0x20000000u

// A button with sub-items that it opens as a toolkit popup menu: a drop-down (or split) button on
// a toolbar, a top-level menu on the menu bar, an item of a popup menu (drawn as a menu row). It
// converts its sub-items to and from a native menu and keeps its sub-menu's tear-off id.
class CPlxToolbarMenuButton : public CPlxToolbarButton {
  DECLARE_SERIAL(CPlxToolbarMenuButton)

 public:
  CPlxToolbarMenuButton();
  CPlxToolbarMenuButton(UINT uiID, HMENU hMenu, int iImage, LPCTSTR lpszText = nullptr,
                        BOOL bUserButton = FALSE);
  ~CPlxToolbarMenuButton() override;

  void Serialize(CArchive& ar) override;
  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  BOOL HaveHotBorder() const override { return FALSE; }
  void OnCancelMode() override;
  BOOL OnContextHelp(CWnd* pWnd) override { return OnClick(pWnd, FALSE); }
  int OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) override;
  BOOL IsDroppedDown() const override;
  BOOL OnBeforeDrag() const override;
  void OnAfterAltDrop() override;
  void ResetImageToDefault() override;
  BOOL CompareWith(const CPlxToolbarButton& other) const override;
  void SetRadio() override;

  virtual BOOL OpenPopupMenu(CWnd* pWnd = nullptr);
  virtual void CreateFromMenu(HMENU hMenu);
  virtual HMENU ExportToMenu() const;
  virtual CPlxPopupMenu* CreatePopupMenu();
  virtual BOOL IsEmptyMenuAllowed() const { return FALSE; }
  // FALSE keeps a popup from joining its border to this button (the system-menu item).
  virtual BOOL ReservedMenuHook1() { return TRUE; }
  // TRUE when the item handles its own choice; the popup bar otherwise sends the command.
  virtual BOOL OnClickMenuItem() { return FALSE; }
  virtual BOOL ReservedMenuHook2() { return FALSE; }
  virtual BOOL IsTearOffMenu() const { return m_nTearOffID != 0; }
  virtual void SetTearOff(UINT uiBarID);

  // The row of a popup menu: image column, label, shortcut, sub-menu mark.
  void DrawMenuItem(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bCustomizeMode,
                    BOOL bHighlight, BOOL bGrayDisabledButtons, BOOL bContentOnly = FALSE);
  void GetImageRect(CRect& rectImage) const;
  void DrawIconCentered(CDC* pDC, const CRect& rect, HICON hIcon) const;
  // Half the menu image width + 3, and the menu glyph width.
  static void GetGlyphMetrics(int& nImageHalf, int& nGlyphWidth);

  const CObList& GetSubItems() const { return m_lstSubItems; }
  CPlxPopupMenu* GetPopupMenu() const { return m_pPopupMenu; }
  UINT GetTearOffID() const { return m_nTearOffID; }

  CObList m_lstSubItems{10};  // owned
  BOOL m_bArrowPart = FALSE;
  BOOL m_bMenuItem = FALSE;               // the parent is a popup menu bar
  CPlxPopupMenu* m_pPopupMenu = nullptr;  // the open popup; it clears this when it goes
  BOOL m_bDefaultItem = FALSE;
  BOOL m_bClickedOnArrow = FALSE;
  BOOL m_bHorzLayout = TRUE;
  BOOL m_bClosePending = FALSE;
  BOOL m_bOpenMenuOnClick = FALSE;
  UINT m_nTearOffID = 0;
  BOOL m_bRadio = FALSE;
  CWnd* m_pWndMessage = nullptr;
  BOOL m_bShowDownArrow = FALSE;
  BOOL m_bOpenToRight = FALSE;
  CRect m_rectArrow;

 protected:
  void DeleteSubItems();
  BOOL HasRealCommand() const { return m_nID != 0 && m_nID != (UINT)-1; }
  // The button's rectangle grown by the menu shadow, redrawn in its bar.
  void RedrawWithShadow(UINT nFlags);
};

class CPlxDropDownFrame;

// A button that stands for a whole second toolbar: a short click runs its default command,
// pressing and holding opens the second bar in a small frame, and the command chosen there
// becomes the new default. It may be pressed while disabled.
class CPlxDropDownToolbarButton : public CPlxToolbarButton {
  DECLARE_SERIAL(CPlxDropDownToolbarButton)

 public:
  CPlxDropDownToolbarButton();
  CPlxDropDownToolbarButton(LPCTSTR lpszName, CPlxToolBar* pToolBar);
  ~CPlxDropDownToolbarButton() override;

  void Serialize(CArchive& ar) override;
  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
  BOOL OnClickUp() override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  BOOL ExportTooltipText(CPlxToolbarButton* pTarget) override;
  void OnCancelMode() override;
  BOOL OnContextHelp(CWnd* pWnd) override { return OnClick(pWnd, FALSE); }
  BOOL OnCustomizeMenu(CMenu* pMenu) override;
  int OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) override;
  BOOL IsExtraSize() const override { return m_bExtraSize && !m_bDrawingDefault; }

  void SetDefaultCommand(UINT nID);
  BOOL ShowDropDownBar(CWnd* pWnd);
  // The drop-down toolbar while its window lives; a destroyed one is forgotten.
  CPlxToolBar* GetDropDownBar();
  CPlxDropDownFrame* GetPopupFrame() const { return m_pPopupFrame; }
  BOOL IsTimerRunning() const { return m_uiTimer != 0; }

  // The delay timer's callback: opens the frame of the button whose timer runs.
  static void CALLBACK OnShowBarTimer(HWND hwnd, UINT, UINT_PTR, DWORD);

  CPlxToolBar* m_pToolBar = nullptr;  // borrowed
  CString m_strName;
  CPlxDropDownFrame* m_pPopupFrame = nullptr;
  CPlxToolBar* m_pWndParentBar = nullptr;
  UINT_PTR m_uiTimer = 0;
  int m_iDefaultImage = 0;
  BOOL m_bDrawingDefault = FALSE;
  BOOL m_bDefaultUserImage = FALSE;

  static UINT m_uiShowBarDelay;
  static CPlxDropDownToolbarButton* m_pCurrentButton;

  friend class CPlxDropDownFrame;

 private:
  void KillDelayTimer();
  void CloseFrame();
};

// The maximized child's window buttons, which every bar that meets them needs whole.
#include "toolkit/bars/PlxMenuWindowButtons.h"
