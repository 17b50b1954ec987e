// A tasks pane in a host window: three groups of links, the last one captionless, on the default
// page, and whatever a test adds. Animation is off unless a test turns it on.
#pragma once

#include <memory>
#include <string>

#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/customize/PlxTasksPane.h"

namespace customize_test {

constexpr UINT kTasksBarId = 0xE910;
constexpr UINT kFirstTaskCmd = 34001;

class TasksPaneFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartDisplay(); }
  void SetUp() override {
    ASSERT_TRUE(m_host.Make(CRect(40, 40, 400, 560)));
    m_pane = std::make_unique<CPlxTasksPane>();
    m_pane->m_bAnimationEnabled = FALSE;
    ASSERT_TRUE(m_pane->Create(&m_host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, kTasksBarId));
    m_pane->SetOwner(&m_host);
    m_pane->MoveWindow(0, 0, 200, 480);
  }
  void TearDown() override {
    if (m_pane->GetSafeHwnd() != nullptr) m_pane->DestroyWindow();
    m_pane.reset();
    m_host.DestroyWindow();
    Pump();
  }
  // Groups of `tasks` links each, commands numbered from kFirstTaskCmd across groups.
  void Fill(int groups, int tasks, int page = 0) {
    for (int g = 0; g < groups; ++g) {
      const std::string caption = g == groups - 1 && groups > 2 ? "" : "Group " + std::to_string(g);
      const int index = m_pane->AddGroup(page, caption.c_str());
      for (int t = 0; t < tasks; ++t)
        m_pane->AddTask(index, ("Task " + std::to_string(g) + "." + std::to_string(t)).c_str(), -1,
                        kFirstTaskCmd + static_cast<UINT>(g * 100 + t));
    }
    Relayout();
  }
  void Relayout() {
    m_pane->AdjustLocations();
    m_pane->ReposTasks();
    Pump();
  }
  CPoint ScreenCentre(const CRect& client) {
    CPoint point = client.CenterPoint();
    m_pane->ClientToScreen(&point);
    return point;
  }
  void MoveTo(const CRect& client) {
    pictavo::user::InjectMouseMove(ScreenCentre(client));
    Pump();
  }
  void Press(bool down) {
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, down);
    Pump();
  }

  CHostWnd m_host;
  std::unique_ptr<CPlxTasksPane> m_pane;
};

}  // namespace customize_test
