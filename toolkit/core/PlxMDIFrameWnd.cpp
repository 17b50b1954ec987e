#include "toolkit/core/PlxMDIFrameWnd.h"

IMPLEMENT_DYNCREATE(CPlxMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CPlxMDIFrameWnd, CMDIFrameWnd)
END_MESSAGE_MAP()
