// The toolkit's drawing costs: the drop shadow of a menu-sized popup and a full repaint of a
// 60-row property list (aim for each: under 5 ms).
#include <benchmark/benchmark.h>

#include "platform/display/Display.h"
#include "tests/support/Canvas.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxPropList.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

void BM_MenuShadow(benchmark::State& state) {
  // A 220 x 400 menu with the popup menu's 6-pixel shadow on a screen-sized area.
  pictavo::test::Canvas canvas(640, 480, RGB(236, 233, 216));
  CDC dc;
  dc.Attach(canvas.Dc());
  CPlxDrawHelper helper(&dc);
  for (auto _ : state) {
    benchmark::DoNotOptimize(helper.DrawShadow(CRect(100, 40, 320, 440), 6, 100, 65));
  }
  dc.Detach();
}
BENCHMARK(BM_MenuShadow)->Unit(benchmark::kMicrosecond);

void BM_PropListRepaint(benchmark::State& state) {
  // Six groups of nine text values, every row in view, painted through the installed manager.
  setenv("PICTAVO_DISPLAY", "headless", 0);
  if (!pictavo::display::Initialize()) {
    state.SkipWithError("no display");
    return;
  }
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  CWnd owner;
  const CString cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  owner.CreateEx(0, cls, "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 420, 1100), nullptr, 0);
  CPlxPropList list;
  list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 400, 1080), &owner, 1);
  list.EnableHeaderCtrl(FALSE);
  for (int g = 0; g < 6; ++g) {
    auto* group = new CPlxProp(CString("Group ") + CString(static_cast<char>('A' + g)));
    for (int i = 0; i < 9; ++i) {
      VARIANT v;
      VariantInit(&v);
      v.vt = VT_BSTR;
      v.bstrVal = pictavo::com::AllocBstr("a value long enough to be clipped in its narrow column");
      auto* prop = new CPlxProp(CString("Option number ") + CString(static_cast<char>('0' + i)), v);
      VariantClear(&v);
      prop->AddOption("one");
      prop->Enable(i != 0);
      group->AddSubItem(prop);
    }
    list.AddProperty(group, FALSE, FALSE);
  }
  list.RecalcLayout();
  list.SetCurSel(list.GetProperty(1)->GetSubItem(2));
  for (auto _ : state) list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  owner.DestroyWindow();
  CPlxVisualManager::DestroyInstance();
}
BENCHMARK(BM_PropListRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
