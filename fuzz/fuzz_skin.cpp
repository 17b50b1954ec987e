// Skin files: "skins/<file>" of the program folder, loaded by both skin objects as at start-up and
// again as after a language switch.
#include "fuzz/FuzzSupport.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pictavo::fuzz::WriteInput("program/skins/zel_en.xml", {data, size});
  const std::string program = pictavo::fuzz::Scratch() + "/program";
  {
    CSkinMain skin;
    skin.Load(program.c_str(), "zel_en.xml", FALSE);
    skin.Load(program.c_str(), "zel_en.xml", TRUE);
  }
  {
    CSkinMinor skin;
    skin.Load(program.c_str(), "zel_en.xml", FALSE);
    skin.Load(program.c_str(), "zel_en.xml", TRUE);
  }
  return 0;
}
