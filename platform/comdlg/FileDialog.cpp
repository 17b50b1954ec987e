// The open and save dialogs behind GetOpenFileName and GetSaveFileName: a folder combo box, the
// list of folders and filtered files, the name edit that takes names, paths, folders and
// patterns, the filter combo box, OK and Cancel.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/comdlg/CommDlg.h"
#include "platform/comdlg/DialogIds.h"
#include "platform/comdlg/ExtendedError.h"
#include "platform/comdlg/FileFilter.h"
#include "platform/comdlg/FileSelection.h"
#include "platform/comdlg/FolderListing.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"
#include "platform/shellapi/UserFolders.h"
#include "platform/user/Dialog.h"
#include "platform/user/MessageBox.h"
#include "platform/user/User.h"

namespace pictavo::comdlg {

namespace {

// Posted to itself when the folder combo box has a new selection, so the box is refilled after
// its notification, not inside it.
constexpr UINT kNavigateToPlace = WM_APP + 1;

// Record sizes we know: ours, ours without the last three members, and the same two records in
// the 32-bit layout.
bool KnownRecordSize(DWORD size) {
  return size == sizeof(OPENFILENAMEA) || size == OPENFILENAME_SIZE_VERSION_400 || size == 76 || size == 88;
}

// One run of the dialog. Lives on the caller's stack; touched by the dialog's thread only.
class FileDialog {
 public:
  FileDialog(OPENFILENAMEA& ofn, bool save) : m_ofn(ofn), m_save(save) {}

  BOOL Run();

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Init();
  void Command(int id, int code);

  HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
  DWORD Flags() const { return m_ofn.Flags; }
  bool MultiSelect() const { return (Flags() & OFN_ALLOWMULTISELECT) != 0; }

  // Reads the folder and shows it; false, after telling the user, when it cannot be read.
  bool Navigate(const std::string& folder);
  void FillList();
  void FillPlaces();
  void Up();
  void ChooseFilter(int index);
  void ListSelectionChanged();
  void OpenListItem(int index);
  void Ok();
  void OkWithNames(const std::vector<std::string>& names);
  bool Accept(std::vector<std::string> paths);
  void Finish(const Choice& choice);

  void SetName(const std::string& text);
  void FocusName();
  int Ask(const std::string& text, UINT type);

  OPENFILENAMEA& m_ofn;  // the caller's record; written on OK
  const bool m_save;
  HWND m_dialog = nullptr;
  std::vector<FilterEntry> m_filters;
  int m_filter = -1;                    // the chosen entry of m_filters; -1 when there is none
  std::vector<std::string> m_patterns;  // what the list lets through: the filter's or typed ones
  std::string m_folder;
  std::vector<FolderEntry> m_entries;  // the list's items, in order
  std::vector<std::string> m_places;   // the folder combo box's items, in order
  DWORD m_error = 0;                   // why the dialog ended without a choice
};

BOOL FileDialog::Run() {
  if (Flags() & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)) {
    std::fprintf(stderr, "pictavo: file dialogs take no hook procedures or custom templates\n");
    SetExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  const res::DialogTemplate* dialogTemplate = res::FindDialog(nullptr, MAKEINTRESOURCE(kFileDialogTemplate));
  if (!dialogTemplate) {
    std::fprintf(stderr, "pictavo: the file dialog's template %d is missing (resources/comdlg.xml)\n",
                 kFileDialogTemplate);
    SetExtendedError(CDERR_FINDRESFAILURE);
    return FALSE;
  }
  const INT_PTR result =
      DialogBoxIndirectParam(nullptr, dialogTemplate, m_ofn.hwndOwner, Proc, reinterpret_cast<LPARAM>(this));
  if (result == IDOK) return TRUE;
  SetExtendedError(result == -1 ? CDERR_DIALOGFAILURE : m_error);
  return FALSE;
}

INT_PTR CALLBACK FileDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<FileDialog*>(lParam);
    self->m_dialog = dialog;
    self->Init();
    return FALSE;  // Init chose the focus
  }
  auto* self = reinterpret_cast<FileDialog*>(GetWindowLongPtr(dialog, DWLP_USER));
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR FileDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_VKEYTOITEM:
      if (reinterpret_cast<HWND>(lParam) == Item(kFileList) && LOWORD(wParam) == VK_BACK) {
        Up();
        return -2;
      }
      return -1;
    case kNavigateToPlace: {
      const auto index = static_cast<int>(SendDlgItemMessage(m_dialog, kFileFolders, CB_GETCURSEL, 0, 0));
      if (index >= 0 && static_cast<size_t>(index) < m_places.size() && m_places[index] != m_folder) {
        if (Navigate(m_places[index]))
          SetName("");
        else
          FillPlaces();  // back to the folder still shown
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void FileDialog::Init() {
  SetWindowText(m_dialog, m_ofn.lpstrTitle ? m_ofn.lpstrTitle : m_save ? "Save As" : "Open");
  SetDlgItemText(m_dialog, IDOK, m_save ? "&Save" : "&Open");
  if (m_save) SetDlgItemText(m_dialog, kFileTypeLabel, "Save as &type:");
  if (m_save || (Flags() & OFN_HIDEREADONLY)) {
    ShowWindow(Item(kFileReadOnly), SW_HIDE);
  } else {
    CheckDlgButton(m_dialog, kFileReadOnly, (Flags() & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);
  }
  if (MultiSelect()) {
    HWND list = Item(kFileList);
    SetWindowLong(list, GWL_STYLE, GetWindowLong(list, GWL_STYLE) | LBS_EXTENDEDSEL);
  }

  m_filters = ParseFilter(m_ofn.lpstrFilter);
  HWND types = Item(kFileTypes);
  for (const FilterEntry& filter : m_filters)
    SendMessage(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.description.c_str()));
  if (m_filters.empty()) {
    EnableWindow(types, FALSE);
  } else {
    const DWORD index = m_ofn.nFilterIndex;
    m_filter = index >= 1 && index <= m_filters.size() ? static_cast<int>(index) - 1 : 0;
    m_patterns = m_filters[static_cast<size_t>(m_filter)].patterns;
    SendMessage(types, CB_SETCURSEL, static_cast<WPARAM>(m_filter), 0);
  }

  // The name the caller put in the buffer; a folder in it is where the dialog starts.
  std::string initial = m_ofn.lpstrFile
                            ? std::string(m_ofn.lpstrFile, strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile))
                            : std::string();
  std::vector<std::string> candidates;
  if (path::LastSeparator(initial) != std::string::npos) {
    candidates.emplace_back(path::Folder(initial));
    initial = std::string(path::FileName(initial));
  }
  if (m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir) candidates.emplace_back(m_ofn.lpstrInitialDir);
  if (path::HasWildcards(initial)) m_patterns = SplitPatterns(initial);
  const std::string start = FirstExistingFolder(candidates);
  if (!Navigate(start)) Navigate("/");
  SetName(initial);
  FocusName();
}

void FileDialog::Command(int id, int code) {
  switch (id) {
    case IDOK:
      if (code == BN_CLICKED) Ok();
      break;
    case IDCANCEL:
      EndDialog(m_dialog, IDCANCEL);
      break;
    case kFileUp:
      if (code == BN_CLICKED) Up();
      break;
    case kFileList:
      if (code == LBN_SELCHANGE) ListSelectionChanged();
      if (code == LBN_DBLCLK)
        OpenListItem(static_cast<int>(SendDlgItemMessage(m_dialog, kFileList, LB_GETCARETINDEX, 0, 0)));
      break;
    case kFileFolders:
      if (code == CBN_SELENDOK ||
          (code == CBN_SELCHANGE && !SendDlgItemMessage(m_dialog, kFileFolders, CB_GETDROPPEDSTATE, 0, 0)))
        PostMessage(m_dialog, kNavigateToPlace, 0, 0);
      break;
    case kFileTypes:
      if (code == CBN_SELCHANGE)
        ChooseFilter(static_cast<int>(SendDlgItemMessage(m_dialog, kFileTypes, CB_GETCURSEL, 0, 0)));
      break;
    default:
      break;
  }
}

bool FileDialog::Navigate(const std::string& folder) {
  ListingOptions options;
  options.hidden = (Flags() & OFN_FORCESHOWHIDDEN) != 0;
  options.patterns = m_patterns;
  std::vector<FolderEntry> entries;
  DWORD error = 0;
  if (!ListFolder(folder, options, &entries, &error)) {
    if (m_dialog && IsWindowVisible(m_dialog))
      Ask(folder + "\nThe folder cannot be opened.", MB_OK | MB_ICONWARNING);
    return false;
  }
  m_folder = folder;
  m_entries = std::move(entries);
  FillList();
  FillPlaces();
  return true;
}

void FileDialog::FillList() {
  HWND list = Item(kFileList);
  SendMessage(list, WM_SETREDRAW, FALSE, 0);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  for (const FolderEntry& entry : m_entries) {
    const std::string text = entry.folder ? entry.name + "/" : entry.name;
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessage(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void FileDialog::FillPlaces() {
  m_places = FolderChain(m_folder);
  std::vector<std::string> more{shell::HomeFolder()};
  char drives[4096] = {};
  const DWORD length = GetLogicalDriveStrings(sizeof drives, drives);
  if (length > 0 && length < sizeof drives)
    for (const char* p = drives; *p; p += std::strlen(p) + 1) more.push_back(ResolvePath("/", p));
  for (const std::string& place : more)
    if (!place.empty() && std::find(m_places.begin(), m_places.end(), place) == m_places.end())
      m_places.push_back(place);
  HWND combo = Item(kFileFolders);
  SendMessage(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& place : m_places)
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(place.c_str()));
  const auto current = std::find(m_places.begin(), m_places.end(), m_folder) - m_places.begin();
  SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

void FileDialog::Up() {
  if (m_folder == "/") return;
  const std::string from(path::FileName(m_folder));
  if (!Navigate(ParentOf(m_folder))) return;
  // Where the user came from stays under the cursor.
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i].folder && m_entries[i].name == from) {
      HWND list = Item(kFileList);
      if (MultiSelect()) {
        SendMessage(list, LB_SETCARETINDEX, i, FALSE);
      } else {
        SendMessage(list, LB_SETCURSEL, i, 0);
      }
      break;
    }
  }
}

void FileDialog::ChooseFilter(int index) {
  if (index < 0 || static_cast<size_t>(index) >= m_filters.size()) return;
  m_filter = index;
  m_patterns = m_filters[static_cast<size_t>(index)].patterns;
  if (path::HasWildcards(pictavo::user::WindowText(Item(kFileName)))) SetName("");
  Navigate(m_folder);
}

void FileDialog::ListSelectionChanged() {
  HWND list = Item(kFileList);
  std::vector<int> selected;
  if (MultiSelect()) {
    const auto count = static_cast<int>(SendMessage(list, LB_GETSELCOUNT, 0, 0));
    if (count > 0) {
      selected.resize(static_cast<size_t>(count));
      SendMessage(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                  reinterpret_cast<LPARAM>(selected.data()));
    }
  } else {
    const auto index = static_cast<int>(SendMessage(list, LB_GETCURSEL, 0, 0));
    if (index >= 0) selected.push_back(index);
  }
  std::vector<std::string> names;
  for (int index : selected)
    if (index >= 0 && static_cast<size_t>(index) < m_entries.size() && !m_entries[index].folder)
      names.push_back(m_entries[index].name);
  if (!names.empty()) SetName(JoinTypedNames(names));
}

void FileDialog::OpenListItem(int index) {
  if (index < 0 || static_cast<size_t>(index) >= m_entries.size()) return;
  const FolderEntry entry = m_entries[static_cast<size_t>(index)];
  if (entry.folder) {
    if (Navigate(path::Join(m_folder, entry.name))) SetName("");
  } else {
    ListSelectionChanged();
    Ok();
  }
}

void FileDialog::Ok() {
  HWND focus = GetFocus();
  if (focus == Item(kFileList)) {
    const auto caret = static_cast<int>(SendMessage(focus, LB_GETCARETINDEX, 0, 0));
    if (caret >= 0 && static_cast<size_t>(caret) < m_entries.size() && m_entries[caret].folder) {
      OpenListItem(caret);
      return;
    }
  }
  if (focus == Item(kFileFolders)) {
    PostMessage(m_dialog, kNavigateToPlace, 0, 0);
    return;
  }
  const std::vector<std::string> names = SplitTypedNames(pictavo::user::WindowText(Item(kFileName)));
  if (names.empty()) {
    FocusName();
    return;
  }
  OkWithNames(names);
}

void FileDialog::OkWithNames(const std::vector<std::string>& names) {
  if (names.size() == 1) {
    const std::string& name = names.front();
    if (path::HasWildcards(name)) {
      // A pattern filters the list, in the folder typed before it when there is one.
      const std::string_view folder = path::Folder(name);
      if (!folder.empty() && !Navigate(ResolvePath(m_folder, folder))) return;
      m_patterns = SplitPatterns(path::FileName(name));
      Navigate(m_folder);
      SetName(std::string(path::FileName(name)));
      FocusName();
      return;
    }
    const std::string full = ResolvePath(m_folder, name);
    if (IsFolder(full)) {
      if (Navigate(full)) SetName("");
      FocusName();
      return;
    }
    Accept({full});
    return;
  }
  if (!MultiSelect()) {
    Ask(JoinTypedNames(names) + "\nThe file name is not valid.", MB_OK | MB_ICONWARNING);
    return;
  }
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(ResolvePath(m_folder, name));
  Accept(std::move(paths));
}

bool FileDialog::Accept(std::vector<std::string> paths) {
  const std::string defExt = DefaultExtension(m_ofn.lpstrDefExt);
  const std::string folder = ParentOf(paths.front());
  for (std::string& path : paths) {
    if (!defExt.empty() && !HasExtension(path::FileName(path)) && (m_save || !IsFile(path)))
      path += "." + defExt;
    if (paths.size() > 1 && (ParentOf(path) != folder || IsFolder(path))) {
      Ask(path + "\nSeveral files must be chosen from one folder.", MB_OK | MB_ICONWARNING);
      return false;
    }
    const bool pathMustExist = m_save || (Flags() & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
    if (pathMustExist && !IsFolder(ParentOf(path))) {
      Ask(path + "\nPath does not exist.\nCheck the path and try again.", MB_OK | MB_ICONWARNING);
      return false;
    }
    if (IsFolder(path)) {
      Ask(path + "\nThis is a folder, not a file.", MB_OK | MB_ICONWARNING);
      return false;
    }
    if (!m_save && (Flags() & OFN_FILEMUSTEXIST) && !IsFile(path)) {
      Ask(path + "\nFile not found.\nCheck the file name and try again.", MB_OK | MB_ICONWARNING);
      return false;
    }
    if (!m_save && (Flags() & OFN_CREATEPROMPT) && !IsFile(path) &&
        Ask(path + "\nThis file does not exist.\nDo you want to create it?", MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
      return false;
    // No is the default answer, so a stray Enter keeps the old file.
    if (m_save && (Flags() & OFN_OVERWRITEPROMPT) && IsFile(path) &&
        Ask(path + " already exists.\nDo you want to replace it?",
            MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
      return false;
  }
  Choice choice;
  choice.folder = folder;
  for (const std::string& path : paths) choice.names.emplace_back(path::FileName(path));
  Finish(choice);
  return true;
}

void FileDialog::Finish(const Choice& choice) {
  if (!m_save && !(Flags() & OFN_HIDEREADONLY)) {
    if (IsDlgButtonChecked(m_dialog, kFileReadOnly) == BST_CHECKED)
      m_ofn.Flags |= OFN_READONLY;
    else
      m_ofn.Flags &= ~OFN_READONLY;
  }
  m_error = WriteChoice(m_ofn, choice);
  if (m_error) {
    EndDialog(m_dialog, IDCANCEL);
    return;
  }
  if (m_filter >= 0) m_ofn.nFilterIndex = static_cast<DWORD>(m_filter) + 1;
  if (!(Flags() & OFN_NOCHANGEDIR)) SetCurrentDirectory(choice.folder.c_str());
  EndDialog(m_dialog, IDOK);
}

void FileDialog::SetName(const std::string& text) {
  SetDlgItemText(m_dialog, kFileName, text.c_str());
}

void FileDialog::FocusName() {
  HWND edit = Item(kFileName);
  SetFocus(edit);
  SendMessage(edit, EM_SETSEL, 0, -1);
}

int FileDialog::Ask(const std::string& text, UINT type) {
  const int answer = MessageBox(m_dialog, text.c_str(), pictavo::user::WindowText(m_dialog).c_str(), type);
  FocusName();
  return answer;
}

BOOL RunFileDialog(LPOPENFILENAMEA ofn, bool save) {
  SetExtendedError(0);
  if (!ofn) {
    SetExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!KnownRecordSize(ofn->lStructSize)) {
    SetExtendedError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    SetExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  FileDialog dialog(*ofn, save);
  return dialog.Run();
}

}  // namespace

}  // namespace pictavo::comdlg

BOOL GetOpenFileName(LPOPENFILENAMEA ofn) {
  return pictavo::comdlg::RunFileDialog(ofn, false);
}

BOOL GetSaveFileName(LPOPENFILENAMEA ofn) {
  return pictavo::comdlg::RunFileDialog(ofn, true);
}
