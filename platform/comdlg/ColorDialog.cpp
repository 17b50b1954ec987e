// ChooseColor: basic and custom colour grids, and (opened fully) the spectrum, the luminance
// bar, the preview and the hue/saturation/luminance and red/green/blue edits.
#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/comdlg/ColorControls.h"
#include "platform/comdlg/ColorModel.h"
#include "platform/comdlg/CommDlg.h"
#include "platform/comdlg/DialogIds.h"
#include "platform/comdlg/ExtendedError.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"
#include "platform/user/Dialog.h"
#include "platform/user/User.h"

namespace pictavo::comdlg {

namespace {

constexpr int kCustomCount = 16;
// Where the custom colour part of the template starts, in dialog units.
constexpr int kFullPartLeft = 150;

struct EditField {
  int id;
  int max;
};
constexpr EditField kRgbEdits[] = {{kColorRed, 255}, {kColorGreen, 255}, {kColorBlue, 255}};
constexpr EditField kHlsEdits[] = {{kColorHue, kHlsMax - 1}, {kColorSat, kHlsMax}, {kColorLum, kHlsMax}};

// Record sizes we know: ours and the 32-bit layout's.
bool KnownRecordSize(DWORD size) {
  return size == sizeof(CHOOSECOLORA) || size == 36;
}

// One run of the dialog. Lives on the caller's stack; touched by the dialog's thread only.
class ColorDialog {
 public:
  explicit ColorDialog(CHOOSECOLORA& cc) : m_cc(cc) {}

  BOOL Run();

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void Init();
  void Command(int id, int code);

  HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
  // The colour becomes `color` (or `hls`): every control but `source` shows it.
  void SetColor(COLORREF color, int source);
  void SetHls(const Hls& hls, int source);
  void ShowColor(int source);
  // The grid cell that holds the colour is the selected one (none when no cell holds it).
  void SelectCellOf(COLORREF color);
  void ShowFull(bool full);
  void EditChanged(int id);
  void CellChosen(int id);
  void AddCustom();
  void StoreCustom();

  CHOOSECOLORA& m_cc;  // the caller's record
  HWND m_dialog = nullptr;
  COLORREF m_color = RGB(0, 0, 0);
  Hls m_hls;
  std::array<COLORREF, kCustomCount> m_custom{};
  int m_nextCustom = 0;     // the custom cell "Add to Custom Colors" fills
  bool m_updating = false;  // the dialog is writing its own edits
  int m_fullWidth = 0;      // of the window opened fully
};

BOOL ColorDialog::Run() {
  RegisterColorControls();
  const res::DialogTemplate* dialogTemplate = res::FindDialog(nullptr, MAKEINTRESOURCE(kColorDialogTemplate));
  if (!dialogTemplate) {
    std::fprintf(stderr, "pictavo: the colour dialog's template %d is missing (resources/comdlg.xml)\n",
                 kColorDialogTemplate);
    SetExtendedError(CDERR_FINDRESFAILURE);
    return FALSE;
  }
  const INT_PTR result =
      DialogBoxIndirectParam(nullptr, dialogTemplate, m_cc.hwndOwner, Proc, reinterpret_cast<LPARAM>(this));
  if (result == IDOK) return TRUE;
  if (result == -1) SetExtendedError(CDERR_DIALOGFAILURE);
  return FALSE;
}

INT_PTR CALLBACK ColorDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<ColorDialog*>(lParam);
    self->m_dialog = dialog;
    self->Init();
    return FALSE;  // Init chose the focus
  }
  auto* self = reinterpret_cast<ColorDialog*>(GetWindowLongPtr(dialog, DWLP_USER));
  if (!self || message != WM_COMMAND) return FALSE;
  self->Command(LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

void ColorDialog::Init() {
  std::copy(m_cc.lpCustColors, m_cc.lpCustColors + kCustomCount, m_custom.begin());
  const auto& basic = BasicColors();
  SendDlgItemMessage(m_dialog, kColorBasic, kCellsSetColors, basic.size(),
                     reinterpret_cast<LPARAM>(basic.data()));
  SendDlgItemMessage(m_dialog, kColorCustom, kCellsSetColors, m_custom.size(),
                     reinterpret_cast<LPARAM>(m_custom.data()));
  for (const EditField& field : kRgbEdits) SendDlgItemMessage(m_dialog, field.id, EM_LIMITTEXT, 3, 0);
  for (const EditField& field : kHlsEdits) SendDlgItemMessage(m_dialog, field.id, EM_LIMITTEXT, 3, 0);

  SetColor((m_cc.Flags & CC_RGBINIT) ? m_cc.rgbResult & 0xFFFFFF : RGB(0, 0, 0), 0);

  RECT window{};
  GetWindowRect(m_dialog, &window);
  m_fullWidth = window.right - window.left;
  if (m_cc.Flags & CC_PREVENTFULLOPEN) EnableWindow(Item(kColorDefine), FALSE);
  ShowFull((m_cc.Flags & CC_FULLOPEN) && !(m_cc.Flags & CC_PREVENTFULLOPEN));
  SetFocus(Item(kColorBasic));
}

void ColorDialog::Command(int id, int code) {
  switch (id) {
    case IDOK:
      m_cc.rgbResult = m_color;
      StoreCustom();
      EndDialog(m_dialog, IDOK);
      break;
    case IDCANCEL:
      EndDialog(m_dialog, IDCANCEL);
      break;
    case kColorDefine:
      if (code == BN_CLICKED) {
        ShowFull(true);
        SetFocus(Item(kColorSpectrum));
      }
      break;
    case kColorAdd:
      if (code == BN_CLICKED) AddCustom();
      break;
    case kColorBasic:
    case kColorCustom:
      if (code == kColorChanged) CellChosen(id);
      break;
    case kColorSpectrum:
      if (code == kColorChanged) {
        const auto hs = static_cast<DWORD>(SendDlgItemMessage(m_dialog, kColorSpectrum, kSpectrumGet, 0, 0));
        Hls hls{LOWORD(hs), m_hls.lum, HIWORD(hs)};
        // Black and white look the same at every hue: the spectrum means a colour that shows it.
        if (hls.lum == 0 || hls.lum == kHlsMax) hls.lum = kHlsMax / 2;
        SetHls(hls, kColorSpectrum);
      }
      break;
    case kColorLumBar:
      if (code == kColorChanged) {
        Hls hls = m_hls;
        hls.lum = static_cast<int>(SendDlgItemMessage(m_dialog, kColorLumBar, kLuminanceGet, 0, 0));
        SetHls(hls, kColorLumBar);
      }
      break;
    case kColorRed:
    case kColorGreen:
    case kColorBlue:
    case kColorHue:
    case kColorSat:
    case kColorLum:
      if (code == EN_CHANGE && !m_updating) EditChanged(id);
      break;
    default:
      break;
  }
}

void ColorDialog::SetColor(COLORREF color, int source) {
  m_color = color & 0xFFFFFF;
  m_hls = ToHls(m_color, m_hls.hue);
  ShowColor(source);
}

void ColorDialog::SetHls(const Hls& hls, int source) {
  m_hls = hls;
  m_color = ToRgb(hls);
  ShowColor(source);
}

void ColorDialog::ShowColor(int source) {
  m_updating = true;
  const int rgb[] = {GetRValue(m_color), GetGValue(m_color), GetBValue(m_color)};
  const int hls[] = {m_hls.hue, m_hls.sat, m_hls.lum};
  for (int i = 0; i < 3; ++i) {
    if (kRgbEdits[i].id != source) SetDlgItemInt(m_dialog, kRgbEdits[i].id, static_cast<UINT>(rgb[i]), FALSE);
    if (kHlsEdits[i].id != source) SetDlgItemInt(m_dialog, kHlsEdits[i].id, static_cast<UINT>(hls[i]), FALSE);
  }
  if (source != kColorSpectrum)
    SendDlgItemMessage(m_dialog, kColorSpectrum, kSpectrumSet, m_hls.hue, m_hls.sat);
  SendDlgItemMessage(m_dialog, kColorLumBar, kLuminanceSet, m_hls.lum, MAKELONG(m_hls.hue, m_hls.sat));
  SendDlgItemMessage(m_dialog, kColorCurrent, kSwatchSet, m_color, 0);
  if (source != kColorBasic && source != kColorCustom) SelectCellOf(m_color);
  m_updating = false;
}

void ColorDialog::SelectCellOf(COLORREF color) {
  const auto& basic = BasicColors();
  const auto basicCell = std::find(basic.begin(), basic.end(), color);
  const auto customCell = std::find(m_custom.begin(), m_custom.end(), color);
  const bool inBasic = basicCell != basic.end();
  const bool inCustom = !inBasic && customCell != m_custom.end();
  SendDlgItemMessage(m_dialog, kColorBasic, kCellsSetSelection,
                     inBasic ? static_cast<WPARAM>(basicCell - basic.begin()) : static_cast<WPARAM>(-1), 0);
  SendDlgItemMessage(m_dialog, kColorCustom, kCellsSetSelection,
                     inCustom ? static_cast<WPARAM>(customCell - m_custom.begin()) : static_cast<WPARAM>(-1),
                     0);
}

void ColorDialog::ShowFull(bool full) {
  // The controls right of the grids make up the custom colour part.
  RECT part{kFullPartLeft, 0, kFullPartLeft, 0};
  MapDialogRect(m_dialog, &part);
  for (HWND child = GetWindow(m_dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT topLeft{rect.left, rect.top};
    ScreenToClient(m_dialog, &topLeft);
    if (topLeft.x >= part.left) ShowWindow(child, full ? SW_SHOW : SW_HIDE);
  }
  RECT window{}, client{};
  GetWindowRect(m_dialog, &window);
  GetClientRect(m_dialog, &client);
  const int frame = (window.right - window.left) - client.right;
  const int width = full ? m_fullWidth : part.left + frame;
  SetWindowPos(m_dialog, nullptr, 0, 0, width, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (full) EnableWindow(Item(kColorDefine), FALSE);
}

void ColorDialog::EditChanged(int id) {
  BOOL ok = FALSE;
  const UINT typed = GetDlgItemInt(m_dialog, id, &ok, FALSE);
  if (!ok) return;  // blank while the user types
  const bool isRgb = id == kColorRed || id == kColorGreen || id == kColorBlue;
  const int max = isRgb ? 255 : id == kColorHue ? kHlsMax - 1 : kHlsMax;
  const int value = std::min(static_cast<int>(typed), max);
  if (value != static_cast<int>(typed)) {
    m_updating = true;
    SetDlgItemInt(m_dialog, id, static_cast<UINT>(value), FALSE);
    m_updating = false;
  }
  if (isRgb) {
    int r = GetRValue(m_color), g = GetGValue(m_color), b = GetBValue(m_color);
    (id == kColorRed ? r : id == kColorGreen ? g : b) = value;
    SetColor(RGB(r, g, b), id);
  } else {
    Hls hls = m_hls;
    (id == kColorHue ? hls.hue : id == kColorSat ? hls.sat : hls.lum) = value;
    SetHls(hls, id);
  }
}

void ColorDialog::CellChosen(int id) {
  const auto index = static_cast<int>(SendDlgItemMessage(m_dialog, id, kCellsGetSelection, 0, 0));
  if (index < 0) return;
  const int other = id == kColorBasic ? kColorCustom : kColorBasic;
  SendDlgItemMessage(m_dialog, other, kCellsSetSelection, static_cast<WPARAM>(-1), 0);
  if (id == kColorCustom) m_nextCustom = index;
  SetColor(static_cast<COLORREF>(SendDlgItemMessage(m_dialog, id, kCellsGetColor, index, 0)), id);
}

void ColorDialog::AddCustom() {
  m_custom[static_cast<size_t>(m_nextCustom)] = m_color;
  SendDlgItemMessage(m_dialog, kColorCustom, kCellsSetColors, m_custom.size(),
                     reinterpret_cast<LPARAM>(m_custom.data()));
  SendDlgItemMessage(m_dialog, kColorCustom, kCellsSetSelection, m_nextCustom, 0);
  SendDlgItemMessage(m_dialog, kColorBasic, kCellsSetSelection, static_cast<WPARAM>(-1), 0);
  m_nextCustom = (m_nextCustom + 1) % kCustomCount;
  StoreCustom();
}

// Custom colours are the user's work: they reach the caller's array at once, OK or not.
void ColorDialog::StoreCustom() {
  std::copy(m_custom.begin(), m_custom.end(), m_cc.lpCustColors);
}

}  // namespace

}  // namespace pictavo::comdlg

BOOL ChooseColor(LPCHOOSECOLORA cc) {
  using namespace pictavo::comdlg;
  SetExtendedError(0);
  if (!cc || !cc->lpCustColors) {
    SetExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!KnownRecordSize(cc->lStructSize)) {
    SetExtendedError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if (cc->Flags & (CC_ENABLEHOOK | CC_ENABLETEMPLATE | CC_ENABLETEMPLATEHANDLE)) {
    std::fprintf(stderr, "pictavo: the colour dialog takes no hook procedure or custom template\n");
    SetExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  ColorDialog dialog(*cc);
  return dialog.Run();
}
