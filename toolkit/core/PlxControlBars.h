// The toolkit's docking bar kinds the visual managers tell apart, as far as they read them: the
// sizing control bar and its class-wide list, the caption bar's background colour and the colour
// bar's stand-alone flag. Their windows' behaviour comes with the frames and bars.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/ControlBar.h"
#include "toolkit/bars/PlxToolBar.h"

class CPlxSizingControlBar : public CControlBar {
  DECLARE_DYNAMIC(CPlxSizingControlBar)

 public:
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  // Every live sizing bar; a bar adds itself on WM_CREATE and leaves on WM_DESTROY.
  static CObList& GetAllSizingBars();
};

class CPlxCaptionBar : public CControlBar {
  DECLARE_DYNAMIC(CPlxCaptionBar)

 public:
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  COLORREF m_clrBarBackground = (COLORREF)-1;  // -1: the bar shadow colour
};

class CPlxColorBar : public CPlxPopupMenuBar {
  DECLARE_DYNAMIC(CPlxColorBar)

 public:
  BOOL m_bStandalone = FALSE;
};
