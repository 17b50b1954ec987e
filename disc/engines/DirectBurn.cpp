#include "disc/engines/DirectBurn.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "disc/engines/DiscJobState.h"
#include "disc/engines/ImageSink.h"
#include "disc/engines/Mode2Sector.h"
#include "modules/burn/BurnEngine.h"
#include "modules/log/Log.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"

namespace {

constexpr size_t kBlockBytes = size_t(kBurnBlockSectors) * kRawSectorBytes;
constexpr int kPipeBytes = 10485760;
constexpr char kSupportAddress[] = "support@pictavo.example";

struct _tagBurnBlock {
  uint8_t kind;  // 1 data, 2 last data, 3 end of stream
  uint32_t length;
  std::vector<uint8_t> data;
};

struct BurnState {
  std::mutex lock;  // guards queue
  std::condition_variable changed;
  std::deque<std::unique_ptr<_tagBurnBlock>> queue;
  // Producer only.
  std::unique_ptr<_tagBurnBlock> filling;
  int filled = 0;
  uint32_t address = 150;
  bool raw = false;
  int readEnd = -1, writeEnd = -1;
  std::thread consumer;
  // Set by the consumer when it ends, by the producer to abort.
  std::atomic<bool> consumerEnded{false};
  std::atomic<bool> abort{false};
  bool finished = false;  // the disc was closed; read after joining the consumer
};

BurnState& State() {
  static BurnState state;
  return state;
}

void Post(VideoCDJob* job, unsigned message, WPARAM w = 0, LPARAM l = 0) {
  if (job && job->window) PostMessage(job->window, message, w, l);
}

void PostFailed(VideoCDJob* job, const std::string& text) {
  WriteErrorLog("Direct burning: %s", text.c_str());
  char* message = static_cast<char*>(std::calloc(1024, 1));
  if (!message) return;
  std::strncpy(message, text.c_str(), 1023);
  if (!job || !job->window || !PostMessage(job->window, WM_BURN_FAILED, reinterpret_cast<WPARAM>(message), 0))
    std::free(message);
}

bool Stopped(VideoCDJob* job) {
  return State().abort || (job && job->stopEvent && WaitForSingleObject(job->stopEvent, 0) == WAIT_OBJECT_0);
}

void NewBlock(BurnState& s) {
  s.filling = std::make_unique<_tagBurnBlock>();
  s.filling->data.resize(kBlockBytes);
  s.filled = 0;
}

// Waits for room in the queue; false when the consumer has ended.
bool Append(BurnState& s, std::unique_ptr<_tagBurnBlock> block, bool waitForRoom) {
  std::unique_lock<std::mutex> hold(s.lock);
  while (waitForRoom && s.queue.size() >= kBurnQueueLimit && !s.consumerEnded)
    s.changed.wait_for(hold, std::chrono::seconds(1));
  if (s.consumerEnded) return false;
  s.queue.push_back(std::move(block));
  s.changed.notify_all();
  return true;
}

void ClosePipe(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

bool IsRawBurnMode() {
  return g_pActiveBurnEngine && !g_bNeroEngineInUse && g_pActiveBurnEngine->IsCDWritingRawMode();
}

void BeginBurnStream() {
  BurnState& s = State();
  if (s.consumer.joinable()) s.consumer.join();
  s.queue.clear();
  s.address = 150;
  s.consumerEnded = false;
  s.abort = false;
  s.finished = false;
  s.raw = IsRawBurnMode();
  NewBlock(s);
  ClosePipe(s.readEnd);
  ClosePipe(s.writeEnd);
  if (!s.raw) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) == 0) {
      ::fcntl(fds[1], F_SETPIPE_SZ, kPipeBytes);
      s.readEnd = fds[0];
      s.writeEnd = fds[1];
    }
  }
}

void StartDirectBurn(VideoCDJob* job) {
  BurnState& s = State();
  if (s.consumer.joinable()) s.consumer.join();
  s.consumer = std::thread([job] { DirectBurnThread(job); });
}

bool HandSectorToBurner(const uint8_t* sector) {
  BurnState& s = State();
  if (s.consumerEnded) return false;
  if (!s.raw) {
    // The consumer keeps its end open until the producer is done, so a write never meets a
    // closed pipe; a consumer that has ended is seen while waiting for room.
    size_t done = 0;
    while (done < kRawSectorBytes) {
      if (s.consumerEnded || s.writeEnd < 0) return false;
      pollfd room{s.writeEnd, POLLOUT, 0};
      if (::poll(&room, 1, 200) <= 0) continue;
      const ssize_t n = ::write(s.writeEnd, sector + done, kRawSectorBytes - done);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) return false;
      done += size_t(n);
    }
    return true;
  }
  uint8_t* out = s.filling->data.data() + size_t(s.filled) * kRawSectorBytes;
  std::memcpy(out, sector, kRawSectorBytes);
  AddressToBcd(s.address, out + 12);
  ScrambleSector(out);
  ++s.address;
  if (++s.filled == kBurnBlockSectors) {
    s.filling->kind = 1;
    s.filling->length = uint32_t(kBlockBytes);
    if (!Append(s, std::move(s.filling), true)) return false;
    NewBlock(s);
  }
  return true;
}

bool EndBurnStream() {
  BurnState& s = State();
  if (s.raw) {
    s.filling->kind = 2;
    s.filling->length = uint32_t(s.filled) * kRawSectorBytes;
    if (Append(s, std::move(s.filling), true)) {
      auto end = std::make_unique<_tagBurnBlock>();
      end->kind = 3;
      end->length = 0;
      Append(s, std::move(end), false);
    }
    NewBlock(s);
  } else {
    ClosePipe(s.writeEnd);
  }
  if (s.consumer.joinable()) s.consumer.join();
  ClosePipe(s.readEnd);
  return s.finished;
}

void AbortBurnStream() {
  BurnState& s = State();
  s.abort = true;
  s.changed.notify_all();
  ClosePipe(s.writeEnd);
  if (s.consumer.joinable()) s.consumer.join();
  ClosePipe(s.readEnd);
}

unsigned DirectBurnThread(VideoCDJob* job) {
  BurnState& s = State();
  CBurnEngine* engine = g_pActiveBurnEngine;
  char text[1024] = {};
  const auto end = [&](unsigned rc) {
    {
      std::lock_guard<std::mutex> hold(s.lock);
      s.consumerEnded = true;
      s.queue.clear();
      s.changed.notify_all();
    }
    s.finished = rc == 0;
    return rc;
  };
  if (!engine) {
    PostFailed(job, std::string("Init CD burning error,please contact ") + kSupportAddress);
    return end(1);
  }
  engine->SetCueSheet(g_rawCueSheet, g_nRawCueSheetLength);
  bool started = false;
  for (int mode = 1; mode <= 2 && !started && !Stopped(job); ++mode) {
    engine->SetCDWritingMode(mode);
    Post(job, WM_BURN_INIT);
    if (engine->InitDAO(nullptr, text, job ? job->stopEvent : nullptr)) {
      Post(job, WM_BURN_LEADIN);
      started = engine->StartDAO(job ? job->window : nullptr, text, job ? job->stopEvent : nullptr);
    }
  }
  if (!started) {
    if (!Stopped(job))
      PostFailed(job, std::string("Init CD burning error,please contact ") + kSupportAddress);
    return end(1);
  }
  HANDLE stop = job ? job->stopEvent : nullptr;
  uint32_t written = 0;
  const auto write = [&](const uint8_t* data, uint32_t bytes) {
    if (!engine->WriteData(written, data, bytes, stop)) {
      if (!Stopped(job))
        PostFailed(job, "Writing to the CD recorder failed at sector " + std::to_string(written) + ".");
      engine->AbortDAO();
      return false;
    }
    written += bytes / kRawSectorBytes;
    Post(job, WM_BURN_PROGRESS, written, job ? job->totalSectors : 0);
    return true;
  };
  const auto finish = [&] {
    engine->SetLeadoutStart(written);
    Post(job, WM_BURN_LEADOUT);
    if (!engine->FinishDAO(job ? job->window : nullptr, text, stop)) {
      PostFailed(job, std::string("Closing the CD failed: ") + text);
      return end(1);
    }
    Post(job, WM_BURN_FINISHED);
    return end(0);
  };
  if (s.raw) {
    for (;;) {
      std::unique_ptr<_tagBurnBlock> block;
      {
        std::unique_lock<std::mutex> hold(s.lock);
        s.changed.wait_for(hold, std::chrono::milliseconds(200),
                           [&] { return !s.queue.empty() || Stopped(job); });
        if (Stopped(job)) {
          engine->AbortDAO();
          hold.unlock();
          return end(1);
        }
        if (s.queue.empty()) continue;
        block = std::move(s.queue.front());
        s.queue.pop_front();
        s.changed.notify_all();
      }
      if (block->kind == 3) return finish();
      for (uint32_t at = 0; at < block->length; at += kBlockBytes) {
        const uint32_t bytes = std::min<uint32_t>(uint32_t(kBlockBytes), block->length - at);
        if (!write(block->data.data() + at, bytes)) return end(1);
      }
    }
  }
  std::vector<uint8_t> buffer(kBlockBytes);
  size_t have = 0;
  for (;;) {
    if (Stopped(job)) {
      engine->AbortDAO();
      return end(1);
    }
    pollfd wait{s.readEnd, POLLIN, 0};
    if (::poll(&wait, 1, 200) == 0) continue;
    const ssize_t n = ::read(s.readEnd, buffer.data() + have, buffer.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    have += size_t(n);
    if (have == buffer.size()) {
      if (!write(buffer.data(), uint32_t(have))) return end(1);
      have = 0;
    }
  }
  if (Stopped(job)) {
    engine->AbortDAO();
    return end(1);
  }
  const uint32_t whole = uint32_t(have / kRawSectorBytes * kRawSectorBytes);
  if (whole && !write(buffer.data(), whole)) return end(1);
  return finish();
}
