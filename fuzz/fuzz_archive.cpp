// Archive-serialised values: a binary registry value read back as objects, collections and arrays
// through the readers the settings use. Whatever a read gives back the caller deletes; nothing a
// failed read made may be left behind.
#include <set>

#include "fuzz/FuzzSupport.h"
#include "platform/base/Array.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "platform/kernel/Registry.h"
#include "shell/ARRegistry.h"

namespace {

// Everything reachable from `object` through the persistent collections, once each (a stored
// collection may hold one object twice, or itself).
void Reach(CObject* object, std::set<CObject*>& found) {
  if (object == nullptr || !found.insert(object).second) return;
  if (auto* array = dynamic_cast<CObArray*>(object)) {
    for (INT_PTR i = 0; i < array->GetSize(); ++i) Reach(array->GetAt(i), found);
  } else if (auto* list = dynamic_cast<CObList*>(object)) {
    for (POSITION p = list->GetHeadPosition(); p != nullptr;) Reach(list->GetNext(p), found);
  } else if (auto* map = dynamic_cast<CMapStringToOb*>(object)) {
    for (POSITION p = map->GetStartPosition(); p != nullptr;) {
      CString key;
      CObject* value = nullptr;
      map->GetNextAssoc(p, key, value);
      Reach(value, found);
    }
  }
}

void DeleteGraph(CObject* root) {
  std::set<CObject*> found;
  Reach(root, found);
  for (CObject* object : found) delete object;
}

void ReadAll(CARRegistry& registry) {
  CObject* object = nullptr;
  if (registry.ReadObjectPtr("Value", object)) DeleteGraph(object);
  CObList list;
  (void)registry.ReadObList("Value", list);
  std::set<CObject*> found;
  for (POSITION p = list.GetHeadPosition(); p != nullptr;) Reach(list.GetNext(p), found);
  list.RemoveAll();
  for (CObject* each : found) delete each;

  CStringArray strings;
  (void)registry.ReadStringArray("Value", strings);
  CStringList stringList;
  (void)registry.ReadStringList("Value", stringList);
  CWordArray words;
  (void)registry.ReadWordArray("Value", words);
  CDWordArray dwords;
  (void)registry.ReadDWordArray("Value", dwords);
  CByteArray bytes;
  (void)registry.ReadByteArray("Value", bytes);
  RECT rect{};
  (void)registry.ReadRect("Value", &rect);
  POINT point{};
  (void)registry.ReadPoint("Value", &point);
  CMapStringToString strings2;
  (void)registry.ReadObject("Value", strings2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pictavo::fuzz::Scratch();
  HKEY key = nullptr;
  pictavo::fuzz::Check(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Talvane Pictavo\\General", 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS,
                       "the settings key cannot be made");
  pictavo::fuzz::Check(
      RegSetValueEx(key, "Value", 0, REG_BINARY, data, static_cast<DWORD>(size)) == ERROR_SUCCESS,
      "the value cannot be stored");
  RegCloseKey(key);

  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  pictavo::fuzz::Check(registry->Open("General"), "the settings key cannot be opened");
  pictavo::fuzz::CheckNoLeak([&] { ReadAll(*registry); });
  return 0;
}
