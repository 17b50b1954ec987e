// System metrics and the beep.
#include "platform/user/Metrics.h"

#include "platform/user/Display.h"
#include "platform/user/UserInternal.h"

using pictavo::user::detail::CurrentDisplay;
using pictavo::user::detail::DesktopSize;

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXMAXIMIZED:
      return DesktopSize().cx + (index == SM_CXMAXIMIZED ? 2 * 4 : 0);
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return DesktopSize().cy;
    case SM_CYFULLSCREEN:
      return DesktopSize().cy - 19;
    case SM_CYMAXIMIZED:
      return DesktopSize().cy + 2 * 4;
    case SM_CXMAXTRACK:
      return DesktopSize().cx + 12;
    case SM_CYMAXTRACK:
      return DesktopSize().cy + 12;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 16;
    case SM_CYCAPTION:
      return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYMENU:
      return 19;
    case SM_CXSIZE:
    case SM_CYSIZE:
      return 18;
    case SM_CYSMCAPTION:
      return 15;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
      return 12;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 18;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_CXMIN:
      return 112;
    case SM_CYMIN:
      return 27;
    case SM_CXMINTRACK:
      return 112;
    case SM_CYMINTRACK:
      return 27;
    case SM_CXMINIMIZED:
      return 160;
    case SM_CYMINIMIZED:
      return 24;
    case SM_CXMINSPACING:
      return 160;
    case SM_CYMINSPACING:
      return 24;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
      return 75;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT:
      return 1;
    case SM_CMOUSEBUTTONS:
      return 3;
    case SM_NETWORK:
      return 3;
    case SM_ARRANGE:
      return 8;
    default:
      return 0;
  }
}

BOOL MessageBeep(UINT type) {
  if (auto display = CurrentDisplay()) display->Beep(type);
  return TRUE;
}
