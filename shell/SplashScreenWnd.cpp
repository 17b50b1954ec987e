#include "shell/SplashScreenWnd.h"

namespace {
BOOL g_bSplashEnabled = FALSE;  // UI thread
}

void CSplashScreenWnd::EnableSplashScreen(BOOL bEnable) {
  g_bSplashEnabled = bEnable;
}

BOOL CSplashScreenWnd::IsSplashScreenEnabled() {
  return g_bSplashEnabled;
}
