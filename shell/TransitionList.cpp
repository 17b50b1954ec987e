#include "shell/TransitionList.h"

#include <memory>
#include <string>
#include <vector>

#include "modules/data/DVDImage.h"
#include "modules/effects/TransitionPlugins.h"
#include "modules/log/Log.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"

CTransitionEntryArray g_transitionList;
CTransitionModuleArray g_transitionModules;

namespace {

// What GetName writes into: the program passes 100 characters.
constexpr int kNameBufferSize = 100;
// A library claiming more transitions than this is taken as damaged.
constexpr int kMaxTransitionsPerLibrary = 10000;
constexpr char kIconStripFile[] = "images\\trans_icon.bmp";

// The program folder: the executable's path cut after its last separator.
bool ProgramFolder(CString& folder) {
  char path[4096] = {};
  const DWORD length = GetModuleFileName(nullptr, path, sizeof(path));
  if (length == 0 || length >= sizeof(path)) return false;
  const size_t cut = pictavo::path::LastSeparator(path);
  if (cut == std::string_view::npos) return false;
  folder = CString(path, static_cast<int>(cut + 1));
  return true;
}

struct TransitionDeleter {
  void operator()(CTransition* transition) const { delete transition; }
};

// Asks a library for its factories: the count first, then the array. Factories it leaves
// unfilled stay null and are dropped by the caller.
std::vector<TransitionEntryFactory> QueryFactories(TransitionLibInfoProc proc) {
  _tagTransitionLibInfo info{};
  int count = proc(&info, nullptr);
  if (count <= 0 || count > kMaxTransitionsPerLibrary) return {};
  std::vector<TransitionEntryFactory> factories(static_cast<size_t>(count), nullptr);
  info = _tagTransitionLibInfo{};
  proc(&info, factories.data());
  return factories;
}

// Makes one transition with the factory to learn its name and tag, appends the entry and
// registers its display name with the data model. A factory that makes nothing is dropped.
void AddEntry(TransitionEntryFactory factory, const char* group, CBitmap& strip, HMODULE module) {
  if (factory == nullptr) return;
  std::unique_ptr<CTransition, TransitionDeleter> transition(factory());
  if (!transition) return;
  char name[kNameBufferSize] = {};
  transition->GetName(name, kNameBufferSize);
  name[kNameBufferSize - 1] = '\0';
  const int tag = transition->GetBitmapTag();

  auto entry = std::make_unique<_tagTransitionEntry>();
  entry->strName.Format("%s[%s]", name, group);
  entry->strName.Trim();
  entry->pfnFactory = factory;
  entry->hModule = module;
  if (strip.GetSafeHandle() != nullptr) entry->hIcon = MakeTransitionIcon(strip, tag);
  const CString displayName = entry->strName;
  g_transitionList.Add(entry.release());
  CDVDImage::AddTransID2Cache(displayName, tag);
}

// Takes the entries of plug-in modules out of the list and unloads every plug-in module.
void UnloadPlugins() {
  for (INT_PTR i = g_transitionList.GetSize() - 1; i >= 0; --i) {
    if (g_transitionList[i]->hModule == nullptr) continue;
    delete g_transitionList[i];
    g_transitionList.RemoveAt(i);
  }
  for (INT_PTR i = 0; i < g_transitionModules.GetSize(); ++i) FreeLibrary(g_transitionModules[i]);
  g_transitionModules.RemoveAll();
}

// Loads one plug-in file and appends its transitions.
void LoadPlugin(const std::string& path, CBitmap& strip) {
  HMODULE module = LoadLibrary(path.c_str());
  if (module == nullptr) {
    const DWORD error = GetLastError();
    WriteLog("Load DLL %s Error! ErrNo=%u", path.c_str(), error);
    return;
  }
  FARPROC entry = GetProcAddress(module, kTransitionPluginEntry);
  auto proc = reinterpret_cast<TransitionLibInfoProc>(reinterpret_cast<void*>(entry));
  if (proc == nullptr) {
    FreeLibrary(module);
    return;
  }
  // A plug-in built against another layout of CTransition would be called through the wrong
  // virtual slots: refuse it rather than crash. Plug-ins that leave the version zeroed, as the
  // info record's fillers are written, are of this layout.
  _tagTransitionLibInfo info{};
  proc(&info, nullptr);
  if (info.dwAbiVersion != 0 && info.dwAbiVersion != kTransitionAbiVersion) {
    WriteErrorLog("Transition plug-in %s uses interface version %u, this program %u: not loaded.",
                  path.c_str(), info.dwAbiVersion, kTransitionAbiVersion);
    FreeLibrary(module);
    return;
  }
  g_transitionModules.Add(module);
  const std::string group(pictavo::path::FileTitle(path));
  for (TransitionEntryFactory factory : QueryFactories(proc)) AddEntry(factory, group.c_str(), strip, module);
}

}  // namespace

_tagTransitionEntry::~_tagTransitionEntry() {
  if (hIcon != nullptr) DeleteObject(hIcon);
}

CTransitionEntryArray::~CTransitionEntryArray() {
  DeleteAll();
}

void CTransitionEntryArray::DeleteAll() {
  for (INT_PTR i = 0; i < GetSize(); ++i) delete GetAt(i);
  RemoveAll();
}

CTransitionEntryArray* GetTransitionList() {
  return &g_transitionList;
}

int LoadBuiltInTransitions() {
  CString folder;
  if (!ProgramFolder(folder)) folder.Empty();  // no icon strip then, the transitions still load
  return LoadBuiltInTransitions(folder);
}

int LoadBuiltInTransitions(LPCTSTR lpszProgramFolder) {
  // The built-in set comes first: start from an empty list, whatever was loaded before.
  UnloadTransitions();
  CBitmap strip;
  if (lpszProgramFolder != nullptr && *lpszProgramFolder != '\0')
    LoadTransitionIconStrip(strip, lpszProgramFolder);
  for (TransitionEntryFactory factory : QueryFactories(&Mossen_GetTransitionLibInfo))
    AddEntry(factory, TRANSITION_BUILTIN_GROUP, strip, nullptr);
  return 1;
}

int LoadTransitionPlugins() {
  CString folder;
  if (!ProgramFolder(folder)) return 0;
  return LoadTransitionPlugins(folder);
}

int LoadTransitionPlugins(LPCTSTR lpszProgramFolder) {
  if (lpszProgramFolder == nullptr || *lpszProgramFolder == '\0') return 0;
  UnloadPlugins();
  CBitmap strip;
  LoadTransitionIconStrip(strip, lpszProgramFolder);
  for (const std::string& path : pictavo::effects::FindTransitionPlugins(lpszProgramFolder))
    LoadPlugin(path, strip);
  return 1;
}

void UnloadTransitions() {
  // Entries first: their factories live in the modules.
  g_transitionList.DeleteAll();
  for (INT_PTR i = 0; i < g_transitionModules.GetSize(); ++i) FreeLibrary(g_transitionModules[i]);
  g_transitionModules.RemoveAll();
}

int GetTransitionFactories(int /*nUnused*/, CTransitionFactoryArray& factories) {
  factories.RemoveAll();
  for (INT_PTR i = 0; i < g_transitionList.GetSize(); ++i) factories.Add(g_transitionList[i]->pfnFactory);
  return 1;
}

TransitionEntryFactory FindTransitionFactory(LPCTSTR lpszName) {
  if (lpszName == nullptr) return nullptr;
  CString wanted(lpszName);
  wanted.Trim();
  if (wanted.IsEmpty()) return nullptr;
  for (INT_PTR i = 0; i < g_transitionList.GetSize(); ++i) {
    CString name = g_transitionList[i]->strName;
    name.Trim();
    if (pictavo::unicode::EqualsNoCase(name.View(), wanted.View())) return g_transitionList[i]->pfnFactory;
  }
  return nullptr;
}

CString StripTransitionGroup(LPCTSTR lpszDisplayName) {
  CString name(lpszDisplayName);
  const int bracket = name.ReverseFind('[');
  if (bracket >= 0) name = name.Left(bracket);
  name.Trim();
  return name;
}

int LoadTransitionIconStrip(CBitmap& strip) {
  CString folder;
  if (!ProgramFolder(folder)) return 0;
  return LoadTransitionIconStrip(strip, folder);
}

int LoadTransitionIconStrip(CBitmap& strip, LPCTSTR lpszProgramFolder) {
  if (lpszProgramFolder == nullptr) return 0;
  const std::string path = pictavo::path::ResolveNoCase(
      pictavo::path::Join(pictavo::path::ToNative(lpszProgramFolder), kIconStripFile));
  auto bitmap = static_cast<HBITMAP>(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (bitmap == nullptr) return 0;
  strip.DeleteObject();
  strip.Attach(bitmap);
  return 1;
}

HBITMAP MakeTransitionIcon(CBitmap& strip, int nCell) {
  BITMAP info{};
  if (strip.GetSafeHandle() == nullptr || strip.GetBitmap(&info) == 0) return nullptr;
  const int columns = info.bmWidth / TRANSITION_ICON_WIDTH;
  const int rows = info.bmHeight / TRANSITION_ICON_HEIGHT;
  // A strip lower than one cell holds no cell either.
  if (columns <= 0 || rows <= 0) return nullptr;
  if (nCell < 0 || nCell >= columns * rows) nCell = 0;
  const int x = nCell % columns * TRANSITION_ICON_WIDTH;
  const int y = nCell / columns * TRANSITION_ICON_HEIGHT;

  HDC source = CreateCompatibleDC(nullptr);
  HDC target = CreateCompatibleDC(nullptr);
  HBITMAP icon = CreateCompatibleBitmap(nullptr, TRANSITION_ICON_WIDTH, TRANSITION_ICON_HEIGHT);
  if (source != nullptr && target != nullptr && icon != nullptr) {
    HGDIOBJ oldSource = SelectObject(source, strip.GetSafeHandle());
    HGDIOBJ oldTarget = SelectObject(target, icon);
    BitBlt(target, 0, 0, TRANSITION_ICON_WIDTH, TRANSITION_ICON_HEIGHT, source, x, y, SRCCOPY);
    SelectObject(target, oldTarget);
    SelectObject(source, oldSource);
  }
  if (target != nullptr) DeleteDC(target);
  if (source != nullptr) DeleteDC(source);
  return icon;
}
