// The toolbar's combo-box button: its size on either bar, its items and selection with and
// without a window, twins that follow a choice or typing, the commands the owner gets, the
// stored form (damaged ones too), whole texts read back and the flat look's keys.
#include "toolkit/bars/PlxToolbarComboBoxButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "tests/platform/base/TestSupport.h"
#include "tests/toolkit/bars/TwinBarsFrame.h"
#include "toolkit/bars/PlxToolbarControlText.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

using pictavo::test::TwinBarsFrame;
using testing_support::Bytes;
using testing_support::LoadObject;
using testing_support::StoreObject;

constexpr UINT kZoom = 32801;  // the twins' command

struct Item {
  const char* text;
  DWORD data;
};

std::unique_ptr<CPlxToolbarComboBoxButton> MakeCombo(const std::vector<Item>& items,
                                                     DWORD style = CBS_DROPDOWNLIST, UINT id = kZoom) {
  auto combo = std::make_unique<CPlxToolbarComboBoxButton>(id, -1, style);
  combo->m_bText = FALSE;
  for (const Item& item : items) combo->AddItem(item.text, item.data);
  return combo;
}

const std::vector<Item> kThree = {{"Beach", 7}, {"Mountains", 8}, {"City at night", 9}};

// The base button's part of the stored form.
Bytes StoreBase(CPlxToolbarButton& button) {
  return testing_support::Store([&](CArchive& ar) { button.CPlxToolbarButton::Serialize(ar); });
}

std::vector<std::string> ItemsOf(const CPlxToolbarComboBoxButton& combo) {
  std::vector<std::string> out;
  for (int i = 0; i < combo.GetCount(); ++i) out.emplace_back(combo.GetItem(i).GetString());
  return out;
}

std::vector<DWORD> DataOf(const CPlxToolbarComboBoxButton& combo) {
  std::vector<DWORD> out;
  for (int i = 0; i < combo.GetCount(); ++i) out.push_back(combo.GetItemData(i));
  return out;
}

CPlxToolbarComboBoxButton* ComboOn(CPlxToolBar& bar, int index = 0) {
  return dynamic_cast<CPlxToolbarComboBoxButton*>(bar.GetButton(index));
}

// The edit inside an editable combo box.
HWND InnerEdit(CPlxToolbarComboBoxButton* combo) {
  return ::GetWindow(combo->GetComboBox()->m_hWnd, GW_CHILD);
}

// Chooses an item as the user does: drop the list, move down to it, Enter.
void Choose(TwinBarsFrame& host, CPlxToolbarComboBoxButton* combo, int index) {
  CComboBox* box = combo->GetComboBox();
  box->SetFocus();
  box->ShowDropDown(TRUE);
  host.Key(box->m_hWnd, VK_HOME);
  for (int i = 0; i < index; ++i) host.Key(box->m_hWnd, VK_DOWN);
  host.Key(box->m_hWnd, VK_RETURN);
}

}  // namespace

// ---- size and placement ----

TEST(PlxToolbarComboBox, HorizontalBarShowsTheComboVerticalBarAnOrdinaryButton) {
  TwinBarsFrame host(CBRS_ALIGN_LEFT);
  auto labelled = MakeCombo(kThree);
  labelled->m_strText = "Zoom";
  labelled->m_bText = TRUE;
  host.top.InsertButton(*labelled);
  host.second.InsertButton(*labelled);
  CPlxToolbarButton plain(kZoom + 9, -1, "Zoom", FALSE, TRUE);
  plain.m_bText = TRUE;
  host.second.InsertButton(plain);
  host.Layout();

  CPlxToolbarComboBoxButton* across = ComboOn(host.top);
  ASSERT_NE(across->GetComboBox(), nullptr);
  EXPECT_EQ(across->m_rect.Width(), 150) << "a new button is 150 pixels wide";
  EXPECT_EQ(across->GetComboBox()->GetStyle() & 0x3, static_cast<DWORD>(CBS_DROPDOWNLIST));
  CRect dropped;
  across->GetComboBox()->GetDroppedControlRect(dropped);
  EXPECT_EQ(dropped.Height(), 150) << "list included";
  CRect window;
  across->GetComboBox()->GetWindowRect(window);
  EXPECT_LT(window.Height(), 30) << "the combo itself is a field, not the list's height";
  EXPECT_TRUE(across->IsWindowVisible());
  EXPECT_EQ(across->m_rectCombo.left, across->m_rect.left + 1);

  CPlxToolbarComboBoxButton* down = ComboOn(host.second);
  ASSERT_NE(down->GetComboBox(), nullptr);
  EXPECT_FALSE(down->IsWindowVisible()) << "hidden on a vertical bar";
  EXPECT_FALSE(down->m_bHorzLayout);
  EXPECT_EQ(down->m_rect.Size(), host.second.GetButton(1)->m_rect.Size()) << "sized as an ordinary button";
  EXPECT_GT(down->m_rect.Height(), 0);
  EXPECT_FALSE(down->OnClick(&host.second)) << "and clicked as one";
  EXPECT_TRUE(across->OnClick(&host.top)) << "the combo takes the click";
}

TEST(PlxToolbarComboBox, OwnsItsWindowsOnly) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.Layout();
  CPlxToolbarComboBoxButton* combo = ComboOn(host.top);
  EXPECT_TRUE(combo->IsOwnerOf(combo->GetComboBox()->m_hWnd));
  EXPECT_TRUE(combo->IsOwnerOf(InnerEdit(combo))) << "the combo's own edit";
  EXPECT_FALSE(combo->IsOwnerOf(host.top.m_hWnd));
  EXPECT_FALSE(combo->IsOwnerOf(host.frame.m_hWnd));
  EXPECT_FALSE(combo->IsOwnerOf(nullptr));
  combo->GetComboBox()->SetFocus();
  EXPECT_TRUE(combo->HasFocus());
  host.frame.SetFocus();
  EXPECT_FALSE(combo->HasFocus());
}

// ---- items and selection ----

struct SelectCase {
  int index;
  BOOL selected;  // SelectItem's answer
  int selection;  // m_iSelItem afterwards (it started at 1)
  const char* text;
};

TEST(PlxToolbarComboBox, SelectItemTakesOnlyIndicesOfTheItems) {
  const SelectCase cases[] = {
      {-1, FALSE, 1, "Mountains"}, {0, TRUE, 0, "Beach"},      {2, TRUE, 2, "City at night"},
      {3, FALSE, 1, "Mountains"},  {9, FALSE, 1, "Mountains"},
  };
  for (const BOOL windowed : {FALSE, TRUE}) {
    TwinBarsFrame host;
    host.top.InsertButton(*MakeCombo(kThree));
    host.Layout();
    auto loose = MakeCombo(kThree);
    CPlxToolbarComboBoxButton* combo = windowed ? ComboOn(host.top) : loose.get();
    for (const SelectCase& c : cases) {
      SCOPED_TRACE(std::string(windowed ? "on a bar, index " : "no window, index ") +
                   std::to_string(c.index));
      ASSERT_TRUE(combo->SelectItem(1, FALSE));
      EXPECT_EQ(combo->SelectItem(c.index, FALSE), c.selected);
      EXPECT_EQ(combo->GetCurSel(), c.selection);
      EXPECT_STREQ(combo->GetText(), c.text);
      if (windowed) {
        EXPECT_EQ(combo->GetComboBox()->GetCurSel(), c.selection);
        EXPECT_STREQ(PlxWindowText(combo->GetComboBox()->m_hWnd), c.text);
      }
    }
  }
}

// Items and data follow the button onto a bar; items put into a window by hand come back with
// it when it moves to another bar.
TEST(PlxToolbarComboBox, ItemsTravelBetweenTheListsAndTheWindow) {
  TwinBarsFrame host;
  auto model = MakeCombo(kThree);
  model->SelectItem(2, FALSE);
  host.top.InsertButton(*model);
  host.Layout();
  CPlxToolbarComboBoxButton* combo = ComboOn(host.top);
  CComboBox* box = combo->GetComboBox();
  ASSERT_EQ(box->GetCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(PlxComboItemText(box->m_hWnd, i), kThree[static_cast<size_t>(i)].text);
    EXPECT_EQ(box->GetItemData(i), kThree[static_cast<size_t>(i)].data);
  }
  EXPECT_EQ(box->GetCurSel(), 2);
  EXPECT_STREQ(PlxWindowText(box->m_hWnd), "City at night");

  const int added = box->AddString("Forest");
  box->SetItemData(added, 10);
  combo->OnChangeParentWnd(&host.second);
  ASSERT_NE(combo->GetComboBox(), nullptr);
  EXPECT_EQ(::GetParent(combo->GetComboBox()->m_hWnd), host.second.m_hWnd);
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Beach", "Mountains", "City at night", "Forest"}));
  EXPECT_EQ(DataOf(*combo), (std::vector<DWORD>{7, 8, 9, 10}));
  EXPECT_EQ(combo->GetComboBox()->GetCount(), 4);
  EXPECT_EQ(combo->GetComboBox()->GetCurSel(), 2);
  combo->OnChangeParentWnd(&host.top);  // back where the bar's list has it
}

// ---- twins ----

TEST(PlxToolbarComboBox, ChoosingInOneSelectsTheSameItemInItsTwinWithOneCommand) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree));
  host.second.InsertButton(*MakeCombo(kThree));
  host.Layout();
  CPlxToolbarComboBoxButton* one = ComboOn(host.top);
  CPlxToolbarComboBoxButton* twin = ComboOn(host.second);

  for (const int index : {2, 0, 1}) {
    SCOPED_TRACE(index);
    host.frame.commands.clear();
    Choose(host, one, index);
    EXPECT_EQ(one->GetCurSel(), index);
    EXPECT_EQ(twin->GetCurSel(), index);
    EXPECT_EQ(twin->GetComboBox()->GetCurSel(), index);
    EXPECT_STREQ(twin->GetText(), kThree[static_cast<size_t>(index)].text);
    EXPECT_STREQ(PlxWindowText(twin->GetComboBox()->m_hWnd), kThree[static_cast<size_t>(index)].text);
    EXPECT_EQ(host.frame.Count(kZoom, CBN_SELENDOK), 1) << "the twin posts no second command";
  }

  // SelectItem with notification brings the twin along, without a command.
  host.frame.commands.clear();
  EXPECT_TRUE(twin->SelectItem(2, TRUE));
  host.top.UpdateWindow();
  pictavo::test::PumpPending();
  EXPECT_EQ(one->GetCurSel(), 2);
  EXPECT_EQ(host.frame.Count(kZoom, CBN_SELENDOK), 0);
}

// A button that keeps its own selection.
class CStubbornCombo : public CPlxToolbarComboBoxButton {
  DECLARE_SERIAL(CStubbornCombo)

 public:
  BOOL CanSyncSelection() override { return FALSE; }
};
IMPLEMENT_SERIAL(CStubbornCombo, CPlxToolbarComboBoxButton, 1)

TEST(PlxToolbarComboBox, ATwinThatDoesNotSyncKeepsItsSelection) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree));
  CStubbornCombo stubborn;
  stubborn.CopyFrom(*MakeCombo(kThree));
  host.second.InsertButton(stubborn);
  host.Layout();
  Choose(host, ComboOn(host.top), 2);
  EXPECT_EQ(ComboOn(host.top)->GetCurSel(), 2);
  EXPECT_EQ(ComboOn(host.second)->GetCurSel(), -1);
}

TEST(PlxToolbarComboBox, TypingInOneEditableComboCopiesTheTextIntoItsTwin) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.second.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.top.InsertButton(*MakeCombo({}, CBS_DROPDOWN, kZoom + 1));  // another command: left alone
  host.Layout();
  CPlxToolbarComboBoxButton* one = ComboOn(host.top);
  CPlxToolbarComboBoxButton* twin = ComboOn(host.second);
  CPlxToolbarComboBoxButton* other = ComboOn(host.top, 1);

  ::SetFocus(InnerEdit(one));
  host.Type(InnerEdit(one), "Sea");
  EXPECT_STREQ(one->GetText(), "Sea");
  EXPECT_STREQ(twin->GetText(), "Sea");
  EXPECT_STREQ(PlxWindowText(twin->GetComboBox()->m_hWnd), "Sea");
  EXPECT_STREQ(PlxWindowText(other->GetComboBox()->m_hWnd), "");
  EXPECT_EQ(host.frame.Count(kZoom, CBN_EDITCHANGE), 3) << "one command a key, none from the twin";

  // And back the other way.
  host.frame.commands.clear();
  ::SetFocus(InnerEdit(twin));
  host.Key(InnerEdit(twin), VK_END);  // the focus selected the whole text
  host.Type(InnerEdit(twin), "!");
  EXPECT_STREQ(PlxWindowText(one->GetComboBox()->m_hWnd), "Sea!");
  EXPECT_EQ(host.frame.Count(kZoom, CBN_EDITCHANGE), 1);
}

// ---- notifications ----

struct NotifyCase {
  int code;
  BOOL posted;
};

TEST(PlxToolbarComboBox, NotificationsThatReachTheOwner) {
  const NotifyCase cases[] = {
      {CBN_SELCHANGE, TRUE},
      {CBN_KILLFOCUS, TRUE},
      {CBN_EDITCHANGE, TRUE},
      {CBN_EDITUPDATE, TRUE},
      {CBN_SELENDOK, TRUE},
      {CBN_SETFOCUS, FALSE},
      {CBN_DROPDOWN, FALSE},
      {CBN_CLOSEUP, FALSE},
      {CBN_DBLCLK, FALSE},
      {CBN_SELENDCANCEL, FALSE},
      {0, FALSE},
  };
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.Layout();
  CPlxToolbarComboBoxButton* combo = ComboOn(host.top);
  combo->SelectItem(1, FALSE);
  for (const NotifyCase& c : cases) EXPECT_EQ(combo->NotifyCommand(c.code), c.posted) << c.code;

  combo->GetComboBox()->SetCurSel(-1);
  EXPECT_FALSE(combo->NotifyCommand(CBN_SELENDOK)) << "no selection";
  auto windowless = MakeCombo(kThree);
  EXPECT_FALSE(windowless->NotifyCommand(CBN_SELCHANGE)) << "no window";

  // The bar posts what the button answers TRUE for, with the combo as the control.
  host.frame.commands.clear();
  host.top.SendMessage(WM_COMMAND, MAKEWPARAM(kZoom, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo->GetComboBox()->m_hWnd));
  host.top.SendMessage(WM_COMMAND, MAKEWPARAM(kZoom, CBN_DROPDOWN),
                       reinterpret_cast<LPARAM>(combo->GetComboBox()->m_hWnd));
  pictavo::test::PumpPending();
  EXPECT_EQ(host.frame.commands, (std::vector<std::pair<UINT, int>>{{kZoom, CBN_SELCHANGE}}));
}

// ---- whole texts ----

TEST(PlxToolbarComboBox, TextsAreReadWhole) {
  const std::string cases[] = {"",
                               "a",
                               "ab",
                               std::string(255, 'x'),
                               std::string(256, 'y'),
                               std::string(1000, 'z'),
                               "Zo\xC3\xAB's photos \xE2\x80\x94 2024"};
  // The platform's WM_GETTEXT leaves room for the terminator: a buffer of the text's length gets
  // one character less, which is why the buttons ask for length + 1.
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.second.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.Layout();
  CPlxToolbarComboBoxButton* one = ComboOn(host.top);
  CPlxToolbarComboBoxButton* twin = ComboOn(host.second);
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.size());
    ::SetWindowText(InnerEdit(one), text.c_str());  // as if typed: the edit reports a change
    pictavo::test::PumpPending();
    EXPECT_EQ(std::string(one->GetText()), text);
    EXPECT_EQ(std::string(twin->GetText()), text);
    EXPECT_EQ(std::string(PlxWindowText(twin->GetComboBox()->m_hWnd)), text);
    if (text.size() > 1) {
      std::string exact(text.size() + 1, '\0');
      EXPECT_EQ(::SendMessage(one->GetComboBox()->m_hWnd, WM_GETTEXT, text.size() + 1,
                              reinterpret_cast<LPARAM>(exact.data())),
                static_cast<LRESULT>(text.size()));
    }
  }
  // Items too: the selected item's whole text becomes the button's.
  CComboBox* box = one->GetComboBox();
  const std::string longItem(300, 'q');
  one->AddItem(longItem.c_str(), 4);
  ASSERT_TRUE(one->SelectItem(3, FALSE));
  EXPECT_EQ(std::string(one->GetText()), longItem);
  EXPECT_EQ(std::string(PlxComboItemText(box->m_hWnd, 3)), longItem);
  EXPECT_STREQ(PlxComboItemText(box->m_hWnd, 9), "") << "no such item";
}

// ---- stored form ----

struct ArchiveCase {
  const char* name;
  std::vector<Item> items;
  DWORD style;
  int select;         // -1: none
  const char* typed;  // an editable combo's own text
  BOOL windowed;      // stored from a button on a bar
};

TEST(PlxToolbarComboBox, StoredItemsDataSelectionAndTextComeBack) {
  const ArchiveCase cases[] = {
      {"three items, data 7 8 9", kThree, CBS_DROPDOWNLIST, 1, "", FALSE},
      {"three items from a window", kThree, CBS_DROPDOWNLIST, 2, "", TRUE},
      {"no items", {}, CBS_DROPDOWNLIST, -1, "", FALSE},
      {"no selection", kThree, CBS_DROPDOWNLIST, -1, "", TRUE},
      {"typed text that is no item", kThree, CBS_DROPDOWN, -1, "Desert", TRUE},
  };
  for (const ArchiveCase& c : cases) {
    SCOPED_TRACE(c.name);
    TwinBarsFrame host;
    auto model = MakeCombo(c.items, c.style);
    model->m_iWidth = 180;
    model->m_nDropDownHeight = 220;
    if (c.select >= 0) model->SelectItem(c.select, FALSE);
    CPlxToolbarComboBoxButton* source = model.get();
    if (c.windowed) {
      host.top.InsertButton(*model);
      host.Layout();
      source = ComboOn(host.top);
      if (*c.typed != '\0') {
        ::SetWindowText(InnerEdit(source), c.typed);
        pictavo::test::PumpPending();
      }
    }
    const Bytes bytes = StoreObject(*source);

    CPlxToolbarComboBoxButton copy;
    ASSERT_TRUE(LoadObject(copy, bytes));
    EXPECT_EQ(ItemsOf(copy), ItemsOf(*source));
    EXPECT_EQ(DataOf(copy), DataOf(*source));
    EXPECT_EQ(copy.GetCurSel(), c.select);
    EXPECT_EQ(copy.m_iWidth, 180);
    EXPECT_EQ(copy.m_nDropDownHeight, 220);
    EXPECT_EQ(copy.m_dwComboStyle, model->m_dwComboStyle);
    EXPECT_STREQ(copy.GetText(), *c.typed ? c.typed : c.select >= 0 ? c.items[c.select].text : "");

    // On a bar again (as a bar's stored state puts it there), the window shows it.
    auto* loaded = new CPlxToolbarComboBoxButton;
    ASSERT_TRUE(LoadObject(*loaded, bytes));
    host.second.InsertButtonObject(loaded);
    host.Layout();
    CPlxToolbarComboBoxButton* shown = ComboOn(host.second);
    EXPECT_EQ(shown->GetComboBox()->GetCount(), static_cast<int>(c.items.size()));
    EXPECT_EQ(shown->GetComboBox()->GetCurSel(), c.select);
    EXPECT_STREQ(PlxWindowText(shown->GetComboBox()->m_hWnd), copy.GetText());
  }
}

TEST(PlxToolbarComboBox, LoadingReplacesTheItemsItHad) {
  auto source = MakeCombo(kThree);
  const Bytes bytes = StoreObject(*source);
  auto target = MakeCombo({{"Old", 1}, {"Older", 2}});
  ASSERT_TRUE(LoadObject(*target, bytes));
  EXPECT_EQ(ItemsOf(*target), ItemsOf(*source)) << "not appended to the old ones";
  EXPECT_EQ(DataOf(*target), (std::vector<DWORD>{7, 8, 9}));
}

// Archive bytes after the base button: width, style, selection, text, list height, items.
TEST(PlxToolbarComboBox, ADamagedArchiveChangesNothingOrOnlyWhatIsSound) {
  auto source = MakeCombo(kThree);
  source->SelectItem(1, FALSE);
  const Bytes bytes = StoreObject(*source);
  const Bytes base = StoreBase(*source);

  // Cut anywhere after the base: an error, and the items as they were.
  for (size_t cut = base.size(); cut < bytes.size(); ++cut) {
    auto target = MakeCombo({{"Kept", 5}});
    const Bytes shorter(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_FALSE(LoadObject(*target, shorter)) << cut;
    EXPECT_EQ(ItemsOf(*target), std::vector<std::string>{"Kept"}) << cut;
    EXPECT_EQ(DataOf(*target), std::vector<DWORD>{5}) << cut;
  }

  // Values out of range: the defaults, no selection, a child window whatever the style says.
  struct Bad {
    const char* name;
    size_t offset;  // after the base
    DWORD value;
  };
  const Bad bads[] = {
      {"width 0", 0, 0},
      {"negative width", 0, 0xFFFFFFF6u},
      {"huge width", 0, 0x7FFFFFFFu},
      {"popup style", 4, WS_POPUP | WS_VISIBLE | CBS_DROPDOWNLIST},
      {"selection past the items", 8, 3},
      {"selection below -1", 8, 0xFFFFFFF0u},
  };
  for (const Bad& bad : bads) {
    SCOPED_TRACE(bad.name);
    Bytes damaged = bytes;
    std::memcpy(&damaged[base.size() + bad.offset], &bad.value, sizeof(DWORD));
    CPlxToolbarComboBoxButton target;
    ASSERT_TRUE(LoadObject(target, damaged));
    EXPECT_GT(target.m_iWidth, 0);
    EXPECT_LE(target.m_iWidth, 32767);
    EXPECT_GE(target.GetCurSel(), -1);
    EXPECT_LT(target.GetCurSel(), target.GetCount());
    TwinBarsFrame host;
    host.top.InsertButton(target);
    host.Layout();
    CPlxToolbarComboBoxButton* placed = ComboOn(host.top);
    ASSERT_NE(placed->GetComboBox(), nullptr);
    EXPECT_TRUE(placed->GetComboBox()->GetStyle() & WS_CHILD);
    EXPECT_EQ(::GetParent(placed->GetComboBox()->m_hWnd), host.top.m_hWnd);
  }
}

// ---- the flat look ----

class PlxToolbarComboFlat : public ::testing::Test {
 protected:
  void SetUp() override { CPlxToolbarComboBoxButton::SetFlatLook(TRUE); }
  void TearDown() override { CPlxToolbarComboBoxButton::SetFlatLook(FALSE); }
};

TEST_F(PlxToolbarComboFlat, TheInnerEditTakesEnterTabEscapeAndTheArrows) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN | WS_TABSTOP));
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN | WS_TABSTOP, kZoom + 1));
  host.Layout();
  CPlxToolbarComboBoxButton* combo = ComboOn(host.top);
  CPlxToolbarComboBoxButton* next = ComboOn(host.top, 1);
  ASSERT_NE(combo->GetEditCtrl(), nullptr);
  EXPECT_FALSE(combo->GetComboBox()->GetStyle() & WS_VISIBLE) << "the face is drawn, the combo hidden";
  const HWND edit = combo->GetEditCtrl()->m_hWnd;
  EXPECT_EQ(combo->GetHwnd(), edit);

  // Typing is the combo's typing.
  ::SetFocus(edit);
  EXPECT_TRUE(combo->m_bHotEdit) << "the focus makes the face hot";
  host.Type(edit, "Dunes");
  EXPECT_STREQ(combo->GetText(), "Dunes");

  // Enter with the list closed reports the text to the bar's owner.
  host.frame.commands.clear();
  host.Key(edit, VK_RETURN);
  EXPECT_EQ(host.frame.Count(kZoom, 0), 1);
  EXPECT_STREQ(combo->GetText(), "Dunes");

  // Down drops the list; then Down moves in it and Enter chooses.
  host.Key(edit, VK_DOWN);
  ASSERT_TRUE(combo->GetComboBox()->GetDroppedState());
  host.Key(edit, VK_DOWN);
  host.Key(edit, VK_RETURN);
  EXPECT_FALSE(combo->GetComboBox()->GetDroppedState());
  EXPECT_GE(combo->GetCurSel(), 0);
  EXPECT_STREQ(PlxWindowText(edit), combo->GetText()) << "the edit shows the chosen item";

  // Tab goes on to the next control of the bar; Escape closes the list and gives the focus back.
  ::SetFocus(edit);
  host.Key(edit, VK_TAB);
  EXPECT_EQ(::GetFocus(), next->GetEditCtrl()->m_hWnd);
  EXPECT_FALSE(combo->m_bHotEdit);
  ::SetFocus(edit);
  host.Key(edit, VK_DOWN);
  host.Key(edit, VK_ESCAPE);
  EXPECT_FALSE(combo->GetComboBox()->GetDroppedState());
  EXPECT_EQ(::GetFocus(), host.frame.m_hWnd);
}

// Flat twins' edits report every change they are given: the text goes across once and stops.
TEST_F(PlxToolbarComboFlat, TypingInOneFlatTwinCopiesTheTextOnceWithOneCommandAKey) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.second.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.Layout();
  CPlxToolbarComboBoxButton* one = ComboOn(host.top);
  CPlxToolbarComboBoxButton* twin = ComboOn(host.second);
  const HWND edit = one->GetEditCtrl()->m_hWnd;
  ::SetFocus(edit);
  host.Type(edit, "Lake");
  EXPECT_STREQ(twin->GetText(), "Lake");
  EXPECT_STREQ(PlxWindowText(twin->GetEditCtrl()->m_hWnd), "Lake");
  EXPECT_EQ(host.frame.Count(kZoom, EN_CHANGE), 4);
  EXPECT_EQ(host.frame.commands.size(), 4u) << "nothing from the twin";
}

// The list's height came later: data of an older workspace has none, data of this one always has
// it, also where the workspace has read no version yet.
TEST(PlxToolbarComboBox, TheListHeightIsReadOnlyFromDataThatHasIt) {
  struct Case {
    int major, minor;  // the workspace's saved version; -1: none read
    bool oldData;      // written before the height was stored
    int height;
  };
  const Case cases[] = {{-1, -1, false, 240}, {4, 7, true, 150}, {4, 8, false, 240}, {6, 40, false, 240}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
    CPlxWorkspace workspace;
    workspace.m_iSavedVersionMajor = c.major;
    workspace.m_iSavedVersionMinor = c.minor;
    auto source = MakeCombo(kThree);
    source->m_nDropDownHeight = 240;
    Bytes bytes = StoreObject(*source);
    if (c.oldData) {  // the four bytes after width, style, selection and the empty text go
      const auto at = static_cast<long>(StoreBase(*source).size() + 12 + 1);
      bytes.erase(bytes.begin() + at, bytes.begin() + at + 4);
    }
    CPlxToolbarComboBoxButton copy;
    ASSERT_TRUE(LoadObject(copy, bytes));
    EXPECT_EQ(copy.m_nDropDownHeight, c.height);
    EXPECT_EQ(ItemsOf(copy), ItemsOf(*source));
    EXPECT_EQ(DataOf(copy), (std::vector<DWORD>{7, 8, 9}));
  }
}

// ---- style and the customize page ----

TEST(PlxToolbarComboBox, DisablingTheButtonDisablesItsWindow) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree, CBS_DROPDOWN));
  host.Layout();
  CPlxToolbarComboBoxButton* combo = ComboOn(host.top);
  host.top.SetButtonStyle(0, TBBS_DISABLED);
  EXPECT_FALSE(combo->GetComboBox()->IsWindowEnabled());
  EXPECT_FALSE(::IsWindowEnabled(InnerEdit(combo)));
  host.top.SetButtonStyle(0, 0);
  EXPECT_TRUE(combo->GetComboBox()->IsWindowEnabled());

  // A disabled button placed on a bar starts with a disabled window.
  auto disabled = MakeCombo(kThree);
  disabled->m_nStyle = TBBS_DISABLED;
  host.second.InsertButton(*disabled);
  host.Layout();
  EXPECT_FALSE(ComboOn(host.second)->GetComboBox()->IsWindowEnabled());
}

TEST(PlxToolbarComboBox, TheCustomizePageShowsTheLiveItems) {
  TwinBarsFrame host;
  host.top.InsertButton(*MakeCombo(kThree));
  host.Layout();
  CComboBox* live = ComboOn(host.top)->GetComboBox();
  live->SetItemData(live->AddString("Typed in"), 11);
  ComboOn(host.top)->SelectItem(1, FALSE);

  auto listed = MakeCombo({{"Stale", 1}});
  listed->OnAddToCustomizePage();  // not on a bar: copies its live twin
  EXPECT_EQ(ItemsOf(*listed), (std::vector<std::string>{"Beach", "Mountains", "City at night", "Typed in"}))
      << "what the live window holds";
  EXPECT_EQ(DataOf(*listed), (std::vector<DWORD>{7, 8, 9, 11}));
  EXPECT_EQ(listed->GetCurSel(), 1);
  auto lonely = MakeCombo({{"Alone", 1}}, CBS_DROPDOWNLIST, kZoom + 7);
  lonely->OnAddToCustomizePage();
  EXPECT_EQ(ItemsOf(*lonely), std::vector<std::string>{"Alone"}) << "no live twin: unchanged";
}
