// The objects placed on a slide: texts (CDVDImageText, sprite type 1) and clip art
// (CDVDImageProps, sprite type 2). Positions and sizes are kept in a reference frame 768 units
// wide (768 x 576 for 4:3); the editor scales them by its factor, frame width / 768.
#pragma once

#include "modules/data/TextRecords.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/base/Object.h"
#include "platform/gdi/GdiTypes.h"

class CDVDImage;
class CTextMacro;

namespace Gdiplus {
class Graphics;
}

#define DVD_SPRITE_TEXT 1
#define DVD_SPRITE_PROPS 2

// Where an object appears.
#define DVD_SPRITE_RANGE_SLIDE 0
#define DVD_SPRITE_RANGE_ALBUM 1

class CDVDImageSprite : public CObject {
  DECLARE_DYNAMIC(CDVDImageSprite)

 public:
  ~CDVDImageSprite() override = default;

  int GetSpriteType() const { return m_nSpriteType; }
  CDVDImage* GetImage() const { return m_pImage; }
  void SetImage(CDVDImage* image) { m_pImage = image; }

  const CPoint& Get_ptPosition() const { return m_ptPosition; }
  void Set_ptPosition(const POINT& pt) { m_ptPosition = pt; }
  const CSize& Get_szSize() const { return m_szSize; }
  void Set_szSize(const SIZE& size) { m_szSize = size; }
  int Get_srRange() const { return m_srRange; }
  void Set_srRange(int range) { m_srRange = range; }
  float Get_fFactor() const { return m_fFactor; }
  void Set_fFactor(float factor) { m_fFactor = factor > 0 ? factor : 1.0f; }

  // The object's rectangle in client pixels for a frame whose top-left corner is `origin`.
  CRect GetBoundRect(const POINT& origin) const;
  // 0 no hit, -1 inside (move), 1..8 the handles clockwise from the top-left corner. Handles are
  // offered only when `handles` is set (the selected object).
  int HitTest(const POINT& origin, const POINT& pt, BOOL handles) const;
  // Whether a point relative to the frame's origin lies on the object.
  BOOL HiTest(const POINT& pt) const;
  // The cursor for a hit code: arrows across for handles, the four-way arrow inside.
  static HCURSOR GetHandleCursor(int hitCode);
  // Half the side of a handle square, in client pixels.
  static constexpr int kHandleRadius = 4;

  // A copy for another slide (nullptr for none).
  virtual CDVDImageSprite* Clone(CDVDImage* image) const = 0;

  // Draws the object at the editor's scale (Get_fFactor) into a DC whose frame starts at
  // `origin`, and the tracker: 0 none, 1 selected (frame and the eight handles), 2 being resized
  // (a dotted frame only). A text shows its converted text (its text when that is empty).
  void Draw(HDC dc, const POINT& origin, int tracker) const;
  // Draws the object into a frame of `factor` pixels per reference unit (frame width / 768),
  // placed from the frame's top-left corner. A text expands its macros with `macros` when given.
  // FALSE when there is nothing to draw (an empty text, a clip-art file that cannot be read).
  virtual BOOL DrawInto(Gdiplus::Graphics& graphics, float factor, const CTextMacro* macros) const = 0;

 protected:
  CDVDImageSprite(int type, CDVDImage* image) : m_nSpriteType(type), m_pImage(image) {}
  void CopyPlacement(const CDVDImageSprite& other);

  int m_nSpriteType;
  CDVDImage* m_pImage;  // the slide the object was made for; not owned
  CPoint m_ptPosition{0, 0};
  CSize m_szSize{0, 0};
  int m_srRange = DVD_SPRITE_RANGE_SLIDE;
  float m_fFactor = 1.0f;  // the editor's scale; not saved
};

class CDVDImageText : public CDVDImageSprite {
  DECLARE_DYNAMIC(CDVDImageText)

 public:
  explicit CDVDImageText(CDVDImage* image = nullptr);
  CDVDImageText(const CDVDImageText& other, CDVDImage* image = nullptr);

  const CString& Get_strText() const { return m_strText; }
  void Set_strText(LPCTSTR text) { m_strText = text; }
  // The text with its macros expanded, as last shown.
  const CString& Get_strConverterText() const { return m_strConverterText; }
  void Set_strConverterText(LPCTSTR text) { m_strConverterText = text; }
  const _DVDImageTextFont& GetDVDImageTextFont() const { return m_font; }
  void SetDVDImageTextFont(const _DVDImageTextFont* font);
  int GetFontSize() const { return m_font.nFontSize; }

  // Measures the shown text (the converted text, else the text) in the object's style and makes
  // that the object's size, in reference units.
  void SetTextSize();

  // The default style: Arial 36 points, white with a black shadow, centred.
  static void SetDefaultTextFontData(_DVDImageTextFont* font);
  // A point font for CFont::CreatePointFontIndirect: lfHeight in tenths of a point, the size
  // scaled by `factor`.
  static void FillLogFont(const _DVDImageTextFont* font, LOGFONT* logFont, float factor);

  CDVDImageSprite* Clone(CDVDImage* image) const override { return new CDVDImageText(*this, image); }
  BOOL DrawInto(Gdiplus::Graphics& graphics, float factor, const CTextMacro* macros) const override;

 private:
  CString m_strText;
  CString m_strConverterText;
  _DVDImageTextFont m_font;
};

class CDVDImageProps : public CDVDImageSprite {
  DECLARE_DYNAMIC(CDVDImageProps)

 public:
  explicit CDVDImageProps(CDVDImage* image = nullptr) : CDVDImageSprite(DVD_SPRITE_PROPS, image) {}
  CDVDImageProps(const CDVDImageProps& other, CDVDImage* image = nullptr);

  const CString& Get_strPathName() const { return m_strPathName; }
  void Set_strPathName(LPCTSTR path) { m_strPathName = path; }

  CDVDImageSprite* Clone(CDVDImage* image) const override { return new CDVDImageProps(*this, image); }
  // The clip art (CEMF: the program's vector pictures or any picture file) stretched over the
  // object's rectangle.
  BOOL DrawInto(Gdiplus::Graphics& graphics, float factor, const CTextMacro* macros) const override;

 private:
  CString m_strPathName;  // the clip-art picture
};

// The objects of a slide or of an album, bottom first (later elements lie on top). The array does
// not own its objects; the slide or album that holds it does.
class CDVDImageSpriteArray : public CArray<CDVDImageSprite*, CDVDImageSprite*> {
 public:
  int IndexOf(const CDVDImageSprite* sprite) const;
  // Top-most (front) or bottom-most (back); FALSE for an object not in the array.
  BOOL IsFront(const CDVDImageSprite* sprite) const;
  BOOL IsBack(const CDVDImageSprite* sprite) const;
  // One step up or down, or all the way; FALSE when the object is not in the array or cannot move.
  BOOL Forward(CDVDImageSprite* sprite);
  BOOL Backward(CDVDImageSprite* sprite);
  BOOL Front(CDVDImageSprite* sprite);
  BOOL Back(CDVDImageSprite* sprite);
  // Puts an object on top; FALSE for null or an object already in the array.
  BOOL AddNew(CDVDImageSprite* sprite);
  // Takes an object out, deleting it when `deleteIt` is set; FALSE when it is not in the array.
  BOOL Remove(CDVDImageSprite* sprite, BOOL deleteIt);
  // Deletes every object and empties the array.
  void DeleteAll();
};
