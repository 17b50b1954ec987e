// The theme page's and the title and credit pages' arithmetic and texts kept apart from the
// windows: reading an effect list, filling the fixed-size text records safely, the preview's
// letterbox and layout, and the values handed to a theme movie. Pure functions; the table tests
// in tests/albums check them.
#pragma once

#include <string>
#include <vector>

#include "modules/data/AlbumTextSettings.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// The entries of a title or credit effect list file: for the ids 0 to "count" - 1 of the element
// "//effect", the first item carrying that id (decimal, as written), in id order. Ids that no item
// carries are skipped, so a count larger than the file holds lists only what is there, and a huge
// count costs no more than the file's items. Each entry's file is `effectFolder` joined with the
// item's text, found without regard to case; an entry whose full path does not fit the record
// (259 bytes) is left out and named in `refused`. Names are cut to 99 bytes on a character
// boundary. An unreadable file gives no entries.
std::vector<_TITLE_EFFECT> ReadTitleEffectList(const CString& listPath, const CString& effectFolder,
                                               std::vector<std::string>* refused = nullptr);

// Copies `text` into a record field of `size` bytes (terminator included), cut on a UTF-8
// character boundary: 10,239 bytes of text fit the 10,240-byte text field; a 3-byte character
// that would straddle the end is left out whole. The number of bytes copied.
size_t CopyTextField(char* field, size_t size, const CString& text);
// TRUE when `path` fits a field of `size` bytes with its terminator.
inline BOOL FitsField(const CString& path, size_t size) {
  return static_cast<size_t>(path.GetLength()) < size;
}

// The colour variables of a theme movie: "0x%02x%02x%02x" of red, green, blue.
// RGB(255, 128, 0) -> "0xff8000".
CString MovieColorText(COLORREF color);
// The font size goes to the movie only when above 20 and below 150: 20 and 150 -> FALSE.
inline BOOL SendsFontSize(int size) {
  return size > 20 && size < 150;
}

// The 4:3 box the preview shows inside an area of w x h, centred; 400 x 400 -> (0, 50, 400, 350),
// 800 x 300 -> (200, 0, 600, 300). Coordinates truncated.
RECT PreviewLetterbox(int w, int h);

// The seconds a title or credit preview has run, as the time text shows them: 2500 -> "2 seconds".
CString PreviewSecondsText(DWORD elapsedMs);

// Where the theme page puts its parts for a client area of cx x cy: T the title page's placeholder
// (height d), L the theme list, y0 the preview's top (all as they are now).
struct ThemePageLayout {
  RECT preview;
  RECT titlePage;
  RECT creditPage;
  RECT list;
  int labelX;  // the "Preview:" label's left edge
};
ThemePageLayout LayOutThemePage(int cx, int cy, const RECT& title, const RECT& list, int y0, int previewHeight);
