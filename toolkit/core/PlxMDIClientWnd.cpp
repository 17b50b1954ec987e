#include "toolkit/core/PlxMDIClientWnd.h"

BEGIN_MESSAGE_MAP(CPlxMDIClientWnd, CWnd)
END_MESSAGE_MAP()
