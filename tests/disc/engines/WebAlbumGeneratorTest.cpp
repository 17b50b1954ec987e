#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "disc/engines/TemplateEngine.h"
#include "disc/engines/WebAlbumGenerator.h"
#include "disc/engines/WebTemplateManager.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/image/CxImage.h"
#include "platform/base/Utf8.h"
#include "tests/disc/engines/EngineFixtures.h"

namespace {

namespace fs = std::filesystem;
using enginetest::ReadWholeFile;
using enginetest::ScratchDir;
using enginetest::WriteText;

std::vector<std::string> g_messages;
void CollectMessage(HWND, LPCTSTR text) {
  g_messages.emplace_back(text);
}

struct MessagesCollected {
  MessagesCollected() {
    g_messages.clear();
    SetWebAlbumMessageHandler(CollectMessage);
  }
  ~MessagesCollected() { SetWebAlbumMessageHandler(nullptr); }
};

std::string MakePhoto(const ScratchDir& dir, const std::string& name, int w, int h) {
  const std::string path = dir / name;
  fs::create_directories(fs::path(path).parent_path());
  CxImage picture;
  picture.Create(w, h, 24);
  picture.Fill(RGB(40 + w % 200, 90, 160));
  EXPECT_TRUE(picture.Save(path.c_str(), CXIMAGE_FORMAT_JPG)) << path;
  return path;
}

// An album of its own; deleting it deletes its slides.
struct Album {
  std::unique_ptr<CDVDAlbumImage> album = std::make_unique<CDVDAlbumImage>();
  void Add(const std::string& path, const char* label = "") {
    auto* slide = new CDVDImage(album.get());
    slide->Put_strPathName(path.c_str());
    slide->Set_strLabel(label);
    album->AddDVDImage(slide);
  }
};

std::string Decode(const std::string& url) {
  std::string out;
  for (size_t i = 0; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size()) {
      out += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += url[i];
    }
  }
  return out;
}

struct PageScan {
  std::vector<std::string> links;                                   // href and src values
  std::vector<std::pair<std::string, std::pair<int, int>>> images;  // src with width and height
  std::string problem;                                              // empty when the tags nest properly
};

// A small tag scan: every tag's attributes, and whether non-void elements close in order.
PageScan Scan(const std::string& html) {
  static const std::regex kAttribute(R"re(([A-Za-z][\w-]*)\s*=\s*"([^"]*)")re");
  static const std::vector<std::string> kVoid = {"meta", "link", "img", "br", "hr", "input", "!doctype"};
  PageScan scan;
  std::vector<std::string> open;
  for (size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i + 1)) {
    if (html.compare(i, 4, "<!--") == 0) {
      i = html.find("-->", i);
      if (i == std::string::npos) break;
      continue;
    }
    const size_t end = html.find('>', i);
    if (end == std::string::npos) {
      scan.problem = "unclosed tag";
      break;
    }
    const std::string tag = html.substr(i + 1, end - i - 1);
    const bool closing = !tag.empty() && tag[0] == '/';
    std::string name =
        tag.substr(closing ? 1 : 0, tag.find_first_of(" \t\n>", closing ? 1 : 0) - (closing ? 1 : 0));
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    if (closing) {
      if (open.empty() || open.back() != name) {
        scan.problem = "</" + name + "> closes " + (open.empty() ? std::string("nothing") : open.back());
        break;
      }
      open.pop_back();
      continue;
    }
    std::map<std::string, std::string> attributes;
    for (auto it = std::sregex_iterator(tag.begin(), tag.end(), kAttribute); it != std::sregex_iterator();
         ++it)
      attributes[(*it)[1]] = (*it)[2];
    for (const char* key : {"href", "src"})
      if (attributes.count(key) != 0) scan.links.push_back(attributes[key]);
    if (name == "img" && attributes.count("width") != 0)
      scan.images.push_back(
          {attributes["src"], {std::stoi(attributes["width"]), std::stoi(attributes["height"])}});
    if (std::find(kVoid.begin(), kVoid.end(), name) == kVoid.end()) open.push_back(name);
    i = end;
  }
  if (scan.problem.empty() && !open.empty()) scan.problem = "<" + open.back() + "> never closed";
  return scan;
}

std::pair<int, int> PictureSize(const fs::path& file) {
  CxImage picture;
  if (!picture.Load(file.c_str())) return {0, 0};
  return {static_cast<int>(picture.GetWidth()), static_cast<int>(picture.GetHeight())};
}

// Checks one written album: every page well formed, UTF-8 without a byte-order mark, nothing of
// the template language left, no resource from outside, every link and picture there.
void CheckAlbum(const fs::path& out, const WebAlbumSettings& s) {
  int pages = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (entry.path().extension() != ".html") continue;
    ++pages;
    const std::string html = ReadWholeFile(entry.path());
    SCOPED_TRACE(entry.path().string());
    EXPECT_FALSE(html.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(pictavo::utf8::FromWide(pictavo::utf8::ToWide(html)), html) << "not valid UTF-8";
    for (const char* left : {"<ca:", "</ca:", "<%", "$Image", "$Album", "$Thumbnail", "<script"})
      EXPECT_EQ(html.find(left), std::string::npos) << left;
    const PageScan scan = Scan(html);
    EXPECT_EQ(scan.problem, "");
    for (const std::string& link : scan.links) {
      EXPECT_EQ(link.find("//"), std::string::npos) << link;
      EXPECT_FALSE(link.empty());
      EXPECT_TRUE(fs::is_regular_file(entry.path().parent_path() / Decode(link))) << link;
    }
    for (const auto& [src, size] : scan.images)
      EXPECT_EQ(PictureSize(entry.path().parent_path() / Decode(src)), size) << src;
  }
  EXPECT_GT(pages, 0);
  for (const char* folder : {"slides", "thumbs"}) {
    const bool slides = std::string(folder) == "slides";
    const int boxW = slides ? s.nSlideWidth : s.nThumbnailWidth;
    const int boxH = slides ? s.nSlideHeight : s.nThumbnailHeight;
    for (const auto& entry : fs::directory_iterator(out / folder)) {
      if (entry.path().extension() != ".jpg") continue;
      const auto [w, h] = PictureSize(entry.path());
      EXPECT_LE(w, boxW) << entry.path();
      EXPECT_LE(h, boxH) << entry.path();
      EXPECT_GT(w * h, 0) << entry.path();
    }
  }
}

TEST(WebAlbumGenerator, EveryShippedStyle) {
  ScratchDir dir;
  MessagesCollected messages;
  Album album;
  album.Add(MakePhoto(dir, "in/Beach & Sun.jpg", 1200, 900), "<script>alert(1)</script>");
  album.Add(MakePhoto(dir, "in/100%.jpg", 500, 800), "$AlbumTitle \"quoted\"");
  album.Add(MakePhoto(dir, "in/a#b?c.jpg", 100, 60), "Café au lait in the morning");
  album.Add(MakePhoto(dir, "in/other/Beach & Sun.jpg", 640, 480), "Same name, other folder");
  WriteText(dir / "in/broken.jpg", "not a picture");
  album.Add(dir / "in/broken.jpg", "broken");
  for (int i = 0; i < 14; ++i)
    album.Add(MakePhoto(dir, "in/p" + std::to_string(i) + ".jpg", 300 + i * 10, 200));

  CWebTemplateManager::SetTemplateRootOverride(
      (std::string(getenv("PICTAVO_SOURCE_DIR")) + "/data/web_template").c_str());
  CWebTemplateManager manager;
  manager.ScanTemplates();
  CWebTemplateManager::SetTemplateRootOverride(nullptr);
  ASSERT_GE(manager.GetStyleCount(), 3);
  for (int style = 0; style < manager.GetStyleCount(); ++style) {
    SCOPED_TRACE(manager.GetStyleDisplayName(style).Str());
    ASSERT_EQ(manager.SelectStyle(style), 1);
    WebAlbumSettings s;
    manager.LoadTemplateSettings(&s);
    s.pAlbum = album.album.get();
    s.strAlbumTitle = "Summer <2024> & friends";
    const fs::path out = dir / ("out" + std::to_string(style));
    s.strOutputFolder = out.c_str();
    ASSERT_EQ(manager.Generate(s), 1);
    EXPECT_TRUE(g_messages.empty()) << (g_messages.empty() ? "" : g_messages.front());
    EXPECT_TRUE(fs::is_regular_file(out / "index.html"));
    EXPECT_TRUE(fs::is_regular_file(out / "res/styles.css"));
    // The broken photo is left out; the two photos named alike keep a page each.
    EXPECT_FALSE(fs::exists(out / "slides/broken.html"));
    EXPECT_TRUE(fs::is_regular_file(out / "slides/Beach & Sun.html"));
    EXPECT_TRUE(fs::is_regular_file(out / "slides/Beach & Sun-2.html"));
    EXPECT_TRUE(fs::is_regular_file(out / "slides/100%.html"));
    EXPECT_EQ(PictureSize(out / "slides/Beach & Sun.jpg"),
              (std::pair<int, int>{s.nSlideWidth, s.nSlideWidth * 3 / 4}));
    EXPECT_EQ(PictureSize(out / "slides/a#b?c.jpg"), (std::pair<int, int>{100, 60}));  // never enlarged
    const std::string slide = ReadWholeFile(out / "slides/Beach & Sun.html");
    EXPECT_NE(slide.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(slide.find("Summer &lt;2024&gt; &amp; friends"), std::string::npos);
    const std::string second = ReadWholeFile(out / "slides/100%.html");
    EXPECT_NE(second.find("&#36;AlbumTitle &quot;quoted&quot;"), std::string::npos);
    CheckAlbum(out, s);
  }
}

// A template that prints the paging variables.
void WritePagingTemplate(const ScratchDir& dir, bool frames) {
  WriteText(dir / "t/index.htt",
            "$CurrentIndexID|$PageRowNum|$PageImageNum|$PreviousIndex|$NextIndex|$FirstIndex|$LastIndex|"
            "<ca:rowiterator>[<ca:coliterator>$ImageID,</ca:coliterator>]</ca:rowiterator>");
  WriteText(dir / "t/slide.htt", "$ImageID>$SlideIndexPage");
  if (frames) WriteText(dir / "t/frameset.htt", "frames $FirstIndex");
}

TEST(WebAlbumGenerator, Paging) {
  struct Case {
    int photos, rows, columns;
    bool frames;
    std::vector<std::pair<std::string, std::string>> pages;  // file and its text
  };
  const Case kCases[] = {
      {0, 3, 4, false, {{"index.html", "1|0|0|||index.html|index.html|"}}},
      {12,
       3,
       4,
       false,
       {{"index.html", "1|3|12|||index.html|index.html|[1,2,3,4,][5,6,7,8,][9,10,11,12,]"},
        {"slides/p11.html", "12>index.html"}}},
      {13,
       3,
       4,
       false,
       {{"index.html", "1|3|12||index2.html|index.html|index2.html|[1,2,3,4,][5,6,7,8,][9,10,11,12,]"},
        {"index2.html", "2|1|1|index.html||index.html|index2.html|[13,]"},
        {"slides/p12.html", "13>index2.html"}}},
      {5,
       1,
       2,
       true,
       {{"index.html", "frames index-frame.html"},
        {"index-frame.html", "1|1|2||index-frame2.html|index-frame.html|index-frame3.html|[1,2,]"},
        {"index-frame3.html", "3|1|1|index-frame2.html||index-frame.html|index-frame3.html|[5,]"},
        {"slides/p4.html", "5>index-frame3.html"}}},
      // A grid side of 0: one index page, nothing divided by zero.
      {5, 0, 0, false, {{"index.html", "1|1|5|||index.html|index.html|[1,2,3,4,5,]"}}},
      {5, 2, 0, false, {{"index.html", "1|2|5|||index.html|index.html|[1,2,3,][4,5,]"}}},
      {5, 0, 2, false, {{"index.html", "1|3|5|||index.html|index.html|[1,2,][3,4,][5,]"}}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.photos) + " photos " + std::to_string(c.rows) + "x" +
                 std::to_string(c.columns));
    ScratchDir dir;
    MessagesCollected messages;
    WritePagingTemplate(dir, c.frames);
    Album album;
    for (int i = 0; i < c.photos; ++i) album.Add(MakePhoto(dir, "in/p" + std::to_string(i) + ".jpg", 40, 30));
    WebAlbumSettings s;
    s.pAlbum = album.album.get();
    s.strTemplateFolder = (dir / "t").c_str();
    s.strOutputFolder = (dir / "out").c_str();
    s.nRows = c.rows;
    s.nColumns = c.columns;
    ASSERT_EQ(GenerateWebAlbum(&s), 0);
    EXPECT_TRUE(g_messages.empty());
    for (const auto& [file, text] : c.pages)
      EXPECT_EQ(ReadWholeFile(fs::path(dir / "out") / file), text) << file;
  }
}

TEST(WebAlbumGenerator, FailuresSayWhy) {
  ScratchDir dir;
  MessagesCollected messages;
  Album album;
  album.Add(MakePhoto(dir, "in/a.jpg", 40, 30));
  WebAlbumSettings s;
  s.pAlbum = album.album.get();
  s.strOutputFolder = (dir / "out").c_str();
  s.nRows = 2;
  s.nColumns = 2;

  struct Case {
    const char* index;  // null: no index.htt
    const char* slide;  // null: no slide.htt
    int result;
    const char* message;
  };
  const Case kCases[] = {
      {nullptr, "x", 0, "Cannot find index.htt."},
      {"x", nullptr, 0, "Cannot find slide.htt."},
      {"<p>ok</p>\n<img src=\"a", "x", 1,
       "The web-album template index.htt is damaged (line 2: a quote that is never closed)."},
      {"<ca:if \"$AlbumTitle\">x", "x", 1,
       "The web-album template index.htt is damaged (an if or else block that is never closed)."},
      {"x", "</ca:if>", 1,
       "The web-album template slide.htt is damaged (line 1: </ca:if> without a block to close)."},
  };
  int n = 0;
  for (const Case& c : kCases) {
    const fs::path folder = dir / ("t" + std::to_string(n++));
    fs::create_directories(folder);
    if (c.index != nullptr) WriteText(folder / "index.htt", c.index);
    if (c.slide != nullptr) WriteText(folder / "slide.htt", c.slide);
    s.strTemplateFolder = folder.c_str();
    g_messages.clear();
    EXPECT_EQ(GenerateWebAlbum(&s), c.result) << c.message;
    EXPECT_EQ(g_messages, std::vector<std::string>{c.message});
  }

  WebAlbumSettings none;
  EXPECT_EQ(GenerateWebAlbum(&none), 1);
}

TEST(WebAlbumGenerator, TemplatesAreOpenedReadOnly) {
  ScratchDir dir;
  MessagesCollected messages;
  WritePagingTemplate(dir, false);
  fs::permissions(dir / "t", fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(dir / "t/index.htt", fs::perms::owner_read);
  fs::permissions(dir / "t/slide.htt", fs::perms::owner_read);
  Album album;
  album.Add(MakePhoto(dir, "in/a.jpg", 40, 30));
  WebAlbumSettings s;
  s.pAlbum = album.album.get();
  s.strTemplateFolder = (dir / "t").c_str();
  s.strOutputFolder = (dir / "out").c_str();
  s.nRows = 1;
  s.nColumns = 1;
  EXPECT_EQ(GenerateWebAlbum(&s), 0);
  EXPECT_TRUE(g_messages.empty());
  EXPECT_EQ(ReadWholeFile(dir / "out/slides/a.html"), "1>index.html");
  fs::permissions(dir / "t", fs::perms::owner_all);
}

}  // namespace
