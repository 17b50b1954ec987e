// The pan-and-zoom presets. Every moving preset keeps a fitted picture of the frame's shape
// covering the frame all the way, with a little to spare (zoom above 100 + twice the pan, more
// while turning), so no background shows or bleeds in at the edges.
#include <cstdlib>
#include <iterator>

#include "modules/effects/PanZoom.h"

namespace {

constexpr _tagPanZoomType_Preset kPresets[] = {
    // index, name, start pan X, pan Y, zoom, rotation, end pan X, pan Y, zoom, rotation
    {0, "None", 0, 0, 100, 0, 0, 0, 100, 0},
    {1, "Zoom In", 0, 0, 100, 0, 0, 0, 125, 0},
    {2, "Zoom Out", 0, 0, 125, 0, 0, 0, 100, 0},
    {3, "Pan Left to Right", 9, 0, 120, 0, -9, 0, 120, 0},
    {4, "Pan Right to Left", -9, 0, 120, 0, 9, 0, 120, 0},
    {5, "Pan Top to Bottom", 0, 9, 120, 0, 0, -9, 120, 0},
    {6, "Pan Bottom to Top", 0, -9, 120, 0, 0, 9, 120, 0},
    {7, "Zoom In to Top Left", 0, 0, 100, 0, 14, 14, 130, 0},
    {8, "Zoom In to Top Right", 0, 0, 100, 0, -14, 14, 130, 0},
    {9, "Zoom In to Bottom Left", 0, 0, 100, 0, 14, -14, 130, 0},
    {10, "Zoom In to Bottom Right", 0, 0, 100, 0, -14, -14, 130, 0},
    {11, "Zoom Out from Top Left", 14, 14, 130, 0, 0, 0, 100, 0},
    {12, "Zoom Out from Top Right", -14, 14, 130, 0, 0, 0, 100, 0},
    {13, "Zoom Out from Bottom Left", 14, -14, 130, 0, 0, 0, 100, 0},
    {14, "Zoom Out from Bottom Right", -14, -14, 130, 0, 0, 0, 100, 0},
    {15, "Pan Top Left to Bottom Right", 9, 9, 120, 0, -9, -9, 120, 0},
    {16, "Pan Top Right to Bottom Left", -9, 9, 120, 0, 9, -9, 120, 0},
    {17, "Zoom In and Turn", 0, 0, 115, 0, 0, 0, 135, 5},
    {18, "Zoom Out and Turn", 0, 0, 135, -5, 0, 0, 115, 0},
};
constexpr int kCount = static_cast<int>(std::size(kPresets));

void Apply(const _tagPanZoomType_Preset& preset, _tagPanZoomWorkParamEx& param) {
  param.fStartPanX = preset.fStartPanX;
  param.fStartPanY = preset.fStartPanY;
  param.fStartZoom = preset.fStartZoom;
  param.fStartRotate = preset.fStartRotate;
  param.fEndPanX = preset.fEndPanX;
  param.fEndPanY = preset.fEndPanY;
  param.fEndZoom = preset.fEndZoom;
  param.fEndRotate = preset.fEndRotate;
}

}  // namespace

int CPanZoomEx::GetPanZoomType_PresetCount() {
  return kCount;
}

const _tagPanZoomType_Preset* CPanZoomEx::GetPanZoomType_Preset(int index) {
  return index >= 0 && index < kCount ? &kPresets[index] : nullptr;
}

BOOL CPanZoomEx::GetPanZoomType_PresetValue(int index, _tagPanZoomWorkParamEx& param) {
  const _tagPanZoomType_Preset* preset = GetPanZoomType_Preset(index);
  if (preset == nullptr) return FALSE;
  Apply(*preset, param);
  return TRUE;
}

BOOL CPanZoomEx::GetPanZoomType_PresetValue(int index, int& used, _tagPanZoomWorkParamEx& param) {
  used = ((index % kCount) + kCount) % kCount;
  Apply(kPresets[used], param);
  return TRUE;
}

BOOL CPanZoomEx::GetRandomPanZoom_PresetValue(int& index, _tagPanZoomWorkParamEx& param) {
  index = 1 + std::rand() % (kCount - 1);
  Apply(kPresets[index], param);
  return TRUE;
}
