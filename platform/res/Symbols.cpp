#include "platform/res/Symbols.h"

#include <array>
#include <string>
#include <unordered_map>

#include "platform/base/Styles.h"
#include "platform/base/VirtualKeys.h"
#include "platform/kernel/Unicode.h"

namespace pictavo::res {

namespace {

// The tables name the platform's own constants, so a name and its value cannot drift apart.
// clang-format off
#define F(name) {#name, static_cast<DWORD>(name)}

const std::unordered_map<std::string_view, DWORD>& StyleFlags() {
  static const std::unordered_map<std::string_view, DWORD> table{
      F(WS_OVERLAPPED), F(WS_POPUP), F(WS_CHILD), F(WS_MINIMIZE),
      F(WS_VISIBLE), F(WS_DISABLED), F(WS_CLIPSIBLINGS), F(WS_CLIPCHILDREN),
      F(WS_MAXIMIZE), F(WS_CAPTION), F(WS_BORDER), F(WS_DLGFRAME),
      F(WS_VSCROLL), F(WS_HSCROLL), F(WS_SYSMENU), F(WS_THICKFRAME),
      F(WS_GROUP), F(WS_TABSTOP), F(WS_MINIMIZEBOX), F(WS_MAXIMIZEBOX),
      F(WS_TILED), F(WS_ICONIC), F(WS_SIZEBOX), F(WS_OVERLAPPEDWINDOW),
      F(WS_TILEDWINDOW), F(WS_POPUPWINDOW), F(WS_CHILDWINDOW), F(WS_EX_DLGMODALFRAME),
      F(WS_EX_NOPARENTNOTIFY), F(WS_EX_TOPMOST), F(WS_EX_ACCEPTFILES), F(WS_EX_TRANSPARENT),
      F(WS_EX_MDICHILD), F(WS_EX_TOOLWINDOW), F(WS_EX_WINDOWEDGE), F(WS_EX_CLIENTEDGE),
      F(WS_EX_CONTEXTHELP), F(WS_EX_RIGHT), F(WS_EX_LEFT), F(WS_EX_RTLREADING),
      F(WS_EX_LTRREADING), F(WS_EX_LEFTSCROLLBAR), F(WS_EX_RIGHTSCROLLBAR), F(WS_EX_CONTROLPARENT),
      F(WS_EX_STATICEDGE), F(WS_EX_APPWINDOW), F(WS_EX_LAYERED), F(WS_EX_NOINHERITLAYOUT),
      F(WS_EX_LAYOUTRTL), F(WS_EX_COMPOSITED), F(WS_EX_NOACTIVATE), F(WS_EX_OVERLAPPEDWINDOW),
      F(WS_EX_PALETTEWINDOW), F(DS_ABSALIGN), F(DS_SYSMODAL), F(DS_3DLOOK),
      F(DS_FIXEDSYS), F(DS_NOFAILCREATE), F(DS_LOCALEDIT), F(DS_SETFONT),
      F(DS_MODALFRAME), F(DS_NOIDLEMSG), F(DS_SETFOREGROUND), F(DS_CONTROL),
      F(DS_CENTER), F(DS_CENTERMOUSE), F(DS_CONTEXTHELP), F(DS_SHELLFONT),
      F(BS_PUSHBUTTON), F(BS_DEFPUSHBUTTON), F(BS_CHECKBOX), F(BS_AUTOCHECKBOX),
      F(BS_RADIOBUTTON), F(BS_3STATE), F(BS_AUTO3STATE), F(BS_GROUPBOX),
      F(BS_USERBUTTON), F(BS_AUTORADIOBUTTON), F(BS_PUSHBOX), F(BS_OWNERDRAW),
      F(BS_TYPEMASK), F(BS_LEFTTEXT), F(BS_RIGHTBUTTON), F(BS_TEXT),
      F(BS_ICON), F(BS_BITMAP), F(BS_LEFT), F(BS_RIGHT),
      F(BS_CENTER), F(BS_TOP), F(BS_BOTTOM), F(BS_VCENTER),
      F(BS_PUSHLIKE), F(BS_MULTILINE), F(BS_NOTIFY), F(BS_FLAT),
      F(ES_LEFT), F(ES_CENTER), F(ES_RIGHT), F(ES_MULTILINE),
      F(ES_UPPERCASE), F(ES_LOWERCASE), F(ES_PASSWORD), F(ES_AUTOVSCROLL),
      F(ES_AUTOHSCROLL), F(ES_NOHIDESEL), F(ES_OEMCONVERT), F(ES_READONLY),
      F(ES_WANTRETURN), F(ES_NUMBER), F(SS_LEFT), F(SS_CENTER),
      F(SS_RIGHT), F(SS_ICON), F(SS_BLACKRECT), F(SS_GRAYRECT),
      F(SS_WHITERECT), F(SS_BLACKFRAME), F(SS_GRAYFRAME), F(SS_WHITEFRAME),
      F(SS_USERITEM), F(SS_SIMPLE), F(SS_LEFTNOWORDWRAP), F(SS_OWNERDRAW),
      F(SS_BITMAP), F(SS_ENHMETAFILE), F(SS_ETCHEDHORZ), F(SS_ETCHEDVERT),
      F(SS_ETCHEDFRAME), F(SS_TYPEMASK), F(SS_REALSIZECONTROL), F(SS_NOPREFIX),
      F(SS_NOTIFY), F(SS_CENTERIMAGE), F(SS_RIGHTJUST), F(SS_REALSIZEIMAGE),
      F(SS_SUNKEN), F(SS_EDITCONTROL), F(SS_ENDELLIPSIS), F(SS_PATHELLIPSIS),
      F(SS_WORDELLIPSIS), F(SS_ELLIPSISMASK), F(LBS_NOTIFY), F(LBS_SORT),
      F(LBS_NOREDRAW), F(LBS_MULTIPLESEL), F(LBS_OWNERDRAWFIXED), F(LBS_OWNERDRAWVARIABLE),
      F(LBS_HASSTRINGS), F(LBS_USETABSTOPS), F(LBS_NOINTEGRALHEIGHT), F(LBS_MULTICOLUMN),
      F(LBS_WANTKEYBOARDINPUT), F(LBS_EXTENDEDSEL), F(LBS_DISABLENOSCROLL), F(LBS_NODATA),
      F(LBS_NOSEL), F(LBS_COMBOBOX), F(LBS_STANDARD), F(CBS_SIMPLE),
      F(CBS_DROPDOWN), F(CBS_DROPDOWNLIST), F(CBS_OWNERDRAWFIXED), F(CBS_OWNERDRAWVARIABLE),
      F(CBS_AUTOHSCROLL), F(CBS_OEMCONVERT), F(CBS_SORT), F(CBS_HASSTRINGS),
      F(CBS_NOINTEGRALHEIGHT), F(CBS_DISABLENOSCROLL), F(CBS_UPPERCASE), F(CBS_LOWERCASE),
      F(SBS_HORZ), F(SBS_VERT), F(SBS_TOPALIGN), F(SBS_LEFTALIGN),
      F(SBS_BOTTOMALIGN), F(SBS_RIGHTALIGN), F(SBS_SIZEBOXTOPLEFTALIGN), F(SBS_SIZEBOXBOTTOMRIGHTALIGN),
      F(SBS_SIZEBOX), F(SBS_SIZEGRIP),
      // The common controls' styles that dialog templates carry.
      {"LVS_ICON", 0x0000}, {"LVS_REPORT", 0x0001}, {"LVS_SMALLICON", 0x0002}, {"LVS_LIST", 0x0003},
      {"LVS_TYPEMASK", 0x0003}, {"LVS_SINGLESEL", 0x0004}, {"LVS_SHOWSELALWAYS", 0x0008},
      {"LVS_SORTASCENDING", 0x0010}, {"LVS_SORTDESCENDING", 0x0020}, {"LVS_SHAREIMAGELISTS", 0x0040},
      {"LVS_NOLABELWRAP", 0x0080}, {"LVS_AUTOARRANGE", 0x0100}, {"LVS_EDITLABELS", 0x0200},
      {"LVS_OWNERDRAWFIXED", 0x0400}, {"LVS_ALIGNTOP", 0x0000}, {"LVS_ALIGNLEFT", 0x0800},
      {"LVS_OWNERDATA", 0x1000}, {"LVS_NOSCROLL", 0x2000}, {"LVS_NOCOLUMNHEADER", 0x4000},
      {"LVS_NOSORTHEADER", 0x8000},
      {"TVS_HASBUTTONS", 0x0001}, {"TVS_HASLINES", 0x0002}, {"TVS_LINESATROOT", 0x0004},
      {"TVS_EDITLABELS", 0x0008}, {"TVS_DISABLEDRAGDROP", 0x0010}, {"TVS_SHOWSELALWAYS", 0x0020},
      {"TVS_RTLREADING", 0x0040}, {"TVS_NOTOOLTIPS", 0x0080}, {"TVS_CHECKBOXES", 0x0100},
      {"TVS_TRACKSELECT", 0x0200}, {"TVS_SINGLEEXPAND", 0x0400}, {"TVS_INFOTIP", 0x0800},
      {"TVS_FULLROWSELECT", 0x1000}, {"TVS_NOSCROLL", 0x2000}, {"TVS_NONEVENHEIGHT", 0x4000},
      {"TVS_NOHSCROLL", 0x8000},
      {"TBS_AUTOTICKS", 0x0001}, {"TBS_VERT", 0x0002}, {"TBS_HORZ", 0x0000}, {"TBS_TOP", 0x0004},
      {"TBS_BOTTOM", 0x0000}, {"TBS_LEFT", 0x0004}, {"TBS_RIGHT", 0x0000}, {"TBS_BOTH", 0x0008},
      {"TBS_NOTICKS", 0x0010}, {"TBS_ENABLESELRANGE", 0x0020}, {"TBS_FIXEDLENGTH", 0x0040},
      {"TBS_NOTHUMB", 0x0080}, {"TBS_TOOLTIPS", 0x0100}, {"TBS_REVERSED", 0x0200},
      {"TBS_DOWNISLEFT", 0x0400},
      {"UDS_WRAP", 0x0001}, {"UDS_SETBUDDYINT", 0x0002}, {"UDS_ALIGNRIGHT", 0x0004},
      {"UDS_ALIGNLEFT", 0x0008}, {"UDS_AUTOBUDDY", 0x0010}, {"UDS_ARROWKEYS", 0x0020},
      {"UDS_HORZ", 0x0040}, {"UDS_NOTHOUSANDS", 0x0080}, {"UDS_HOTTRACK", 0x0100},
      {"PBS_SMOOTH", 0x0001}, {"PBS_VERTICAL", 0x0004}, {"PBS_MARQUEE", 0x0008},
      {"TCS_SCROLLOPPOSITE", 0x0001}, {"TCS_BOTTOM", 0x0002}, {"TCS_RIGHT", 0x0002},
      {"TCS_MULTISELECT", 0x0004}, {"TCS_FLATBUTTONS", 0x0008}, {"TCS_FORCEICONLEFT", 0x0010},
      {"TCS_FORCELABELLEFT", 0x0020}, {"TCS_HOTTRACK", 0x0040}, {"TCS_VERTICAL", 0x0080},
      {"TCS_TABS", 0x0000}, {"TCS_BUTTONS", 0x0100}, {"TCS_SINGLELINE", 0x0000},
      {"TCS_MULTILINE", 0x0200}, {"TCS_RIGHTJUSTIFY", 0x0000}, {"TCS_FIXEDWIDTH", 0x0400},
      {"TCS_RAGGEDRIGHT", 0x0800}, {"TCS_FOCUSONBUTTONDOWN", 0x1000}, {"TCS_OWNERDRAWFIXED", 0x2000},
      {"TCS_TOOLTIPS", 0x4000}, {"TCS_FOCUSNEVER", 0x8000},
  };
  return table;
}

const std::unordered_map<std::string_view, DWORD>& VirtualKeys() {
  static const std::unordered_map<std::string_view, DWORD> table{
      F(VK_LBUTTON), F(VK_RBUTTON), F(VK_CANCEL), F(VK_MBUTTON),
      F(VK_XBUTTON1), F(VK_XBUTTON2), F(VK_BACK), F(VK_TAB),
      F(VK_CLEAR), F(VK_RETURN), F(VK_SHIFT), F(VK_CONTROL),
      F(VK_MENU), F(VK_PAUSE), F(VK_CAPITAL), F(VK_KANA),
      F(VK_HANGUL), F(VK_JUNJA), F(VK_FINAL), F(VK_HANJA),
      F(VK_KANJI), F(VK_ESCAPE), F(VK_CONVERT), F(VK_NONCONVERT),
      F(VK_ACCEPT), F(VK_MODECHANGE), F(VK_SPACE), F(VK_PRIOR),
      F(VK_NEXT), F(VK_END), F(VK_HOME), F(VK_LEFT),
      F(VK_UP), F(VK_RIGHT), F(VK_DOWN), F(VK_SELECT),
      F(VK_PRINT), F(VK_EXECUTE), F(VK_SNAPSHOT), F(VK_INSERT),
      F(VK_DELETE), F(VK_HELP), F(VK_LWIN), F(VK_RWIN),
      F(VK_APPS), F(VK_SLEEP), F(VK_NUMPAD0), F(VK_NUMPAD1),
      F(VK_NUMPAD2), F(VK_NUMPAD3), F(VK_NUMPAD4), F(VK_NUMPAD5),
      F(VK_NUMPAD6), F(VK_NUMPAD7), F(VK_NUMPAD8), F(VK_NUMPAD9),
      F(VK_MULTIPLY), F(VK_ADD), F(VK_SEPARATOR), F(VK_SUBTRACT),
      F(VK_DECIMAL), F(VK_DIVIDE), F(VK_F1), F(VK_F2),
      F(VK_F3), F(VK_F4), F(VK_F5), F(VK_F6),
      F(VK_F7), F(VK_F8), F(VK_F9), F(VK_F10),
      F(VK_F11), F(VK_F12), F(VK_F13), F(VK_F14),
      F(VK_F15), F(VK_F16), F(VK_F17), F(VK_F18),
      F(VK_F19), F(VK_F20), F(VK_F21), F(VK_F22),
      F(VK_F23), F(VK_F24), F(VK_NUMLOCK), F(VK_SCROLL),
      F(VK_LSHIFT), F(VK_RSHIFT), F(VK_LCONTROL), F(VK_RCONTROL),
      F(VK_LMENU), F(VK_RMENU), F(VK_BROWSER_BACK), F(VK_BROWSER_FORWARD),
      F(VK_BROWSER_REFRESH), F(VK_BROWSER_STOP), F(VK_BROWSER_SEARCH), F(VK_BROWSER_FAVORITES),
      F(VK_BROWSER_HOME), F(VK_VOLUME_MUTE), F(VK_VOLUME_DOWN), F(VK_VOLUME_UP),
      F(VK_MEDIA_NEXT_TRACK), F(VK_MEDIA_PREV_TRACK), F(VK_MEDIA_STOP), F(VK_MEDIA_PLAY_PAUSE),
      F(VK_LAUNCH_MAIL), F(VK_LAUNCH_MEDIA_SELECT), F(VK_LAUNCH_APP1), F(VK_LAUNCH_APP2),
      F(VK_OEM_1), F(VK_OEM_PLUS), F(VK_OEM_COMMA), F(VK_OEM_MINUS),
      F(VK_OEM_PERIOD), F(VK_OEM_2), F(VK_OEM_3), F(VK_OEM_4),
      F(VK_OEM_5), F(VK_OEM_6), F(VK_OEM_7), F(VK_OEM_8),
      F(VK_OEM_102), F(VK_PROCESSKEY), F(VK_PACKET), F(VK_ATTN),
      F(VK_CRSEL), F(VK_EXSEL), F(VK_EREOF), F(VK_PLAY),
      F(VK_ZOOM), F(VK_NONAME), F(VK_PA1), F(VK_OEM_CLEAR),
  };
  return table;
}

#undef F
// clang-format on

template <class T>
std::optional<T> Lookup(const std::unordered_map<std::string_view, DWORD>& table, std::string_view name) {
  const auto it = table.find(name);
  if (it == table.end()) return std::nullopt;
  return static_cast<T>(it->second);
}

}  // namespace

std::optional<DWORD> StyleFlagValue(std::string_view name) {
  return Lookup<DWORD>(StyleFlags(), name);
}

std::optional<int> ControlIdValue(std::string_view name) {
  static const std::unordered_map<std::string_view, DWORD> table{
      {"IDOK", IDOK},
      {"IDCANCEL", IDCANCEL},
      {"IDABORT", IDABORT},
      {"IDRETRY", IDRETRY},
      {"IDIGNORE", IDIGNORE},
      {"IDYES", IDYES},
      {"IDNO", IDNO},
      {"IDCLOSE", IDCLOSE},
      {"IDHELP", IDHELP},
      {"IDTRYAGAIN", IDTRYAGAIN},
      {"IDCONTINUE", IDCONTINUE},
  };
  if (name == "IDC_STATIC") return -1;
  return Lookup<int>(table, name);
}

std::optional<WORD> VirtualKeyValue(std::string_view name) {
  return Lookup<WORD>(VirtualKeys(), name);
}

std::optional<WORD> ResourceTypeValue(std::string_view name) {
  static const std::unordered_map<std::string_view, DWORD> table{
      {"RT_CURSOR", 1},      {"RT_BITMAP", 2},   {"RT_ICON", 3},          {"RT_MENU", 4},
      {"RT_DIALOG", 5},      {"RT_STRING", 6},   {"RT_FONTDIR", 7},       {"RT_FONT", 8},
      {"RT_ACCELERATOR", 9}, {"RT_RCDATA", 10},  {"RT_MESSAGETABLE", 11}, {"RT_GROUP_CURSOR", 12},
      {"RT_GROUP_ICON", 14}, {"RT_VERSION", 16}, {"RT_HTML", 23},         {"RT_MANIFEST", 24},
      {"RT_TOOLBAR", 241},
  };
  return Lookup<WORD>(table, name);
}

std::string_view CanonicalClassName(std::string_view name) {
  static constexpr std::array<std::string_view, 6> kStandard{"Button",  "Edit",     "Static",
                                                             "ListBox", "ComboBox", "ScrollBar"};
  for (std::string_view standard : kStandard)
    if (unicode::EqualsNoCase(name, standard)) return standard;
  return name;
}

}  // namespace pictavo::res
