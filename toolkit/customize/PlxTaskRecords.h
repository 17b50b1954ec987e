// The tasks pane's records: pages, groups and tasks, as the pane lays them out and the visual
// managers draw them. Kept apart from the pane so that the drawing code needs no window classes.
#pragma once

#include <vector>

#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"

class CPlxTasksPane;

// What the visual managers read of the pane when they draw its captions and tasks.
class CPlxTasksPaneMetrics {
 public:
  int m_nGroupCaptionHorzOffset = -1;  // -1: the visual manager's
  int m_nGroupCaptionVertOffset = -1;
  int m_nTasksIconHorzOffset = -1;
  BOOL m_bWrapTasks = FALSE;   // command tasks break their text over lines
  BOOL m_bWrapLabels = FALSE;  // label tasks do
};

struct CPlxTaskPage {
  CString m_strName;
  CPlxTasksPane* m_pPane = nullptr;
};

struct CPlxTask;

struct CPlxTasksGroup {
  CPlxTasksPaneMetrics* m_pPage = nullptr;  // the pane, for its drawing metrics
  CPlxTaskPage* m_pTaskPage = nullptr;      // the page the group shows on
  CString m_strName;                        // empty: no caption
  std::vector<CPlxTask*> m_lstTasks;        // owned by the pane
  BOOL m_bAtBottom = FALSE;                 // the last group goes to the bottom when all fits
  HICON m_hIcon = nullptr;
  CSize m_sizeIcon = CSize(0, 0);
  CRect m_rect;       // the caption
  CRect m_rectGroup;  // the tasks part
  BOOL m_bIsSpecial = FALSE;
  BOOL m_bIsCollapsed = FALSE;
  COLORREF m_clrText = (COLORREF)-1;
  COLORREF m_clrTextHot = (COLORREF)-1;
};

struct CPlxTask {
  CPlxTasksGroup* m_pGroup = nullptr;
  CString m_strName;
  CRect m_rect;
  int m_nIcon = -1;
  UINT m_uiCommandID = 0;  // 0: a label
  DWORD m_dwUserData = 0;
  HWND m_hwndTask = nullptr;  // a window task (not owned)
  int m_nWindowHeight = 0;
  BOOL m_bVisible = TRUE;
  BOOL m_bMinTextHeight = FALSE;  // a wrapped label is at least 10 pixels high
  BOOL m_bIsSeparator = FALSE;
  BOOL m_bEnabled = TRUE;
  BOOL m_bIsLink = TRUE;
  COLORREF m_clrText = (COLORREF)-1;
  COLORREF m_clrTextHot = (COLORREF)-1;
};

using CPlxTaskGroup = CPlxTasksGroup;
using CPlxTaskItem = CPlxTask;
