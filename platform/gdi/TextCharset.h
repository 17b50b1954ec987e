// The character set a DC's font was realized with, as font-creating code asks for it.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

// SYMBOL_CHARSET for a symbol font, ANSI_CHARSET for every other (texts are UTF-8 and every font
// draws them alike); the signature, when asked, names the Latin-1 code page (or the symbol one).
// DEFAULT_CHARSET for a bad DC.
int GetTextCharsetInfo(HDC dc, FONTSIGNATURE* signature, DWORD flags);
int GetTextCharset(HDC dc);
