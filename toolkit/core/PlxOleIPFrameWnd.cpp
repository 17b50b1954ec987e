#include "toolkit/core/PlxOleIPFrameWnd.h"

IMPLEMENT_DYNCREATE(CPlxOleIPFrameWnd, COleIPFrameWnd)
IMPLEMENT_DYNCREATE(CPlxOleDocIPFrameWnd, COleDocIPFrameWnd)
