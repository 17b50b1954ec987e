// The banner at the top of a dialog: a static that shows one bitmap and sizes itself so its client
// area is exactly the bitmap. The bitmap belongs to whoever gave it (the skin). UI thread only.
#pragma once

#include "platform/mfc/Afx.h"

class CHintBitmapStatic : public CStatic {
 public:
  CHintBitmapStatic();
  ~CHintBitmapStatic() override;

  // Shows hBitmap (not owned) and, when it is not null, resizes the window, keeping its position,
  // so the client area equals the bitmap whatever the border. Null shows the button face colour.
  void SetBitmap(HBITMAP hBitmap);

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  HBITMAP m_hBitmap = nullptr;
};
