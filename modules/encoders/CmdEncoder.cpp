#include "modules/encoders/CmdEncoder.h"

#include <algorithm>
#include <cctype>

#include "platform/kernel/Path.h"
#include "platform/user/Message.h"

namespace {

bool IsFfmpeg(std::string_view program) {
  std::string name(pictavo::path::FileName(program));
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name == "ffmpeg" || name == "ffmpeg.exe";
}

}  // namespace

CCmdEncoder::CCmdEncoder(_MEDIA_SOURCE* pSource) : m_pSource(pSource) {}

CCmdEncoder::~CCmdEncoder() {
  Shutdown();
}

void CCmdEncoder::SetProgressInfo(HWND hWnd, UINT nMessage) {
  std::lock_guard lock(m_progressLock);
  m_hWnd = hWnd;
  m_nMessage = nMessage;
}

void CCmdEncoder::SetProgressSink(std::function<void(const pictavo::encoders::Progress&)> sink) {
  std::lock_guard lock(m_progressLock);
  m_sink = std::move(sink);
}

pictavo::encoders::Progress CCmdEncoder::GetProgress() const {
  std::lock_guard lock(m_progressLock);
  return m_latest;
}

void CCmdEncoder::PrepareArguments(std::vector<std::string>& argv) {
  m_parser.Reset();
  {
    std::lock_guard lock(m_progressLock);
    m_latest = {};
  }
  m_readsProgress = IsFfmpeg(argv.front()) && std::find(argv.begin(), argv.end(), "-progress") == argv.end();
  if (!m_readsProgress) return;
  static const char* const kReportOptions[] = {"-hide_banner", "-nostdin", "-nostats", "-progress", "pipe:1"};
  argv.insert(argv.begin() + 1, std::begin(kReportOptions), std::end(kReportOptions));
}

void CCmdEncoder::OnStdoutLine(std::string_view line) {
  if (!m_readsProgress) {
    CRedirector::OnStdoutLine(line);
    return;
  }
  const std::optional<pictavo::encoders::Progress> report = m_parser.Feed(line);
  if (!report) return;
  HWND hWnd;
  UINT message;
  std::function<void(const pictavo::encoders::Progress&)> sink;
  {
    std::lock_guard lock(m_progressLock);
    m_latest = *report;
    hWnd = m_hWnd;
    message = m_nMessage;
    sink = m_sink;
  }
  if (hWnd)
    PostMessage(hWnd, message, static_cast<WPARAM>(report->frames), static_cast<LPARAM>(report->bytes));
  if (sink) sink(*report);
}
