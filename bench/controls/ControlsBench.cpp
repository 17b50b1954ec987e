// The layout manager and the icon menu on the headless display:
//   layout/arithmetic   one layout of a 24-row nested table (no windows)
//   layout/apply        the same with 16 child windows: layout, one deferred move, invalidation
//   menu/load           a menu resource and its toolbar images (with the faded, shadow and grey
//                       copies made once per image)
//   menu/draw           one owner-drawn item painted in the flat look, with and without image
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/IconMenu.h"
#include "controls/LayoutMgr.h"
#include "platform/display/Display.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"

namespace {

// Rows group with margins: a tool row of four to-fit buttons, a split of two panes with a bar, a
// status row of percent cells.
std::vector<LayoutRowInit> TableRows() {
  return {
      {0x13, 0, MAKELONG(6, 6)},
      {0x24, 0, 0},  // tool row
      {0x04, 101, MAKELONG(60, 24)},
      {0x01, LAYOUT_NO_WINDOW, -4},
      {0x04, 102, MAKELONG(60, 24)},
      {0x01, LAYOUT_NO_WINDOW, -4},
      {0x04, 103, MAKELONG(60, 24)},
      {0x03, 0, 0},
      {0x04, 104, MAKELONG(80, 24)},
      {0xF0, LAYOUT_NO_WINDOW, 0},
      {0x01, LAYOUT_NO_WINDOW, -6},
      {0x23, 0, 0},  // split
      {0x02, 105, 30},
      {0x01, 1024, 4},
      {0x13, 0, MAKELONG(2, 2)},
      {0x03, 106, 0},
      {0x01, 107, 120},
      {0xF0, LAYOUT_NO_WINDOW, 0},
      {0xF0, LAYOUT_NO_WINDOW, 0},
      {0x24, 0, 0},  // status row
      {0x02, 108, 50},
      {0x02, 109, 25},
      {0x03, 110, 0},
      {0xF0, LAYOUT_NO_WINDOW, 0},
      {0xF0, LAYOUT_NO_WINDOW, 0},
      {0x00, LAYOUT_NO_WINDOW, 0},
  };
}

struct Table {
  Table() {
    const auto init = TableRows();
    rows.resize(init.size());
    for (size_t i = 0; i < init.size(); ++i)
      InitLayoutRow(&rows[i], init[i].flags, init[i].id, init[i].param);
  }
  std::vector<_tagLayoutRow> rows;
};

void LayoutArithmetic(benchmark::State& state) {
  Table table;
  CLayoutMgr layout(table.rows.data());
  int cx = 640;
  for (auto _ : state) {
    layout.LayoutRoot(RECT{0, 0, cx, 480}, nullptr);
    benchmark::DoNotOptimize(table.rows[15].rect);
    cx = cx == 640 ? 641 : 640;
  }
}
BENCHMARK(LayoutArithmetic)->Name("layout/arithmetic");

void LayoutApply(benchmark::State& state) {
  Table table;
  CLayoutMgr layout(table.rows.data());
  CWnd owner;
  owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr);
  for (UINT id : {101u, 102u, 103u, 104u, 105u, 106u, 107u, 108u, 109u, 110u, 1024u})
    CreateWindowEx(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, owner.GetSafeHwnd(),
                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  int cx = 640;
  for (auto _ : state) {
    layout.LayoutRoot(RECT{0, 0, cx, 480}, &owner);
    layout.ApplyLayout(&owner);
    cx = cx == 640 ? 700 : 640;
  }
  owner.DestroyWindow();
}
BENCHMARK(LayoutApply)->Name("layout/apply");

void MenuLoad(benchmark::State& state) {
  for (auto _ : state) {
    CIconMenu menu;
    menu.SetBitmapBackground(RGB(255, 255, 255));
    menu.LoadMenu(64100);
    menu.LoadToolbar(64101);
    benchmark::DoNotOptimize(menu.GetSafeHmenu());
  }
}
BENCHMARK(MenuLoad)->Name("menu/load")->Unit(benchmark::kMillisecond);

void MenuDraw(benchmark::State& state) {
  CIconMenu menu;
  menu.SetBitmapBackground(RGB(255, 255, 255));
  menu.LoadMenu(64100);
  menu.LoadToolbar(64101);
  auto* organize = static_cast<CIconMenu*>(menu.GetSubMenu(1));
  const int position = state.range(0) != 0 ? 0 : 2;  // Add Photos has an image, Add Background Music none
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 22);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = organize->GetMenuItemID(position);
  dis.itemAction = ODA_DRAWENTIRE;
  dis.hwndItem = reinterpret_cast<HWND>(organize->m_hMenu);
  dis.hDC = dc;
  dis.rcItem = RECT{0, 0, 200, 22};
  dis.itemData = reinterpret_cast<ULONG_PTR>(organize->GetRecord(position));
  for (auto _ : state) {
    dis.itemState = dis.itemState == 0 ? ODS_SELECTED : 0;
    organize->DrawItem(&dis);
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}
BENCHMARK(MenuDraw)->Name("menu/draw")->Arg(1)->Arg(0)->ArgName("image");

}  // namespace

int main(int argc, char** argv) {
  setenv("PICTAVO_DISPLAY", "headless", 0);
  if (!pictavo::display::Initialize()) return 1;
  pictavo::res::SetResourceRoot(std::string(PICTAVO_BIN_DIR) + "/resources");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
