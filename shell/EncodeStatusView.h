// A small view of the slide encoder's speed: the frames per second it has made so far, centred on
// black. It paints only; whoever shows it invalidates it when a new figure is wanted.
#pragma once

#include "platform/mfc/Afx.h"

class CSlideEncoder;

class CEncodeStatusView : public CWnd {
 public:
  CEncodeStatusView() = default;

  // The encoder whose speed is shown; null shows black. Not owned.
  void SetEncoder(CSlideEncoder* pEncoder) { m_pEncoder = pEncoder; }
  CSlideEncoder* GetEncoder() const { return m_pEncoder; }

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CSlideEncoder* m_pEncoder = nullptr;
};
