#include <gtest/gtest.h>

#include <string>

#include "platform/base/Archive.h"
#include "shell/ARRegistry.h"
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

const std::string kGeneral = kAppKey + "\\General";

class ARRegistryTest : public RegistryFixture {
 protected:
  // A writable object with "General" open.
  CARRegistry* Writer() {
    CARRegistry* registry = m_writer.Create(FALSE, FALSE);
    EXPECT_TRUE(registry->CreateKey("General"));
    return registry;
  }
  CARRegistry* Reader() {
    CARRegistry* registry = m_reader.Create(FALSE, TRUE);
    EXPECT_TRUE(registry->Open("General"));
    return registry;
  }
  Bytes Stored(const char* name, DWORD expectedType = REG_BINARY) {
    DWORD type = 0;
    Bytes data;
    EXPECT_TRUE(QueryRaw(kGeneral, name, type, data)) << name;
    EXPECT_EQ(type, expectedType) << name;
    return data;
  }

  CARRegistrySP m_writer;
  CARRegistrySP m_reader;
};

}  // namespace

TEST_F(ARRegistryTest, RelativePathsResolveBelowTheApplicationKey) {
  struct Case {
    const char* registryKey;
    const char* path;
    BOOL absolute;
    const char* resolved;
  };
  const Case cases[] = {
      {"", "Transition", FALSE, "Software\\Talvane Pictavo\\Transition"},
      {"", "General\\", FALSE, "Software\\Talvane Pictavo\\General"},
      {"", "General\\\\", FALSE, "Software\\Talvane Pictavo\\General\\"},
      {"Maker", "Settings", FALSE, "Software\\Maker\\Talvane Pictavo\\Settings"},
      {"", "Software\\Other\\Key\\", TRUE, "Software\\Other\\Key"},
  };
  for (const Case& c : cases) {
    SetRegistryApplication(c.registryKey, "Talvane Pictavo");
    CARRegistrySP creator(c.absolute);
    EXPECT_EQ(creator.Create(FALSE, TRUE)->ResolvePath(c.path), CString(c.resolved)) << c.path;
  }
  SetRegistryApplication("", "Talvane Pictavo");
}

TEST_F(ARRegistryTest, OpenWithTrailingBackslashOpensTheSameKey) {
  Writer()->WriteInt("Probe", 7);
  m_writer.m_pRegistry->Close();
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  ASSERT_TRUE(registry->Open("General\\"));
  int value = 0;
  EXPECT_TRUE(registry->ReadInt("Probe", value));
  EXPECT_EQ(value, 7);
}

TEST_F(ARRegistryTest, FailedOpenLeavesTheRootCurrent) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  EXPECT_FALSE(registry->Open("Missing"));
  EXPECT_EQ(registry->GetCurrentKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(KeyExists(kAppKey + "\\Missing"));
}

TEST_F(ARRegistryTest, SecondCreateReturnsTheFirstObject) {
  CARRegistrySP creator;
  CARRegistry* first = creator.Create(FALSE, TRUE);
  CARRegistry* second = creator.Create(TRUE, FALSE);
  EXPECT_EQ(first, second);
  EXPECT_TRUE(second->m_bReadOnly);
  EXPECT_FALSE(second->m_bAdmin);
  EXPECT_EQ(second->GetCurrentKey(), HKEY_CURRENT_USER);
}

TEST_F(ARRegistryTest, PlainValuesKeepTheirStoredForms) {
  CARRegistry* registry = Writer();
  ASSERT_TRUE(registry->WriteString("Text", "Rome"));
  ASSERT_TRUE(registry->WriteString("Empty", ""));
  ASSERT_TRUE(registry->WriteDword("Colour", 0x00C0FFEE));
  ASSERT_TRUE(registry->WriteInt("Negative", -2));
  const BYTE raw[] = {0, 1, 0xFF};
  ASSERT_TRUE(registry->WriteBinary("Raw", raw, sizeof raw));
  registry->Close();

  EXPECT_EQ(Stored("Text", REG_SZ), B(std::string_view("Rome\0", 5)));
  EXPECT_EQ(Stored("Empty", REG_SZ), B(std::string_view("\0", 1)));
  EXPECT_EQ(Stored("Colour", REG_DWORD), (Bytes{0xEE, 0xFF, 0xC0, 0x00}));
  EXPECT_EQ(Stored("Negative", REG_DWORD), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Stored("Raw"), (Bytes{0, 1, 0xFF}));

  CARRegistry* reader = Reader();
  CString text("x");
  EXPECT_TRUE(reader->ReadString("Text", text));
  EXPECT_EQ(text, "Rome");
  EXPECT_TRUE(reader->ReadString("Empty", text));
  EXPECT_EQ(text, "");
  int negative = 0;
  EXPECT_TRUE(reader->ReadInt("Negative", negative));
  EXPECT_EQ(negative, -2);
}

TEST_F(ARRegistryTest, ContainersAreArchivesByteForByte) {
  CARRegistry* registry = Writer();
  CStringArray strings;
  strings.Add("ab");
  strings.Add("");
  ASSERT_TRUE(registry->WriteStringArray("Strings", strings));
  CStringList list;
  list.AddTail("x");
  ASSERT_TRUE(registry->WriteStringList("List", list));
  CByteArray bytes;
  bytes.Add(7);
  bytes.Add(9);
  ASSERT_TRUE(registry->WriteByteArray("Bytes", bytes));
  CDWordArray dwords;
  dwords.Add(0x01020304);
  ASSERT_TRUE(registry->WriteDWordArray("Dwords", dwords));
  CWordArray words;
  words.Add(0x0102);
  words.Add(0xFFFF);
  ASSERT_TRUE(registry->WriteWordArray("Words", words));
  POINT point{-1, 2};
  ASSERT_TRUE(registry->WritePoint("Point", &point));
  RECT rect{1, 2, 300, -4};
  ASSERT_TRUE(registry->WriteRect("Rect", &rect));
  CTestMark mark(0xBEEF);
  ASSERT_TRUE(registry->WriteObject("Object", mark));
  ASSERT_TRUE(registry->WriteObjectPtr("ObjectPtr", &mark));
  CObList objects;
  objects.AddTail(&mark);
  objects.AddTail(&mark);
  ASSERT_TRUE(registry->WriteObList("Objects", objects));
  objects.RemoveAll();
  registry->Close();

  struct Case {
    const char* name;
    Bytes bytes;
  };
  // Counts are 16 bits, strings a length byte and their characters; objects carry their class
  // (0xFFFF, schema, name length, name) the first time, then its tag (0x8001), then the object
  // itself is referenced by index (2).
  const Bytes objectHeader = {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00, 'C', 'T',
                              'e',  's',  't',  'M',  'a',  'r',  'k'};
  Bytes objectPtr = objectHeader;
  objectPtr.insert(objectPtr.end(), {0xEF, 0xBE});
  Bytes objectList = {0x02, 0x00};
  objectList.insert(objectList.end(), objectHeader.begin(), objectHeader.end());
  objectList.insert(objectList.end(), {0xEF, 0xBE, 0x02, 0x00});
  const Case cases[] = {
      {"Strings", {0x02, 0x00, 0x02, 'a', 'b', 0x00}},
      {"List", {0x01, 0x00, 0x01, 'x'}},
      {"Bytes", {0x02, 0x00, 0x07, 0x09}},
      {"Dwords", {0x01, 0x00, 0x04, 0x03, 0x02, 0x01}},
      {"Words", {0x02, 0x00, 0x00, 0x00, 0x02, 0x01, 0xFF, 0xFF}},
      {"Point", {0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"Rect", {1, 0, 0, 0, 2, 0, 0, 0, 0x2C, 0x01, 0, 0, 0xFC, 0xFF, 0xFF, 0xFF}},
      {"Object", {0xEF, 0xBE}},
      {"ObjectPtr", objectPtr},
      {"Objects", objectList},
  };
  for (const Case& c : cases) EXPECT_EQ(Stored(c.name), c.bytes) << c.name;

  CARRegistry* reader = Reader();
  CStringArray readStrings;
  readStrings.Add("old");
  ASSERT_TRUE(reader->ReadStringArray("Strings", readStrings));
  ASSERT_EQ(readStrings.GetSize(), 2);
  EXPECT_EQ(readStrings[0], "ab");
  EXPECT_EQ(readStrings[1], "");
  CStringList readList;
  readList.AddTail("old");
  ASSERT_TRUE(reader->ReadStringList("List", readList));
  ASSERT_EQ(readList.GetCount(), 1);
  EXPECT_EQ(readList.GetHead(), "x");
  CWordArray readWords;
  ASSERT_TRUE(reader->ReadWordArray("Words", readWords));
  ASSERT_EQ(readWords.GetSize(), 2);
  EXPECT_EQ(readWords[1], 0xFFFF);
  POINT readPoint{};
  ASSERT_TRUE(reader->ReadPoint("Point", &readPoint));
  EXPECT_EQ(readPoint.x, -1);
  EXPECT_EQ(readPoint.y, 2);
  RECT readRect{};
  ASSERT_TRUE(reader->ReadRect("Rect", &readRect));
  EXPECT_EQ(readRect.right, 300);
  EXPECT_EQ(readRect.bottom, -4);
  CTestMark readMark;
  ASSERT_TRUE(reader->ReadObject("Object", readMark));
  EXPECT_EQ(readMark.m_value, 0xBEEF);
  CObject* created = nullptr;
  ASSERT_TRUE(reader->ReadObjectPtr("ObjectPtr", created));
  ASSERT_NE(created, nullptr);
  ASSERT_TRUE(created->IsKindOf(RUNTIME_CLASS(CTestMark)));
  EXPECT_EQ(static_cast<CTestMark*>(created)->m_value, 0xBEEF);
  delete created;
  CObList readObjects;
  readObjects.AddTail(new CTestMark(1));  // deleted by the read
  ASSERT_TRUE(reader->ReadObList("Objects", readObjects));
  ASSERT_EQ(readObjects.GetCount(), 2);
  EXPECT_EQ(readObjects.GetHead(), readObjects.GetTail());  // one object, referenced twice
  delete readObjects.GetHead();
  readObjects.RemoveAll();
}

TEST_F(ARRegistryTest, LongStringArraysUseSixteenBitLengths) {
  CStringArray strings;
  for (int i = 0; i < 300; ++i) strings.Add(CString(static_cast<char>('a' + i % 26), 300));
  ASSERT_TRUE(Writer()->WriteStringArray("Long", strings));
  m_writer.m_pRegistry->Close();

  const Bytes stored = Stored("Long");
  ASSERT_EQ(stored.size(), 2u + 300u * (3u + 300u));
  EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 5), (Bytes{0x2C, 0x01, 0xFF, 0x2C, 0x01}));

  CStringArray back;
  ASSERT_TRUE(Reader()->ReadStringArray("Long", back));
  ASSERT_EQ(back.GetSize(), 300);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(back[i], strings[i]) << i;
}

TEST_F(ARRegistryTest, ReadersWithDefaults) {
  SetString(kGeneral, "Short", "ab");   // 3 bytes with the NUL
  SetString(kGeneral, "Long", "abcd");  // 5 bytes: too long for a DWORD
  SetRaw(kGeneral, "Text", REG_SZ, B("no terminator"));
  SetRaw(kGeneral, "Cut", REG_SZ, B(std::string_view("one\0two", 7)));
  SetString(kGeneral, "NotAPoint", "1,2");
  CARRegistry* reader = Reader();

  DWORD dword = 5;
  EXPECT_FALSE(reader->ReadDwordOr("Missing", dword, 42));
  EXPECT_EQ(dword, 42u);
  // A number is exactly four bytes: a shorter value is not one either.
  dword = 5;
  EXPECT_FALSE(reader->ReadDwordOr("Short", dword, 42));
  EXPECT_EQ(dword, 42u);
  dword = 5;
  EXPECT_FALSE(reader->ReadDwordOr("Long", dword, 42));
  EXPECT_EQ(dword, 42u);
  int number = 5;
  EXPECT_FALSE(reader->ReadInt("Missing", number));
  EXPECT_EQ(number, 5);  // the plain reader leaves it

  CString text("keep");
  EXPECT_TRUE(reader->ReadString("Text", text));
  EXPECT_EQ(text, "no terminator");
  EXPECT_TRUE(reader->ReadString("Cut", text));
  EXPECT_EQ(text, "one");
  EXPECT_FALSE(reader->ReadString("Missing", text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(reader->ReadStringOr("Missing", text, "fallback"));
  EXPECT_EQ(text, "fallback");

  POINT point{3, 4};
  const POINT fallback{9, 9};
  EXPECT_FALSE(reader->ReadPointOr("NotAPoint", &point, &fallback));
  EXPECT_EQ(point.x, 9);
  RECT rect{};
  const RECT fallbackRect{1, 1, 2, 2};
  EXPECT_FALSE(reader->ReadRectOr("Missing", &rect, &fallbackRect));
  EXPECT_EQ(rect.right, 2);
}

TEST_F(ARRegistryTest, DamagedArchivesReadAsFailures) {
  SetRaw(kGeneral, "Truncated", REG_BINARY, {0x03, 0x00, 0x02, 'a'});  // three strings promised
  SetRaw(kGeneral, "HugeCount", REG_BINARY, {0xFF, 0xFF, 0xFF, 0x7F, 0x01, 0x00});
  SetRaw(kGeneral, "ShortRect", REG_BINARY, {1, 0, 0, 0});
  SetRaw(kGeneral, "Empty", REG_BINARY, {});
  CARRegistry* reader = Reader();

  CStringArray strings;
  EXPECT_FALSE(reader->ReadStringArray("Truncated", strings));
  CWordArray words;
  EXPECT_FALSE(reader->ReadWordArray("HugeCount", words));
  EXPECT_EQ(words.GetSize(), 0);
  RECT rect{5, 5, 5, 5};
  EXPECT_FALSE(reader->ReadRect("ShortRect", &rect));
  EXPECT_EQ(rect.left, 5);
  BYTE* data = reinterpret_cast<BYTE*>(1);
  UINT size = 9;
  EXPECT_TRUE(reader->ReadBinary("Empty", data, size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_FALSE(reader->ReadStringArray("Empty", strings));
  CObject* object = nullptr;
  EXPECT_FALSE(reader->ReadObjectPtr("Truncated", object));
  EXPECT_EQ(object, nullptr);
}

TEST_F(ARRegistryTest, ReadOnlyObjectsRefuseEveryChange) {
  Writer()->WriteInt("Value", 1);
  m_writer.m_pRegistry->Close();
  CARRegistry* reader = Reader();
  CStringArray strings;
  POINT point{};
  EXPECT_FALSE(reader->WriteInt("Value", 2));
  EXPECT_FALSE(reader->WriteString("Text", "x"));
  EXPECT_FALSE(reader->WriteStringArray("Strings", strings));
  EXPECT_FALSE(reader->WritePoint("Point", &point));
  EXPECT_FALSE(reader->CreateKey("Other"));
  EXPECT_FALSE(reader->DeleteKey("General", FALSE));
  EXPECT_FALSE(reader->DeleteValue("Value"));  // the key is open for reading only
  int value = 0;
  EXPECT_TRUE(reader->ReadInt("Value", value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(KeyExists(kAppKey + "\\Other"));
}

TEST_F(ARRegistryTest, DeleteKeyRemovesTheWholeTree) {
  for (const char* key : {"Tree\\A\\A1", "Tree\\A\\A2\\Deep", "Tree\\B"})
    SetDword(kAppKey + "\\" + key, "v", 1);
  SetDword(kAppKey + "\\Treeline", "v", 1);
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  EXPECT_TRUE(registry->DeleteKey("Tree", FALSE));
  EXPECT_FALSE(KeyExists(kAppKey + "\\Tree"));
  EXPECT_TRUE(KeyExists(kAppKey + "\\Treeline"));
  EXPECT_FALSE(registry->DeleteKey("Tree", FALSE));
}

TEST_F(ARRegistryTest, EnumerationsAndVerification) {
  CARRegistry* registry = Writer();
  CStringArray names;
  EXPECT_FALSE(registry->EnumValueNames(names));
  EXPECT_FALSE(registry->EnumSubKeyNames(names));
  EXPECT_FALSE(registry->VerifyValue("Second"));
  registry->WriteInt("Second", 2);
  registry->WriteInt("First", 1);
  EXPECT_TRUE(registry->VerifyValue("Second"));
  ASSERT_TRUE(registry->EnumValueNames(names));
  ASSERT_EQ(names.GetSize(), 2);
  EXPECT_EQ(names[0], "Second");
  EXPECT_EQ(names[1], "First");
  SetDword(kGeneral + "\\Sub", "v", 1);
  names.RemoveAll();
  ASSERT_TRUE(registry->EnumSubKeyNames(names));
  ASSERT_EQ(names.GetSize(), 1);
  EXPECT_EQ(names[0], "Sub");

  EXPECT_TRUE(registry->VerifyKey("General\\Sub"));
  EXPECT_EQ(registry->GetCurrentKey(), HKEY_CURRENT_USER);  // VerifyKey closed "General"
  EXPECT_FALSE(registry->VerifyKey("General\\Nothing"));
}
