// The order and layout of the bands of every rebar inside a frame, kept under the caller's
// section as "PlxRebar-<control id>" with "RBI" (one 80-byte band record per band) and "IDs"
// (the control id of each band's child).
#pragma once

#include "platform/base/WinTypes.h"

class CWnd;

void PlxSaveRebarState(LPCTSTR lpszProfileName, CWnd* pFrame);
// A rebar whose stored values do not fit it exactly (band count, record size and mask) keeps
// its layout; a rebar without stored values does not stop the others.
void PlxLoadRebarState(LPCTSTR lpszProfileName, CWnd* pFrame);
