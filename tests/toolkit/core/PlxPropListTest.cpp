// The property list as a window: editing, notification, keys, the divider, and its look under
// each visual manager against checked-in pictures.
#include "toolkit/core/PlxPropList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMaskEdit.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

constexpr UINT kListId = 7;
const UINT kChanged = PlxPropertyChangedMessage();

VARIANT Text(const char* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = pictavo::com::AllocBstr(text);
  return v;
}

VARIANT Number(VARTYPE vt, long n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  if (vt == VT_I2)
    v.iVal = static_cast<SHORT>(n);
  else
    v.lVal = n;
  return v;
}

CPlxProp* NewProp(const char* name, VARIANT v, const char* valid = nullptr) {
  auto* prop = new CPlxProp(name, v, nullptr, 0, nullptr, nullptr, valid);
  VariantClear(&v);
  return prop;
}

// The owner: a top-level window that keeps every change the list reports.
class COwner : public CWnd {
 public:
  std::vector<std::string> changes;

 protected:
  afx_msg LRESULT OnChanged(WPARAM wParam, LPARAM lParam) {
    auto* prop = reinterpret_cast<CPlxProp*>(lParam);
    changes.push_back(std::to_string(wParam) + " " + std::string(prop->GetName()) + "=" +
                      std::string(prop->FormatValue()));
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwner, CWnd)
ON_REGISTERED_MESSAGE(kChanged, OnChanged)
END_MESSAGE_MAP()

class PlxPropListWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    g_plxGlobalData.UpdateSysColors();
    const CString cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    ASSERT_TRUE(owner.CreateEx(0, cls, "owner", WS_POPUP | WS_VISIBLE, CRect(20, 20, 300, 200), nullptr, 0));
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 260, 160), &owner, kListId));
    list.EnableHeaderCtrl(FALSE);
  }
  void TearDown() override {
    owner.DestroyWindow();
    CPlxVisualManager::DestroyInstance();
  }
  // Sends a key through the list's translation first, as the message loop does.
  void Key(UINT vk) {
    CWnd* focus = CWnd::GetFocus();
    MSG msg{focus ? focus->GetSafeHwnd() : list.GetSafeHwnd(), WM_KEYDOWN, vk, 0};
    if (!list.PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    pictavo::test::PumpPending();
  }
  CString EditText(CPlxProp* prop) {
    CString text;
    if (prop->GetEditWindow()) prop->GetEditWindow()->GetWindowText(text);
    return text;
  }

  COwner owner;
  CPlxPropList list;
};

}  // namespace

TEST_F(PlxPropListWindow, EnterCommitsAndTellsTheOwnerOnlyWhenTheTextChanged) {
  CPlxProp* rate = NewProp("Bit Rate", Text("1200"), "0123456789");
  list.AddProperty(rate);
  ASSERT_TRUE(list.BeginEditItem(rate, nullptr));
  ASSERT_TRUE(rate->GetEditWindow()->IsKindOf(RUNTIME_CLASS(CPlxMaskEdit)));
  Key(VK_RETURN);
  EXPECT_TRUE(owner.changes.empty()) << "the same text";
  ASSERT_TRUE(list.BeginEditItem(rate, nullptr));
  rate->GetEditWindow()->SetWindowText("2400");
  Key(VK_RETURN);
  EXPECT_FALSE(rate->IsInPlaceEditing());
  ASSERT_EQ(owner.changes.size(), 1u);
  EXPECT_EQ(owner.changes[0], "7 Bit Rate=2400");
  EXPECT_TRUE(rate->IsModified());
}

TEST_F(PlxPropListWindow, EscapeKeepsTheLastCommittedValue) {
  CPlxProp* rate = NewProp("Bit Rate", Number(VT_I4, 128));
  list.AddProperty(rate);
  ASSERT_TRUE(list.BeginEditItem(rate, nullptr));
  rate->GetEditWindow()->SetWindowText("64");
  Key(VK_ESCAPE);
  EXPECT_FALSE(rate->IsInPlaceEditing());
  EXPECT_STREQ(rate->FormatValue(), "128");
  EXPECT_TRUE(owner.changes.empty());
}

TEST_F(PlxPropListWindow, ANumberTheValueCannotHoldKeepsTheEditorOpen) {
  CPlxProp* small = NewProp("Small", Number(VT_I2, 5));
  list.AddProperty(small);
  ASSERT_TRUE(list.BeginEditItem(small, nullptr));
  small->GetEditWindow()->SetWindowText("70000");
  EXPECT_FALSE(list.EndEditItem(TRUE));
  EXPECT_TRUE(small->IsInPlaceEditing());
  EXPECT_STREQ(small->FormatValue(), "5");
  EXPECT_TRUE(owner.changes.empty());
  EXPECT_TRUE(list.EndEditItem(FALSE));
}

TEST_F(PlxPropListWindow, BeginEditItemFailsWhenThePropertyHasNoEditor) {
  VARIANT date;
  VariantInit(&date);
  date.vt = VT_DATE;
  CPlxProp* odd = NewProp("Date", date);
  CPlxProp* group = new CPlxProp("Group");
  list.AddProperty(odd);
  list.AddProperty(group);
  EXPECT_FALSE(list.BeginEditItem(odd, nullptr));
  EXPECT_FALSE(list.BeginEditItem(group, nullptr));
  // A typed key on such a row reaches no missing editor.
  list.SetCurSel(odd);
  list.SendMessage(WM_CHAR, 'x');
  EXPECT_FALSE(odd->IsInPlaceEditing());
}

TEST_F(PlxPropListWindow, OptionsCycleByDoubleClickSpaceAndFirstLetter) {
  CPlxProp* pick = NewProp("Pick", Text("beta"));
  for (const char* option : {"alpha", "beta", "Bravo"}) pick->AddOption(option);
  pick->m_bAllowEdit = FALSE;
  list.AddProperty(pick);
  struct Step {
    const char* what;
    UINT typed;  // 0: a double click
    const char* value;
  };
  const Step steps[] = {
      {"b after beta", 'b', "Bravo"}, {"double click wraps", 0, "alpha"},
      {"space", ' ', "beta"},         {"a letter no option starts with", 'z', "beta"},
      {"B again", 'B', "Bravo"},
  };
  for (const Step& s : steps) {
    ASSERT_TRUE(list.BeginEditItem(pick, nullptr)) << s.what;
    if (s.typed)
      pick->OnTypedChar(s.typed);
    else
      pick->OnValueDoubleClick(CPoint());
    EXPECT_STREQ(pick->FormatValue(), s.value) << s.what;
  }
  EXPECT_EQ(owner.changes.size(), 4u);
}

TEST_F(PlxPropListWindow, TheDropDownListSetsTheValue) {
  CPlxProp* rate = NewProp("Frame Rate", Text("25"));
  for (const char* option : {"24", "25", "30"}) rate->AddOption(option);
  list.AddProperty(rate);
  list.SetCurSel(rate);
  ASSERT_TRUE(list.BeginEditItem(rate, nullptr));
  rate->OnDropButton(nullptr);
  ASSERT_NE(rate->GetComboWindow(), nullptr);
  EXPECT_EQ(rate->GetComboWindow()->GetCurSel(), 1);
  rate->GetComboWindow()->SetCurSel(2);
  rate->OnComboSelected();
  EXPECT_STREQ(rate->FormatValue(), "30");
  ASSERT_EQ(owner.changes.size(), 1u);
}

TEST_F(PlxPropListWindow, KeysMoveTheSelectionAndStopAtTheEnds) {
  CPlxProp* group = new CPlxProp("Group");
  CPlxProp* a = NewProp("A", Number(VT_I4, 1));
  CPlxProp* b = NewProp("B", Number(VT_I4, 2));
  group->AddSubItem(a);
  group->AddSubItem(b);
  list.AddProperty(group);
  list.SetFocus();
  struct Case {
    UINT key;
    CPlxProp* selected;
  };
  const Case cases[] = {{VK_DOWN, group}, {VK_DOWN, a},   {VK_DOWN, b}, {VK_DOWN, b},
                        {VK_HOME, group}, {VK_UP, group}, {VK_END, b}};
  for (const Case& c : cases) {
    list.SendMessage(WM_KEYDOWN, c.key);
    EXPECT_EQ(list.GetCurSel(), c.selected) << c.key;
  }
  list.SetCurSel(group);
  list.SendMessage(WM_KEYDOWN, VK_LEFT);
  EXPECT_FALSE(group->IsExpanded());
  EXPECT_TRUE(a->GetRect().IsRectEmpty());
  list.SendMessage(WM_KEYDOWN, VK_RIGHT);
  EXPECT_TRUE(group->IsExpanded());
}

TEST_F(PlxPropListWindow, TheDividerStopsShortOfBothEdges) {
  list.AddProperty(NewProp("A", Number(VT_I4, 1)));
  CRect client;
  list.GetClientRect(client);
  const int x = list.GetListRect().left + list.GetLeftColumnWidth();
  const int y = list.GetRowHeight() / 2;
  const int farRight = client.Width() - GetSystemMetrics(SM_CXHSCROLL) - 5;
  struct Case {
    int to;
    int width;
  };
  const Case cases[] = {{client.right + 50, farRight}, {-40, list.GetRowHeight()}, {100, 100}};
  for (const Case& c : cases) {
    const int from = list.GetListRect().left + list.GetLeftColumnWidth();
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, y));
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.to, y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.to, y));
    EXPECT_EQ(list.GetLeftColumnWidth(), c.width) << c.to;
  }
  (void)x;
  list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(list.GetLeftColumnWidth(), y));
  EXPECT_EQ(list.GetLeftColumnWidth(), client.Width() / 2);
}

TEST_F(PlxPropListWindow, AValueListSetsItsChildrenFromOneLine) {
  CPlxProp* size = new CPlxProp("Size", 0, TRUE);
  for (long n : {1, 2, 3}) size->AddSubItem(NewProp("n", Number(VT_I4, n)));
  list.AddProperty(size);
  ASSERT_TRUE(list.BeginEditItem(size, nullptr));
  EXPECT_STREQ(EditText(size), "1, 2, 3");
  size->GetEditWindow()->SetWindowText("7 ,8");
  ASSERT_TRUE(list.EndEditItem(TRUE));
  EXPECT_STREQ(size->FormatValue(), "7, 8, 3");
  ASSERT_EQ(owner.changes.size(), 1u);
}

TEST_F(PlxPropListWindow, ABooleanTogglesBySpaceAndDoubleClickNeverByTyping) {
  VARIANT on;
  VariantInit(&on);
  on.vt = VT_BOOL;
  on.boolVal = VARIANT_TRUE;
  CPlxProp* flag = NewProp("Flag", on);
  list.AddProperty(flag);
  list.SetCurSel(flag);
  list.SendMessage(WM_CHAR, ' ');
  EXPECT_STREQ(flag->FormatValue(), "False");
  list.SendMessage(WM_CHAR, 'x');
  EXPECT_STREQ(flag->FormatValue(), "False");
  ASSERT_TRUE(list.BeginEditItem(flag, nullptr));
  flag->OnValueDoubleClick(CPoint());
  EXPECT_STREQ(flag->FormatValue(), "True");
  EXPECT_EQ(owner.changes.size(), 2u);
  list.EndEditItem(TRUE);
  EXPECT_EQ(flag->GetOptionCount(), 0) << "True and False are options only while editing";
}

TEST_F(PlxPropListWindow, TheScrollPageIsTheRowsThatFitLessOne) {
  for (int i = 0; i < 20; ++i) list.AddProperty(NewProp("row", Number(VT_I4, i)));
  const int page = list.GetListRect().Height() / list.GetRowHeight() - 1;
  ASSERT_LT(page, 20);
  EXPECT_EQ(list.GetScrollPage(), page);
  EXPECT_EQ(list.GetScrollTotal(), 20);
  list.SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(list.GetFirstVisibleRow(), 20 - page + 1);
  list.SendMessage(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(list.GetFirstVisibleRow(), 20 - page);
  list.SendMessage(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(list.GetFirstVisibleRow(), 0);
}

TEST_F(PlxPropListWindow, AnEmptyListHasNoScrollBar) {
  EXPECT_EQ(list.GetScrollTotal(), 0);
  EXPECT_EQ(list.GetListRect().right, [&] {
    CRect c;
    list.GetClientRect(c);
    return c.right;
  }());
}

// ---- the look ----------------------------------------------------------------------------------

namespace {

std::string ReferencePath(const std::string& name) {
  return std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/tests/toolkit/core/images/" + name;
}

}  // namespace

// One small list in each manager: an expanded group with a selected row and its drop-down button,
// a disabled row, and a collapsed group.
TEST_F(PlxPropListWindow, LooksAsThePicturesUnderEachManager) {
  // The drop-down glyph loads from the program's resources beside the binaries.
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  CPlxMenuGlyphs::CleanUp();
  struct Case {
    const char* manager;
    CRuntimeClass* cls;
  };
  const Case cases[] = {{"classic", RUNTIME_CLASS(CPlxVisualManager)},
                        {"officexp", RUNTIME_CLASS(CPlxVisualManagerXP)},
                        {"winxp", RUNTIME_CLASS(CPlxWinXPVisualManager)}};
  CPlxProp* video = new CPlxProp("Video Options");
  CPlxProp* codec = NewProp("Video Codec", Text("libx264"));
  codec->Enable(FALSE);
  CPlxProp* rate = NewProp("Frame Rate", Text("25"));
  for (const char* option : {"24", "25", "30"}) rate->AddOption(option);
  video->AddSubItem(codec);
  video->AddSubItem(rate);
  CPlxProp* audio = new CPlxProp("Audio Options");
  audio->AddSubItem(NewProp("Channels", Text("2")));
  list.AddProperty(video);
  list.AddProperty(audio);
  audio->Expand(FALSE);
  list.SetFocus();
  list.SetCurSel(rate);
  ASSERT_NE(list.GetHeader()->GetSafeHwnd(), nullptr);
  EXPECT_FALSE(list.GetHeader()->IsWindowVisible());
  for (const Case& c : cases) {
    CPlxVisualManager::SetDefaultManager(c.cls);
    owner.RedrawWindow(nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pictavo::test::PumpPending();
    const std::string name = std::string("proplist-") + c.manager + ".png";
    const std::string path = pictavo::test::SnapshotPath(name);
    ASSERT_TRUE(pictavo::display::Headless()->SaveSnapshot(path, owner.GetSafeHwnd())) << c.manager;
    if (std::getenv("PICTAVO_UPDATE_PICTURES"))
      std::filesystem::copy_file(path, ReferencePath(name),
                                 std::filesystem::copy_options::overwrite_existing);
    pictavo::test::Picture shown, expected;
    ASSERT_TRUE(pictavo::test::ReadPng(path, &shown));
    ASSERT_TRUE(pictavo::test::ReadPng(ReferencePath(name), &expected)) << name;
    ASSERT_EQ(shown.width, expected.width);
    ASSERT_EQ(shown.height, expected.height);
    int differing = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x) differing += shown.At(x, y) != expected.At(x, y);
    EXPECT_EQ(differing, 0) << c.manager << ": compare " << path << " with " << ReferencePath(name);
  }
}
