// The menu of the main window's menu bar and of the organize page's context menus: it loads an
// ordinary menu resource and turns every item of every popup into an owner-drawn item carrying a
// CIconMenuItem record (text, image, flags); item images come from toolbar resources by command
// id and live in one image list shared by every menu of the class. The menu-bar items stay plain.
//
// The owner window forwards:
//   WM_MEASUREITEM (ODT_MENU)   -> MeasureItem (popup items: IsOwnMenuHandle of the itemID)
//   WM_DRAWITEM                 -> the framework calls DrawItem of the popup's CIconMenu object
//   WM_INITMENUPOPUP (not the system menu), after the command-UI update, when IsOwnMenu holds
//                               -> UpdateMenu, which re-reads the popup's items
//   WM_MENUCHAR when IsOwnMenu holds -> FindKeyboardShortcut
//
// UI thread only; the class-wide tables live for the whole process and are not locked.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Menu.h"

// The record behind one owner-drawn item (its item data).
struct CIconMenuItem {
  CIconMenuItem();
  ~CIconMenuItem();
  CIconMenuItem(const CIconMenuItem&) = delete;
  CIconMenuItem& operator=(const CIconMenuItem&) = delete;

  void SetAnsiText(LPCSTR text);          // CP_ACP to wide
  CString GetAnsiText() const;            // wide to CP_ACP
  void SetWideText(const wchar_t* text);  // copies

  wchar_t* text = nullptr;    // owned; label, then TAB and shortcut where there is one
  int ownImageIndex = -1;     // always -1 here: images come from the class-wide list
  int globalImageIndex = -1;  // slot in the class image list; -1 = no image
  int ownImageOffset = -1;
  UINT flags = 0;                   // MF_ flags of the item
  UINT_PTR commandId = 0;           // command id; for a popup item its HMENU
  BOOL sync = FALSE;                // taken during SyncPopup
  CImageList* ownImages = nullptr;  // owned
  void* context = nullptr;
};

// OS type codes (DetectOSType): 0-4 the 9x family, 5 NT 4, 6 2000, 7 XP, 1 any other NT version.
int DetectOSType();
void InitOSType();
int GetOSType();
BOOL IsWin32OSType();   // OS type above 1
BOOL IsClassicTheme();  // the current theme is "Windows Classic.theme"; asked once per process
BOOL IsThemedXP();      // OS type 7 and not the classic theme
BOOL IsFlatStyle();     // the draw style for the current theme state is the flat painter
// Each channel x becomes x + f * (255 - x) (Lighten) or x - f * x (Darken), truncated, when
// 0 < f <= 1; otherwise c is returned unchanged. LightenColor(RGB(0, 100, 255), 0.5) = RGB(127, 177, 255).
COLORREF LightenColor(COLORREF c, double f);
COLORREF DarkenColor(COLORREF c, double f);
// Palette entries of a packed DIB header: biClrUsed, else 2, 16 or 256 for 1, 4, 8 bits, else 0.
int GetDibColorCount(const BITMAPINFOHEADER& header);
// Loads a 16-colour bitmap resource with its standard greys mapped to the current system colours
// (black to COLOR_BTNTEXT, grey to COLOR_BTNSHADOW, silver to COLOR_BTNFACE, white to
// COLOR_BTNHIGHLIGHT). NULL when the resource is missing or not such a bitmap.
HBITMAP LoadSysColorBitmapResource(HINSTANCE instance, LPCSTR name);

class CIconMenu : public CMenu {
  DECLARE_DYNAMIC(CIconMenu)

 public:
  CIconMenu();
  ~CIconMenu() override;

  // Builds the menu from a menu resource: popup items owner-drawn, menu-bar items plain.
  virtual BOOL LoadMenu(UINT nIDResource);
  virtual BOOL LoadMenu(LPCTSTR lpszResourceName);
  // Frees this menu, its sub-menu objects and every record, then the menu itself.
  virtual BOOL DestroyMenu();
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
  // Classic painter on a palette-based DC or when the flat style is off; flat painter otherwise.
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  // Appends an owner-drawn item (id 0: a separator; MF_POPUP: id is the popup's handle). With an
  // image resource >= 0 the command's image is taken from that toolbar resource; below 0 the
  // command keeps whatever image the class list already has for it.
  BOOL AppendItem(const wchar_t* lpszText, UINT nFlags, UINT_PTR nID, int nImageResource);
  // Gives every item with command nID the text (when not NULL) and image nImage of `pImages`.
  BOOL ModifyItem(const wchar_t* lpszText, UINT nID, CImageList* pImages, int nImage);
  BOOL ModifyItem(LPCSTR lpszText, UINT nID, CImageList* pImages, int nImage);
  // Item images of every command of this menu that a button of the toolbar resource carries.
  BOOL LoadToolbar(UINT nToolbarID);
  // Mask colour of the images added from now on (the main window passes white).
  void SetBitmapBackground(COLORREF color);

  // Text of the record at a position (MF_BYPOSITION) or of the first item with a command.
  BOOL GetMenuText(UINT nIDOrPos, CString& text, UINT nFlags);
  // Stores the text in the record; the item shows it at its next drawing.
  BOOL SetMenuText(UINT nIDOrPos, LPCSTR lpszText, UINT nFlags);
  CMenu* GetSubMenu(int nPos) const;

  static BOOL IsOwnMenu(CMenu* pMenu);
  static BOOL IsOwnMenuHandle(HMENU hMenu);
  static void UpdateMenu(CIconMenu* pMenu);
  // WM_MENUCHAR: MAKELRESULT(position, MNC_EXECUTE) of the first item whose text has "&" and the
  // typed character (either case), else 0.
  static LRESULT FindKeyboardShortcut(UINT nChar, UINT nFlags, CIconMenu* pMenu);

  // The two painters (the icon menu painting); public so a window can force a look.
  void DrawItemFlat(LPDRAWITEMSTRUCT lpDIS);
  void DrawItemClassic(LPDRAWITEMSTRUCT lpDIS);

  int GetRecordCount() const { return static_cast<int>(m_items.GetSize()); }
  CIconMenuItem* GetRecord(int nPos) const;

  // Class-wide image list and its command table (slots of a command: base, faded, shadow, grey).
  static CImageList* GetGlobalImages();
  static int GetGlobalImageCount();
  static UINT GetGlobalImageCommand(int nSlot);
  static BOOL HasImageVariants(int nSlot);

  // Image helpers of the painters.
  static void RenderImage(CDC* pDC, CImageList* pImages, int nImage, CBitmap& out);
  static void FadeBitmap(CBitmap& bitmap);
  static void ShadowBitmap(CBitmap& bitmap);
  static void GreyBitmap(CBitmap& bitmap, COLORREF background);
  static void ReplaceGreyBackground(CBitmap& bitmap);
  static void DrawEmbossed(CDC* pDC, int x, int y, int cx, int cy, CBitmap* pBitmap, COLORREF background);
  static void DrawGreyed(CDC* pDC, int x, int y, int cx, int cy, CBitmap* pBitmap, COLORREF background);
  static void DrawDisabledMono(HDC hDC, int x, int y, int cx, int cy, HBITMAP hBitmap, int xSrc, int ySrc,
                               COLORREF background);
  static void DrawRadioDot(CDC* pDC, int x, int y, COLORREF color);
  static void DrawCheckMark(CDC* pDC, int x, int y, COLORREF color, BOOL bThin);
  static void DrawClassicCheck(CDC* pDC, RECT rc, BOOL bSelected, BOOL bRadio);
  static void DrawFlatCheck(CDC* pDC, RECT rc, BOOL bRadio, COLORREF highlight, BOOL bSelected);

 protected:
  // Re-reads the items of the menu after the command-UI update changed them.
  void SyncPopup();
  void SyncBarItems();
  int GetBarItemOffset();
  void AlignShortcuts();
  // Depth first: the menu and position of the first item with the command, skipping `exclude`.
  struct ItemPlace {
    CIconMenu* menu = nullptr;
    int position = -1;
  };
  ItemPlace FindCommand(UINT nID);
  ItemPlace FindCommandExcluding(UINT nID, const CArray<ItemPlace, const ItemPlace&>& exclude);
  CIconMenuItem* TakeUnusedRecord(UINT_PTR nID);
  void DeleteUnusedRecords();
  CIconMenuItem* CreateItemAt(int nPos, const wchar_t* lpszText, UINT nFlags, UINT_PTR nID);
  BOOL AddImages(CImageList& list, UINT nResource);
  static int FindGlobalImage(UINT nID);
  static int AddGlobalImage(CImageList* pImages, int nImage, UINT nID);
  static BOOL GetToolbarImageIndex(UINT nToolbarID, UINT nID, int& nImage);

 private:
  friend struct IconMenuAccess;
  CPtrArray m_items;     // CIconMenuItem*, owned, in menu order
  CPtrArray m_subMenus;  // HMENU of the popups this menu created
  COLORREF m_crBitmapBackground = RGB(192, 192, 192);
  BOOL m_bBitmapBackground = FALSE;
  BOOL m_bEmbossedDisabled = FALSE;
  CImageList* m_pCheckmarks = nullptr;
  BOOL m_bCheckmarksShared = FALSE;
  int m_nSelectedCheckmark = -1;
  int m_nUnselectedCheckmark = -1;
  BOOL m_bIconMode = FALSE;
  BOOL m_bLoadedFromResource = FALSE;
};
