// The toolbar's edit-box button: its size and the edit's place, twins that show the same text,
// the commands the owner gets, SetContents, the stored form, whole texts and the keys.
#include "toolkit/bars/PlxToolbarEditBoxButton.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "tests/platform/base/TestSupport.h"
#include "tests/toolkit/bars/TwinBarsFrame.h"
#include "toolkit/bars/PlxToolbarControlText.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

using pictavo::test::TwinBarsFrame;
using testing_support::Bytes;
using testing_support::LoadObject;
using testing_support::StoreObject;

constexpr UINT kCaption = 32811;  // the twins' command

std::unique_ptr<CPlxToolbarEditBoxButton> MakeEdit(const char* text = "", UINT id = kCaption,
                                                   DWORD style = ES_AUTOHSCROLL) {
  auto edit = std::make_unique<CPlxToolbarEditBoxButton>(id, -1, style);
  edit->m_bText = FALSE;
  edit->SetContents(text);
  return edit;
}

CPlxToolbarEditBoxButton* EditOn(CPlxToolBar& bar, int index = 0) {
  return dynamic_cast<CPlxToolbarEditBoxButton*>(bar.GetButton(index));
}

HWND EditWnd(CPlxToolbarEditBoxButton* button) {
  return button->GetEditBox()->m_hWnd;
}

}  // namespace

TEST(PlxToolbarEditBox, TheEditIsTextHighAndCentredOnAHorizontalBarOnly) {
  TwinBarsFrame host(CBRS_ALIGN_LEFT);
  auto labelled = MakeEdit("Summer");
  labelled->m_strText = "Caption";
  labelled->m_bText = TRUE;
  host.top.InsertButton(*labelled);
  host.second.InsertButton(*labelled);
  CPlxToolbarButton plain(kCaption + 9, -1, "Caption", FALSE, TRUE);
  plain.m_bText = TRUE;
  host.second.InsertButton(plain);
  host.Layout();

  CPlxToolbarEditBoxButton* across = EditOn(host.top);
  ASSERT_NE(across->GetEditBox(), nullptr);
  EXPECT_EQ(across->m_rect.Width(), 150);
  CRect edit;
  across->GetEditBox()->GetWindowRect(edit);
  host.top.ScreenToClient(edit);
  EXPECT_EQ(edit.Height(), g_plxGlobalData.nTextHeightHorz);
  EXPECT_EQ(edit.left, across->m_rect.left + 3);
  EXPECT_EQ(edit.Width(), across->m_rect.Width() - 6);
  EXPECT_LE(std::abs((edit.top - across->m_rect.top) - (across->m_rect.bottom - edit.bottom)), 1)
      << "centred";
  EXPECT_STREQ(PlxWindowText(EditWnd(across)), "Summer");
  EXPECT_TRUE(across->OnClick(&host.top)) << "the edit takes the click";
  EXPECT_FALSE(across->HaveHotBorder());

  CPlxToolbarEditBoxButton* down = EditOn(host.second);
  EXPECT_FALSE(down->GetEditBox()->GetStyle() & WS_VISIBLE) << "hidden on a vertical bar";
  EXPECT_FALSE(down->OnClick(&host.second));
  EXPECT_TRUE(down->HaveHotBorder());
  EXPECT_EQ(down->m_rect.Size(), host.second.GetButton(1)->m_rect.Size()) << "sized as an ordinary button";
  EXPECT_GT(down->m_rect.Height(), 0);
}

TEST(PlxToolbarEditBox, TypingInOneShowsTheTextInItsTwinWithOneCommandAKey) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeEdit());
  host.second.InsertButton(*MakeEdit());
  host.top.InsertButton(*MakeEdit("", kCaption + 1));  // another command: left alone
  host.Layout();
  CPlxToolbarEditBoxButton* one = EditOn(host.top);
  CPlxToolbarEditBoxButton* twin = EditOn(host.second);
  CPlxToolbarEditBoxButton* other = EditOn(host.top, 1);

  ::SetFocus(EditWnd(one));
  host.Type(EditWnd(one), "Holiday");
  EXPECT_STREQ(one->GetContents(), "Holiday");
  EXPECT_STREQ(twin->GetContents(), "Holiday");
  EXPECT_STREQ(PlxWindowText(EditWnd(twin)), "Holiday");
  EXPECT_STREQ(PlxWindowText(EditWnd(other)), "");
  EXPECT_EQ(host.frame.Count(kCaption, EN_CHANGE), 7) << "one a key, none for the twin's change";
  EXPECT_EQ(host.frame.commands.size(), 7u);

  host.frame.commands.clear();
  ::SetFocus(EditWnd(twin));
  host.Key(EditWnd(twin), VK_END);
  host.Type(EditWnd(twin), "\b\b\b");
  EXPECT_STREQ(PlxWindowText(EditWnd(one)), "Holi");
  EXPECT_EQ(host.frame.Count(kCaption, EN_CHANGE), 3);
}

TEST(PlxToolbarEditBox, SetContentsWritesOnlyANewTextAndPostsNoCommand) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeEdit());
  host.second.InsertButton(*MakeEdit());
  host.Layout();
  CPlxToolbarEditBoxButton* one = EditOn(host.top);
  CPlxToolbarEditBoxButton* twin = EditOn(host.second);
  ::SetFocus(EditWnd(one));
  host.Type(EditWnd(one), "x");
  host.frame.commands.clear();

  // The same text: the window is not written (its modified mark stays).
  ASSERT_TRUE(::SendMessage(EditWnd(one), EM_GETMODIFY, 0, 0));
  one->SetContents("x");
  pictavo::test::PumpPending();
  EXPECT_TRUE(::SendMessage(EditWnd(one), EM_GETMODIFY, 0, 0));
  EXPECT_TRUE(host.frame.commands.empty());

  // A new text: shown here and in the twin, still no command.
  one->SetContents("Autumn");
  pictavo::test::PumpPending();
  EXPECT_STREQ(PlxWindowText(EditWnd(one)), "Autumn");
  EXPECT_STREQ(PlxWindowText(EditWnd(twin)), "Autumn");
  EXPECT_STREQ(twin->GetContents(), "Autumn");
  EXPECT_TRUE(host.frame.commands.empty());
}

struct EditNotifyCase {
  int code;
  BOOL posted;
};

TEST(PlxToolbarEditBox, OnlyAChangeIsACommand) {
  const EditNotifyCase cases[] = {{EN_CHANGE, TRUE},     {EN_UPDATE, FALSE},  {EN_SETFOCUS, FALSE},
                                  {EN_KILLFOCUS, FALSE}, {EN_MAXTEXT, FALSE}, {0, FALSE}};
  TwinBarsFrame host;
  host.top.InsertButton(*MakeEdit("a"));
  host.Layout();
  for (const EditNotifyCase& c : cases)
    EXPECT_EQ(EditOn(host.top)->NotifyCommand(c.code), c.posted) << c.code;
  EXPECT_FALSE(MakeEdit("a")->NotifyCommand(EN_CHANGE));
}

TEST(PlxToolbarEditBox, TextsAreReadWhole) {
  const std::string cases[] = {"",
                               "a",
                               "ab",
                               std::string(255, 'x'),
                               std::string(256, 'y'),
                               std::string(2000, 'z'),
                               "Zo\xC3\xAB's photos \xE2\x80\x94 2024"};
  TwinBarsFrame host;
  host.top.InsertButton(*MakeEdit());
  host.second.InsertButton(*MakeEdit());
  host.Layout();
  CPlxToolbarEditBoxButton* one = EditOn(host.top);
  CPlxToolbarEditBoxButton* twin = EditOn(host.second);
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.size());
    ::SetWindowText(EditWnd(one), text.c_str());
    pictavo::test::PumpPending();
    EXPECT_EQ(std::string(one->GetContents()), text);
    EXPECT_EQ(std::string(twin->GetContents()), text);
    EXPECT_EQ(std::string(PlxWindowText(EditWnd(twin))), text);
    const Bytes bytes = StoreObject(*one);
    CPlxToolbarEditBoxButton copy;
    ASSERT_TRUE(LoadObject(copy, bytes));
    EXPECT_EQ(std::string(copy.GetContents()), text);
  }
}

TEST(PlxToolbarEditBox, StoredWidthStyleAndTextComeBack) {
  TwinBarsFrame host;
  auto model = MakeEdit("Spring", kCaption, ES_AUTOHSCROLL | ES_UPPERCASE);
  model->m_iWidth = 210;
  host.top.InsertButton(*model);
  host.Layout();
  const Bytes bytes = StoreObject(*EditOn(host.top));
  CPlxToolbarEditBoxButton copy;
  ASSERT_TRUE(LoadObject(copy, bytes));
  EXPECT_EQ(copy.m_iWidth, 210);
  EXPECT_EQ(copy.m_dwEditStyle, model->m_dwEditStyle);
  EXPECT_STREQ(copy.GetContents(), "Spring");
  host.second.InsertButton(copy);
  host.Layout();
  EXPECT_STREQ(PlxWindowText(EditWnd(EditOn(host.second))), "Spring");
  EXPECT_EQ(EditOn(host.second)->m_rect.Width(), 210);

  // A button without a window stores no text, and keeps its own.
  auto windowless = MakeEdit("Winter");
  CPlxToolbarEditBoxButton read;
  ASSERT_TRUE(LoadObject(read, StoreObject(*windowless)));
  EXPECT_STREQ(read.GetContents(), "");
  EXPECT_STREQ(windowless->GetContents(), "Winter");

  // Damaged: cut short, an error and nothing taken; a popup style still makes a child.
  const Bytes base = [&] {
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      copy.CPlxToolbarButton::Serialize(ar);
      ar.Close();
    }
    const UINT size = static_cast<UINT>(file.GetLength());
    BYTE* data = file.Detach();
    Bytes out(data, data + size);
    free(data);
    return out;
  }();
  for (size_t cut = base.size(); cut < bytes.size(); ++cut) {
    auto target = MakeEdit("Kept");
    EXPECT_FALSE(LoadObject(*target, Bytes(bytes.begin(), bytes.begin() + static_cast<long>(cut)))) << cut;
    EXPECT_STREQ(target->GetContents(), "Kept") << cut;
  }
  Bytes damaged = bytes;
  const DWORD popup = WS_POPUP | WS_VISIBLE;
  const DWORD zero = 0;
  std::memcpy(&damaged[base.size()], &zero, sizeof(DWORD));
  std::memcpy(&damaged[base.size() + 4], &popup, sizeof(DWORD));
  CPlxToolbarEditBoxButton odd;
  ASSERT_TRUE(LoadObject(odd, damaged));
  EXPECT_EQ(odd.m_iWidth, 150) << "width 0 is the default";
  TwinBarsFrame other;
  other.top.InsertButton(odd);
  other.Layout();
  EXPECT_EQ(::GetParent(EditWnd(EditOn(other.top))), other.top.m_hWnd);
}

TEST(PlxToolbarEditBox, MovingToAnotherBarKeepsTheText) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeEdit());
  host.Layout();
  CPlxToolbarEditBoxButton* button = EditOn(host.top);
  ::SetWindowText(EditWnd(button), "Typed here");
  button->OnChangeParentWnd(&host.second);
  EXPECT_EQ(::GetParent(EditWnd(button)), host.second.m_hWnd);
  EXPECT_STREQ(PlxWindowText(EditWnd(button)), "Typed here");
  button->OnChangeParentWnd(&host.top);
}

TEST(PlxToolbarEditBox, TabGoesOnEscapeGoesBackEnterIsJustAKey) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeEdit("one", kCaption, ES_AUTOHSCROLL | WS_TABSTOP));
  host.top.InsertButton(*MakeEdit("two", kCaption + 1, ES_AUTOHSCROLL | WS_TABSTOP));
  host.Layout();
  const HWND first = EditWnd(EditOn(host.top, 0));
  const HWND second = EditWnd(EditOn(host.top, 1));

  struct Step {
    HWND from;
    UINT key;
    HWND focus;  // null: the frame
  };
  const Step steps[] = {
      {first, VK_TAB, second},     {second, VK_TAB, first},  // round the bar
      {first, VK_ESCAPE, nullptr}, {second, VK_ESCAPE, nullptr}, {first, VK_RETURN, first},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.key);
    ::SetFocus(s.from);
    EXPECT_TRUE(EditOn(host.top, s.from == first ? 0 : 1)->m_bHotEdit) << "the focus makes the border hot";
    host.frame.commands.clear();
    host.Key(s.from, s.key);
    EXPECT_EQ(::GetFocus(), s.focus != nullptr ? s.focus : host.frame.m_hWnd);
    EXPECT_TRUE(host.frame.commands.empty()) << "no command for a key that changes no text";
  }
  EXPECT_STREQ(PlxWindowText(first), "one") << "Enter typed nothing into a single line";

  // Alone on its bar, Tab has nowhere to go and leaves the focus where it is.
  TwinBarsFrame lone;
  lone.top.InsertButton(*MakeEdit("only", kCaption, ES_AUTOHSCROLL));
  lone.Layout();
  const HWND only = EditWnd(EditOn(lone.top));
  ::SetFocus(only);
  lone.Key(only, VK_TAB);
  EXPECT_EQ(::GetFocus(), only);
}
