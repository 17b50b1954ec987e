// The transition list: the built-in set first (entry 0 the cut), then the plug-ins of the
// program folder's Transition folder, each named "Name[Group]", with an icon cut from the icon
// strip and registered with the data model in list order.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "modules/data/DVDImage.h"
#include "modules/effects/BuiltInTransitions.h"
#include "modules/log/Log.h"
#include "platform/base/ErrorCodes.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"
#include "shell/TransitionList.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string EnvFolder(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : pictavo::ExecutableFolder();
}

std::string BuiltPlugin() {
  return EnvFolder("PICTAVO_BIN_DIR") + "/Transition/Extras.so";
}

std::string CommittedStrip() {
  return EnvFolder("PICTAVO_SOURCE_DIR") + "/data/images/trans_icon.bmp";
}

// The pixels of a bitmap, top row first, 0x00RRGGBB.
std::vector<uint32_t> Pixels(HBITMAP bitmap, int& width, int& height) {
  BITMAP info{};
  GetObject(bitmap, sizeof info, &info);
  width = info.bmWidth;
  height = info.bmHeight;
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = -height;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &header, DIB_RGB_COLORS);
  DeleteDC(dc);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

std::vector<uint32_t> Cell(const std::vector<uint32_t>& strip, int stripWidth, int column, int row) {
  std::vector<uint32_t> cell;
  for (int y = 0; y < TRANSITION_ICON_HEIGHT; ++y)
    for (int x = 0; x < TRANSITION_ICON_WIDTH; ++x)
      cell.push_back(strip[static_cast<size_t>(row * TRANSITION_ICON_HEIGHT + y) * stripWidth +
                           column * TRANSITION_ICON_WIDTH + x]);
  return cell;
}

std::vector<std::string> ListNames() {
  std::vector<std::string> names;
  for (INT_PTR i = 0; i < GetTransitionList()->GetSize(); ++i)
    names.emplace_back((*GetTransitionList())[i]->strName);
  return names;
}

int IndexOf(const std::string& name) {
  const std::vector<std::string> names = ListNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

// A program folder of its own with the icon strip; the list and the data model's copy of it
// are empty before and after each test.
class TransitionListTest : public ::testing::Test {
 protected:
  TransitionListTest() {
    fs::create_directories(program / "images");
    fs::copy_file(CommittedStrip(), program / "images/trans_icon.bmp");
    UnloadTransitions();
    CDVDImage::ClearTransIDCache();
  }
  ~TransitionListTest() override {
    UnloadTransitions();
    CDVDImage::ClearTransIDCache();
  }
  void AddPlugin(const std::string& name) {
    fs::create_directories(program / "Transition");
    fs::copy_file(BuiltPlugin(), program / ("Transition/" + name));
  }
  int BuiltInCount() const { return static_cast<int>(pictavo::effects::BuiltInTransitions().size()); }

  ScratchDir program;
};

TEST_F(TransitionListTest, BuiltInSetInItsOwnOrderWithTheCutFirst) {
  EXPECT_EQ(LoadBuiltInTransitions(program.Path().c_str()), 1);
  const auto builtIns = pictavo::effects::BuiltInTransitions();
  ASSERT_EQ(GetTransitionList()->GetSize(), static_cast<INT_PTR>(builtIns.size()));
  EXPECT_EQ(ListNames().front(), "None[TransitionLib]");
  for (size_t i = 0; i < builtIns.size(); ++i) {
    const std::string name = std::string(builtIns[i].name) + "[TransitionLib]";
    EXPECT_EQ(ListNames()[i], name);
    EXPECT_EQ((*GetTransitionList())[static_cast<INT_PTR>(i)]->hModule, nullptr);
    // The data model knows the same names in the same order, with the icon tags.
    EXPECT_EQ(CDVDImage::GetTransID(name.c_str(), 0), static_cast<int>(i)) << name;
    EXPECT_EQ(CDVDImage::GetTransID(name.c_str(), 1), static_cast<int>(i)) << name;
  }
  EXPECT_EQ(CDVDImage::GetTransCount(), static_cast<int>(builtIns.size()));
}

TEST_F(TransitionListTest, EachEntryShowsTheStripCellOfItsTag) {
  AddPlugin("Extras.so");
  LoadBuiltInTransitions(program.Path().c_str());
  ASSERT_EQ(LoadTransitionPlugins(program.Path().c_str()), 1);
  HBITMAP stripBitmap =
      static_cast<HBITMAP>(LoadImage(nullptr, CommittedStrip().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(stripBitmap, nullptr);
  int stripWidth = 0, stripHeight = 0;
  const std::vector<uint32_t> strip = Pixels(stripBitmap, stripWidth, stripHeight);
  DeleteObject(stripBitmap);
  const int cells = stripWidth / TRANSITION_ICON_WIDTH * (stripHeight / TRANSITION_ICON_HEIGHT);

  for (INT_PTR i = 0; i < GetTransitionList()->GetSize(); ++i) {
    const _tagTransitionEntry* entry = (*GetTransitionList())[i];
    ASSERT_NE(entry->hIcon, nullptr) << entry->strName.GetString();
    int width = 0, height = 0;
    const std::vector<uint32_t> icon = Pixels(entry->hIcon, width, height);
    EXPECT_EQ(width, TRANSITION_ICON_WIDTH);
    EXPECT_EQ(height, TRANSITION_ICON_HEIGHT);
    // Built-ins have their own cell; plug-in tags (1000 and up) lie past the strip: cell 0.
    const int cell = i < BuiltInCount() ? static_cast<int>(i) : 0;
    ASSERT_LT(cell, cells);
    EXPECT_EQ(icon, Cell(strip, stripWidth, cell, 0)) << entry->strName.GetString();
  }
}

TEST_F(TransitionListTest, PluginsFollowTheBuiltInsUnderTheirFileName) {
  AddPlugin("Extras.so");
  LoadBuiltInTransitions(program.Path().c_str());
  EXPECT_EQ(LoadTransitionPlugins(program.Path().c_str()), 1);

  const std::vector<std::string> names = ListNames();
  ASSERT_EQ(static_cast<int>(names.size()), BuiltInCount() + 3);
  const std::vector<std::string> plugins(names.begin() + BuiltInCount(), names.end());
  EXPECT_EQ(plugins,
            (std::vector<std::string>{"Interlace[Extras]", "Colour Fade[Extras]", "Shutter[Extras]"}));
  ASSERT_EQ(g_transitionModules.GetSize(), 1);
  EXPECT_EQ((*GetTransitionList())[BuiltInCount()]->hModule, g_transitionModules[0]);
  EXPECT_EQ(CDVDImage::GetTransID("Shutter[Extras]", 0), BuiltInCount() + 2);
  EXPECT_EQ(CDVDImage::GetTransID("Shutter[Extras]", 1), 1002);

  // The entry's factory makes working transitions of the loaded plug-in.
  std::unique_ptr<CTransition> made(FindTransitionFactory("Colour Fade[Extras]")());
  ASSERT_NE(made, nullptr);
  char name[100] = {};
  made->GetName(name, sizeof name);
  EXPECT_STREQ(name, "Colour Fade");
}

TEST_F(TransitionListTest, TheSameNameInTwoPluginsStaysTwoTransitions) {
  AddPlugin("A.so");
  AddPlugin("B.so");
  LoadBuiltInTransitions(program.Path().c_str());
  LoadTransitionPlugins(program.Path().c_str());

  ASSERT_EQ(g_transitionModules.GetSize(), 2);
  EXPECT_NE(g_transitionModules[0], g_transitionModules[1]);
  const int a = IndexOf("Interlace[A]");
  const int b = IndexOf("Interlace[B]");
  ASSERT_GE(a, BuiltInCount());
  ASSERT_GT(b, a);
  EXPECT_NE(FindTransitionFactory("Interlace[A]"), FindTransitionFactory("Interlace[B]"));
  EXPECT_EQ(FindTransitionFactory("interlace[b]"), (*GetTransitionList())[b]->pfnFactory);
  EXPECT_EQ(CDVDImage::GetTransID("Interlace[A]", 0), a);
  EXPECT_EQ(CDVDImage::GetTransID("Interlace[B]", 0), b);
  EXPECT_EQ(StripTransitionGroup("Interlace[A]"), StripTransitionGroup("Interlace[B]"));
}

TEST_F(TransitionListTest, APluginIsRefusedOnlyForAForeignVersion) {
  struct Case {
    const char* file;
    bool loaded;
  };
  const Case kCases[] = {{"ExtrasZeroVersion.so", true}, {"ExtrasForeignVersion.so", false}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    UnloadTransitions();
    fs::remove_all(program / "Transition");
    fs::create_directories(program / "Transition");
    fs::copy_file(EnvFolder("PICTAVO_BIN_DIR") + "/test-plugins/" + c.file,
                  program / ("Transition/" + std::string(c.file)));
    LoadTransitionPlugins(program.Path().c_str());
    EXPECT_EQ(g_transitionModules.GetSize(), c.loaded ? 1 : 0);
  }
}

TEST_F(TransitionListTest, FilesThatAreNoPluginAddNothing) {
  fs::create_directories(program / "Transition");
  std::ofstream(program / "Transition/Broken.dll") << "not a shared object";
  HMODULE maths = LoadLibrary("libm.so.6");
  ASSERT_NE(maths, nullptr);
  char mathsPath[4096] = {};
  ASSERT_GT(GetModuleFileName(maths, mathsPath, sizeof mathsPath), 0u);
  fs::copy_file(mathsPath, program / "Transition/NoEntry.so");
  FreeLibrary(maths);
  const std::string log = program / "zel.log";
  ASSERT_TRUE(OpenLogFile(log.c_str()));

  LoadBuiltInTransitions(program.Path().c_str());
  EXPECT_EQ(LoadTransitionPlugins(program.Path().c_str()), 1);
  EXPECT_EQ(GetTransitionList()->GetSize(), BuiltInCount());
  EXPECT_EQ(g_transitionModules.GetSize(), 0);
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("NoEntry.so"), nullptr)
      << "a module without the entry is unloaded";
  pictavo::log::Flush();
  const std::string expected = "Load DLL " + (program / "Transition/Broken.dll") +
                               " Error! ErrNo=" + std::to_string(ERROR_BAD_EXE_FORMAT);
  EXPECT_NE(ReadWholeFile(log).find(expected), std::string::npos) << ReadWholeFile(log);
}

TEST_F(TransitionListTest, LoadingAgainGivesTheSameListAndUnloadingEmptiesIt) {
  AddPlugin("Extras.so");
  for (int round = 0; round < 2; ++round) {
    LoadBuiltInTransitions(program.Path().c_str());
    LoadTransitionPlugins(program.Path().c_str());
    LoadTransitionPlugins(program.Path().c_str());
    EXPECT_EQ(GetTransitionList()->GetSize(), BuiltInCount() + 3) << "round " << round;
    EXPECT_EQ(g_transitionModules.GetSize(), 1);
  }
  UnloadTransitions();
  EXPECT_EQ(GetTransitionList()->GetSize(), 0);
  EXPECT_EQ(g_transitionModules.GetSize(), 0);
  EXPECT_EQ(pictavo::kernel::FindLoadedLibrary("Extras.so"), nullptr);
}

TEST_F(TransitionListTest, WithoutIconStripEntriesHaveNoIcon) {
  fs::remove(program / "images/trans_icon.bmp");
  CBitmap strip;
  EXPECT_EQ(LoadTransitionIconStrip(strip, program.Path().c_str()), 0);
  EXPECT_EQ(strip.GetSafeHandle(), nullptr);
  LoadBuiltInTransitions(program.Path().c_str());
  ASSERT_EQ(GetTransitionList()->GetSize(), BuiltInCount());
  for (INT_PTR i = 0; i < GetTransitionList()->GetSize(); ++i)
    EXPECT_EQ((*GetTransitionList())[i]->hIcon, nullptr);
  EXPECT_EQ(LoadTransitionPlugins(""), 0);
}

TEST_F(TransitionListTest, LookUpByDisplayName) {
  LoadBuiltInTransitions(program.Path().c_str());
  const TransitionEntryFactory fade = (*GetTransitionList())[1]->pfnFactory;
  struct Case {
    const char* name;
    TransitionEntryFactory found;
  };
  const Case cases[] = {
      {"Fade[TransitionLib]", fade},
      {"  fade[transitionlib]  ", fade},
      {"FADE[TRANSITIONLIB]", fade},
      {"Fade", nullptr},
      {"Fade[Extras]", nullptr},
      {"", nullptr},
      {"   ", nullptr},
      {nullptr, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindTransitionFactory(c.name), c.found) << (c.name ? c.name : "(null)");

  CTransitionFactoryArray factories;
  factories.Add(nullptr);  // emptied first
  EXPECT_EQ(GetTransitionFactories(0, factories), 1);
  ASSERT_EQ(factories.GetSize(), GetTransitionList()->GetSize());
  for (INT_PTR i = 0; i < factories.GetSize(); ++i)
    EXPECT_EQ(factories[i], (*GetTransitionList())[i]->pfnFactory);
}

TEST(TransitionNames, StripTheGroup) {
  struct Case {
    const char* display;
    const char* name;
  };
  const Case cases[] = {
      {"Fade[TransitionLib]", "Fade"},
      {"  Fade [TransitionLib] ", "Fade"},
      {"Wipe[A][B]", "Wipe[A]"},
      {"  Plain  ", "Plain"},
      {"[Group]", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StripTransitionGroup(c.display), CString(c.name)) << c.display;
}

// A strip of 10 x 2 cells, each a colour of its own: cell k is column k % 10 of row k / 10.
TEST(TransitionIcons, CellsAreCountedRowByRow) {
  const int columns = 10, rows = 2;
  std::vector<uint32_t> pixels(static_cast<size_t>(columns * TRANSITION_ICON_WIDTH) * rows *
                               TRANSITION_ICON_HEIGHT);
  auto colourOf = [](int cell) { return static_cast<uint32_t>(0x102030 + cell * 0x010101); };
  for (int y = 0; y < rows * TRANSITION_ICON_HEIGHT; ++y)
    for (int x = 0; x < columns * TRANSITION_ICON_WIDTH; ++x)
      pixels[static_cast<size_t>(y) * columns * TRANSITION_ICON_WIDTH + x] =
          colourOf(y / TRANSITION_ICON_HEIGHT * columns + x / TRANSITION_ICON_WIDTH);
  CBitmap strip;
  ASSERT_TRUE(strip.CreateBitmap(columns * TRANSITION_ICON_WIDTH, rows * TRANSITION_ICON_HEIGHT, 1, 32,
                                 pixels.data()));

  struct Case {
    int tag;
    int cell;
  };
  const Case cases[] = {{0, 0}, {3, 3}, {13, 13}, {19, 19}, {20, 0}, {1000, 0}, {-1, 0}, {-7, 0}};
  for (const Case& c : cases) {
    HBITMAP icon = MakeTransitionIcon(strip, c.tag);
    ASSERT_NE(icon, nullptr) << c.tag;
    int width = 0, height = 0;
    const std::vector<uint32_t> got = Pixels(icon, width, height);
    DeleteObject(icon);
    EXPECT_EQ(width, TRANSITION_ICON_WIDTH);
    EXPECT_EQ(height, TRANSITION_ICON_HEIGHT);
    EXPECT_EQ(got, std::vector<uint32_t>(got.size(), colourOf(c.cell))) << "tag " << c.tag;
  }
}

TEST(TransitionIcons, StripsWithoutAWholeCellGiveNone) {
  const SIZE sizes[] = {{39, 30}, {400, 29}, {0, 0}};
  for (const SIZE& size : sizes) {
    CBitmap strip;
    if (size.cx > 0) ASSERT_TRUE(strip.CreateBitmap(size.cx, size.cy, 1, 32, nullptr));
    EXPECT_EQ(MakeTransitionIcon(strip, 0), nullptr) << size.cx << " x " << size.cy;
  }
}

}  // namespace
