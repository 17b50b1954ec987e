#include "toolkit/core/PlxVisualManager.h"

#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/User.h"
#include "toolkit/core/PlxGlobalData.h"

IMPLEMENT_DYNCREATE(CPlxVisualManager, CObject)

CPlxVisualManager* CPlxVisualManager::m_pVisManager = nullptr;
CRuntimeClass* CPlxVisualManager::m_pRTIDefault = nullptr;

CPlxVisualManager::CPlxVisualManager(BOOL bTemporary) : m_bTemporary(bTemporary) {
  if (bTemporary) return;
  if (m_pVisManager == nullptr) m_pVisManager = this;
  g_plxGlobalData.UpdateSysColors();
}

CPlxVisualManager::~CPlxVisualManager() {
  // Only the current manager clears the pointer: deleting another one must not orphan it.
  if (!m_bTemporary && m_pVisManager == this) m_pVisManager = nullptr;
}

CPlxVisualManager* CPlxVisualManager::GetInstance() {
  if (m_pVisManager != nullptr) return m_pVisManager;
  CPlxVisualManager* manager = m_pRTIDefault == nullptr
                                   ? new CPlxVisualManager(FALSE)
                                   : static_cast<CPlxVisualManager*>(m_pRTIDefault->CreateObject());
  m_pVisManager = manager;
  manager->m_bAutoDestroy = TRUE;
  manager->OnUpdateSystemColors();
  return manager;
}

void CPlxVisualManager::SetDefaultManager(CRuntimeClass* pRTI) {
  if (pRTI != nullptr && !pRTI->IsDerivedFrom(RUNTIME_CLASS(CPlxVisualManager))) return;
  m_pRTIDefault = pRTI;
  delete m_pVisManager;
  m_pVisManager = nullptr;
  g_plxGlobalData.UpdateSysColors();
  RedrawAll();
}

void CPlxVisualManager::DestroyInstance(BOOL bAutoDestroyOnly) {
  if (m_pVisManager == nullptr || (bAutoDestroyOnly && !m_pVisManager->m_bAutoDestroy)) return;
  delete m_pVisManager;
  m_pVisManager = nullptr;
}

void CPlxVisualManager::RedrawAll() {
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main->GetSafeHwnd() != nullptr)
    RedrawWindow(main->GetSafeHwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- Image strips and push buttons ----

COLORREF CPlxVisualManager::GetImageShadowBaseColor() const {
  return g_plxGlobalData.clrBarFace;
}

// No desktop theme is open on this platform: push buttons draw their classic frames.
BOOL CPlxVisualManager::DrawPushButtonWinXP(CDC* /*pDC*/, CRect /*rect*/, CPlxButton* /*pButton*/,
                                            UINT /*uiState*/) {
  return FALSE;
}
