// The playback graph as the program drives it: interfaces and references, rendering a file,
// states, positions in 100-ns units, completion as an event, a message and a wait, video drawn
// into an owner window, volume.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/Utf8.h"
#include "platform/kernel/Wait.h"
#include "platform/media/FilterGraph.h"
#include "tests/platform/media/MediaFixtures.h"
#include "tests/platform/media/TestWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace media_test;

constexpr LONGLONG kSecond = 10'000'000;
constexpr long kGuardMs = 10000;  // a hang guard, never reached when things work
constexpr UINT kGraphMessage = WM_APP + 1;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kLime = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;

template <class T>
struct Ref {
  T* p = nullptr;
  ~Ref() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  void** Out() { return reinterpret_cast<void**>(&p); }
};

// A graph with its interfaces, optionally with a file rendered.
struct Graph {
  Ref<IGraphBuilder> builder;
  Ref<IMediaControl> control;
  Ref<IMediaSeeking> seeking;
  Ref<IMediaEventEx> events;
  Ref<IVideoWindow> video;
  Ref<IBasicAudio> audio;

  explicit Graph(const std::string& file = {}) {
    EXPECT_EQ(pictavo::media::CreateFilterGraph(IID_IGraphBuilder, builder.Out()), S_OK);
    builder->QueryInterface(IID_IMediaControl, control.Out());
    builder->QueryInterface(IID_IMediaSeeking, seeking.Out());
    builder->QueryInterface(IID_IMediaEventEx, events.Out());
    builder->QueryInterface(IID_IVideoWindow, video.Out());
    builder->QueryInterface(IID_IBasicAudio, audio.Out());
    if (!file.empty()) rendered = builder->RenderFile(pictavo::utf8::ToWide(file).c_str(), nullptr);
  }

  LONGLONG Position() const {
    LONGLONG p = -1;
    EXPECT_EQ(seeking->GetCurrentPosition(&p), S_OK);
    return p;
  }
  OAFilterState State() const {
    OAFilterState s = -1;
    EXPECT_EQ(control->GetState(10, &s), S_OK);
    return s;
  }
  void SeekTo(LONGLONG position) const {
    EXPECT_EQ(
        seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        S_OK);
  }

  HRESULT rendered = E_FAIL;
};

TEST(FilterGraph, OneObjectAnswersForEveryInterface) {
  Ref<IUnknown> unknown;
  ASSERT_EQ(pictavo::media::CreateFilterGraph(IID_IUnknown, unknown.Out()), S_OK);
  const IID iids[] = {IID_IGraphBuilder, IID_IMediaControl, IID_IMediaSeeking,
                      IID_IMediaEvent,   IID_IMediaEventEx, IID_IVideoWindow,
                      IID_IBasicVideo,   IID_IBasicAudio,   IID_IObjectWithSite};
  for (const IID& iid : iids) {
    Ref<IUnknown> asked;
    ASSERT_EQ(unknown->QueryInterface(iid, asked.Out()), S_OK);
    Ref<IUnknown> identity;
    ASSERT_EQ(asked->QueryInterface(IID_IUnknown, identity.Out()), S_OK);
    EXPECT_EQ(identity.p, unknown.p) << "every interface leads back to the same object";
  }
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(unknown->QueryInterface(CLSID_FilterGraph, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(unknown->AddRef(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(pictavo::media::CreateFilterGraph(IID_IUnknown, nullptr), E_POINTER);
}

TEST(FilterGraph, RenderFileReportsWhatWentWrong) {
  struct Case {
    const char* name;
    std::string path;
    HRESULT result;
  };
  const Case cases[] = {
      {"sound", ToneWav(), S_OK},
      {"video and sound", ColoursMp4(), S_OK},
      {"missing", FixtureFolder::Get() / "missing.wav", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"noise", WriteFile("noise.avi", std::string(5000, '\x7f')), VFW_E_INVALID_FILE_FORMAT},
  };
  for (const Case& c : cases) {
    Graph graph(c.path);
    EXPECT_EQ(graph.rendered, c.result) << c.name;
  }
  Graph graph(ToneWav());
  EXPECT_EQ(graph.builder->RenderFile(L"/another.wav", nullptr), VFW_E_WRONG_STATE) << "one file per graph";
  EXPECT_EQ(graph.builder->RenderFile(nullptr, nullptr), E_POINTER);
}

TEST(FilterGraph, AnEmptyGraphHasNothingToSeek) {
  Graph graph;
  LONGLONG value = 0;
  EXPECT_EQ(graph.seeking->GetDuration(&value), E_NOTIMPL);
  EXPECT_EQ(graph.seeking->GetCurrentPosition(&value), E_NOTIMPL);
  EXPECT_EQ(graph.seeking->SetPositions(&value, AM_SEEKING_AbsolutePositioning, nullptr, 0), E_NOTIMPL);
  long volume = 0;
  EXPECT_EQ(graph.audio->get_Volume(&volume), E_NOTIMPL);
  EXPECT_EQ(graph.video->put_Owner(0), E_NOINTERFACE);
}

TEST(FilterGraph, StatesFollowTheCommands) {
  Graph graph(ToneWav());
  ASSERT_EQ(graph.rendered, S_OK);
  struct Step {
    HRESULT (IMediaControl::*command)();
    OAFilterState state;
  };
  const Step steps[] = {
      {&IMediaControl::Pause, State_Paused},          {&IMediaControl::Run, State_Running},
      {&IMediaControl::Pause, State_Paused},          {&IMediaControl::Stop, State_Stopped},
      {&IMediaControl::Run, State_Running},           {&IMediaControl::StopWhenReady, State_Stopped},
      {&IMediaControl::StopWhenReady, State_Stopped}, {&IMediaControl::Stop, State_Stopped},
  };
  EXPECT_EQ(graph.State(), State_Stopped);
  for (const Step& step : steps) {
    EXPECT_EQ((graph.control.p->*step.command)(), S_OK);
    EXPECT_EQ(graph.State(), step.state);
  }
  EXPECT_EQ(graph.control->GetState(0, nullptr), E_POINTER);
}

TEST(FilterGraph, PositionsAreIn100NanosecondUnits) {
  Graph graph(ToneWav());
  ASSERT_EQ(graph.rendered, S_OK);
  LONGLONG duration = 0, stop = 0;
  ASSERT_EQ(graph.seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 2 * kSecond);
  ASSERT_EQ(graph.seeking->GetStopPosition(&stop), S_OK);
  EXPECT_EQ(stop, 2 * kSecond);
  EXPECT_EQ(graph.Position(), 0);

  struct Case {
    LONGLONG current;
    DWORD currentFlags;
    LONGLONG stop;
    DWORD stopFlags;
    LONGLONG expectCurrent, expectStop;
  };
  const Case cases[] = {
      {kSecond, AM_SEEKING_AbsolutePositioning, 0, AM_SEEKING_NoPositioning, kSecond, 2 * kSecond},
      {kSecond / 2, AM_SEEKING_RelativePositioning, 0, AM_SEEKING_NoPositioning, 3 * kSecond / 2,
       2 * kSecond},
      {0, AM_SEEKING_NoPositioning, 18 * kSecond / 10, AM_SEEKING_AbsolutePositioning, 3 * kSecond / 2,
       18 * kSecond / 10},
      {kSecond / 10, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, kSecond / 5,
       AM_SEEKING_IncrementalPositioning, kSecond / 10, 3 * kSecond / 10},
      {5 * kSecond, AM_SEEKING_AbsolutePositioning, 9 * kSecond, AM_SEEKING_AbsolutePositioning, 2 * kSecond,
       2 * kSecond},  // clamped to the duration
      {-kSecond, AM_SEEKING_AbsolutePositioning, kSecond, AM_SEEKING_AbsolutePositioning, 0, kSecond},
      {3 * kSecond / 2, AM_SEEKING_AbsolutePositioning, 0, AM_SEEKING_NoPositioning, kSecond,
       kSecond},  // to stop
  };
  for (const Case& c : cases) {
    LONGLONG current = c.current, stopAt = c.stop;
    ASSERT_EQ(graph.seeking->SetPositions(&current, c.currentFlags | AM_SEEKING_ReturnTime, &stopAt,
                                          c.stopFlags | AM_SEEKING_ReturnTime),
              S_OK);
    EXPECT_EQ(current, c.expectCurrent) << c.current;
    EXPECT_EQ(stopAt, c.expectStop) << c.stop;
    LONGLONG reported = 0, reportedStop = 0;
    ASSERT_EQ(graph.seeking->GetPositions(&reported, &reportedStop), S_OK);
    EXPECT_EQ(reported, c.expectCurrent);
    EXPECT_EQ(reportedStop, c.expectStop);
  }
  LONGLONG any = 0;
  EXPECT_EQ(graph.seeking->SetPositions(&any, AM_SEEKING_AbsolutePositioning, nullptr,
                                        AM_SEEKING_AbsolutePositioning),
            E_POINTER);

  GUID format{};
  EXPECT_EQ(graph.seeking->GetTimeFormat(&format), S_OK);
  EXPECT_TRUE(format == TIME_FORMAT_MEDIA_TIME);
  EXPECT_EQ(graph.seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME), S_OK);
  EXPECT_EQ(graph.seeking->SetTimeFormat(&CLSID_FilterGraph), E_INVALIDARG);
  EXPECT_EQ(graph.seeking->IsFormatSupported(&CLSID_FilterGraph), S_FALSE);
  DWORD capabilities = 0;
  EXPECT_EQ(graph.seeking->GetCapabilities(&capabilities), S_OK);
  EXPECT_TRUE(capabilities & AM_SEEKING_CanSeekAbsolute);
  EXPECT_TRUE(capabilities & AM_SEEKING_CanGetDuration);
}

TEST(FilterGraph, TheEndIsAnnouncedAsEcComplete) {
  TestWindow window(10, 10);
  Graph graph(ToneWav());
  ASSERT_EQ(graph.rendered, S_OK);
  ASSERT_EQ(graph.events->SetNotifyWindow(reinterpret_cast<OAHWND>(window.Handle()), kGraphMessage, 77),
            S_OK);
  OAEVENT handle = 0;
  ASSERT_EQ(graph.events->GetEventHandle(&handle), S_OK);
  long code = -1;
  EXPECT_EQ(graph.events->WaitForCompletion(0, &code), VFW_E_WRONG_STATE) << "not running";

  graph.SeekTo(3 * kSecond / 2);
  const auto start = Clock::now();
  ASSERT_EQ(graph.control->Run(), S_OK);
  ASSERT_EQ(graph.events->WaitForCompletion(kGuardMs, &code), S_OK);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(code, EC_COMPLETE);
  EXPECT_GE(elapsed, 500) << "the last half second was played";

  MSG msg{};
  ASSERT_TRUE(window.WaitForMessage(kGraphMessage, msg, kGuardMs));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(msg.lParam, 77);
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), WAIT_OBJECT_0) << "an event is waiting";
  LONG_PTR p1 = -1, p2 = -1;
  ASSERT_EQ(graph.events->GetEvent(&code, &p1, &p2, 0), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
  EXPECT_EQ(graph.events->FreeEventParams(code, p1, p2), S_OK);
  EXPECT_EQ(graph.events->GetEvent(&code, &p1, &p2, 0), E_ABORT) << "one end, one event";
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  EXPECT_EQ(graph.State(), State_Running) << "the graph runs on until it is stopped";
  EXPECT_EQ(graph.Position(), 2 * kSecond);

  // Stopped at the end and run again, it completes again at once; a seek plays a new end.
  graph.control->Stop();
  graph.control->Run();
  ASSERT_EQ(graph.events->GetEvent(&code, &p1, &p2, kGuardMs), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
  graph.SeekTo(19 * kSecond / 10);
  ASSERT_EQ(graph.events->GetEvent(&code, &p1, &p2, kGuardMs), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
}

TEST(FilterGraph, ThePositionRunsWithPlayingAndHoldsWhenPaused) {
  Graph graph(ToneWav());
  ASSERT_EQ(graph.rendered, S_OK);
  graph.SeekTo(kSecond);
  ASSERT_EQ(graph.control->Run(), S_OK);
  long code = 0;
  LONGLONG last = graph.Position();
  while (graph.Position() < 12 * kSecond / 10) {
    ASSERT_EQ(graph.events->WaitForCompletion(10, &code), E_ABORT);
    const LONGLONG now = graph.Position();
    EXPECT_GE(now, last);
    last = now;
  }
  ASSERT_EQ(graph.control->Pause(), S_OK);
  const LONGLONG held = graph.Position();
  OAEVENT handle = 0;
  graph.events->GetEventHandle(&handle);
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 100), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(graph.Position(), held);
  ASSERT_EQ(graph.control->Stop(), S_OK);
  EXPECT_EQ(graph.Position(), held) << "stopping keeps the position";
}

TEST(FilterGraph, VideoIsDrawnIntoTheOwnerWindow) {
  TestWindow window(200, 150);
  window.Fill(RGB(0, 0, 0));
  Graph graph(ColoursMp4());
  ASSERT_EQ(graph.rendered, S_OK);
  Ref<IBasicVideo> basic;
  ASSERT_EQ(graph.builder->QueryInterface(IID_IBasicVideo, basic.Out()), S_OK);
  long width = 0, height = 0;
  ASSERT_EQ(basic->GetVideoSize(&width, &height), S_OK);
  EXPECT_EQ(width, 160);
  EXPECT_EQ(height, 120);
  ASSERT_EQ(graph.video->put_Owner(reinterpret_cast<OAHWND>(window.Handle())), S_OK);
  ASSERT_EQ(graph.video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS), S_OK);
  ASSERT_EQ(graph.video->SetWindowPosition(20, 10, 80, 60), S_OK);
  long l = 0, t = 0, w = 0, h = 0;
  ASSERT_EQ(graph.video->GetWindowPosition(&l, &t, &w, &h), S_OK);
  EXPECT_EQ(l, 20);
  EXPECT_EQ(t, 10);
  EXPECT_EQ(w, 80);
  EXPECT_EQ(h, 60);

  auto expectColour = [&](uint32_t colour, const char* when) {
    const uint32_t inside = window.PixelAt(60, 40);
    for (int shift : {16, 8, 0})
      EXPECT_NEAR(static_cast<int>((inside >> shift) & 0xFF), static_cast<int>((colour >> shift) & 0xFF), 12)
          << when;
    EXPECT_EQ(window.PixelAt(10, 5), 0u) << when << ": outside the video's rectangle";
    EXPECT_EQ(window.PixelAt(101, 40), 0u) << when;
  };
  // Paused, every seek shows its frame before it returns.
  ASSERT_EQ(graph.control->Pause(), S_OK);
  expectColour(kRed, "paused at the start");
  const struct {
    LONGLONG position;
    uint32_t colour;
  } seeks[] = {{15 * kSecond / 10, kLime}, {25 * kSecond / 10, kBlue}, {kSecond / 2, kRed}};
  for (const auto& seek : seeks) {
    graph.SeekTo(seek.position);
    expectColour(seek.colour, "paused");
  }
  // Stopped, a seek shows nothing until StopWhenReady.
  ASSERT_EQ(graph.control->Stop(), S_OK);
  graph.SeekTo(26 * kSecond / 10);
  expectColour(kRed, "stopped");
  ASSERT_EQ(graph.control->StopWhenReady(), S_OK);
  expectColour(kBlue, "stopped when ready");
  EXPECT_EQ(graph.State(), State_Stopped);
  // Hidden, it is not drawn.
  ASSERT_EQ(graph.video->put_Visible(OAFALSE), S_OK);
  ASSERT_EQ(graph.control->Pause(), S_OK);
  graph.SeekTo(kSecond / 2);
  expectColour(kBlue, "hidden");
}

TEST(FilterGraph, VideoPlaysToTheEndOnTheClock) {
  TestWindow window(64, 48);
  window.Fill(RGB(0, 0, 0));
  Graph graph(SilentVideoMp4());
  ASSERT_EQ(graph.rendered, S_OK);
  long volume = 0;
  EXPECT_EQ(graph.audio->get_Volume(&volume), E_NOTIMPL) << "no sound in this file";
  ASSERT_EQ(graph.video->put_Owner(reinterpret_cast<OAHWND>(window.Handle())), S_OK);
  graph.SeekTo(15 * kSecond / 10);
  const auto start = Clock::now();
  ASSERT_EQ(graph.control->Run(), S_OK);
  long code = 0;
  ASSERT_EQ(graph.events->WaitForCompletion(kGuardMs, &code), S_OK);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(code, EC_COMPLETE);
  EXPECT_GE(elapsed, 500);
  EXPECT_EQ(graph.Position(), 2 * kSecond);
  const uint32_t last = window.PixelAt(32, 24);
  EXPECT_GT((last >> 8) & 0xFF, 200u) << "the last frame (lime) is on screen";
  EXPECT_LT((last >> 16) & 0xFF, 30u);
}

TEST(FilterGraph, VolumeIsInHundredthsOfADecibel) {
  Graph graph(ToneWav());
  ASSERT_EQ(graph.rendered, S_OK);
  struct Case {
    long volume;
    HRESULT result;
    long reads;
  };
  const Case cases[] = {{0, S_OK, 0},
                        {-10000, S_OK, -10000},
                        {-600, S_OK, -600},
                        {1, E_INVALIDARG, -600},
                        {-10001, E_INVALIDARG, -600}};
  for (const Case& c : cases) {
    EXPECT_EQ(graph.audio->put_Volume(c.volume), c.result) << c.volume;
    long volume = 1;
    ASSERT_EQ(graph.audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, c.reads) << c.volume;
  }
  EXPECT_EQ(graph.video->put_Owner(0), E_NOINTERFACE) << "no video in this file";
}

// A site that counts its references.
struct CountingSite : IUnknown {
  ULONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown) return E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST(FilterGraph, TheSiteIsHeldUntilReplaced) {
  CountingSite site;
  {
    Graph graph;
    Ref<IObjectWithSite> withSite;
    ASSERT_EQ(graph.builder->QueryInterface(IID_IObjectWithSite, withSite.Out()), S_OK);
    ASSERT_EQ(withSite->SetSite(&site), S_OK);
    EXPECT_EQ(site.references, 2u);
    Ref<IUnknown> back;
    ASSERT_EQ(withSite->GetSite(IID_IUnknown, back.Out()), S_OK);
    EXPECT_EQ(back.p, &site);
    back.p->Release();
    back.p = nullptr;
    ASSERT_EQ(withSite->SetSite(nullptr), S_OK);
    EXPECT_EQ(site.references, 1u);
    EXPECT_EQ(withSite->GetSite(IID_IUnknown, back.Out()), E_FAIL);
    ASSERT_EQ(withSite->SetSite(&site), S_OK);
  }
  EXPECT_EQ(site.references, 1u) << "the graph lets go of its site when it goes";
}

}  // namespace
