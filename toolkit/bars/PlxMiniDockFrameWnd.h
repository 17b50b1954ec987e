// CPlxMiniDockFrameWnd as a torn-off menu reaches it: the floating frame around a bar that was
// just torn off a popup menu. Sizing, rolling up and the mouse tracking of a fresh tear-off come
// with the frame's own work; until then the bar simply stays where it was floated.
#pragma once

#include "platform/mfc/FrameWnd.h"

class CPlxPopupMenu;

class CPlxMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(CPlxMiniDockFrameWnd)

 public:
  // Follows the mouse with the new bar until the button is released; TRUE when the bar stays.
  virtual BOOL TrackTearOff(CPlxPopupMenu* pMenu);
};
