#include "toolkit/core/PlxUserTools.h"

#include <cstring>

#include "platform/base/Archive.h"
#include "platform/com/TaskMemory.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/ProcessLookup.h"
#include "platform/mfc/WinApp.h"
#include "platform/shellapi/FileInfo.h"
#include "platform/shellapi/ShellExecute.h"
#include "platform/shellapi/ShellFolder.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Metrics.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxRegistryValues.h"

IMPLEMENT_SERIAL(CPlxUserTool, CObject, VERSIONABLE_SCHEMA | 1)

CPlxUserToolsManager* g_pUserToolsManager = nullptr;
CPlxShellAccess* g_pShellAccess = nullptr;

namespace {

constexpr LPCTSTR kSection = "PlxUserToolsManager";
constexpr LPCTSTR kValue = "Tools";
constexpr UINT kDefaultToolIcon = 16931;
constexpr UINT kCopyFailedString = 16010;
constexpr UINT kCopyErrorString = 16008;

HICON g_hDefaultToolIcon = nullptr;  // shared by every tool, never destroyed by one

// Every toolbar loses the buttons of a removed tool and is laid out again when it lost one.
void PlxRemoveToolButtons(UINT uiCmdId) {
  CObList& bars = CPlxToolBar::GetAllToolbars();
  for (POSITION pos = bars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CPlxToolBar*>(bars.GetNext(pos));
    BOOL removed = FALSE;
    for (int i = bar->CommandToIndex(uiCmdId, 0); i >= 0; i = bar->CommandToIndex(uiCmdId, 0)) {
      if (!bar->RemoveButton(i)) break;
      removed = TRUE;
    }
    if (removed && bar->GetSafeHwnd()) bar->AdjustLayout();
  }
}

HWND MainWindow() {
  CWnd* main = AfxGetMainWnd();
  return main ? main->GetSafeHwnd() : nullptr;
}

}  // namespace

CPlxUserTool::CPlxUserTool() = default;

CPlxUserTool::~CPlxUserTool() {
  DeleteIcon();
}

void CPlxUserTool::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strLabel << m_strCommand << m_strArguments << m_strInitialDirectory << m_uiCmdId;
    return;
  }
  CString command;
  ar >> m_strLabel >> command >> m_strArguments >> m_strInitialDirectory >> m_uiCmdId;
  SetCommand(command);
}

BOOL CPlxUserTool::Invoke() {
  if (m_strCommand.IsEmpty()) return FALSE;
  const HINSTANCE result =
      ShellExecute(MainWindow(), nullptr, m_strCommand, m_strArguments, m_strInitialDirectory, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) >= 32;
}

void CPlxUserTool::SetCommand(LPCTSTR lpszCmd) {
  const CString command(lpszCmd ? lpszCmd : "");
  if (command == m_strCommand) return;
  m_strCommand = command;
  DeleteIcon();
  m_hIcon = LoadToolIcon();
}

HICON CPlxUserTool::LoadToolIcon() {
  CString path = m_strCommand;
  // A bare name is looked for along the search path; one with a folder part is taken as it is.
  if (path.FindOneOf("\\/:") < 0) {
    char found[260] = {};
    if (!SearchPath(nullptr, path, nullptr, sizeof found, found, nullptr)) return LoadDefaultToolIcon();
    path = found;
  }
  SHFILEINFO info{};
  if (!SHGetFileInfo(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SHELLICONSIZE | SHGFI_SMALLICON) ||
      !info.hIcon)
    return LoadDefaultToolIcon();
  return info.hIcon;
}

HICON CPlxUserTool::LoadDefaultToolIcon() {
  if (!g_hDefaultToolIcon)
    g_hDefaultToolIcon = static_cast<HICON>(
        LoadImage(AfxGetInstanceHandle(), MAKEINTRESOURCE(kDefaultToolIcon), IMAGE_ICON,
                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return g_hDefaultToolIcon;
}

void CPlxUserTool::DeleteIcon() {
  if (m_hIcon && m_hIcon != g_hDefaultToolIcon) DestroyIcon(m_hIcon);
  m_hIcon = nullptr;
}

void CPlxUserTool::DrawToolIcon(HDC hdc, const RECT& rect) const {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  const int dx = (rect.right - rect.left - cx) / 2, dy = (rect.bottom - rect.top - cy) / 2;
  DrawIconEx(hdc, rect.left + (dx > 0 ? dx : 0), rect.top + (dy > 0 ? dy : 0), m_hIcon, cx, cy, 0, nullptr,
             DI_NORMAL);
}

BOOL CPlxUserTool::CopyIconToClipboard() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
  ReleaseDC(nullptr, screen);
  BOOL ok = dc && bitmap;
  if (ok) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT rect{0, 0, cx, cy};
    FillRect(dc, &rect, static_cast<HBRUSH>(g_plxGlobalData.brBtnFace.GetSafeHandle()));
    DrawToolIcon(dc, rect);
    SelectObject(dc, old);
    ok = OpenClipboard(MainWindow());
    if (ok) {
      ok = EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap);
      CloseClipboard();
      if (ok) bitmap = nullptr;  // the clipboard's now
    }
  }
  if (dc) DeleteDC(dc);
  if (bitmap) DeleteObject(bitmap);
  if (!ok) AfxMessageBox(kCopyFailedString);
  return ok;
}

CPlxUserToolsManager::CPlxUserToolsManager(UINT uiCmdToolsDummy, UINT uiCmdFirst, UINT uiCmdLast,
                                           CRuntimeClass* pToolRTC, UINT uArgMenuID, UINT uInitDirMenuID)
    : m_uiCmdToolsDummy(uiCmdToolsDummy),
      m_uiCmdFirst(uiCmdFirst),
      m_uiCmdLast(uiCmdLast),
      m_pToolRTC(pToolRTC && pToolRTC->IsDerivedFrom(RUNTIME_CLASS(CPlxUserTool))
                     ? pToolRTC
                     : RUNTIME_CLASS(CPlxUserTool)),
      m_uiArgumentsMenuID(uArgMenuID),
      m_uiInitialDirMenuID(uInitDirMenuID) {
  g_pUserToolsManager = this;
}

CPlxUserToolsManager::~CPlxUserToolsManager() {
  DeleteAll();
  if (g_pUserToolsManager == this) g_pUserToolsManager = nullptr;
}

void CPlxUserToolsManager::DeleteAll() {
  while (!m_lstUserTools.IsEmpty()) delete m_lstUserTools.RemoveHead();
}

CPlxUserTool* CPlxUserToolsManager::CreateNewTool() {
  if (m_uiCmdLast < m_uiCmdFirst) return nullptr;
  if (static_cast<UINT>(m_lstUserTools.GetCount()) >= m_uiCmdLast - m_uiCmdFirst + 1) return nullptr;
  UINT id = m_uiCmdFirst;
  while (FindTool(id)) {
    if (id == m_uiCmdLast) return nullptr;
    ++id;
  }
  auto* tool = static_cast<CPlxUserTool*>(m_pToolRTC->CreateObject());
  if (!tool) return nullptr;
  tool->m_uiCmdId = id;
  m_lstUserTools.AddTail(tool);
  return tool;
}

BOOL CPlxUserToolsManager::RemoveTool(CPlxUserTool* pTool) {
  POSITION pos = pTool ? m_lstUserTools.Find(pTool) : nullptr;
  if (!pos) return FALSE;
  m_lstUserTools.RemoveAt(pos);
  const UINT id = pTool->m_uiCmdId;
  delete pTool;
  PlxRemoveToolButtons(id);
  return TRUE;
}

BOOL CPlxUserToolsManager::MoveToolUp(CPlxUserTool* pTool) {
  POSITION pos = pTool ? m_lstUserTools.Find(pTool) : nullptr;
  if (!pos) return FALSE;
  POSITION before = pos;
  m_lstUserTools.GetPrev(before);
  if (!before) return FALSE;
  m_lstUserTools.RemoveAt(pos);
  m_lstUserTools.InsertBefore(before, pTool);
  return TRUE;
}

BOOL CPlxUserToolsManager::MoveToolDown(CPlxUserTool* pTool) {
  POSITION pos = pTool ? m_lstUserTools.Find(pTool) : nullptr;
  if (!pos) return FALSE;
  POSITION after = pos;
  m_lstUserTools.GetNext(after);
  if (!after) return FALSE;
  m_lstUserTools.RemoveAt(pos);
  m_lstUserTools.InsertAfter(after, pTool);
  return TRUE;
}

CPlxUserTool* CPlxUserToolsManager::FindTool(UINT uiCmdId) const {
  if (!IsUserToolCmd(uiCmdId)) return nullptr;
  for (POSITION pos = m_lstUserTools.GetHeadPosition(); pos;) {
    auto* tool = static_cast<CPlxUserTool*>(m_lstUserTools.GetNext(pos));
    if (tool->m_uiCmdId == uiCmdId) return tool;
  }
  return nullptr;
}

BOOL CPlxUserToolsManager::InvokeTool(UINT uiCmdId) {
  CPlxUserTool* tool = FindTool(uiCmdId);
  return tool ? tool->Invoke() : FALSE;
}

BOOL CPlxUserToolsManager::LoadState(LPCTSTR lpszProfileName) {
  const CString path = PlxGetRegPath(kSection, lpszProfileName);
  DeleteAll();
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, FALSE);
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!registry.Open(path) || !registry.ReadBinary(kValue, &bytes, &length)) return FALSE;
  // The list's archive form, read object by object so that only tool classes are ever made.
  CObList loaded;
  const BOOL ok = PlxRegLoadArchive(bytes, length, [&](CArchive& ar, UINT) {
    for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
      CObject* object = ar.ReadObject(m_pToolRTC);
      if (object) loaded.AddTail(object);
    }
  });
  delete[] bytes;
  if (!ok) {
    while (!loaded.IsEmpty()) delete loaded.RemoveHead();
    return FALSE;
  }
  while (!loaded.IsEmpty()) {
    auto* tool = static_cast<CPlxUserTool*>(loaded.RemoveHead());
    if (!IsUserToolCmd(tool->m_uiCmdId) || FindTool(tool->m_uiCmdId)) {
      delete tool;
      continue;
    }
    m_lstUserTools.AddTail(tool);
  }
  return TRUE;
}

BOOL CPlxUserToolsManager::SaveState(LPCTSTR lpszProfileName) {
  const CString path = PlxGetRegPath(kSection, lpszProfileName);
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, FALSE);
  if (!registry.CreateKey(path)) return FALSE;
  return registry.WriteObList(kValue, m_lstUserTools);
}

UINT PlxShellCommandMessage() {
  static const UINT message = RegisterWindowMessage("PlxM_ON_AFTER_SHELL_COMMAND");
  return message;
}

CPlxShellAccess::CPlxShellAccess() {
  PlxShellCommandMessage();  // registered with the shell access at start-up; no window handles it
  if (FAILED(SHGetMalloc(&m_pMalloc))) m_pMalloc = nullptr;
  g_pShellAccess = this;
}

CPlxShellAccess::~CPlxShellAccess() {
  if (m_pMalloc) m_pMalloc->Release();
  if (g_pShellAccess == this) g_pShellAccess = nullptr;
}
