#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/kernel/Registry.h"
#include "platform/registry/Hive.h"
#include "tests/platform/kernel/FileTestSupport.h"
#include "tests/support/ScopedEnv.h"

namespace {

using pictavo::test::ScopedEnv;

using Bytes = std::vector<BYTE>;

Bytes B(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

LSTATUS Set(HKEY key, const char* name, DWORD type, const Bytes& data) {
  return RegSetValueEx(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
}

// The value's type and bytes, or the error of the query.
LSTATUS Query(HKEY key, const char* name, DWORD& type, Bytes& data) {
  DWORD size = 0;
  if (const LSTATUS error = RegQueryValueEx(key, name, nullptr, &type, nullptr, &size);
      error != ERROR_SUCCESS)
    return error;
  data.assign(size, 0xCC);
  return RegQueryValueEx(key, name, nullptr, &type, data.data(), &size);
}

HKEY Create(HKEY root, const char* path, DWORD* disposition = nullptr) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                           disposition),
            ERROR_SUCCESS)
      << path;
  return key;
}

// Runs `body` in a child process; its result is the child's exit status.
int InChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

struct TypedValue {
  const char* name;
  DWORD type;
  Bytes data;
};

const std::vector<TypedValue> kEveryType = {
    {"String", REG_SZ, B(std::string_view("/home/anna/Pictures\0", 20))},
    {"StringWithoutNul", REG_SZ, B("auto")},
    {"Expand", REG_EXPAND_SZ, B(std::string_view("$HOME/x\0", 8))},
    {"Dword", REG_DWORD, {0x2A, 0x00, 0x00, 0x80}},
    {"Binary", REG_BINARY, {0x00, 0xFF, 0x0A, 0x22, 0x5C}},
    {"EmptyBinary", REG_BINARY, {}},
    {"Multi", REG_MULTI_SZ, B(std::string_view("one\0two\0\0", 9))},
    {"ShortDword", REG_DWORD, {1, 2, 3}},
    {"Quoted \"name\"", REG_SZ, B(std::string_view("line\nbreak \"q\" \\ \xFF\0", 19))},
    {"", REG_SZ, B(std::string_view("default\0", 8))},
};

class RegistryTest : public ::testing::Test {
 protected:
  // Whatever a failed test left pending goes to this test's folder, not to the user's settings.
  ~RegistryTest() override { pictavo::registry::FlushAllHives(); }

  ScratchDir config;
  ScopedEnv home{"XDG_CONFIG_HOME", config.Path().c_str()};
  std::string file = config / "pictavo/current_user.reg";
};

}  // namespace

TEST_F(RegistryTest, EveryTypeRoundTripsThroughTheFile) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Talvane Pictavo\\General");
  for (const TypedValue& v : kEveryType) ASSERT_EQ(Set(key, v.name, v.type, v.data), ERROR_SUCCESS) << v.name;
  for (const TypedValue& v : kEveryType) {
    DWORD type = 0;
    Bytes data;
    ASSERT_EQ(Query(key, v.name, type, data), ERROR_SUCCESS) << v.name;
    EXPECT_EQ(type, v.type) << v.name;
    EXPECT_EQ(data, v.data) << v.name;
  }
  // The key was written when it was created through the root; its values wait for the close.
  EXPECT_EQ(ReadWholeFile(file).find("StringWithoutNul"), std::string::npos);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_NE(ReadWholeFile(file).find("\"StringWithoutNul\"=sz-raw:\"auto\""), std::string::npos);

  // Another process reads the same bytes back.
  const int mismatches = InChild([] {
    HKEY child = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, "software\\talvane pictavo\\general", 0, KEY_READ, &child) !=
        ERROR_SUCCESS)
      return 99;
    int bad = 0;
    for (const TypedValue& v : kEveryType) {
      DWORD type = 0;
      Bytes data;
      if (Query(child, v.name, type, data) != ERROR_SUCCESS || type != v.type || data != v.data) ++bad;
    }
    RegCloseKey(child);
    return bad;
  });
  EXPECT_EQ(mismatches, 0);
}

TEST_F(RegistryTest, SizeQueriesAndShortBuffers) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Marvessa Professional");
  ASSERT_EQ(Set(key, "language", REG_SZ, B("auto")), ERROR_SUCCESS);  // written without its NUL

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueEx(key, "language", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(type, REG_SZ);
  char small[2] = {'#', '#'};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, "language", nullptr, &type, reinterpret_cast<BYTE*>(small), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  char large[128];
  std::memset(large, '#', sizeof large);
  size = sizeof large;
  EXPECT_EQ(RegQueryValueEx(key, "LANGUAGE", nullptr, nullptr, reinterpret_cast<BYTE*>(large), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::string(large, 5), "auto#");  // the rest of the buffer is left as it was

  EXPECT_EQ(RegQueryValueEx(key, "language", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(key, "missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueEx(key, "language", nullptr, nullptr, reinterpret_cast<BYTE*>(large), nullptr),
            ERROR_INVALID_PARAMETER);
  // A DWORD reader takes the first bytes of whatever is stored, if it fits.
  DWORD number = 0;
  size = sizeof number;
  EXPECT_EQ(RegQueryValueEx(key, "language", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 0x6f747561u);  // "auto"
  RegCloseKey(key);
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheFirstSpelling) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Talvane Pictavo\\General\\");
  ASSERT_EQ(Set(key, "LastPhotoPath", REG_SZ, B(std::string_view("a\0", 2))), ERROR_SUCCESS);
  ASSERT_EQ(Set(key, "LASTPHOTOPATH", REG_SZ, B(std::string_view("b\0", 2))), ERROR_SUCCESS);
  RegCloseKey(key);

  DWORD disposition = 0;
  key = Create(HKEY_CURRENT_USER, "SOFTWARE\\talvane pictavo\\GENERAL", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  char name[64];
  DWORD nameSize = sizeof name;
  BYTE data[8];
  DWORD dataSize = sizeof data;
  ASSERT_EQ(RegEnumValue(key, 0, name, &nameSize, nullptr, nullptr, data, &dataSize), ERROR_SUCCESS);
  EXPECT_STREQ(name, "LastPhotoPath");
  EXPECT_STREQ(reinterpret_cast<char*>(data), "b");
  EXPECT_EQ(RegEnumValue(key, 1, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);

  HKEY software = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0, KEY_READ, &software), ERROR_SUCCESS);
  nameSize = sizeof name;
  ASSERT_EQ(RegEnumKeyEx(software, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Talvane Pictavo");
  RegCloseKey(software);
}

TEST_F(RegistryTest, EnumerationOrderAndKeyInformation) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Order");
  for (const char* sub : {"beta", "Alpha", "gamma"}) RegCloseKey(Create(key, sub));
  for (const char* value : {"zeta", "Eta", "theta"})
    ASSERT_EQ(Set(key, value, REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
  ASSERT_EQ(Set(key, "big", REG_BINARY, Bytes(300, 7)), ERROR_SUCCESS);

  std::vector<std::string> subKeys, values;
  char name[64];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    const LSTATUS result = RegEnumKeyEx(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(result, ERROR_SUCCESS);
    EXPECT_EQ(size, std::strlen(name));
    subKeys.emplace_back(name);
  }
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    const LSTATUS result = RegEnumValue(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(result, ERROR_SUCCESS);
    values.emplace_back(name);
  }
  EXPECT_EQ(subKeys, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(values, (std::vector<std::string>{"zeta", "Eta", "theta", "big"}));

  DWORD short_ = 4;
  EXPECT_EQ(RegEnumKeyEx(key, 0, name, &short_, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(RegEnumKey(key, 2, name, sizeof name), ERROR_SUCCESS);
  EXPECT_STREQ(name, "gamma");

  DWORD subKeyCount = 0, longestKey = 0, valueCount = 0, longestName = 0, longestValue = 0;
  FILETIME written{};
  ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeyCount, &longestKey, nullptr, &valueCount,
                            &longestName, &longestValue, nullptr, &written),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeyCount, 3u);
  EXPECT_EQ(longestKey, 5u);
  EXPECT_EQ(valueCount, 4u);
  EXPECT_EQ(longestName, 5u);
  EXPECT_EQ(longestValue, 300u);
  EXPECT_NE(written.dwHighDateTime, 0u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, CreateOpenAndDelete) {
  HKEY missing = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Nothing", 0, KEY_READ, &missing),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &missing), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegOpenKeyEx(reinterpret_cast<HKEY>(0x4321), "x", 0, KEY_READ, &missing), ERROR_INVALID_HANDLE);

  DWORD disposition = 0;
  HKEY tools = Create(HKEY_CURRENT_USER, "Software\\Talvane Pictavo\\Tools\\Entry", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  ASSERT_EQ(Set(tools, "Name", REG_SZ, B(std::string_view("x\0", 2))), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(tools, "name"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(tools, "name"), ERROR_FILE_NOT_FOUND);

  HKEY parent = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Talvane Pictavo", 0, KEY_ALL_ACCESS, &parent),
            ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(parent, "Tools"), ERROR_ACCESS_DENIED);  // it still has a sub-key
  EXPECT_EQ(RegDeleteKey(parent, "Tools\\Entry"), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(tools, "x", 0, REG_DWORD, nullptr, 0), ERROR_KEY_DELETED);
  EXPECT_EQ(RegDeleteKey(parent, "Tools"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(parent, "Tools"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(tools);
  RegCloseKey(parent);

  // A deletion through a root is written at once.
  RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Gone"));
  EXPECT_NE(ReadWholeFile(file).find("[Software\\Gone]"), std::string::npos);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Gone"), ERROR_SUCCESS);
  EXPECT_EQ(ReadWholeFile(file).find("[Software\\Gone]"), std::string::npos);
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x4321)), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, AccessIsChecked) {
  RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Locked"));
  HKEY reader = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Locked", 0, KEY_READ, &reader), ERROR_SUCCESS);
  EXPECT_EQ(Set(reader, "x", REG_DWORD, {1, 0, 0, 0}), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValue(reader, "x"), ERROR_ACCESS_DENIED);
  HKEY child = nullptr;
  EXPECT_EQ(RegCreateKeyEx(reader, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
            ERROR_ACCESS_DENIED);
  RegCloseKey(reader);

  HKEY writer = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Locked", 0, KEY_WRITE, &writer), ERROR_SUCCESS);
  EXPECT_EQ(Set(writer, "x", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueEx(writer, "x", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  RegCloseKey(writer);
}

TEST_F(RegistryTest, DefaultValueThroughRegQueryValue) {
  HKEY classes = Create(HKEY_CLASSES_ROOT, ".htm");
  ASSERT_EQ(Set(classes, nullptr, REG_SZ, B("htmlfile")), ERROR_SUCCESS);
  RegCloseKey(classes);
  char text[260];
  LONG size = sizeof text;
  ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, ".htm", text, &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "htmlfile");
  EXPECT_EQ(size, 9);
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, ".none", text, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(Exists(config / "pictavo/classes_root.reg"));
}

TEST_F(RegistryTest, AnotherProcessesChangesAreSeenAtTheNextOpen) {
  RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Shared"));  // this process has read the file
  ASSERT_EQ(InChild([] {
              HKEY key = nullptr;
              if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_WRITE, &key) != ERROR_SUCCESS)
                return 1;
              if (Set(key, "FromChild", REG_DWORD, {7, 0, 0, 0}) != ERROR_SUCCESS) return 2;
              return RegCloseKey(key) == ERROR_SUCCESS ? 0 : 3;
            }),
            0);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  Bytes data;
  ASSERT_EQ(Query(key, "FromChild", type, data), ERROR_SUCCESS);
  EXPECT_EQ(data, (Bytes{7, 0, 0, 0}));
  RegCloseKey(key);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Busy"));
  constexpr int kValuesEach = 25;
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      close(gate[1]);
      char go;
      if (read(gate[0], &go, 1) < 0) _exit(10);  // both start when the gate closes
      for (int i = 0; i < kValuesEach; ++i) {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Busy", 0, KEY_WRITE, &key) != ERROR_SUCCESS) _exit(11);
        const std::string name = "child" + std::to_string(c) + "-" + std::to_string(i);
        if (Set(key, name.c_str(), REG_DWORD, {static_cast<BYTE>(i), 0, 0, 0}) != ERROR_SUCCESS) _exit(12);
        if (RegCloseKey(key) != ERROR_SUCCESS) _exit(13);
      }
      _exit(0);
    }
  }
  close(gate[0]);
  close(gate[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Busy", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 2u * kValuesEach);
  RegCloseKey(key);
}

TEST_F(RegistryTest, ThreadsWritingAtOnceLoseNothing) {
  constexpr int kThreads = 4, kValuesEach = 40;
  std::vector<std::thread> writers;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t)
    writers.emplace_back([t, &failures] {
      for (int i = 0; i < kValuesEach; ++i) {
        HKEY key = Create(HKEY_CURRENT_USER, "Software\\Threads");
        const std::string name = "t" + std::to_string(t) + "-" + std::to_string(i);
        if (Set(key, name.c_str(), REG_DWORD, {static_cast<BYTE>(i), 0, 0, 0}) != ERROR_SUCCESS)
          ++failures[t];
        if (RegCloseKey(key) != ERROR_SUCCESS) ++failures[t];
      }
    });
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
  const int values = InChild([] {
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Threads", 0, KEY_READ, &key) != ERROR_SUCCESS) return 255;
    RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                    nullptr, nullptr);
    return static_cast<int>(count);
  });
  EXPECT_EQ(values, kThreads * kValuesEach);
}

TEST_F(RegistryTest, ADamagedFileIsSetAsideAndDefaultsAreUsed) {
  mkdir((config / "pictavo").c_str(), 0700);
  WriteWholeFile(file, "PICTAVO-REGISTRY 1\n[Software\\Marvessa Professional]\n\"language\"=sz:\"au");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Marvessa Professional", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(Exists(file));
  EXPECT_TRUE(Exists(file + ".damaged"));

  key = Create(HKEY_CURRENT_USER, "Software\\Marvessa Professional");
  ASSERT_EQ(Set(key, "LanguageAuto", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_NE(ReadWholeFile(file).find("\"LanguageAuto\"=dword:00000001"), std::string::npos);
}

TEST_F(RegistryTest, ReadsNeverWrite) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Anything", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(Exists(config / "pictavo"));

  RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Kept"));
  struct stat before, after;
  ASSERT_EQ(stat(file.c_str(), &before), 0);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Kept", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD size = 0;
  RegQueryValueEx(key, "x", nullptr, nullptr, nullptr, &size);
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  ASSERT_EQ(stat(file.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
}
