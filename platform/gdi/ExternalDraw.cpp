#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Surface.h"

namespace pictavo::gdi {

BOOL DrawIntoDC(HDC hdc, const std::function<RECT(const DcTarget&)>& draw) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  if (dc->IsMonochrome()) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  DrawScope scope(*dc);
  if (!scope) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::vector<RECT> clip = scope.Clip().Rects();
  DcTarget target{scope.Target(), POINT{dc->SurfaceX(0), dc->SurfaceY(0)}, clip};
  scope.Touch(draw(target));
  return TRUE;
}

}  // namespace pictavo::gdi
