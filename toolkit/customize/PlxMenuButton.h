// CPlxMenuButton as the visual managers read it: the two extension flags that choose how a menu
// button's face and frame are drawn. Opening the popup menu and reporting the chosen command come
// with the menu button itself.
#pragma once

#include "toolkit/core/PlxButton.h"

class CPlxMenuButton : public CPlxButton {
  DECLARE_DYNAMIC(CPlxMenuButton)

 public:
  // First flag: the face is filled with the button face instead of the parent's background.
  BOOL m_bOpaqueFace = FALSE;
  // With the first flag too: a themed desktop draws the frame as a small caption button.
  BOOL m_bCaptionButtonLook = FALSE;
};
