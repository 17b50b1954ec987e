// Tree view rows: which items show and where, hit tests, scrolling, and painting them with
// lines, buttons, images and the custom draw stages.
#include <algorithm>
#include <optional>

#include "platform/comctl/ImageList.h"
#include "platform/comctl/ImageListData.h"
#include "platform/comctl/TreeViewInternal.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail::treeview {
namespace {

constexpr int kButtonSize = 9;
constexpr int kLabelPad = 2;

SIZE ImageSize(HIMAGELIST list) {
  int cx = 0;
  int cy = 0;
  if (list && ImageList_GetIconSize(list, &cx, &cy)) return SIZE{cx, cy};
  return SIZE{0, 0};
}

int RootOffset(const TreeViewState& s) {
  const DWORD style = StyleOf(s);
  return ((style & TVS_LINESATROOT) && (style & (TVS_HASLINES | TVS_HASBUTTONS))) ? 1 : 0;
}

void AddRows(TreeViewState& s, Node* parent, int level) {
  for (Node* n = parent->firstChild; n; n = n->next) {
    n->row = static_cast<int>(s.rows.size());
    n->level = level;
    s.rows.push_back(n);
    if (n->state & TVIS_EXPANDED) AddRows(s, n, level + 1);
  }
}

int ClientWidth(const TreeViewState& s) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  return client.right - client.left;
}

int ContentWidth(TreeViewState& s) {
  int widest = 0;
  for (size_t i = 0; i < s.rows.size() && s.alive; ++i) {
    NodeParts parts;
    if (PartsOf(s, s.rows[i], &parts)) widest = std::max<int>(widest, parts.label.right + s.scrollX);
  }
  return widest;
}

void Clamp(TreeViewState& s) {
  const int rows = static_cast<int>(s.rows.size());
  s.scrollY = std::clamp(s.scrollY, 0, std::max(0, rows - VisibleCount(s)));
  if (StyleOf(s) & TVS_NOHSCROLL) s.scrollX = 0;
  s.scrollX = std::max(0, s.scrollX);
}

}  // namespace

void RebuildRows(TreeViewState& s) {
  if (!s.rowsDirty) return;
  s.rowsDirty = false;
  for (auto& [node, owned] : s.nodes) node->row = -1;
  s.rows.clear();
  AddRows(s, &s.root, 0);
  Clamp(s);
  UpdateScrollBars(s);
}

void InvalidateRows(TreeViewState& s) {
  s.rowsDirty = true;
  InvalidateRect(s.hwnd, nullptr, TRUE);
}

void InvalidateNode(TreeViewState& s, Node* node) {
  if (s.rowsDirty || !node || node->row < 0) {
    InvalidateRect(s.hwnd, nullptr, TRUE);
    return;
  }
  const int h = ItemHeight(s);
  RECT row{0, (node->row - s.scrollY) * h, ClientWidth(s), (node->row - s.scrollY + 1) * h};
  InvalidateRect(s.hwnd, &row, TRUE);
}

int ItemHeight(const TreeViewState& s) {
  if (s.itemHeight > 0) return s.itemHeight;
  int height = LineHeightOf(FontOf(s)) + 3;
  height = std::max(height, static_cast<int>(ImageSize(s.normalImages).cy) + 1);
  height = std::max(height, static_cast<int>(ImageSize(s.stateImages).cy) + 1);
  if (!(StyleOf(s) & TVS_NONEVENHEIGHT)) height += height & 1;
  return height;
}

int VisibleCount(const TreeViewState& s) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  return std::max(0, static_cast<int>(client.bottom - client.top) / ItemHeight(s));
}

bool PartsOf(TreeViewState& s, Node* node, NodeParts* parts) {
  RebuildRows(s);
  if (!node || node->row < 0) return false;
  const int h = ItemHeight(s);
  const int top = (node->row - s.scrollY) * h;
  const int bottom = top + h;
  const int offset = node->level + RootOffset(s);
  int x = offset * s.indent - s.scrollX;
  parts->row = RECT{0, top, std::max(ClientWidth(s), x), bottom};
  parts->button = offset > 0 ? RECT{x - s.indent, top, x, bottom} : RECT{x, top, x, bottom};
  const SIZE state = ImageSize(s.stateImages);
  parts->state = RECT{x, top, x + state.cx, bottom};
  x += state.cx;
  const SIZE icon = ImageSize(s.normalImages);
  parts->icon = RECT{x, top, x + icon.cx, bottom};
  x += icon.cx ? icon.cx + 1 : 0;
  const std::string text = Resolve(s, node, TVIF_TEXT).text;
  HFONT font = FontOf(s);
  if (node->state & TVIS_BOLD) font = BoldFontOf(font);
  const int width = TextExtent(font, text).cx + 2 * kLabelPad;
  parts->label = RECT{x, top, x + width, bottom};
  return true;
}

Node* HitTest(TreeViewState& s, POINT pt, UINT* flags) {
  RebuildRows(s);
  RECT client;
  GetClientRect(s.hwnd, &client);
  *flags = 0;
  if (pt.x < client.left) *flags |= TVHT_TOLEFT;
  if (pt.x >= client.right) *flags |= TVHT_TORIGHT;
  if (pt.y < client.top) *flags |= TVHT_ABOVE;
  if (pt.y >= client.bottom) *flags |= TVHT_BELOW;
  if (*flags) return nullptr;
  const int row = s.scrollY + pt.y / ItemHeight(s);
  if (row < 0 || row >= static_cast<int>(s.rows.size())) {
    *flags = TVHT_NOWHERE;
    return nullptr;
  }
  Node* node = s.rows[static_cast<size_t>(row)];
  NodeParts p;
  PartsOf(s, node, &p);
  if (!s.alive) return nullptr;
  if (pt.x < p.button.left)
    *flags = TVHT_ONITEMINDENT;
  else if (pt.x < p.button.right)
    *flags = ((StyleOf(s) & TVS_HASBUTTONS) && HasChildren(s, node)) ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
  else if (pt.x < p.state.right && (node->state & TVIS_STATEIMAGEMASK))
    *flags = TVHT_ONITEMSTATEICON;
  else if (pt.x < p.icon.right && pt.x >= p.state.right)
    *flags = TVHT_ONITEMICON;
  else if (pt.x < p.state.right)
    *flags = TVHT_ONITEMINDENT;
  else if (pt.x < p.label.right)
    *flags = TVHT_ONITEMLABEL;
  else
    *flags = TVHT_ONITEMRIGHT;
  return node;
}

void UpdateScrollBars(TreeViewState& s) {
  if (StyleOf(s) & TVS_NOSCROLL) return;
  SCROLLINFO v{};
  v.cbSize = sizeof v;
  v.fMask = SIF_ALL;
  const int rows = static_cast<int>(s.rows.size());
  const int page = std::max(1, VisibleCount(s));
  if (rows > page) {
    v.nMax = rows - 1;
    v.nPage = static_cast<UINT>(page);
    v.nPos = s.scrollY;
  }
  SetScrollInfo(s.hwnd, SB_VERT, &v, TRUE);
  SCROLLINFO h{};
  h.cbSize = sizeof h;
  h.fMask = SIF_ALL;
  if (!(StyleOf(s) & TVS_NOHSCROLL)) {
    const int width = ContentWidth(s);
    if (width > ClientWidth(s)) {
      h.nMax = width - 1;
      h.nPage = static_cast<UINT>(std::max(1, ClientWidth(s)));
      h.nPos = s.scrollX;
    } else {
      s.scrollX = 0;
    }
  }
  SetScrollInfo(s.hwnd, SB_HORZ, &h, TRUE);
}

void ScrollToRow(TreeViewState& s, int top, int x) {
  RebuildRows(s);
  const int oldY = s.scrollY;
  const int oldX = s.scrollX;
  s.scrollY = top;
  s.scrollX = x;
  Clamp(s);
  SCROLLINFO h{};
  h.cbSize = sizeof h;
  h.fMask = SIF_RANGE | SIF_PAGE;
  if (GetScrollInfo(s.hwnd, SB_HORZ, &h) && h.nMax > 0)
    s.scrollX = std::min(s.scrollX, std::max(0, h.nMax - static_cast<int>(h.nPage) + 1));
  else
    s.scrollX = 0;
  if (s.scrollY == oldY && s.scrollX == oldX) return;
  if (s.editor) s.editor->End(false);
  UpdateScrollBars(s);
  InvalidateRect(s.hwnd, nullptr, TRUE);
}

void MakeRowVisible(TreeViewState& s, int row) {
  const int visible = std::max(1, VisibleCount(s));
  int top = s.scrollY;
  if (row < top)
    top = row;
  else if (row >= top + visible)
    top = row - visible + 1;
  ScrollToRow(s, top, s.scrollX);
}

void OnScroll(TreeViewState& s, bool vertical, WORD code) {
  RebuildRows(s);
  const std::optional<int> pos =
      ScrolledPosition(s.hwnd, vertical, code, vertical ? s.scrollY : s.scrollX, vertical ? 1 : 16);
  if (!pos) return;
  if (vertical)
    ScrollToRow(s, *pos, s.scrollX);
  else
    ScrollToRow(s, s.scrollY, *pos);
}

namespace {

COLORREF LineColor(const TreeViewState& s) {
  return ColorOr(s.lineColor, COLOR_GRAYTEXT);
}

void DrawLines(TreeViewState& s, HDC dc, Node* node, const NodeParts& p) {
  const DWORD style = StyleOf(s);
  if (!(style & TVS_HASLINES)) return;
  const COLORREF color = LineColor(s);
  const int mid = (p.row.top + p.row.bottom) / 2;
  const bool root = node->parent == &s.root;
  if (p.button.right > p.button.left) {
    const int cx = (p.button.left + p.button.right) / 2;
    DottedLine(dc, cx, mid, p.button.right - 1, mid, color);
    // Up to the item above (or from the middle for the very first item), down to the next sibling.
    const bool first = root && !node->prev;
    DottedLine(dc, cx, first ? mid : p.row.top, cx, node->next ? p.row.bottom : mid + 1, color);
  }
  // The lines of the ancestors that have siblings below.
  int x = p.button.left - s.indent;
  for (Node* a = node->parent; a && a != &s.root; a = a->parent, x -= s.indent) {
    if (a->parent == &s.root && !RootOffset(s)) break;
    if (a->next) DottedLine(dc, x + s.indent / 2, p.row.top, x + s.indent / 2, p.row.bottom, color);
  }
}

void DrawButton(TreeViewState& s, HDC dc, Node* node, const NodeParts& p, bool hasChildren) {
  if (!(StyleOf(s) & TVS_HASBUTTONS) || !hasChildren || p.button.right <= p.button.left) return;
  const int cx = (p.button.left + p.button.right) / 2;
  const int cy = (p.row.top + p.row.bottom) / 2;
  RECT box{cx - kButtonSize / 2, cy - kButtonSize / 2, cx - kButtonSize / 2 + kButtonSize,
           cy - kButtonSize / 2 + kButtonSize};
  FillSolid(dc, box, GetSysColor(COLOR_WINDOW));
  FrameSolid(dc, box, GetSysColor(COLOR_3DSHADOW));
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
  FillSolid(dc, RECT{box.left + 2, cy, box.right - 2, cy + 1}, ink);
  if (!(node->state & TVIS_EXPANDED)) FillSolid(dc, RECT{cx, box.top + 2, cx + 1, box.bottom - 2}, ink);
}

void PaintNode(TreeViewState& s, HDC dc, Node* node, LRESULT pre) {
  NodeParts p;
  if (!PartsOf(s, node, &p)) return;
  const NodeView view = Resolve(s, node, TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN);
  if (!s.alive || !s.nodes.count(node)) return;
  const UINT state = ItemStateOf(s, node);
  const DWORD style = StyleOf(s);
  const bool selected = (state & TVIS_SELECTED) != 0;
  const bool drop = (state & TVIS_DROPHILITED) != 0;
  const bool focusCue = selected && s.focused;
  bool highlight = drop || (selected && (s.focused || (style & TVS_SHOWSELALWAYS)));
  COLORREF text = ColorOr(s.textColor, COLOR_WINDOWTEXT);
  COLORREF back = CLR_NONE;
  if (highlight) {
    const bool strong = s.focused || drop;
    text = GetSysColor(strong ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    back = GetSysColor(strong ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
  }
  NMTVCUSTOMDRAW cd{};
  cd.nmcd.hdc = dc;
  cd.nmcd.rc = p.row;
  cd.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(Handle(node));
  cd.nmcd.uItemState = (selected ? CDIS_SELECTED : 0) | (focusCue ? CDIS_FOCUS : 0);
  cd.nmcd.lItemlParam = node->param;
  cd.clrText = text;
  cd.clrTextBk = back == CLR_NONE ? ColorOr(s.bkColor, COLOR_WINDOW) : back;
  cd.iLevel = node->level;
  SavedDc saved(dc);
  LRESULT result = CDRF_DODEFAULT;
  HFONT font = (node->state & TVIS_BOLD) ? BoldFontOf(FontOf(s)) : FontOf(s);
  SelectObject(dc, font);
  if (pre & CDRF_NOTIFYITEMDRAW) {
    result = SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPREPAINT);
    if (!s.alive || !s.nodes.count(node)) return;
    if (result & CDRF_SKIPDEFAULT) {
      if (result & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPOSTPAINT);
      return;
    }
    if (!(result & CDRF_NEWFONT)) SelectObject(dc, font);
    text = cd.clrText;
    if (highlight)
      back = cd.clrTextBk;
    else if (cd.clrTextBk != ColorOr(s.bkColor, COLOR_WINDOW))
      back = cd.clrTextBk;
  }
  DrawLines(s, dc, node, p);
  DrawButton(s, dc, node, p, view.hasChildren);
  const int stateIndex = static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
  if (s.stateImages && stateIndex > 0) {
    const SIZE size = ImageSize(s.stateImages);
    ImageList_Draw(s.stateImages, stateIndex, dc, p.state.left,
                   p.row.top + (p.row.bottom - p.row.top - size.cy) / 2, ILD_TRANSPARENT);
  }
  const int image = selected ? view.selectedImage : view.image;
  if (s.normalImages && image >= 0) {
    const SIZE size = ImageSize(s.normalImages);
    UINT ilStyle = ILD_TRANSPARENT | INDEXTOOVERLAYMASK((state & TVIS_OVERLAYMASK) >> 8);
    COLORREF fg = CLR_DEFAULT;
    if (state & TVIS_CUT) {
      ilStyle |= ILD_BLEND50;
      fg = ColorOr(s.bkColor, COLOR_WINDOW);
    }
    ImageList_DrawEx(s.normalImages, image, dc, p.icon.left,
                     p.row.top + (p.row.bottom - p.row.top - size.cy) / 2, 0, 0, CLR_NONE, fg, ilStyle);
  }
  if (back != CLR_NONE) FillSolid(dc, p.label, back);
  RECT inner{p.label.left + kLabelPad, p.label.top, p.label.right - kLabelPad, p.label.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  DrawText(dc, view.text.c_str(), static_cast<int>(view.text.size()), &inner,
           DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (focusCue) DrawFocusRect(dc, &p.label);
  if (result & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(s, &cd.nmcd, CDDS_ITEMPOSTPAINT);
}

}  // namespace

void Paint(TreeViewState& s, HDC dc, const RECT& area) {
  RebuildRows(s);
  FillSolid(dc, area, ColorOr(s.bkColor, COLOR_WINDOW));
  Selected font(dc, FontOf(s));
  RECT client;
  GetClientRect(s.hwnd, &client);
  NMTVCUSTOMDRAW cd{};
  cd.nmcd.hdc = dc;
  cd.nmcd.rc = client;
  const LRESULT pre = SendCustomDraw(s, &cd.nmcd, CDDS_PREPAINT);
  if (!s.alive) return;
  if (!(pre & CDRF_SKIPDEFAULT)) {
    const int h = ItemHeight(s);
    const int first = s.scrollY + std::max(0, static_cast<int>(area.top)) / h;
    const int last = s.scrollY + std::max(0, static_cast<int>(area.bottom) - 1) / h;
    // A notification handler may change the tree: walk a copy of the rows.
    const std::vector<Node*> rows = s.rows;
    for (int row = first; row <= last && row < static_cast<int>(rows.size()) && s.alive; ++row) {
      Node* node = rows[static_cast<size_t>(row)];
      if (s.nodes.count(node)) PaintNode(s, dc, node, pre);
    }
    if (!s.alive) return;
  }
  if (pre & CDRF_NOTIFYPOSTPAINT) {
    cd.nmcd.rc = client;
    SendCustomDraw(s, &cd.nmcd, CDDS_POSTPAINT);
  }
}

HIMAGELIST CreateDragImage(TreeViewState& s, Node* node) {
  NodeParts p;
  if (!PartsOf(s, node, &p)) return nullptr;
  const NodeView view = Resolve(s, node, TVIF_TEXT | TVIF_IMAGE);
  if (!s.alive) return nullptr;
  const SIZE icon = ImageSize(s.normalImages);
  const int width = static_cast<int>(p.label.right - p.icon.left);
  const int height = std::max(static_cast<int>(p.row.bottom - p.row.top), static_cast<int>(icon.cy));
  constexpr COLORREF kKey = RGB(255, 0, 254);
  HBITMAP bitmap = MakeBitmap(Picture(width, height, gdi::PixelFromColor(kKey)));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  if (s.normalImages && view.image >= 0)
    ImageList_Draw(s.normalImages, view.image, dc, 0, (height - icon.cy) / 2, ILD_TRANSPARENT);
  RECT label{p.label.left - p.icon.left, 0, width, height};
  FillSolid(dc, label, ColorOr(s.bkColor, COLOR_WINDOW));
  {
    Selected font(dc, (node->state & TVIS_BOLD) ? BoldFontOf(FontOf(s)) : FontOf(s));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorOr(s.textColor, COLOR_WINDOWTEXT));
    RECT inner{label.left + kLabelPad, 0, label.right - kLabelPad, height};
    DrawText(dc, view.text.c_str(), static_cast<int>(view.text.size()), &inner,
             DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  HIMAGELIST list = ImageList_Create(std::max(1, width), std::max(1, height), ILC_COLOR32 | ILC_MASK, 1, 1);
  if (list) ImageList_AddMasked(list, bitmap, kKey);
  DeleteObject(bitmap);
  return list;
}

}  // namespace pictavo::comctl::detail::treeview
