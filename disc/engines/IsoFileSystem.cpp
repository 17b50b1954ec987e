#include "disc/engines/IsoFileSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>

#include "disc/engines/DiscAuthor.h"
#include "disc/engines/PbcLists.h"
#include "disc/engines/VcdInfoFiles.h"

namespace {

// Every date of the file system: 1978-07-14 00:00:00 UTC.
constexpr uint8_t kRecordDate[7] = {78, 7, 14, 0, 0, 0, 0};
constexpr char kVolumeDate[] = "1978071400000000";

void Both32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    p[i] = static_cast<uint8_t>(v >> (8 * i));
    p[7 - i] = static_cast<uint8_t>(v >> (8 * i));
  }
}
void Both16(uint8_t* p, uint16_t v) {
  p[0] = p[3] = static_cast<uint8_t>(v);
  p[1] = p[2] = static_cast<uint8_t>(v >> 8);
}
void Text(uint8_t* p, size_t size, const std::string& text) {
  std::memset(p, ' ', size);
  std::memcpy(p, text.data(), std::min(size, text.size()));
}

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = path.find('/', start);
    const size_t end = slash == std::string::npos ? path.size() : slash;
    if (end > start) parts.push_back(path.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return parts;
}

std::string RecordName(const _tagIsoNode& n) {
  return n.folder ? n.name : n.name + ";" + std::to_string(n.version);
}

uint32_t RecordLength(const std::string& name) {
  const uint32_t length = static_cast<uint32_t>(name.size());
  return 33 + length + (length % 2 == 0 ? 1 : 0) + 14;
}

bool NameLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return uint8_t(x) < uint8_t(y); });
}

// Children stay sorted by name: a new one goes in at its place, and lookups are binary searches.
auto ChildPlace(_tagIsoNode* folder, const std::string& name) {
  return std::lower_bound(
      folder->children.begin(), folder->children.end(), name,
      [](const std::unique_ptr<_tagIsoNode>& c, const std::string& n) { return NameLess(c->name, n); });
}

_tagIsoNode* Child(_tagIsoNode* folder, const std::string& name) {
  const auto at = ChildPlace(folder, name);
  return at != folder->children.end() && (*at)->name == name ? at->get() : nullptr;
}

_tagIsoNode* Insert(_tagIsoNode* folder, std::unique_ptr<_tagIsoNode> node) {
  _tagIsoNode* added = node.get();
  folder->children.insert(ChildPlace(folder, node->name), std::move(node));
  return added;
}

// Writes one record at `at` or, when it does not fit in the rest of that sector, at the next one.
void AppendRecord(uint8_t* dir, uint32_t dirSize, uint32_t& at, const _tagIsoNode& node,
                  const std::string& name, uint8_t nameByte, bool special) {
  const uint32_t nameLength = special ? 1 : static_cast<uint32_t>(name.size());
  const uint32_t length = 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0) + 14;
  if (at % 2048 + length > 2048) at = (at / 2048 + 1) * 2048;
  if (at + length > dirSize || length > 255) return;
  uint8_t* r = dir + at;
  at += length;
  std::memset(r, 0, length);
  r[0] = static_cast<uint8_t>(length);
  Both32(r + 2, node.extent);
  Both32(r + 10, node.size);
  std::memcpy(r + 18, kRecordDate, 7);
  r[25] = node.folder ? 2 : 0;
  Both16(r + 28, 1);
  r[32] = static_cast<uint8_t>(nameLength);
  if (special)
    r[33] = nameByte;
  else
    std::memcpy(r + 33, name.data(), nameLength);
  uint8_t* xa = r + 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0);
  xa[4] = static_cast<uint8_t>(node.xaAttributes >> 8);
  xa[5] = static_cast<uint8_t>(node.xaAttributes);
  xa[6] = 'X';
  xa[7] = 'A';
  xa[8] = node.fileNumber;
}

void AssignExtents(_tagIsoNode* folder, uint32_t& next) {
  folder->extent = next;
  next += folder->size / 2048;
  for (auto& c : folder->children)
    if (c->folder) AssignExtents(c.get(), next);
}

void ComputeSizes(_tagIsoNode* folder, uint32_t& sectors) {
  folder->size = DirectorySize(*folder);
  sectors += folder->size / 2048;
  for (auto& c : folder->children)
    if (c->folder) ComputeSizes(c.get(), sectors);
}

void WriteRecords(_tagIsoNode* folder, _tagIsoBuffer* dir) {
  uint8_t* own = dir->data.data() + size_t(folder->extent - dir->firstSector) * 2048;
  std::memset(own, 0, folder->size);
  const _tagIsoNode* parent = folder->parent ? folder->parent : folder;
  uint32_t at = 0;
  AppendRecord(own, folder->size, at, *folder, {}, 0, true);
  AppendRecord(own, folder->size, at, *parent, {}, 1, true);
  for (auto& c : folder->children) AppendRecord(own, folder->size, at, *c, RecordName(*c), 0, false);
  for (auto& c : folder->children)
    if (c->folder) WriteRecords(c.get(), dir);
}

std::vector<_tagIsoNode*> BreadthFirst(_tagIsoNode* root) {
  std::vector<_tagIsoNode*> order{root};
  for (size_t i = 0; i < order.size(); ++i)
    for (auto& c : order[i]->children)
      if (c->folder) order.push_back(c.get());
  return order;
}

uint32_t PathTableSize(const std::vector<_tagIsoNode*>& folders) {
  uint32_t size = 0;
  for (const _tagIsoNode* f : folders) {
    const uint32_t length = f->parent ? static_cast<uint32_t>(f->name.size()) : 1;
    size += 8 + length + (length % 2);
  }
  return size;
}

void WritePathTable(const std::vector<_tagIsoNode*>& folders, uint8_t* out, bool bigEndian) {
  const auto put32 = [&](uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[bigEndian ? 3 - i : i] = static_cast<uint8_t>(v >> (8 * i));
  };
  const auto put16 = [&](uint8_t* p, uint16_t v) {
    p[bigEndian ? 1 : 0] = static_cast<uint8_t>(v);
    p[bigEndian ? 0 : 1] = static_cast<uint8_t>(v >> 8);
  };
  uint8_t* p = out;
  for (const _tagIsoNode* f : folders) {
    const uint32_t length = f->parent ? static_cast<uint32_t>(f->name.size()) : 1;
    p[0] = static_cast<uint8_t>(length);
    p[1] = 0;
    put32(p + 2, f->extent);
    put16(p + 6, f->parent ? f->parent->pathNumber : 1);
    if (f->parent)
      std::memcpy(p + 8, f->name.data(), length);
    else
      p[8] = 0;
    p += 8 + length + (length % 2);
  }
}

}  // namespace

uint32_t DirectorySize(const _tagIsoNode& folder) {
  uint32_t at = 96;  // "." and ".."
  for (const auto& c : folder.children) {
    const uint32_t length = RecordLength(RecordName(*c));
    if (at % 2048 + length > 2048) at = (at / 2048 + 1) * 2048;
    at += length;
  }
  return (at + 2047) / 2048 * 2048;
}

_tagIsoNode* FindIsoNode(_tagIsoNode* root, const std::string& path) {
  _tagIsoNode* node = root;
  for (const std::string& part : Split(path)) {
    if (!node || !node->folder) return nullptr;
    node = Child(node, part);
  }
  return node;
}

_tagIsoNode* AddIsoFolder(_tagIsoNode* root, const std::string& path) {
  _tagIsoNode* node = root;
  for (const std::string& part : Split(path)) {
    _tagIsoNode* next = Child(node, part);
    if (next && !next->folder) return nullptr;
    if (!next) {
      auto folder = std::make_unique<_tagIsoNode>();
      folder->folder = true;
      folder->name = part;
      folder->xaAttributes = kXaFolder;
      folder->parent = node;
      next = Insert(node, std::move(folder));
    }
    node = next;
  }
  return node;
}

_tagIsoNode* AddIsoFile(_tagIsoNode* root, const std::string& path, bool form2, uint8_t fileNumber,
                        uint32_t extent, uint32_t size) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return nullptr;
  _tagIsoNode* folder = slash == std::string::npos ? root : AddIsoFolder(root, path.substr(0, slash));
  if (!folder || Child(folder, name)) return nullptr;
  auto file = std::make_unique<_tagIsoNode>();
  file->name = name;
  file->version = 1;
  file->xaAttributes = form2 ? kXaForm2 : kXaForm1;
  file->fileNumber = fileNumber;
  file->extent = extent;
  file->size = size;
  file->parent = folder;
  return Insert(folder, std::move(file));
}

_tagIsoBuffer* FindIsoBuffer(_tagDiscAuthor* a, const std::string& key) {
  for (auto& b : a->isoBuffers)
    if (b->key == key) return b.get();
  return nullptr;
}

_tagIsoBuffer* AddIsoBuffer(_tagDiscAuthor* a, const std::string& key, uint32_t sector, uint32_t count,
                            uint8_t endFlags) {
  auto b = std::make_unique<_tagIsoBuffer>();
  b->key = key;
  b->firstSector = sector;
  b->sectorCount = std::max<uint32_t>(count, 1);
  b->data.assign(size_t(b->sectorCount) * 2048, 0);
  b->endFlags = endFlags;
  a->isoBuffers.push_back(std::move(b));
  return a->isoBuffers.back().get();
}

bool BuildIsoFileSystem(_tagDiscAuthor* a) {
  a->root = std::make_unique<_tagIsoNode>();
  _tagIsoNode* root = a->root.get();
  root->folder = true;
  root->xaAttributes = kXaFolder;
  const bool svcd = DiscTypeSupports(a, 2);
  const bool pbc = HasPlaybackControl(a);
  const std::string sys = svcd ? "SVCD" : "VCD", ext = svcd ? "SVD" : "VCD";
  const std::string mpegFolder = svcd && !a->svcdMpegavFolder ? "MPEG2" : "MPEGAV";
  for (const std::string& f : {std::string("EXT"), mpegFolder, sys}) AddIsoFolder(root, f);
  if (!a->segments.empty()) AddIsoFolder(root, "SEGMENT");
  const auto bufferFile = [&](const char* key, const std::string& path, uint32_t bytes, uint8_t fileNumber) {
    if (_tagIsoBuffer* b = FindIsoBuffer(a, key))
      AddIsoFile(root, path, false, fileNumber, b->firstSector, bytes);
  };
  bufferFile("entries", sys + "/ENTRIES." + ext, 2048, 0);
  bufferFile("info", sys + "/INFO." + ext, 2048, 0);
  if (pbc) {
    bufferFile("lot", sys + "/LOT." + ext, kLotBytes, 0);
    bufferFile("psd", sys + "/PSD." + ext, a->psdSize, 0);
  }
  if (svcd) {
    if (_tagIsoBuffer* b = FindIsoBuffer(a, "search"))
      bufferFile("search", "SVCD/SEARCH.DAT", SearchFileBytes(a), 0);
    bufferFile("tracks", "SVCD/TRACKS.SVD", 2048, 0);
  }
  char name[64];
  uint32_t units = 0;
  for (const _tagSegmentItem& s : a->segments) {
    std::snprintf(name, sizeof(name), svcd ? "SEGMENT/ITEM%4.4u.MPG" : "SEGMENT/ITEM%4.4u.DAT", units + 1);
    AddIsoFile(root, name, true, svcd ? 0 : 1, s.firstSector, s.source->info.packetCount * 2048);
    units += s.units;
  }
  if (pbc && a->discType == DiscTypeVcd2) {
    bufferFile("psd_x", "EXT/PSD_X.VCD", a->psdxSize, 1);
    bufferFile("lot_x", "EXT/LOT_X.VCD", kLotBytes, 1);
  }
  if (svcd)
    if (_tagIsoBuffer* b = FindIsoBuffer(a, "scandata"))
      bufferFile("scandata", "EXT/SCANDATA.DAT", ScanDataFileBytes(a), 0);
  for (size_t i = 0; i < a->sequences.size(); ++i) {
    const _tagSequenceTrack& t = a->sequences[i];
    const unsigned n = static_cast<unsigned>(i + 1);
    uint8_t fileNumber = static_cast<uint8_t>(n);
    if (a->discType == DiscTypeVcd1)
      std::snprintf(name, sizeof(name), "MPEGAV/MUSIC%2.2u.DAT", n);
    else if (!svcd)
      std::snprintf(name, sizeof(name), "MPEGAV/AVSEQ%2.2u.DAT", n);
    else {
      std::snprintf(name, sizeof(name), "%s/AVSEQ%2.2u.MPG", mpegFolder.c_str(), n);
      if (!a->svcdMpegavFolder) fileNumber = 0;
    }
    AddIsoFile(root, name, true, fileNumber, a->isoSize + t.relativeStart,
               (a->frontMargin + t.source->info.packetCount + a->rearMargin) * 2048);
  }
  for (const _tagCustomFile& f : a->customFiles) {
    const uint32_t size =
        f.form2 ? static_cast<uint32_t>(f.size / 2336 * 2048) : static_cast<uint32_t>(f.size);
    AddIsoFile(root, f.isoPath, f.form2, 1, f.firstSector, size);
  }
  uint32_t dirSectors = 0;
  ComputeSizes(root, dirSectors);
  const std::vector<_tagIsoNode*> folders = BreadthFirst(root);
  for (size_t i = 0; i < folders.size(); ++i) folders[i]->pathNumber = static_cast<uint16_t>(i + 1);
  const uint32_t tableBytes = PathTableSize(folders);
  const uint32_t tableSectors = SectorsFor(tableBytes);
  if (18 + dirSectors + 2 * tableSectors > 75 || folders.size() > 0xFFFF) return false;
  uint32_t next = 18;
  AssignExtents(root, next);
  _tagIsoBuffer* dir = AddIsoBuffer(a, "dir", 18, dirSectors, 0x81);
  _tagIsoBuffer* ptl = AddIsoBuffer(a, "ptl", 18 + dirSectors, tableSectors, 0x81);
  _tagIsoBuffer* ptm = AddIsoBuffer(a, "ptm", 18 + dirSectors + tableSectors, tableSectors, 0x81);
  WriteRecords(root, dir);
  WritePathTable(folders, ptl->data.data(), false);
  WritePathTable(folders, ptm->data.data(), true);
  return true;
}

void WritePrimaryVolumeDescriptor(const _tagDiscAuthor* a, uint8_t* s) {
  std::memset(s, 0, 2048);
  s[0] = 1;
  std::memcpy(s + 1, "CD001", 5);
  s[6] = 1;
  Text(s + 8, 32, "CD-RTOS CD-BRIDGE");
  Text(s + 40, 32, a->volumeLabel);
  Both32(s + 80, a->isoSize);
  Both16(s + 120, 1);
  Both16(s + 124, 1);
  Both16(s + 128, 2048);
  const _tagIsoBuffer *ptl = nullptr, *ptm = nullptr, *dir = nullptr;
  for (const auto& b : a->isoBuffers) {
    if (b->key == "ptl") ptl = b.get();
    if (b->key == "ptm") ptm = b.get();
    if (b->key == "dir") dir = b.get();
  }
  if (ptl && ptm && dir) {
    // The path table's size: the sum of its entries' lengths (up to the first empty entry).
    uint32_t size = 0;
    while (size + 8 <= ptl->data.size() && ptl->data[size])
      size += 8 + ptl->data[size] + (ptl->data[size] % 2);
    Both32(s + 132, size);
    for (int i = 0; i < 4; ++i) {
      s[140 + i] = static_cast<uint8_t>(ptl->firstSector >> (8 * i));
      s[148 + 3 - i] = static_cast<uint8_t>(ptm->firstSector >> (8 * i));
    }
    std::memcpy(s + 156, dir->data.data(), 34);
    s[156] = 34;
  }
  Text(s + 190, 128, "");
  Text(s + 318, 128, a->publisher);
  Text(s + 446, 128, "RQ_VCD VERSION 1.0");
  Text(s + 574, 128, a->application);
  Text(s + 702, 37, "");
  Text(s + 739, 37, "");
  Text(s + 776, 37, "");
  std::memcpy(s + 813, kVolumeDate, 16);
  std::memcpy(s + 830, kVolumeDate, 16);
  std::memset(s + 847, '0', 16);
  std::memset(s + 864, '0', 16);
  s[881] = 1;
  std::memcpy(s + 1024, "CD-XA001", 8);
}

void WriteVolumeTerminator(uint8_t* s) {
  std::memset(s, 0, 2048);
  s[0] = 255;
  std::memcpy(s + 1, "CD001", 5);
  s[6] = 1;
}
