// A visible parent for tab windows that records the tab window's notifications and answers them as
// the test says, with plain child windows to put on the tabs.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/MessagePump.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxTabWnd.h"

namespace tabtest {

struct Note {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Note&) const = default;
};

class CTabHost : public CWnd {
 public:
  std::vector<Note> notes;
  std::string lastRename;
  LRESULT renameReply = 0;
  LRESULT beforeMoveReply = 0;

  static bool IsTabNote(UINT message) {
    return message == CPlxTabWnd::PlxM_ONCHANGE_ACTIVE_TAB || message == CPlxTabWnd::PlxM_ON_HSCROLL ||
           message == CPlxTabWnd::PlxM_ON_RENAME_TAB || message == CPlxTabWnd::PlxM_ON_BEFOREMOVE_TAB ||
           message == CPlxTabWnd::PlxM_ON_MOVE_TAB;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && IsTabNote(message)) {
      if (message == CPlxTabWnd::PlxM_ON_RENAME_TAB) {
        lastRename = reinterpret_cast<LPCTSTR>(lParam);
        notes.push_back({message, wParam, 0});
        return renameReply;
      }
      notes.push_back({message, wParam, lParam});
      return message == CPlxTabWnd::PlxM_ON_BEFOREMOVE_TAB ? beforeMoveReply : 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

inline void StartDisplay() {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
}

// A host popup with `count` tab windows' worth of room; children are plain windows.
class TabFixture {
 public:
  CTabHost host;
  std::vector<std::unique_ptr<CWnd>> pages;

  void CreateHost(int width, int height) {
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNSHADOW + 1)), "",
                      WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, width, height), nullptr, 0));
  }
  // A tab window of the style at `rect` in the host, with one page per label.
  std::unique_ptr<CPlxTabWnd> MakeTabs(int style, const CRect& rect, int location,
                                       const std::vector<const char*>& labels, BOOL closeButton = FALSE) {
    auto tabs = std::make_unique<CPlxTabWnd>();
    if (!tabs->Create(style, rect, &host, 100, location, closeButton)) return nullptr;
    for (const char* label : labels) tabs->AddTab(NewPage(tabs.get()), label);
    pictavo::test::PumpPending();
    return tabs;
  }
  CWnd* NewPage(CWnd* parent) {
    auto page = std::make_unique<CWnd>();
    page->CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), "",
                   WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), parent, 0);
    pages.push_back(std::move(page));
    return pages.back().get();
  }
  void Destroy() {
    if (host.GetSafeHwnd() != nullptr) host.DestroyWindow();
    pictavo::test::PumpPending();
  }
};

}  // namespace tabtest
