// The trim and record dialogs on the headless display, run modally as their callers run them and
// driven by the steps each test gives for the windows that open.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editing/RecordSoundDlg.h"
#include "editing/TrimAudioDlg.h"
#include "modules/data/AudioSource.h"
#include "modules/data/DVDProject.h"
#include "modules/sound/RecordSound.h"
#include "modules/sound/WaveFileWriter.h"
#include "platform/mfc/WinThread.h"
#include "platform/user/MessageBox.h"
#include "shell/ARRegistry.h"
#include "tests/editing/TimelineFixture.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace timelinetest {
namespace {

using pictavo::test::PumpPending;
using pictavo::test::PumpUntil;
using pictavo::test::ReadWholeFile;
using pictavo::test::SaveDesktopArea;
using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

// What to do with a window whose caption starts with `caption`: steps, then the answer.
struct Modal {
  std::string caption;
  std::function<void(HWND)> steps;
  WPARAM answer = IDOK;
};
std::vector<Modal> g_modals;
std::vector<std::string> g_seen;  // captions, and the texts of message boxes
HHOOK g_modalHook = nullptr;

std::vector<std::pair<HWND, Modal>> g_pending;  // opened, waiting for their turn in their loop

// The steps run from a timer of the window's own modal loop, once the window shows.
void CALLBACK RunPending(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  for (auto it = g_pending.begin(); it != g_pending.end(); ++it) {
    if (it->first != window) continue;
    const Modal modal = it->second;
    g_pending.erase(it);
    UpdateWindow(window);
    if (modal.steps) modal.steps(window);
    PostMessage(window, WM_COMMAND, modal.answer, 0);
    return;
  }
}

LRESULT CALLBACK RunModals(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char caption[512] = {}, text[512] = {};
    GetWindowText(window, caption, sizeof caption);
    GetWindowText(GetDlgItem(window, pictavo::user::kMessageBoxTextId), text, sizeof text);
    const bool known =
        std::any_of(g_pending.begin(), g_pending.end(), [&](const auto& p) { return p.first == window; });
    if (caption[0] != '\0' && !known) {
      g_seen.emplace_back(text[0] != '\0' ? text : caption);
      for (auto it = g_modals.begin(); it != g_modals.end(); ++it) {
        if (std::string(caption).rfind(it->caption, 0) != 0) continue;
        g_pending.emplace_back(window, *it);
        g_modals.erase(it);
        SetTimer(window, 0x5D, 0, RunPending);
        break;
      }
    }
  }
  return CallNextHookEx(g_modalHook, code, wParam, lParam);
}

bool HasVisibleStyle(HWND dialog, int id) {
  return (GetWindowLong(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Click(HWND dialog, int id) {
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
              reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string Snapshot(HWND window, const std::string& name) {
  RECT r{};
  GetWindowRect(window, &r);
  return SaveDesktopArea(r, name);
}

class SoundDialogTest : public TimelineTest {
 protected:
  void SetUp() override {
    TimelineTest::SetUp();
    UnhookWindowsHookEx(g_hook);  // this suite answers its windows itself
    g_hook = SetWindowsHookEx(WH_CBT, RunModals, nullptr, GetCurrentThreadId());
    g_modalHook = g_hook;
    g_modals.clear();
    g_pending.clear();
    g_seen.clear();
  }
  _AUDIO_SOURCE Music(int length, int trimStart, int trimEnd) {
    _AUDIO_SOURCE s;
    s.strPathName = Source("samples/media/music.mp3").c_str();
    s.nSourceLength = length;
    s.nTrimStart = trimStart;
    s.nTrimEnd = trimEnd;
    return s;
  }
};

TEST_F(SoundDialogTest, TrimOpensAtTheTrimStartAndSetsPointsFromTheBar) {
  _AUDIO_SOURCE clip = Music(200000, 50000, 150000);
  CTrimAudioDlg dialog(&clip, FALSE, &m_page);
  unsigned opened = 0;
  CString time;
  g_modals.push_back({"Trim Audio - ", [&](HWND window) {
                        opened = dialog.GetBarPos();
                        time = dialog.GetTimeText();
                        EXPECT_FALSE(Snapshot(window, "trim-audio-dialog.png").empty());
                        dialog.ClickBar(33);
                        dialog.SendMessage(WM_TRIM_BUTTON, CTrimAudioDlg::kSetStart, 0);
                      }});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(opened, 25u);
  EXPECT_STREQ(time.GetString(), "00:50.00");
  EXPECT_EQ(clip.nTrimStart, 66000);
  EXPECT_EQ(clip.nTrimEnd, 150000);  // written although only the start changed
}

TEST_F(SoundDialogTest, TrimPointsMoveEachOtherAndTheButtonsGoFurther) {
  struct Case {
    const char* name;
    int length, trimStart, trimEnd;
    std::vector<std::pair<unsigned, int>> steps;  // bar position, then a button
    std::vector<unsigned> bars;                   // the bar after each step
    int wantStart, wantEnd;
  };
  using B = CTrimAudioDlg::Button;
  const Case kCases[] = {
      {"start twice",
       200000,
       50000,
       150000,
       {{60, B::kGoToStart}, {999, B::kGoToStart}},
       {25, 0},
       50000,
       150000},
      {"end twice", 200000, 50000, 150000, {{10, B::kGoToEnd}, {999, B::kGoToEnd}}, {75, 100}, 50000, 150000},
      {"ten minutes", 600000, 0, 500000, {{90, B::kSetEnd}}, {0}, 0, 540000},
      {"start past the end", 200000, 10000, 20000, {{50, B::kSetStart}}, {50}, 100000, 200000},
      {"end before the start", 200000, 100000, 150000, {{20, B::kSetEnd}}, {0}, 0, 40000},
      {"negative points open as 0 and the length", 200000, -1, -1, {}, {}, 0, 200000},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    _AUDIO_SOURCE clip = Music(c.length, c.trimStart, c.trimEnd);
    CTrimAudioDlg dialog(&clip, FALSE, &m_page);
    std::vector<unsigned> bars;
    g_modals.push_back({"Trim Audio - ", [&](HWND) {
                          for (const auto& [bar, button] : c.steps) {
                            if (bar <= 100) dialog.ClickBar(bar);
                            dialog.SendMessage(WM_TRIM_BUTTON, button, 0);
                            bars.push_back(dialog.GetBarPos());
                          }
                        }});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(bars, c.bars);
    EXPECT_EQ(clip.nTrimStart, c.wantStart);
    EXPECT_EQ(clip.nTrimEnd, c.wantEnd);
  }
}

TEST_F(SoundDialogTest, TrimCancelKeepsTheRecordAndAZeroLengthIsRefused) {
  _AUDIO_SOURCE clip = Music(200000, 50000, 150000);
  {
    CTrimAudioDlg dialog(&clip, FALSE, &m_page);
    g_modals.push_back({"Trim Audio - ",
                        [&](HWND) {
                          dialog.ClickBar(10);
                          dialog.SendMessage(WM_TRIM_BUTTON, CTrimAudioDlg::kSetStart, 0);
                        },
                        IDCANCEL});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(clip, Music(200000, 50000, 150000));
  }
  _AUDIO_SOURCE empty = Music(0, 0, 0);
  CTrimAudioDlg dialog(&empty, FALSE, &m_page);
  g_modals.push_back({"", nullptr, IDOK});  // the message box
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(
      std::count_if(g_seen.begin(), g_seen.end(),
                    [](const std::string& s) { return s.find("cannot be trimmed") != std::string::npos; }),
      1)
      << testing::PrintToString(g_seen);
  EXPECT_EQ(empty, Music(0, 0, 0));
}

TEST_F(SoundDialogTest, PlayingStopsAtTheTrimEndAndRewindsToTheTrimStart) {
  _AUDIO_SOURCE clip = Music(20000, 1000, 1400);
  CTrimAudioDlg dialog(&clip, TRUE, &m_page);  // plays at once
  bool stopped = false;
  CString time;
  g_modals.push_back({"Trim Audio - ", [&](HWND) {
                        PumpUntil([&] { return dialog.GetPlayState() == CTrimAudioDlg::kRunning; });
                        stopped = PumpUntil([&] { return dialog.GetPlayState() == CTrimAudioDlg::kStopped; },
                                            20000);
                        time = dialog.GetTimeText();
                      }});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(stopped);
  EXPECT_STREQ(time.GetString(), "00:01.00");
}

// A scratch folder for the recordings and the settings, and SDL's disk driver recording from a
// file of known samples.
class RecordDialogTest : public SoundDialogTest {
 protected:
  void SetUp() override {
    SoundDialogTest::SetUp();
    m_input.assign(2 * 44100 * 2 * 2, '\0');
    for (size_t i = 0; i < m_input.size(); ++i) m_input[i] = static_cast<char>(i * 31 % 251);
    m_mic = m_dir.Write("mic.raw", m_input);
    GetProject()->Put_strTempFilePathBase(m_dir.Path().c_str());
  }
  void TearDown() override {
    GetProject()->Put_strTempFilePathBase("");
    SoundDialogTest::TearDown();
  }
  // Start, a quarter of a second of sound, Stop.
  std::function<void(HWND)> RecordOnce() {
    return [](HWND dialog) {
      Click(dialog, IDC_RECORD_START);
      EXPECT_TRUE(CRecordSound::WaitForRecordedFrames(11025, 20000));
      Click(dialog, IDC_RECORD_STOP);
    };
  }
  std::string Typed(HWND dialog, const std::string& text) {
    SetDlgItemText(dialog, IDC_RECORD_OUTPUT, text.c_str());
    return text;
  }

  ScratchDir m_dir;
  std::string m_input, m_mic;
  ScopedEnv m_config{"XDG_CONFIG_HOME", (m_dir.Path() + "/config").c_str()};
  ScopedEnv m_driver{"SDL_AUDIODRIVER", "disk"};
  ScopedEnv m_out{"SDL_DISKAUDIOFILE", "/dev/null"};
  ScopedEnv m_in{"SDL_DISKAUDIOFILEIN", nullptr};
};

TEST_F(RecordDialogTest, RecordsTheInputIntoTheFirstFreeNameAndListsIt) {
  ScopedEnv in("SDL_DISKAUDIOFILEIN", m_mic.c_str());
  m_dir.Write("Audio/record_00001.wav", "taken");
  CRecordSoundDlg dialog(&m_page);
  CString proposed;
  g_modals.push_back({"Record Sound", [&](HWND window) {
                        proposed = dialog.m_strLastRecorded;
                        char text[512] = {};
                        GetDlgItemText(window, IDC_RECORD_OUTPUT, text, sizeof text);
                        proposed = text;
                        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_RECORD_START)));
                        EXPECT_FALSE(HasVisibleStyle(window, IDC_RECORD_NO_DEVICE));
                        EXPECT_FALSE(Snapshot(window, "record-sound-dialog.png").empty());
                        RecordOnce()(window);
                        RecordOnce()(window);  // the same file again: listed once
                      }});
  g_modals.push_back({"", nullptr, IDYES});  // overwrite the first take
  EXPECT_EQ(dialog.DoModal(), IDOK);
  const std::string path = m_dir / "Audio/record_00002.wav";
  EXPECT_EQ(std::string(proposed.GetString()), path);
  ASSERT_EQ(dialog.m_arrRecorded.GetSize(), 1);
  EXPECT_EQ(std::string(dialog.m_arrRecorded[0].GetString()), path);
  EXPECT_EQ(std::string(dialog.GetRecordedPath().GetString()), path);
  const std::string wav = ReadWholeFile(path);
  ASSERT_GT(wav.size(), 44u + 11025u * 4u);
  EXPECT_EQ(wav.substr(0, 44),
            pictavo::sound::WaveFileWriter::Header({44100, 2}, static_cast<uint32_t>(wav.size() - 44)));
  EXPECT_EQ(wav.substr(44), m_input.substr(0, wav.size() - 44));
  EXPECT_EQ(ReadWholeFile(m_dir / "Audio/record_00001.wav"), "taken");
  // The folder is offered again next time.
  EXPECT_EQ(std::string(ReadGeneralString("RecordSoundPath").GetString()), m_dir / "Audio/");
}

TEST_F(RecordDialogTest, TypedNamesAndTheOverwriteQuestion) {
  ScopedEnv in("SDL_DISKAUDIOFILEIN", m_mic.c_str());
  m_dir.Write("rec/voice.wav", "old voice");
  struct Case {
    const char* name;
    std::string typed;
    WPARAM overwrite;  // 0: no question
    std::string recorded;
  };
  const Case kCases[] = {
      {"a bare name goes to the Audio folder", "voice", 0, m_dir / "Audio/voice.wav"},
      {".WAV keeps its ending", m_dir / "rec/Take.WAV", 0, m_dir / "rec/Take.WAV"},
      {"a folder alone gets the first free name, and is made", m_dir / "new/", 0,
       m_dir / "new/record_00001.wav"},
      {"No to overwriting takes the next free name", m_dir / "rec/voice", IDNO,
       m_dir / "rec/record_00001.wav"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    CRecordSoundDlg dialog(&m_page);
    g_modals.push_back({"Record Sound", [&](HWND window) {
                          Typed(window, c.typed);
                          RecordOnce()(window);
                        }});
    if (c.overwrite != 0) g_modals.push_back({"", nullptr, c.overwrite});
    g_seen.clear();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(dialog.m_arrRecorded.GetSize(), 1);
    EXPECT_EQ(std::string(dialog.m_arrRecorded[0].GetString()), c.recorded);
    EXPECT_GT(ReadWholeFile(c.recorded).size(), 44u);
  }
  EXPECT_EQ(ReadWholeFile(m_dir / "rec/voice.wav"), "old voice");
}

TEST_F(RecordDialogTest, AFailedRecordingIsSaidAndNotListed) {
  ScopedEnv in("SDL_DISKAUDIOFILEIN", m_mic.c_str());
  const std::string blocker = m_dir.Write("file", "not a folder");
  CRecordSoundDlg dialog(&m_page);
  g_modals.push_back({"Record Sound", [&](HWND window) {
                        Typed(window, blocker + "/sub/voice");
                        Click(window, IDC_RECORD_START);
                        Click(window, IDC_RECORD_STOP);
                      }});
  g_modals.push_back({"", nullptr, IDOK});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_arrRecorded.GetSize(), 0);
  EXPECT_TRUE(dialog.GetRecordedPath().IsEmpty());
  ASSERT_GE(g_seen.size(), 2u);
  EXPECT_NE(g_seen[1].find("was not recorded"), std::string::npos) << g_seen[1];
}

TEST_F(RecordDialogTest, WithoutADeviceTheDialogSaysSoAndStartStaysDisabled) {
  ScopedEnv dummy("SDL_AUDIODRIVER", "dummy");
  CRecordSoundDlg dialog(&m_page);
  bool startEnabled = true, noteShown = false;
  g_modals.push_back({"Record Sound", [&](HWND window) {
                        startEnabled = IsWindowEnabled(GetDlgItem(window, IDC_RECORD_START));
                        noteShown = HasVisibleStyle(window, IDC_RECORD_NO_DEVICE);
                        EXPECT_FALSE(Snapshot(window, "record-sound-no-device.png").empty());
                        Click(window, IDC_RECORD_START);  // refused: nothing happens
                      }});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(startEnabled);
  EXPECT_TRUE(noteShown);
  EXPECT_EQ(dialog.m_arrRecorded.GetSize(), 0);
}

TEST_F(RecordDialogTest, MinimizingHidesTheDialogWithTheMainWindow) {
  ScopedEnv dummy("SDL_AUDIODRIVER", "dummy");
  CWinThread thread;
  thread.m_pMainWnd = &m_owner;
  pictavo::mfc::SetCurrentWinThread(&thread);
  CRecordSoundDlg dialog(&m_page);
  bool hidden = true, ownerIconic = false, shownAgain = false, ownerRestored = false;
  g_modals.push_back({"Record Sound", [&](HWND window) {
                        SendMessage(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                        hidden = !IsWindowVisible(window) || IsIconic(window);
                        ownerIconic = IsIconic(m_owner.m_hWnd);
                        SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, 0);
                        shownAgain = IsWindowVisible(window) && !IsIconic(window);
                        ownerRestored = !IsIconic(m_owner.m_hWnd);
                      }});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  pictavo::mfc::SetCurrentWinThread(nullptr);
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(ownerIconic);
  EXPECT_TRUE(shownAgain);
  EXPECT_TRUE(ownerRestored);
}

}  // namespace
}  // namespace timelinetest
