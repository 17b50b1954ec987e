#include "toolkit/core/PlxControlBars.h"

IMPLEMENT_DYNAMIC(CPlxSizingControlBar, CControlBar)
IMPLEMENT_DYNAMIC(CPlxCaptionBar, CControlBar)
IMPLEMENT_DYNAMIC(CPlxColorBar, CPlxPopupMenuBar)

CObList& CPlxSizingControlBar::GetAllSizingBars() {
  static CObList bars;  // UI thread only
  return bars;
}
