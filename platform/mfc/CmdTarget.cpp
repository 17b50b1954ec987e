// Message maps: the search of a target's maps and the routing of commands to their handlers.
#include "platform/mfc/CmdTarget.h"

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, bool thread) const {
  const UINT plain = thread ? AfxSig_thread : AfxSig_window;
  const UINT registered = thread ? AfxSig_registeredThread : AfxSig_registered;
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
      if (entry->nSig == plain && entry->nMessage == message) return entry;
      if (entry->nSig == registered && entry->pnMessage && *entry->pnMessage == message && message != 0)
        return entry;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const bool update = static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI;
  UINT message = WM_COMMAND;
  UINT code = 0;
  if (!update) {
    message = HIWORD(static_cast<UINT>(nCode));
    code = LOWORD(static_cast<UINT>(nCode));
    if (message == 0) message = WM_COMMAND;
  }
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
      if (entry->nMessage != message) continue;
      if (update) {
        if (entry->nSig != AfxSig_update) continue;
      } else if (entry->nSig != AfxSig_command || LOWORD(entry->nCode) != code) {
        continue;
      }
      if (nID < entry->nID || nID > entry->nLastID) continue;
      if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = entry->pfn;
        return TRUE;
      }
      AFX_CALL call{message, 0, 0, nID, code, pExtra, 0};
      if (update) {
        // A handler that calls ContinueRouting leaves the command to the next target.
        auto* cmdUI = static_cast<CCmdUI*>(pExtra);
        cmdUI->m_bContinueRouting = FALSE;
        entry->pfn(this, call);
        const BOOL handled = !cmdUI->m_bContinueRouting;
        cmdUI->m_bContinueRouting = FALSE;
        return handled;
      }
      return entry->pfn(this, call);
    }
  }
  return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(0);
}
