// The objects of a disc-menu page, as CDVDMenu::GetObjectPtrList hands them out: texts (the
// menu title, album titles and the plain numbers), album thumbnails and the page buttons.
// Callers tell them apart by run-time class. Rectangles and positions are in the menu's TV
// screen units (SetTVScreenSize); the objects belong to the menu and live until its next layout.
#pragma once

#include <mutex>
#include <string>

#include "modules/xml/MenuTemplate.h"
#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/base/Object.h"

namespace pictavo::menu {

// What every object of one menu shares: the screen it is shown on, and the lock that keeps a
// drawing thread from seeing an object half changed.
struct MenuScreen {
  mutable std::recursive_mutex lock;  // guards the fields below and every object of the menu
  int width = kDesignWidth;
  int height = kDesignHeight;

  int ToTvX(int x) const;
  int ToTvY(int y) const;
  int FromTvX(int x) const;
  int FromTvY(int y) const;
  CRect ToTv(const RECT& design) const;
};

}  // namespace pictavo::menu

class CMenuObject : public CObject {
  DECLARE_DYNAMIC(CMenuObject)
 public:
  ~CMenuObject() override = default;
  // The area the object covers on the screen.
  virtual CRect GetBounds() const = 0;

 protected:
  explicit CMenuObject(const pictavo::menu::MenuScreen& screen) : m_screen(screen) {}
  const pictavo::menu::MenuScreen& m_screen;
};

class CMenuText : public CMenuObject {
  DECLARE_DYNAMIC(CMenuText)
 public:
  // A text placed by `align` inside `box` (menu units), or at `position` when one is given;
  // a text wider than the box is shortened with an ellipsis.
  CMenuText(const pictavo::menu::MenuScreen& screen, const CString& text,
            const pictavo::menu::TextStyle& style, const RECT& box, pictavo::menu::Align align,
            const POINT* position = nullptr);

  CRect GetBounds() const override { return GetTextRect(); }
  // Where the text is drawn, its shadow included.
  CRect GetTextRect() const;
  CPoint GetTextPosition() const;
  // Moves the text; from then on it stays where it was put.
  void SetTextPosition(POINT point);

  CString GetText() const;
  void SetText(LPCTSTR lpszText);
  CString GetFontFaceName() const;
  // The line height in menu units of the 768 x 576 screen.
  int GetFontSize() const;
  COLORREF GetFontColor() const;
  BOOL HasShadow() const;
  int GetShadowSize() const;
  COLORREF GetShadowColor() const;
  // An empty face keeps the current one; sizes are kept within 1..500 (shadow 1..100).
  void SetFont(LPCTSTR lpszFace, int nSize, COLORREF color);
  void SetShadow(BOOL bShadow);
  void SetShadowFont(COLORREF color, int nSize);

  // For drawing, with the screen's lock held: the text as shown (perhaps shortened), its style
  // and its top-left corner in menu units.
  const std::string& ShownText() const { return m_shown; }
  const pictavo::menu::TextStyle& Style() const { return m_style; }
  POINT DesignPosition() const { return m_position; }

 private:
  // Fits the text to the box and places it (unless it was put somewhere); lock held.
  void Relayout();

  CString m_text;
  std::string m_shown;
  pictavo::menu::TextStyle m_style;
  RECT m_box;
  pictavo::menu::Align m_align;
  bool m_placed;       // the position was given, not derived from the box
  POINT m_position{};  // top-left, menu units
  SIZE m_size{};       // of the shown text with its shadow, menu units
};

class CMenuTitleText : public CMenuText {
  DECLARE_DYNAMIC(CMenuTitleText)
 public:
  using CMenuText::CMenuText;
};

class CMenuAlbumText : public CMenuText {
  DECLARE_DYNAMIC(CMenuAlbumText)
 public:
  CMenuAlbumText(const pictavo::menu::MenuScreen& screen, int nAlbumIndex, const CString& text,
                 const pictavo::menu::TextStyle& style, const RECT& box, pictavo::menu::Align align,
                 const POINT* position = nullptr)
      : CMenuText(screen, text, style, box, align, position), m_nAlbumIndex(nAlbumIndex) {}
  // The album's index in the project (not on the page).
  int GetAlbumIndex() const { return m_nAlbumIndex; }

 private:
  int m_nAlbumIndex;
};

class CMenuThumbnail : public CMenuObject {
  DECLARE_DYNAMIC(CMenuThumbnail)
 public:
  CMenuThumbnail(const pictavo::menu::MenuScreen& screen, int nAlbumIndex, const RECT& rect)
      : CMenuObject(screen), m_nAlbumIndex(nAlbumIndex), m_rect(rect) {}
  CRect GetBounds() const override { return GetRect(); }
  CRect GetRect() const;
  // The album's index in the project.
  int GetIndex() const { return m_nAlbumIndex; }
  RECT DesignRect() const { return m_rect; }

 private:
  int m_nAlbumIndex;
  RECT m_rect;  // menu units
};

class CMenuButton : public CMenuObject {
  DECLARE_DYNAMIC(CMenuButton)
 public:
  static constexpr int kPreviousPage = 0;
  static constexpr int kNextPage = 1;

  CMenuButton(const pictavo::menu::MenuScreen& screen, int nButtonID, const RECT& rect)
      : CMenuObject(screen), m_nButtonID(nButtonID), m_rect(rect) {}
  CRect GetBounds() const override { return GetRect(); }
  CRect GetRect() const;
  // 0 previous page, 1 next page.
  int GetButtonID() const { return m_nButtonID; }
  RECT DesignRect() const { return m_rect; }

 private:
  int m_nButtonID;
  RECT m_rect;  // menu units
};
