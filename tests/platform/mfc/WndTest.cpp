// Parents and owners of framework windows.
#include "MfcTestSupport.h"

using namespace testing_mfc;

namespace {

class WndTest : public MfcTest {};

TEST_F(WndTest, AChildsOwnerIsANoteAndItsParentStays) {
  CWnd host, other, bar, second;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "Host", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
  ASSERT_TRUE(other.CreateEx(0, nullptr, "Other", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
  ASSERT_TRUE(bar.CreateEx(0, nullptr, "Bar", WS_CHILD, CRect(0, 0, 100, 20), &host, 1));
  ASSERT_TRUE(second.CreateEx(0, nullptr, "Second", WS_POPUP, CRect(0, 0, 100, 20), nullptr, 0));

  EXPECT_EQ(bar.GetOwner(), &host);  // no owner set: the parent
  bar.SetOwner(&other);
  EXPECT_EQ(bar.GetParent(), &host);
  EXPECT_EQ(bar.GetOwner(), &other);
  EXPECT_EQ(::GetParent(bar.m_hWnd), host.m_hWnd);
  other.DestroyWindow();
  EXPECT_EQ(bar.GetOwner(), &host);  // a destroyed owner is forgotten

  // A top-level window's owner is the window's own.
  second.SetOwner(&host);
  EXPECT_EQ(::GetWindow(second.m_hWnd, GW_OWNER), host.m_hWnd);
  EXPECT_EQ(second.GetOwner(), &host);
}

}  // namespace
