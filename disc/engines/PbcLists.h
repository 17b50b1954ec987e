// Playback control: play, selection and end lists, their list ids and PSD offsets, and the
// PSD/LOT files (big-endian) that players navigate by.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct _tagDiscAuthor;

enum PbcItemKind { PbcPlayList = 1, PbcSelectionList = 2, PbcEndList = 3 };

using PbcArea = std::array<uint8_t, 4>;

struct _tagPbcItem {
  uint32_t kind = 0;
  std::string id;
  bool rejected = false;
  std::string previous, next, returnId;  // empty: none
  double playingTime = 0;
  int32_t playItemWait = 0, autoPauseWait = 0;
  std::vector<std::string> items;
  uint32_t defaultMode = 0;
  std::optional<PbcArea> previousArea, nextArea, returnArea, defaultArea;
  std::vector<std::optional<PbcArea>> selectionAreas;
  uint8_t baseNumber = 0;
  std::string defaultId, timeoutId;
  int32_t timeout = 0;
  uint32_t loopCount = 0;
  bool jumpTiming = false;
  std::string playItem;
  std::vector<std::string> selections;
  std::string endImage;
  uint8_t nextVolume = 0;
  uint32_t listId = 0;
  uint32_t psdOffset = 0, psdxOffset = 0;
};

constexpr uint32_t kLotBytes = 65536;

_tagPbcItem* CreatePbcItem(uint32_t kind);
void DestroyPbcItem(_tagPbcItem* item);
bool HasPlaybackControl(const _tagDiscAuthor* author);
uint32_t GetMaxListId(const _tagDiscAuthor* author);
// Assigns list ids and offsets; false when a list has more than 255 entries or an offset / 8
// reaches 0xFFFD (the special values).
bool LayoutPsd(_tagDiscAuthor* author);
uint32_t DescriptorSize(const _tagDiscAuthor* author, const _tagPbcItem& item, bool extended);
void WritePsdFile(const _tagDiscAuthor* author, uint8_t* buffer, bool extended);
void WriteLotFile(const _tagDiscAuthor* author, uint8_t* buffer, bool extended);
uint16_t GetPsdOffset(const _tagDiscAuthor* author, const std::string& id, bool extended);
uint16_t ResolveItemNumber(const _tagDiscAuthor* author, const std::string& id);
uint8_t EncodeWaitTime(int32_t seconds);
// "track", "entry", "segment", "pbc" or "" for a play item number or id.
const char* ClassifyItemId(const _tagDiscAuthor* author, uint32_t number, const std::string& id);
