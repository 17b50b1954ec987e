// Rebar state: the order, sizes and styles of a frame's rebar bands survive a save and load, and
// stored values that do not fit the rebar exactly leave it as it is.
#include "toolkit/core/PlxRebarState.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/comctl/AfxReBar.h"
#include "platform/display/Display.h"
#include "platform/mfc/StdControls.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"
#include "toolkit/core/PlxRegistry.h"

using namespace shelltest;

namespace {

const std::string kBase = "SOFTWARE\\Plx\\Test\\";
constexpr UINT kA = 201, kB = 202, kC = 203, kD = 204;

struct Layout {
  std::vector<UINT> order;  // child ids
  std::vector<UINT> widths;
  std::vector<UINT> styles;
  bool operator==(const Layout&) const = default;
};

class RebarStateTest : public RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    ASSERT_TRUE(frame.CreateEx(0,
                               AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                               "Rebars", WS_POPUP | WS_VISIBLE, 0, 0, 500, 120, nullptr, nullptr));
    ASSERT_TRUE(first.Create(&frame, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE804));
    ASSERT_TRUE(second.Create(&frame, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE805));
    first.SetWindowPos(nullptr, 0, 0, 500, 30, SWP_NOZORDER);
    second.SetWindowPos(nullptr, 0, 60, 500, 30, SWP_NOZORDER);
    AddBand(first, kA, "Album", 120);
    AddBand(first, kB, "Slides", 150);
    AddBand(second, kC, nullptr, 100);
    AddBand(second, kD, nullptr, 100);
  }
  void TearDown() override { frame.DestroyWindow(); }

  void AddBand(CReBar& rebar, UINT id, LPCTSTR text, int width) {
    auto child = std::make_unique<CEdit>();
    ASSERT_TRUE(child->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, width, 22), &rebar, id));
    ASSERT_TRUE(rebar.AddBar(child.get(), text));
    children.push_back(std::move(child));
  }

  static Layout Read(CReBar& rebar) {
    Layout layout;
    CReBarCtrl& ctrl = rebar.GetReBarCtrl();
    for (UINT i = 0; i < ctrl.GetBandCount(); ++i) {
      REBARBANDINFO info{};
      info.cbSize = sizeof info;
      info.fMask = RBBIM_CHILD | RBBIM_SIZE | RBBIM_STYLE;
      EXPECT_TRUE(ctrl.GetBandInfo(i, &info));
      layout.order.push_back(static_cast<UINT>(GetDlgCtrlID(info.hwndChild)));
      layout.widths.push_back(info.cx);
      layout.styles.push_back(info.fStyle);
    }
    return layout;
  }
  static void SetBand(CReBar& rebar, UINT index, UINT width, UINT style) {
    REBARBANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_SIZE | RBBIM_STYLE;
    info.cx = width;
    info.fStyle = style;
    ASSERT_TRUE(rebar.GetReBarCtrl().SetBandInfo(index, &info));
  }
  Bytes Stored(UINT rebarId, const char* value) {
    DWORD type = 0;
    Bytes bytes;
    EXPECT_TRUE(QueryRaw(kBase + "PlxRebar-" + std::to_string(rebarId), value, type, bytes)) << value;
    return bytes;
  }

  CWnd frame;
  CReBar first, second;
  std::vector<std::unique_ptr<CWnd>> children;
};

DWORD Word(const Bytes& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<DWORD>(bytes[at + 3]) << 24;
}

}  // namespace

TEST_F(RebarStateTest, BandsSavedBThenAComeBackInThatOrderWithTheirSizesAndStyles) {
  first.GetReBarCtrl().MoveBand(1, 0);  // B, A
  SetBand(first, 0, 260, RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE);
  SetBand(first, 1, 240, RBBS_GRIPPERALWAYS);
  const Layout saved = Read(first);
  ASSERT_EQ(saved.order, (std::vector<UINT>{kB, kA}));
  PlxSaveRebarState(kBase.c_str(), &frame);

  const Bytes rbi = Stored(0xE804, "RBI");
  ASSERT_EQ(rbi.size(), 2u * 80);
  EXPECT_EQ(Word(rbi, 0), 80u);
  EXPECT_EQ(Word(rbi, 4), 0xB61u) << "the child is never stored";
  EXPECT_EQ(Word(rbi, 8 * 4), 0u) << "no window handle in the record";
  EXPECT_EQ(Stored(0xE804, "IDs"), (Bytes{kB, 0, 0, 0, kA, 0, 0, 0}));

  first.GetReBarCtrl().MoveBand(1, 0);  // A, B again
  SetBand(first, 0, 150, RBBS_GRIPPERALWAYS);
  SetBand(first, 1, 150, RBBS_GRIPPERALWAYS);
  PlxLoadRebarState(kBase.c_str(), &frame);
  EXPECT_EQ(Read(first), saved);

  // A snapshot to look at: two rebars, the first reordered and resized.
  pictavo::test::PumpPending();
  frame.UpdateWindow();
  EXPECT_FALSE(pictavo::test::SaveDesktopArea({0, 0, 500, 120}, "rebar_state.png").empty());
}

// The user widens or narrows a band by dragging the gripper of the band after it; what the drag
// left is what a save keeps.
TEST_F(RebarStateTest, AGripperDragResizesTheBandBeforeItAndTheSaveKeepsIt) {
  struct Case {
    const char* what;
    UINT band;  // whose gripper is held
    int dx;
    UINT fixed;     // a style the held band gets first
    int expectedA;  // the first band's width after the drag; 0: its minimum
  };
  const int startA = 250;  // wider than the band's header and child need
  const Case cases[] = {
      {"right by 40", 1, 40, 0, startA + 40},
      {"left by 30", 1, -30, 0, startA - 30},
      {"far left stops at the band's minimum", 1, -400, 0, 0},
      {"the row's first band has nothing before it", 0, 60, 0, startA},
      {"a fixed band has no gripper to hold", 1, 40, RBBS_FIXEDSIZE, startA},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetBand(first, 0, static_cast<UINT>(startA), RBBS_GRIPPERALWAYS);
    SetBand(first, 1, 150, RBBS_GRIPPERALWAYS | c.fixed);
    CRect band;
    first.GetReBarCtrl().GetRect(c.band, band);
    const CPoint grip(band.left + 5, band.CenterPoint().y);
    first.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
    for (int step = 1; step <= 4; ++step)
      first.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grip.x + c.dx * step / 4, grip.y));
    first.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(grip.x + c.dx, grip.y));
    EXPECT_EQ(::GetCapture(), nullptr) << "the release lets the pointer go";
    const Layout dragged = Read(first);
    if (c.expectedA > 0) {
      EXPECT_EQ(static_cast<int>(dragged.widths[0]), c.expectedA);
    } else {
      CRect a;
      first.GetReBarCtrl().GetRect(0, a);
      EXPECT_LT(static_cast<int>(dragged.widths[0]), startA - 30);
      EXPECT_EQ(a.Width(), static_cast<int>(dragged.widths[0])) << "no narrower than its header and child";
    }
    PlxSaveRebarState(kBase.c_str(), &frame);
    SetBand(first, 0, 90, RBBS_GRIPPERALWAYS);
    PlxLoadRebarState(kBase.c_str(), &frame);
    EXPECT_EQ(Read(first).widths, dragged.widths);
  }
}

TEST_F(RebarStateTest, FixedSizeBandsStoreAWiderMinimum) {
  REBARBANDINFO info{};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILDSIZE | RBBIM_STYLE;
  ASSERT_TRUE(first.GetReBarCtrl().GetBandInfo(0, &info));
  const UINT reported = info.cxMinChild;
  info.fMask = RBBIM_STYLE;
  info.fStyle |= RBBS_FIXEDSIZE;
  ASSERT_TRUE(first.GetReBarCtrl().SetBandInfo(0, &info));
  PlxSaveRebarState(kBase.c_str(), &frame);
  const Bytes rbi = Stored(0xE804, "RBI");
  ASSERT_EQ(rbi.size(), 160u);
  EXPECT_EQ(Word(rbi, 9 * 4), reported + 4);
  EXPECT_EQ(Word(Stored(0xE804, "RBI"), 80 + 9 * 4), 150u) << "a band that is not fixed keeps its minimum";
}

TEST_F(RebarStateTest, StoredValuesThatDoNotFitLeaveTheRebarAsItIs) {
  first.GetReBarCtrl().MoveBand(1, 0);
  SetBand(first, 0, 300, RBBS_GRIPPERALWAYS | RBBS_BREAK);
  PlxSaveRebarState(kBase.c_str(), &frame);
  const Bytes rbi = Stored(0xE804, "RBI");
  const Bytes ids = Stored(0xE804, "IDs");
  first.GetReBarCtrl().MoveBand(1, 0);
  const Layout before = Read(first);
  const std::string key = kBase + "PlxRebar-" + std::to_string(0xE804);

  struct Case {
    const char* what;
    Bytes rbi;
    Bytes ids;
  };
  Bytes shortRbi(rbi.begin(), rbi.end() - 1);
  Bytes forgedMask = rbi;
  forgedMask[4] |= RBBIM_CHILD;  // a child handle from the file
  Bytes forgedText = rbi;
  forgedText[80 + 4] |= RBBIM_TEXT;  // a text pointer from the file
  Bytes bigRecord = rbi;
  bigRecord[0] = 200;  // a record size past the 80 bytes
  Bytes longRbi = rbi;
  longRbi.insert(longRbi.end(), 80, 0);
  const Case cases[] = {
      {"short RBI", shortRbi, ids},
      {"an extra record", longRbi, ids},
      {"forged mask", forgedMask, ids},
      {"text in the mask", forgedText, ids},
      {"record size", bigRecord, ids},
      {"one id for two bands", rbi, Bytes(ids.begin(), ids.begin() + 4)},
      {"ids not in words", rbi, Bytes(ids.begin(), ids.end() - 1)},
  };
  for (const Case& c : cases) {
    SetRaw(key, "RBI", REG_BINARY, c.rbi);
    SetRaw(key, "IDs", REG_BINARY, c.ids);
    PlxLoadRebarState(kBase.c_str(), &frame);
    EXPECT_EQ(Read(first), before) << c.what;
  }
  // A rebar with another band count than was saved keeps its layout.
  SetRaw(key, "RBI", REG_BINARY, rbi);
  SetRaw(key, "IDs", REG_BINARY, ids);
  first.GetReBarCtrl().DeleteBand(1);
  const Layout one = Read(first);
  PlxLoadRebarState(kBase.c_str(), &frame);
  EXPECT_EQ(Read(first), one);
}

TEST_F(RebarStateTest, ARebarWithoutStoredValuesDoesNotStopTheOthers) {
  second.GetReBarCtrl().MoveBand(1, 0);  // D, C
  PlxSaveRebarState(kBase.c_str(), &frame);
  const Layout saved = Read(second);
  // Only the second rebar's key is left.
  CPlxRegistryHolder holder;
  ASSERT_TRUE(holder.Create(FALSE, FALSE).DeleteKey((kBase + "PlxRebar-" + std::to_string(0xE804)).c_str()));
  second.GetReBarCtrl().MoveBand(1, 0);
  PlxLoadRebarState(kBase.c_str(), &frame);
  EXPECT_EQ(Read(second).order, saved.order);
}
