// CPlxMenuGlyphs: the toolkit's one set of small symbols (arrows, caption-button crosses, check
// marks, chevrons) that menus, caption buttons, combo and spin buttons draw. 9 x 9 cells of
// bitmap 16129 on magenta, loaded on first use and dropped when the system colours change.
#pragma once

#include "platform/mfc/Dc.h"

class CPlxButtonImages;

class CPlxMenuGlyphs {
 public:
  // Cell indexes, in the bitmap's order.
  enum Glyph {
    IdArowDown = 0,
    IdArowDownDisabled = 1,
    IdArowLeft = 2,
    IdArowLeftDisabled = 3,
    IdRadio = 4,
    IdRadioDisabled = 5,
    IdCheck = 6,  // the menus' check mark
    IdCheckDisabled = 7,
    IdMinimize = 8,
    IdMinimizeDisabled = 9,
    IdRestore = 10,
    IdRestoreDisabled = 11,
    IdClose = 12,
    IdCloseDisabled = 13,
    IdMaximize = 14,
    IdMaximizeDisabled = 15,
    IdArowUp = 16,
    IdArowUpDisabled = 17,
    IdArowShowAll = 18,
    IdArowRight = 19,
    IdArowRightDisabled = 20,
    IdCustomizeArowDown = 21,
    IdMenuRadio = 22,  // the menus' radio mark
    IdCustomizeMore = 23,
    IdCustomizeMoreVert = 24,
    IdPin = 25,
    IdPinVert = 26,
    IdArowPageLeft = 27,
    IdArowDownDropped = 28,
    IdMinimizePressed = 29,
    IdRestorePressed = 30,
    IdClosePressed = 31,
    kCount = 32
  };
  static constexpr UINT kResourceId = 16129;
  static constexpr COLORREF kTransparent = RGB(255, 0, 255);

  static BOOL Initialize();
  // Top-left at the point; a 0 x 0 size draws the native 9 x 9, any other stretches.
  static BOOL DrawAtPoint(CDC* pDC, int iImage, CPoint point, CSize sizeImage = CSize(0, 0));
  // Centred in the rectangle, an odd leftover pixel going left and up.
  static BOOL Draw(CDC* pDC, int iImage, const CRect& rect, CSize sizeImage = CSize(0, 0));
  static void CleanUp();
  static CSize GetSize();

 private:
  static CPlxButtonImages& Strip();
};
