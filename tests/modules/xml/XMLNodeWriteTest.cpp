#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "modules/xml/XMLNodeWrite.h"
#include "modules/xml/XMLParse.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/Wait.h"
#include "tests/modules/xml/XmlFixtures.h"

namespace {

std::string Buffer() {
  return std::string(CWyxXMLNodeWrite::GetBufferText().View());
}

// The slide list of a web album, written as the generator writes it.
void WriteSlides(const std::vector<std::pair<std::string, std::string>>& slides) {
  CWyxXMLNodeWrite::InitBuffer();
  CWyxXMLNodeWrite::FillXMLFileHeader();
  auto root = std::make_unique<CWyxXMLNodeWrite>(0, "Slides", nullptr);
  root->Flush();
  for (const auto& [name, label] : slides) {
    CWyxXMLNodeWrite node(1, "slideNode", 0);
    node.AddAttribute("jpegURL", ("thumbs/" + name + ".jpg").c_str());
    node.AddAttribute("xthumb", 120);
    node.AddAttribute("comm", "");
    node.SetValue(label.c_str());
    node.Flush();
  }
  root.reset();
}

TEST(XMLNodeWrite, WritesNestedNodesWithAttributesInOrder) {
  WriteSlides({{"a", "First"}, {"b%25c", ""}});
  EXPECT_EQ(Buffer(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<Slides>\n"
            "  <slideNode jpegURL=\"thumbs/a.jpg\" xthumb=\"120\" comm=\"\">First</slideNode>\n"
            "  <slideNode jpegURL=\"thumbs/b%25c.jpg\" xthumb=\"120\" comm=\"\"/>\n"
            "</Slides>");

  CWyxXMLNodeWrite::InitBuffer();
  {
    CWyxXMLNodeWrite root(0, "root", nullptr);
    root.Flush();
    { CWyxXMLNodeWrite empty(1, "Empty", nullptr); }  // never flushed: written whole when destroyed
    { CWyxXMLNodeWrite valued(1, "Valued", "v"); }
  }
  EXPECT_EQ(Buffer(), "<root>\n  <Empty/>\n  <Valued>v</Valued>\n</root>");
}

// What a reader gets back for each value, as attribute and as text.
TEST(XMLNodeWrite, EscapingRoundTripsThroughTheReader) {
  struct Case {
    std::string given;
    std::string readBack;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"a & b < c > d", "a & b < c > d"},
      {"say \"hi\" 'there'", "say \"hi\" 'there'"},
      {"]]> and <![CDATA[", "]]> and <![CDATA["},
      {"line1\nline2\r\nline3\ttab", "line1\nline2\r\nline3\ttab"},
      {"  spaced  ", "  spaced  "},
      {" ", " "},
      {"Fotos 2024 — Zürich 日本 🎉", "Fotos 2024 — Zürich 日本 🎉"},
      {"&amp; stays literal", "&amp; stays literal"},
      {std::string("bell\x07"
                   "nul\x01"
                   "esc\x1b"),
       "bellnulesc"},  // no XML 1.0 form: left out
      {std::string("bad \xff\xfe utf8 \xc3"), "bad \xEF\xBF\xBD\xEF\xBF\xBD utf8 \xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    CWyxXMLNodeWrite::InitBuffer();
    CWyxXMLNodeWrite::FillXMLFileHeader();
    {
      CWyxXMLNodeWrite node(0, "item", nullptr);
      node.AddAttribute("value", c.given.c_str());
      node.SetValue(c.given.c_str());
      node.Flush();
    }
    CXMLParse xml;
    ASSERT_TRUE(xml.InitXMLParseFromText(CWyxXMLNodeWrite::GetBufferText())) << Buffer();
    CString attribute, text;
    EXPECT_TRUE(xml.GetElementAttribute("//item", "value", attribute));
    EXPECT_TRUE(xml.GetElementText("//item", text));
    EXPECT_EQ(std::string(attribute.View()), c.readBack) << Buffer();
    EXPECT_EQ(std::string(text.View()), c.readBack) << Buffer();
  }
}

TEST(XMLNodeWrite, DeepNestingRoundTrips) {
  CWyxXMLNodeWrite::InitBuffer();
  CWyxXMLNodeWrite::FillXMLFileHeader();
  {
    CWyxXMLNodeWrite project(0, "project", nullptr);
    project.AddAttribute("version", 3);
    project.Flush();
    for (int a = 0; a < 2; ++a) {
      CWyxXMLNodeWrite album(1, "album", nullptr);
      album.AddAttribute("id", a);
      album.Flush();
      for (int s = 0; s < 3; ++s) {
        CWyxXMLNodeWrite slide(2, "slide", nullptr);
        slide.AddAttribute("id", s);
        slide.AddAttribute("duration", a * 10 + s);
        slide.SetValue(("photo" + std::to_string(s) + ".jpg").c_str());
        slide.Flush();
      }
    }
  }
  CXMLParse xml;
  ASSERT_TRUE(xml.InitXMLParseFromText(CWyxXMLNodeWrite::GetBufferText()));
  int version = 0, duration = 0;
  CString file;
  EXPECT_TRUE(xml.GetElementAttribute("//project", "version", version));
  EXPECT_TRUE(xml.GetElementAttribute("//project/album[@id=\"1\"]/slide[@id=\"2\"]", "duration", duration));
  EXPECT_TRUE(xml.GetElementText("//album[@id=\"1\"]/slide[@id=\"1\"]", file));
  EXPECT_EQ(version, 3);
  EXPECT_EQ(duration, 12);
  EXPECT_EQ(file, "photo1.jpg");
}

// Mistakes that would make a file no reader accepts make the write fail instead.
TEST(XMLNodeWrite, MisuseFailsTheWriteWithAReason) {
  std::unique_ptr<FILE, int (*)(FILE*)> sink(std::tmpfile(), &std::fclose);
  ASSERT_TRUE(sink);
  CWyxXMLNodeWrite::m_pXMLWriteFile = sink.get();

  struct Case {
    const char* what;
    void (*build)();
    DWORD error;
  };
  const Case cases[] = {
      {"element name with a space", [] { CWyxXMLNodeWrite node(0, "bad name", nullptr); },
       ERROR_INVALID_NAME},
      {"element name starting with a digit", [] { CWyxXMLNodeWrite node(0, "1st", nullptr); },
       ERROR_INVALID_NAME},
      {"attribute name with a quote",
       [] {
         CWyxXMLNodeWrite node(0, "ok", nullptr);
         EXPECT_FALSE(node.AddAttribute("a\"b", "v"));
       },
       ERROR_INVALID_NAME},
      {"attribute given twice",
       [] {
         CWyxXMLNodeWrite node(0, "ok", nullptr);
         EXPECT_TRUE(node.AddAttribute("a", "1"));
         EXPECT_FALSE(node.AddAttribute("a", "2"));
       },
       ERROR_INVALID_NAME},
      {"two root elements",
       [] {
         { CWyxXMLNodeWrite first(0, "first", nullptr); }
         { CWyxXMLNodeWrite second(0, "second", nullptr); }
       },
       ERROR_INVALID_DATA},
      {"parent closed before its child",
       [] {
         auto parent = std::make_unique<CWyxXMLNodeWrite>(0, "parent", nullptr);
         parent->Flush();
         CWyxXMLNodeWrite child(1, "child", nullptr);
         child.Flush();
         parent.reset();
       },
       ERROR_INVALID_DATA},
  };
  for (const auto& c : cases) {
    CWyxXMLNodeWrite::InitBuffer();
    c.build();
    SetLastError(0);
    EXPECT_FALSE(CWyxXMLNodeWrite::WriteHandleFile()) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }

  // Writing while an element is open fails; once it is closed the same document writes.
  CWyxXMLNodeWrite::InitBuffer();
  {
    CWyxXMLNodeWrite open(0, "open", nullptr);
    open.Flush();
    EXPECT_FALSE(open.AddAttribute("late", "x"));
    EXPECT_FALSE(open.SetValue("late"));
    EXPECT_FALSE(open.Flush());
    EXPECT_FALSE(CWyxXMLNodeWrite::WriteHandleFile());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  }
  EXPECT_TRUE(CWyxXMLNodeWrite::WriteHandleFile());
  CWyxXMLNodeWrite::m_pXMLWriteFile = nullptr;
}

TEST(XMLNodeWrite, WritesToAHandleOrAStream) {
  WriteSlides({{"x", "X"}});
  const std::string expected = Buffer() + "\n";

  const std::string handlePath = (xmltest::TempFolder() / "slides-handle.xml").string();
  HANDLE file = CreateFile(handlePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CWyxXMLNodeWrite::m_hanldeXMLWriteFile = file;
  CWyxXMLNodeWrite::m_pXMLWriteFile = nullptr;
  EXPECT_TRUE(CWyxXMLNodeWrite::WriteHandleFile());
  CWyxXMLNodeWrite::m_hanldeXMLWriteFile = nullptr;
  CloseHandle(file);
  EXPECT_EQ(xmltest::ReadWholeFile(handlePath), expected);

  const std::string streamPath = (xmltest::TempFolder() / "slides-stream.xml").string();
  FILE* stream = std::fopen(streamPath.c_str(), "wb");
  ASSERT_TRUE(stream);
  CWyxXMLNodeWrite::m_pXMLWriteFile = stream;
  EXPECT_TRUE(CWyxXMLNodeWrite::WriteHandleFile());
  CWyxXMLNodeWrite::m_pXMLWriteFile = nullptr;
  std::fclose(stream);
  EXPECT_EQ(xmltest::ReadWholeFile(streamPath), expected);

  SetLastError(0);
  EXPECT_FALSE(CWyxXMLNodeWrite::WriteHandleFile());  // nowhere to write
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(XMLNodeWrite, SavesAtomicallyAndKeepsTheOldFileOnFailure) {
  const auto folder = xmltest::TempFolder() / "atomic";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "project.r7m").string();

  WriteSlides({{"old", "Old"}});
  ASSERT_TRUE(CWyxXMLNodeWrite::WriteBufferToFile(path.c_str()));
  const std::string old = xmltest::ReadWholeFile(path);
  EXPECT_EQ(old, Buffer() + "\n");

  WriteSlides({{"new", "New"}});
  std::string windowsStyle = path;
  windowsStyle.replace(windowsStyle.rfind('/'), 1, "\\");
  ASSERT_TRUE(CWyxXMLNodeWrite::WriteBufferToFile(windowsStyle.c_str()));
  EXPECT_EQ(xmltest::ReadWholeFile(path), Buffer() + "\n");

  EXPECT_FALSE(CWyxXMLNodeWrite::WriteBufferToFile((folder / "no/such/folder/p.r7m").string().c_str()));
  EXPECT_FALSE(CWyxXMLNodeWrite::WriteBufferToFile(""));

  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string current = xmltest::ReadWholeFile(path);
  WriteSlides({{"newer", "Newer"}});
  std::filesystem::permissions(folder,
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  SetLastError(0);
  EXPECT_FALSE(CWyxXMLNodeWrite::WriteBufferToFile(path.c_str()));
  EXPECT_NE(GetLastError(), 0u);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  EXPECT_EQ(xmltest::ReadWholeFile(path), current);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no temporary left
}

// Each thread writes its own document (the web-album worker and the project save may overlap).
TEST(XMLNodeWrite, ThreadsWriteSeparateDocuments) {
  constexpr int kThreads = 4, kNodes = 200;
  std::vector<std::string> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &results] {
      CWyxXMLNodeWrite::InitBuffer();
      {
        CWyxXMLNodeWrite root(0, "root", nullptr);
        root.Flush();
        for (int i = 0; i < kNodes; ++i) {
          CWyxXMLNodeWrite node(1, "n", nullptr);
          node.AddAttribute("t", t);
          node.Flush();
        }
      }
      results[t] = Buffer();
    });
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) {
    const std::string mine = "<n t=\"" + std::to_string(t) + "\"/>";
    size_t count = 0;
    for (size_t at = results[t].find(mine); at != std::string::npos; at = results[t].find(mine, at + 1))
      ++count;
    EXPECT_EQ(count, static_cast<size_t>(kNodes)) << t;
    EXPECT_EQ(results[t].size(), 6 + kNodes * (mine.size() + 3) + 8) << t;  // nothing from the others
  }
}

}  // namespace
