// Painting the list view: only the items in the part to paint, each with the custom draw stages
// the parent asks for, in our flat look; and the item drag image.
#include <algorithm>

#include "platform/comctl/ImageList.h"
#include "platform/comctl/ImageListData.h"
#include "platform/comctl/ListViewInternal.h"
#include "platform/gdi/Surface.h"

namespace pictavo::comctl::detail::listview {
namespace {

constexpr int kTextPad = 2;  // between a label's edge and its text

struct Colors {
  COLORREF text;
  COLORREF back;  // CLR_NONE: leave the background as it is
};

// What the item looks like, after the item stage of custom draw.
struct ItemLook {
  ItemView view;
  bool selected = false;
  bool highlight = false;  // selected and drawn so (focus, SHOWSELALWAYS or drop target)
  bool focusCue = false;
  Colors normal{};
  Colors chosen{};  // highlight colours when highlighted, else the normal ones
};

COLORREF Background(const ListViewState& s) {
  return s.bkColor == CLR_NONE ? CLR_NONE : ColorOr(s.bkColor, COLOR_WINDOW);
}

Colors HighlightColors(const ListViewState& s, const ItemView& view) {
  if (s.focused || (view.state & LVIS_DROPHILITED))
    return Colors{GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
  return Colors{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)};
}

void DrawImage(HIMAGELIST list, int image, HDC dc, const RECT& area, UINT state, bool highlight,
               COLORREF back) {
  if (!list || image < 0) return;
  int cx = 0;
  int cy = 0;
  ImageList_GetIconSize(list, &cx, &cy);
  UINT style = ILD_TRANSPARENT | INDEXTOOVERLAYMASK((state & LVIS_OVERLAYMASK) >> 8);
  COLORREF fg = CLR_DEFAULT;
  if (state & LVIS_CUT) {
    style |= ILD_BLEND50;
    fg = back == CLR_NONE ? GetSysColor(COLOR_WINDOW) : back;
  } else if (highlight) {
    style |= ILD_BLEND25;
  }
  ImageList_DrawEx(list, image, dc, area.left + (area.right - area.left - cx) / 2,
                   area.top + (area.bottom - area.top - cy) / 2, 0, 0, CLR_NONE, fg, style);
}

void DrawStateImage(const ListViewState& s, HDC dc, const RECT& area, UINT state) {
  const int index = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
  if (!s.stateImages || index <= 0) return;
  int cx = 0;
  int cy = 0;
  ImageList_GetIconSize(s.stateImages, &cx, &cy);
  ImageList_Draw(s.stateImages, index - 1, dc, area.left, area.top + (area.bottom - area.top - cy) / 2,
                 ILD_TRANSPARENT);
}

UINT Justify(int fmt) {
  switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return DT_RIGHT;
    case LVCFMT_CENTER:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void DrawLabel(HDC dc, const std::string& text, RECT r, UINT format, COLORREF color) {
  if (text.empty() || r.right <= r.left) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

// The first column of a report row, or an item of the small icon and list views.
void DrawRowItem(ListViewState& s, HDC dc, int index, const ItemLook& look, const RECT& cell, bool fullRow) {
  RECT icon;
  RECT label;
  RECT state;
  ItemRect(s, index, LVIR_ICON, &icon);
  ItemRect(s, index, LVIR_LABEL, &label);
  state = RECT{icon.left, icon.top, icon.left, icon.bottom};
  if (s.stateImages) {
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(s.stateImages, &cx, &cy);
    state = RECT{icon.left - cx, icon.top, icon.left, icon.bottom};
  }
  label.right = std::min(label.right, cell.right);
  DrawStateImage(s, dc, state, look.view.state);
  DrawImage(s.smallImages, look.view.image, dc, icon, look.view.state, look.highlight && !fullRow,
            look.normal.back);
  RECT text = label;
  if (!fullRow) {
    // The highlight hugs the text.
    text.right = std::min<LONG>(label.right, label.left + StringWidth(s, look.view.text) + 2 * kTextPad);
    if (look.chosen.back != CLR_NONE && (look.highlight || look.chosen.back != Background(s)))
      FillSolid(dc, text, look.chosen.back);
  } else if (!look.highlight && look.chosen.back != CLR_NONE && look.chosen.back != Background(s)) {
    FillSolid(dc, cell, look.chosen.back);
  }
  RECT inner{text.left + kTextPad, text.top, label.right - kTextPad, text.bottom};
  DrawLabel(dc, look.view.text, inner, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, look.chosen.text);
  if (look.focusCue && !fullRow) DrawFocusRect(dc, &text);
}

void DrawIconItem(ListViewState& s, HDC dc, int index, const ItemLook& look) {
  RECT icon;
  RECT label;
  ItemRect(s, index, LVIR_ICON, &icon);
  ItemRect(s, index, LVIR_LABEL, &label);
  if (s.stateImages) {
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(s.stateImages, &cx, &cy);
    DrawStateImage(s, dc, RECT{icon.left - cx, icon.bottom - cy, icon.left, icon.bottom}, look.view.state);
  }
  DrawImage(s.normalImages, look.view.image, dc, icon, look.view.state, look.highlight, look.normal.back);
  if (look.view.text.empty()) return;
  // The label takes two lines at most unless it has the focus.
  RECT measure{label.left + kTextPad, label.top, label.right - kTextPad, label.top};
  DrawText(dc, look.view.text.c_str(), static_cast<int>(look.view.text.size()), &measure,
           DT_CENTER | DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  const int width = std::min<int>(measure.right - measure.left, label.right - label.left - 2 * kTextPad);
  const int maxHeight = look.focusCue ? 1000 : label.bottom - label.top - 2;
  const int cx = (label.left + label.right) / 2;
  RECT text{cx - width / 2 - kTextPad, label.top + 1, cx + (width + 1) / 2 + kTextPad,
            label.top + 1 + std::min<int>(measure.bottom - measure.top, maxHeight)};
  if (look.highlight || look.chosen.back != Background(s)) FillSolid(dc, text, look.chosen.back);
  RECT inner{text.left + kTextPad, text.top, text.right - kTextPad, text.bottom};
  DrawLabel(dc, look.view.text, inner, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_EDITCONTROL,
            look.chosen.text);
  if (look.focusCue) DrawFocusRect(dc, &text);
}

void DrawSubItem(ListViewState& s, HDC dc, int index, int column, const RECT& cell, const Colors& colors,
                 bool highlight, bool fullRow) {
  const Column& c = s.columns[static_cast<size_t>(column)];
  const ItemView view = Resolve(s, index, c.subItem, LVIF_TEXT | LVIF_IMAGE);
  if (!s.alive) return;
  if (colors.back != CLR_NONE && colors.back != Background(s) && !(highlight && fullRow))
    FillSolid(dc, cell, colors.back);
  RECT r = cell;
  if ((s.exStyle & LVS_EX_SUBITEMIMAGES) && s.smallImages && view.image >= 0) {
    RECT icon;
    SubItemRect(s, index, column, LVIR_ICON, &icon);
    DrawImage(s.smallImages, view.image, dc, icon, 0, false, colors.back);
    r.left = icon.right;
  }
  RECT inner{r.left + kTextPad + 4, r.top, r.right - kTextPad - 4, r.bottom};
  DrawLabel(dc, view.text, inner, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | Justify(c.fmt), colors.text);
}

void PaintReportItem(ListViewState& s, HDC dc, int index, ItemLook& look, LRESULT itemResult,
                     NMLVCUSTOMDRAW& cd, const RECT& area) {
  RECT bounds;
  ItemRect(s, index, LVIR_BOUNDS, &bounds);
  const bool fullRow = (s.exStyle & LVS_EX_FULLROWSELECT) != 0;
  if (fullRow && look.highlight) FillSolid(dc, bounds, look.chosen.back);
  for (int column : ColumnOrder(s)) {
    int left = 0;
    int right = 0;
    if (!ColumnSpan(s, column, &left, &right) || right <= area.left || left >= area.right || right <= left)
      continue;
    const RECT cell{left, bounds.top, right, bounds.bottom};
    Colors colors = look.chosen;
    if (itemResult & CDRF_NOTIFYSUBITEMDRAW) {
      SavedDc saved(dc);
      cd.iSubItem = column;
      cd.nmcd.rc = cell;
      cd.clrText = look.normal.text;
      cd.clrTextBk = look.normal.back;
      const LRESULT result = SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPREPAINT | CDDS_SUBITEM);
      if (!s.alive) return;
      if (result & CDRF_SKIPDEFAULT) continue;
      if (!look.highlight || (!fullRow && column != 0)) colors = Colors{cd.clrText, cd.clrTextBk};
      if (column == 0) {
        ItemLook sub = look;
        sub.chosen = look.highlight ? look.chosen : colors;
        sub.normal = Colors{cd.clrText, cd.clrTextBk};
        DrawRowItem(s, dc, index, sub, cell, fullRow);
      } else {
        DrawSubItem(s, dc, index, column, cell, colors, look.highlight, fullRow);
      }
      if (result & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPOSTPAINT | CDDS_SUBITEM);
      if (!s.alive) return;
      continue;
    }
    if (column == 0) {
      DrawRowItem(s, dc, index, look, cell, fullRow);
    } else {
      if (!fullRow || !look.highlight) colors = look.normal;
      DrawSubItem(s, dc, index, column, cell, colors, look.highlight, fullRow);
    }
    if (!s.alive) return;
  }
  if (fullRow && look.focusCue) DrawFocusRect(dc, &bounds);
}

void PaintItem(ListViewState& s, HDC dc, int index, LRESULT pre, const RECT& area) {
  RECT bounds;
  ItemRect(s, index, LVIR_BOUNDS, &bounds);
  RECT visible;
  if (ViewOf(s) == View::kReport) {
    bounds.left = std::min<LONG>(bounds.left, area.left);
    bounds.right = std::max<LONG>(bounds.right, area.right);
  }
  if (!IntersectRect(&visible, &bounds, &area)) return;
  ItemRect(s, index, LVIR_BOUNDS, &bounds);
  ItemLook look;
  look.view = Resolve(s, index, 0, LVIF_TEXT | LVIF_IMAGE | LVIF_STATE);
  if (!s.alive) return;
  const DWORD style = StyleOf(s);
  look.selected = (look.view.state & LVIS_SELECTED) != 0;
  const bool drop = (look.view.state & LVIS_DROPHILITED) != 0;
  look.focusCue = s.focused && (look.view.state & LVIS_FOCUSED);
  const COLORREF back = Background(s);
  look.normal =
      Colors{ColorOr(s.textColor, COLOR_WINDOWTEXT), s.textBkColor == CLR_DEFAULT ? back : s.textBkColor};

  NMLVCUSTOMDRAW cd{};
  cd.nmcd.hdc = dc;
  cd.nmcd.rc = bounds;
  cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
  cd.nmcd.uItemState = (look.selected ? CDIS_SELECTED : 0) | (look.focusCue ? CDIS_FOCUS : 0);
  cd.nmcd.lItemlParam = s.items[static_cast<size_t>(index)].param;
  cd.clrText = look.normal.text;
  cd.clrTextBk = look.normal.back;
  LRESULT itemResult = CDRF_DODEFAULT;
  SavedDc saved(dc);
  if (pre & CDRF_NOTIFYITEMDRAW) {
    itemResult = SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPREPAINT);
    if (!s.alive) return;
    if (itemResult & CDRF_SKIPDEFAULT) {
      if (itemResult & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPOSTPAINT);
      return;
    }
    if (!(itemResult & CDRF_NEWFONT)) SelectObject(dc, FontOf(s));
    look.normal = Colors{cd.clrText, cd.clrTextBk};
    // A handler clears CDIS_SELECTED to draw a selected item in its own colours.
    look.selected = (cd.nmcd.uItemState & CDIS_SELECTED) != 0;
  }
  look.highlight = (look.selected && (s.focused || (style & LVS_SHOWSELALWAYS))) || drop;
  look.chosen = look.highlight ? HighlightColors(s, look.view) : look.normal;
  switch (ViewOf(s)) {
    case View::kReport:
      PaintReportItem(s, dc, index, look, itemResult, cd, area);
      break;
    case View::kIcon:
      DrawIconItem(s, dc, index, look);
      break;
    default:
      DrawRowItem(s, dc, index, look, bounds, false);
      break;
  }
  if (!s.alive) return;
  if (itemResult & CDRF_NOTIFYPOSTPAINT) {
    cd.nmcd.rc = bounds;
    cd.iSubItem = 0;
    SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPOSTPAINT);
  }
}

void PaintGridLines(ListViewState& s, HDC dc, const RECT& area) {
  const RECT client = ClientArea(s);
  const COLORREF color = GetSysColor(COLOR_3DLIGHT);
  const int h = RowHeight(s);
  for (int y = client.top + h - 1; y < area.bottom; y += h)
    if (y >= area.top) FillSolid(dc, RECT{area.left, y, area.right, y + 1}, color);
  for (int column : ColumnOrder(s)) {
    int left = 0;
    int right = 0;
    if (ColumnSpan(s, column, &left, &right) && right - 1 >= area.left && right - 1 < area.right)
      FillSolid(dc, RECT{right - 1, std::max(area.top, client.top), right, area.bottom}, color);
  }
}

}  // namespace

void Paint(ListViewState& s, HDC dc, const RECT& area) {
  EnsureLayout(s);
  const COLORREF back = Background(s);
  if (back != CLR_NONE) FillSolid(dc, area, back);
  Selected font(dc, FontOf(s));
  RECT client;
  GetClientRect(s.hwnd, &client);
  NMLVCUSTOMDRAW cd{};
  cd.nmcd.hdc = dc;
  cd.nmcd.rc = client;
  LRESULT pre = SendCustomDraw(s, &cd.nmcd, CDDS_PREPAINT);
  if (!s.alive) return;
  if (!(pre & CDRF_SKIPDEFAULT)) {
    RECT items = area;
    const RECT list = ClientArea(s);
    items.top = std::max(items.top, list.top);
    // In the report view, draw under the header only what shows below it.
    SavedDc saved(dc);
    if (ViewOf(s) == View::kReport) IntersectClipRect(dc, list.left, list.top, list.right, list.bottom);
    int first = 0;
    int last = -1;
    VisibleRange(s, items, &first, &last);
    for (int i = first; i <= last && s.alive && i < Count(s); ++i) PaintItem(s, dc, i, pre, items);
    if (!s.alive) return;
    if (ViewOf(s) == View::kReport && (s.exStyle & LVS_EX_GRIDLINES)) PaintGridLines(s, dc, items);
  }
  if (pre & CDRF_NOTIFYPOSTPAINT) {
    cd.nmcd.rc = client;
    SendCustomDraw(s, &cd.nmcd, CDDS_POSTPAINT);
  }
}

HIMAGELIST CreateDragImage(ListViewState& s, int index, POINT* upperLeft) {
  if (!Valid(s, index)) return nullptr;
  RECT icon;
  RECT label;
  ItemRect(s, index, LVIR_ICON, &icon);
  ItemRect(s, index, LVIR_LABEL, &label);
  const ItemView view = Resolve(s, index, 0, LVIF_TEXT | LVIF_IMAGE);
  if (!s.alive) return nullptr;
  const bool iconView = ViewOf(s) == View::kIcon;
  if (!iconView)
    label.right = std::min<LONG>(label.right, label.left + StringWidth(s, view.text) + 2 * kTextPad);
  RECT bounds;
  UnionRect(&bounds, &icon, &label);
  const int width = std::max<int>(1, bounds.right - bounds.left);
  const int height = std::max<int>(1, bounds.bottom - bounds.top);
  // Drawn on a key colour that becomes the mask; the label keeps its background so the text has
  // no fringe of the key colour.
  constexpr COLORREF kKey = RGB(255, 0, 254);
  Picture canvas(width, height, gdi::PixelFromColor(kKey));
  HBITMAP bitmap = MakeBitmap(canvas);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetViewportOrgEx(dc, -bounds.left, -bounds.top, nullptr);
  {
    Selected font(dc, FontOf(s));
    HIMAGELIST images = iconView ? s.normalImages : s.smallImages;
    DrawImage(images, view.image, dc, icon, view.state & LVIS_OVERLAYMASK, false, CLR_NONE);
    RECT text = label;
    if (iconView) {
      RECT measure{label.left + kTextPad, label.top, label.right - kTextPad, label.top};
      DrawText(dc, view.text.c_str(), static_cast<int>(view.text.size()), &measure,
               DT_CENTER | DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
      const int w = std::min<int>(measure.right - measure.left, label.right - label.left - 2 * kTextPad);
      const int cx = (label.left + label.right) / 2;
      text = RECT{cx - w / 2 - kTextPad, label.top + 1, cx + (w + 1) / 2 + kTextPad,
                  std::min<LONG>(label.bottom, label.top + 1 + measure.bottom - measure.top)};
    }
    if (!view.text.empty()) {
      FillSolid(dc, text, ColorOr(s.bkColor, COLOR_WINDOW));
      RECT inner{text.left + kTextPad, text.top, text.right - kTextPad, text.bottom};
      DrawLabel(dc, view.text, inner,
                iconView ? (DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS)
                         : (DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS),
                ColorOr(s.textColor, COLOR_WINDOWTEXT));
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (list) ImageList_AddMasked(list, bitmap, kKey);
  DeleteObject(bitmap);
  if (upperLeft) *upperLeft = POINT{bounds.left, bounds.top};
  return list;
}

}  // namespace pictavo::comctl::detail::listview
