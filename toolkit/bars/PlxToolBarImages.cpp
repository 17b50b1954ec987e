// Loading a toolbar from its resources: the shared or private image strips, the sizes with the
// large-icon mode, the map from command to default image and the buttons of a command list.
#include "toolkit/bars/PlxToolBar.h"

#include <vector>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxCustomizeButton.h"

namespace {

const LPCSTR kToolbarType = MAKEINTRESOURCE(241);  // RT_TOOLBAR
constexpr int kHeaderWords = 4;
constexpr SIZE kDefaultButtonSize{23, 22}, kDefaultImageSize{16, 15};

// One strip load: ids of 0 are skipped; an id the strip holds already is not loaded twice.
BOOL LoadStrip(CPlxButtonImages& strip, UINT uiResID) {
  if (uiResID == 0) return TRUE;
  return strip.Load(uiResID, AfxFindResourceHandle(MAKEINTRESOURCE(uiResID), RT_BITMAP), TRUE);
}

BOOL LoadCold(CPlxButtonImages& cold, CPlxButtonImages& normal, UINT uiColdResID) {
  if (uiColdResID != 0) return LoadStrip(cold, uiColdResID);
  if (CPlxToolBar::m_bAutoColdImages) {
    normal.CopyTo(cold);
    cold.GrayImages(CPlxToolBar::m_nAutoGrayPercent);
  }
  return TRUE;
}

}  // namespace

CSize CPlxToolBar::LargeSize(CSize size) {
  return CSize(static_cast<int>(size.cx * m_dLargeIconScale + 0.5),
               static_cast<int>(size.cy * m_dLargeIconScale + 0.5));
}

BOOL CPlxToolBar::LoadBitmap(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL bLocked,
                             UINT uiDisabledResID, UINT uiMenuDisabledResID) {
  PlxToolBarLoadParams params;
  params.m_uiResID = uiResID;
  params.m_uiColdResID = uiColdResID;
  params.m_uiMenuResID = uiMenuResID;
  params.m_uiDisabledResID = uiDisabledResID;
  params.m_uiMenuDisabledResID = uiMenuDisabledResID;
  return LoadBitmapEx(params, bLocked);
}

BOOL CPlxToolBar::LoadToolBar(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL bLocked,
                              UINT uiDisabledResID, UINT uiMenuDisabledResID, UINT uiHotResID) {
  PlxToolBarLoadParams params;
  params.m_uiColdResID = uiColdResID;
  params.m_uiMenuResID = uiMenuResID;
  params.m_uiDisabledResID = uiDisabledResID;
  params.m_uiMenuDisabledResID = uiMenuDisabledResID;
  params.m_uiResID = uiHotResID;
  return LoadToolBarEx(uiResID, params, bLocked);
}

BOOL CPlxToolBar::LoadBitmapEx(PlxToolBarLoadParams& params, BOOL bLocked) {
  m_bLocked = bLocked;
  if (m_bLocked) {
    return LoadStrip(m_ownImages, params.m_uiResID) &&
           LoadCold(m_ownColdImages, m_ownImages, params.m_uiColdResID) &&
           LoadStrip(m_ownDisabledImages, params.m_uiDisabledResID) &&
           LoadStrip(m_ownLargeImages, params.m_uiLargeResID) &&
           LoadStrip(m_ownLargeColdImages, params.m_uiLargeColdResID) &&
           LoadStrip(m_ownLargeDisabledImages, params.m_uiLargeDisabledResID) &&
           LoadStrip(m_ownMenuImages, params.m_uiMenuResID) &&
           LoadStrip(m_ownDisabledMenuImages, params.m_uiMenuDisabledResID);
  }
  if (!LoadStrip(m_sharedImages, params.m_uiResID)) return FALSE;
  m_iImagesOffset = m_sharedImages.GetResourceOffset(params.m_uiResID);
  return LoadCold(m_sharedColdImages, m_sharedImages, params.m_uiColdResID) &&
         LoadStrip(m_sharedMenuImages, params.m_uiMenuResID) &&
         LoadStrip(m_sharedDisabledImages, params.m_uiDisabledResID) &&
         LoadStrip(m_sharedDisabledMenuImages, params.m_uiMenuDisabledResID) &&
         LoadStrip(m_sharedLargeImages, params.m_uiLargeResID) &&
         LoadStrip(m_sharedLargeColdImages, params.m_uiLargeColdResID) &&
         LoadStrip(m_sharedLargeDisabledImages, params.m_uiLargeDisabledResID);
}

BOOL CPlxToolBar::LoadToolBarEx(UINT uiToolbarResID, PlxToolBarLoadParams& params, BOOL bLocked) {
  LPCSTR name = MAKEINTRESOURCE(uiToolbarResID & 0xFFFF);
  HINSTANCE instance = AfxFindResourceHandle(name, kToolbarType);
  HRSRC found = instance != nullptr ? ::FindResource(instance, name, kToolbarType) : nullptr;
  HGLOBAL data = found != nullptr ? ::LoadResource(instance, found) : nullptr;
  const auto* words = data != nullptr ? static_cast<const WORD*>(::LockResource(data)) : nullptr;
  if (words == nullptr) return FALSE;
  // The item count is bounded by the resource's own size.
  const DWORD bytes = ::SizeofResource(instance, found);
  if (bytes < kHeaderWords * sizeof(WORD)) return FALSE;
  const int available = static_cast<int>(bytes / sizeof(WORD)) - kHeaderWords;
  const int count = std::min<int>(words[3], available);
  const CSize image(words[1], words[2]);
  const CSize button(image.cx + 6, image.cy + 6);

  // The strips cut their bitmaps by the new sizes; a failed bitmap puts the old sizes back.
  const CSize oldButton = bLocked ? m_sizeOwnButton : m_sizeButton;
  const CSize oldImage = bLocked ? m_sizeOwnImage : m_sizeImage;
  const auto setSizes = [this, bLocked](CSize b, CSize i) {
    if (bLocked)
      SetOwnSizes(b, i);
    else
      SetSizes(b, i);
  };
  setSizes(button, image);
  if (params.m_uiResID == 0) params.m_uiResID = uiToolbarResID;
  if (m_uiDefaultResId == 0) {
    const BOOL wasLocked = m_bLocked;
    const int oldOffset = m_iImagesOffset;
    if (!LoadBitmapEx(params, bLocked)) {
      m_bLocked = wasLocked;
      m_iImagesOffset = oldOffset;
      setSizes(oldButton, oldImage);
      return FALSE;
    }
  }
  m_bLocked = bLocked;

  std::vector<UINT> ids(static_cast<size_t>(count));
  int iImage = m_iImagesOffset;
  for (int i = 0; i < count; ++i) {
    ids[i] = words[kHeaderWords + i];
    if (!m_bLocked && ids[i] != 0) m_mapDefaultImages.SetAt(ids[i], iImage++);
  }
  m_uiDefaultResId = uiToolbarResID;
  const BOOL ok = SetButtons(ids.empty() ? nullptr : ids.data(), count, TRUE);
  if (!ok) m_uiDefaultResId = 0;
  return ok;
}

CPlxToolbarButton* CPlxToolBar::TakeChevronCopy() {
  if (m_pChevron == nullptr) return nullptr;
  auto* copy = new CCustomizeButton;
  copy->CopyFrom(*m_pChevron);
  return copy;
}

void CPlxToolBar::PutChevronBack(CPlxToolbarButton* pCopy) {
  auto* chevron = static_cast<CCustomizeButton*>(pCopy);
  if (chevron == nullptr) return;
  if (InsertButtonObject(chevron, -1) < 0) {
    delete chevron;
    return;
  }
  m_pChevron = chevron;
}

void CPlxToolBar::CopyResetButtons() {
  while (!m_lstResetButtons.IsEmpty()) delete m_lstResetButtons.RemoveHead();
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = dynamic_cast<CPlxToolbarButton*>(static_cast<CObject*>(m_lstButtons.GetNext(pos)));
    if (button == nullptr) continue;
    auto* copy = static_cast<CPlxToolbarButton*>(button->GetRuntimeClass()->CreateObject());
    if (copy == nullptr) continue;
    copy->CopyFrom(*button);
    m_lstResetButtons.AddTail(copy);
  }
}

BOOL CPlxToolBar::SetButtons(const UINT* lpIDArray, int nIDCount, BOOL bRemapImages) {
  CPlxToolbarButton* chevron = TakeChevronCopy();
  RemoveAllButtons();
  while (!m_lstDefaultButtons.IsEmpty()) delete m_lstDefaultButtons.RemoveHead();
  if (lpIDArray == nullptr) {
    delete chevron;
    return TRUE;
  }
  int iImage = m_iImagesOffset;
  for (int i = 0; i < nIDCount; ++i) {
    const UINT id = lpIDArray[i];
    auto* plain = new CPlxToolbarButton(id, -1, nullptr, FALSE, FALSE);
    if (id == 0) plain->m_nStyle = TBBS_SEPARATOR;
    m_lstDefaultButtons.AddTail(plain);
    if (id == 0) {
      InsertSeparator(-1);
      continue;
    }
    if (bRemapImages) {
      const int inserted = InsertButton(CPlxToolbarButton(id, iImage, nullptr, FALSE, m_bLocked), -1);
      if (inserted >= 0 && !m_bLocked) m_mapDefaultImages.SetAt(id, iImage);
      ++iImage;
    } else {
      int image = -1;
      if (m_mapDefaultImages.Lookup(id, image))
        InsertButton(CPlxToolbarButton(id, image, nullptr, FALSE, m_bLocked), -1);
    }
  }
  PutChevronBack(chevron);
  if (GetSafeHwnd() != nullptr) {
    OnReset();
    CWnd* site = m_pDockSite != nullptr ? static_cast<CWnd*>(m_pDockSite) : GetParent();
    if (site == nullptr) return TRUE;
    site->SendMessage(PLX_WM_RESETTOOLBAR, m_uiDefaultResId, 0);
    CopyResetButtons();
  }
  return TRUE;
}

void CPlxToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  m_sizeButton = m_sizeCurButton = sizeButton;
  m_sizeImage = m_sizeCurImage = sizeImage;
  m_sharedImages.SetImageSize(sizeImage);
  m_sharedColdImages.SetImageSize(sizeImage);
  m_sharedDisabledImages.SetImageSize(sizeImage);
  const CSize large = LargeSize(sizeImage);
  m_sharedLargeImages.SetImageSize(large);
  m_sharedLargeColdImages.SetImageSize(large);
  m_sharedLargeDisabledImages.SetImageSize(large);
  if (m_bLargeIcons) {
    m_sizeCurButton = LargeSize(sizeButton);
    m_sizeCurImage = large;
  }
  if (m_pUserImages != nullptr) m_pUserImages->SetImageSize(sizeImage);
}

void CPlxToolBar::SetMenuSizes(SIZE sizeButton, SIZE sizeImage) {
  m_sizeMenuButton = sizeButton;
  m_sizeMenuImage = sizeImage;
}

void CPlxToolBar::SetOwnSizes(SIZE sizeButton, SIZE sizeImage) {
  m_sizeOwnButton = m_sizeOwnCurButton = sizeButton;
  m_sizeOwnImage = m_sizeOwnCurImage = sizeImage;
  for (CPlxButtonImages* strip : {&m_ownImages, &m_ownColdImages, &m_ownDisabledImages, &m_ownMenuImages})
    strip->SetImageSize(sizeImage);
  const CSize large = LargeSize(sizeImage);
  for (CPlxButtonImages* strip : {&m_ownLargeImages, &m_ownLargeColdImages, &m_ownLargeDisabledImages})
    strip->SetImageSize(large);
  if (m_bLargeIcons) {
    m_sizeOwnCurButton = LargeSize(sizeButton);
    m_sizeOwnCurImage = large;
  }
}

void CPlxToolBar::SetLargeIcons(BOOL bLargeIcons) {
  m_bLargeIcons = bLargeIcons;
  m_sizeCurButton = bLargeIcons ? LargeSize(m_sizeButton) : m_sizeButton;
  m_sizeCurImage = bLargeIcons ? LargeSize(m_sizeImage) : m_sizeImage;
  CObList& bars = GetAllToolbars();
  for (POSITION pos = bars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(bars.GetNext(pos));
    if (bar->GetSafeHwnd() == nullptr || CWnd::FromHandlePermanent(bar->m_hWnd) != bar) continue;
    if (bar->m_bLocked) {
      bar->m_sizeOwnCurButton = bLargeIcons ? LargeSize(bar->m_sizeOwnButton) : bar->m_sizeOwnButton;
      bar->m_sizeOwnCurImage = bLargeIcons ? LargeSize(bar->m_sizeOwnImage) : bar->m_sizeOwnImage;
    }
    bar->AdjustLayout();
  }
}

void CPlxToolBar::ResetAllImages() {
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;)
    static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos))->ResetImageToDefault();
  if (IsFloating()) AdjustLayout();
}

CPlxButtonImages* CPlxToolBar::ChooseImages(CPlxButtonImages& shared, CPlxButtonImages& own,
                                            CPlxButtonImages& sharedLarge, CPlxButtonImages& ownLarge) {
  CPlxButtonImages& normal = m_bLocked ? own : shared;
  CPlxButtonImages& large = m_bLocked ? ownLarge : sharedLarge;
  return m_bLargeIcons && !m_bMenuMode && large.GetCount() > 0 ? &large : &normal;
}

void CPlxToolBar::CleanUpImages() {
  for (CPlxButtonImages* strip :
       {&m_sharedImages, &m_sharedColdImages, &m_sharedDisabledImages, &m_sharedLargeImages,
        &m_sharedLargeColdImages, &m_sharedLargeDisabledImages, &m_sharedMenuImages,
        &m_sharedDisabledMenuImages})
    strip->Clear();
  m_mapDefaultImages.RemoveAll();
  // The commands' images index the strips just emptied.
  GetCommandManager()->ClearAllCmdImages();
  m_commandUsage.Reset();
  CPlxButtonImages::StaticCleanUp();
  // The sizes the shared strips were loaded with go with them: bars made afterwards start from
  // the defaults, as in a new process.
  SetSizes(kDefaultButtonSize, kDefaultImageSize);
  SetMenuSizes(CSize(-1, -1), CSize(-1, -1));
}

void CPlxToolBar::ResetImagesColors() {
  for (CPlxButtonImages* strip :
       {&m_sharedImages, &m_sharedColdImages, &m_sharedDisabledImages, &m_sharedMenuImages,
        &m_sharedDisabledMenuImages, &m_sharedLargeImages, &m_sharedLargeColdImages,
        &m_sharedLargeDisabledImages, &m_ownImages, &m_ownColdImages, &m_ownDisabledImages, &m_ownLargeImages,
        &m_ownLargeColdImages, &m_ownLargeDisabledImages, &m_ownMenuImages, &m_ownDisabledMenuImages})
    strip->Reload();
  if (m_pUserImages != nullptr) m_pUserImages->Reload();
}
