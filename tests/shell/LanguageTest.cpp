#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Controls.h"
#include "platform/user/Dialog.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

constexpr UINT kTestDialog = 62000;
constexpr UINT kTestMenu = 62001;

std::string BinFolder() {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  return bin != nullptr ? bin : ".";
}

// Language files of a test, in a "Lang" folder of its own; the record points at one of them.
class LanguageTest : public ::testing::Test {
 protected:
  LanguageTest() {
    std::filesystem::create_directories(folder / "Lang");
    pictavo::shell::SetLanguageRoot(folder.Path());
    pictavo::res::SetResourceRoot(BinFolder() + "/resources");
    m_savedFile = g_languageSettings.LangIniFile;
  }
  ~LanguageTest() override {
    g_languageSettings.LangIniFile = m_savedFile;
    pictavo::shell::SetLanguageRoot("");
  }
  void WriteLanguage(const char* name, std::string_view text) {
    WriteWholeFile(folder / (std::string("Lang/") + name), text);
  }
  void Use(const char* name) { g_languageSettings.LangIniFile = name; }

  ScratchDir folder;

 private:
  CString m_savedFile;
};

std::string WindowText(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::vector<std::string> ListItems(HWND list, UINT getCount, UINT getText) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(list, getCount, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[256] = {};
    SendMessageA(list, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

std::string MenuItemText(HMENU menu, UINT position) {
  char text[256] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

const char kGerman[] =
    "[General]\nLanguage=Deutsch\n"
    "[STRING]\n62000=Unbenannt\n62001=\n62005=one\\ntwo\\tthree\n"
    "[DIALOG_IDD_62000]\ntitle=Ausgabe\\teinstellungen\n"
    "62010=Zielordner:\n62011=Flimmerfilter \\t anwenden\n62012=[Rot][Grün][Blau]\n"
    "62013=[Einpassen][Ausfüllen]\n62015=Zwei\\nZeilen\n1=OK\n2=Abbrechen\n65535=Beschriftung\n"
    "[MENU]\n62101p=&Datei\n62101=&Neues Projekt\\tStrg+N\n62102=Ö&ffnen\\tStrg+O\n62103p1=Zuletzt geöffnet\n"
    "62104=&Beenden\n62105p=&Ansicht\n62105=&Miniaturen\n62106p=Sprache\n0p1=E&xtras\n0p0=Leer\n"
    "[DICTIONARY]\nVideo Codec=Videocodec\nFrame Rate=\n";
const char kEnglish[] =
    "[General]\nLanguage=English\n"
    "[DIALOG_IDD_62000]\ntitle=Output Settings\n62010=Output Folder:\n62011=Apply anti-flickering filter\n"
    "62012=[Red][Green][Blue]\n62013=[Scale to fit][Scale to fill]\n62015=Two\\nlines\n1=OK\n2=Cancel\n"
    "[ZEL_SKIN]\nxml=zel_de.xml\n";

}  // namespace

TEST_F(LanguageTest, StringsComeFromTheFileElseFromTheStringTable) {
  WriteLanguage("lang_deu.ini", kGerman);
  Use("lang_deu.ini");
  struct Case {
    UINT id;
    const char* text;
  };
  const Case cases[] = {
      {62000, "Unbenannt"},                                    // the file's text
      {62001, "Do you really want to cancel the operation?"},  // an empty value falls back
      {62002, "Only in the resources"},                        // only the string table has it
      {62003, ""},                                             // neither has it
      {62005, "one\ntwo\tthree"},                              // escapes turned
  };
  for (const Case& c : cases) EXPECT_EQ(LoadLangString(c.id), c.text) << c.id;

  Use("lang_missing.ini");
  EXPECT_EQ(LoadLangString(62000), "Untitled");
}

TEST_F(LanguageTest, DictionaryAndSkinFile) {
  WriteLanguage("lang_deu.ini", kGerman);
  WriteLanguage("lang_eng.ini", kEnglish);
  Use("lang_deu.ini");
  struct Case {
    const char* word;
    const char* translation;
  };
  const Case cases[] = {
      {"Video Codec", "Videocodec"},
      {"video codec", "Videocodec"},  // keys ignore case
      {"Frame Rate", "Frame Rate"},   // empty value: the word itself
      {"Channels", "Channels"},       // missing key
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TranslateDictionaryWord(c.word), c.translation) << c.word;
  EXPECT_EQ(GetSkinFileName(), "zel_en.xml");
  Use("lang_eng.ini");
  EXPECT_EQ(GetSkinFileName(), "zel_de.xml");
}

TEST_F(LanguageTest, SplitBracketList) {
  struct Case {
    const char* text;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"[Red][Green][Blue]", {"Red", "Green", "Blue"}},
      {"[Red]x[Green", {"Red", "Green"}},
      {"Red", {"Red"}},
      {"", {""}},
      {"lead [a] mid [b]tail", {"a", "b"}},
      {"[]", {""}},
      {"[Grün][Blau]", {"Grün", "Blau"}},
  };
  for (const Case& c : cases) {
    CStringArray items;
    items.Add("stale");
    EXPECT_EQ(SplitBracketList(c.text, items), 1);
    std::vector<std::string> got;
    for (INT_PTR i = 0; i < items.GetSize(); ++i) got.push_back(items[i].Str());
    EXPECT_EQ(got, c.items) << c.text;
  }
  // An item longer than 2047 bytes is cut at a whole character.
  CStringArray items;
  const std::string longItem = "[" + std::string(2046, 'a') + "ü]";
  SplitBracketList(longItem.c_str(), items);
  ASSERT_EQ(items.GetSize(), 1);
  EXPECT_EQ(items[0].GetLength(), 2046);
}

TEST_F(LanguageTest, DialogSwitchesToGermanAndBackWithoutRestart) {
  WriteLanguage("lang_deu.ini", kGerman);
  WriteLanguage("lang_eng.ini", kEnglish);
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCE(kTestDialog), nullptr, PlainDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 62012);
  HWND combo = GetDlgItem(dialog, 62013);
  for (const char* item : {"a", "b", "c"})
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  for (const char* item : {"x", "y"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(combo, CB_SETCURSEL, 1, 0);

  struct Expected {
    const char* file;
    const char* title;
    const char* folder;
    const char* filter;
    std::vector<std::string> list;
    std::vector<std::string> combo;
    const char* twoLines;
    const char* cancel;
  };
  const Expected steps[] = {
      {"lang_deu.ini",
       "Ausgabe\teinstellungen",
       "Zielordner:",
       "Flimmerfilter \\t anwenden",
       {"Rot", "Grün", "Blau"},
       {"Einpassen", "Ausfüllen"},
       "Zwei\nZeilen",
       "Abbrechen"},
      {"lang_eng.ini",
       "Output Settings",
       "Output Folder:",
       "Apply anti-flickering filter",
       {"Red", "Green", "Blue"},
       {"Scale to fit", "Scale to fill"},
       "Two\nlines",
       "Cancel"},
      {"lang_deu.ini",
       "Ausgabe\teinstellungen",
       "Zielordner:",
       "Flimmerfilter \\t anwenden",
       {"Rot", "Grün", "Blau"},
       {"Einpassen", "Ausfüllen"},
       "Zwei\nZeilen",
       "Abbrechen"},
  };
  for (const Expected& e : steps) {
    Use(e.file);
    TranslateDialog(dialog, kTestDialog);
    EXPECT_EQ(WindowText(dialog), e.title) << e.file;
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 62010)), e.folder) << e.file;
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 62011)), e.filter) << e.file;  // \t stays in control texts
    EXPECT_EQ(ListItems(list, LB_GETCOUNT, LB_GETTEXT), e.list) << e.file;
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << e.file;
    EXPECT_EQ(ListItems(combo, CB_GETCOUNT, CB_GETLBTEXT), e.combo) << e.file;
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1) << e.file;
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 62015)), e.twoLines) << e.file;
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDCANCEL)), e.cancel) << e.file;
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 62014)), "keep me") << e.file;  // no key: unchanged
  }
  // A file that does not exist leaves every text as it is.
  Use("lang_missing.ini");
  TranslateDialog(dialog, kTestDialog);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 62010)), "Zielordner:");
  DestroyWindow(dialog);
}

TEST_F(LanguageTest, MenuTextsByCommandAndPopupKey) {
  WriteLanguage("lang_deu.ini", kGerman);
  Use("lang_deu.ini");
  HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCE(kTestMenu));
  ASSERT_NE(menu, nullptr);
  // A popup leading to nothing, and one whose first item is a nested popup.
  HMENU empty = CreatePopupMenu();
  AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(empty), "Empty");
  HMENU file = GetSubMenu(menu, 0);
  HMENU recent = GetSubMenu(file, 3);
  HMENU view = GetSubMenu(menu, 1);
  HMENU language = GetSubMenu(view, 1);
  HMENU tools = GetSubMenu(menu, 2);

  TranslateMenu(menu, 0);

  struct Case {
    HMENU menu;
    UINT position;
    const char* text;
  };
  const Case cases[] = {
      {menu, 0, "&Datei"},                  // 62101p
      {file, 0, "&Neues Projekt\tStrg+N"},  // \t turned into a tab
      {file, 1, "Ö&ffnen\tStrg+O"},
      {file, 3, "Zuletzt geöffnet"},  // no 62103p: 62103p1
      {file, 4, "&Beenden"},
      {menu, 1, "&Ansicht"},
      {view, 0, "&Miniaturen"},
      {view, 1, "Sprache"},
      {language, 0, "Auto Selected"},  // no key: unchanged
      {menu, 2, "E&xtras"},            // first item a separator: 0p1
      {tools, 1, "Sound &Recorder"},
      {menu, 3, "Leer"},  // empty popup: 0p0
  };
  for (const Case& c : cases) EXPECT_EQ(MenuItemText(c.menu, c.position), c.text) << c.text;
  // Only texts change: popups, ids and states stay.
  EXPECT_EQ(GetSubMenu(menu, 0), file);
  EXPECT_EQ(GetSubMenu(file, 3), recent);
  EXPECT_EQ(GetSubMenu(view, 1), language);
  EXPECT_EQ(GetMenuItemID(file, 1), 62102u);
  EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(view, 0, MF_BYPOSITION) & MF_CHECKED);
  DestroyMenu(menu);
}

TEST_F(LanguageTest, OwnerDrawnPopupsTakeTheirTextsThemselves) {
  WriteLanguage("lang_deu.ini", kGerman);
  Use("lang_deu.ini");
  HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCE(kTestMenu));
  ASSERT_NE(menu, nullptr);
  HMENU file = GetSubMenu(menu, 0);

  struct Owner : CMenuTextOwner {
    void SetTranslatedMenuText(HMENU popup, UINT position, LPCTSTR text) override {
      seen.push_back(std::to_string(position) + "=" + text);
      this->popup = popup;
    }
    std::vector<std::string> seen;
    HMENU popup = nullptr;
  };
  static Owner owner;
  static HMENU ownedPopup;
  ownedPopup = file;
  SetMenuTextOwnerFinder(
      [](HMENU popup) -> CMenuTextOwner* { return popup == ownedPopup ? &owner : nullptr; });
  TranslateMenu(menu, 0);
  SetMenuTextOwnerFinder(nullptr);

  EXPECT_EQ(owner.popup, file);
  EXPECT_EQ(owner.seen, (std::vector<std::string>{"0=&Neues Projekt\tStrg+N", "1=Ö&ffnen\tStrg+O",
                                                  "3=Zuletzt geöffnet", "4=&Beenden"}));
  EXPECT_EQ(MenuItemText(file, 0), "&New Project\tCtrl+N");  // the owner keeps its own
  EXPECT_EQ(MenuItemText(menu, 0), "&Datei");                // the menu bar itself is plain
  DestroyMenu(menu);
}

TEST_F(LanguageTest, ProgramFilesTranslateTheProgramTexts) {
  pictavo::shell::SetLanguageRoot(std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data");
  struct Case {
    const char* file;
    UINT id;
    const char* text;
  };
  const Case cases[] = {
      {"lang_eng.ini", 142, "Untitled"},
      {"lang_deu.ini", 142, "Unbenannt"},
      {"lang_eng.ini", 57539, "Please exit and restart the software to change the language."},
      {"lang_eng.ini", 221, "   (#%02d) Album Name: %s"},  // quoted to keep its spaces
  };
  for (const Case& c : cases) {
    Use(c.file);
    EXPECT_EQ(LoadLangString(c.id), c.text) << c.file << " " << c.id;
  }
  Use("lang_deu.ini");
  EXPECT_EQ(TranslateDictionaryWord("Video Codec"), "Videocodec");
  EXPECT_EQ(ReadLangValue("MENU", "57600"), "&Neues Projekt\t\tStrg+N");
  EXPECT_EQ(ReadLangValue("General", "Language"), "Deutsch");
}
