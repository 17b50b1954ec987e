// The ISO 9660 file system (with CD-ROM XA system use) of track 1 of a Video-CD image: the
// folder and file tree, directory records, path tables and volume descriptors.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _tagDiscAuthor;

struct _tagIsoBuffer {
  std::string key;
  uint32_t firstSector = 0;
  uint32_t sectorCount = 0;
  std::vector<uint8_t> data;
  uint8_t endFlags = 0;
};

struct _tagIsoNode {
  bool folder = false;
  std::string name;
  uint16_t version = 0;
  uint16_t xaAttributes = 0;
  uint8_t fileNumber = 0;
  uint32_t extent = 0;
  uint32_t size = 0;
  uint16_t pathNumber = 0;
  _tagIsoNode* parent = nullptr;
  std::vector<std::unique_ptr<_tagIsoNode>> children;
};

constexpr uint16_t kXaFolder = 0x8D55, kXaForm1 = 0x0D55, kXaForm2 = 0x1555;

// Adds a folder (and the folders on its way); the node, or null when a file stands on the path.
_tagIsoNode* AddIsoFolder(_tagIsoNode* root, const std::string& path);
// Adds a file; null when its name is taken or a file stands on its path.
_tagIsoNode* AddIsoFile(_tagIsoNode* root, const std::string& path, bool form2, uint8_t fileNumber,
                        uint32_t extent, uint32_t size);
_tagIsoNode* FindIsoNode(_tagIsoNode* root, const std::string& path);

// Builds the tree of the author's disc, places dir, ptl and ptm and fills them; false when they
// do not fit below sector 75.
bool BuildIsoFileSystem(_tagDiscAuthor* author);
// The primary volume descriptor and the terminator, into 2048-byte sectors.
void WritePrimaryVolumeDescriptor(const _tagDiscAuthor* author, uint8_t* sector);
void WriteVolumeTerminator(uint8_t* sector);

// Bytes of one directory's records (for sizing); records never cross a sector.
uint32_t DirectorySize(const _tagIsoNode& folder);
_tagIsoBuffer* FindIsoBuffer(_tagDiscAuthor* author, const std::string& key);
_tagIsoBuffer* AddIsoBuffer(_tagDiscAuthor* author, const std::string& key, uint32_t sector, uint32_t count,
                            uint8_t endFlags);
