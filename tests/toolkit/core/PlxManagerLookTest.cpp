// What each visual manager draws, pixel for pixel: a sheet of tabs, spins, header items, combo
// buttons, status panes, menu items and toolbar buttons, and a docked bar painted by the bar frame
// painter, compared with checked-in pictures. PICTAVO_WRITE_REFERENCES=1 writes them anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Cursor.h"
#include "platform/user/Paint.h"
#include "platform/user/User.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::Canvas;

struct Manager {
  const char* name;
  std::unique_ptr<CPlxVisualManager> (*make)();
};

const Manager kManagers[] = {
    {"classic", [] { return std::unique_ptr<CPlxVisualManager>(new CPlxVisualManager(TRUE)); }},
    {"officexp", [] { return std::unique_ptr<CPlxVisualManager>(new CPlxVisualManagerXP(TRUE)); }},
    {"winxp", [] { return std::unique_ptr<CPlxVisualManager>(new CPlxWinXPVisualManager(TRUE)); }},
};

bool WriteReferences() {
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  return flag != nullptr && std::string(flag) == "1";
}

void CheckAgainstReference(const Canvas& canvas, const std::string& name) {
  const std::string reference = pictavo::test::ReferencePath(name);
  pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath(name));
  if (WriteReferences()) ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
  EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
}

}  // namespace

TEST(PlxManagerLook, EachManagerDrawsItsSheetAsItsReference) {
  // The glyph strip loads from the program's resources beside the binaries.
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  CPlxMenuGlyphs::CleanUp();
  for (const Manager& m : kManagers) {
    auto manager = m.make();
    Canvas canvas(pictavo::test::kSheetWidth, pictavo::test::kSheetHeight, RGB(255, 0, 255));
    pictavo::test::PaintManagerSheet(manager.get(), canvas);
    CheckAgainstReference(canvas, std::string("sheet-") + m.name + ".png");
  }
}

// A docked toolbar in a host window: borders, background and gripper come from the bar frame
// painter through the current manager.
class PlxDockedBar : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "PlxBarHost";
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_host = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 140, 40,
                            nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(m_host);
    pictavo::test::PumpPending();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }
  // Paints a docked bar with the manager of the class and returns it as a canvas.
  void PaintBar(CRuntimeClass* manager, Canvas& out) {
    CPlxVisualManager::SetDefaultManager(manager);
    CPlxToolBar bar;
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_GRIPPER | CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM | CBRS_BORDER_LEFT |
                    CBRS_BORDER_RIGHT;
    bar.m_cxLeftBorder = 12;
    const LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW));
    ASSERT_TRUE(bar.CreateEx(0, cls, "Bar", WS_CHILD | WS_VISIBLE, CRect(4, 4, 124, 34),
                             CWnd::FromHandle(m_host), 1));
    bar.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    pictavo::test::PumpPending();
    const std::string name = "docked-bar.png";
    const std::string path = pictavo::test::SaveDesktopArea(RECT{24, 24, 144, 54}, name);
    ASSERT_FALSE(path.empty());
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x)
        out.Pixel(x, y) = (GetRValue(picture.At(x, y)) << 16) | (GetGValue(picture.At(x, y)) << 8) |
                          GetBValue(picture.At(x, y));
    bar.DestroyWindow();
  }
  HWND m_host = nullptr;
};

TEST_F(PlxDockedBar, TheFramePainterDrawsBordersBackgroundAndGripperOfEachManager) {
  const struct {
    const char* name;
    CRuntimeClass* manager;
  } kCases[] = {{"classic", nullptr},
                {"officexp", RUNTIME_CLASS(CPlxVisualManagerXP)},
                {"winxp", RUNTIME_CLASS(CPlxWinXPVisualManager)}};
  for (const auto& c : kCases) {
    Canvas canvas(120, 30);
    PaintBar(c.manager, canvas);
    CheckAgainstReference(canvas, std::string("docked-bar-") + c.name + ".png");
  }
}
