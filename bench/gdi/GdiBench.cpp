// The drawing paths the preview and the lists use every frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gdi/Gdi.h"

namespace {

struct Target {
  Target(int w, int h) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateBitmap(w, h, 1, 32, nullptr);
    old = SelectObject(dc, bitmap);
  }
  ~Target() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

BITMAPINFO Frame(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  return info;
}

void BM_BitBltCopy(benchmark::State& state) {
  Target a(1280, 720), b(1280, 720);
  for (auto _ : state) BitBlt(a.dc, 0, 0, 1280, 720, b.dc, 0, 0, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * 1280 * 720);
}
BENCHMARK(BM_BitBltCopy);

// A preview frame: a 768 x 576 DIB stretched onto the preview window.
void BM_StretchDIBits(benchmark::State& state) {
  Target window(1024, 768);
  std::vector<uint32_t> pixels(768 * 576, 0x00336699);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u);
  BITMAPINFO info = Frame(768, 576);
  SetStretchBltMode(window.dc, static_cast<int>(state.range(0)));
  for (auto _ : state)
    StretchDIBits(window.dc, 0, 0, 1024, 768, 0, 0, 768, 576, pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_StretchDIBits)->Arg(COLORONCOLOR)->Arg(HALFTONE);

void BM_SetDIBitsToDevice(benchmark::State& state) {
  Target window(768, 576);
  std::vector<uint32_t> pixels(768 * 576, 0x00336699);
  BITMAPINFO info = Frame(768, 576);
  for (auto _ : state)
    SetDIBitsToDevice(window.dc, 0, 0, 768, 576, 0, 0, 0, 576, pixels.data(), &info, DIB_RGB_COLORS);
  state.SetItemsProcessed(state.iterations() * 768 * 576);
}
BENCHMARK(BM_SetDIBitsToDevice);

void BM_AlphaBlend(benchmark::State& state) {
  Target a(256, 256), b(256, 256);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
  for (auto _ : state) AlphaBlend(a.dc, 0, 0, 256, 256, b.dc, 0, 0, 256, 256, blend);
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_AlphaBlend);

void BM_DrawTextLine(benchmark::State& state) {
  Target t(400, 40);
  HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  SelectObject(t.dc, font);
  SetBkMode(t.dc, TRANSPARENT);
  for (auto _ : state) {
    RECT r{0, 0, 200, 20};
    DrawText(t.dc, "Summer holiday 2024 - beach.jpg", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  }
  SelectObject(t.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}
BENCHMARK(BM_DrawTextLine);

}  // namespace
