// Transition plug-ins: found in a program folder's Transition folder, loaded with LoadLibrary,
// asked for their transitions through the exported entry, and unloaded again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "EffectsFixtures.h"
#include "modules/effects/TransitionPlugins.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"

using namespace effectstest;
namespace fs = std::filesystem;

namespace {

std::string BinFolder() {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  return bin != nullptr ? bin : pictavo::ExecutableFolder();
}

std::string BuiltPlugin() {
  return BinFolder() + "/Transition/Extras.so";
}

// A program folder of its own, removed afterwards.
struct ProgramFolder {
  fs::path root = fs::temp_directory_path() / ("pictavo-plugins-" + std::to_string(::getpid()));
  ProgramFolder() { fs::create_directories(root); }
  ~ProgramFolder() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

struct PluginTransitions {
  HMODULE module = nullptr;
  std::vector<TransitionEntryFactory> factories;
};

// What the program does with one plug-in file.
PluginTransitions LoadPlugin(const std::string& file) {
  PluginTransitions plugin;
  plugin.module = LoadLibrary(file.c_str());
  if (plugin.module == nullptr) return plugin;
  auto entry = reinterpret_cast<TransitionLibInfoProc>(GetProcAddress(plugin.module, kTransitionPluginEntry));
  if (entry == nullptr) return plugin;
  _tagTransitionLibInfo info{};
  plugin.factories.resize(static_cast<size_t>(entry(&info, nullptr)));
  entry(&info, plugin.factories.data());
  return plugin;
}

}  // namespace

TEST(TransitionPlugins, TheBuiltPluginLiesInTheProgramsTransitionFolder) {
  const auto plugins = pictavo::effects::FindTransitionPlugins(BinFolder());
  EXPECT_NE(std::find(plugins.begin(), plugins.end(), BuiltPlugin()), plugins.end()) << BuiltPlugin();
}

TEST(TransitionPlugins, LoadCallAndFree) {
  HMODULE module = LoadLibrary(BuiltPlugin().c_str());
  ASSERT_NE(module, nullptr) << pictavo::kernel::LibraryErrorText();
  auto entry = reinterpret_cast<TransitionLibInfoProc>(GetProcAddress(module, kTransitionPluginEntry));
  ASSERT_NE(entry, nullptr);
  _tagTransitionLibInfo info{};
  const int count = entry(&info, nullptr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(info.dwAbiVersion, kTransitionAbiVersion);
  EXPECT_STREQ(info.szLibName, "Extras");
  std::vector<TransitionEntryFactory> factories(static_cast<size_t>(count));
  EXPECT_EQ(entry(&info, factories.data()), count);

  // The plug-in's transitions behave like the built-in ones; their frames come back through
  // our StepIt, their pixels from the plug-in's code.
  CxImage from = Pattern(30, 20, 0);
  CxImage to = Pattern(30, 20, 1);
  std::set<std::string> names;
  for (TransitionEntryFactory factory : factories) {
    std::unique_ptr<CTransition> transition(factory());
    ASSERT_NE(transition, nullptr);
    const std::string name = NameOf(*transition);
    names.insert(name);
    EXPECT_GE(transition->GetBitmapTag(), 1000) << name;
    transition->SetTransWorkParam(WorkParam(30, 20, 7, RGB(9, 9, 9)));
    transition->SetImages(&from, &to);
    EXPECT_TRUE(SamePixels(*transition->StepIt(0), from)) << name;
    EXPECT_TRUE(SamePixels(*transition->StepIt(6), to)) << name;
    CxImage middle(*transition->StepIt(3));
    EXPECT_FALSE(SamePixels(middle, from)) << name;
    EXPECT_FALSE(SamePixels(middle, to)) << name;
    EXPECT_TRUE(SamePixels(middle, *transition->StepIt(3))) << name;
  }
  EXPECT_EQ(names, (std::set<std::string>{"Interlace", "Colour Fade", "Shutter"}));
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("Extras.dll"), module);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("Extras.so"), nullptr);
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(TransitionPlugins, AFolderOfPlugins) {
  ProgramFolder program;
  const fs::path folder = program.root / "transition";  // the program names it "Transition"
  fs::create_directories(folder);
  fs::copy_file(BuiltPlugin(), folder / "A.SO");
  fs::copy_file(BuiltPlugin(), folder / "B.so");
  std::ofstream(folder / "Broken.dll") << "not a shared object";
  std::ofstream(folder / "notes.txt") << "not a plug-in";
  HMODULE maths = LoadLibrary("libm.so.6");
  ASSERT_NE(maths, nullptr);
  char mathsPath[4096] = {};
  ASSERT_GT(GetModuleFileName(maths, mathsPath, sizeof mathsPath), 0u);
  fs::copy_file(mathsPath, folder / "NoEntry.so");
  FreeLibrary(maths);

  const auto files = pictavo::effects::FindTransitionPlugins(program.root.string());
  std::vector<std::string> names;
  for (const std::string& file : files) names.push_back(fs::path(file).filename().string());
  EXPECT_EQ(names, (std::vector<std::string>{"A.SO", "B.so", "Broken.dll", "NoEntry.so"}));

  // Two copies of one plug-in load apart: each has its own module and factories, so the same
  // transition name in two groups (Interlace[A], Interlace[B]) stays two transitions.
  PluginTransitions a = LoadPlugin((folder / "A.SO").string());
  PluginTransitions b = LoadPlugin((folder / "B.so").string());
  ASSERT_NE(a.module, nullptr);
  ASSERT_NE(b.module, nullptr);
  EXPECT_NE(a.module, b.module);
  ASSERT_EQ(a.factories.size(), 3u);
  ASSERT_EQ(b.factories.size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_NE(a.factories[k], b.factories[k]);
    std::unique_ptr<CTransition> fromA(a.factories[k]());
    std::unique_ptr<CTransition> fromB(b.factories[k]());
    EXPECT_EQ(NameOf(*fromA), NameOf(*fromB));
  }

  // A file that is no shared object fails cleanly; one without the entry loads but offers none.
  EXPECT_EQ(LoadLibrary((folder / "Broken.dll").string().c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
  PluginTransitions noEntry = LoadPlugin((folder / "NoEntry.so").string());
  ASSERT_NE(noEntry.module, nullptr);
  EXPECT_TRUE(noEntry.factories.empty());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

  for (HMODULE module : {a.module, b.module, noEntry.module}) EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("A.dll"), nullptr);
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("B"), nullptr);
}

TEST(TransitionPlugins, MissingFolderOrLibrary) {
  ProgramFolder program;
  EXPECT_TRUE(pictavo::effects::FindTransitionPlugins(program.root.string()).empty());
  const std::string missing = (program.root / "Transition" / "Gone.so").string();
  EXPECT_EQ(LoadLibrary(missing.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}
