// CPlxBarFramePainter: the non-client area of a docked control bar (its border lines, the
// background under them and the gripper), computed and painted through the current visual
// manager. Every toolkit toolbar holds one and forwards WM_NCCALCSIZE and WM_NCPAINT to it.
#pragma once

#include "platform/base/WinTypes.h"

class CControlBar;
class CDC;
struct NCCALCSIZE_PARAMS;

class CPlxBarFramePainter {
 public:
  explicit CPlxBarFramePainter(CControlBar* pBar) : m_pBar(pBar) {}
  virtual ~CPlxBarFramePainter() = default;

  // Shrinks the proposed client rectangle by the bar's borders and gripper.
  NCCALCSIZE_PARAMS* CalcNcSize(NCCALCSIZE_PARAMS* lpncsp);
  // Paints borders, background and gripper; hrgnUpdate is the WM_NCPAINT region (1: all).
  void DrawNcArea(HRGN hrgnUpdate = reinterpret_cast<HRGN>(1));
  BOOL DrawParentBackground(CDC* pDC);

  CControlBar* m_pBar;  // the owning bar, borrowed
};
