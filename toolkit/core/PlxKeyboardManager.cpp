#include "toolkit/core/PlxKeyboardManager.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Input.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxRegistry.h"

CPlxKeyboardManager* g_pKeyboardManager = nullptr;

namespace {

constexpr LPCTSTR kSection = "PlxKeyboardManager";
constexpr LPCTSTR kValue = "Accelerators";

// A copy of the last table looked at, per kind of frame, so that shortcut look-ups copy a table
// only when the frame's table changed.
struct AccelCache {
  std::vector<ACCEL> entries;
  HACCEL from = nullptr;
};
AccelCache g_mainCache, g_otherCache;  // UI thread only

CFrameWnd* FrameOrMain(CFrameWnd* pFrame) {
  if (pFrame) return pFrame;
  return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
}

const std::vector<ACCEL>* Refresh(CFrameWnd* pFrame, BOOL bIsDefaultFrame) {
  if (!pFrame || !pFrame->m_hAccelTable) return nullptr;
  AccelCache& cache = bIsDefaultFrame ? g_mainCache : g_otherCache;
  if (cache.from != pFrame->m_hAccelTable) {
    const int count = CopyAcceleratorTable(pFrame->m_hAccelTable, nullptr, 0);
    cache.entries.assign(static_cast<size_t>(count > 0 ? count : 0), ACCEL{});
    if (count > 0) CopyAcceleratorTable(pFrame->m_hAccelTable, cache.entries.data(), count);
    cache.from = pFrame->m_hAccelTable;
  }
  return &cache.entries;
}

}  // namespace

CPlxKeyboardManager::CPlxKeyboardManager() {
  g_pKeyboardManager = this;
}

CPlxKeyboardManager::~CPlxKeyboardManager() {
  if (g_pKeyboardManager == this) g_pKeyboardManager = nullptr;
}

BOOL CPlxKeyboardManager::UpdateAcceleratorTable(LPACCEL lpAccel, int nSize, CFrameWnd* pFrame) {
  CFrameWnd* frame = FrameOrMain(pFrame);
  // A frame without a table is refused before a new one exists.
  if (!frame || !frame->m_hAccelTable) return FALSE;
  HACCEL table = CreateAcceleratorTable(lpAccel, nSize);
  if (!table) return FALSE;
  if (!ReplaceAccelTable(table, frame)) {
    DestroyAcceleratorTable(table);
    return FALSE;
  }
  return TRUE;
}

BOOL CPlxKeyboardManager::ReplaceAccelTable(HACCEL hAccelNew, CFrameWnd* pFrame) {
  CFrameWnd* frame = FrameOrMain(pFrame);
  if (!frame || !hAccelNew) return FALSE;
  HACCEL old = frame->m_hAccelTable;
  if (!old) return FALSE;
  frame->m_hAccelTable = hAccelNew;
  if (old != hAccelNew) DestroyAcceleratorTable(old);
  return TRUE;
}

namespace {

// The template's table goes to the children already open: they translate with their own handle.
void InstallInTemplate(CMultiDocTemplate* pTemplate, HACCEL table) {
  HACCEL old = pTemplate->m_hAccelTable;
  pTemplate->m_hAccelTable = table;
  for (POSITION pos = pTemplate->GetFirstDocPosition(); pos != nullptr;) {
    CDocument* doc = pTemplate->GetNextDoc(pos);
    if (doc == nullptr) continue;
    for (POSITION v = doc->GetFirstViewPosition(); v != nullptr;) {
      CView* view = doc->GetNextView(v);
      auto* child = dynamic_cast<CMDIChildWnd*>(view != nullptr ? view->GetParentFrame() : nullptr);
      if (child != nullptr) child->SetHandles(pTemplate->m_hMenuShared, table);
    }
  }
  if (old != nullptr && old != table) DestroyAcceleratorTable(old);
}

// The application's document templates that have a table of their own, in template order.
std::vector<CMultiDocTemplate*> TemplatesWithTables() {
  std::vector<CMultiDocTemplate*> templates;
  CWinApp* app = AfxGetApp();
  for (POSITION pos = app != nullptr ? app->GetFirstDocTemplatePosition() : nullptr; pos != nullptr;) {
    auto* tmpl = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(pos));
    if (tmpl != nullptr && tmpl->m_hAccelTable != nullptr) templates.push_back(tmpl);
  }
  return templates;
}

}  // namespace

BOOL CPlxKeyboardManager::UpdateTemplateAccelTable(CMultiDocTemplate* pTemplate, LPACCEL lpAccel, int nSize) {
  if (pTemplate == nullptr || pTemplate->m_hAccelTable == nullptr) return FALSE;
  HACCEL table = CreateAcceleratorTable(lpAccel, nSize);
  if (!table) return FALSE;
  InstallInTemplate(pTemplate, table);
  return TRUE;
}

void CPlxKeyboardManager::ResetAllTables(CFrameWnd* pFrame) {
  for (CMultiDocTemplate* tmpl : TemplatesWithTables()) {
    if (HACCEL table = LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(tmpl->m_nIDResource)))
      InstallInTemplate(tmpl, table);
  }
  if (CFrameWnd* frame = FrameOrMain(pFrame)) ResetAll(frame->m_nIDHelp, frame);
}

BOOL CPlxKeyboardManager::SaveAccelTable(LPCTSTR lpszRegPath, int iIndex, HACCEL hAccelTable) {
  CString key;
  key.Format("%sPlxKeyboard-%d", lpszRegPath, iIndex);
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, FALSE);
  if (!registry.CreateKey(key)) return FALSE;
  const int count = CopyAcceleratorTable(hAccelTable, nullptr, 0);
  if (count <= 0) return FALSE;
  std::vector<ACCEL> entries(static_cast<size_t>(count));
  CopyAcceleratorTable(hAccelTable, entries.data(), count);
  return registry.WriteBinary(kValue, reinterpret_cast<const BYTE*>(entries.data()),
                              static_cast<UINT>(entries.size() * sizeof(ACCEL)));
}

BOOL CPlxKeyboardManager::LoadAccelTable(LPCTSTR lpszRegPath, int iIndex, HACCEL& hAccelTable) {
  CString key;
  key.Format("%sPlxKeyboard-%d", lpszRegPath, iIndex);
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, FALSE);
  if (!registry.Open(key)) return FALSE;
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!registry.ReadBinary(kValue, &bytes, &length)) return FALSE;
  BOOL ok = FALSE;
  if (length > 0 && length % sizeof(ACCEL) == 0) {
    std::vector<ACCEL> entries(length / sizeof(ACCEL));
    std::memcpy(entries.data(), bytes, length);
    for (ACCEL& entry : entries)
      if (CPlxToolBar::m_lstForbiddenCommands.Find(entry.cmd)) entry.cmd = 0;
    hAccelTable = CreateAcceleratorTable(entries.data(), static_cast<int>(entries.size()));
    ok = hAccelTable != nullptr;
  }
  delete[] bytes;
  return ok;
}

BOOL CPlxKeyboardManager::LoadState(LPCTSTR lpszProfileName, CFrameWnd* pDefaultFrame) {
  const CString path = PlxGetRegPath(kSection, lpszProfileName);
  for (CMultiDocTemplate* tmpl : TemplatesWithTables()) {
    HACCEL loaded = nullptr;
    if (LoadAccelTable(path, static_cast<int>(tmpl->m_nIDResource), loaded)) InstallInTemplate(tmpl, loaded);
  }
  CFrameWnd* frame = FrameOrMain(pDefaultFrame);
  if (!frame || !frame->m_hAccelTable) return TRUE;
  HACCEL table = nullptr;
  if (LoadAccelTable(path, 0, table) && !ReplaceAccelTable(table, frame)) DestroyAcceleratorTable(table);
  return TRUE;
}

BOOL CPlxKeyboardManager::SaveState(LPCTSTR lpszProfileName, CFrameWnd* pDefaultFrame) {
  const CString path = PlxGetRegPath(kSection, lpszProfileName);
  BOOL ok = TRUE;
  for (CMultiDocTemplate* tmpl : TemplatesWithTables())
    ok = SaveAccelTable(path, static_cast<int>(tmpl->m_nIDResource), tmpl->m_hAccelTable) && ok;
  CFrameWnd* frame = FrameOrMain(pDefaultFrame);
  if (!frame || !frame->m_hAccelTable) return ok;
  return SaveAccelTable(path, 0, frame->m_hAccelTable) && ok;
}

void CPlxKeyboardManager::ResetAll(UINT uiResId, CFrameWnd* pFrame) {
  CFrameWnd* frame = FrameOrMain(pFrame);
  if (!frame || !frame->m_hAccelTable || uiResId == 0) return;
  if (HACCEL table = LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(uiResId));
      table && !ReplaceAccelTable(table, frame))
    DestroyAcceleratorTable(table);
}

BOOL CPlxKeyboardManager::FindDefaultAccelerator(UINT uiCmd, CString& str, CFrameWnd* pWndFrame,
                                                 BOOL bIsDefaultFrame) {
  str.Empty();
  const std::vector<ACCEL>* entries = Refresh(pWndFrame, bIsDefaultFrame);
  if (!entries) return FALSE;
  for (const ACCEL& entry : *entries) {
    if (entry.cmd != uiCmd) continue;
    CPlxShortcutText(&entry).Format(str);
    return TRUE;
  }
  return FALSE;
}

BOOL CPlxKeyboardManager::IsKeyAssigned(UINT nKey, BYTE fVirt, CFrameWnd* pWndFrame, BOOL bIsDefaultFrame) {
  const std::vector<ACCEL>* entries = Refresh(pWndFrame, bIsDefaultFrame);
  if (!entries) return FALSE;
  for (const ACCEL& entry : *entries)
    if (entry.key == static_cast<WORD>(nKey) && entry.fVirt == fVirt) return TRUE;
  return FALSE;
}

UINT CPlxKeyboardManager::TranslateCharToUpper(UINT nChar) {
  const bool alt = GetKeyState(VK_MENU) < 0;
  if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9 && !alt) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    WORD chars = 0;
    if (ToAsciiEx(nChar, MapVirtualKey(nChar, MAPVK_VK_TO_VSC), state, &chars, 1, nullptr) == 1) {
      const char ch = static_cast<char>(std::toupper(static_cast<unsigned char>(chars & 0xFF)));
      return static_cast<UINT>(static_cast<int>(static_cast<signed char>(ch)));
    }
    return nChar;
  }
  if (alt) return nChar;
  return static_cast<UINT>(std::toupper(static_cast<int>(nChar)));
}

void CPlxKeyboardManager::CleanUp() {
  g_mainCache = {};
  g_otherCache = {};
}
