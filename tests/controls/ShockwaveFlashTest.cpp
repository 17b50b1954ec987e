// The Flash player window: there is no player on this platform, so making one fails with
// REGDB_E_CLASSNOTREG and the theme page gets no interface either; a player class registered by
// the test is made and hosted.
#include "controls/ShockwaveFlash.h"

#include <gtest/gtest.h>

#include "modules/data/DVDProject.h"
#include "modules/data/ShockwaveFlash.h"
#include "platform/base/LastError.h"
#include "platform/com/AxHost.h"
#include "platform/com/Com.h"
#include "platform/display/Display.h"

namespace {

class FakePlayer final : public pictavo::com::Object<IShockwaveFlash> {
 public:
  STDMETHODIMP put_WMode(BSTR) override { return S_OK; }
  STDMETHODIMP put_ScaleMode(int) override { return S_OK; }
  STDMETHODIMP put_Menu(BOOL) override { return S_OK; }
  STDMETHODIMP put_Loop(BOOL) override { return S_OK; }
  STDMETHODIMP LoadMovie(int, BSTR) override { return S_OK; }
  STDMETHODIMP SetVariable(BSTR, BSTR) override { return S_OK; }
  STDMETHODIMP Play() override { return S_OK; }
  STDMETHODIMP Stop() override { return S_OK; }
  STDMETHODIMP FlashVersion(long* version) override {
    *version = 0x90000;
    return S_OK;
  }
};

class ShockwaveFlashTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 200),
                                  nullptr, 0));
  }
  void TearDown() override { m_parent.DestroyWindow(); }
  CWnd m_parent;
};

}  // namespace

TEST_F(ShockwaveFlashTest, WithoutAPlayerBothWaysFailWithClassNotRegistered) {
  CFlashPlayerWnd player;
  EXPECT_FALSE(player.Create(nullptr, "movie", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 75), &m_parent, 1368));
  EXPECT_EQ(static_cast<HRESULT>(GetLastError()), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(player.GetSafeHwnd(), nullptr);
  IShockwaveFlash* flash = reinterpret_cast<IShockwaveFlash*>(1);
  EXPECT_EQ(CDVDProject::GetFlashInterface(&flash), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(flash, nullptr);
}

TEST_F(ShockwaveFlashTest, ARegisteredPlayerIsMadeByItsClassIdAndHosted) {
  pictavo::com::ClassRegistration registration(CLSID_ShockwaveFlash, [](REFIID iid, void** object) {
    return pictavo::com::CreateInstance<FakePlayer>(iid, object);
  });
  CFlashPlayerWnd player;
  // The class name is ignored: the control's class id decides.
  ASSERT_TRUE(player.Create("Static", "movie", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 75), &m_parent, 1368));
  EXPECT_EQ(player.GetDlgCtrlID(), 1368);
  IUnknown* control = nullptr;
  ASSERT_EQ(AtlAxGetControl(player.m_hWnd, &control), S_OK);
  IShockwaveFlash* flash = nullptr;
  EXPECT_EQ(control->QueryInterface(IID_IShockwaveFlash, reinterpret_cast<void**>(&flash)), S_OK);
  flash->Release();
  control->Release();
  player.DestroyWindow();
  ASSERT_EQ(CDVDProject::GetFlashInterface(&flash), S_OK);
  long version = 0;
  EXPECT_EQ(flash->FlashVersion(&version), S_OK);
  EXPECT_EQ(version, 0x90000);
  flash->Release();
}

TEST_F(ShockwaveFlashTest, RuntimeClass) {
  const CRuntimeClass* runtime = RUNTIME_CLASS(CShockwaveFlash);
  EXPECT_STREQ(runtime->m_lpszClassName, "CShockwaveFlash");
  EXPECT_EQ(runtime->m_wSchema, 0xFFFFu);
  CObject* made = runtime->CreateObject();
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CWnd)));
  delete made;
}
