#include "modules/xml/DVDMenu.h"

#include <algorithm>
#include <filesystem>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"

using pictavo::menu::Align;
using pictavo::menu::FocusTarget;
using pictavo::menu::MenuTemplate;
using pictavo::menu::TextOverride;
using pictavo::menu::TextStyle;

namespace {

constexpr int kMinScreenSide = 16;
constexpr int kMaxScreenSide = 4096;

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(pictavo::path::ResolveDataPath(path), error);
}

}  // namespace

CDVDMenu::CDVDMenu() : m_renderer(std::make_unique<pictavo::menu::MenuRenderer>()) {}

CDVDMenu::~CDVDMenu() {
  ClearObjects();
  if (m_mask) DeleteObject(m_mask);
}

void CDVDMenu::SetBasePath(const CString& strPath) {
  std::lock_guard lock(m_screen.lock);
  m_basePath = strPath.Str();
}

std::string CDVDMenu::ResolvePicture(const Loaded& loaded, const std::string& name) const {
  if (pictavo::path::IsAbsolute(name)) return Exists(name) ? pictavo::path::ToNative(name) : std::string();
  const std::string folders[] = {std::string(pictavo::path::Folder(loaded.path)), m_basePath};
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string candidate =
        pictavo::path::Join(pictavo::path::Join(folder, loaded.menu.folder), pictavo::path::ToNative(name));
    if (Exists(candidate)) return pictavo::path::ResolveDataPath(candidate);
  }
  return {};
}

BOOL CDVDMenu::SetTemplateXMLFile(LPCTSTR lpszPath) {
  std::lock_guard lock(m_screen.lock);
  const std::string path = lpszPath ? lpszPath : "";
  std::string error;
  auto parsed = pictavo::menu::ReadMenuTemplate(path, error);
  if (!parsed) {
    m_templateError = path + ": " + error;
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  Loaded loaded{std::move(*parsed), path, {}};
  if (!loaded.menu.background.image.empty()) {
    loaded.backgroundImage = ResolvePicture(loaded, loaded.menu.background.image);
    if (loaded.backgroundImage.empty()) {
      m_templateError = path + ": background picture \"" + loaded.menu.background.image + "\" not found";
      SetLastError(ERROR_FILE_NOT_FOUND);
      return FALSE;
    }
  }
  m_template = std::move(loaded);
  m_templateError.clear();
  m_renderer->Release();
  ClearObjects();
  m_pageCount = 0;
  m_currentPage = 0;
  return TRUE;
}

void CDVDMenu::ChangeTemplate(LPCTSTR lpszPath) {
  std::lock_guard lock(m_screen.lock);
  if (SetTemplateXMLFile(lpszPath)) ParseMenu(0);
}

CString CDVDMenu::GetXMLFile() const {
  std::lock_guard lock(m_screen.lock);
  return m_template ? CString(m_template->path) : CString();
}

CString CDVDMenu::GetTemplateError() const {
  std::lock_guard lock(m_screen.lock);
  return CString(m_templateError);
}

void CDVDMenu::SetMenuContent(const pictavo::menu::MenuContent& content) {
  std::lock_guard lock(m_screen.lock);
  m_content = content;
}

void CDVDMenu::ProjectDataChanged() {
  ParseMenu(0);
}

void CDVDMenu::SetStatus(int nStatus) {
  m_status = nStatus;
}

int CDVDMenu::GetStatus() const {
  return m_status;
}

BOOL CDVDMenu::ParseMenu(int nMode) {
  std::lock_guard lock(m_screen.lock);
  if (!m_template) {
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
  }
  const int slots = static_cast<int>(m_template->menu.slots.size());
  const int pages = std::max<int>(1, (static_cast<int>(m_content.albums.size()) + slots - 1) / slots);
  return ParsePage(std::clamp(m_currentPage, 0, pages - 1));
}

BOOL CDVDMenu::ParsePage(int nPage) {
  if (m_status != 0) {
    SetLastError(ERROR_OPERATION_ABORTED);
    return FALSE;
  }
  std::lock_guard lock(m_screen.lock);
  if (!m_template) {
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
  }
  if (!LayoutPage(nPage)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

void CDVDMenu::ClearObjects() {
  if (m_objects) {
    for (POSITION pos = m_objects->GetHeadPosition(); pos;) delete m_objects->GetNext(pos);
    m_objects.reset();
  }
  m_albumFocus.clear();
  m_previousButton = m_nextButton = nullptr;
}

bool CDVDMenu::LayoutPage(int page) {
  const MenuTemplate& t = m_template->menu;
  const pictavo::menu::MenuContent& content = m_content;
  const int slots = static_cast<int>(t.slots.size());
  const int albums = static_cast<int>(content.albums.size());
  const int pages = std::max(1, (albums + slots - 1) / slots);
  if (page < 0 || page >= pages) return false;

  ClearObjects();
  m_objects = std::make_unique<CObList>();
  m_pageCount = pages;
  m_currentPage = page;

  const auto styleOf = [](const std::optional<TextOverride>& user, const TextStyle& fallback) {
    return user ? user->style : fallback;
  };
  const auto placeOf = [](const std::optional<TextOverride>& user) -> const POINT* {
    return user && user->position ? &*user->position : nullptr;
  };

  if (content.showTitle) {
    const std::string& title = content.title.empty() ? t.sampleTitle : content.title;
    m_objects->AddTail(new CMenuTitleText(m_screen, CString(title), styleOf(content.titleText, t.title.style),
                                          t.title.rect, t.title.align, placeOf(content.titleText)));
  }
  for (int slot = 0; slot < slots && page * slots + slot < albums; ++slot) {
    const int album = page * slots + slot;
    const pictavo::menu::AlbumSlot& place = t.slots[slot];
    const pictavo::menu::AlbumEntry& entry = content.albums[album];
    FocusTarget target;
    if (content.showThumbnails) {
      auto* thumbnail = new CMenuThumbnail(m_screen, album, place.thumbnail);
      m_objects->AddTail(thumbnail);
      target.thumbnail = thumbnail;
    }
    if (content.showAlbumTitles) {
      auto* text = new CMenuAlbumText(m_screen, album, CString(entry.name), styleOf(entry.text, t.albumText),
                                      place.text, t.albumAlign, placeOf(entry.text));
      m_objects->AddTail(text);
      target.text = text;
    }
    if (content.showAlbumIndex) {
      CString number;
      number.Format("%d", album + 1);
      const RECT room{place.index.x, place.index.y, pictavo::menu::kDesignWidth,
                      pictavo::menu::kDesignHeight};
      auto* index = new CMenuText(m_screen, number, t.indexText, room, Align::kLeft, &place.index);
      m_objects->AddTail(index);
      if (!target.text) target.text = index;
    }
    m_albumFocus.push_back(target);
  }
  if (t.pageIndex && content.showPageIndex && pages > 1) {
    CString number;
    number.Format("%d / %d", page + 1, pages);
    m_objects->AddTail(
        new CMenuText(m_screen, number, t.pageIndex->style, t.pageIndex->rect, t.pageIndex->align));
  }
  if (page > 0) {
    auto* button = new CMenuButton(m_screen, CMenuButton::kPreviousPage, t.buttons[0].rect);
    m_objects->AddTail(button);
    m_previousButton = button;
  }
  if (page < pages - 1) {
    auto* button = new CMenuButton(m_screen, CMenuButton::kNextPage, t.buttons[1].rect);
    m_objects->AddTail(button);
    m_nextButton = button;
  }
  return true;
}

int CDVDMenu::GetPageCount() const {
  std::lock_guard lock(m_screen.lock);
  return m_pageCount;
}

int CDVDMenu::GetCurrentPage() const {
  std::lock_guard lock(m_screen.lock);
  return m_currentPage;
}

BOOL CDVDMenu::SetCurrentPage(int nPage) {
  return ParsePage(nPage);
}

int CDVDMenu::GetMaxAlbumCountPerPage() const {
  std::lock_guard lock(m_screen.lock);
  return m_template ? static_cast<int>(m_template->menu.slots.size()) : 0;
}

void CDVDMenu::GetCurrentPageData(int& nAlbumCount, int& bHasPrevious, int& bHasNext) const {
  std::lock_guard lock(m_screen.lock);
  nAlbumCount = static_cast<int>(m_albumFocus.size());
  bHasPrevious = m_previousButton != nullptr;
  bHasNext = m_nextButton != nullptr;
}

CObList* CDVDMenu::GetObjectPtrList() {
  std::lock_guard lock(m_screen.lock);
  return m_objects.get();
}

void CDVDMenu::SetTVScreenSize(int nWidth, int nHeight, BOOL bPAL) {
  std::lock_guard lock(m_screen.lock);
  m_screen.width = std::clamp(nWidth, kMinScreenSide, kMaxScreenSide);
  m_screen.height = std::clamp(nHeight, kMinScreenSide, kMaxScreenSide);
  m_pal = bPAL != FALSE;
}

int CDVDMenu::GetTotalFrame() const {
  std::lock_guard lock(m_screen.lock);
  return m_template ? m_template->menu.seconds * (m_pal ? 25 : 30) : 0;
}

BOOL CDVDMenu::DrawFrame(HDC hDC, int nFrame, int nFlags) {
  std::lock_guard lock(m_screen.lock);
  if (!hDC || !m_template) {
    SetLastError(hDC ? ERROR_INVALID_FUNCTION : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const int total = m_template->menu.seconds * (m_pal ? 25 : 30);
  const int frame = ((nFrame % total) + total) % total;
  const double phase = (nFlags & kDrawStill) ? 0.0 : static_cast<double>(frame) / total;
  return m_renderer->DrawPage(hDC, m_template->menu, m_screen, m_objects.get(), phase,
                              m_template->backgroundImage);
}

BOOL CDVDMenu::Draw(HDC hDC, int nFlags) {
  return DrawFrame(hDC, 0, nFlags | kDrawStill);
}

HBITMAP CDVDMenu::GetButtonMaskBitmap(int nIndex) {
  std::lock_guard lock(m_screen.lock);
  if (m_mask) {
    DeleteObject(m_mask);
    m_mask = nullptr;
  }
  if (!m_template || !m_objects || nIndex < 0) return nullptr;
  const int albums = static_cast<int>(m_albumFocus.size());
  FocusTarget target;
  if (nIndex < albums)
    target = m_albumFocus[nIndex];
  else if (nIndex == albums && m_previousButton)
    target.button = m_previousButton;
  else if (nIndex == albums + 1 && m_nextButton)
    target.button = m_nextButton;
  else
    return nullptr;
  m_mask = m_renderer->DrawMask(m_template->menu, m_screen, target).release();
  return m_mask;
}

void CDVDMenu::StopPlaying() {
  std::lock_guard lock(m_screen.lock);
  m_renderer->Release();
  if (m_mask) {
    DeleteObject(m_mask);
    m_mask = nullptr;
  }
}
