#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/ChangeNotification.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"

namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "pictavo-notify-XXXXXX").string();
    m_path = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  const std::string& Path() const { return m_path; }
  void Touch(const std::string& name) const { std::ofstream(m_path + "/" + name) << "x"; }
  void MakeFolder(const std::string& name) const { fs::create_directory(m_path + "/" + name); }

 private:
  std::string m_path;
};

constexpr DWORD kTimeout = WAIT_TIMEOUT;

}  // namespace

TEST(ChangeNotification, FileCreationSignalsUntilRearmed) {
  Folder folder;
  ASSERT_FALSE(folder.Path().empty());
  HANDLE stop = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  // The program names folders with a trailing backslash.
  HANDLE change =
      FindFirstChangeNotification((folder.Path() + "\\").c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(change, INVALID_HANDLE_VALUE);
  const HANDLE handles[2] = {change, stop};
  EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), kTimeout);

  folder.Touch("photo.jpg");
  EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(change, 0), WAIT_OBJECT_0) << "stays signalled until re-armed";
  ASSERT_TRUE(FindNextChangeNotification(change));
  EXPECT_EQ(WaitForSingleObject(change, 0), kTimeout);

  folder.Touch("second.jpg");
  EXPECT_EQ(WaitForSingleObject(change, INFINITE), WAIT_OBJECT_0);
  SetEvent(stop);
  EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, INFINITE), WAIT_OBJECT_0) << "the change comes first";
  ASSERT_TRUE(FindNextChangeNotification(change));
  EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, INFINITE), WAIT_OBJECT_0 + 1);

  EXPECT_TRUE(FindCloseChangeNotification(change));
  EXPECT_FALSE(FindNextChangeNotification(change));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(stop);
}

TEST(ChangeNotification, FolderFilterSeesNewFolders) {
  Folder folder;
  HANDLE change = FindFirstChangeNotification(folder.Path().c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
  ASSERT_NE(change, INVALID_HANDLE_VALUE);
  folder.MakeFolder("album");
  EXPECT_EQ(WaitForSingleObject(change, INFINITE), WAIT_OBJECT_0);
  FindCloseChangeNotification(change);
}

TEST(ChangeNotification, SubtreeCoversExistingAndNewSubfolders) {
  Folder folder;
  folder.MakeFolder("old");
  HANDLE change = FindFirstChangeNotification(folder.Path().c_str(), TRUE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(change, INVALID_HANDLE_VALUE);
  folder.Touch("old/inside.jpg");
  EXPECT_EQ(WaitForSingleObject(change, INFINITE), WAIT_OBJECT_0);
  FindNextChangeNotification(change);

  // A folder made after the watch began: creating it is no file-name change, the file in it is.
  folder.MakeFolder("new");
  folder.Touch("new/inside.jpg");
  EXPECT_EQ(WaitForSingleObject(change, INFINITE), WAIT_OBJECT_0);
  FindCloseChangeNotification(change);
}

TEST(ChangeNotification, WhatCannotBeWatchedFails) {
  Folder folder;
  folder.Touch("file.txt");
  const struct {
    std::string path;
    DWORD filter;
    DWORD error;
  } cases[] = {
      {folder.Path() + "/missing", FILE_NOTIFY_CHANGE_FILE_NAME, ERROR_FILE_NOT_FOUND},
      {folder.Path() + "/file.txt", FILE_NOTIFY_CHANGE_FILE_NAME, ERROR_DIRECTORY},
      {folder.Path(), 0, ERROR_INVALID_PARAMETER},
      {folder.Path(), 0x200, ERROR_INVALID_PARAMETER},
      {"", FILE_NOTIFY_CHANGE_FILE_NAME, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(FindFirstChangeNotification(c.path.c_str(), FALSE, c.filter), INVALID_HANDLE_VALUE) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  EXPECT_FALSE(FindCloseChangeNotification(nullptr));
}

TEST(ChangeNotification, FiltersSelectTheEventsThatCount) {
  using pictavo::kernel::EventMatchesFilter;
  const struct {
    DWORD filter;
    uint32_t event;
    bool counts;
  } cases[] = {
      {FILE_NOTIFY_CHANGE_FILE_NAME, IN_CREATE, true},
      {FILE_NOTIFY_CHANGE_FILE_NAME, IN_DELETE, true},
      {FILE_NOTIFY_CHANGE_FILE_NAME, IN_MOVED_TO, true},
      {FILE_NOTIFY_CHANGE_FILE_NAME, IN_CREATE | IN_ISDIR, false},
      {FILE_NOTIFY_CHANGE_FILE_NAME, IN_MODIFY, false},
      {FILE_NOTIFY_CHANGE_DIR_NAME, IN_CREATE | IN_ISDIR, true},
      {FILE_NOTIFY_CHANGE_DIR_NAME, IN_MOVED_FROM | IN_ISDIR, true},
      {FILE_NOTIFY_CHANGE_DIR_NAME, IN_CREATE, false},
      {FILE_NOTIFY_CHANGE_LAST_WRITE, IN_MODIFY, true},
      {FILE_NOTIFY_CHANGE_LAST_WRITE, IN_ATTRIB, true},
      {FILE_NOTIFY_CHANGE_SIZE, IN_CLOSE_WRITE, true},
      {FILE_NOTIFY_CHANGE_SIZE, IN_ATTRIB, false},
      {FILE_NOTIFY_CHANGE_ATTRIBUTES, IN_ATTRIB, true},
      {FILE_NOTIFY_CHANGE_LAST_ACCESS, IN_ACCESS, true},
      {FILE_NOTIFY_CHANGE_CREATION, IN_CREATE | IN_ISDIR, true},
      {FILE_NOTIFY_CHANGE_CREATION, IN_DELETE, false},
      {FILE_NOTIFY_CHANGE_DIR_NAME, IN_Q_OVERFLOW, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EventMatchesFilter(c.filter, c.event), c.counts) << c.filter << " / " << std::hex << c.event;
}
