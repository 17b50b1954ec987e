// Special folders from the user's XDG folders, their id lists, and file facts for lists.
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/shellapi/Shell.h"
#include "tests/platform/shellapi/ShellFixture.h"
#include "tests/support/ScratchDir.h"

namespace {

using pictavo::comctl::SystemIcon;
using pictavo::comctl::SystemIconIndex;
using pictavo::test::Exists;
using shell_test::TempHome;

std::string FolderPath(int csidl, HRESULT* result = nullptr) {
  char path[MAX_PATH] = "unset";
  const HRESULT hr = SHGetFolderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  if (result) *result = hr;
  return path;
}

TEST_F(TempHome, SpecialFoldersFollowUserDirs) {
  UserDirs(
      "# written by the desktop\n"
      "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
      "XDG_PICTURES_DIR=\"$HOME/My Photos\"\n"
      "XDG_MUSIC_DIR=\"/srv/music\"\n"
      "XDG_VIDEOS_DIR=not quoted\n"
      "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  struct Case {
    int csidl;
    std::string path;
  };
  const Case cases[] = {
      {CSIDL_DESKTOP, Home() + "/Schreibtisch"},
      {CSIDL_DESKTOPDIRECTORY, Home() + "/Schreibtisch"},
      {CSIDL_PERSONAL, Home() + "/Dokumente"},
      {CSIDL_MYPICTURES, Home() + "/My Photos"},
      {CSIDL_MYMUSIC, "/srv/music"},
      {CSIDL_MYVIDEO, Home() + "/Videos"},  // a malformed entry falls back to the default
      {CSIDL_TEMPLATES, Home() + "/Templates"},
      {CSIDL_PROFILE, Home()},
      {CSIDL_APPDATA, Home() + "/.config"},
      {CSIDL_LOCAL_APPDATA, Home() + "/.local/share"},
      {CSIDL_FONTS, Home() + "/.local/share/fonts"},
      {CSIDL_COMMON_APPDATA, "/usr/local/share"},
      {CSIDL_PROGRAM_FILES, "/opt"},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderPath(c.csidl), c.path) << c.csidl;
}

TEST_F(TempHome, SpecialFolderResultsAndCreation) {
  HRESULT result;
  EXPECT_EQ(FolderPath(CSIDL_PROFILE, &result), Home());
  EXPECT_EQ(result, S_OK);
  EXPECT_EQ(FolderPath(CSIDL_PERSONAL, &result), Home() + "/Documents");
  EXPECT_EQ(result, S_FALSE) << "the path of a folder that does not exist";
  EXPECT_FALSE(Exists(Home() + "/Documents"));
  EXPECT_EQ(FolderPath(CSIDL_PERSONAL | CSIDL_FLAG_CREATE, &result), Home() + "/Documents");
  EXPECT_EQ(result, S_OK);
  EXPECT_TRUE(Exists(Home() + "/Documents")) << "made";

  char path[MAX_PATH];
  EXPECT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_MYPICTURES, TRUE));
  EXPECT_EQ(std::string(path), Home() + "/Pictures");
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_MYMUSIC, FALSE)) << "missing and not made";

  EXPECT_EQ(FolderPath(CSIDL_DRIVES, &result), "");
  EXPECT_EQ(result, E_FAIL) << "Computer has no path";
  FolderPath(0x3F, &result);
  EXPECT_EQ(result, E_INVALIDARG);
}

TEST_F(TempHome, SpecialFolderLocations) {
  struct Case {
    int csidl;
    HRESULT result;
    std::string parsingName;  // of the list, through the desktop folder
  };
  Folder("Desktop");
  Folder("Pictures");
  const Case cases[] = {
      {CSIDL_DESKTOP, S_OK, Home() + "/Desktop"},
      {CSIDL_DRIVES, S_OK, "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
      {CSIDL_NETWORK, S_OK, "::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
      {CSIDL_PROFILE, S_OK, Home()},
      {CSIDL_MYPICTURES, S_OK, Home() + "/Pictures"},
      {CSIDL_MYMUSIC, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), ""},
  };
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
  for (const Case& c : cases) {
    LPITEMIDLIST pidl = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, c.csidl, &pidl), c.result) << c.csidl;
    if (FAILED(c.result)) continue;
    STRRET name{};
    ASSERT_EQ(desktop->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &name), S_OK);
    char text[MAX_PATH];
    StrRetToBuf(&name, pidl, text, sizeof text);
    EXPECT_EQ(std::string(text), c.parsingName);
    char path[MAX_PATH];
    EXPECT_EQ(SHGetPathFromIDList(pidl, path), c.csidl != CSIDL_DRIVES && c.csidl != CSIDL_NETWORK)
        << c.csidl;
    ILFree(pidl);
  }
  EXPECT_EQ(ILGetSize(nullptr), 0u);
  desktop->Release();
}

TEST(FileInfo, TypeNamesAndIconsByName) {
  struct Case {
    const char* name;
    DWORD attributes;
    const char* type;
    SystemIcon icon;
  };
  const Case cases[] = {
      {"/x/IMG_0001.JPG", 0, "JPEG Image", SystemIcon::kImageFile},
      {"/x/Holiday.png", 0, "PNG Image", SystemIcon::kImageFile},
      {"/x/song.mp3", 0, "MP3 Audio", SystemIcon::kAudioFile},
      {"/x/voice.wav", 0, "Wave Sound", SystemIcon::kAudioFile},
      {"/x/clip.MPG", 0, "Movie Clip", SystemIcon::kVideoFile},
      {"/x/film.mp4", 0, "MPEG-4 Video", SystemIcon::kVideoFile},
      {"/x/data.xyz", 0, "XYZ File", SystemIcon::kFile},
      {"/x/README", 0, "File", SystemIcon::kFile},
      {"/x/Album", FILE_ATTRIBUTE_DIRECTORY, "File folder", SystemIcon::kFolder},
  };
  for (const Case& c : cases) {
    SHFILEINFO info{};
    ASSERT_NE(SHGetFileInfo(c.name, c.attributes, &info, sizeof info,
                            SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_DISPLAYNAME |
                                SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
              0u)
        << c.name;
    EXPECT_STREQ(info.szTypeName, c.type) << c.name;
    EXPECT_EQ(info.iIcon, SystemIconIndex(c.icon)) << c.name;
  }
}

TEST_F(TempHome, FileInfoOfItemsOnDisk) {
  const std::string photo = File("Pictures/beach.jpg");
  const std::string album = Folder("Pictures/Album");

  SHFILEINFO info{};
  const DWORD_PTR list = SHGetFileInfo(photo.c_str(), 0, &info, sizeof info,
                                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME);
  EXPECT_EQ(list, reinterpret_cast<DWORD_PTR>(pictavo::comctl::SystemImageList(true)))
      << "the small system list";
  EXPECT_STREQ(info.szDisplayName, "beach.jpg");
  EXPECT_EQ(SHGetFileInfo(photo.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX),
            reinterpret_cast<DWORD_PTR>(pictavo::comctl::SystemImageList(false)));

  struct Case {
    std::string path;
    UINT flags;
    std::string name;
    std::string type;
    SystemIcon icon;
  };
  const Case cases[] = {
      {album, 0, "Album", "File folder", SystemIcon::kFolder},
      {album, SHGFI_OPENICON, "Album", "File folder", SystemIcon::kOpenFolder},
      {Home(), 0, "Home", "File folder", SystemIcon::kFolder},
      {"/", 0, "File System (/)", "Local Disk", SystemIcon::kDrive},
      {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 0, "Computer", "System Folder", SystemIcon::kDrive},
  };
  for (const Case& c : cases) {
    SHFILEINFO facts{};
    ASSERT_NE(
        SHGetFileInfo(c.path.c_str(), 0, &facts, sizeof facts,
                      c.flags | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_ATTRIBUTES),
        0u)
        << c.path;
    EXPECT_EQ(facts.szDisplayName, c.name);
    EXPECT_EQ(facts.szTypeName, c.type) << c.path;
    EXPECT_EQ(facts.iIcon, SystemIconIndex(c.icon)) << c.path;
    EXPECT_TRUE(facts.dwAttributes & SFGAO_FOLDER) << c.path;
  }

  // By id list, and with an icon of its own.
  LPITEMIDLIST pidl = ILCreateFromPath(photo.c_str());
  SHFILEINFO byList{};
  ASSERT_NE(SHGetFileInfo(reinterpret_cast<LPCSTR>(pidl), 0, &byList, sizeof byList,
                          SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON | SHGFI_TYPENAME),
            0u);
  EXPECT_STREQ(byList.szTypeName, "JPEG Image");
  ASSERT_NE(byList.hIcon, nullptr);
  EXPECT_EQ(byList.iIcon, SystemIconIndex(SystemIcon::kImageFile));
  DestroyIcon(byList.hIcon);
  ILFree(pidl);

  SHFILEINFO missing{};
  EXPECT_EQ(SHGetFileInfo((Home() + "/nothing.jpg").c_str(), 0, &missing, sizeof missing, SHGFI_TYPENAME),
            0u);
  EXPECT_EQ(SHGetFileInfo(photo.c_str(), 0, &missing, sizeof missing, SHGFI_EXETYPE), 0u);
}

TEST(Network, NoNetworkResourcesAndNoShares) {
  HANDLE enumeration = reinterpret_cast<HANDLE>(1);
  EXPECT_EQ(WNetOpenEnum(RESOURCE_CONTEXT, RESOURCETYPE_ANY, 0, nullptr, &enumeration),
            static_cast<DWORD>(ERROR_NO_NETWORK));
  EXPECT_EQ(enumeration, nullptr);
  DWORD count = 0xFFFFFFFF, size = 16384;
  char buffer[16];
  EXPECT_NE(WNetEnumResource(nullptr, &count, buffer, &size), static_cast<DWORD>(NO_ERROR));

  LPBYTE shares = reinterpret_cast<LPBYTE>(1);
  DWORD read = 9, total = 9;
  EXPECT_EQ(NetShareEnum(nullptr, 502, &shares, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
            static_cast<NET_API_STATUS>(NERR_Success));
  EXPECT_EQ(shares, nullptr);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(total, 0u);
  EXPECT_EQ(NetApiBufferFree(shares), static_cast<NET_API_STATUS>(NERR_Success));
}

}  // namespace
