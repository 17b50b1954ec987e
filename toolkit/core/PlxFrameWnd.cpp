#include "toolkit/core/PlxFrameWnd.h"

IMPLEMENT_DYNCREATE(CPlxFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CPlxFrameWnd, CFrameWnd)
END_MESSAGE_MAP()
