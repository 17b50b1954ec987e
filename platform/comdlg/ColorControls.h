// The controls of the colour dialog, as window classes its template names:
//   "PictavoColorCells"      a grid of colour cells, 8 to a row; click or arrow keys choose one
//   "PictavoColorSpectrum"   hue across, saturation upwards; click, drag or arrow keys
//   "PictavoColorLuminance"  the luminance of the current hue and saturation, top to bottom
//   "PictavoColorSwatch"     the current colour
// A user's change is reported to the parent as WM_COMMAND with kColorChanged.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/WinTypes.h"

namespace pictavo::comdlg {

inline constexpr WORD kColorChanged = 1;

// Cells.
inline constexpr UINT kCellsSetColors = WM_USER + 1;     // wParam count, lParam const COLORREF*
inline constexpr UINT kCellsSetSelection = WM_USER + 2;  // wParam index, or (WPARAM)-1 for none
inline constexpr UINT kCellsGetSelection = WM_USER + 3;  // the index, or -1
inline constexpr UINT kCellsGetColor = WM_USER + 4;      // wParam index
// Spectrum: wParam hue, lParam saturation; the getter answers MAKELONG(hue, saturation).
inline constexpr UINT kSpectrumSet = WM_USER + 1;
inline constexpr UINT kSpectrumGet = WM_USER + 2;
// Luminance: wParam luminance, lParam MAKELONG(hue, saturation); the getter answers the luminance.
inline constexpr UINT kLuminanceSet = WM_USER + 1;
inline constexpr UINT kLuminanceGet = WM_USER + 2;
// Swatch: wParam the colour.
inline constexpr UINT kSwatchSet = WM_USER + 1;

// Registers the four classes (once; later calls do nothing).
void RegisterColorControls();

}  // namespace pictavo::comdlg
