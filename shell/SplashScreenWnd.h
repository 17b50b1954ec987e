// The splash window's switch: start-up enables it, the main dialog shows it while it prepares.
#pragma once

#include "platform/base/WinTypes.h"

class CSplashScreenWnd {
 public:
  static void EnableSplashScreen(BOOL bEnable = TRUE);
  static BOOL IsSplashScreenEnabled();
};
