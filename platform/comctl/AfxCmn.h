// The class library's common control objects in one include: image lists, list view, header,
// tree view, tab, trackbar, up-down, progress, tooltip and status bar.
#pragma once

#include "platform/comctl/AfxControls.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/comctl/CommCtrl.h"
