// The process's menu sound worker: started by the first sound a menu asks for, ended by the
// toolkit's clean-up (PlxCleanUp), after which menus are silent.
#include "platform/media/PlaySound.h"
#include "toolkit/bars/PlxMenuSoundThread.h"
#include "toolkit/bars/PlxPopupMenu.h"

namespace {

pictavo::toolkit::MenuSoundThread& MenuSoundWorker() {
  // Never destroyed: a worker still finishing a sound at exit must find its owner alive, and
  // PlxCleanUp has ended it before static destruction anyway.
  static auto* worker = new pictavo::toolkit::MenuSoundThread(&::PlaySound);
  return *worker;
}

}  // namespace

void PlayMenuSound(int nSound) {
  if (!CPlxPopupMenu::m_bMenuSound) return;
  MenuSoundWorker().Request(nSound);
}
