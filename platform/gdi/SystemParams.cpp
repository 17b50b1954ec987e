// System parameters the drawing code answers: the desktop size, non-client metrics and fonts,
// dialog base units.
#include <cstring>
#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

namespace {

std::mutex g_lock;
std::function<SIZE()> g_desktopSize;  // guarded by g_lock
NONCLIENTMETRICSA g_metrics{};        // guarded by g_lock
bool g_metricsSet = false;            // guarded by g_lock

LOGFONTA UiFont(int weight) {
  LOGFONTA lf{};
  lf.lfHeight = -11;  // 8 points at 96 dpi
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::strncpy(lf.lfFaceName, "Tahoma", LF_FACESIZE - 1);
  return lf;
}

// Sizes of the flat look; the windowing layer's system metrics use the same numbers.
NONCLIENTMETRICSA DefaultMetrics() {
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof m;
  m.iBorderWidth = 1;
  m.iScrollWidth = 17;
  m.iScrollHeight = 17;
  m.iCaptionWidth = 22;
  m.iCaptionHeight = 22;
  m.lfCaptionFont = UiFont(FW_BOLD);
  m.iSmCaptionWidth = 16;
  m.iSmCaptionHeight = 18;
  m.lfSmCaptionFont = UiFont(FW_BOLD);
  m.iMenuWidth = 19;
  m.iMenuHeight = 19;
  m.lfMenuFont = UiFont(FW_NORMAL);
  m.lfStatusFont = UiFont(FW_NORMAL);
  m.lfMessageFont = UiFont(FW_NORMAL);
  m.iPaddedBorderWidth = 0;
  return m;
}

}  // namespace

namespace pictavo::gdi {

void SetDesktopSizeProvider(std::function<SIZE()> provider) {
  std::lock_guard lock(g_lock);
  g_desktopSize = std::move(provider);
}

SIZE DesktopSize() {
  std::function<SIZE()> provider;
  {
    std::lock_guard lock(g_lock);
    provider = g_desktopSize;
  }
  if (provider) {
    SIZE size = provider();
    if (size.cx > 0 && size.cy > 0) return size;
  }
  return SIZE{1280, 800};
}

RECT MapDialogUnits(const RECT& du) {
  return RECT{MulDiv(du.left, kDialogBaseUnitX, 4), MulDiv(du.top, kDialogBaseUnitY, 8),
              MulDiv(du.right, kDialogBaseUnitX, 4), MulDiv(du.bottom, kDialogBaseUnitY, 8)};
}

}  // namespace pictavo::gdi

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(number) * numerator;
  // Rounds half away from zero, as the platform does.
  int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  int64_t magnitude =
      ((product < 0 ? -product : product) + half) / (denominator < 0 ? -int64_t{denominator} : denominator);
  int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<int>(result);
}

LONG GetDialogBaseUnits() {
  return MAKELONG(pictavo::gdi::kDialogBaseUnitX, pictavo::gdi::kDialogBaseUnitY);
}

BOOL SystemParametersInfoA(UINT action, UINT param, PVOID data, UINT) {
  constexpr UINT kOldSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
      auto* out = static_cast<NONCLIENTMETRICSA*>(data);
      if (!out || (out->cbSize != kOldSize && out->cbSize != sizeof(NONCLIENTMETRICSA))) break;
      UINT size = out->cbSize;
      NONCLIENTMETRICSA m;
      {
        std::lock_guard lock(g_lock);
        m = g_metricsSet ? g_metrics : DefaultMetrics();
      }
      m.cbSize = size;
      std::memcpy(out, &m, size);
      return TRUE;
    }
    case SPI_SETNONCLIENTMETRICS: {
      auto* in = static_cast<const NONCLIENTMETRICSA*>(data);
      if (!in || (in->cbSize != kOldSize && in->cbSize != sizeof(NONCLIENTMETRICSA))) break;
      std::lock_guard lock(g_lock);
      g_metrics = DefaultMetrics();
      std::memcpy(&g_metrics, in, in->cbSize);
      g_metrics.cbSize = sizeof g_metrics;
      g_metricsSet = true;
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT: {
      if (!data || (param != 0 && param < sizeof(LOGFONTA))) break;
      LOGFONTA lf = UiFont(FW_NORMAL);
      std::memcpy(data, &lf, sizeof lf);
      return TRUE;
    }
    case SPI_GETWORKAREA: {
      if (!data) break;
      SIZE size = pictavo::gdi::DesktopSize();
      *static_cast<RECT*>(data) = RECT{0, 0, size.cx, size.cy};
      return TRUE;
    }
    case SPI_GETMENUANIMATION:
    case SPI_GETMENUFADE:
      // Menus open at once in the flat look.
      if (!data) break;
      *static_cast<BOOL*>(data) = FALSE;
      return TRUE;
    default:
      SetLastError(ERROR_NOT_SUPPORTED);
      return FALSE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
