#include "toolkit/core/PlxControlBars.h"

IMPLEMENT_DYNAMIC(CPlxColorBar, CPlxPopupMenuBar)
