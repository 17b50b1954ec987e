// A set of child pages (modeless child dialogs) that one window shows in turns inside a frame
// rectangle, one at a time. The owner creates each page as its own child, sets the frame, hands
// the pages over with AddPage and switches between them with ShowPage. The set neither creates
// nor destroys pages: they stay members of the owner. UI thread only.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/WinTypes.h"

class CWnd;

class CPageSet {
 public:
  CPageSet() = default;
  virtual ~CPageSet() = default;
  CPageSet(const CPageSet&) = delete;
  CPageSet& operator=(const CPageSet&) = delete;

  // Appends a page and moves it into the frame: centred when m_bCenter is set (a page larger
  // than the frame is aligned at the frame's top-left corner), else at the frame's top-left.
  // 0 for a null page or one without a window, else 1.
  int AddPage(CWnd* pPage);
  // Hides every other page that has a window and shows page nIndex (without hiding it first);
  // -1 hides them all and keeps the remembered index. FALSE, changing nothing, for an index
  // past the last page or below -1.
  bool ShowPage(int nIndex);
  // Delivers a message to page nIndex: sent when the low 8 bits of bSend are non-zero, else
  // posted. Nothing for an index outside the pages.
  void SendToPage(int nIndex, int bSend, UINT message, WPARAM wParam, LPARAM lParam);
  // SendToPage for every page from the first.
  void SendToAllPages(int bSend, UINT message, WPARAM wParam, LPARAM lParam);

  int GetPageCount() const { return static_cast<int>(m_pages.GetSize()); }
  CWnd* GetPage(int nIndex) const;
  // The page last shown, -1 when none.
  int GetCurrentPage() const { return m_nCurrent; }

 private:
  CArray<CWnd*, CWnd*> m_pages;  // in the order they were added
  int m_nCurrent = -1;

 public:
  // Set by the owner before the first AddPage: the frame in screen coordinates and whether pages
  // are centred in it.
  RECT m_rcFrame{0, 0, 0, 0};
  BYTE m_bCenter = 0;
};
