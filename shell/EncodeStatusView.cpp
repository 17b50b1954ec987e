#include "shell/EncodeStatusView.h"

#include "platform/mfc/Dc.h"
#include "render/SlideEncoder.h"

BEGIN_MESSAGE_MAP(CEncodeStatusView, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CEncodeStatusView::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (m_pEncoder == nullptr) {
    dc.FillSolidRect(&client, RGB(0, 0, 0));
    return;
  }
  m_pEncoder->SetDrawTarget(m_hWnd, dc.GetSafeHdc(), &client);
  int frames = 0;
  int milliseconds = 0;
  m_pEncoder->GetProgress(&frames, &milliseconds);
  // Before the first millisecond has passed there is no rate yet.
  const double rate = milliseconds > 0 ? static_cast<double>(frames) / milliseconds * 1000.0 : 0.0;
  CString text;
  text.Format("compress rate: %f ", rate);
  dc.DrawText(text, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
