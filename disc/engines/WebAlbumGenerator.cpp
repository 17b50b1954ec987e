#include "disc/engines/WebAlbumGenerator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "disc/engines/TemplateEngine.h"
#include "disc/engines/WebAlbumText.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "modules/xml/XMLNodeWrite.h"
#include "platform/kernel/FileOperations.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"
#include "platform/user/MessageBox.h"

namespace {

namespace path = pictavo::path;

void ShowMessageBox(HWND, LPCTSTR text) {
  MessageBox(nullptr, text, nullptr, MB_OK);
}

WebAlbumMessageHandler g_messageHandler = ShowMessageBox;  // set before a generation starts

// Boxes a template may ask for; anything else falls back to the default box.
constexpr int kLargestBox = 8192;

// One photo that made it into the web album, with the pictures written for it.
struct WebPhoto {
  CString path;     // the photo file
  CString name;     // file title of its pictures and slide page, unique in this album
  CString encoded;  // name as a URL segment
  CString label;
  int slideWidth = 0;
  int slideHeight = 0;
  int thumbWidth = 0;
  int thumbHeight = 0;
};

class Generation {
 public:
  explicit Generation(WebAlbumSettings& settings) : m_s(settings) {}
  int Run();

 private:
  void Post(UINT message, WPARAM wParam) const {
    if (m_s.hProgressWnd != nullptr) PostMessage(m_s.hProgressWnd, message, wParam, 0);
  }
  // Every end but success: the window hears that the run stopped, then the user reads why.
  int Stop(int result, const CString& message = CString()) const {
    Post(WM_WEBALBUM_STOPPED, 0);
    if (!message.IsEmpty()) {
      WriteErrorLog("Web album: %s", message.GetString());
      g_messageHandler(m_s.hProgressWnd, message);
    }
    return result;
  }
  bool Cancelled() const {
    return m_s.hCancelEvent != nullptr && WaitForSingleObject(m_s.hCancelEvent, 0) == WAIT_OBJECT_0;
  }
  CString Out(const CString& relative) const { return CString(path::Join(m_output, relative.View())); }
  CString TemplateFile(LPCTSTR name) const { return CString(path::Join(m_template, name)); }

  int MakePictures();
  bool MakePicturesOf(CDVDImage& image, const CString& name, WebPhoto& photo);
  void CopyResources() const;
  int WriteFlashAlbum();
  int WriteHtmlAlbum();
  int WriteIndexPages();
  int WriteSlidePages();
  CString IndexPageName(int page) const;
  // Finishes a page pass: writes the page or says why it cannot.
  int FinishPage(int passResult, LPCTSTR templateName, const CString& page);
  // The variables every item of an iterator sets; false when the photo file cannot be opened.
  bool SetFileFacts(const WebPhoto& photo) const;
  void SetItemNames(const WebPhoto& photo, LPCTSTR prefix) const;

  WebAlbumSettings& m_s;
  std::string m_output;    // the album's folder, native
  std::string m_template;  // the template folder, native
  std::vector<WebPhoto> m_photos;
  int m_rows = 1;
  int m_columns = 1;
  bool m_frames = false;
};

int Clamp(int value, int fallback) {
  return value > 0 && value <= kLargestBox ? value : fallback;
}

// The picture fitted into the box, keeping its proportions and never enlarged.
bool FitInto(CxImage& source, int boxWidth, int boxHeight, CxImage& out) {
  const double w = source.GetWidth();
  const double h = source.GetHeight();
  if (w <= 0 || h <= 0) return false;
  const double scale = std::min({boxWidth / w, boxHeight / h, 1.0});
  const long width = std::clamp<long>(std::lround(w * scale), 1, boxWidth);
  const long height = std::clamp<long>(std::lround(h * scale), 1, boxHeight);
  if (width == static_cast<long>(w) && height == static_cast<long>(h)) {
    out.Copy(source);
    return out.IsValid();
  }
  return source.Resample(width, height, CXIMAGE_RESAMPLE_BILINEAR, &out);
}

CString FormatFileTime(const struct tm& t, bool withTime) {
  CString text;
  if (withTime)
    text.Format("%d.%.2d.%.2d %.2d:%.2d:%.2d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                t.tm_sec);
  else
    text.Format("%d.%.2d.%.2d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  return text;
}

CString Extension(const CString& file) {
  std::string_view ext = path::Extension(file.View());
  if (!ext.empty()) ext.remove_prefix(1);
  return HtmlEscape(CString(ext));
}

void Set(LPCTSTR name, const CString& value) {
  g_templateVariables.Set(name, value);
}

void SetInt(LPCTSTR name, int value) {
  g_templateVariables.SetInt(name, value);
}

CString Lower(const CString& text) {
  CString lower = text;
  lower.MakeLower();
  return lower;
}

int Generation::Run() {
  if (m_s.pAlbum == nullptr) {
    Post(WM_WEBALBUM_PROGRESS, 0);
    return Stop(1);
  }
  m_output = path::ToNative(path::WithoutTrailingSeparator(m_s.strOutputFolder.View()));
  m_template = path::ToNative(path::WithoutTrailingSeparator(m_s.strTemplateFolder.View()));
  for (LPCTSTR folder : {"slides", "thumbs", "res"}) CDVDProject::CreateAllDirectories(Out(folder));

  Set("Encoding", "UTF-8");
  Set("ResourcePath", "res");
  Set("StylePath", "res/styles.css");
  for (LPCTSTR empty : {"Copyright", "CreatorSite", "SponsorSite", "Creator"}) Set(empty, "");
  Set("AlbumTitle", HtmlEscape(m_s.strAlbumTitle));

  if (const int result = MakePictures(); result != 0) return result;
  CopyResources();
  return m_s.nFlash != 0 ? WriteFlashAlbum() : WriteHtmlAlbum();
}

int Generation::MakePictures() {
  m_s.nSlideWidth = Clamp(m_s.nSlideWidth, 640);
  m_s.nSlideHeight = Clamp(m_s.nSlideHeight, 480);
  m_s.nThumbnailWidth = Clamp(m_s.nThumbnailWidth, 120);
  m_s.nThumbnailHeight = Clamp(m_s.nThumbnailHeight, 90);

  // Names are made unique ignoring case, so two photos called the same in different folders keep
  // a picture and a page each, also on file systems that ignore case.
  std::set<std::string> taken;
  const int count = m_s.pAlbum->GetImageCount();
  for (int i = 0; i < count; ++i) {
    if (Cancelled()) {
      Post(WM_WEBALBUM_PROGRESS, 0);
      return Stop(1);
    }
    if (CDVDImage* image = m_s.pAlbum->GetImage(i); image != nullptr) {
      CString base(path::FileTitle(image->Get_strPathName().View()));
      if (base.IsEmpty()) base = "photo";
      CString name = base;
      for (int n = 2; taken.count(Lower(name).Str()) != 0; ++n) name.Format("%s-%d", base.GetString(), n);
      WebPhoto photo;
      if (MakePicturesOf(*image, name, photo)) {
        taken.insert(Lower(name).Str());
        m_photos.push_back(std::move(photo));
      }
    }
    Post(WM_WEBALBUM_PROGRESS, static_cast<WPARAM>(100 * (i + 1) / count));
  }
  return 0;
}

bool Generation::MakePicturesOf(CDVDImage& image, const CString& name, WebPhoto& photo) {
  // A photo that does not load is left out of the pages; the others keep their own pictures.
  const COLORREF background = m_s.pAlbum->Get_clrBackground();
  CxImage loaded;
  if (!image.LoadToCxImage(&loaded, nullptr, background, 1) || !loaded.IsValid()) {
    WriteErrorLog("Web album: cannot load %s; it is left out.", image.Get_strPathName().GetString());
    return false;
  }
  CxImage slide;
  CxImage thumb;
  if (!FitInto(loaded, m_s.nSlideWidth, m_s.nSlideHeight, slide) ||
      !FitInto(loaded, m_s.nThumbnailWidth, m_s.nThumbnailHeight, thumb) ||
      !slide.Save(Out("slides/" + name + ".jpg"), CXIMAGE_FORMAT_JPG) ||
      !thumb.Save(Out("thumbs/" + name + ".jpg"), CXIMAGE_FORMAT_JPG)) {
    WriteErrorLog("Web album: cannot write the pictures of %s; it is left out.",
                  image.Get_strPathName().GetString());
    return false;
  }
  photo.path = image.Get_strPathName();
  photo.name = name;
  photo.encoded = UrlEncodeName(name);
  photo.label = image.Get_strLabel();
  photo.slideWidth = static_cast<int>(slide.GetWidth());
  photo.slideHeight = static_cast<int>(slide.GetHeight());
  photo.thumbWidth = static_cast<int>(thumb.GetWidth());
  photo.thumbHeight = static_cast<int>(thumb.GetHeight());
  return true;
}

void Generation::CopyResources() const {
  const std::string res = path::Join(m_template, "res");
  WIN32_FIND_DATA data{};
  HANDLE find = FindFirstFile(CString(path::Join(res, "*")), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
      CopyFile(CString(path::Join(res, data.cFileName)), Out(CString("res/") + data.cFileName), FALSE);
    } while (FindNextFile(find, &data));
    FindClose(find);
  }
  if (!m_s.strStyleFile.IsEmpty())
    CopyFile(CString(path::Join(path::Join(m_template, "styles"), m_s.strStyleFile.View())),
             Out("res/styles.css"), FALSE);
}

int Generation::FinishPage(int passResult, LPCTSTR templateName, const CString& page) {
  if (passResult == TEMPLATE_PASS_DAMAGED || (passResult == 0 && !EndTemplatePage())) {
    CString message;
    message.Format("The web-album template %s is damaged (%s).", templateName, g_templateError.GetString());
    return Stop(1, message);
  }
  if (passResult != 0) return passResult;
  if (!WriteTemplateOutput(page)) return Stop(1, "Cannot write the web page " + page + ".");
  g_templateOutput.Empty();
  return 0;
}

int Generation::WriteFlashAlbum() {
  if (!LoadTemplateText(TemplateFile("index.htt"))) return Stop(0, "Cannot find index.htt.");
  BeginTemplatePage(TRUE);
  if (const int r = FinishPage(RunTemplatePass(nullptr), "index.htt", Out("index.html")); r != 0) return r;

  CWyxXMLNodeWrite::InitBuffer();
  CWyxXMLNodeWrite::FillXMLFileHeader();
  {
    CWyxXMLNodeWrite root(0, "Slides", nullptr);
    root.Flush();
    for (size_t k = 0; k < m_photos.size(); ++k) {
      const WebPhoto& photo = m_photos[k];
      CWyxXMLNodeWrite node(1, "slideNode", nullptr);
      node.AddAttribute("jpegURL", "thumbs/" + photo.encoded + ".jpg");
      node.AddAttribute("xthumb", photo.thumbWidth);
      node.AddAttribute("ythumb", photo.thumbHeight);
      node.AddAttribute("d_URL", "slides/" + photo.encoded + ".jpg");
      node.AddAttribute("xslide", photo.slideWidth);
      node.AddAttribute("yslide", photo.slideHeight);
      node.AddAttribute("comm", "");
      CString info;
      info.Format("Image information %d:  %s", static_cast<int>(k), photo.path.GetString());
      node.AddAttribute("listtext", info);
      node.SetValue(photo.label);
      node.Flush();
    }
  }
  if (!CWyxXMLNodeWrite::WriteBufferToFile(Out("slides.xml"))) {
    WriteErrorLog("Web album: cannot write %s.", Out("slides.xml").GetString());
    Post(WM_WEBALBUM_STOPPED, 0);
    return -1;
  }
  Post(WM_WEBALBUM_STOPPED, 0);
  Post(WM_WEBALBUM_SUCCEEDED, 0);
  return 0;
}

CString Generation::IndexPageName(int page) const {
  CString name;
  if (page == 0)
    name = m_frames ? "index-frame.html" : "index.html";
  else
    name.Format(m_frames ? "index-frame%d.html" : "index%d.html", page + 1);
  return name;
}

bool Generation::SetFileFacts(const WebPhoto& photo) const {
  const int fd = ::open(path::ToNative(photo.path.View()).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  const bool ok = ::fstat(fd, &st) == 0;
  ::close(fd);
  if (!ok) return false;
  struct tm local {};
  localtime_r(&st.st_mtime, &local);
  Set("ImageDate", FormatFileTime(local, false));
  Set("ImageTime", FormatFileTime(local, true));
  CString size;
  size.Format("%lld", static_cast<long long>(st.st_size));
  Set("ImageSize", size);
  return true;
}

void Generation::SetItemNames(const WebPhoto& photo, LPCTSTR prefix) const {
  const CString p(prefix);
  Set("ImageFormat", Extension(photo.path));
  Set("CloseupPath", p + "slides/" + photo.encoded + ".html");
  Set("ImageComment", "");
  Set("ImagePath", p + "slides/" + photo.encoded + ".jpg");
  Set("ThumbnailPath", p + "thumbs/" + photo.encoded + ".jpg");
  Set("ImageFullLabel", HtmlEscape(photo.label));
  Set("ImageLabel", HtmlEscape(ShortenLabel(photo.label)));
}

int Generation::WriteHtmlAlbum() {
  const int n = static_cast<int>(m_photos.size());
  // A grid side of 0 (a template without "Size") means no limit on that side: the index then
  // has one page, and nothing is divided by it.
  m_rows = m_s.nRows;
  m_columns = m_s.nColumns;
  if (m_columns <= 0) m_columns = m_rows > 0 ? (n + m_rows - 1) / m_rows : n;
  m_columns = std::max(1, m_columns);
  if (m_rows <= 0) m_rows = std::max(1, (n + m_columns - 1) / m_columns);
  const int perPage = m_rows * m_columns;
  const int pages = n == 0 ? 1 : (n - 1) / perPage + 1;

  Set("FirstSlide", n > 0 ? m_photos.front().encoded + ".html" : CString());
  Set("FirstLink", n > 0 ? "slides/" + m_photos.front().encoded + ".html" : CString());
  Set("LastSlide", n > 0 ? m_photos.back().encoded + ".html" : CString());
  SetInt("ImageNum", n);
  SetInt("TotalIndexNum", pages);
  SetInt("MaxRowNum", m_rows);
  SetInt("MaximumColNum", m_columns);
  SetInt("MaximumSlideWidth", m_s.nSlideWidth);
  SetInt("MaximumSlideHeight", m_s.nSlideHeight);
  SetInt("MaximumThumbnailWidth", m_s.nThumbnailWidth);
  SetInt("MaximumThumbnailHeight", m_s.nThumbnailHeight);
  const time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  Set("CurrentTime", FormatFileTime(local, true));

  m_frames = LoadTemplateText(TemplateFile("frameset.htt")) != FALSE;
  Set("FirstIndex", IndexPageName(0));
  Set("LastIndex", IndexPageName(pages - 1));
  if (m_frames) {
    BeginTemplatePage(TRUE);
    if (const int r = FinishPage(RunTemplatePass(nullptr), "frameset.htt", Out("index.html")); r != 0)
      return r;
  }
  if (const int r = WriteIndexPages(); r != 0) return r;
  if (const int r = WriteSlidePages(); r != 0) return r;
  Post(WM_WEBALBUM_STOPPED, 0);
  Post(WM_WEBALBUM_SUCCEEDED, 0);
  return 0;
}

// Items of an index page: photos from the running position, which goes on from page to page.
class IndexItems : public CTemplateItemSource {
 public:
  using SetItem = std::function<bool(int)>;
  IndexItems(int& position, int pageEnd, int count, SetItem set)
      : m_position(position), m_pageEnd(pageEnd), m_count(count), m_set(std::move(set)) {}
  bool HasFileItem() override { return m_position < std::min(m_count, m_pageEnd); }
  bool HasGridItem() override { return m_position < m_count; }
  int SetNextItem(bool inGrid) override {
    if (!m_set(m_position)) {
      m_failed = m_position;
      return inGrid ? kGridFailure : kFileFailure;
    }
    ++m_position;
    return 0;
  }
  static constexpr int kFileFailure = 2;
  static constexpr int kGridFailure = 3;
  int m_failed = -1;

 private:
  int& m_position;
  int m_pageEnd;
  int m_count;
  SetItem m_set;
};

int Generation::WriteIndexPages() {
  if (!LoadTemplateText(TemplateFile("index.htt"))) return Stop(0, "Cannot find index.htt.");
  const int n = static_cast<int>(m_photos.size());
  const int perPage = m_rows * m_columns;
  const int pages = n == 0 ? 1 : (n - 1) / perPage + 1;
  int position = 0;
  g_templateConditions.assign(1, 1);
  for (int page = 0; page < pages; ++page) {
    const bool last = page == pages - 1;
    SetInt("CurrentIndexID", page + 1);
    SetInt("PageRowNum",
           last ? (n - page * perPage == 0 ? 0 : (n - page * perPage - 1) / m_columns + 1) : m_rows);
    SetInt("PageImageNum", last ? n - page * perPage : perPage);
    Set("PreviousIndex", page == 0 ? CString() : IndexPageName(page - 1));
    Set("NextIndex", last ? CString() : IndexPageName(page + 1));

    IndexItems items(position, (page + 1) * perPage, n, [this](int p) {
      const WebPhoto& photo = m_photos[p];
      SetInt("ImageID", p + 1);
      SetInt("ImageWidth", photo.slideWidth);
      SetInt("ImageHeight", photo.slideHeight);
      SetInt("ThumbnailWidth", photo.thumbWidth);
      SetInt("ThumbnailHeight", photo.thumbHeight);
      if (!SetFileFacts(photo)) return false;
      SetItemNames(photo, "");
      return true;
    });
    BeginTemplatePage(FALSE);
    const int pass = RunTemplatePass(&items, m_rows, m_columns);
    if (pass == IndexItems::kFileFailure) return Stop(1, "Image properties read error.");
    if (pass == IndexItems::kGridFailure)
      return Stop(0, "Cannot open image:\n" + m_photos[items.m_failed].path);
    if (const int r = FinishPage(pass, "index.htt", Out(IndexPageName(page))); r != 0) return r;
  }
  return 0;
}

// Items of a slide page: every photo of the album.
class SlideItems : public CTemplateItemSource {
 public:
  SlideItems(int count, std::function<void(int)> set) : m_count(count), m_set(std::move(set)) {}
  bool HasFileItem() override { return m_next < m_count; }
  bool HasGridItem() override { return false; }
  int SetNextItem(bool) override {
    m_set(m_next++);
    return 0;
  }

 private:
  int m_count;
  int m_next = 0;
  std::function<void(int)> m_set;
};

int Generation::WriteSlidePages() {
  Set("ResourcePath", "../res");
  Set("StylePath", "../res/styles.css");
  if (!LoadTemplateText(TemplateFile("slide.htt"))) return Stop(0, "Cannot find slide.htt.");
  const int n = static_cast<int>(m_photos.size());
  const int perPage = m_rows * m_columns;
  for (int k = 0; k < n; ++k) {
    const WebPhoto& photo = m_photos[k];
    auto setCurrent = [&] {
      SetInt("ImageID", k + 1);
      Set("ImageFormat", Extension(photo.path));
      Set("ImageComment", "");
      Set("ThumbnailPath", "../thumbs/" + photo.encoded + ".jpg");
      Set("ImagePath", photo.encoded + ".jpg");
      Set("CurrentSlide", photo.encoded + ".html");
      Set("ImageFullLabel", HtmlEscape(photo.label));
      Set("ImageLabel", HtmlEscape(ShortenLabel(photo.label)));
    };
    setCurrent();
    SetInt("ImageWidth", photo.slideWidth);
    SetInt("ImageHeight", photo.slideHeight);
    SetInt("ThumbnailWidth", photo.thumbWidth);
    SetInt("ThumbnailHeight", photo.thumbHeight);
    if (!SetFileFacts(photo)) return Stop(1, "Cannot open image:\n" + photo.path);
    if (k > 0) {
      Set("PreviousSlide", m_photos[k - 1].encoded + ".html");
      Set("PreviousThumbnail", "../thumbs/" + m_photos[k - 1].encoded + ".jpg");
    } else {
      Set("PreviousSlide", "");
    }
    if (k + 1 < n) {
      Set("NextSlide", m_photos[k + 1].encoded + ".html");
      Set("NextThumbnail", "../thumbs/" + m_photos[k + 1].encoded + ".jpg");
    } else {
      Set("NextSlide", "");
    }
    Set("SlideIndexPage", IndexPageName(k / perPage));

    SlideItems items(n, [this](int j) {
      SetInt("ImageID", j + 1);
      SetItemNames(m_photos[j], "../");
    });
    BeginTemplatePage(TRUE);
    const int pass = RunTemplatePass(&items);
    setCurrent();
    if (const int r = FinishPage(pass, "slide.htt", Out("slides/" + photo.name + ".html")); r != 0) return r;
  }
  return 0;
}

}  // namespace

void SetWebAlbumMessageHandler(WebAlbumMessageHandler handler) {
  g_messageHandler = handler != nullptr ? handler : ShowMessageBox;
}

int GenerateWebAlbum(WebAlbumSettings* settings) {
  if (settings == nullptr) return 1;
  Generation generation(*settings);
  return generation.Run();
}
