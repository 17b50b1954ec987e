// The namespace through the folder objects: paths to id lists and back, the lists a walk down
// the enumerations arrives at, enumeration with its flags, attributes and display names.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/shellapi/Shell.h"
#include "tests/platform/shellapi/ShellFixture.h"

namespace {

using pictavo::com::ComPtr;
using shell_test::TempHome;

// An id list freed when it goes.
struct Pidl {
  LPITEMIDLIST p = nullptr;
  Pidl() = default;
  explicit Pidl(LPITEMIDLIST list) : p(list) {}
  ~Pidl() { ILFree(p); }
  Pidl(const Pidl&) = delete;
  Pidl& operator=(const Pidl&) = delete;
  LPITEMIDLIST* Out() {
    ILFree(p);
    p = nullptr;
    return &p;
  }
};

ComPtr<IShellFolder> Desktop() {
  ComPtr<IShellFolder> desktop;
  EXPECT_EQ(SHGetDesktopFolder(desktop.Out()), S_OK);
  return desktop;
}

std::string NameOf(IShellFolder* folder, LPCITEMIDLIST pidl, SHGDNF flags) {
  STRRET strret{};
  if (FAILED(folder->GetDisplayNameOf(pidl, flags, &strret))) return "<failed>";
  char buffer[MAX_PATH];
  EXPECT_EQ(StrRetToBuf(&strret, pidl, buffer, sizeof buffer), S_OK);
  return buffer;
}

// The children's normal display names, in the enumeration's order.
std::vector<std::string> Names(IShellFolder* folder, SHCONTF flags) {
  ComPtr<IEnumIDList> items;
  std::vector<std::string> names;
  if (folder->EnumObjects(nullptr, flags, items.Out()) != S_OK) return {"<failed>"};
  LPITEMIDLIST child = nullptr;
  while (items->Next(1, &child, nullptr) == S_OK) {
    names.push_back(NameOf(folder, child, SHGDN_NORMAL));
    ILFree(child);
  }
  return names;
}

ComPtr<IShellFolder> Bind(IShellFolder* from, const std::string& path) {
  Pidl pidl(ILCreateFromPath(path.c_str()));
  ComPtr<IShellFolder> folder;
  EXPECT_EQ(from->BindToObject(pidl.p, nullptr, IID_IShellFolder, folder.OutVoid()), S_OK) << path;
  return folder;
}

TEST_F(TempHome, PathsRoundTripThroughIdLists) {
  Folder("Desktop");
  const std::string paths[] = {
      Home(),
      File("Pictures/Holiday 2009/beach \"sunset\".jpg"),
      Folder("Pictures/Holiday 2009"),
      File("Desktop/notes.txt"),
      Folder("Desktop/Album/Ünïcode"),
      File("elsewhere/clip.avi", "data", /*outside*/ true),
      "/",
  };
  for (const std::string& path : paths) {
    Pidl pidl(ILCreateFromPath(path.c_str()));
    ASSERT_NE(pidl.p, nullptr) << path;
    char back[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(pidl.p, back)) << path;
    EXPECT_EQ(std::string(back), path);
    // `\` separators, "." and ".." and a trailing separator name the same item.
    std::string spelled = path == "/" ? "\\" : path + "/./";
    for (char& c : spelled)
      if (c == '/') c = '\\';
    Pidl same(ILCreateFromPath(spelled.c_str()));
    EXPECT_TRUE(ILIsEqual(pidl.p, same.p)) << spelled;
  }
}

// A walk from the desktop down the enumerations, matching one item of the path's list at a
// time, as a folder tree selects a path: it must arrive at exactly the parsed list.
TEST_F(TempHome, ParsedListsAreTheListsTheEnumerationsGive) {
  Folder("Desktop");
  const std::string paths[] = {
      File("Desktop/Trip/day one.jpg"),
      File(".hidden/Pictures/cat.png"),
      File("elsewhere/deep/clip.avi", "data", /*outside*/ true),
  };
  for (const std::string& path : paths) {
    Pidl target(ILCreateFromPath(path.c_str()));
    ASSERT_NE(target.p, nullptr) << path;
    ComPtr<IShellFolder> folder = Desktop();
    int depth = 0;
    for (LPCITEMIDLIST item = target.p; item && item->mkid.cb; item = ILGetNext(item), ++depth) {
      ComPtr<IEnumIDList> children;
      ASSERT_EQ(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                                    children.Out()),
                S_OK)
          << path << " at depth " << depth;
      Pidl match;
      for (LPITEMIDLIST child = nullptr; children->Next(1, &child, nullptr) == S_OK;) {
        if (!match.p && child->mkid.cb == item->mkid.cb && std::memcmp(child, item, item->mkid.cb) == 0)
          match.p = child;
        else
          ILFree(child);
      }
      ASSERT_NE(match.p, nullptr) << path << ": no child matches item " << depth;
      if (ILGetNext(item)) {
        ComPtr<IShellFolder> next;
        ASSERT_EQ(folder->BindToObject(match.p, nullptr, IID_IShellFolder, next.OutVoid()), S_OK);
        folder = next;
      }
    }
    EXPECT_GE(depth, 2) << path;
  }
}

TEST_F(TempHome, DesktopHoldsHomeComputerNetworkAndTheDesktopFolder) {
  File("Desktop/readme.txt");
  Folder("Desktop/Projects");
  ComPtr<IShellFolder> desktop = Desktop();
  EXPECT_EQ(Names(desktop.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            (std::vector<std::string>{"Home", "Computer", "Network", "Projects", "readme.txt"}));
  EXPECT_EQ(Names(desktop.Get(), SHCONTF_NONFOLDERS), (std::vector<std::string>{"readme.txt"}));
  EXPECT_EQ(NameOf(desktop.Get(), nullptr, SHGDN_NORMAL), "Desktop");
  EXPECT_EQ(NameOf(desktop.Get(), nullptr, SHGDN_FORPARSING), Home() + "/Desktop");

  // Computer's items are the mount points, "/" first, each shown by its path.
  Pidl computer;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.Out()), S_OK);
  ComPtr<IShellFolder> drives;
  ASSERT_EQ(desktop->BindToObject(computer.p, nullptr, IID_IShellFolder, drives.OutVoid()), S_OK);
  const std::vector<std::string> mounts = Names(drives.Get(), SHCONTF_FOLDERS);
  ASSERT_FALSE(mounts.empty());
  EXPECT_EQ(mounts[0], "File System (/)");
  EXPECT_EQ(Names(drives.Get(), SHCONTF_NONFOLDERS), std::vector<std::string>{});

  Pidl network;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, network.Out()), S_OK);
  ComPtr<IShellFolder> neighbourhood;
  ASSERT_EQ(desktop->BindToObject(network.p, nullptr, IID_IShellFolder, neighbourhood.OutVoid()), S_OK);
  EXPECT_EQ(Names(neighbourhood.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS), std::vector<std::string>{});
}

TEST_F(TempHome, EnumerationFlagsChooseKindsAndHiddenNames) {
  const std::string album = Folder("Album");
  File("Album/b.jpg");
  File("Album/A.jpg");
  File("Album/.thumbs.db");
  Folder("Album/Sub");
  Folder("Album/.cache");
  ComPtr<IShellFolder> folder = Bind(Desktop().Get(), album);
  struct Case {
    SHCONTF flags;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {SHCONTF_FOLDERS, {"Sub"}},
      {SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, {".cache", "Sub"}},
      {SHCONTF_NONFOLDERS, {"A.jpg", "b.jpg"}},
      {SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
       {".cache", ".thumbs.db", "A.jpg", "b.jpg", "Sub"}},
      {0, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Names(folder.Get(), c.flags), c.names) << std::hex << c.flags;

  ComPtr<IEnumIDList> items;
  ASSERT_EQ(folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, items.Out()), S_OK);
  LPITEMIDLIST batch[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(items->Next(3, batch, &fetched), S_FALSE) << "fewer left than asked";
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) ILFree(batch[i]);
  EXPECT_EQ(items->Reset(), S_OK);
  EXPECT_EQ(items->Skip(1), S_OK);
  EXPECT_EQ(items->Skip(5), S_FALSE);

  const std::string gone = Root() + "/missing";
  ComPtr<IEnumIDList> none;
  mkdir(gone.c_str(), 0700);
  ComPtr<IShellFolder> vanishing = Bind(Desktop().Get(), gone);
  rmdir(gone.c_str());
  EXPECT_EQ(vanishing->EnumObjects(nullptr, SHCONTF_FOLDERS, none.Out()),
            HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(none);
}

TEST_F(TempHome, AttributesDescribeTheItems) {
  const std::string album = Folder("Album");
  File("Album/Parent/Child/x.txt");
  Folder("Album/Empty");
  File("Album/photo.jpg");
  File("Album/.hidden");
  ASSERT_EQ(symlink((album + "/Parent").c_str(), (album + "/Link").c_str()), 0);
  ComPtr<IShellFolder> folder = Bind(Desktop().Get(), album);
  struct Case {
    const char* name;
    SFGAOF set;
    SFGAOF clear;
  };
  const Case cases[] = {
      {"Parent", SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR,
       SFGAO_LINK | SFGAO_HIDDEN | SFGAO_STREAM},
      {"Empty", SFGAO_FOLDER | SFGAO_FILESYSTEM, SFGAO_HASSUBFOLDER},
      {"photo.jpg", SFGAO_FILESYSTEM | SFGAO_STREAM | SFGAO_CANRENAME, SFGAO_FOLDER | SFGAO_HASSUBFOLDER},
      {".hidden", SFGAO_HIDDEN, SFGAO_FOLDER},
      {"Link", SFGAO_LINK | SFGAO_FOLDER | SFGAO_HASSUBFOLDER, SFGAO_SHARE},
  };
  for (const Case& c : cases) {
    std::wstring name(c.name, c.name + std::strlen(c.name));
    Pidl child;
    ASSERT_EQ(folder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, child.Out(), nullptr), S_OK)
        << c.name;
    SFGAOF attributes = 0xFFFFFFFFu;
    PCUITEMID_CHILD items[] = {child.p};
    ASSERT_EQ(folder->GetAttributesOf(1, items, &attributes), S_OK);
    EXPECT_EQ(attributes & c.set, c.set) << c.name;
    EXPECT_EQ(attributes & c.clear, 0u) << c.name;
    SFGAOF asked = SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_SHARE | SFGAO_LINK;
    ASSERT_EQ(folder->GetAttributesOf(1, items, &asked), S_OK);
    EXPECT_EQ(asked & ~(SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_SHARE | SFGAO_LINK), 0u)
        << c.name << ": only what was asked";
  }
}

TEST_F(TempHome, DisplayNameForms) {
  Folder("Desktop");
  const std::string file = File("Music/Album/song one.mp3");
  ComPtr<IShellFolder> desktop = Desktop();
  Pidl pidl(ILCreateFromPath(file.c_str()));
  Pidl home(ILCreateFromPath(Home().c_str()));
  Pidl computer;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.Out()), S_OK);
  struct Case {
    LPCITEMIDLIST pidl;
    SHGDNF flags;
    std::string name;
  };
  const Case cases[] = {
      {pidl.p, SHGDN_NORMAL, "song one.mp3"},
      {pidl.p, SHGDN_INFOLDER, "song one.mp3"},
      {pidl.p, SHGDN_FORPARSING, file},
      {pidl.p, SHGDN_FORPARSING | SHGDN_INFOLDER, "song one.mp3"},
      {pidl.p, SHGDN_FOREDITING, "song one.mp3"},
      {home.p, SHGDN_NORMAL, "Home"},
      {home.p, SHGDN_FORPARSING, Home()},
      {computer.p, SHGDN_NORMAL, "Computer"},
      {computer.p, SHGDN_FORPARSING, "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
  };
  for (const Case& c : cases) EXPECT_EQ(NameOf(desktop.Get(), c.pidl, c.flags), c.name) << c.name;

  // The same item named from its own folder.
  ComPtr<IShellFolder> album = Bind(desktop.Get(), Home() + "/Music/Album");
  EXPECT_EQ(NameOf(album.Get(), ILFindLastID(pidl.p), SHGDN_FORPARSING), file);
}

TEST(StrRet, EveryFormBecomesText) {
  STRRET wide{};
  wide.uType = STRRET_WSTR;
  wide.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(6 * sizeof(wchar_t)));
  std::wcscpy(wide.pOleStr, L"Größe");
  char buffer[MAX_PATH];
  ASSERT_EQ(StrRetToBuf(&wide, nullptr, buffer, sizeof buffer), S_OK);
  EXPECT_STREQ(buffer, "Größe");
  EXPECT_EQ(wide.pOleStr, nullptr) << "the wide string was freed";

  // Text inside the id list, at an offset.
  const char list[] = "\x0a\x00xyname\x00\x00\x00";
  STRRET offset{};
  offset.uType = STRRET_OFFSET;
  offset.uOffset = 4;
  ASSERT_EQ(StrRetToBuf(&offset, reinterpret_cast<LPCITEMIDLIST>(list), buffer, sizeof buffer), S_OK);
  EXPECT_STREQ(buffer, "name");

  STRRET inPlace{};
  inPlace.uType = STRRET_CSTR;
  std::strcpy(inPlace.cStr, "Ünïcode");
  LPSTR allocated = nullptr;
  ASSERT_EQ(StrRetToStr(&inPlace, nullptr, &allocated), S_OK);
  EXPECT_STREQ(allocated, "Ünïcode");
  CoTaskMemFree(allocated);
  // A short buffer keeps whole characters: "Ü" is two bytes and does not fit in one.
  ASSERT_EQ(StrRetToBuf(&inPlace, nullptr, buffer, 2), S_OK);
  EXPECT_STREQ(buffer, "");
  ASSERT_EQ(StrRetToBuf(&inPlace, nullptr, buffer, 4), S_OK);
  EXPECT_STREQ(buffer, "Ün");
}

TEST_F(TempHome, ParsingAndBindingRefuseWhatIsNotThere) {
  ComPtr<IShellFolder> desktop = Desktop();
  struct Case {
    std::wstring name;
    HRESULT result;
  };
  const std::wstring home(Home().begin(), Home().end());
  const Case cases[] = {
      {L"relative/path", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
      {home + L"/missing.jpg", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {home + L"/no/such/folder", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
      {L"::{00000000-0000-0000-0000-000000000000}", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
  };
  for (Case c : cases) {
    LPITEMIDLIST pidl = reinterpret_cast<LPITEMIDLIST>(1);
    EXPECT_EQ(desktop->ParseDisplayName(nullptr, nullptr, c.name.data(), nullptr, &pidl, nullptr), c.result);
    EXPECT_EQ(pidl, nullptr);
  }
  const std::string file = File("photo.jpg");
  Pidl pidl(ILCreateFromPath(file.c_str()));
  ComPtr<IShellFolder> folder;
  EXPECT_EQ(desktop->BindToObject(pidl.p, nullptr, IID_IShellFolder, folder.OutVoid()), E_INVALIDARG);
  ITEMIDLIST empty{};
  EXPECT_EQ(desktop->BindToObject(&empty, nullptr, IID_IShellFolder, folder.OutVoid()), E_INVALIDARG);
  const char foreign[] = "\x06\x00QQQ\x00\x00";
  STRRET name{};
  EXPECT_EQ(desktop->GetDisplayNameOf(reinterpret_cast<LPCITEMIDLIST>(foreign), SHGDN_NORMAL, &name),
            E_INVALIDARG);
}

TEST_F(TempHome, CompareIdsPutsFoldersFirstThenNamesWithoutCase) {
  const std::string album = Folder("Album");
  File("Album/b.jpg");
  File("Album/A.jpg");
  Folder("Album/zeta");
  ComPtr<IShellFolder> folder = Bind(Desktop().Get(), album);
  auto child = [&](const wchar_t* name) {
    std::wstring text = name;
    LPITEMIDLIST pidl = nullptr;
    EXPECT_EQ(folder->ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &pidl, nullptr), S_OK);
    return pidl;
  };
  Pidl a(child(L"A.jpg")), b(child(L"b.jpg")), zeta(child(L"zeta"));
  auto order = [&](LPCITEMIDLIST x, LPCITEMIDLIST y) {
    return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, x, y)));
  };
  EXPECT_LT(order(a.p, b.p), 0);
  EXPECT_GT(order(b.p, a.p), 0);
  EXPECT_EQ(order(a.p, a.p), 0);
  EXPECT_LT(order(zeta.p, a.p), 0) << "folders first";
}

}  // namespace
