#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/Array.h"
#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "platform/base/MemFile.h"
#include "tests/platform/base/TestSupport.h"

namespace {

using testing_support::B;
using testing_support::Bytes;
using testing_support::Load;
using testing_support::Store;

// The cause of the CArchiveException `action` throws, or -1 when it throws none.
template <class F>
int ArchiveErrorOf(F action) {
  try {
    action();
  } catch (CArchiveException* e) {
    const int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

// The cause of loading `bytes` with `read`.
int LoadErrorOf(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
  return ArchiveErrorOf([&] { Load(bytes, read); });
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(Archive, NumbersAreLittleEndianWithTheirWidths) {
  const Bytes bytes = Store([](CArchive& ar) {
    ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<LONG>(-2)
       << static_cast<DWORD>(0x89ABCDEF) << static_cast<short>(-3) << 'A' << true << 1.0f << -2.0
       << static_cast<LONGLONG>(-2) << static_cast<ULONGLONG>(0x0102030405060708ull);
  });
  EXPECT_EQ(bytes,
            B({0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0xFD, 0xFF, 'A',  1,
               0,    0,    0x80, 0x3F, 0,    0,    0,    0,    0,    0,    0,    0xC0, 0xFE, 0xFF, 0xFF,
               0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 8,    7,    6,    5,    4,    3,    2,    1}));

  Load(bytes, [](CArchive& ar) {
    BYTE b;
    WORD w;
    LONG l;
    DWORD d;
    short s;
    char c;
    bool flag;
    float f;
    double x;
    LONGLONG ll;
    ULONGLONG ull;
    ar >> b >> w >> l >> d >> s >> c >> flag >> f >> x >> ll >> ull;
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(w, 0x3456);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(d, 0x89ABCDEFu);
    EXPECT_EQ(s, -3);
    EXPECT_EQ(c, 'A');
    EXPECT_TRUE(flag);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(x, -2.0);
    EXPECT_EQ(ll, -2);
    EXPECT_EQ(ull, 0x0102030405060708ull);
  });
  // int and UINT are the 32-bit LONG and DWORD; the platform structures are their fields.
  EXPECT_EQ(Store([](CArchive& ar) { ar << -1 << 2u; }), B({0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0}));
  EXPECT_EQ(Store([](CArchive& ar) { ar << RECT{1, 2, 3, 4} << POINT{5, 6} << SIZE{7, 8}; }).size(), 32u);
}

TEST(Archive, StringLengthPrefixes) {
  struct Case {
    size_t length;
    Bytes prefix;
  };
  const Case kCases[] = {
      {0, {0x00}},
      {1, {0x01}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {256, {0xFF, 0x00, 0x01}},
      {65533, {0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const auto& c : kCases) {
    std::string text(c.length, 'x');
    for (size_t i = 0; i < c.length; i += 97) text[i] = static_cast<char>('a' + i % 26);
    const Bytes bytes = Store([&](CArchive& ar) { ar << CString(text); });
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(c.prefix.size())), c.prefix) << c.length;
    EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(c.prefix.size()), bytes.end()), text) << c.length;
    CString back("old");
    Load(bytes, [&](CArchive& ar) { ar >> back; });
    EXPECT_EQ(back.Str(), text) << c.length;
  }
  EXPECT_EQ(Store([](CArchive& ar) { ar << "lit"; }), B({3, "lit"}));
}

TEST(Archive, CountPrefixes) {
  struct Case {
    DWORD_PTR count;
    Bytes bytes;
  };
  const Case kCases[] = {
      {0, {0, 0}},
      {0x1234, {0x34, 0x12}},
      {0xFFFE, {0xFE, 0xFF}},
      {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {0x10000, {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes) << c.count;
    DWORD_PTR back = 0;
    Load(c.bytes, [&](CArchive& ar) { back = ar.ReadCount(); });
    EXPECT_EQ(back, c.count);
  }
}

TEST(Archive, WideStringsAreReadAsUtf8) {
  CString s;
  // Two characters and a lone surrogate.
  Load(B({0xFF, 0xFE, 0xFF, 3, 'h', 0, 0xE9, 0, 0x3D, 0xD8}), [&](CArchive& ar) { ar >> s; });
  EXPECT_EQ(s, "h\xc3\xa9\xef\xbf\xbd");
  Load(B({0xFF, 0xFE, 0xFF, 2, 0x3D, 0xD8, 0x00, 0xDE}), [&](CArchive& ar) { ar >> s; });
  EXPECT_EQ(s, "\xf0\x9f\x98\x80");
}

TEST(Archive, ObjectRecordsNumberClassesAndObjectsTogether) {
  CShape a(5), b(6);
  CCircle c;
  c.m_size = 7;
  c.m_name = "r";
  const Bytes bytes =
      Store([&](CArchive& ar) { ar << &a << &b << &a << static_cast<CObject*>(nullptr) << &c << &c; });
  EXPECT_EQ(bytes, B({0xFF, 0xFF, 1, 0, 6, 0, "CShape",  5, 0, 0, 0,          // class 1, object 2
                      0x01, 0x80, 6, 0, 0, 0,                                 // class 1 again, object 3
                      0x02, 0x00,                                             // object 2
                      0x00, 0x00,                                             // null
                      0xFF, 0xFF, 2, 0, 7, 0, "CCircle", 7, 0, 0, 0, 1, "r",  // class 4, object 5
                      0x05, 0x00}));

  std::vector<std::unique_ptr<CObject>> owned;
  Load(bytes, [&](CArchive& ar) {
    CObject* p[6];
    for (auto*& object : p) ar >> object;
    owned.emplace_back(p[0]);
    owned.emplace_back(p[1]);
    owned.emplace_back(p[4]);
    ASSERT_TRUE(p[0]->IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_EQ(static_cast<CShape*>(p[0])->m_size, 5);
    EXPECT_EQ(static_cast<CShape*>(p[1])->m_size, 6);
    EXPECT_EQ(p[2], p[0]);
    EXPECT_EQ(p[3], nullptr);
    ASSERT_EQ(p[4]->GetRuntimeClass(), RUNTIME_CLASS(CCircle));
    const auto* circle = static_cast<CCircle*>(p[4]);
    EXPECT_EQ(circle->m_size, 7);
    EXPECT_EQ(circle->m_name, "r");
    EXPECT_EQ(circle->m_loadedSchema, 2u);
    EXPECT_EQ(p[5], p[4]);
  });
}

TEST(Archive, SharedReferencesAndCyclesComeBackAsOneObject) {
  CLink first, second;
  first.m_next = &second;
  second.m_next = &first;
  const Bytes bytes = Store([&](CArchive& ar) { ar << &first; });
  EXPECT_EQ(bytes, B({0xFF, 0xFF, 1, 0, 5, 0, "CLink", 0x01, 0x80, 0x02, 0x00}));
  CObject* loaded = nullptr;
  Load(bytes, [&](CArchive& ar) { ar >> loaded; });
  std::unique_ptr<CLink> one(static_cast<CLink*>(loaded));
  std::unique_ptr<CLink> two(static_cast<CLink*>(one->m_next));
  EXPECT_EQ(two->m_next, one.get());
}

TEST(Archive, TypedExtractionChecksTheClass) {
  CCircle circle;
  const Bytes bytes = Store([&](CArchive& ar) { ar << &circle; });
  CShape* shape = nullptr;
  Load(bytes, [&](CArchive& ar) { ar >> shape; });  // a circle is a shape
  std::unique_ptr<CShape> owned(shape);
  EXPECT_TRUE(shape->IsKindOf(RUNTIME_CLASS(CCircle)));

  CShape plain;
  const Bytes shapeBytes = Store([&](CArchive& ar) { ar << &plain; });
  EXPECT_EQ(LoadErrorOf(shapeBytes,
                        [](CArchive& ar) {
                          CCircle* c = nullptr;
                          ar >> c;
                        }),
            CArchiveException::badClass);
}

TEST(Archive, ClassRecordsAlone) {
  const Bytes bytes = Store([](CArchive& ar) {
    ar.WriteClass(RUNTIME_CLASS(CShape));
    ar.WriteClass(RUNTIME_CLASS(CShape));
    ar.SerializeClass(RUNTIME_CLASS(CCircle));
  });
  EXPECT_EQ(bytes, B({0xFF, 0xFF, 1, 0, 6, 0, "CShape", 0x01, 0x80, 0xFF, 0xFF, 2, 0, 7, 0, "CCircle"}));
  Load(bytes, [](CArchive& ar) {
    EXPECT_EQ(ar.ReadClass(), RUNTIME_CLASS(CShape));
    UINT schema = 0;
    EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CObject), &schema), RUNTIME_CLASS(CShape));
    EXPECT_EQ(schema, 1u);
    ar.SerializeClass(RUNTIME_CLASS(CShape));
    EXPECT_EQ(ar.GetObjectSchema(), 2u);
    EXPECT_EQ(ar.GetObjectSchema(), static_cast<UINT>(-1));  // asked once
  });
  EXPECT_EQ(LoadErrorOf(bytes, [](CArchive& ar) { ar.ReadClass(RUNTIME_CLASS(CCircle)); }),
            CArchiveException::badClass);
  int refused = 0;
  try {
    Store([](CArchive& ar) { ar.WriteClass(RUNTIME_CLASS(CNotPersistent)); });
  } catch (CNotSupportedException* e) {
    ++refused;
    e->Delete();
  }
  EXPECT_EQ(refused, 1);
}

TEST(Archive, IndicesFrom0x7FFFUseLongTags) {
  std::vector<std::unique_ptr<CShape>> shapes;
  for (int i = 0; i < 33000; ++i) shapes.push_back(std::make_unique<CShape>(i));
  CCircle circle1, circle2;
  const Bytes bytes = Store([&](CArchive& ar) {
    for (const auto& s : shapes) ar << s.get();  // class 1, objects 2 .. 33001
    ar << shapes.front().get() << shapes.back().get() << &circle1 << &circle2;
  });
  // After the shapes: object 2, object 33001 (long tag), class 33002 new, then that class again.
  const size_t tail = 2 + 6 + (6 + 7 + 4 + 1) + (6 + 4 + 1);
  const Bytes expectedTail = B({0x02, 0x00, 0xFF, 0x7F, 0xE9, 0x80, 0x00,      0x00,              //
                                0xFF, 0xFF, 2,    0,    7,    0,    "CCircle", 0,    0, 0, 0, 0,  //
                                0xFF, 0x7F, 0xEA, 0x80, 0x00, 0x80, 0,         0,    0, 0, 0});
  ASSERT_GE(bytes.size(), tail);
  EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail), bytes.end()), expectedTail);

  std::vector<std::unique_ptr<CObject>> loaded;
  Load(bytes, [&](CArchive& ar) {
    for (size_t i = 0; i < shapes.size() + 4; ++i) {
      CObject* object;
      ar >> object;
      if (i < shapes.size() || i >= shapes.size() + 2) {
        loaded.emplace_back(object);
      } else {
        EXPECT_EQ(object, loaded[i == shapes.size() ? 0 : shapes.size() - 1].get());
      }
    }
  });
  ASSERT_EQ(loaded.size(), shapes.size() + 2);
  EXPECT_EQ(static_cast<CShape*>(loaded[32999].get())->m_size, 32999);
  EXPECT_EQ(loaded.back()->GetRuntimeClass(), RUNTIME_CLASS(CCircle));
}

TEST(Archive, SchemaChecks) {
  const Bytes circleV7 = B({0xFF, 0xFF, 7, 0, 7, 0, "CCircle", 9, 0, 0, 0, 1, "v"});
  CObject* object = nullptr;
  Load(circleV7, [&](CArchive& ar) { ar >> object; });
  std::unique_ptr<CCircle> circle(static_cast<CCircle*>(object));
  EXPECT_EQ(circle->m_loadedSchema, 7u);  // versionable: any schema, reported to Serialize
  EXPECT_EQ(circle->m_name, "v");

  const Bytes shapeV5 = B({0xFF, 0xFF, 5, 0, 6, 0, "CShape", 9, 0, 0, 0});
  EXPECT_EQ(LoadErrorOf(shapeV5, [](CArchive& ar) { std::unique_ptr<CObject>(ar.ReadObject(nullptr)); }),
            CArchiveException::badSchema);
}

TEST(Archive, DamagedRecordsAreRejected) {
  const Bytes shapeRecord = B({0xFF, 0xFF, 1, 0, 6, 0, "CShape", 9, 0, 0, 0});
  struct Case {
    const char* what;
    Bytes bytes;
    int cause;
  };
  const Case kCases[] = {
      {"unknown class", B({0xFF, 0xFF, 1, 0, 8, 0, "CUnknown"}), CArchiveException::badClass},
      {"class not persistent", B({0xFF, 0xFF, 0xFF, 0xFF, 14, 0, "CNotPersistent"}),
       CArchiveException::badClass},
      {"name too long", Concat(B({0xFF, 0xFF, 1, 0, 64, 0}), Bytes(64, 'C')), CArchiveException::badClass},
      {"NUL in name", B({0xFF, 0xFF, 1, 0, 7, 0, "CShape", 0}), CArchiveException::badClass},
      {"class never defined", B({0x05, 0x80}), CArchiveException::badIndex},
      {"object never read", B({0x09, 0x00}), CArchiveException::badIndex},
      {"long tag to nothing", B({0xFF, 0x7F, 0x44, 0x33, 0x22, 0x11}), CArchiveException::badIndex},
      {"class used as object", Concat(shapeRecord, B({0x01, 0x00})), CArchiveException::badIndex},
      {"object used as class", Concat(shapeRecord, B({0x02, 0x80, 1, 0, 0, 0})), CArchiveException::badIndex},
      {"truncated class name", B({0xFF, 0xFF, 1, 0, 6, 0, "CSh"}), CArchiveException::endOfFile},
      {"empty", Bytes(), CArchiveException::endOfFile},
  };
  for (const auto& c : kCases) {
    std::vector<std::unique_ptr<CObject>> owned;
    EXPECT_EQ(LoadErrorOf(c.bytes,
                          [&](CArchive& ar) {
                            for (;;) owned.emplace_back(ar.ReadObject(nullptr));
                          }),
              c.cause)
        << c.what;
  }
}

TEST(Archive, ModeMisuseIsAnError) {
  CMemFile file;
  CArchive storing(&file, CArchive::store);
  BYTE b = 0;
  EXPECT_EQ(ArchiveErrorOf([&] { storing >> b; }), CArchiveException::writeOnly);
  storing.Abort();
  const Bytes bytes{1};
  EXPECT_EQ(LoadErrorOf(bytes, [](CArchive& ar) { ar << static_cast<BYTE>(1); }),
            CArchiveException::readOnly);
  EXPECT_EQ(ArchiveErrorOf([&] { storing << static_cast<BYTE>(1); }), CArchiveException::genericException);
}

TEST(Archive, BufferingAndTheFilePosition) {
  const std::string big(100000, 'b');
  const Bytes bytes = Store([&](CArchive& ar) {
    ar << static_cast<BYTE>(1);
    ar.Write(big.data(), static_cast<UINT>(big.size()));  // larger than the buffer
    ar << static_cast<BYTE>(2);
  });
  ASSERT_EQ(bytes.size(), big.size() + 2);
  Load(bytes, [&](CArchive& ar) {
    BYTE first, last;
    std::string back(big.size(), '\0');
    ar >> first;
    EXPECT_EQ(ar.Read(back.data(), static_cast<UINT>(back.size())), back.size());
    ar >> last;
    EXPECT_EQ(first, 1);
    EXPECT_EQ(back, big);
    EXPECT_EQ(last, 2);
    EXPECT_EQ(ar.Read(&first, 1), 0u);
  });

  // Closing a loading archive leaves the file at the first byte it did not consume.
  Bytes ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  CMemFile file(ten.data(), 10);
  {
    CArchive ar(&file, CArchive::load);
    WORD w;
    ar >> w;
    ar.Close();
  }
  EXPECT_EQ(file.GetPosition(), 2u);
}

TEST(Archive, DestructionFlushesUnlessAskedNotTo) {
  CMemFile flushed, dropped;
  {
    CArchive ar(&flushed, CArchive::store);
    ar << static_cast<DWORD>(7);
  }
  {
    CArchive ar(&dropped, CArchive::store | CArchive::bNoFlushOnDelete);
    ar << static_cast<DWORD>(7);
  }
  EXPECT_EQ(flushed.GetLength(), 4u);
  EXPECT_EQ(dropped.GetLength(), 0u);
}

TEST(Archive, TextLines) {
  const Bytes bytes = Store([](CArchive& ar) {
    ar.WriteString("first\r\n");
    ar.WriteString("second\n\nlast");
  });
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "first\r\nsecond\n\nlast");
  Load(bytes, [](CArchive& ar) {
    CString line;
    std::vector<std::string> lines;
    while (ar.ReadString(line)) lines.push_back(line.Str());
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "", "last"}));
  });
}

// A small archive with every kind of record, read back by ReadSample.
Bytes Sample() {
  CObList list;
  CShape s1(1), s2(2);
  CCircle c;
  c.m_name = "ring";
  list.AddTail(&s1);
  list.AddTail(&c);
  list.AddTail(&s1);
  list.AddTail(&s2);
  list.AddTail(static_cast<CObject*>(nullptr));
  CStringArray names;
  names.Add("alpha");
  names.Add("");
  CDWordArray numbers;
  numbers.Add(7);
  return Store([&](CArchive& ar) {
    list.Serialize(ar);
    names.Serialize(ar);
    numbers.Serialize(ar);
    ar << CString("tail") << static_cast<DWORD>(0xDEADBEEF);
  });
}

void ReadSample(CArchive& ar, CObList& list) {
  CStringArray names;
  CDWordArray numbers;
  CString tail;
  DWORD last;
  list.Serialize(ar);
  names.Serialize(ar);
  numbers.Serialize(ar);
  ar >> tail >> last;
  EXPECT_EQ(names.GetSize(), 2);
  EXPECT_EQ(last, 0xDEADBEEFu);
}

void DeleteDistinct(CObList& list) {
  std::vector<CObject*> seen;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    CObject* object = list.GetNext(pos);
    if (std::find(seen.begin(), seen.end(), object) == seen.end()) seen.push_back(object);
  }
  for (CObject* object : seen) delete object;
  list.RemoveAll();
}

TEST(Archive, EveryTruncationIsAnEndOfFile) {
  const Bytes full = Sample();
  {
    CObList list;
    Load(full, [&](CArchive& ar) { ReadSample(ar, list); });
    EXPECT_EQ(list.GetCount(), 5);
    DeleteDistinct(list);
  }
  for (size_t length = 0; length < full.size(); ++length) {
    CObList list;
    const int cause = LoadErrorOf(Bytes(full.begin(), full.begin() + static_cast<long>(length)),
                                  [&](CArchive& ar) { ReadSample(ar, list); });
    EXPECT_EQ(cause, CArchiveException::endOfFile) << "cut at " << length;
    DeleteDistinct(list);
  }
}

TEST(Archive, HugeCountsAndLengthsCostOnlyWhatIsThere) {
  struct Case {
    const char* what;
    Bytes bytes;
    std::function<void(CArchive&)> read;
  };
  const Bytes hugeCount = B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  const Case kCases[] = {
      {"string array", Concat(hugeCount, B({1, "a", 2, "b"})),
       [](CArchive& ar) { CStringArray().Serialize(ar); }},
      {"byte array", Concat(hugeCount, B({1, 2, 3})), [](CArchive& ar) { CByteArray().Serialize(ar); }},
      {"dword array", Concat(hugeCount, B({1, 2, 3, 4})), [](CArchive& ar) { CDWordArray().Serialize(ar); }},
      {"object array", Concat(hugeCount, B({0, 0})), [](CArchive& ar) { CObArray().Serialize(ar); }},
      {"string list", Concat(hugeCount, B({1, "a"})), [](CArchive& ar) { CStringList().Serialize(ar); }},
      {"object list", Concat(hugeCount, B({0, 0, 0, 0})), [](CArchive& ar) { CObList().Serialize(ar); }},
      {"string map", Concat(hugeCount, B({1, "k", 1, "v"})),
       [](CArchive& ar) { CMapStringToString().Serialize(ar); }},
      {"long string", B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, "short"}),
       [](CArchive& ar) {
         CString s;
         ar >> s;
       }},
      {"long wide string", B({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F, "ab"}),
       [](CArchive& ar) {
         CString s;
         ar >> s;
       }},
  };
  for (const auto& c : kCases) {
    testing_support::WatchAllocations(true);
    const int cause = LoadErrorOf(c.bytes, c.read);
    testing_support::WatchAllocations(false);
    EXPECT_EQ(cause, CArchiveException::endOfFile) << c.what;
    EXPECT_LT(testing_support::LargestAllocation(), 1u << 20) << c.what;
  }
}

TEST(Archive, DeepNestingIsRefusedBeforeTheStackRunsOut) {
  // Each link names a new link: a few bytes per level.
  Bytes nested = B({0xFF, 0xFF, 1, 0, 5, 0, "CLink"});
  for (int i = 0; i < 100000; ++i) nested.insert(nested.end(), {0x01, 0x80});
  EXPECT_EQ(LoadErrorOf(nested, [](CArchive& ar) { std::unique_ptr<CObject>(ar.ReadObject(nullptr)); }),
            CArchiveException::genericException);

  // What the program nests is far below the limit.
  std::vector<std::unique_ptr<CLink>> chain(50);
  for (auto& link : chain) link = std::make_unique<CLink>();
  for (size_t i = 0; i + 1 < chain.size(); ++i) chain[i]->m_next = chain[i + 1].get();
  CObject* loaded = nullptr;
  Load(Store([&](CArchive& ar) { ar << chain.front().get(); }), [&](CArchive& ar) { ar >> loaded; });
  int length = 0;
  for (CObject* link = loaded; link != nullptr;) {
    CObject* next = static_cast<CLink*>(link)->m_next;
    delete link;
    link = next;
    ++length;
  }
  EXPECT_EQ(length, 50);
}

TEST(Archive, ACollectionThatFailsPartWayLeavesNoElementBehind) {
  // Collections do not own their elements: the archive deletes what a failed load made, nested
  // collections and shared elements included, once each.
  const std::function<CObject*()> makers[] = {
      [] {
        auto* array = new CObArray;
        for (LONG i = 1; i <= 3; ++i) array->Add(new CShape(i));
        return array;
      },
      [] {
        auto* list = new CObList;
        auto* inner = new CObArray;
        auto* shared = new CShape(7);
        inner->Add(shared);
        inner->Add(new CCircle);
        list->AddTail(inner);
        list->AddTail(shared);
        list->AddTail(new CShape(8));
        return list;
      },
      [] {
        auto* map = new CMapStringToOb;
        map->SetAt("a", new CShape(1));
        map->SetAt("b", new CShape(2));
        return map;
      },
  };
  for (const auto& make : makers) {
    CObject* stored = make();
    const Bytes full = Store([&](CArchive& ar) { ar << stored; });
    std::vector<CObject*> elements;
    if (auto* array = dynamic_cast<CObArray*>(stored)) {
      for (INT_PTR i = 0; i < array->GetSize(); ++i) elements.push_back(array->GetAt(i));
    } else if (auto* list = dynamic_cast<CObList*>(stored)) {
      auto* inner = static_cast<CObArray*>(list->GetHead());
      elements = {inner, inner->GetAt(1), list->GetTail()};
      elements.push_back(inner->GetAt(0));
    } else {
      for (const char* key : {"a", "b"}) {
        CObject* value = nullptr;
        static_cast<CMapStringToOb*>(stored)->Lookup(key, value);
        elements.push_back(value);
      }
    }
    for (CObject* element : elements) delete element;
    delete stored;
    ASSERT_EQ(CShape::s_live, 0);

    for (size_t length = 0; length < full.size(); ++length) {
      CObject* object = nullptr;
      EXPECT_EQ(LoadErrorOf(Bytes(full.begin(), full.begin() + static_cast<long>(length)),
                            [&](CArchive& ar) { ar >> object; }),
                CArchiveException::endOfFile)
          << "cut at " << length;
      EXPECT_EQ(object, nullptr);
      EXPECT_EQ(CShape::s_live, 0) << "cut at " << length;
    }
  }
}

TEST(Archive, AMapWithAKeyTwiceIsDamaged) {
  // The second value would replace the first and leave it owned by nobody.
  const Bytes bytes = B({0xFF, 0xFF, 0,   0,        14,   0,    "CMapStringToOb",
                         2,    0,    1,   "k",      0xFF, 0xFF, 1,
                         0,    6,    0,   "CShape", 1,    0,    0,
                         0,    1,    "k", 0x03,     0x80, 2,    0,
                         0,    0});
  CObject* object = nullptr;
  EXPECT_EQ(LoadErrorOf(bytes, [&](CArchive& ar) { ar >> object; }), CArchiveException::genericException);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CShape::s_live, 0);
}

TEST(Archive, AnObjectWhoseLoadFailsIsNotHandedOut) {
  // A circle whose name is cut short: the circle is dropped, nothing leaks or dangles.
  const Bytes bytes = B({0xFF, 0xFF, 2, 0, 7, 0, "CCircle", 1, 0, 0, 0, 5, "ab"});
  CObject* object = nullptr;
  EXPECT_EQ(LoadErrorOf(bytes, [&](CArchive& ar) { ar >> object; }), CArchiveException::endOfFile);
  EXPECT_EQ(object, nullptr);
}

}  // namespace
