// Texts from the current language file: an ini file in the program's "Lang" folder named by the
// language record (lang_eng.ini until the user picks another). The English texts are built into
// the program (string table, dialog and menu resources); a language file overrides them one by
// one. Sections: [STRING] by string id, [DIALOG_IDD_<id>] with "title" and control ids,
// [MENU] by command id ("<id>p" for a popup), [DICTIONARY] by the English word, [ZEL_SKIN] "xml"
// for the skin file. Nothing is cached: every lookup reads the file, so a language switch takes
// effect at once. Files are UTF-8. UI thread only.
#pragma once

#include <string>

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/user/Window.h"

// Broadcast to every window after a language switch; each window translates itself again.
#define WM_LANGUAGE_CHANGED 0x12D8

// The value with the two-character escapes \n and \t turned into a line break and a tab; "" when
// the file, section or key is missing.
CString ReadLangValue(LPCTSTR lpszSection, LPCTSTR lpszKey);
// The text of a string id from the language file, else from the program's string table; "" when
// neither has it.
CString LoadLangString(UINT nID);
// Sets the dialog's control texts (list and combo box items included) and its title from the
// section of its template id.
void TranslateDialog(HWND hWnd, UINT nDialogID);
// One descendant of a dialog being translated; lParam is the dialog's template id. TRUE.
BOOL CALLBACK TranslateChildWindowProc(HWND hWndChild, LPARAM lParam);
// The items of a list written as "[one][two]..." (a text without "[" is one item). 1.
int SplitBracketList(LPCTSTR lpszText, CStringArray& items);
// Sets the texts of a menu and, to any depth, of its popups from the [MENU] section. The second
// argument has no effect.
void TranslateMenu(HMENU hMenu, int nUnused = 0);
// The word's translation from the [DICTIONARY] section, or the word itself.
CString TranslateDictionaryWord(LPCTSTR lpszWord);
// The skin file the language asks for ("zel_en.xml" by default).
CString GetSkinFileName();
// The path of the current language file.
CString GetLangIniFilePath();

// Menus whose items draw themselves keep their texts in records of their own. The object that
// owns such a popup takes the translated texts itself (or keeps its own).
class CMenuTextOwner {
 public:
  virtual ~CMenuTextOwner() = default;
  // Replaces the text of the item at nPosition of hPopup.
  virtual void SetTranslatedMenuText(HMENU hPopup, UINT nPosition, LPCTSTR lpszText) = 0;
};
// How TranslateMenu finds the owner of a popup: null for a plain menu, whose item texts it
// replaces itself.
using MenuTextOwnerFinder = CMenuTextOwner* (*)(HMENU hPopup);
void SetMenuTextOwnerFinder(MenuTextOwnerFinder finder);

namespace pictavo::shell {
// The folder whose "Lang" folder holds the language files: the program's folder unless a test
// chose another; "" restores the program's folder.
void SetLanguageRoot(std::string folder);
}  // namespace pictavo::shell
