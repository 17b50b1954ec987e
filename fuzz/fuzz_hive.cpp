// Registry hive files, read the way every registry call finds them: the file in the configuration
// folder, loaded by the hive on first use. A hive that loads must write back to a file that loads
// to the same text.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/registry/Hive.h"
#include "platform/registry/HiveText.h"

using namespace pictavo::registry;

namespace {

size_t Walk(const Key& key) {
  size_t count = key.Values().size();
  for (const Value& value : key.Values()) count += value.data.size() + value.name.size();
  for (size_t i = 0; i < key.ChildCount(); ++i) count += Walk(*key.ChildAt(i));
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pictavo::fuzz::Scratch();
  pictavo::fuzz::WriteInput("config/pictavo/current_user.reg", {data, size});
  Hive hive("current_user.reg", "HKEY_CURRENT_USER");
  auto lock = hive.Lock();
  hive.RefreshLocked();
  const Key& root = hive.ViewLocked();
  (void)Walk(root);

  const std::string text = FormatHive(root, "HKEY_CURRENT_USER");
  Key again;
  std::string error;
  pictavo::fuzz::Check(ParseHive(text, again, error), "a hive as written does not read back");
  pictavo::fuzz::Check(FormatHive(again, "HKEY_CURRENT_USER") == text,
                       "a hive changes on its way through a file");
  return 0;
}
