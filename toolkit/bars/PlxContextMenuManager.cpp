#include "toolkit/bars/PlxContextMenuManager.h"

CPlxContextMenuManager* g_pContextMenuManager = nullptr;

CPlxContextMenuManager::CPlxContextMenuManager() {
  g_pContextMenuManager = this;
}

CPlxContextMenuManager::~CPlxContextMenuManager() {
  if (g_pContextMenuManager == this) g_pContextMenuManager = nullptr;
}
