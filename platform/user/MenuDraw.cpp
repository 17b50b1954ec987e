// Menus in our flat look: a light popup with a thin border, a check column at the left, labels,
// right-aligned shortcut texts, a soft highlight for the selected item; the bar in the menu bar
// colour with the same highlight for its hot and pressed items.
#include "platform/user/MenuDraw.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/Menu.h"
#include "platform/user/MenuModel.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"

namespace pictavo::user::menu {
namespace {

constexpr int kCheckWidth = 22;   // the check column
constexpr int kTextLeft = 28;     // labels start here, inside an item
constexpr int kShortcutGap = 24;  // least space between a label and its shortcut text
constexpr int kArrowWidth = 20;   // right of the shortcut column: the submenu arrow
constexpr int kSeparatorHeight = 7;
constexpr int kMinColumnWidth = 60;
constexpr int kColumnGap = 4;   // between columns; a bar break draws its line in it
constexpr int kBarPadding = 7;  // left and right of a bar item's text
constexpr int kGlyphSize = 13;  // check marks, bullets and arrows
// The platform gives owner-drawn popup items the width of a check mark more than their owner
// asked for; owners measure with that in mind.
constexpr int kOwnerDrawExtra = 12;

struct Fonts {
  HFONT normal = nullptr;
  HFONT bold = nullptr;
  HFONT symbols = nullptr;
  int textHeight = 0;
};

// Process-wide, made on first use and never deleted (drawing objects may be used by any thread).
const Fonts& TheFonts() {
  static const Fonts fonts = [] {
    Fonts f;
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    f.normal = CreateFontIndirect(&metrics.lfMenuFont);
    LOGFONTA bold = metrics.lfMenuFont;
    bold.lfWeight = FW_BOLD;
    f.bold = CreateFontIndirect(&bold);
    LOGFONTA symbols{};
    symbols.lfHeight = -kGlyphSize;
    symbols.lfCharSet = SYMBOL_CHARSET;
    std::strncpy(symbols.lfFaceName, "Marlett", LF_FACESIZE - 1);
    f.symbols = CreateFontIndirect(&symbols);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f.normal);
    TEXTMETRICA tm{};
    GetTextMetrics(dc, &tm);
    f.textHeight = tm.tmHeight;
    SelectObject(dc, old);
    DeleteDC(dc);
    return f;
  }();
  return fonts;
}

int ItemHeight() {
  return std::max(TheFonts().textHeight + 7, 20);
}

int BarRowHeight() {
  return GetSystemMetrics(SM_CYMENU);
}

// `f` of the way from `c` to white.
COLORREF Lighten(COLORREF c, double f) {
  auto channel = [f](int x) { return static_cast<BYTE>(x + f * (255 - x)); };
  return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

COLORREF MenuColor() {
  return GetSysColor(COLOR_MENU);
}
COLORREF SelectionFill() {
  return Lighten(GetSysColor(COLOR_MENUHILIGHT), 0.8);
}
COLORREF SelectionBorder() {
  return Lighten(GetSysColor(COLOR_MENUHILIGHT), 0.4);
}
COLORREF PressedFill() {
  return Lighten(GetSysColor(COLOR_MENUHILIGHT), 0.65);
}

void Frame(HDC dc, const RECT& r, COLORREF color) {
  gdi::FillSolidRect(dc, RECT{r.left, r.top, r.right, r.top + 1}, color);
  gdi::FillSolidRect(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, color);
  gdi::FillSolidRect(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, color);
  gdi::FillSolidRect(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, color);
}

// A memory DC to measure text with, the menu font selected.
class MeasureDC {
 public:
  MeasureDC() : m_dc(CreateCompatibleDC(nullptr)) { m_old = SelectObject(m_dc, TheFonts().normal); }
  ~MeasureDC() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  MeasureDC(const MeasureDC&) = delete;
  MeasureDC& operator=(const MeasureDC&) = delete;

  // Width of a text as DrawText shows it ("&" prefixes take no room).
  int Width(std::string_view text, bool bold) {
    if (text.empty()) return 0;
    SelectObject(m_dc, bold ? TheFonts().bold : TheFonts().normal);
    RECT r{0, 0, 0, 0};
    DrawText(m_dc, text.data(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
  }

 private:
  HDC m_dc;
  HGDIOBJ m_old = nullptr;
};

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObject(bitmap, sizeof bm, &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

bool Copy(HMENU menu, std::vector<Item>* items) {
  std::lock_guard lock(MenuLock());
  const Menu* m = FindLocked(menu);
  if (!m) return false;
  *items = m->items;
  return true;
}

// Asks the owner for the size of owner-drawn items it has not measured since they changed.
void MeasureOwnerDrawn(HWND owner, std::vector<Item>& items) {
  for (Item& item : items) {
    if (!item.IsOwnerDraw() || item.measured) continue;
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = item.id;
    mis.itemHeight = static_cast<UINT>(ItemHeight());
    mis.itemData = item.data;
    if (owner) SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    item.ownerSize = SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
    item.measured = true;
  }
}

// Stores the layout when the menu still has the items that were measured.
void Store(HMENU menu, const std::vector<Item>& items, const std::vector<RECT>& rects, SIZE size,
           int barWidth) {
  std::lock_guard lock(MenuLock());
  Menu* m = FindLocked(menu);
  if (!m) return;
  m->size = size;
  if (barWidth >= 0) m->barWidth = barWidth;
  if (m->items.size() != items.size()) return;
  for (size_t i = 0; i < items.size(); ++i) {
    Item& target = m->items[i];
    target.rect = rects[i];
    if (items[i].measured && target.id == items[i].id && target.data == items[i].data &&
        target.IsOwnerDraw()) {
      target.measured = true;
      target.ownerSize = items[i].ownerSize;
    }
  }
}

struct Column {
  size_t first = 0;
  size_t end = 0;
  int label = 0;
  int shortcut = 0;
  int fixed = 0;  // owner-drawn and bitmap items
  int height = 0;
  bool barBreak = false;
};

bool StartsColumn(const Item& item) {
  return (item.type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0;
}

DRAWITEMSTRUCT DrawRecord(HMENU menu, const Item& item, HDC dc, const RECT& rect, UINT action, UINT state) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = item.id;
  dis.itemAction = action;
  dis.itemState = state;
  if (item.state & MF_GRAYED) dis.itemState |= ODS_GRAYED;
  if (item.state & MF_DISABLED) dis.itemState |= ODS_DISABLED;
  if (item.state & MF_CHECKED) dis.itemState |= ODS_CHECKED;
  if (item.state & MFS_DEFAULT) dis.itemState |= ODS_DEFAULT;
  dis.hwndItem = reinterpret_cast<HWND>(menu);
  dis.hDC = dc;
  dis.rcItem = rect;
  dis.itemData = item.data;
  return dis;
}

// The owner draws the item with the menu font selected and the menu's colours set.
void OwnerDraw(HWND owner, HDC dc, DRAWITEMSTRUCT& dis, bool selected) {
  if (!owner) return;
  const int saved = SaveDC(dc);
  SelectObject(dc, TheFonts().normal);
  SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
  SetBkColor(dc, selected ? SelectionFill() : MenuColor());
  SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  RestoreDC(dc, saved);
}

void Glyph(HDC dc, const RECT& box, char symbol, COLORREF color) {
  HGDIOBJ old = SelectObject(dc, TheFonts().symbols);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  RECT r = box;
  DrawText(dc, &symbol, 1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
}

// A check bitmap is a mask: its black pixels are the mark.
void CheckBitmap(HDC dc, const RECT& box, HBITMAP bitmap, bool mask) {
  const SIZE size = BitmapSize(bitmap);
  if (!size.cx || !size.cy) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  const int x = box.left + (box.right - box.left - size.cx) / 2;
  const int y = box.top + (box.bottom - box.top - size.cy) / 2;
  BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, mask ? SRCAND : SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void DrawTextItem(HDC dc, const Item& item, bool selected) {
  const RECT& r = item.rect;
  gdi::FillSolidRect(dc, r, selected ? SelectionFill() : MenuColor());
  if (item.IsSeparator()) {
    const int y = (r.top + r.bottom) / 2;
    gdi::FillSolidRect(dc, RECT{r.left + kTextLeft - 4, y, r.right - 4, y + 1}, GetSysColor(COLOR_BTNSHADOW));
    return;
  }
  if (selected) Frame(dc, r, SelectionBorder());
  const bool grayed = (item.state & MF_GRAYED) != 0;
  const COLORREF ink = GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
  const RECT check{r.left + 2, r.top, r.left + kCheckWidth, r.bottom};
  if (item.state & MF_CHECKED) {
    if (item.checkedBitmap)
      CheckBitmap(dc, check, item.checkedBitmap, true);
    else
      Glyph(dc, check, (item.type & MFT_RADIOCHECK) ? 'h' : 'a', ink);
  } else if (item.uncheckedBitmap) {
    CheckBitmap(dc, check, item.uncheckedBitmap, true);
  } else if (item.itemBitmap) {
    CheckBitmap(dc, check, item.itemBitmap, false);
  }
  if (item.subMenu) Glyph(dc, RECT{r.right - kArrowWidth, r.top, r.right - 4, r.bottom}, '4', ink);
  if (item.type & MFT_BITMAP) {
    CheckBitmap(dc, RECT{r.left + kTextLeft, r.top, r.right - kArrowWidth, r.bottom}, item.bitmap, false);
    return;
  }
  HGDIOBJ old = SelectObject(dc, (item.state & MFS_DEFAULT) ? TheFonts().bold : TheFonts().normal);
  SetTextColor(dc, ink);
  SetBkMode(dc, TRANSPARENT);
  RECT text{r.left + kTextLeft, r.top, r.right - kArrowWidth, r.bottom};
  const std::string_view label = LabelOf(item.text);
  const std::string_view shortcut = ShortcutOf(item.text);
  DrawText(dc, label.data(), static_cast<int>(label.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!shortcut.empty())
    DrawText(dc, shortcut.data(), static_cast<int>(shortcut.size()), &text,
             DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  SelectObject(dc, old);
}

void DrawItem(HDC dc, HMENU menu, const Item& item, bool selected, UINT action, HWND owner) {
  if (item.IsOwnerDraw()) {
    DRAWITEMSTRUCT dis = DrawRecord(menu, item, dc, item.rect, action, selected ? ODS_SELECTED : 0);
    OwnerDraw(owner, dc, dis, selected);
    // The submenu arrow is the menu's, drawn over the owner's picture in the width it added.
    if (item.subMenu) {
      const RECT& r = item.rect;
      const COLORREF ink = GetSysColor((item.state & MF_GRAYED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
      Glyph(dc, RECT{r.right - kOwnerDrawExtra - 2, r.top, r.right - 1, r.bottom}, '4', ink);
    }
    return;
  }
  DrawTextItem(dc, item, selected);
}

}  // namespace

SIZE LayoutPopup(HMENU menu, HWND owner) {
  std::vector<Item> items;
  if (!Copy(menu, &items) || items.empty()) return SIZE{0, 0};
  MeasureOwnerDrawn(owner, items);

  MeasureDC measure;
  std::vector<int> heights(items.size());
  std::vector<Column> columns;
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    if (columns.empty() || (i > 0 && StartsColumn(item))) {
      Column column;
      column.first = i;
      column.barBreak = (item.type & MFT_MENUBARBREAK) != 0;
      columns.push_back(column);
    }
    Column& column = columns.back();
    column.end = i + 1;
    int height = ItemHeight();
    if (item.IsOwnerDraw()) {
      height = item.ownerSize.cy > 0 ? item.ownerSize.cy : ItemHeight();
      column.fixed = std::max(column.fixed, static_cast<int>(item.ownerSize.cx) + kOwnerDrawExtra);
    } else if (item.IsSeparator()) {
      height = kSeparatorHeight;
    } else if (item.type & MFT_BITMAP) {
      const SIZE size = BitmapSize(item.bitmap);
      height = std::max(height, static_cast<int>(size.cy) + 4);
      column.fixed = std::max(column.fixed, kTextLeft + static_cast<int>(size.cx) + kArrowWidth);
    } else {
      const bool bold = (item.state & MFS_DEFAULT) != 0;
      column.label = std::max(column.label, measure.Width(LabelOf(item.text), bold));
      column.shortcut = std::max(column.shortcut, measure.Width(ShortcutOf(item.text), bold));
      if (item.itemBitmap) height = std::max(height, static_cast<int>(BitmapSize(item.itemBitmap).cy) + 4);
    }
    heights[i] = height;
    column.height += height;
  }

  std::vector<RECT> rects(items.size());
  int x = kPopupFrame;
  int tallest = 0;
  for (size_t c = 0; c < columns.size(); ++c) {
    const Column& column = columns[c];
    if (c > 0) x += kColumnGap;
    int width =
        kTextLeft + column.label + (column.shortcut ? kShortcutGap + column.shortcut : 0) + kArrowWidth;
    width = std::max({width, column.fixed, kMinColumnWidth});
    int y = kPopupFrame;
    for (size_t i = column.first; i < column.end; ++i) {
      rects[i] = RECT{x, y, x + width, y + heights[i]};
      y += heights[i];
    }
    tallest = std::max(tallest, column.height);
    x += width;
  }
  const SIZE size{x + kPopupFrame, tallest + 2 * kPopupFrame};
  Store(menu, items, rects, size, -1);
  return size;
}

int LayoutBar(HMENU menu, HWND owner, int width) {
  std::vector<Item> items;
  if (!Copy(menu, &items)) return BarRowHeight();
  MeasureOwnerDrawn(owner, items);
  MeasureDC measure;
  const int rowHeight = BarRowHeight();
  std::vector<RECT> rects(items.size());
  int x = 0;
  int y = 0;
  size_t rowStart = 0;
  size_t justify = items.size();  // the first right-justified item of the current row
  auto finishRow = [&](size_t end) {
    if (justify >= end) return;
    const int shift = width - rects[end - 1].right;
    if (shift > 0)
      for (size_t i = justify; i < end; ++i) {
        rects[i].left += shift;
        rects[i].right += shift;
      }
  };
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    int w = 0;
    int h = rowHeight;
    if (item.IsOwnerDraw()) {
      w = item.ownerSize.cx;
      h = std::max(rowHeight, static_cast<int>(item.ownerSize.cy));
    } else if (item.IsSeparator()) {
      w = 2 * kBarPadding;
    } else if (item.type & MFT_BITMAP) {
      w = BitmapSize(item.bitmap).cx + 2 * kBarPadding;
    } else {
      w = measure.Width(LabelOf(item.text), false) + 2 * kBarPadding;
    }
    const bool breakHere =
        i > rowStart && ((item.type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) || x + w > width);
    if (breakHere) {
      finishRow(i);
      x = 0;
      y += rowHeight;
      rowStart = i;
      justify = items.size();
    }
    if ((item.type & MFT_RIGHTJUSTIFY) && justify == items.size()) justify = i;
    rects[i] = RECT{x, y, x + w, y + h};
    x += w;
  }
  finishRow(items.size());
  int height = rowHeight;
  for (const RECT& r : rects) height = std::max(height, static_cast<int>(r.bottom));
  Store(menu, items, rects, SIZE{width, height}, width);
  return height;
}

void DrawPopup(HDC dc, HMENU menu, int selected, HWND owner) {
  std::vector<Item> items;
  SIZE size{};
  {
    std::lock_guard lock(MenuLock());
    const Menu* m = FindLocked(menu);
    if (!m) return;
    items = m->items;
    size = m->size;
  }
  const RECT all{0, 0, size.cx, size.cy};
  gdi::FillSolidRect(dc, all, MenuColor());
  Frame(dc, all, GetSysColor(COLOR_BTNSHADOW));
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0 && (items[i].type & MFT_MENUBARBREAK)) {
      const int x = items[i].rect.left - kColumnGap / 2;
      gdi::FillSolidRect(dc, RECT{x, kPopupFrame, x + 1, size.cy - kPopupFrame},
                         GetSysColor(COLOR_BTNSHADOW));
    }
    DrawItem(dc, menu, items[i], static_cast<int>(i) == selected, ODA_DRAWENTIRE, owner);
  }
}

void DrawPopupItem(HDC dc, HMENU menu, int position, bool selected, HWND owner) {
  Item item;
  {
    std::lock_guard lock(MenuLock());
    const Menu* m = FindLocked(menu);
    if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return;
    item = m->items[static_cast<size_t>(position)];
  }
  DrawItem(dc, menu, item, selected, ODA_SELECT, owner);
}

void DrawBar(HDC dc, HMENU menu, POINT origin, HWND owner) {
  std::vector<Item> items;
  SIZE size{};
  int hot = -1;
  bool pressed = false;
  {
    std::lock_guard lock(MenuLock());
    const Menu* m = FindLocked(menu);
    if (!m) return;
    items = m->items;
    size = m->size;
    hot = m->hot;
    pressed = m->pressed;
  }
  gdi::FillSolidRect(dc, RECT{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy},
                     GetSysColor(COLOR_MENUBAR));
  const int saved = SaveDC(dc);
  SelectObject(dc, TheFonts().normal);
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    RECT r{item.rect.left + origin.x, item.rect.top + origin.y, item.rect.right + origin.x,
           item.rect.bottom + origin.y};
    const bool isHot = static_cast<int>(i) == hot;
    if (item.IsOwnerDraw()) {
      DRAWITEMSTRUCT dis =
          DrawRecord(menu, item, dc, r, ODA_DRAWENTIRE, isHot ? (pressed ? ODS_SELECTED : ODS_HOTLIGHT) : 0);
      OwnerDraw(owner, dc, dis, isHot && pressed);
      continue;
    }
    if (item.IsSeparator()) continue;
    if (isHot) {
      gdi::FillSolidRect(dc, r, pressed ? PressedFill() : SelectionFill());
      Frame(dc, r, SelectionBorder());
    }
    if (item.type & MFT_BITMAP) {
      CheckBitmap(dc, r, item.bitmap, false);
      continue;
    }
    SetTextColor(dc, GetSysColor((item.state & MF_GRAYED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    const std::string_view label = LabelOf(item.text);
    DrawText(dc, label.data(), static_cast<int>(label.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  RestoreDC(dc, saved);
}

}  // namespace pictavo::user::menu
