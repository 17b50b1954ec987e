// The toolkit's docking bar kinds the visual managers tell apart, as far as they read them: the
// sizing control bar (its own files), the caption bar's background colour and the colour bar's
// stand-alone flag (its own files). The other bars' windows come with the frames and bars.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/ControlBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxSizingControlBar.h"

class CPlxCaptionBar : public CControlBar {
  DECLARE_DYNAMIC(CPlxCaptionBar)

 public:
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  COLORREF m_clrBarBackground = (COLORREF)-1;  // -1: the bar shadow colour
};
