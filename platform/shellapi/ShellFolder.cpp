// The folder objects over the namespace of Namespace.h, and STRRET conversion.
#include "platform/shellapi/ShellFolder.h"

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/Utf8.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"
#include "platform/shellapi/Namespace.h"

namespace {

using pictavo::com::ComPtr;
using pictavo::shell::detail::IdBytes;
using pictavo::shell::detail::Location;
namespace detail = pictavo::shell::detail;

// A snapshot of a folder's child lists.
class EnumIDList final : public pictavo::com::Object<IEnumIDList> {
 public:
  explicit EnumIDList(std::vector<IdBytes> items, size_t next = 0)
      : m_items(std::move(items)), m_next(next) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) override {
    if (!items || (!fetched && count != 1)) return E_POINTER;
    ULONG done = 0;
    for (; done < count && m_next < m_items.size(); ++done) {
      items[done] = detail::MakeList(m_items[m_next]);
      if (!items[done]) {
        for (ULONG i = 0; i < done; ++i) ILFree(items[i]);
        if (fetched) *fetched = 0;
        return E_OUTOFMEMORY;
      }
      ++m_next;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const size_t left = m_items.size() - m_next;
    m_next += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    m_next = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** clone) override {
    if (!clone) return E_POINTER;
    *clone = new (std::nothrow) EnumIDList(m_items, m_next);
    return *clone ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::vector<IdBytes> m_items;
  size_t m_next;  // the enumerator's own thread, as every enumerator
};

HRESULT WideResult(const std::string& text, STRRET* out) {
  const std::wstring wide = pictavo::utf8::ToWide(text);
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(wchar_t)));
  if (!copy) return E_OUTOFMEMORY;
  std::wmemcpy(copy, wide.c_str(), wide.size() + 1);
  out->uType = STRRET_WSTR;
  out->pOleStr = copy;
  return S_OK;
}

// Ordering key of an item for CompareIDs: non-file-system items keep the shell's order.
struct SortKey {
  int group;  // 0 desktop-level virtual items in their order, 1 folders, 2 files
  int order;
  std::string name;
};

SortKey KeyOf(const Location& item) {
  switch (item.kind) {
    case Location::Kind::kDesktop:
      return {0, 0, {}};
    case Location::Kind::kComputer:
      return {0, 1, {}};
    case Location::Kind::kNetwork:
      return {0, 2, {}};
    case Location::Kind::kFileSystem:
      break;
  }
  if (item.root != Location::Root::kNone) return {1, 0, item.path};
  return {item.folder ? 1 : 2, 0, item.name};
}

// A folder of the namespace, named by its absolute list.
class ShellFolder final : public pictavo::com::Object<IShellFolder> {
 public:
  ShellFolder(IdBytes self, Location where) : m_self(std::move(self)), m_where(std::move(where)) {}

  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG* eaten,
                                             PIDLIST_RELATIVE* pidl, ULONG* attributes) override {
    if (!pidl) return E_POINTER;
    *pidl = nullptr;
    if (!name) return E_INVALIDARG;
    const std::string text = pictavo::utf8::FromWide(name);
    IdBytes absolute;
    if (m_where.kind == Location::Kind::kDesktop) {
      const detail::Parsed parsed = detail::ParsePath(text);
      if (parsed.error) return HRESULT_FROM_WIN32(parsed.error);
      absolute = parsed.ids;
    } else if (m_where.kind == Location::Kind::kFileSystem && !text.empty() &&
               pictavo::path::IsRelative(text)) {
      // A name or relative path inside this folder, item by item below it.
      const std::string full = detail::Normalize(pictavo::path::Join(m_where.path, text));
      const size_t base = m_where.path.size();
      const bool below = full.size() > base && full.compare(0, base, m_where.path) == 0 &&
                         (m_where.path == "/" || full[base] == '/');
      if (!below) return E_INVALIDARG;
      if (!detail::LocationOfPath(full)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
      absolute = m_self + detail::NamedItems(m_where.path, full);
    } else {
      return E_INVALIDARG;
    }
    if (absolute.size() <= m_self.size()) return E_INVALIDARG;
    const IdBytes relative = absolute.substr(m_self.size());
    if (attributes) {
      const auto item = detail::Resolve(absolute);
      *attributes = item ? detail::Attributes(*item, *attributes) & *attributes : 0;
    }
    *pidl = detail::MakeList(relative);
    if (!*pidl) return E_OUTOFMEMORY;
    if (eaten) *eaten = static_cast<ULONG>(std::wcslen(name));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF flags, IEnumIDList** items) override {
    if (!items) return E_POINTER;
    *items = nullptr;
    std::vector<IdBytes> children;
    DWORD error = 0;
    if (!detail::Children(m_where, flags & SHCONTF_FOLDERS, flags & SHCONTF_NONFOLDERS,
                          flags & SHCONTF_INCLUDEHIDDEN, children, error))
      return HRESULT_FROM_WIN32(error);
    *items = new (std::nothrow) EnumIDList(std::move(children));
    return *items ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx*, REFIID iid,
                                         void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (ILIsEmpty(pidl)) return E_INVALIDARG;
    IdBytes absolute = m_self + detail::BytesOf(pidl);
    auto where = detail::Resolve(absolute);
    if (!where) return E_INVALIDARG;
    if (where->kind == Location::Kind::kFileSystem && !where->folder) return E_INVALIDARG;
    return pictavo::com::CreateInstance<ShellFolder>(iid, object, std::move(absolute), std::move(*where));
  }

  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override {
    if (LOWORD(lParam) != 0) return E_INVALIDARG;
    IdBytes prefixA = m_self, prefixB = m_self;
    // Item by item: the first difference decides; a list that ends first comes first.
    for (LPCITEMIDLIST x = a, y = b;; x = ILGetNext(x), y = ILGetNext(y)) {
      const bool endA = ILIsEmpty(x), endB = ILIsEmpty(y);
      if (endA || endB) return MakeResult(endA == endB ? 0 : (endA ? -1 : 1));
      prefixA += IdBytes(reinterpret_cast<const char*>(x), x->mkid.cb);
      prefixB += IdBytes(reinterpret_cast<const char*>(y), y->mkid.cb);
      const auto itemA = detail::Resolve(prefixA), itemB = detail::Resolve(prefixB);
      if (!itemA || !itemB) return E_INVALIDARG;
      const SortKey keyA = KeyOf(*itemA), keyB = KeyOf(*itemB);
      if (keyA.group != keyB.group) return MakeResult(keyA.group < keyB.group ? -1 : 1);
      if (keyA.order != keyB.order) return MakeResult(keyA.order < keyB.order ? -1 : 1);
      int order = pictavo::unicode::CompareNoCase(keyA.name, keyB.name);
      if (order == 0) order = keyA.name.compare(keyB.name);
      if (order != 0) return MakeResult(order < 0 ? -1 : 1);
    }
  }

  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* inOut) override {
    if (!inOut || (count && !items)) return E_INVALIDARG;
    const DWORD wanted = *inOut;
    DWORD common = wanted;
    for (UINT i = 0; i < count || (count == 0 && i == 0); ++i) {
      std::optional<Location> item = count ? detail::Resolve(m_self + detail::BytesOf(items[i])) : m_where;
      if (!item) return E_INVALIDARG;
      if ((wanted & SFGAO_VALIDATE) && item->kind == Location::Kind::kFileSystem &&
          !detail::LocationOfPath(item->path))
        return E_FAIL;
      common &= detail::Attributes(*item, wanted);
    }
    *inOut = common;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*,
                                          void** object) override {
    if (object) *object = nullptr;
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags, STRRET* name) override {
    if (!name) return E_POINTER;
    const auto item = detail::Resolve(m_self + detail::BytesOf(pidl));
    if (!item) return E_INVALIDARG;
    return WideResult(detail::DisplayName(*item, flags), name);
  }

  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF,
                                      PITEMID_CHILD* newPidl) override {
    if (newPidl) *newPidl = nullptr;
    return E_NOTIMPL;
  }

 private:
  static HRESULT MakeResult(int order) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(order));
  }

  const IdBytes m_self;    // this folder's absolute list
  const Location m_where;  // what it names
};

// The STRRET's text as UTF-8; the wide string is freed.
std::string TakeText(STRRET* strret, LPCITEMIDLIST pidl, HRESULT& result) {
  result = S_OK;
  switch (strret->uType) {
    case STRRET_WSTR: {
      std::string text = strret->pOleStr ? pictavo::utf8::FromWide(strret->pOleStr) : std::string();
      CoTaskMemFree(strret->pOleStr);
      strret->pOleStr = nullptr;
      return text;
    }
    case STRRET_OFFSET:
      if (!pidl) break;
      return reinterpret_cast<const char*>(pidl) + strret->uOffset;
    case STRRET_CSTR:
      return std::string(strret->cStr, strnlen(strret->cStr, sizeof strret->cStr));
  }
  result = E_INVALIDARG;
  return {};
}

}  // namespace

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
  if (!folder) return E_INVALIDARG;
  return pictavo::com::CreateInstance<ShellFolder>(IID_IShellFolder, reinterpret_cast<void**>(folder),
                                                   IdBytes(), Location());
}

HRESULT SHGetMalloc(LPMALLOC* malloc) {
  return CoGetMalloc(MEMCTX_TASK, malloc);
}

HRESULT StrRetToBuf(STRRET* strret, LPCITEMIDLIST pidl, LPSTR buffer, UINT size) {
  if (!strret || !buffer || size == 0) return E_INVALIDARG;
  HRESULT result;
  const std::string text = TakeText(strret, pidl, result);
  buffer[0] = '\0';
  if (FAILED(result)) return result;
  // Whole characters only, so the cut text stays valid UTF-8.
  size_t length = 0;
  while (length < text.size()) {
    const size_t next =
        length + std::max<size_t>(1, pictavo::utf8::CharLength(std::string_view(text).substr(length)));
    if (next > size - 1) break;
    length = next;
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return S_OK;
}

HRESULT StrRetToStr(STRRET* strret, LPCITEMIDLIST pidl, LPSTR* text) {
  if (!strret || !text) return E_INVALIDARG;
  *text = nullptr;
  HRESULT result;
  const std::string value = TakeText(strret, pidl, result);
  if (FAILED(result)) return result;
  *text = static_cast<LPSTR>(CoTaskMemAlloc(value.size() + 1));
  if (!*text) return E_OUTOFMEMORY;
  std::memcpy(*text, value.c_str(), value.size() + 1);
  return S_OK;
}
