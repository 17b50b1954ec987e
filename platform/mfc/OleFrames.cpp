#include "platform/mfc/OleFrames.h"

IMPLEMENT_DYNCREATE(COleIPFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(COleDocIPFrameWnd, COleIPFrameWnd)
IMPLEMENT_DYNCREATE(COleDocument, CDocument)
