#include "toolkit/core/PlxRebarState.h"

#include <cstring>
#include <vector>

#include "platform/comctl/AfxReBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxRegistry.h"

namespace {

constexpr UINT kRecordSize = 80;  // the stored band record: twenty 32-bit fields
constexpr UINT kSaveMask =
    RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE | RBBIM_HEADERSIZE;
constexpr UINT kStoredMask = kSaveMask & ~RBBIM_CHILD;
constexpr int kFixedSizeExtra = 4;

// Field positions (in 32-bit words) of the stored record.
enum Field {
  kCbSize,
  kMask,
  kStyle,
  kClrFore,
  kClrBack,
  kText,
  kCch,
  kImage,
  kChild,
  kCxMinChild,
  kCyMinChild,
  kCx,
  kBitmap,
  kId,
  kCyChild,
  kCyMaxChild,
  kCyIntegral,
  kCxIdeal,
  kLParam,
  kCxHeader,
  kFieldCount
};
static_assert(kFieldCount * 4 == kRecordSize);

void Put(BYTE* record, Field field, DWORD value) {
  for (int i = 0; i < 4; ++i) record[field * 4 + i] = static_cast<BYTE>(value >> (8 * i));
}

DWORD Get(const BYTE* record, Field field) {
  DWORD value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | record[field * 4 + i];
  return value;
}

CReBar* AsReBar(HWND hwnd) {
  return dynamic_cast<CReBar*>(CWnd::FromHandlePermanent(hwnd));
}

CString KeyOf(LPCTSTR base, HWND rebar) {
  CString key;
  key.Format("%sPlxRebar-%ld", base ? base : "", static_cast<long>(GetWindowLongPtr(rebar, GWL_ID)));
  return key;
}

BOOL CALLBACK SaveOne(HWND hwnd, LPARAM lParam) {
  CReBar* rebar = AsReBar(hwnd);
  if (!rebar) return TRUE;
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, FALSE);
  if (!registry.CreateKey(KeyOf(reinterpret_cast<LPCTSTR>(lParam), hwnd))) return TRUE;
  CReBarCtrl& ctrl = rebar->GetReBarCtrl();
  const UINT count = ctrl.GetBandCount();
  if (count == 0) return TRUE;
  g_plxGlobalData.GetRebarBandInfoSize();
  std::vector<BYTE> records(static_cast<size_t>(count) * kRecordSize, 0);
  std::vector<BYTE> ids(static_cast<size_t>(count) * 4, 0);
  for (UINT i = 0; i < count; ++i) {
    REBARBANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = kSaveMask;
    if (!ctrl.GetBandInfo(i, &info)) continue;
    if (info.fStyle & RBBS_FIXEDSIZE) info.cxMinChild += kFixedSizeExtra;
    const DWORD id = info.hwndChild ? static_cast<DWORD>(GetDlgCtrlID(info.hwndChild)) : 0;
    std::memcpy(&ids[i * 4], &id, 4);
    BYTE* record = &records[i * kRecordSize];
    Put(record, kCbSize, kRecordSize);
    Put(record, kMask, kStoredMask);
    Put(record, kStyle, info.fStyle);
    Put(record, kImage, static_cast<DWORD>(info.iImage));
    Put(record, kCxMinChild, info.cxMinChild);
    Put(record, kCyMinChild, info.cyMinChild);
    Put(record, kCx, info.cx);
    Put(record, kId, info.wID);
    Put(record, kCyChild, info.cyChild);
    Put(record, kCyMaxChild, info.cyMaxChild);
    Put(record, kCyIntegral, info.cyIntegral);
    Put(record, kCxIdeal, info.cxIdeal);
    Put(record, kCxHeader, info.cxHeader);
  }
  registry.WriteBinary("RBI", records.data(), static_cast<UINT>(records.size()));
  registry.WriteBinary("IDs", ids.data(), static_cast<UINT>(ids.size()));
  return TRUE;
}

// Every stored record must be exactly what a save writes; nothing is taken from one that is not.
bool RecordsFit(const BYTE* records, UINT recordBytes, UINT idBytes, UINT bands) {
  if (idBytes % 4 != 0 || idBytes / 4 != bands || recordBytes != bands * kRecordSize) return false;
  for (UINT i = 0; i < bands; ++i) {
    const BYTE* record = records + static_cast<size_t>(i) * kRecordSize;
    if (Get(record, kCbSize) != kRecordSize || Get(record, kMask) != kStoredMask) return false;
  }
  return true;
}

BOOL CALLBACK LoadOne(HWND hwnd, LPARAM lParam) {
  CReBar* rebar = AsReBar(hwnd);
  if (!rebar) return TRUE;
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, TRUE);
  if (!registry.Open(KeyOf(reinterpret_cast<LPCTSTR>(lParam), hwnd))) return TRUE;
  BYTE* records = nullptr;
  BYTE* ids = nullptr;
  UINT recordBytes = 0, idBytes = 0;
  CReBarCtrl& ctrl = rebar->GetReBarCtrl();
  const UINT bands = ctrl.GetBandCount();
  if (registry.ReadBinary("RBI", &records, &recordBytes) && registry.ReadBinary("IDs", &ids, &idBytes) &&
      bands > 0 && RecordsFit(records, recordBytes, idBytes, bands)) {
    for (UINT i = 0; i < bands; ++i) {
      DWORD id = 0;
      std::memcpy(&id, ids + static_cast<size_t>(i) * 4, 4);
      for (UINT j = i; j < bands; ++j) {
        REBARBANDINFO child{};
        child.cbSize = sizeof child;
        child.fMask = RBBIM_CHILD;
        if (!ctrl.GetBandInfo(j, &child) || !child.hwndChild ||
            static_cast<DWORD>(GetDlgCtrlID(child.hwndChild)) != id)
          continue;
        if (j != i) ctrl.MoveBand(j, i);
        const BYTE* record = records + static_cast<size_t>(i) * kRecordSize;
        REBARBANDINFO info{};
        info.cbSize = sizeof info;
        info.fMask = kStoredMask;
        info.fStyle = Get(record, kStyle);
        info.cxMinChild = Get(record, kCxMinChild);
        info.cyMinChild = Get(record, kCyMinChild);
        info.cx = Get(record, kCx);
        info.wID = Get(record, kId);
        info.cyChild = Get(record, kCyChild);
        info.cyMaxChild = Get(record, kCyMaxChild);
        info.cyIntegral = Get(record, kCyIntegral);
        info.cxIdeal = Get(record, kCxIdeal);
        info.cxHeader = Get(record, kCxHeader);
        ctrl.SetBandInfo(i, &info);
        break;
      }
    }
  }
  delete[] records;
  delete[] ids;
  return TRUE;
}

}  // namespace

void PlxSaveRebarState(LPCTSTR lpszProfileName, CWnd* pFrame) {
  if (pFrame && pFrame->GetSafeHwnd())
    EnumChildWindows(pFrame->GetSafeHwnd(), SaveOne, reinterpret_cast<LPARAM>(lpszProfileName));
}

void PlxLoadRebarState(LPCTSTR lpszProfileName, CWnd* pFrame) {
  if (pFrame && pFrame->GetSafeHwnd())
    EnumChildWindows(pFrame->GetSafeHwnd(), LoadOne, reinterpret_cast<LPARAM>(lpszProfileName));
}
