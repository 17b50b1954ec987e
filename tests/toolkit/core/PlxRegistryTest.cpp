#include "toolkit/core/PlxRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/base/Archive.h"
#include "platform/mfc/WinApp.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;

namespace {

// A small persistent class for the object values.
class CTestMark : public CObject {
  DECLARE_SERIAL(CTestMark)

 public:
  CTestMark() = default;
  explicit CTestMark(WORD value) : m_value(value) {}
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar << m_value;
    else
      ar >> m_value;
  }
  WORD m_value = 0;
};
IMPLEMENT_SERIAL(CTestMark, CObject, 1)

// Another persistent class, never the one a reader expects.
class CTestOther : public CObject {
  DECLARE_SERIAL(CTestOther)

 public:
  void Serialize(CArchive&) override {}
};
IMPLEMENT_SERIAL(CTestOther, CObject, 1)

const std::string kKey = "SOFTWARE\\Plx\\Toolkit";

class PlxRegistryTest : public RegistryFixture {
 protected:
  CPlxRegistry& Writer() {
    CPlxRegistry& registry = m_writer.Create(FALSE, FALSE);
    EXPECT_TRUE(registry.CreateKey(kKey.c_str()));
    return registry;
  }
  CPlxRegistry& Reader() {
    CPlxRegistry& registry = m_reader.Create(FALSE, TRUE);
    EXPECT_TRUE(registry.Open(kKey.c_str()));
    return registry;
  }
  Bytes Stored(const char* name, DWORD& type) {
    Bytes data;
    EXPECT_TRUE(QueryRaw(kKey, name, type, data)) << name;
    return data;
  }

  CPlxRegistryHolder m_writer;
  CPlxRegistryHolder m_reader;
};

Bytes Le32(std::initializer_list<DWORD> values) {
  Bytes bytes;
  for (DWORD v : values)
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(v >> (8 * i)));
  return bytes;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace

TEST_F(PlxRegistryTest, EveryValueFormStoresItsBytesAndReadsBack) {
  struct Case {
    const char* name;
    std::function<BOOL(CPlxRegistry&)> write;
    DWORD type;
    Bytes bytes;
    std::function<bool(CPlxRegistry&)> readBack;
  };
  const Case cases[] = {
      {"Int", [](CPlxRegistry& r) { return r.WriteInt("Int", -2); }, REG_DWORD, Le32({0xFFFFFFFEu}),
       [](CPlxRegistry& r) {
         int n = 0;
         return r.ReadInt("Int", n) && n == -2;
       }},
      {"Dword", [](CPlxRegistry& r) { return r.WriteDword("Dword", 0x12345678u); }, REG_DWORD,
       Le32({0x12345678u}),
       [](CPlxRegistry& r) {
         DWORD n = 0;
         return r.ReadDword("Dword", n) && n == 0x12345678u;
       }},
      {"Text", [](CPlxRegistry& r) { return r.WriteString("Text", "ab"); }, REG_SZ,
       B(std::string_view("ab\0", 3)),
       [](CPlxRegistry& r) {
         CString t;
         return r.ReadString("Text", t) && t == "ab";
       }},
      {"Empty", [](CPlxRegistry& r) { return r.WriteString("Empty", ""); }, REG_SZ, Bytes{0},
       [](CPlxRegistry& r) {
         CString t("x");
         return r.ReadString("Empty", t) && t.IsEmpty();
       }},
      {"Rect",
       [](CPlxRegistry& r) {
         return r.WriteRect("Rect", RECT{1, -2, 300, 4});
       },
       REG_BINARY, Le32({1, 0xFFFFFFFEu, 300, 4}),
       [](CPlxRegistry& r) {
         RECT rc{};
         return r.ReadRect("Rect", rc) && rc.left == 1 && rc.top == -2 && rc.right == 300 && rc.bottom == 4;
       }},
      {"Point",
       [](CPlxRegistry& r) {
         POINT pt{7, -8};
         POINT* p = &pt;
         return r.WritePoint("Point", p);
       },
       REG_BINARY, Cat({Bytes{5, 0}, Le32({7, 0xFFFFFFF8u, 0, 0, 0})}),
       [](CPlxRegistry& r) {
         POINT pt{};
         POINT* p = &pt;
         return r.ReadPoint("Point", p) && pt.x == 7 && pt.y == -8;
       }},
      {"Words",
       [](CPlxRegistry& r) {
         CWordArray a;
         a.Add(1);
         a.Add(0xABCD);
         return r.WriteWordArray("Words", a);
       },
       REG_BINARY, Bytes{2, 0, 0, 0, 1, 0, 0xCD, 0xAB},
       [](CPlxRegistry& r) {
         CWordArray a;
         return r.ReadWordArray("Words", a) && a.GetSize() == 2 && a[1] == 0xABCD;
       }},
      {"NoWords",
       [](CPlxRegistry& r) {
         CWordArray a;
         return r.WriteWordArray("NoWords", a);
       },
       REG_BINARY, Bytes{0, 0, 0, 0},
       [](CPlxRegistry& r) {
         CWordArray a;
         a.Add(9);
         return r.ReadWordArray("NoWords", a) && a.GetSize() == 0;
       }},
      {"Dwords",
       [](CPlxRegistry& r) {
         CDWordArray a;
         a.Add(3);
         return r.WriteDWordArray("Dwords", a);
       },
       REG_BINARY, Cat({Bytes{1, 0}, Le32({3})}),
       [](CPlxRegistry& r) {
         CDWordArray a;
         return r.ReadDWordArray("Dwords", a) && a.GetSize() == 1 && a[0] == 3;
       }},
      {"ByteArr",
       [](CPlxRegistry& r) {
         CByteArray a;
         a.Add(0xEE);
         return r.WriteByteArray("ByteArr", a);
       },
       REG_BINARY, Bytes{1, 0, 0xEE},
       [](CPlxRegistry& r) {
         CByteArray a;
         return r.ReadByteArray("ByteArr", a) && a.GetSize() == 1 && a[0] == 0xEE;
       }},
      {"Strings",
       [](CPlxRegistry& r) {
         CStringArray a;
         a.Add("hi");
         return r.WriteStringArray("Strings", a);
       },
       REG_BINARY, Bytes{1, 0, 2, 'h', 'i'},
       [](CPlxRegistry& r) {
         CStringArray a;
         return r.ReadStringArray("Strings", a) && a.GetSize() == 1 && a[0] == "hi";
       }},
      {"List",
       [](CPlxRegistry& r) {
         CStringList l;
         l.AddTail("a");
         l.AddTail("bc");
         return r.WriteStringList("List", l);
       },
       REG_BINARY, Bytes{2, 0, 1, 'a', 2, 'b', 'c'},
       [](CPlxRegistry& r) {
         CStringList l;
         return r.ReadStringList("List", l) && l.GetCount() == 2 && l.GetTail() == "bc";
       }},
      {"Object",
       [](CPlxRegistry& r) {
         CTestMark mark(0x0102);
         return r.WriteObject("Object", &mark);
       },
       REG_BINARY, Cat({Bytes{0xFF, 0xFF, 1, 0, 9, 0}, B("CTestMark"), Bytes{2, 1}}),
       [](CPlxRegistry& r) {
         CObject* object = nullptr;
         const bool ok = r.ReadObject("Object", object, RUNTIME_CLASS(CTestMark)) && object != nullptr &&
                         static_cast<CTestMark*>(object)->m_value == 0x0102;
         delete object;
         return ok;
       }},
      {"Raw",
       [](CPlxRegistry& r) {
         return r.WriteBinary("Raw", Bytes{1, 2, 3}.data(), 3);
       },
       REG_BINARY, Bytes{1, 2, 3},
       [](CPlxRegistry& r) {
         BYTE* data = nullptr;
         UINT count = 0;
         const bool ok = r.ReadBinary("Raw", &data, &count) && count == 3 && data[2] == 3;
         delete[] data;
         return ok;
       }},
  };
  CPlxRegistry& writer = Writer();
  for (const Case& c : cases) ASSERT_TRUE(c.write(writer)) << c.name;
  m_writer.m_pRegistry->Close();
  CPlxRegistry& reader = Reader();
  for (const Case& c : cases) {
    DWORD type = 0;
    EXPECT_EQ(Stored(c.name, type), c.bytes) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_TRUE(c.readBack(reader)) << c.name;
  }
}

TEST_F(PlxRegistryTest, MalformedValuesFailAndLeaveTheTargetAsItWas) {
  SetRaw(kKey, "Short", REG_DWORD, Bytes{1, 2});
  SetRaw(kKey, "TextNumber", REG_SZ, Bytes{'1', '2', '3', 0});
  SetRaw(kKey, "ShortRect", REG_BINARY, Le32({1, 2}));
  SetRaw(kKey, "LongRect", REG_BINARY, Le32({1, 2, 3, 4, 5}));
  SetString(kKey, "TextPoint", "1,2");
  SetRaw(kKey, "OnePoint", REG_BINARY, Cat({Bytes{1, 0}, Le32({7})}));
  SetRaw(kKey, "HugeWords", REG_BINARY, Le32({0x7FFFFFFF}));
  SetRaw(kKey, "HugeStrings", REG_BINARY, Cat({Bytes{0xFF, 0xFF}, Le32({0x7FFFFFFF}), Bytes{1, 'a'}}));
  SetRaw(kKey, "Unknown", REG_BINARY, Cat({Bytes{0xFF, 0xFF, 1, 0, 7, 0}, B("CNobody")}));
  SetRaw(kKey, "Empty", REG_BINARY, Bytes{});
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& writer = holder.Create(FALSE, FALSE);
    ASSERT_TRUE(writer.Open(kKey.c_str()));
    CTestOther other;
    ASSERT_TRUE(writer.WriteObject("Other", &other));
  }
  CPlxRegistry& reader = Reader();

  int number = 5;
  for (const char* name : {"Short", "TextNumber", "Missing"}) {
    EXPECT_FALSE(reader.ReadInt(name, number)) << name;
    EXPECT_EQ(number, 5) << name;
  }
  RECT rect{9, 9, 9, 9};
  for (const char* name : {"ShortRect", "LongRect", "Missing"}) {
    EXPECT_FALSE(reader.ReadRect(name, rect)) << name;
    EXPECT_EQ(rect.left + rect.top + rect.right + rect.bottom, 36) << name;
  }
  POINT point{3, 3};
  POINT* pPoint = &point;
  for (const char* name : {"TextPoint", "OnePoint", "Missing"}) {
    EXPECT_FALSE(reader.ReadPoint(name, pPoint)) << name;
    EXPECT_EQ(point.x + point.y, 6) << name;
  }
  CWordArray words;
  words.Add(1);
  EXPECT_FALSE(reader.ReadWordArray("HugeWords", words));
  EXPECT_EQ(words.GetSize(), 0);
  CStringArray strings;
  EXPECT_FALSE(reader.ReadStringArray("HugeStrings", strings));
  EXPECT_EQ(strings.GetSize(), 0);
  CDWordArray dwords;
  EXPECT_FALSE(reader.ReadSerialized("Empty", dwords));

  CObject* object = nullptr;
  EXPECT_FALSE(reader.ReadObject("Unknown", object));
  EXPECT_FALSE(reader.ReadObject("Other", object, RUNTIME_CLASS(CTestMark)));
  EXPECT_EQ(object, nullptr);
  // Without an expected class, any class the program knows is accepted.
  ASSERT_TRUE(reader.ReadObject("Other", object));
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CTestOther)));
  delete object;

  BYTE* data = reinterpret_cast<BYTE*>(1);
  UINT count = 9;
  EXPECT_TRUE(reader.ReadBinary("Empty", &data, &count));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(count, 0u);
  CString text("keep");
  EXPECT_FALSE(reader.ReadString("Missing", text));
  EXPECT_TRUE(text.IsEmpty());
}

TEST_F(PlxRegistryTest, ReadOnlyObjectRefusesEveryChange) {
  SetDword(kKey + "\\Child", "Kept", 1);
  CPlxRegistry& reader = Reader();
  CWordArray words;
  CStringList list;
  CObList objects;
  RECT rect{};
  POINT point{};
  POINT* pPoint = &point;
  const std::pair<const char*, std::function<BOOL()>> writes[] = {
      {"WriteInt", [&] { return reader.WriteInt("A", 1); }},
      {"WriteDword", [&] { return reader.WriteDword("A", 1); }},
      {"WriteString", [&] { return reader.WriteString("A", "x"); }},
      {"WriteBinary", [&] { return reader.WriteBinary("A", nullptr, 0); }},
      {"WriteRect", [&] { return reader.WriteRect("A", rect); }},
      {"WritePoint", [&] { return reader.WritePoint("A", pPoint); }},
      {"WriteWordArray", [&] { return reader.WriteWordArray("A", words); }},
      {"WriteStringList", [&] { return reader.WriteStringList("A", list); }},
      {"WriteObList", [&] { return reader.WriteObList("A", objects); }},
      {"WriteObject", [&] { return reader.WriteObject("A", nullptr); }},
      {"CreateKey", [&] { return reader.CreateKey("New"); }},
      {"DeleteKey", [&] { return reader.DeleteKey((kKey + "\\Child").c_str()); }},
  };
  for (const auto& [name, write] : writes) EXPECT_FALSE(write()) << name;
  EXPECT_FALSE(reader.VerifyValue("A"));
  EXPECT_TRUE(KeyExists(kKey + "\\Child"));
  EXPECT_FALSE(KeyExists(kKey + "\\New"));
}

TEST_F(PlxRegistryTest, KeysPathsAndEnumeration) {
  SetDword(kKey + "\\A\\B\\C", "Deep", 1);
  SetDword(kKey + "\\A\\D", "Side", 1);
  SetDword(kKey, "Value", 1);

  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, FALSE);
  // One trailing backslash names the same key.
  EXPECT_TRUE(registry.VerifyKey((kKey + "\\A\\").c_str()));
  ASSERT_TRUE(registry.Open((kKey + "\\").c_str()));

  CStringArray names;
  names.Add("first");
  ASSERT_TRUE(registry.EnumSubKeyNames(names));
  ASSERT_TRUE(registry.EnumSubKeyNames(names));
  EXPECT_EQ(names.GetSize(), 3);  // appended twice after what was there
  EXPECT_EQ(names[1], "A");
  CStringArray values;
  EXPECT_TRUE(registry.EnumValueNames(values));
  EXPECT_EQ(values.GetSize(), 1);

  // Open works relative to the current key.
  ASSERT_TRUE(registry.Open("A\\B\\C"));
  CStringArray none;
  none.Add("kept");
  EXPECT_FALSE(registry.EnumSubKeyNames(none));
  EXPECT_EQ(none.GetSize(), 1);
  EXPECT_FALSE(registry.Open("Nowhere"));
  EXPECT_TRUE(registry.VerifyValue("Deep"));

  // DeleteKey ignores the current key and removes every level below the one named.
  EXPECT_TRUE(registry.DeleteKey((kKey + "\\A").c_str()));
  EXPECT_FALSE(KeyExists(kKey + "\\A"));
  EXPECT_TRUE(KeyExists(kKey));
  EXPECT_FALSE(registry.DeleteKey((kKey + "\\A").c_str()));
  // An empty path would be the user's whole root.
  EXPECT_FALSE(registry.DeleteKey(""));
  EXPECT_FALSE(registry.DeleteKey("\\"));
  EXPECT_TRUE(KeyExists(kKey));

  registry.Close();
  EXPECT_FALSE(registry.Open(kKey.c_str()));
}

TEST_F(PlxRegistryTest, ReadObListDeletesWhatTheListHeld) {
  {
    CPlxRegistry& writer = Writer();
    CObList stored;
    stored.AddTail(new CTestMark(4));
    stored.AddTail(new CTestMark(5));
    ASSERT_TRUE(writer.WriteObList("Marks", stored));
    while (!stored.IsEmpty()) delete stored.RemoveHead();
  }
  CObList list;
  list.AddTail(new CTestMark(1));
  CPlxRegistry& reader = Reader();
  ASSERT_TRUE(reader.ReadObList("Marks", list));
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(static_cast<CTestMark*>(list.GetTail())->m_value, 5);
  EXPECT_FALSE(reader.ReadObList("Missing", list));
  EXPECT_TRUE(list.IsEmpty());
}

TEST(PlxGetRegPath, BuildsTheSectionKeyUnderTheApplication) {
  CWinApp app("App");
  app.m_pszProfileName = strdup("App");
  EXPECT_EQ(PlxGetRegPath("PlxUserToolsManager"), "SOFTWARE\\App\\PlxUserToolsManager\\");
  EXPECT_EQ(PlxGetRegPath("PlxUserToolsManager", ""), "SOFTWARE\\App\\PlxUserToolsManager\\");
  EXPECT_EQ(PlxGetRegPath("Section", "Custom\\Path"), "Custom\\Path");
  app.m_pszRegistryKey = strdup("Talvane");
  EXPECT_EQ(PlxGetRegPath("S"), "SOFTWARE\\Talvane\\App\\S\\");
}
