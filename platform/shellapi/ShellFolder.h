// The shell namespace through folder objects: the desktop folder and the folders below it
// (Computer with the mount points, the home folder, file-system folders), their enumeration,
// attributes and display names. See Namespace.h for how items are named.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/com/Com.h"
#include "platform/shellapi/ItemIdList.h"

using SFGAOF = ULONG;
using SHCONTF = DWORD;
using SHGDNF = DWORD;

// IShellFolder::EnumObjects flags.
#define SHCONTF_CHECKING_FOR_CHILDREN 0x0010u
#define SHCONTF_FOLDERS 0x0020u
#define SHCONTF_NONFOLDERS 0x0040u
#define SHCONTF_INCLUDEHIDDEN 0x0080u
#define SHCONTF_INIT_ON_FIRST_NEXT 0x0100u
#define SHCONTF_NETPRINTERSRCH 0x0200u
#define SHCONTF_SHAREABLE 0x0400u
#define SHCONTF_STORAGE 0x0800u
#define SHCONTF_FASTITEMS 0x2000u
#define SHCONTF_FLATLIST 0x4000u
#define SHCONTF_ENABLE_ASYNC 0x8000u
#define SHCONTF_INCLUDESUPERHIDDEN 0x10000u

// Item attributes (IShellFolder::GetAttributesOf, SHGetFileInfo with SHGFI_ATTRIBUTES).
#define SFGAO_CANCOPY 0x00000001u
#define SFGAO_CANMOVE 0x00000002u
#define SFGAO_CANLINK 0x00000004u
#define SFGAO_STORAGE 0x00000008u
#define SFGAO_CANRENAME 0x00000010u
#define SFGAO_CANDELETE 0x00000020u
#define SFGAO_HASPROPSHEET 0x00000040u
#define SFGAO_DROPTARGET 0x00000100u
#define SFGAO_CAPABILITYMASK 0x00000177u
#define SFGAO_ENCRYPTED 0x00002000u
#define SFGAO_ISSLOW 0x00004000u
#define SFGAO_GHOSTED 0x00008000u
#define SFGAO_LINK 0x00010000u
#define SFGAO_SHARE 0x00020000u
#define SFGAO_READONLY 0x00040000u
#define SFGAO_HIDDEN 0x00080000u
#define SFGAO_DISPLAYATTRMASK 0x000FC000u
#define SFGAO_NONENUMERATED 0x00100000u
#define SFGAO_NEWCONTENT 0x00200000u
#define SFGAO_STREAM 0x00400000u
#define SFGAO_STORAGEANCESTOR 0x00800000u
#define SFGAO_VALIDATE 0x01000000u
#define SFGAO_REMOVABLE 0x02000000u
#define SFGAO_COMPRESSED 0x04000000u
#define SFGAO_BROWSABLE 0x08000000u
#define SFGAO_FILESYSANCESTOR 0x10000000u
#define SFGAO_FOLDER 0x20000000u
#define SFGAO_FILESYSTEM 0x40000000u
#define SFGAO_HASSUBFOLDER 0x80000000u
#define SFGAO_CONTENTSMASK 0x80000000u

// Display name forms (IShellFolder::GetDisplayNameOf).
#define SHGDN_NORMAL 0x0000u
#define SHGDN_INFOLDER 0x0001u
#define SHGDN_FOREDITING 0x1000u
#define SHGDN_FORADDRESSBAR 0x4000u
#define SHGDN_FORPARSING 0x8000u

#define STRRET_WSTR 0x0000u
#define STRRET_OFFSET 0x0001u
#define STRRET_CSTR 0x0002u

// A name handed back by a folder: a wide string from the task allocator (STRRET_WSTR, freed by
// StrRetToBuf/StrRetToStr or the caller), an offset of a multibyte string inside the item's id
// list, or a multibyte string in place. Folders here answer STRRET_WSTR.
struct STRRET {
  UINT uType;
  union {
    LPWSTR pOleStr;
    UINT uOffset;
    char cStr[MAX_PATH];
  };
};
using LPSTRRET = STRRET*;

struct IBindCtx;  // bind contexts are accepted and ignored

inline constexpr IID IID_IEnumIDList{
    0x000214F2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IShellFolder{
    0x000214E6, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IEnumIDList : IUnknown {
  // Up to `count` child lists (each freed by the caller); S_FALSE when fewer were left.
  // `fetched` may be null only when `count` is 1.
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** clone) = 0;

 protected:
  ~IEnumIDList() = default;
};
using LPENUMIDLIST = IEnumIDList*;

struct IShellFolder : IUnknown {
  // The list (relative to this folder) of an existing name: for the desktop any absolute path
  // (see Namespace.h), for other folders a name or relative path inside them. `attributes`, when
  // given, is an in/out SFGAO mask as for GetAttributesOf.
  virtual HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND owner, IBindCtx* bindContext, LPWSTR name,
                                                     ULONG* eaten, PIDLIST_RELATIVE* pidl,
                                                     ULONG* attributes) = 0;
  // A snapshot of the folder's children. SHCONTF_FOLDERS and SHCONTF_NONFOLDERS choose the
  // kinds, SHCONTF_INCLUDEHIDDEN adds names starting with '.'; other flags are accepted. A folder
  // that cannot be read fails with its error (HRESULT_FROM_WIN32).
  virtual HRESULT STDMETHODCALLTYPE EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) = 0;
  // The folder object of a (relative, possibly multi-level) list naming a folder; E_INVALIDARG
  // for an empty list or an item that is no folder.
  virtual HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* bindContext, REFIID iid,
                                                 void** object) = 0;
  // E_NOTIMPL: there are no storages.
  virtual HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE pidl, IBindCtx* bindContext, REFIID iid,
                                                  void** object) = 0;
  // Column 0 (the low word of `lParam`) orders by item: non-file-system items in the shell's
  // order first, then folders before files, then names without regard to case. The code of
  // the result (HRESULT_CODE, as a short) is negative, 0 or positive.
  virtual HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) = 0;
  // E_NOTIMPL: folders have no views here.
  virtual HRESULT STDMETHODCALLTYPE CreateViewObject(HWND owner, REFIID iid, void** object) = 0;
  // The attributes, among those asked for in *inOut, common to all `count` items (the folder
  // itself when `count` is 0).
  virtual HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items,
                                                    SFGAOF* inOut) = 0;
  // E_NOTIMPL: there are no context menus, data objects or drop targets of items.
  virtual HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND owner, UINT count, PCUITEMID_CHILD_ARRAY items,
                                                  REFIID iid, UINT* reserved, void** object) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags, STRRET* name) = 0;
  // E_NOTIMPL: renaming goes through SHFileOperation.
  virtual HRESULT STDMETHODCALLTYPE SetNameOf(HWND owner, PCUITEMID_CHILD pidl, LPCWSTR name, SHGDNF flags,
                                              PITEMID_CHILD* newPidl) = 0;

 protected:
  ~IShellFolder() = default;
};
using LPSHELLFOLDER = IShellFolder*;

PICTAVO_COM_INTERFACE_ID(IEnumIDList, IID_IEnumIDList);
PICTAVO_COM_INTERFACE_ID(IShellFolder, IID_IShellFolder);

HRESULT SHGetDesktopFolder(IShellFolder** folder);
// The task allocator, which frees the shell's id lists and strings.
HRESULT SHGetMalloc(LPMALLOC* malloc);

// A STRRET as multibyte (UTF-8) text into `buffer` (cut to `size` bytes, whole characters
// only); a wide string is freed on the way.
HRESULT StrRetToBuf(STRRET* strret, LPCITEMIDLIST pidl, LPSTR buffer, UINT size);
// The same text in a new block from the task allocator.
HRESULT StrRetToStr(STRRET* strret, LPCITEMIDLIST pidl, LPSTR* text);
#define StrRetToBufA StrRetToBuf
#define StrRetToStrA StrRetToStr
