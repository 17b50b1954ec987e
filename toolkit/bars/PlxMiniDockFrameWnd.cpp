#include "toolkit/bars/PlxMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(CPlxMiniDockFrameWnd, CMiniDockFrameWnd)

BOOL CPlxMiniDockFrameWnd::TrackTearOff(CPlxPopupMenu*) {
  return GetSafeHwnd() != nullptr;  // the bar floats where the popup put it
}
