// The toolkit's docking bar kinds the visual managers tell apart, as far as they read them: the
// sizing control bar and the caption bar (their own files) and the colour bar's
// stand-alone flag. The other bars' windows come with the frames and bars.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/ControlBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxCaptionBar.h"
#include "toolkit/core/PlxSizingControlBar.h"

class CPlxColorBar : public CPlxPopupMenuBar {
  DECLARE_DYNAMIC(CPlxColorBar)

 public:
  BOOL m_bStandalone = FALSE;
};
