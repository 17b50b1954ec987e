#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "albums/AlbumOptionsRules.h"

namespace {

struct DurationCase {
  int transition, photo;
  int photoAfter;
  BOOL changed;
};
const DurationCase kDurations[] = {
    {0, 0, 1, TRUE},   // a slide must take time
    {0, 4, 4, FALSE},  // photo only
    {2, 0, 0, FALSE},  // transition only
    {3, 5, 5, FALSE},
};

TEST(AlbumOptionsRules, BothDurationsZeroGivesPhotoDurationOne) {
  for (const DurationCase& c : kDurations) {
    int transition = c.transition, photo = c.photo;
    EXPECT_EQ(ApplyDurationRule(transition, photo), c.changed) << c.transition << "/" << c.photo;
    EXPECT_EQ(transition, c.transition);
    EXPECT_EQ(photo, c.photoAfter) << c.transition << "/" << c.photo;
  }
}

struct SizeCase {
  const char* path;
  uint64_t bytes;
  BOOL accepted;
};
const SizeCase kSizes[] = {
    {"/m/a.wav", 307200, FALSE}, {"/m/a.wav", 307201, TRUE}, {"/m/a.WAV", 307200, FALSE},
    {"/m/a.mp3", 30720, FALSE},  {"/m/a.mp3", 30721, TRUE},  {"/m/a.wma", 100000, TRUE},
    {"/m/a.mp3", 0, FALSE},      {"/m.wav/a", 30721, TRUE},  // the folder's name is no extension
};

TEST(AlbumOptionsRules, SizeRuleForMusicFiles) {
  for (const SizeCase& c : kSizes)
    EXPECT_EQ(IsMusicFileSizeAccepted(c.path, c.bytes), c.accepted) << c.path << " " << c.bytes;
}

TEST(AlbumOptionsRules, LengthsAndRowTexts) {
  EXPECT_EQ(FormatAlbumLength(0), "0:00:00");
  EXPECT_EQ(FormatAlbumLength(59), "0:00:59");
  EXPECT_EQ(FormatAlbumLength(3725), "1:02:05");
  EXPECT_EQ(FormatAlbumLength(-5), "0:00:00");

  _AUDIO_SOURCE entry;
  entry.strPathName = "/music/default.MP3";
  entry.nSourceLength = 180000;
  entry.nTrimStart = 2000;
  entry.nTrimEnd = 14500;
  entry.nStartPos = 65000;
  EXPECT_EQ(MusicLengthText(entry), "12\" of 180\"");
  EXPECT_EQ(MusicTimeText(entry), "01:05 - 01:17");
  EXPECT_EQ(MusicRowImage(entry, 65001), 2);  // starts while the slideshow runs
  EXPECT_EQ(MusicRowImage(entry, 65000), 0);  // starts after its end
  EXPECT_TRUE(IsDefaultMusic(entry));
  entry.strPathName = "/music/default.mp3.wav";
  EXPECT_FALSE(IsDefaultMusic(entry));
  // A clip whose trim points cross has no length and no negative numbers.
  entry.nTrimEnd = 1000;
  EXPECT_EQ(MusicLengthText(entry), "0\" of 180\"");
}

// Three clips back to back: A 10 s, B 20 s, C 30 s.
struct Clip {
  std::string name;
  int length;
  int start;
  bool operator==(const Clip&) const = default;
};
std::vector<_AUDIO_SOURCE> ThreeClips() {
  std::vector<_AUDIO_SOURCE> clips(3);
  const int lengths[] = {10000, 20000, 30000};
  int start = 0;
  for (int i = 0; i < 3; ++i) {
    clips[i].strPathName = std::string(1, static_cast<char>('A' + i)).c_str();
    clips[i].nSourceLength = lengths[i] * 2;
    clips[i].nTrimStart = 1000;
    clips[i].nTrimEnd = 1000 + lengths[i];
    clips[i].nStartPos = start;
    start += lengths[i];
  }
  return clips;
}
std::vector<Clip> Read(const CPtrList& list) {
  std::vector<Clip> out;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const auto* e = static_cast<const _AUDIO_SOURCE*>(list.GetNext(pos));
    out.push_back({e->strPathName.GetString(), e->GetClipLength(), e->nStartPos});
  }
  return out;
}


TEST(AlbumOptionsRules, MusicStartTimesOnRemoveMoveAndTrim) {
  using Op = bool (*)(std::vector<_AUDIO_SOURCE>&, CPtrList&);
  const struct {
    const char* what;
    Op op;
    bool changed;
    std::vector<Clip> after;
  } kCases[] = {
      {"remove the middle clip",
       [](std::vector<_AUDIO_SOURCE>& clips, CPtrList& list) {
         ShiftMusicAfter(list, 1, -clips[1].GetClipLength());
         list.RemoveAt(list.FindIndex(1));
         return true;
       },
       true, {{"A", 10000, 0}, {"C", 30000, 10000}}},
      {"remove the first clip",
       [](std::vector<_AUDIO_SOURCE>& clips, CPtrList& list) {
         ShiftMusicAfter(list, 0, -clips[0].GetClipLength());
         list.RemoveHead();
         return true;
       },
       true, {{"B", 20000, 0}, {"C", 30000, 20000}}},
      {"move the second clip up", [](auto&, CPtrList& list) { return MoveMusicEntryUp(list, 1) != FALSE; }, true,
       {{"B", 20000, 0}, {"A", 10000, 20000}, {"C", 30000, 30000}}},
      {"move the first clip down", [](auto&, CPtrList& list) { return MoveMusicEntryDown(list, 0) != FALSE; }, true,
       {{"B", 20000, 0}, {"A", 10000, 20000}, {"C", 30000, 30000}}},
      {"move the last clip up", [](auto&, CPtrList& list) { return MoveMusicEntryUp(list, 2) != FALSE; }, true,
       {{"A", 10000, 0}, {"C", 30000, 10000}, {"B", 20000, 40000}}},
      {"move the first clip up", [](auto&, CPtrList& list) { return MoveMusicEntryUp(list, 0) != FALSE; }, false,
       {{"A", 10000, 0}, {"B", 20000, 10000}, {"C", 30000, 30000}}},
      {"move the last clip down", [](auto&, CPtrList& list) { return MoveMusicEntryDown(list, 2) != FALSE; }, false,
       {{"A", 10000, 0}, {"B", 20000, 10000}, {"C", 30000, 30000}}},
      {"trim the first clip to 4 s",
       [](std::vector<_AUDIO_SOURCE>& clips, CPtrList& list) {
         const int before = clips[0].GetClipLength();
         clips[0].nTrimEnd = clips[0].nTrimStart + 4000;
         ShiftMusicAfter(list, 0, clips[0].GetClipLength() - before);
         return true;
       },
       true, {{"A", 4000, 0}, {"B", 20000, 4000}, {"C", 30000, 24000}}},
      {"lengthen the middle clip by 5 s",
       [](std::vector<_AUDIO_SOURCE>& clips, CPtrList& list) {
         clips[1].nTrimEnd += 5000;
         ShiftMusicAfter(list, 1, 5000);
         return true;
       },
       true, {{"A", 10000, 0}, {"B", 25000, 10000}, {"C", 30000, 35000}}},
  };
  for (const auto& c : kCases) {
    std::vector<_AUDIO_SOURCE> clips = ThreeClips();
    CPtrList list;
    for (_AUDIO_SOURCE& clip : clips) list.AddTail(&clip);
    EXPECT_EQ(c.op(clips, list), c.changed) << c.what;
    EXPECT_EQ(Read(list), c.after) << c.what;
  }
}

TEST(AlbumOptionsRules, StartsNeverGoBelowZero) {
  std::vector<_AUDIO_SOURCE> clips = ThreeClips();
  CPtrList list;
  for (_AUDIO_SOURCE& clip : clips) list.AddTail(&clip);
  ShiftMusicAfter(list, 0, -25000);
  EXPECT_EQ(Read(list), (std::vector<Clip>{{"A", 10000, 0}, {"B", 20000, 0}, {"C", 30000, 5000}}));
}

}  // namespace
