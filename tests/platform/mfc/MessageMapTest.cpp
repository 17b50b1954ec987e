// Message maps: every kind of entry, reflection to controls, and the search from a class to its
// bases.
#include <string>
#include <vector>

#include "MfcTestSupport.h"

using namespace testing_mfc;

namespace {

constexpr UINT kCommand = 0x8101, kRangeFirst = 0x8110, kRangeLast = 0x8112, kCommandEx = 0x8120;
constexpr UINT kChild = 200, kChildLast = 203, kButton = 210, kReflecting = 211, kBoth = 212;
constexpr UINT kAppMessage = WM_APP + 5;
const UINT kRegistered = RegisterWindowMessage("PictavoTestRegistered");

// A control that answers some of its own notifications.
class CReflectingButton : public CButton {
 public:
  std::vector<std::string> log;
  BOOL m_passOn = FALSE;
  HBRUSH m_brush = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));

 protected:
  afx_msg void OnClicked() { log.push_back("reflect clicked"); }
  afx_msg BOOL OnDoubleClicked() {
    log.push_back("reflect double");
    return !m_passOn;
  }
  afx_msg void OnReflectClick(NMHDR*, LRESULT* result) {
    log.push_back("reflect notify");
    *result = 77;
  }
  afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
    log.push_back("reflect color " + std::to_string(nCtlColor));
    return m_brush;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
ON_CONTROL_REFLECT_EX(BN_DOUBLECLICKED, OnDoubleClicked)
ON_NOTIFY_REFLECT(NM_CLICK, OnReflectClick)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CHost : public CWnd {
 public:
  std::vector<std::string> log;
  BOOL m_exAnswer = TRUE;
  BOOL m_enableCommand = TRUE;

  BOOL Make() {
    return CreateEx(0, nullptr, "Host", WS_POPUP | WS_VISIBLE, CRect(10, 10, 310, 210), nullptr, 0);
  }

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy) {
    log.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    CWnd::OnSize(type, cx, cy);
  }
  afx_msg void OnCommandOne() { log.push_back("command"); }
  afx_msg void OnRange(UINT id) { log.push_back("range " + std::to_string(id - kRangeFirst)); }
  afx_msg BOOL OnCommandEx(UINT id) {
    log.push_back("ex");
    return m_exAnswer;
  }
  afx_msg void OnUpdateCommand(CCmdUI* ui) { ui->Enable(m_enableCommand); }
  afx_msg void OnUpdateRange(CCmdUI* ui) { ui->SetCheck(ui->m_nID == kRangeFirst + 1); }
  afx_msg void OnChildClick(NMHDR* header, LRESULT* result) {
    log.push_back("notify " + std::to_string(header->idFrom));
    *result = 5;
  }
  afx_msg void OnChildRange(UINT id, NMHDR*, LRESULT*) {
    log.push_back("notify range " + std::to_string(id));
  }
  afx_msg BOOL OnChildEx(UINT id, NMHDR*, LRESULT*) {
    log.push_back("notify ex");
    return FALSE;
  }
  afx_msg void OnButton() {
    log.push_back("clicked " + std::to_string(GetCurrentMessage()->wParam & 0xFFFF));
  }
  afx_msg void OnControlRange(UINT id) { log.push_back("control range " + std::to_string(id)); }
  afx_msg void OnDouble() { log.push_back("parent double"); }
  afx_msg LRESULT OnAppMessage(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) {
    log.push_back("registered");
    return static_cast<LRESULT>(wParam * 2);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHost, CWnd)
ON_WM_SIZE()
ON_COMMAND(kCommand, OnCommandOne)
ON_COMMAND_RANGE(kRangeFirst, kRangeLast, OnRange)
ON_COMMAND_EX(kCommandEx, OnCommandEx)
ON_UPDATE_COMMAND_UI(kCommand, OnUpdateCommand)
ON_UPDATE_COMMAND_UI_RANGE(kRangeFirst, kRangeLast, OnUpdateRange)
ON_NOTIFY(NM_CLICK, kChild, OnChildClick)
ON_NOTIFY_RANGE(NM_DBLCLK, kChild, kChildLast, OnChildRange)
ON_NOTIFY_EX(NM_RCLICK, kChild, OnChildEx)
ON_BN_CLICKED(kButton, OnButton)
ON_BN_CLICKED(kReflecting, OnButton)
ON_CONTROL_RANGE(EN_CHANGE, kChild, kChildLast, OnControlRange)
ON_BN_DOUBLECLICKED(kBoth, OnDouble)
ON_MESSAGE(kAppMessage, OnAppMessage)
ON_REGISTERED_MESSAGE(kRegistered, OnRegistered)
END_MESSAGE_MAP()

// A derived class: its own entry wins, the rest come from the base's map.
class CDerivedHost : public CHost {
 protected:
  afx_msg void OnCommandOne() { log.push_back("derived command"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedHost, CHost)
ON_COMMAND(kCommand, OnCommandOne)
END_MESSAGE_MAP()

// Records what an update handler asked for.
class RecordingCmdUI : public CCmdUI {
 public:
  int enabled = -1;
  int checked = -1;
  void Enable(BOOL on) override {
    enabled = on;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int check) override { checked = check; }
};

LRESULT Notify(CWnd& host, UINT id, UINT code) {
  NMHDR header{nullptr, id, code};
  return host.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

class MessageMapTest : public MfcTest {};

TEST_F(MessageMapTest, EachKindOfEntryReachesItsHandler) {
  CHost host;
  ASSERT_TRUE(host.Make());
  host.log.clear();
  host.MoveWindow(10, 10, 200, 100);
  host.SendMessage(WM_COMMAND, kCommand);
  for (UINT id = kRangeFirst; id <= kRangeLast; ++id) host.SendMessage(WM_COMMAND, id);
  EXPECT_EQ(Notify(host, kChild, NM_CLICK), 5);
  Notify(host, kChild + 2, NM_DBLCLK);
  Notify(host, kChild, NM_RCLICK);
  host.SendMessage(WM_COMMAND, MAKEWPARAM(kChild + 1, EN_CHANGE), reinterpret_cast<LPARAM>(host.m_hWnd));
  EXPECT_EQ(host.SendMessage(kAppMessage, 40, 2), 42);
  EXPECT_EQ(host.SendMessage(kRegistered, 21, 0), 42);
  EXPECT_EQ(host.log, (std::vector<std::string>{"size 200x100", "command", "range 0", "range 1", "range 2",
                                                "notify 200", "notify range 202", "notify ex",
                                                "control range 201", "registered"}));
}

TEST_F(MessageMapTest, ExtendedHandlersSayWhetherTheyHandledIt) {
  CHost host;
  ASSERT_TRUE(host.Make());
  for (BOOL answer : {TRUE, FALSE}) {
    host.m_exAnswer = answer;
    EXPECT_EQ(host.SendMessage(WM_COMMAND, kCommandEx), answer ? 1 : 0);
  }
}

TEST_F(MessageMapTest, ADerivedMapComesFirstAndFallsBackToItsBase) {
  CDerivedHost host;
  ASSERT_TRUE(host.Make());
  host.log.clear();
  host.SendMessage(WM_COMMAND, kCommand);
  host.SendMessage(WM_COMMAND, kRangeFirst);
  EXPECT_EQ(host.log, (std::vector<std::string>{"derived command", "range 0"}));
}

TEST_F(MessageMapTest, UpdateHandlersDecideAndDisabledCommandsAreDropped) {
  CHost host;
  ASSERT_TRUE(host.Make());
  const struct {
    BOOL enable;
    int enabled;
    bool runs;
  } cases[] = {{TRUE, TRUE, true}, {FALSE, FALSE, false}};
  for (const auto& c : cases) {
    host.m_enableCommand = c.enable;
    RecordingCmdUI ui;
    ui.m_nID = kCommand;
    EXPECT_TRUE(ui.DoUpdate(&host, FALSE));
    EXPECT_EQ(ui.enabled, c.enabled);
    host.log.clear();
    host.SendMessage(WM_COMMAND, MAKEWPARAM(kCommand, 0), 0);  // as a menu item or accelerator sends it
    EXPECT_EQ(host.log.size(), c.runs ? 1u : 0u) << c.enable;
  }
  const struct {
    UINT id;
    int checked;
    int enabled;  // a handler that says nothing leaves it to whether the command has a handler
  } range[] = {{kRangeFirst, 0, TRUE}, {kRangeFirst + 1, 1, TRUE}, {kRangeLast + 1, -1, FALSE}};
  for (const auto& r : range) {
    RecordingCmdUI ui;
    ui.m_nID = r.id;
    ui.DoUpdate(&host, TRUE);
    EXPECT_EQ(ui.checked, r.checked) << r.id;
    EXPECT_EQ(ui.enabled, r.enabled) << r.id;
  }
}

TEST_F(MessageMapTest, ControlsAnswerTheirReflectedNotificationsFirst) {
  CHost host;
  ASSERT_TRUE(host.Make());
  CButton plain;
  ASSERT_TRUE(plain.Create("Plain", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &host, kButton));
  CReflectingButton reflecting;
  ASSERT_TRUE(
      reflecting.Create("Reflecting", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 30, 50, 50), &host, kReflecting));
  CReflectingButton both;
  both.m_passOn = TRUE;
  ASSERT_TRUE(both.Create("Both", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 60, 50, 80), &host, kBoth));
  host.log.clear();

  plain.SendMessage(BM_CLICK);
  reflecting.SendMessage(BM_CLICK);
  host.SendMessage(WM_COMMAND, MAKEWPARAM(kBoth, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(both.m_hWnd));
  EXPECT_EQ(host.log, (std::vector<std::string>{"clicked 210", "parent double"}))
      << "a reflected notification does not reach the parent unless the _EX handler says so";
  EXPECT_EQ(reflecting.log, (std::vector<std::string>{"reflect clicked"}));
  EXPECT_EQ(both.log, (std::vector<std::string>{"reflect double"}));

  NMHDR header{reflecting.m_hWnd, kReflecting, NM_CLICK};
  EXPECT_EQ(host.SendMessage(WM_NOTIFY, kReflecting, reinterpret_cast<LPARAM>(&header)), 77);

  CClientDC dc(&reflecting);
  const LRESULT brush = host.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                         reinterpret_cast<LPARAM>(reflecting.m_hWnd));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), reflecting.m_brush);
  EXPECT_EQ(reflecting.log.back(), "reflect color " + std::to_string(CTLCOLOR_BTN));
}

TEST_F(MessageMapTest, TemporaryObjectsWrapForeignHandlesAndPermanentOnesStay) {
  CHost host;
  ASSERT_TRUE(host.Make());
  EXPECT_EQ(CWnd::FromHandle(host.m_hWnd), &host);
  EXPECT_EQ(CWnd::FromHandlePermanent(host.m_hWnd), &host);
  HWND plain =
      ::CreateWindowEx(0, WC_STATIC, "x", WS_CHILD, 0, 0, 10, 10, host.m_hWnd, nullptr, nullptr, nullptr);
  CWnd* temporary = CWnd::FromHandle(plain);
  EXPECT_NE(temporary, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
  EXPECT_EQ(CWnd::FromHandle(plain), temporary) << "the same temporary until the thread is idle";
  CStatic attached;
  ASSERT_TRUE(attached.SubclassWindow(plain));
  EXPECT_EQ(CWnd::FromHandle(plain), &attached);
  attached.SetWindowText("via object");
  EXPECT_EQ(TextOf(plain), "via object") << "the control's own procedure still runs";
  EXPECT_EQ(attached.UnsubclassWindow(), plain);
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
  host.DestroyWindow();
  EXPECT_EQ(host.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(plain)) << "children go with their parent";
}

}  // namespace
