// Parsed resources for the layers that build windows, menus, accelerator tables, toolbars and
// images. Every Find function takes a module (null = the executable) and a name as
// FindResource does; it returns null with the last error set as FindResource sets it. Returned
// records are immutable and live for the rest of the process. Safe from any thread.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::res {

// A resource named by a number or by a string (upper case, as names compare without case).
struct ResourceName {
  WORD id = 0;
  std::string text;

  bool IsId() const { return text.empty(); }
  // MAKEINTRESOURCE(id), or the text; valid while this record lives.
  LPCSTR Pointer() const;
  friend auto operator<=>(const ResourceName&, const ResourceName&) = default;
};

// One control of a dialog template; coordinates in dialog units.
struct DialogControl {
  // The id as the template holds it: 16 bits in a plain template (-1 reads 65535), 32 bits in an
  // extended one (-1 stays -1).
  DWORD id = 0;
  std::string symbol;     // the symbolic name in the resource file, for messages; may be empty
  std::string className;  // "Button", "Edit", "Static", "ListBox", "ComboBox", "ScrollBar" or
                          // a registered class name such as "SysListView32"
  std::string text;
  DWORD style = 0;  // WS_CHILD | WS_VISIBLE and the flags the file gives
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;

  RECT Rect() const { return RECT{x, y, x + cx, y + cy}; }
};

// A dialog template in dialog units, as the dialog manager needs it.
struct DialogTemplate {
  ResourceName name;
  std::string symbol;
  bool extended = false;
  DWORD style = 0;  // DS_SETFONT exactly when a font is given
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  std::optional<ResourceName> menu;
  std::string className;  // empty: the standard dialog class
  // The font, when style has DS_SETFONT. Weight, italic and character set come from extended
  // templates; plain ones keep the defaults.
  std::string fontFace;
  WORD pointSize = 0;
  WORD weight = 400;
  bool italic = false;
  BYTE charset = 1;
  std::vector<DialogControl> controls;

  RECT Rect() const { return RECT{x, y, x + cx, y + cy}; }
};

// Menu item flags with the platform's MF_ values, so items can be appended as they are.
inline constexpr UINT kMenuGrayed = 0x0001;
inline constexpr UINT kMenuDisabled = 0x0002;
inline constexpr UINT kMenuChecked = 0x0008;
inline constexpr UINT kMenuPopup = 0x0010;
inline constexpr UINT kMenuBarBreak = 0x0020;
inline constexpr UINT kMenuBreak = 0x0040;
inline constexpr UINT kMenuEnd = 0x0080;
inline constexpr UINT kMenuSeparator = 0x0800;
inline constexpr UINT kMenuDefault = 0x1000;  // MFS_DEFAULT; not carried by RT_MENU data
inline constexpr UINT kMenuHelp = 0x4000;

struct MenuItem {
  enum class Kind { Command, Popup, Separator };
  Kind kind = Kind::Command;
  UINT id = 0;  // the command; 0 for popups and separators
  std::string symbol;
  std::string text;  // "&" marks the mnemonic, a tab starts the shortcut column
  // kMenuGrayed, kMenuDisabled, kMenuChecked, kMenuBreak, kMenuBarBreak, kMenuHelp,
  // kMenuDefault; kMenuPopup for popups and kMenuSeparator for separators.
  UINT flags = 0;
  std::vector<MenuItem> items;  // a popup's items, never empty
};

struct MenuTemplate {
  ResourceName name;
  std::string symbol;
  std::vector<MenuItem> items;  // the menu bar, or the popups of a context menu
};

// Accelerator flags with the platform's ACCEL fVirt values.
inline constexpr BYTE kAccelVirtKey = 0x01;
inline constexpr BYTE kAccelNoInvert = 0x02;
inline constexpr BYTE kAccelShift = 0x04;
inline constexpr BYTE kAccelControl = 0x08;
inline constexpr BYTE kAccelAlt = 0x10;

struct Accelerator {
  BYTE flags = 0;  // kAccel*; without kAccelVirtKey the key is a character code
  WORD key = 0;
  WORD command = 0;
};

struct AcceleratorTable {
  ResourceName name;
  std::string symbol;
  std::vector<Accelerator> entries;
};

// A toolbar: its bitmap (the RT_BITMAP of the same name) holds one image per button, in order,
// separators left out.
struct ToolbarTemplate {
  ResourceName name;
  std::string symbol;
  int imageWidth = 0;
  int imageHeight = 0;
  std::vector<WORD> commands;  // 0 = separator
};

const DialogTemplate* FindDialog(HMODULE module, LPCSTR name);
const MenuTemplate* FindMenu(HMODULE module, LPCSTR name);
const AcceleratorTable* FindAccelerators(HMODULE module, LPCSTR name);
const ToolbarTemplate* FindToolbar(HMODULE module, LPCSTR name);

enum class ImageKind { Bitmap, Icon, Cursor };

// The file behind a bitmap (.bmp), icon (.ico) or cursor (.cur) resource, for LoadImage.
const std::string* FindImageFile(HMODULE module, LPCSTR name, ImageKind kind);

// One image of an icon or cursor resource: the image bytes as the file holds them (a DIB whose
// height counts the colour image and the AND mask, or a PNG file).
struct IconImage {
  std::span<const BYTE> bits;
  bool png = false;
  int width = 0;
  int height = 0;  // of the icon, not of the DIB
  int bitCount = 0;
  POINT hotspot{0, 0};  // cursors only
};

// The image of an icon or cursor resource that suits cx x cy best: an exact size (the most
// colours among those), else the smallest larger one, else the largest; with cx and cy 0 the
// first image. A damaged file gives nullopt with ERROR_INVALID_DATA.
std::optional<IconImage> FindIconImage(HMODULE module, LPCSTR name, ImageKind kind, int cx, int cy);

}  // namespace pictavo::res
