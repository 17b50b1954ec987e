// Hands control to the application object.
#include "platform/display/Display.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/kernel/ProcessHeap.h"
#include "platform/mfc/WinApp.h"
#include "shell/SlideshowApp.h"

int main(int argc, char** argv) {
  pictavo::kernel::MapLargeBlocksApart();
  // The application object lives in a library: this reference keeps it in the program.
  if (AfxGetApp() != &theApp) return 1;
  if (!pictavo::display::Initialize()) return 1;
  pictavo::display::StartScriptFromEnvironment();
  return AfxWinMain(argc, argv);
}
