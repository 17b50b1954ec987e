// Resource files: every .xml file of the program's resource folder, read as a set at start-up,
// then each resource found by type and name and its data read at first use.
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "platform/res/ParseSupport.h"
#include "platform/res/ResourceSet.h"

using namespace pictavo::res;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = pictavo::fuzz::WriteInput("resources/fuzz.xml", {data, size});
  const std::unique_ptr<ResourceSet> set = ResourceSet::Load(file.substr(0, file.rfind('/')), "");
  pictavo::fuzz::Check(set != nullptr, "a resource folder gives no set");

  // What the file defines, to look each resource up the way FindResource does.
  FileResources defined;
  std::string error;
  if (!ParseResourceFile(file, defined, error)) return 0;
  for (const auto& entry : defined.entries) {
    DWORD lookupError = 0;
    const Entry* found = set->Find(entry->type, entry->name, lookupError);
    pictavo::fuzz::Check(found != nullptr, "a resource the file defines is not in the set");
    (void)set->Data(*found, lookupError);
  }
  for (const auto& [id, text] : defined.strings) {
    DWORD lookupError = 0;
    pictavo::fuzz::Check(set->FindString(id, lookupError) != nullptr,
                         "a string the file defines is not in the set");
  }
  return 0;
}
