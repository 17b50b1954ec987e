#include "disc/engines/PbcLists.h"

#include <algorithm>
#include <cstring>

#include "disc/engines/DiscAuthor.h"

namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}

const _tagPbcItem* FindItem(const _tagDiscAuthor* a, const std::string& id) {
  if (id.empty()) return nullptr;
  for (const _tagPbcItem* item : a->pbcItems)
    if (item->id == id) return item;
  return nullptr;
}

bool ExtendedSelections(const _tagDiscAuthor* a, bool extended) {
  return extended || DiscTypeSupports(a, 2);
}

void WriteDescriptor(const _tagDiscAuthor* a, const _tagPbcItem& item, uint8_t* d, bool extended) {
  const uint32_t listId = item.listId + (item.rejected ? 0x8000 : 0);
  if (item.kind == PbcPlayList) {
    d[0] = 0x10;
    d[1] = static_cast<uint8_t>(item.items.size());
    Put16(d + 2, listId);
    Put16(d + 4, GetPsdOffset(a, item.previous, extended));
    Put16(d + 6, GetPsdOffset(a, item.next, extended));
    Put16(d + 8, GetPsdOffset(a, item.returnId, extended));
    const double ticks = std::max(0.0, item.playingTime * 15);
    Put16(d + 10, ticks >= 0xFFFF ? 0xFFFF : static_cast<uint32_t>(ticks));
    d[12] = EncodeWaitTime(item.playItemWait);
    d[13] = EncodeWaitTime(item.autoPauseWait);
    for (size_t i = 0; i < item.items.size(); ++i) Put16(d + 14 + 2 * i, ResolveItemNumber(a, item.items[i]));
  } else if (item.kind == PbcSelectionList) {
    const bool areas = ExtendedSelections(a, extended);
    const size_t n = item.selections.size();
    d[0] = extended ? 0x1A : 0x18;
    d[1] = DiscTypeSupports(a, 2) ? 0x01 : 0x00;
    d[2] = static_cast<uint8_t>(n);
    d[3] = item.baseNumber;
    Put16(d + 4, listId);
    Put16(d + 6, GetPsdOffset(a, item.previous, extended));
    Put16(d + 8, GetPsdOffset(a, item.next, extended));
    Put16(d + 10, GetPsdOffset(a, item.returnId, extended));
    Put16(d + 12, item.defaultMode == 1   ? 0xFFFE
                  : item.defaultMode == 2 ? 0xFFFD
                                          : GetPsdOffset(a, item.defaultId, extended));
    Put16(d + 14, GetPsdOffset(a, item.timeoutId, extended));
    d[16] = EncodeWaitTime(item.timeout);
    d[17] = static_cast<uint8_t>(std::min<uint32_t>(item.loopCount, 127) | (item.jumpTiming ? 0x80 : 0));
    Put16(d + 18, ResolveItemNumber(a, item.playItem));
    for (size_t i = 0; i < n; ++i) Put16(d + 20 + 2 * i, GetPsdOffset(a, item.selections[i], extended));
    if (areas) {
      uint8_t* p = d + 20 + 2 * n;
      for (const auto* area : {&item.previousArea, &item.nextArea, &item.returnArea, &item.defaultArea}) {
        if (*area) std::memcpy(p, (*area)->data(), 4);
        p += 4;
      }
      for (size_t i = 0; i < n; ++i, p += 4)
        if (i < item.selectionAreas.size() && item.selectionAreas[i])
          std::memcpy(p, item.selectionAreas[i]->data(), 4);
    }
  } else if (item.kind == PbcEndList) {
    d[0] = 0x1F;
    if (DiscTypeSupports(a, 2)) {
      d[1] = item.nextVolume;
      if (!item.endImage.empty()) Put16(d + 2, ResolveItemNumber(a, item.endImage));
    }
  }
}

}  // namespace

_tagPbcItem* CreatePbcItem(uint32_t kind) {
  auto* item = new _tagPbcItem;
  item->kind = kind;
  return item;
}

void DestroyPbcItem(_tagPbcItem* item) {
  delete item;
}

bool HasPlaybackControl(const _tagDiscAuthor* a) {
  return !a->pbcItems.empty() && DiscTypeSupports(a, 3);
}

uint32_t GetMaxListId(const _tagDiscAuthor* a) {
  return HasPlaybackControl(a) ? static_cast<uint32_t>(a->pbcItems.size()) : 0;
}

uint8_t EncodeWaitTime(int32_t s) {
  if (s < 0) return 255;
  if (s <= 60) return static_cast<uint8_t>(s);
  if (s <= 2000) return static_cast<uint8_t>(60 + (s - 60) / 10);
  return 254;
}

uint32_t DescriptorSize(const _tagDiscAuthor* a, const _tagPbcItem& item, bool extended) {
  switch (item.kind) {
    case PbcPlayList:
      return 14 + 2 * static_cast<uint32_t>(item.items.size());
    case PbcSelectionList: {
      const uint32_t n = static_cast<uint32_t>(item.selections.size());
      return ExtendedSelections(a, extended) ? 36 + 6 * n : 20 + 2 * n;
    }
    default:
      return 8;
  }
}

bool LayoutPsd(_tagDiscAuthor* a) {
  if (a->pbcItems.size() > kMaxPbcItems) return false;
  uint32_t psd = 0, psdx = 0;
  const bool withX = a->discType == DiscTypeVcd2;
  const auto place = [](uint32_t& offset, uint32_t size) {
    size = (size + 7) / 8 * 8;
    if (size > 2048 - offset % 2048) offset = (offset / 2048 + 1) * 2048;
    const uint32_t at = offset;
    offset += size;
    return at;
  };
  uint32_t listId = 1;
  for (_tagPbcItem* item : a->pbcItems) {
    if (item->items.size() > kMaxListEntries || item->selections.size() > kMaxListEntries) return false;
    item->listId = listId++;
    item->psdOffset = place(psd, DescriptorSize(a, *item, false));
    if (withX) item->psdxOffset = place(psdx, DescriptorSize(a, *item, true));
    // Offsets / 8 of 0xFFFD and above mean "special" to a player.
    if (item->psdOffset / 8 >= 0xFFFD || item->psdxOffset / 8 >= 0xFFFD) return false;
  }
  a->psdSize = psd;
  a->psdxSize = withX ? psdx : 0;
  return true;
}

void WritePsdFile(const _tagDiscAuthor* a, uint8_t* buffer, bool extended) {
  const uint32_t size = extended ? a->psdxSize : a->psdSize;
  std::memset(buffer, 0, (size + 2047) / 2048 * 2048);
  for (const _tagPbcItem* item : a->pbcItems)
    WriteDescriptor(a, *item, buffer + (extended ? item->psdxOffset : item->psdOffset), extended);
}

void WriteLotFile(const _tagDiscAuthor* a, uint8_t* buffer, bool extended) {
  std::memset(buffer, 0xFF, kLotBytes);
  buffer[0] = buffer[1] = 0;
  for (const _tagPbcItem* item : a->pbcItems) {
    if (item->rejected || item->listId >= kLotBytes / 2) continue;
    Put16(buffer + 2 * item->listId, (extended ? item->psdxOffset : item->psdOffset) / 8);
  }
}

uint16_t GetPsdOffset(const _tagDiscAuthor* a, const std::string& id, bool extended) {
  const _tagPbcItem* item = FindItem(a, id);
  if (!item) return 0xFFFF;
  return static_cast<uint16_t>((extended ? item->psdxOffset : item->psdOffset) / 8);
}

uint16_t ResolveItemNumber(const _tagDiscAuthor* a, const std::string& id) {
  if (id.empty()) return 0;
  for (size_t i = 0; i < a->sequences.size(); ++i) {
    if (a->sequences[i].itemId == id) return static_cast<uint16_t>(2 + i);
    if (a->sequences[i].entryId == id) return static_cast<uint16_t>(100 + i);
  }
  uint32_t units = 0;
  for (const _tagSegmentItem& s : a->segments) {
    if (s.itemId == id) return static_cast<uint16_t>(1000 + units);
    units += s.units;
  }
  return 0;
}

const char* ClassifyItemId(const _tagDiscAuthor* a, uint32_t number, const std::string& id) {
  if (number >= 2 && number <= 99) return "track";
  if (number >= 100 && number <= 599) return "entry";
  if (number >= 1000 && number <= 2979) return "segment";
  return FindItem(a, id) ? "pbc" : "";
}
