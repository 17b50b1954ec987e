// The control host window: registered by AtlAxWinInit, holding an attached control until the
// window goes; and a control class nobody registered failing the way the program expects.
#include <gtest/gtest.h>

#include "platform/com/AxHost.h"
#include "platform/com/Com.h"
#include "platform/user/User.h"

namespace {

class Control final : public pictavo::com::Object<IUnknown> {
 public:
  explicit Control(bool& alive) : m_alive(alive) { m_alive = true; }
  ~Control() override { m_alive = false; }

 private:
  bool& m_alive;
};

HWND MakeHost() {
  return CreateWindowEx(0, "AtlAxWin", nullptr, 0, 0, 0, 768, 576, nullptr, nullptr, nullptr, nullptr);
}

TEST(AxHost, HoldsTheAttachedControlUntilTheWindowGoes) {
  ASSERT_TRUE(AtlAxWinInit());
  ASSERT_TRUE(AtlAxWinInit()) << "a second call finds the class registered";
  HWND host = MakeHost();
  ASSERT_NE(host, nullptr);
  EXPECT_FALSE(IsWindowVisible(host)) << "created without a style it stays hidden";

  IUnknown* control = nullptr;
  EXPECT_EQ(AtlAxGetControl(host, &control), E_FAIL) << "nothing attached yet";

  bool firstAlive = false, secondAlive = false;
  {
    pictavo::com::ComPtr<IUnknown> first = pictavo::com::MakeObject<Control>(firstAlive);
    pictavo::com::ComPtr<IUnknown> second = pictavo::com::MakeObject<Control>(secondAlive);
    pictavo::com::ComPtr<IUnknown> container;
    ASSERT_EQ(AtlAxAttachControl(first.Get(), host, container.Out()), S_OK);
    EXPECT_TRUE(container);
    ASSERT_EQ(AtlAxAttachControl(second.Get(), host, nullptr), S_OK) << "replaces the first";
    pictavo::com::ComPtr<IUnknown> attached;
    ASSERT_EQ(AtlAxGetControl(host, attached.Out()), S_OK);
    EXPECT_EQ(attached.Get(), second.Get());
  }
  EXPECT_FALSE(firstAlive) << "the replaced control was released";
  EXPECT_TRUE(secondAlive) << "the host keeps the attached one";
  DestroyWindow(host);
  EXPECT_FALSE(secondAlive) << "destroying the window released it";
}

TEST(AxHost, RefusesWhatItCannotHost) {
  AtlAxWinInit();
  HWND host = MakeHost();
  bool alive = false;
  pictavo::com::ComPtr<IUnknown> control = pictavo::com::MakeObject<Control>(alive);
  EXPECT_EQ(AtlAxAttachControl(nullptr, host, nullptr), E_INVALIDARG);

  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "AxHostTestPlain";
  RegisterClass(&wc);
  HWND plain = CreateWindowEx(0, "AxHostTestPlain", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  IUnknown* container = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(AtlAxAttachControl(control.Get(), plain, &container), E_INVALIDARG);
  EXPECT_EQ(container, nullptr);
  DestroyWindow(plain);
  DestroyWindow(host);
}

TEST(AxHost, ControlClassesAreNotRegistered) {
  // The program asks for its movie control this way and takes its no-control path on failure.
  CLSID someControl{};
  ASSERT_EQ(CLSIDFromString(L"{D27CDB6E-AE6D-11CF-96B8-444553540000}", &someControl), S_OK);
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(someControl, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  CoUninitialize();
}

}  // namespace
