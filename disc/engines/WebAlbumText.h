// Text placed into web-album pages: labels and titles as HTML text, file names as URL parts.
#pragma once

#include "platform/base/CString.h"

// HTML text safe in element content and in quoted attribute values. "$" is written as a
// character reference too, so a label can never name a template variable.
CString HtmlEscape(LPCTSTR text);
// A file name as one URL path segment: every byte outside A-Z a-z 0-9 - . _ ~ as %XX.
CString UrlEncodeName(LPCTSTR name);
// A label of more than 10 characters cut to its first 8 and "..", counted in characters, not
// bytes, so UTF-8 text is never cut inside a character.
CString ShortenLabel(LPCTSTR label);
