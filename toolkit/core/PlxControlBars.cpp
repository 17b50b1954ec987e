#include "toolkit/core/PlxControlBars.h"

IMPLEMENT_DYNAMIC(CPlxCaptionBar, CControlBar)
