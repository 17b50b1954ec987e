// The look the photo editor's pages share: the skin's photo-configure colour behind the page, and
// static texts, check boxes and group boxes drawn transparently on it.
#pragma once

#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Wnd.h"

// Fills the page's client area with the photo-configure colour; TRUE.
BOOL PhotoEditPageEraseBkgnd(CWnd& page, CDC* pDC);
// The page's brush, with a transparent text background, for CTLCOLOR_STATIC of a "Static" or
// "Button" control, or for any control when `always` is set; null for the base class to answer.
HBRUSH PhotoEditPageCtlColor(CBrush& brush, CDC* pDC, CWnd* pWnd, UINT nCtlColor, BOOL always);
