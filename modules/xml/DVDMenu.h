// CDVDMenu: the disc-menu engine. It reads a menu template (format in README.md), lays the
// project's albums out on pages of the template's album entries, and draws each page, with its
// motion, at the TV screen size it is given. Page objects come out of GetObjectPtrList.
//
// Threads: the UI thread lays out and edits; a preview thread may draw at the same time. Every
// call takes the menu's lock; the object list itself is walked by its caller, on the thread that
// lays the menu out.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "modules/xml/MenuContent.h"
#include "modules/xml/MenuObjects.h"
#include "modules/xml/MenuRenderer.h"
#include "modules/xml/MenuTemplate.h"
#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/base/WinTypes.h"

class CDVDMenu {
 public:
  // DrawFrame flag: the page at rest, without its motion.
  static constexpr int kDrawStill = 1;

  CDVDMenu();
  ~CDVDMenu();
  CDVDMenu(const CDVDMenu&) = delete;
  CDVDMenu& operator=(const CDVDMenu&) = delete;

  // Template. Pictures of a template are looked up in its picture folder beside the XML file,
  // then below the base path.
  void SetBasePath(const CString& strPath);
  // Loads the template without laying out. FALSE (and the previous template kept) when it cannot
  // be read or is not a valid template: GetTemplateError says why.
  BOOL SetTemplateXMLFile(LPCTSTR lpszPath);
  // Loads the template and lays the menu out again from its first page.
  void ChangeTemplate(LPCTSTR lpszPath);
  // The path of the template in use; empty before one loaded.
  CString GetXMLFile() const;
  CString GetTemplateError() const;

  // What the menu shows; used by the next layout (ParseMenu, ProjectDataChanged).
  void SetMenuContent(const pictavo::menu::MenuContent& content);
  // Lays the menu out again from the content, staying on the current page when it still exists.
  void ProjectDataChanged();

  // A non-zero status stops layout: ParseMenu and ParsePage return FALSE until it is 0 again.
  void SetStatus(int nStatus);
  int GetStatus() const;
  // Builds the pages from the template and the content and lays out the current page. The mode
  // is 0 (the only one). FALSE without a template or with a non-zero status.
  BOOL ParseMenu(int nMode);
  // Lays out page nPage and makes it current; FALSE for a page that does not exist.
  BOOL ParsePage(int nPage);
  // Pages of the menu: one per GetMaxAlbumCountPerPage albums, at least one; 0 before layout.
  int GetPageCount() const;
  int GetCurrentPage() const;
  BOOL SetCurrentPage(int nPage);
  // Album entries on one page of the template; 0 without a template.
  int GetMaxAlbumCountPerPage() const;
  // The number of albums on the current page, and whether it has a previous-page and a
  // next-page button (1 or 0).
  void GetCurrentPageData(int& nAlbumCount, int& bHasPrevious, int& bHasNext) const;
  // The current page's objects in a fixed order (title; per album its thumbnail, title and
  // number; page number; buttons); null before a page is laid out.
  CObList* GetObjectPtrList();

  // The screen the menu is drawn on; object rectangles are in its units. With bPAL the motion
  // runs at 25 frames a second, else at 30.
  void SetTVScreenSize(int nWidth, int nHeight, BOOL bPAL);
  // Frames of one motion cycle of a page.
  int GetTotalFrame() const;
  // Draws frame nFrame of the motion (frames repeat after GetTotalFrame) of the current page at
  // the screen size, from (0, 0) of the DC. nFlags may hold kDrawStill.
  BOOL DrawFrame(HDC hDC, int nFrame, int nFlags);
  // The current page at rest.
  BOOL Draw(HDC hDC, int nFlags);
  // A screen-sized bitmap, black but for the highlight of focus entry nIndex of the current page
  // (albums 0..n-1, then the previous-page and the next-page button); null for an entry the page
  // does not have. The menu owns the bitmap; it stays valid until the next call or StopPlaying.
  HBITMAP GetButtonMaskBitmap(int nIndex);
  // Frees what drawing keeps between frames (canvas, fonts, the mask).
  void StopPlaying();

 private:
  struct Loaded {
    pictavo::menu::MenuTemplate menu;
    std::string path;             // as given
    std::string backgroundImage;  // resolved picture path, or empty
  };
  bool LayoutPage(int page);  // lock held
  void ClearObjects();        // lock held
  std::string ResolvePicture(const Loaded& loaded, const std::string& name) const;

  pictavo::menu::MenuScreen m_screen;  // its lock guards everything below
  bool m_pal = false;
  std::string m_basePath;
  std::optional<Loaded> m_template;
  std::string m_templateError;
  pictavo::menu::MenuContent m_content;
  std::atomic<int> m_status{0};
  int m_pageCount = 0;  // 0: not laid out
  int m_currentPage = 0;
  std::unique_ptr<CObList> m_objects;                    // owns its objects; null: nothing laid out
  std::vector<pictavo::menu::FocusTarget> m_albumFocus;  // the page's album entries, in order
  const CMenuButton* m_previousButton = nullptr;         // in m_objects, or null
  const CMenuButton* m_nextButton = nullptr;
  std::unique_ptr<pictavo::menu::MenuRenderer> m_renderer;
  HBITMAP m_mask = nullptr;  // owned; from the last GetButtonMaskBitmap
};
