// The toolbar model: creation, the class-wide data, the button list.
#include "toolkit/bars/PlxToolBar.h"

#include <cstring>

#include "platform/base/ResourceException.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowPos.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxCustomizeMenuButton.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CPlxToolBar, CControlBar, VERSIONABLE_SCHEMA | 1)

CString CPlxToolBar::m_strRegSection = "PlxToolBars";
CPlxButtonImages CPlxToolBar::m_sharedImages, CPlxToolBar::m_sharedColdImages,
    CPlxToolBar::m_sharedDisabledImages, CPlxToolBar::m_sharedLargeImages,
    CPlxToolBar::m_sharedLargeColdImages, CPlxToolBar::m_sharedLargeDisabledImages,
    CPlxToolBar::m_sharedMenuImages, CPlxToolBar::m_sharedDisabledMenuImages;
CPlxButtonImages* CPlxToolBar::m_pUserImages = nullptr;
CSize CPlxToolBar::m_sizeButton(23, 22);
CSize CPlxToolBar::m_sizeImage(16, 15);
CSize CPlxToolBar::m_sizeCurButton(23, 22);
CSize CPlxToolBar::m_sizeCurImage(16, 15);
CSize CPlxToolBar::m_sizeMenuButton(-1, -1);
CSize CPlxToolBar::m_sizeMenuImage(-1, -1);
CMap<UINT, UINT, int, int> CPlxToolBar::m_mapDefaultImages;
CList<UINT, UINT> CPlxToolBar::m_lstBasicCommands;
CList<UINT, UINT> CPlxToolBar::m_lstForbiddenCommands;
CPlxCommandUsage CPlxToolBar::m_commandUsage;
BOOL CPlxToolBar::m_bCustomizeMode = FALSE;
BOOL CPlxToolBar::m_bAltDragActive = FALSE;
BOOL CPlxToolBar::m_bLargeIcons = FALSE;
BOOL CPlxToolBar::m_bAutoColdImages = FALSE;
int CPlxToolBar::m_nAutoGrayPercent = 0;
BOOL CPlxToolBar::m_bAltCustomization = FALSE;
CPlxToolBar* CPlxToolBar::m_pSelToolbar = nullptr;
BOOL CPlxToolBar::m_bShowTooltips = TRUE;
BOOL CPlxToolBar::m_bShowShortcutKeys = TRUE;
COLORREF CPlxToolBar::m_clrHotText = (COLORREF)-1;
HHOOK CPlxToolBar::m_hMouseHook = nullptr;
CPlxToolBar* CPlxToolBar::m_pLastHookToolbar = nullptr;
double CPlxToolBar::m_dLargeIconScale = 2.0;


UINT PLX_WM_TOOLBARMENU, PLX_WM_CUSTOMIZETOOLBAR, PLX_WM_CREATETOOLBAR, PLX_WM_DELETETOOLBAR,
    PLX_WM_CUSTOMIZEHELP, PLX_WM_RESETTOOLBAR, PLX_WM_RESETMENU, PLX_WM_SHOWREGULARMENU,
    PLX_WM_RESETCONTEXTMENU, PLX_WM_RESETKEYBOARD, PLX_WM_RESETRPROMPT;

void PlxRegisterToolbarMessages() {
  PLX_WM_TOOLBARMENU = RegisterWindowMessage("PlxTOOLBAR_POPUPMENU");
  PLX_WM_CUSTOMIZETOOLBAR = RegisterWindowMessage("PlxTOOLBAR_CUSTOMIZE");
  PLX_WM_CREATETOOLBAR = RegisterWindowMessage("PlxTOOLBAR_CREATE");
  PLX_WM_DELETETOOLBAR = RegisterWindowMessage("PlxTOOLBAR_DELETE");
  PLX_WM_CUSTOMIZEHELP = RegisterWindowMessage("PlxTOOLBAR_CUSTOMIZEHELP");
  PLX_WM_RESETTOOLBAR = RegisterWindowMessage("PlxTOOLBAR_RESETTOOLBAR");
  PLX_WM_RESETMENU = RegisterWindowMessage("PlxTOOLBAR_RESETMENU");
  PLX_WM_SHOWREGULARMENU = RegisterWindowMessage("PlxTOOLBAR_SHOWREGULARMENU");
  PLX_WM_RESETCONTEXTMENU = RegisterWindowMessage("PlxTOOLBAR_RESETCONTEXTMENU");
  PLX_WM_RESETKEYBOARD = RegisterWindowMessage("PlxTOOLBAR_RESETKEYBAORD");
  PLX_WM_RESETRPROMPT = RegisterWindowMessage("PlxTOOLBAR_RESETRPROMPT");
}

BEGIN_MESSAGE_MAP(CPlxToolBar, CControlBar)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_NCHITTEST()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_WINDOWPOSCHANGING()
ON_WM_WINDOWPOSCHANGED()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDBLCLK()
ON_WM_CANCELMODE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
ON_MESSAGE(TB_BUTTONCOUNT, OnTbButtonCount)
ON_MESSAGE(TB_GETITEMRECT, OnTbGetItemRect)
ON_MESSAGE(TB_GETBUTTON, OnTbGetButton)
ON_MESSAGE(TB_GETBUTTONTEXT, OnTbGetButtonText)
ON_REGISTERED_MESSAGE(PLX_WM_RESETRPROMPT, OnResetPrompt)
ON_WM_CONTEXTMENU()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CPlxToolBar::CPlxToolBar() : m_Impl(this) {
  m_cyTopBorder = 1;
  m_cyBottomBorder = 1;
  if (PLX_WM_RESETRPROMPT == 0) PlxRegisterToolbarMessages();
}

CPlxToolBar::~CPlxToolBar() {
  while (!m_lstDefaultButtons.IsEmpty()) delete m_lstDefaultButtons.RemoveHead();
  while (!m_lstResetButtons.IsEmpty()) delete m_lstResetButtons.RemoveHead();
  CPlxToolBar::RemoveAllButtons();
  m_mapMnemonics.RemoveAll();
  CObList& bars = GetAllToolbars();
  if (POSITION pos = bars.Find(this)) bars.RemoveAt(pos);
  if (m_pSelToolbar == this) m_pSelToolbar = nullptr;
  if (m_pLastHookToolbar == this) m_pLastHookToolbar = nullptr;
  CPlxCustomizeMenuButton::OnToolbarDestroyed(this);
}

CObList& CPlxToolBar::GetAllToolbars() {
  static CObList bars(10);  // UI thread only
  return bars;
}

BOOL CPlxToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(1, 1, 1, 1), nID);
}

BOOL CPlxToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  SetBorders(std::max<int>(rcBorders.left, 1), std::max<int>(rcBorders.top, 1), rcBorders.right,
             rcBorders.bottom);
  m_dwStyle = (dwStyle & CBRS_ALL) | CBRS_GRIPPER;
  if (nID == AFX_IDW_TOOLBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
  const DWORD style = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | 0x4E;
  HINSTANCE instance = AfxGetResourceHandle();
  HCURSOR cursor = ::LoadCursor(nullptr, IDC_ARROW);
  CString name;
  name.Format("PlxToolBar:%x:%x:%x:%x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(instance)),
              CS_DBLCLKS, static_cast<unsigned>(reinterpret_cast<uintptr_t>(cursor)), COLOR_BTNFACE + 1);
  WNDCLASS wc{};
  if (!::GetClassInfo(instance, name, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc)) AfxThrowResourceException();
  }
  if (!CWnd::CreateEx(0, name, nullptr, style, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  if (pParentWnd != nullptr) m_hWndOwner = pParentWnd->m_hWnd;
  return TRUE;
}

int CPlxToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (g_plxGlobalData.hcurStretch == nullptr)
    g_plxGlobalData.hcurStretch = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(30980));
  if (g_plxGlobalData.hcurStretchVert == nullptr)
    g_plxGlobalData.hcurStretchVert = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(30981));
  if (CFrameWnd* frame = GetDockingFrame())
    CPlxButtonImages::SetMirrorMode((frame->GetExStyle() & WS_EX_LAYOUTRTL) != 0);
  m_dropTarget.Register(this);
  m_penDrag.CreatePen(PS_SOLID, 1, g_plxGlobalData.clrBtnText);
  m_bRoundShape = CPlxVisualManager::GetInstance()->IsToolbarRoundShape(this);
  if (m_bRoundShape)
    SetRoundRegion();
  else
    SetWindowRgn(nullptr, FALSE);
  GetAllToolbars().AddTail(this);
  m_bCreated = TRUE;
  return 0;
}

void CPlxToolBar::OnDestroy() {
  m_dropTarget.Revoke();
  m_penDrag.DeleteObject();
  // The tip is a top-level window of its own: it goes before its object does.
  if (m_pToolTip != nullptr && m_pToolTip->GetSafeHwnd() != nullptr) m_pToolTip->DestroyWindow();
  delete m_pToolTip;
  m_pToolTip = nullptr;
  CWnd::OnDestroy();
  if (m_pSelToolbar == this) m_pSelToolbar = nullptr;
  // A destroyed bar must not stay the mouse hook's last bar: the hook would reach a dead window.
  if (m_pLastHookToolbar == this) m_pLastHookToolbar = nullptr;
  CObList& bars = GetAllToolbars();
  if (POSITION pos = bars.Find(this)) bars.RemoveAt(pos);
}

CPlxToolbarButton* CPlxToolBar::GetButton(int iIndex) const {
  if (iIndex < 0 || iIndex >= GetCount()) return nullptr;
  POSITION pos = m_lstButtons.FindIndex(iIndex);
  return pos == nullptr ? nullptr : static_cast<CPlxToolbarButton*>(m_lstButtons.GetAt(pos));
}

int CPlxToolBar::CommandToIndex(UINT nIDFind, int iIndexFirst) const {
  int i = 0;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (i >= iIndexFirst && button != nullptr && button->m_nID == nIDFind) return i;
  }
  return -1;
}

int CPlxToolBar::ButtonToIndex(const CPlxToolbarButton* pButton) const {
  int i = 0;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i)
    if (m_lstButtons.GetNext(pos) == pButton) return i;
  return -1;
}

UINT CPlxToolBar::GetItemID(int nIndex) const {
  CPlxToolbarButton* button = GetButton(nIndex);
  return button == nullptr ? 0 : button->m_nID;
}

UINT CPlxToolBar::GetButtonStyle(int nIndex) const {
  CPlxToolbarButton* button = GetButton(nIndex);
  return button == nullptr ? 0 : button->m_nStyle;
}

CString CPlxToolBar::GetButtonText(int nIndex) const {
  CPlxToolbarButton* button = GetButton(nIndex);
  return button == nullptr ? CString() : button->m_strText;
}

void CPlxToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  CPlxToolbarButton* button = GetButton(nIndex);
  *lpRect = button == nullptr ? CRect(0, 0, 0, 0) : button->m_rect;
}

void CPlxToolBar::GetInvalidateItemRect(int nIndex, LPRECT lpRect) const {
  CPlxToolbarButton* button = GetButton(nIndex);
  *lpRect = button == nullptr ? CRect(0, 0, 0, 0) : button->GetRect();
}

int CPlxToolBar::InsertButton(const CPlxToolbarButton& button, int iInsertAt) {
  auto* copy = static_cast<CPlxToolbarButton*>(button.GetRuntimeClass()->CreateObject());
  if (copy == nullptr) return -1;
  copy->CopyFrom(button);
  const int index = InsertButtonObject(copy, iInsertAt);
  if (index < 0) delete copy;
  return index;
}

int CPlxToolBar::InsertButtonObject(CPlxToolbarButton* pButton, int iInsertAt) {
  if (pButton == nullptr || m_lstForbiddenCommands.Find(pButton->m_nID) != nullptr) return -1;
  const int count = GetCount();
  if (iInsertAt != -1) {
    if (iInsertAt < 0 || iInsertAt > count) return -1;
    if (iInsertAt < count) {
      m_lstButtons.InsertBefore(m_lstButtons.FindIndex(iInsertAt), pButton);
      pButton->OnChangeParentWnd(this);
      return iInsertAt;
    }
  }
  if (m_pChevron != nullptr && count > 0) {
    m_lstButtons.InsertBefore(m_lstButtons.GetTailPosition(), pButton);
    pButton->OnChangeParentWnd(this);
    return count - 1;
  }
  m_lstButtons.AddTail(pButton);
  pButton->OnChangeParentWnd(this);
  return GetCount() - 1;
}

int CPlxToolBar::InsertSeparator(int iInsertAt) {
  if (GetCount() == 0 || iInsertAt == 0) return -1;
  auto* separator = new CPlxToolbarButton;
  separator->m_nStyle = TBBS_SEPARATOR;
  const int index = InsertButtonObject(separator, iInsertAt);
  if (index < 0) delete separator;
  return index;
}

void CPlxToolBar::SetHotIndex(int iHot, BOOL bNotify) {
  if (m_iHot == iHot) return;
  m_iHot = iHot;
  if (bNotify) OnChangeHot(m_iHot);
}

void CPlxToolBar::RemoveButtonAt(POSITION pos) {
  auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetAt(pos));
  m_lstButtons.RemoveAt(pos);
  if (button != nullptr) {
    button->OnCancelMode();
    delete button;
  }
}

BOOL CPlxToolBar::RemoveButton(int iIndex) {
  const int count = GetCount();
  if (iIndex < 0 || iIndex >= count) return FALSE;
  if (m_pChevron != nullptr && iIndex == count - 1) return FALSE;
  RemoveButtonAt(m_lstButtons.FindIndex(iIndex));
  const auto fix = [iIndex](int& i) {
    if (i == iIndex)
      i = -1;
    else if (i > iIndex)
      --i;
  };
  fix(m_iSelected);
  fix(m_iPressed);
  int hot = m_iHot;
  fix(hot);
  SetHotIndex(hot, TRUE);

  // No separator stays at the end (the first button is never taken by this).
  for (;;) {
    int last = GetCount() - 1 - (m_pChevron != nullptr ? 1 : 0);
    if (last < 1) break;
    CPlxToolbarButton* button = GetButton(last);
    if (button == nullptr || !(button->m_nStyle & TBBS_SEPARATOR)) break;
    RemoveButtonAt(m_lstButtons.FindIndex(last));
  }
  // Nor two separators side by side.
  if (iIndex > 0 && iIndex < GetCount()) {
    CPlxToolbarButton* before = GetButton(iIndex - 1);
    CPlxToolbarButton* at = GetButton(iIndex);
    if (before != nullptr && at != nullptr && (before->m_nStyle & TBBS_SEPARATOR) &&
        (at->m_nStyle & TBBS_SEPARATOR) && at != m_pChevron)
      return RemoveButton(iIndex);
  }
  RebuildMnemonics();
  return TRUE;
}

void CPlxToolBar::RemoveAllButtons() {
  m_iPressed = m_iHot = m_iSelected = -1;
  while (!m_lstButtons.IsEmpty()) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.RemoveHead());
    if (button != nullptr) {
      button->OnCancelMode();
      delete button;
    }
  }
  m_pChevron = nullptr;
}

void CPlxToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  CPlxToolbarButton* button = GetButton(nIndex);
  if (button == nullptr) return;
  const UINT old = button->m_nStyle;
  if (old == nStyle) return;
  if (nStyle & TBBS_DISABLED) nStyle &= ~TBBS_PRESSED;
  button->SetStyle(nStyle);
  if (!((old & TBBS_PRESSED) && (nStyle & TBBS_PRESSED))) InvalidateButton(nIndex);
}

CPlxToolbarButton* CPlxToolBar::InvalidateButton(int nIndex) {
  CPlxToolbarButton* button = GetButton(nIndex);
  if (button == nullptr) return nullptr;
  if (GetSafeHwnd() == nullptr) return button;
  CRect rect;
  GetInvalidateItemRect(nIndex, rect);
  if (button == m_pChevron) {
    rect.right += 10;
    rect.bottom += 10;
  }
  InvalidateRect(rect, TRUE);
  if (button == m_pChevron) {
    const CSize extra = m_pChevron->GetExtraSize();
    if (extra != CSize(0, 0)) {
      rect.InflateRect(extra);
      RedrawWindow(rect, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
  }
  return button;
}

CPlxToolbarMenuButton* CPlxToolBar::GetDroppedDownMenu(int* pIndex) const {
  if (m_lstButtons.IsEmpty()) return nullptr;
  int i = 0;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++i) {
    auto* menu = dynamic_cast<CPlxToolbarMenuButton*>(static_cast<CObject*>(m_lstButtons.GetNext(pos)));
    if (menu != nullptr && menu->IsDroppedDown()) {
      if (pIndex != nullptr) *pIndex = i;
      return menu;
    }
  }
  if (pIndex != nullptr) *pIndex = -1;
  return nullptr;
}

CWnd* CPlxToolBar::GetCommandTarget() const {
  CWnd* target = GetBarOwner();
  if (target == nullptr || (m_bRouteToFrame && dynamic_cast<CFrameWnd*>(target) == nullptr)) {
    CFrameWnd* frame = AfxGetParentFrame(this);
    if (frame != nullptr) target = frame;
  }
  return target;
}

BOOL CPlxToolBar::IsUserDefined() const {
  CPlxToolkitFrame frame(dynamic_cast<CFrameWnd*>(AfxGetMainWnd()));
  if (!frame) frame = PlxGetToolkitFrame(this);
  return frame && frame.GetImpl()->IsUserDefinedToolbar(this);
}

int CPlxToolBar::GetCommandButtons(UINT uiCmd, CObList& listButtons) {
  listButtons.RemoveAll();
  if (uiCmd == 0) return 0;
  CObList& bars = GetAllToolbars();
  for (POSITION pos = bars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(bars.GetNext(pos));
    if (bar->GetSafeHwnd() == nullptr || CWnd::FromHandlePermanent(bar->m_hWnd) != bar) continue;
    for (POSITION p = bar->m_lstButtons.GetHeadPosition(); p != nullptr;) {
      auto* button = static_cast<CPlxToolbarButton*>(bar->m_lstButtons.GetNext(p));
      if (button == nullptr) break;
      if (button->m_nID == uiCmd) listButtons.AddTail(button);
    }
  }
  return static_cast<int>(listButtons.GetCount());
}

void CPlxToolBar::RebuildMnemonics() {
  m_mapMnemonics.RemoveAll();
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button == nullptr || (button->m_nStyle & TBBS_SEPARATOR) || !button->m_bText) continue;
    const int amp = button->m_strText.Find('&');
    if (amp < 0 || amp + 1 >= button->m_strText.GetLength()) continue;
    const UINT key = static_cast<UINT>(toupper(static_cast<unsigned char>(button->m_strText[amp + 1])));
    m_mapMnemonics.SetAt(key, button);
  }
}

void CPlxToolBar::AddBasicCommand(UINT uiCmd) {
  if (m_lstBasicCommands.Find(uiCmd) == nullptr) m_lstBasicCommands.AddTail(uiCmd);
}

COLORREF CPlxToolBar::GetHotTextColor() {
  return m_clrHotText == (COLORREF)-1 ? g_plxGlobalData.clrBtnText : m_clrHotText;
}

CSize CPlxToolBar::GetMenuImageSize() {
  return m_sizeMenuImage.cx == -1 ? m_sizeImage : m_sizeMenuImage;
}

CSize CPlxToolBar::GetMenuButtonSize() {
  return m_sizeMenuButton.cx == -1 ? m_sizeButton : m_sizeMenuButton;
}

void CPlxToolBar::EnableCustomizeButton(BOOL bEnable, UINT uiCustomizeCmd, const CString& strCustomizeText,
                                        BOOL bQuickCustomize) {
  if (!bEnable) {
    if (m_pChevron != nullptr) {
      m_lstButtons.RemoveTail();
      delete m_pChevron;
      m_pChevron = nullptr;
    }
    return;
  }
  if (m_pChevron == nullptr) {
    m_pChevron = new CCustomizeButton(static_cast<int>(uiCustomizeCmd), strCustomizeText);
    m_lstButtons.AddTail(m_pChevron);
    m_pChevron->OnChangeParentWnd(this);
  } else {
    m_pChevron->m_uiCustomizeCmdId = uiCustomizeCmd;
    m_pChevron->m_strCustomizeText = strCustomizeText;
  }
  m_bChevronAddRemove = bQuickCustomize;
}

LRESULT CPlxToolBar::OnTbButtonCount(WPARAM, LPARAM) {
  return GetCount();
}

LRESULT CPlxToolBar::OnTbGetItemRect(WPARAM wParam, LPARAM lParam) {
  if (lParam != 0) GetItemRect(static_cast<int>(wParam), reinterpret_cast<LPRECT>(lParam));
  return TRUE;
}

LRESULT CPlxToolBar::OnTbGetButton(WPARAM wParam, LPARAM lParam) {
  auto* info = reinterpret_cast<TBBUTTON*>(lParam);
  if (info == nullptr) return FALSE;
  CPlxToolbarButton* button = GetButton(static_cast<int>(wParam));
  const UINT style = button == nullptr ? 0 : button->m_nStyle;
  memset(info, 0, sizeof(*info));
  info->idCommand = button == nullptr ? 0 : static_cast<int>(button->m_nID);
  info->fsState = static_cast<BYTE>((style >> 16) & 0xFF);
  info->fsStyle = static_cast<BYTE>(style & 0xFF);
  return TRUE;
}

LRESULT CPlxToolBar::OnTbGetButtonText(WPARAM wParam, LPARAM lParam) {
  const int index = CommandToIndex(static_cast<UINT>(wParam));
  const CString text = index < 0 ? CString() : GetButtonText(index);
  // The caller's buffer has no stated size: a null buffer asks for the length to allocate.
  if (lParam != 0) memcpy(reinterpret_cast<char*>(lParam), static_cast<LPCTSTR>(text), text.GetLength() + 1);
  return text.GetLength();
}
