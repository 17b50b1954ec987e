#include "toolkit/core/PlxMDIChildWnd.h"

IMPLEMENT_DYNCREATE(CPlxMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CPlxMDIChildWnd, CMDIChildWnd)
END_MESSAGE_MAP()
