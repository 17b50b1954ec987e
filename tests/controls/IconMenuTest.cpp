#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "controls/IconMenu.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Metrics.h"
#include "platform/user/User.h"
#include "tests/support/Canvas.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"

namespace {

using pictavo::test::Canvas;

constexpr UINT kTestMenu = 64100;     // File and Organize popups with the main menu's commands
constexpr UINT kTestToolbar = 64101;  // images for eight of them
constexpr UINT kNestedMenu = 62001;   // View ends with a popup; Tools starts with a separator
constexpr UINT kNew = 57600, kOpen = 57601, kSave = 57603, kSaveAs = 57604, kExit = 32791;
constexpr UINT kAddPhotos = 32789, kRemovePhotos = 32853, kPreview = 32852, kScaleFit = 33997;

CIconMenu* Popup(CIconMenu& menu, int position) {
  return static_cast<CIconMenu*>(menu.GetSubMenu(position));
}

std::wstring TextOf(const CIconMenuItem* item) {
  return item != nullptr && item->text != nullptr ? item->text : L"<none>";
}

class IconMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
};

TEST_F(IconMenuTest, LoadingMakesPopupItemsOwnerDrawnAndKeepsTheBarPlain) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  ASSERT_EQ(menu.GetMenuItemCount(), 2u);
  for (UINT bar = 0; bar < 2; ++bar) {
    EXPECT_EQ(menu.GetMenuState(bar, MF_BYPOSITION) & MF_OWNERDRAW, 0u) << bar;
    EXPECT_TRUE(CIconMenu::IsOwnMenuHandle(::GetSubMenu(menu, static_cast<int>(bar)))) << bar;
  }
  CString barText;
  menu.GetMenuString(1, barText, MF_BYPOSITION);
  EXPECT_STREQ(barText, "Or&ganize");
  EXPECT_FALSE(CIconMenu::IsOwnMenuHandle(menu));

  CIconMenu* file = Popup(menu, 0);
  ASSERT_TRUE(file->IsKindOf(RUNTIME_CLASS(CIconMenu)));
  ASSERT_EQ(file->GetMenuItemCount(), 8u);
  for (UINT pos = 0; pos < 8; ++pos)
    EXPECT_NE(file->GetMenuState(pos, MF_BYPOSITION) & MF_OWNERDRAW, 0u) << pos;
  EXPECT_NE(file->GetMenuState(kSave, MF_BYCOMMAND) & MF_GRAYED, 0u);  // the template's state is kept
  EXPECT_NE(file->GetRecord(4)->flags & MF_SEPARATOR, 0u);
  EXPECT_EQ(TextOf(file->GetRecord(7)), L"&Exit");
  CIconMenu* recent = Popup(*file, 5);
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(recent->GetMenuItemCount(), 3u);
  EXPECT_EQ(TextOf(file->GetRecord(5)), L"Recent Files");

  menu.DestroyMenu();
  EXPECT_FALSE(CIconMenu::IsOwnMenuHandle(reinterpret_cast<HMENU>(recent)));
  EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
}

TEST_F(IconMenuTest, APopupEndingItsLevelClosesTheLevelAfterItsOwnItems) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kNestedMenu));
  ASSERT_EQ(menu.GetMenuItemCount(), 3u);  // File, View, Tools
  CIconMenu* view = Popup(menu, 1);
  ASSERT_EQ(view->GetMenuItemCount(), 2u);
  EXPECT_EQ(Popup(*view, 1)->GetMenuItemCount(), 2u);  // Language: Auto Selected, separator
  CIconMenu* tools = Popup(menu, 2);
  ASSERT_EQ(tools->GetMenuItemCount(), 2u);
  EXPECT_EQ(TextOf(tools->GetRecord(1)), L"Sound &Recorder");
}

TEST_F(IconMenuTest, MissingResourcesAreRefused) {
  CIconMenu menu;
  EXPECT_FALSE(menu.LoadMenu(64199));
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  EXPECT_FALSE(menu.LoadToolbar(64199));
}

TEST_F(IconMenuTest, ShortcutsStartInOneColumn) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  CIconMenu* file = Popup(menu, 0);
  // Labels of items with a shortcut are padded to one width; the others keep their text.
  HDC dc = GetDC(nullptr);
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirect(&metrics.lfMenuFont);
  HGDIOBJ old = SelectObject(dc, font);
  auto labelWidth = [&](const std::wstring& text) {
    const std::wstring label = text.substr(0, text.find(L'\t'));
    SIZE size{};
    GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
    return size.cx;
  };
  // Padded with spaces up to the widest label and a space: within one space of each other.
  int widest = 0;
  for (const wchar_t* label :
       {L"&New Project ", L"&Open ", L"&Save ", L"Save &As... ", L"Recent Files ", L"&Exit "})
    widest = std::max(widest, labelWidth(label));
  const int space = labelWidth(L" ");
  for (int pos : {0, 1, 2}) {
    EXPECT_GE(labelWidth(TextOf(file->GetRecord(pos))), widest) << pos;
    EXPECT_LT(labelWidth(TextOf(file->GetRecord(pos))), widest + space) << pos;
  }
  EXPECT_EQ(TextOf(file->GetRecord(3)), L"Save &As...");
  EXPECT_NE(TextOf(file->GetRecord(0)).find(L"\t\tCtrl+N"), std::wstring::npos);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
}

TEST_F(IconMenuTest, ToolbarImagesGoToEveryItemOfTheirCommandAndAreReplacedInPlace) {
  // Two popups holding the same command.
  CIconMenu menu;
  menu.SetBitmapBackground(RGB(255, 255, 255));
  ASSERT_TRUE(menu.CreateMenu());
  auto* first = new CIconMenu;
  auto* second = new CIconMenu;
  ASSERT_TRUE(first->CreatePopupMenu());
  ASSERT_TRUE(second->CreatePopupMenu());
  ASSERT_TRUE(first->AppendItem(L"&Open", MF_STRING, kOpen, -1));
  ASSERT_TRUE(second->AppendItem(L"Open &again", MF_STRING, kOpen, -1));
  ASSERT_TRUE(second->AppendItem(L"No image here", MF_STRING, 41000, -1));
  ASSERT_TRUE(menu.AppendItem(L"One", MF_POPUP, reinterpret_cast<UINT_PTR>(first->m_hMenu), -1));
  ASSERT_TRUE(menu.AppendItem(L"Two", MF_POPUP, reinterpret_cast<UINT_PTR>(second->m_hMenu), -1));

  ASSERT_TRUE(menu.LoadToolbar(kTestToolbar));
  const int slot = first->GetRecord(0)->globalImageIndex;
  ASSERT_GE(slot, 0);
  EXPECT_EQ(second->GetRecord(0)->globalImageIndex, slot);
  EXPECT_EQ(second->GetRecord(1)->globalImageIndex, -1);
  EXPECT_EQ(CIconMenu::GetGlobalImageCommand(slot), kOpen);
  EXPECT_TRUE(CIconMenu::HasImageVariants(slot));  // base, faded, shadow, grey
  EXPECT_EQ(CIconMenu::GetGlobalImageCommand(slot + 3), kOpen);

  const int count = CIconMenu::GetGlobalImageCount();
  ASSERT_TRUE(menu.LoadToolbar(kTestToolbar));
  EXPECT_EQ(CIconMenu::GetGlobalImageCount(), count);
  EXPECT_EQ(first->GetRecord(0)->globalImageIndex, slot);
  EXPECT_EQ(CIconMenu::GetGlobalImages()->GetImageCount(), count);

  // A menu appending the command later finds its image in the class list.
  CIconMenu later;
  ASSERT_TRUE(later.CreatePopupMenu());
  ASSERT_TRUE(later.AppendItem(L"&Open", MF_STRING, kOpen, -1));
  EXPECT_EQ(later.GetRecord(0)->globalImageIndex, slot);
}

TEST_F(IconMenuTest, TypedMnemonicsFindTheirItem) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  CIconMenu* file = Popup(menu, 0);
  struct Case {
    UINT character;
    UINT flags;
    LRESULT result;
  };
  const Case cases[] = {
      {'o', MF_POPUP, MAKELRESULT(1, MNC_EXECUTE)},
      {'O', MF_POPUP, MAKELRESULT(1, MNC_EXECUTE)},  // upper case finds the lower-case mnemonic
      {'a', MF_POPUP, MAKELRESULT(3, MNC_EXECUTE)},
      {'e', MF_POPUP, MAKELRESULT(7, MNC_EXECUTE)},
      {'q', MF_POPUP, 0},
      {'o', MF_SYSMENU, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CIconMenu::FindKeyboardShortcut(c.character, c.flags, file), c.result)
        << static_cast<char>(c.character);
  EXPECT_EQ(CIconMenu::FindKeyboardShortcut('o', MF_POPUP, nullptr), 0);
}

TEST_F(IconMenuTest, OpeningAPopupTakesInItemsTheCommandUpdateChanged) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  CIconMenu* organize = Popup(menu, 1);
  CIconMenuItem* preview = organize->GetRecord(5);
  // What Create-items and language lists do: plain items inserted and removed at run time.
  ASSERT_TRUE(organize->InsertMenu(1, MF_BYPOSITION | MF_STRING, 41001, "Create &Web Album"));
  ASSERT_TRUE(organize->DeleteMenu(kRemovePhotos, MF_BYCOMMAND));
  organize->EnableMenuItem(kAddPhotos, MF_GRAYED);
  CIconMenu::UpdateMenu(organize);

  ASSERT_EQ(organize->GetRecordCount(), static_cast<int>(organize->GetMenuItemCount()));
  EXPECT_EQ(TextOf(organize->GetRecord(1)), L"Create &Web Album");
  EXPECT_NE(organize->GetMenuState(41001, MF_BYCOMMAND) & MF_OWNERDRAW, 0u);
  EXPECT_NE(organize->GetMenuState(kAddPhotos, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(organize->GetRecord(5), preview);  // records are re-used, not re-made
  EXPECT_NE(TextOf(preview).find(L"Pre&view"), std::wstring::npos);
  EXPECT_EQ(CIconMenu::FindKeyboardShortcut('w', MF_POPUP, organize), MAKELRESULT(1, MNC_EXECUTE));
}

TEST_F(IconMenuTest, TextsAreReadAndChangedByCommandOrPosition) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  EXPECT_TRUE(menu.SetMenuText(kExit, "&Quit", MF_BYCOMMAND));
  CString text;
  EXPECT_TRUE(menu.GetMenuText(kExit, text, MF_BYCOMMAND));
  EXPECT_STREQ(text, "&Quit");
  EXPECT_TRUE(Popup(menu, 0)->GetMenuText(3, text, MF_BYPOSITION));
  EXPECT_STREQ(text, "Save &As...");
  EXPECT_FALSE(menu.GetMenuText(99, text, MF_BYPOSITION));
  EXPECT_FALSE(menu.SetMenuText(41999, "x", MF_BYCOMMAND));
  // A menu-bar item shows a new text at once.
  EXPECT_TRUE(menu.SetMenuText(0, "&Datei", MF_BYPOSITION));
  menu.GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Datei");
}

TEST_F(IconMenuTest, ItemsAreMeasuredForTheirTextAndIconColumn) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  CIconMenu* file = Popup(menu, 0);
  MEASUREITEMSTRUCT separator{};
  separator.itemData = reinterpret_cast<ULONG_PTR>(file->GetRecord(4));
  file->MeasureItem(&separator);
  EXPECT_EQ(separator.itemWidth, 0u);
  EXPECT_EQ(separator.itemHeight, 3u);

  MEASUREITEMSTRUCT exit{};
  exit.itemData = reinterpret_cast<ULONG_PTR>(file->GetRecord(7));
  file->MeasureItem(&exit);
  HDC dc = GetDC(nullptr);
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirect(&metrics.lfMenuFont);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, L"&Exit", 5, &size);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(exit.itemWidth, static_cast<UINT>(size.cx + 31));
  EXPECT_EQ(exit.itemHeight, static_cast<UINT>(std::max(GetSystemMetrics(SM_CYMENU), 22)));
}

TEST(IconMenuColors, LightenAndDarkenOnlyForFactorsUpToOne) {
  struct Case {
    COLORREF c;
    double f;
    COLORREF lighter, darker;
  };
  const Case cases[] = {
      {RGB(0, 100, 255), 0.5, RGB(127, 177, 255), RGB(0, 50, 127)},
      {RGB(10, 20, 30), 1.0, RGB(255, 255, 255), RGB(0, 0, 0)},
      {RGB(10, 20, 30), 0.0, RGB(10, 20, 30), RGB(10, 20, 30)},
      {RGB(10, 20, 30), 1.5, RGB(10, 20, 30), RGB(10, 20, 30)},
      {RGB(10, 20, 30), -0.2, RGB(10, 20, 30), RGB(10, 20, 30)},
      {RGB(200, 200, 200), 0.02, RGB(201, 201, 201), RGB(196, 196, 196)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LightenColor(c.c, c.f), c.lighter) << c.f;
    EXPECT_EQ(DarkenColor(c.c, c.f), c.darker) << c.f;
  }
}

// ---- painting one item into a canvas

class IconMenuPaintTest : public IconMenuTest {
 protected:
  void SetUp() override {
    m_menu.SetBitmapBackground(RGB(255, 255, 255));  // as the main window does
    ASSERT_TRUE(m_menu.LoadMenu(kTestMenu));
    ASSERT_TRUE(m_menu.LoadToolbar(kTestToolbar));
  }
  // Draws item `pos` of popup `popup` into a fresh canvas of `height` with the given state.
  void Draw(Canvas& canvas, int popup, int pos, UINT state, bool classic = false) {
    CIconMenu* menu = Popup(m_menu, popup);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = menu->GetMenuItemID(pos);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu->m_hMenu);
    dis.hDC = canvas.Dc();
    dis.rcItem = RECT{0, 0, canvas.Width(), canvas.Height()};
    dis.itemData = reinterpret_cast<ULONG_PTR>(menu->GetRecord(pos));
    if (classic)
      menu->DrawItemClassic(&dis);
    else
      menu->DrawItem(&dis);
  }
  CIconMenu m_menu;
};

TEST_F(IconMenuPaintTest, AGrayedItemLooksTheSameUnderTheMouseInTheFlatLook) {
  Canvas plain(180, 22), hovered(180, 22);
  Draw(plain, 0, 2, ODS_GRAYED);
  Draw(hovered, 0, 2, ODS_GRAYED | ODS_SELECTED);
  EXPECT_EQ(plain.Pixels(), hovered.Pixels());
  // ... and with the selection colour in the classic look.
  Canvas classic(180, 22);
  Draw(classic, 0, 2, ODS_GRAYED | ODS_SELECTED, /*classic*/ true);
  EXPECT_EQ(classic.At(100, 11), static_cast<COLORREF>(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST_F(IconMenuPaintTest, ACheckedItemWithAnImageSitsOnATintedSquare) {
  Canvas canvas(180, 22);
  Draw(canvas, 1, 5, ODS_CHECKED);  // Album Preview has an image
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(canvas.At(1, 1), highlight);                      // the square's frame
  EXPECT_EQ(canvas.At(2, 2), LightenColor(highlight, 0.85));  // and its tint
  EXPECT_EQ(canvas.At(20, 12), highlight);
}

TEST_F(IconMenuPaintTest, RadioItemsShowADotChecksAMark) {
  CIconMenu* organize = Popup(m_menu, 1);
  Canvas check(180, 22), radio(180, 22);
  Draw(check, 1, 7, ODS_CHECKED);
  MENUITEMINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(organize->GetMenuItemInfo(kScaleFit, &info));
  info.fType |= MFT_RADIOCHECK;
  ASSERT_TRUE(organize->SetMenuItemInfo(kScaleFit, &info));
  Draw(radio, 1, 7, ODS_CHECKED);
  // The 6 x 6 dot is centred in the box (1, 1)-(21, 21); the tick starts lower at the left.
  EXPECT_EQ(radio.At(10, 10), static_cast<COLORREF>(GetSysColor(COLOR_MENUTEXT)));
  EXPECT_NE(check.Pixels(), radio.Pixels());
}

TEST_F(IconMenuPaintTest, TheImageSitsInTheMiddleOfTheIconColumn) {
  // Top of the image: (height - 14) / 2, never above the item.
  struct Case {
    int height, top;
  };
  const Case cases[] = {{22, 4}, {23, 4}, {26, 6}, {15, 0}, {12, 0}};
  for (const auto& c : cases) {
    Canvas canvas(180, c.height);
    Draw(canvas, 1, 0, 0);  // Add Photos: its picture's frame runs along the image's row 2
    int firstInk = -1;
    const COLORREF column = LightenColor(GetSysColor(COLOR_BTNFACE), 0.25);
    for (int y = 0; y < c.height && firstInk < 0; ++y)
      for (int x = 4; x < 20; ++x)
        if (canvas.At(x, y) != column) {
          firstInk = y;
          break;
        }
    EXPECT_EQ(firstInk, c.top + 2) << c.height;
  }
}

// ---- an open popup on the desktop, in both looks

// Owner of the tracked popups: forwards the item messages as the main window does and takes a
// snapshot once the menu waits with its selection made.
class MenuOwner : public CWnd {
 public:
  CIconMenu* menu = nullptr;
  bool classic = false;
  int downPresses = 0;
  UINT typeKey = 0;  // typed once the menu waits
  std::string snapshot;
  bool saved = false;

 protected:
  afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMIS) {
    if (lpMIS->CtlType == ODT_MENU && menu != nullptr) menu->MeasureItem(lpMIS);
  }
  afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT lpDIS) {
    auto* popup = static_cast<CIconMenu*>(CMenu::FromHandle(reinterpret_cast<HMENU>(lpDIS->hwndItem)));
    if (classic)
      popup->DrawItemClassic(lpDIS);
    else
      popup->DrawItem(lpDIS);
  }
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (!bSysMenu && CIconMenu::IsOwnMenu(pPopupMenu))
      CIconMenu::UpdateMenu(static_cast<CIconMenu*>(pPopupMenu));
  }
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
    if (CIconMenu::IsOwnMenu(pMenu))
      return CIconMenu::FindKeyboardShortcut(nChar, nFlags, static_cast<CIconMenu*>(pMenu));
    return CWnd::OnMenuChar(nChar, nFlags, pMenu);
  }
  afx_msg void OnEnterIdle(UINT, CWnd*) {
    if (typeKey != 0) {
      const UINT key = typeKey;
      typeKey = 0;
      pictavo::user::InjectKey({key, true});
      pictavo::user::InjectKey({key, false});
      return;
    }
    if (downPresses > 0) {
      --downPresses;
      pictavo::user::InjectKey({VK_DOWN, true});
      pictavo::user::InjectKey({VK_DOWN, false});
      return;
    }
    if (!snapshot.empty() && !saved) {
      saved = pictavo::display::Headless()->SaveSnapshot(snapshot, ::FindWindow("#32768", nullptr));
      ::EndMenu();
    }
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MenuOwner, CWnd)
ON_WM_MEASUREITEM()
ON_WM_DRAWITEM()
ON_WM_INITMENUPOPUP()
ON_WM_MENUCHAR()
ON_WM_ENTERIDLE()
END_MESSAGE_MAP()

TEST_F(IconMenuTest, SnapshotsOfOpenMenusInBothLooks) {
  CIconMenu menu;
  menu.SetBitmapBackground(RGB(255, 255, 255));
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  ASSERT_TRUE(menu.LoadToolbar(kTestToolbar));
  MenuOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                             nullptr, nullptr));
  owner.SetForegroundWindow();
  owner.menu = &menu;

  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  const std::filesystem::path folder = std::filesystem::path(bin ? bin : ".") / "test-output";
  std::filesystem::create_directories(folder);
  struct Case {
    int popup;
    int downPresses;  // selects item downPresses - 1, separators skipped
    bool classic;
    const char* file;
  };
  const Case cases[] = {
      {0, 2, false, "icon-menu-file-flat.png"},
      {1, 4, false, "icon-menu-organize-flat.png"},
      {0, 2, true, "icon-menu-file-classic.png"},
      {1, 4, true, "icon-menu-organize-classic.png"},
  };
  for (const auto& c : cases) {
    owner.classic = c.classic;
    owner.downPresses = c.downPresses;
    owner.snapshot = (folder / c.file).string();
    owner.saved = false;
    CMenu* popup = menu.GetSubMenu(c.popup);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 20, 20, &owner);
    ASSERT_TRUE(owner.saved) << c.file;

    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(owner.snapshot, &picture)) << c.file;
    EXPECT_GT(picture.width, 150) << c.file;
    EXPECT_GT(picture.height, 120) << c.file;
  }
  owner.DestroyWindow();
}

TEST_F(IconMenuTest, TypingAMnemonicInAnOpenMenuChoosesItsItem) {
  CIconMenu menu;
  ASSERT_TRUE(menu.LoadMenu(kTestMenu));
  MenuOwner owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                             nullptr, nullptr));
  owner.SetForegroundWindow();
  owner.menu = &menu;
  struct Case {
    int popup;
    UINT key, command;
  };
  const Case cases[] = {{0, 'O', kOpen}, {0, 'A', kSaveAs}, {1, 'V', kPreview}};
  for (const auto& c : cases) {
    owner.typeKey = c.key;
    const BOOL chosen = menu.GetSubMenu(c.popup)->TrackPopupMenu(TPM_RETURNCMD, 20, 20, &owner);
    EXPECT_EQ(static_cast<UINT>(chosen), c.command) << static_cast<char>(c.key);
  }
  owner.DestroyWindow();
}

}  // namespace

namespace {

// A 16 x 15 bitmap on the button face with three marked pixels, run through a filter.
struct FilterCase {
  const char* what;
  std::function<void(CBitmap&)> filter;
  COLORREF ground;  // what the bitmap is filled with
  COLORREF ink;     // the marked pixels
  COLORREF groundAfter, inkAfter;
};

TEST(IconMenuImages, FiltersChangeTheImageAndKeepOrSetTheBackground) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const FilterCase cases[] = {
      {"faded", [](CBitmap& b) { CIconMenu::FadeBitmap(b); }, face, RGB(0, 100, 200), face,
       RGB(76, 146, 216)},
      {"shadow", [](CBitmap& b) { CIconMenu::ShadowBitmap(b); }, face, RGB(0, 100, 200), face,
       IsThemedXP() ? shadow : LightenColor(shadow, 0.49)},
      {"grey on a given colour", [](CBitmap& b) { CIconMenu::GreyBitmap(b, RGB(1, 2, 3)); }, face,
       RGB(30, 60, 90), RGB(1, 2, 3), LightenColor(shadow, 60 * 0.00392156862745098)},
      {"grey keeping the face", [](CBitmap& b) { CIconMenu::GreyBitmap(b, 0); }, face, RGB(30, 60, 90), face,
       LightenColor(shadow, 60 * 0.00392156862745098)},
      {"silver to face", [](CBitmap& b) { CIconMenu::ReplaceGreyBackground(b); }, RGB(192, 192, 192),
       RGB(10, 20, 30), face, RGB(10, 20, 30)},
  };
  for (const auto& c : cases) {
    Canvas canvas(16, 15, c.ground);
    HBITMAP handle = CreateCompatibleBitmap(canvas.Dc(), 16, 15);
    HDC dc = CreateCompatibleDC(canvas.Dc());
    HGDIOBJ old = SelectObject(dc, handle);
    pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 16, 15}, c.ground);
    for (int x : {3, 8, 12}) SetPixel(dc, x, 7, c.ink);
    SelectObject(dc, old);
    CBitmap bitmap;
    bitmap.Attach(handle);
    c.filter(bitmap);
    old = SelectObject(dc, handle);
    EXPECT_EQ(GetPixel(dc, 8, 7), c.inkAfter) << c.what;
    EXPECT_EQ(GetPixel(dc, 0, 0), c.groundAfter) << c.what;
    SelectObject(dc, old);
    DeleteDC(dc);
  }
}

TEST(IconMenuImages, EmbossedShapesAreShadowWithAHighlightBelowRight) {
  Canvas canvas(20, 20, RGB(9, 9, 9));
  HBITMAP handle = CreateCompatibleBitmap(canvas.Dc(), 16, 15);
  HDC dc = CreateCompatibleDC(canvas.Dc());
  HGDIOBJ old = SelectObject(dc, handle);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 16, 15}, GetSysColor(COLOR_BTNFACE));
  pictavo::gdi::FillSolidRect(dc, RECT{4, 4, 8, 8}, RGB(200, 30, 30));
  SelectObject(dc, old);
  DeleteDC(dc);
  CBitmap bitmap;
  bitmap.Attach(handle);
  const COLORREF ground = RGB(240, 240, 240);
  CIconMenu::DrawEmbossed(CDC::FromHandle(canvas.Dc()), 2, 2, 16, 15, &bitmap, ground);
  EXPECT_EQ(canvas.At(2 + 4, 2 + 4), static_cast<COLORREF>(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(canvas.At(2 + 8, 2 + 8), static_cast<COLORREF>(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(canvas.At(2 + 1, 2 + 1), ground);
  EXPECT_EQ(canvas.At(0, 0), RGB(9, 9, 9));  // nothing outside
}

}  // namespace
