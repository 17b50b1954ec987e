#include "modules/log/Log.h"

#include "platform/kernel/Process.h"
#include "platform/kernel/Wait.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace pictavo::log {
namespace {

// Beyond this many queued lines a stalled disk costs lines, never the caller's time.
constexpr size_t kMaxQueued = 20000;

class LogWriter {
 public:
  static LogWriter& Instance() {
    static LogWriter writer;
    return writer;
  }

  ~LogWriter() {
    {
      std::lock_guard lock(m_lock);
      m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
  }

  bool Open(std::string path) {
    for (char& c : path)
      if (c == '\\') c = '/';
    FILE* file = std::fopen(path.c_str(), "ab");
    std::lock_guard lock(m_lock);
    m_path = std::move(path);
    if (!file) return false;
    if (m_file) std::fclose(m_file);
    m_file = file;
    StartLocked();
    m_wake.notify_all();
    return true;
  }

  void Add(const char* kind, const char* format, va_list args) {
    char text[2048];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(text, sizeof text, format ? format : "", copy);
    va_end(copy);
    std::string body;
    if (n >= static_cast<int>(sizeof text)) {
      body.resize(n + 1);
      std::vsnprintf(body.data(), body.size(), format, args);
      body.resize(n);
    } else if (n > 0) {
      body.assign(text, n);
    }
    // One line per call: the caller's own line ends are not doubled.
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();

    std::string line = Stamp();
    line += kind;
    line += body;
    line += '\n';

    std::lock_guard lock(m_lock);
    if (m_queue.size() >= kMaxQueued) {
      ++m_dropped;
      return;
    }
    m_queue.push_back(std::move(line));
    ++m_addedTotal;
    StartLocked();
    m_wake.notify_one();
  }

  void Flush() {
    std::unique_lock lock(m_lock);
    if (!m_file) return;  // nothing can be written before the log is open
    const uint64_t target = m_addedTotal;
    m_wake.notify_all();
    m_flushed.wait(lock, [&] { return m_writtenTotal >= target || !m_file; });
  }

  std::string Path() {
    std::lock_guard lock(m_lock);
    return m_path;
  }

 private:
  static std::string Stamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    return buf;
  }

  void StartLocked() {
    if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
  }

  void Run() {
    std::unique_lock lock(m_lock);
    for (;;) {
      m_wake.wait(lock, [&] { return m_stopping || (m_file && (!m_queue.empty() || m_dropped)); });
      if (m_file && (!m_queue.empty() || m_dropped)) {
        std::deque<std::string> batch;
        batch.swap(m_queue);
        const uint64_t dropped = m_dropped;
        m_dropped = 0;
        FILE* file = m_file;
        lock.unlock();
        for (const auto& line : batch) std::fwrite(line.data(), 1, line.size(), file);
        if (dropped)
          std::fprintf(file, "%s(%llu log lines dropped: the disk was too slow)\n", Stamp().c_str(),
                       static_cast<unsigned long long>(dropped));
        std::fflush(file);
        lock.lock();
        m_writtenTotal += batch.size();
        m_flushed.notify_all();
        continue;
      }
      if (m_stopping) break;
    }
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    m_flushed.notify_all();
  }

  std::mutex m_lock;
  std::condition_variable m_wake;
  std::condition_variable m_flushed;
  std::deque<std::string> m_queue;  // guarded by m_lock
  uint64_t m_addedTotal = 0;        // lines ever queued; guarded by m_lock
  uint64_t m_writtenTotal = 0;      // lines ever written; guarded by m_lock
  uint64_t m_dropped = 0;           // guarded by m_lock
  FILE* m_file = nullptr;           // guarded by m_lock; written only by the log thread once open
  std::string m_path;               // guarded by m_lock
  bool m_stopping = false;          // guarded by m_lock
  std::thread m_thread;
};

}  // namespace

void Flush() {
  LogWriter::Instance().Flush();
}

namespace {
std::mutex g_viewerLock;
std::string g_viewer = "xdg-open";  // guarded by g_viewerLock
}  // namespace

void SetViewerProgram(const char* program) {
  std::lock_guard lock(g_viewerLock);
  g_viewer = program && *program ? program : "xdg-open";
}

const char* CurrentPath() {
  thread_local std::string path;
  path = LogWriter::Instance().Path();
  return path.c_str();
}

}  // namespace pictavo::log

BOOL OpenLogFile(LPCSTR path) {
  if (!path || !*path) return FALSE;
  return pictavo::log::LogWriter::Instance().Open(path) ? TRUE : FALSE;
}

void WriteLog(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  pictavo::log::LogWriter::Instance().Add("", format, args);
  va_end(args);
}

void WriteErrorLog(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  pictavo::log::LogWriter::Instance().Add("ERROR: ", format, args);
  va_end(args);
}

BOOL ShowLogFile() {
  const std::string path = pictavo::log::LogWriter::Instance().Path();
  if (path.empty()) return FALSE;
  pictavo::log::Flush();
  std::string viewer;
  {
    std::lock_guard lock(pictavo::log::g_viewerLock);
    viewer = pictavo::log::g_viewer;
  }
  // The viewer runs on its own; nobody waits for it.
  auto started = pictavo::kernel::StartProcess({viewer, path});
  if (!started) return FALSE;
  CloseHandle(started->hThread);
  CloseHandle(started->hProcess);
  return TRUE;
}
