// The record dialog's file names and time text.
#include <gtest/gtest.h>

#include <string>

#include "editing/RecordSoundNames.h"
#include "tests/support/ScratchDir.h"

namespace {

using pictavo::test::ScratchDir;

std::string S(const CString& s) {
  return s.GetString();
}

TEST(RecordSoundNames, AutomaticNameSkipsTakenOnes) {
  ScratchDir dir;
  const CString folder = (dir.Path() + "/").c_str();
  EXPECT_EQ(S(record_names::AutomaticName(folder)), dir / "record_00001.wav");
  dir.Write("record_00001.wav", "x");
  EXPECT_EQ(S(record_names::AutomaticName(folder)), dir / "record_00002.wav");
  EXPECT_EQ(S(record_names::AutomaticName(dir.Path().c_str())), dir / "record_00002.wav");
}

TEST(RecordSoundNames, DefaultFolder) {
  EXPECT_EQ(S(record_names::DefaultFolder("", "/tmp/p")), "/tmp/p/Audio/");
  EXPECT_EQ(S(record_names::DefaultFolder("", "/tmp/p/")), "/tmp/p/Audio/");
  EXPECT_EQ(S(record_names::DefaultFolder("/home/u/rec", "/tmp/p")), "/home/u/rec/");
  EXPECT_EQ(S(record_names::DefaultFolder("/home/u/rec/", "/tmp/p")), "/home/u/rec/");
}

TEST(RecordSoundNames, TypedNamesBecomeWavFilesInAFolder) {
  struct Case {
    const char* typed;
    const char* folder;
    const char* path;
  };
  const Case kCases[] = {
      {"voice", "/tmp/p/Audio/", "/tmp/p/Audio/voice.wav"},
      {"  voice  ", "/tmp/p/Audio/", "/tmp/p/Audio/voice.wav"},
      {"take.WAV", "/tmp/p/Audio/", "/tmp/p/Audio/take.WAV"},
      {"voicewav", "/tmp/p/Audio/", "/tmp/p/Audio/voicewav.wav"},
      {"/home/u/rec/", "/home/u/rec/", ""},
      {"C:\\rec\\a?b", "C_\\rec\\", "C_\\rec\\a_b.wav"},
      {"/home/u/rec/a:b.mp3", "/home/u/rec/", "/home/u/rec/a_b.mp3.wav"},
      {"", "/tmp/p/Audio/", ""},
  };
  for (const Case& c : kCases) {
    const record_names::Output out = record_names::Resolve(c.typed, "/tmp/p");
    EXPECT_EQ(S(out.folder), c.folder) << c.typed;
    EXPECT_EQ(S(out.path), c.path) << c.typed;
  }
  EXPECT_TRUE(record_names::HasWavEnding("a.wav"));
  EXPECT_TRUE(record_names::HasWavEnding("A.WaV"));
  EXPECT_FALSE(record_names::HasWavEnding("voicewav"));
  EXPECT_FALSE(record_names::HasWavEnding("wav"));
}

TEST(RecordSoundNames, TimeText) {
  EXPECT_EQ(S(record_names::FormatTime(0)), "00:00:00.000");
  EXPECT_EQ(S(record_names::FormatTime(3723004)), "01:02:03.004");
  EXPECT_EQ(S(record_names::FormatTime(4200)), "00:00:04.200");
  EXPECT_EQ(record_names::Elapsed(1000, 5200), 4200u);
  EXPECT_EQ(record_names::Elapsed(0xFFFFFF00u, 0x100u), 0x1FFu);
}

}  // namespace
