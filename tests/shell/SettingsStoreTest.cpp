#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "shell/LanguageSettings.h"
#include "shell/RegistrySettingsStore.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;

namespace {

const std::string kLanguageKey = LANGUAGE_SETTINGS_KEY;

class SettingsStoreTest : public RegistryFixture {};

// A store whose named values fail; it records what was asked.
class FailingStore : public CSettingsStore {
 public:
  explicit FailingStore(std::set<std::string> failing) : m_failing(std::move(failing)) {}
  CSettingsStore* CreateSubStore(LPCTSTR) override { return nullptr; }
  bool ContinueOnFailure() override { return true; }
  bool ExchangeBinary(LPCTSTR name, void*, DWORD, bool) override { return Ask(name); }
  bool ExchangeRawString(LPCTSTR name, LPTSTR buffer, DWORD& bytes, bool write) override {
    if (!Ask(name)) return bytes = 0, false;
    if (!write) {
      std::memcpy(buffer, "stored", 6);
      bytes = 6;
    }
    return true;
  }
  bool ExchangeDouble(LPCTSTR name, double&, bool) override { return Ask(name); }
  bool ExchangeBool(LPCTSTR name, bool&, bool) override { return Ask(name); }
  bool ExchangeDword(LPCTSTR name, DWORD& value, bool write) override {
    if (Ask(name) && !write) value = 0;
    return !m_failing.count(name);
  }
  bool ExchangeLong(LPCTSTR name, LONG& value, bool write) override {
    if (Ask(name) && !write) value = 0;
    return !m_failing.count(name);
  }
  std::string asked;

 private:
  bool Ask(LPCTSTR name) {
    asked += std::string(name) + ";";
    return !m_failing.count(name);
  }
  std::set<std::string> m_failing;
};

// A record of one value of each kind, for arrays and nested records.
class PairRecord : public CSettingsRecord {
 public:
  bool Exchange(bool, CSettingsStore& store, bool bWrite, bool) override {
    return store.ExchangeString("Name", name, bWrite) && store.ExchangeInt("Size", size, bWrite);
  }
  CString name;
  int size = 0;
};

}  // namespace

TEST_F(SettingsStoreTest, LanguageRecordExchangeFallsBackValueByValue) {
  struct Case {
    std::set<std::string> failing;
    bool write;
    bool continueOnFailure;
    bool result;
    const char* asked;
    const char* language;
    int languageAuto;
  };
  const Case cases[] = {
      {{}, false, true, true, "language;LangIniFile;LanguageAuto;", "stored", 0},
      {{"language"}, false, true, true, "language;LangIniFile;LanguageAuto;", "auto", 0},
      {{"LanguageAuto"}, false, true, true, "language;LangIniFile;LanguageAuto;", "stored", 1},
      {{"language"}, true, true, false, "language;LangIniFile;LanguageAuto;", "English", 0},
      {{"language"}, false, false, false, "language;", "English", 0},
      {{"LangIniFile"}, true, false, false, "language;LangIniFile;", "English", 0},
  };
  for (const Case& c : cases) {
    CLanguageSettings record;
    record.language = "English";
    record.LangIniFile = "lang_deu.ini";
    record.LanguageAuto = 0;
    FailingStore store(c.failing);
    EXPECT_EQ(record.Exchange(c.continueOnFailure, store, c.write, false), c.result) << c.asked;
    EXPECT_EQ(store.asked, c.asked);
    EXPECT_EQ(record.language, c.language) << c.asked;
    EXPECT_EQ(record.LanguageAuto, c.languageAuto) << c.asked;
  }
}

TEST_F(SettingsStoreTest, ResetTakesTheDefaultsWithoutTouchingTheStore) {
  CLanguageSettings record;
  record.language = "English";
  record.LangIniFile = "lang_deu.ini";
  record.LanguageAuto = 0;
  FailingStore store({});
  EXPECT_TRUE(record.Exchange(true, store, false, true));
  EXPECT_EQ(store.asked, "");
  EXPECT_EQ(record.language, "auto");
  EXPECT_EQ(record.LangIniFile, "lang_eng.ini");
  EXPECT_EQ(record.LanguageAuto, 1);
}

TEST_F(SettingsStoreTest, FirstRunKeepsDefaultsAndExitCreatesTheKey) {
  CLanguageSettings record;
  CRegistrySettingsStore loadStore(HKEY_CURRENT_USER, LANGUAGE_SETTINGS_KEY);
  EXPECT_FALSE(record.Load(loadStore));
  EXPECT_FALSE(KeyExists(kLanguageKey));
  EXPECT_EQ(record.language, "auto");
  EXPECT_EQ(record.LangIniFile, "lang_eng.ini");
  EXPECT_EQ(record.LanguageAuto, 1);

  record.LangIniFile = "lang_deu.ini";
  record.LanguageAuto = 0;
  CRegistrySettingsStore saveStore(HKEY_CURRENT_USER, LANGUAGE_SETTINGS_KEY);
  EXPECT_TRUE(record.Save(saveStore));
  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw(kLanguageKey, "language", type, data));
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(data, B("auto"));  // strings are stored without their terminator
  ASSERT_TRUE(QueryRaw(kLanguageKey, "LangIniFile", type, data));
  EXPECT_EQ(data, B("lang_deu.ini"));
  ASSERT_TRUE(QueryRaw(kLanguageKey, "LanguageAuto", type, data));
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(data, (Bytes{0, 0, 0, 0}));

  CLanguageSettings next;
  CRegistrySettingsStore nextStore(HKEY_CURRENT_USER, LANGUAGE_SETTINGS_KEY);
  EXPECT_TRUE(next.Load(nextStore));
  EXPECT_EQ(next.LangIniFile, "lang_deu.ini");
  EXPECT_EQ(next.LanguageAuto, 0);
}

TEST_F(SettingsStoreTest, MissingAndLongValuesOfTheLanguageRecord) {
  const std::string longName(200, 'L');
  SetRaw(kLanguageKey, "LangIniFile", REG_SZ, B("lang_fra.ini"));
  SetRaw(kLanguageKey, "language", REG_SZ, B(longName));
  CLanguageSettings record;
  record.LanguageAuto = 0;
  CRegistrySettingsStore store(HKEY_CURRENT_USER, LANGUAGE_SETTINGS_KEY);
  EXPECT_TRUE(record.Load(store));
  EXPECT_EQ(record.LangIniFile, "lang_fra.ini");
  EXPECT_EQ(record.language, CString(longName));  // read whole through the second try
  EXPECT_EQ(record.LanguageAuto, 1);
}

TEST_F(SettingsStoreTest, TypedValuesKeepTheirWidthAndSign) {
  CRegistrySettingsStore store(HKEY_CURRENT_USER, "Software\\Test\\Typed");
  ASSERT_TRUE(store.OpenForWrite());
  char c = -5;
  unsigned char uc = 250;
  short s = -2;
  float f = 1.5f;
  double d = -0.25;
  int64_t big = -3;
  bool flag = true;
  EXPECT_TRUE(store.ExchangeChar("Char", c, true));
  EXPECT_TRUE(store.ExchangeUChar("UChar", uc, true));
  EXPECT_TRUE(store.ExchangeShort("Short", s, true));
  EXPECT_TRUE(store.ExchangeFloat("Float", f, true));
  EXPECT_TRUE(store.ExchangeDouble("Double", d, true));
  EXPECT_TRUE(store.ExchangeInt64("Int64", big, true));
  EXPECT_TRUE(store.ExchangeBool("Bool", flag, true));
  EXPECT_TRUE(store.CloseAfterWrite());

  struct Case {
    const char* name;
    DWORD type;
    Bytes bytes;
  };
  const Case cases[] = {
      {"Char", REG_DWORD, {0xFB, 0xFF, 0xFF, 0xFF}},
      {"UChar", REG_DWORD, {0xFA, 0, 0, 0}},
      {"Short", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
      {"Float", REG_BINARY, {0, 0, 0xC0, 0x3F}},
      {"Double", REG_BINARY, {0, 0, 0, 0, 0, 0, 0xD0, 0xBF}},
      {"Int64", REG_BINARY, {0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"Bool", REG_DWORD, {1, 0, 0, 0}},
  };
  for (const Case& k : cases) {
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(QueryRaw("Software\\Test\\Typed", k.name, type, data)) << k.name;
    EXPECT_EQ(type, k.type) << k.name;
    EXPECT_EQ(data, k.bytes) << k.name;
  }

  SetDword("Software\\Test\\Typed", "Seven", 7);
  ASSERT_TRUE(store.OpenForRead());
  c = 0;
  s = 0;
  f = 0;
  big = 0;
  flag = false;
  EXPECT_TRUE(store.ExchangeChar("Char", c, false));
  EXPECT_TRUE(store.ExchangeShort("Short", s, false));
  EXPECT_TRUE(store.ExchangeFloat("Float", f, false));
  EXPECT_TRUE(store.ExchangeInt64("Int64", big, false));
  EXPECT_TRUE(store.ExchangeBool("Seven", flag, false));
  EXPECT_EQ(c, -5);
  EXPECT_EQ(s, -2);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(big, -3);
  EXPECT_TRUE(flag);
  // A failed read leaves the variable alone.
  int untouched = 99;
  EXPECT_FALSE(store.ExchangeInt("Missing", untouched, false));
  EXPECT_EQ(untouched, 99);
  f = 2.0f;
  EXPECT_FALSE(store.ExchangeFloat("Double", f, false));  // 8 stored bytes do not fit in 4
  EXPECT_EQ(f, 2.0f);
  EXPECT_TRUE(store.CloseAfterRead());
}

TEST_F(SettingsStoreTest, BinaryAndRawStringReads) {
  SetRaw("Software\\Test", "Short", REG_BINARY, {1, 2});
  SetRaw("Software\\Test", "Text", REG_SZ, B("abcdef"));
  CRegistrySettingsStore store(HKEY_CURRENT_USER, "Software\\Test");
  ASSERT_TRUE(store.OpenForRead());
  BYTE buffer[4] = {9, 9, 9, 9};
  EXPECT_TRUE(store.ExchangeBinary("Short", buffer, sizeof buffer, false));
  EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{1, 2, 9, 9}));
  BYTE tiny[1] = {7};
  EXPECT_FALSE(store.ExchangeBinary("Short", tiny, sizeof tiny, false));
  char text[4];
  DWORD bytes = sizeof text;
  EXPECT_FALSE(store.ExchangeRawString("Text", text, bytes, false));
  EXPECT_EQ(bytes, 6u);  // the size needed
  bytes = sizeof text;
  EXPECT_FALSE(store.ExchangeRawString("Missing", text, bytes, false));
  EXPECT_EQ(bytes, 0u);
  EXPECT_TRUE(store.CloseAfterRead());
}

TEST_F(SettingsStoreTest, ArraysOfRecordsAndNestedRecords) {
  CRegistrySettingsStore writer(HKEY_CURRENT_USER, "Software\\Test\\Arrays");
  ASSERT_TRUE(writer.OpenForWrite());
  int count = 2;
  ASSERT_TRUE(writer.BeginArray("Items", count, true));
  PairRecord first, second;
  first.name = "one";
  first.size = 1;
  second.name = "two";
  second.size = 2;
  EXPECT_TRUE(writer.ExchangeArrayItem(0, first, true));
  EXPECT_TRUE(writer.ExchangeArrayItem(1, second, true));
  EXPECT_TRUE(writer.EndArray(true));
  EXPECT_TRUE(writer.ExchangeRecord("Nested", first, true));
  EXPECT_TRUE(writer.CloseAfterWrite());

  DWORD type = 0;
  Bytes data;
  ASSERT_TRUE(QueryRaw("Software\\Test\\Arrays\\Items", "Count", type, data));
  EXPECT_EQ(data, (Bytes{2, 0, 0, 0}));
  ASSERT_TRUE(QueryRaw("Software\\Test\\Arrays\\Items\\1", "Name", type, data));
  EXPECT_EQ(data, B("two"));
  ASSERT_TRUE(QueryRaw("Software\\Test\\Arrays\\Nested", "Size", type, data));

  CRegistrySettingsStore reader(HKEY_CURRENT_USER, "Software\\Test\\Arrays");
  ASSERT_TRUE(reader.OpenForRead());
  count = 0;
  ASSERT_TRUE(reader.BeginArrayChecked("Items", count, false));
  EXPECT_EQ(count, 2);
  PairRecord back;
  EXPECT_TRUE(reader.ExchangeArrayItem(1, back, false));
  EXPECT_EQ(back.name, "two");
  EXPECT_EQ(back.size, 2);
  EXPECT_TRUE(reader.EndArrayChecked(false));
  EXPECT_FALSE(reader.EndArray(false));  // nothing held any more

  // A count of -1 opens nothing, but the array store is held until the end call.
  count = -1;
  EXPECT_FALSE(reader.BeginArray("Items", count, false));
  EXPECT_FALSE(reader.ExchangeArrayItem(0, back, false));  // the array store was never opened
  EXPECT_TRUE(reader.EndArray(false));
  // Without "Count" the checked form gives up and frees the array store at once.
  count = 0;
  EXPECT_FALSE(reader.BeginArrayChecked("Nested", count, false));
  EXPECT_FALSE(reader.EndArrayChecked(false));
  EXPECT_TRUE(reader.CloseAfterRead());

  LPCTSTR name = nullptr;
  EXPECT_TRUE(reader.GetArrayItemName(2147483647, 0, name));
  EXPECT_STREQ(name, "Item.2147483647");
}
