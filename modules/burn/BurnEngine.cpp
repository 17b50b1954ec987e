#include "modules/burn/BurnEngine.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "modules/burn/CdrdaoRecorder.h"
#include "modules/log/Log.h"
#include "platform/kernel/Wait.h"

using pictavo::burn::Recorder;

namespace {

constexpr size_t kTextBytes = 1024;

void PutText(char* text, const std::string& message) {
  if (!text) return;
  std::strncpy(text, message.c_str(), kTextBytes - 1);
  text[kTextBytes - 1] = '\0';
}

bool Stopped(HANDLE stopEvent) {
  return stopEvent && WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
}

// cdrdao from PATH, unless PICTAVO_CDRDAO names another program.
std::string CdrdaoProgram() {
  const char* named = std::getenv("PICTAVO_CDRDAO");
  if (named && *named) return named;
  for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
    std::string path = std::string(folder) + "/cdrdao";
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

}  // namespace

CBurnEngine::CBurnEngine() = default;
CBurnEngine::~CBurnEngine() = default;

BOOL CBurnEngine::Initialize(int driverMode) {
  const std::string program = CdrdaoProgram();
  std::vector<std::unique_ptr<Recorder>> found;
  if (!program.empty())
    for (const std::string& drive : pictavo::burn::FindCdrdaoDrives(program))
      found.push_back(std::make_unique<pictavo::burn::CdrdaoRecorder>(program, drive));
  WriteLog("Burning engine started (driver mode %d): %zu recorder(s)%s", driverMode, found.size(),
           program.empty() ? ", cdrdao is not installed" : "");
  UseRecorders(std::move(found));
  return TRUE;
}

void CBurnEngine::UseRecorders(std::vector<std::unique_ptr<Recorder>> recorders) {
  m_recorders = std::move(recorders);
  m_working = m_recorders.empty() ? -1 : 0;
}

Recorder* CBurnEngine::WorkingRecorder() const {
  return m_working >= 0 && m_working < static_cast<int>(m_recorders.size()) ? m_recorders[m_working].get()
                                                                            : nullptr;
}

int CBurnEngine::GetCDBurnerCount() const {
  return static_cast<int>(m_recorders.size());
}

BOOL CBurnEngine::GetCDBurnerName(int index, char* buffer) const {
  if (!buffer || index < 0 || index >= GetCDBurnerCount()) return FALSE;
  std::strncpy(buffer, m_recorders[index]->Name().c_str(), 259);
  buffer[259] = '\0';
  return TRUE;
}

BOOL CBurnEngine::SetWorkCDBurner(int index) {
  if (index < 0 || index >= GetCDBurnerCount()) return FALSE;
  m_working = index;
  return TRUE;
}

BOOL CBurnEngine::GetWorkingBurnerName(char* buffer) const {
  return GetCDBurnerName(m_working, buffer);
}

void CBurnEngine::SetCDWritingMode(int mode) {
  m_writingMode = mode;
  if (Recorder* r = WorkingRecorder()) r->SetWritingMode(mode);
}

BOOL CBurnEngine::IsCDWritingRawMode() const {
  const Recorder* r = WorkingRecorder();
  return r && r->TakesRawSectors();
}

void CBurnEngine::SetCueSheet(const BYTE* cueSheet, int length) {
  if (Recorder* r = WorkingRecorder(); r && cueSheet && length > 0)
    r->SetCueSheet({cueSheet, static_cast<size_t>(length)});
}

BOOL CBurnEngine::InitDAO(HWND, char* text, HANDLE stopEvent) {
  Recorder* r = WorkingRecorder();
  if (!r) {
    PutText(text, "No CD recorder was found.");
    return FALSE;
  }
  if (Stopped(stopEvent)) return FALSE;
  std::string error;
  if (!r->Prepare(error)) {
    PutText(text, error);
    return FALSE;
  }
  return TRUE;
}

BOOL CBurnEngine::StartDAO(HWND, char* text, HANDLE stopEvent) {
  Recorder* r = WorkingRecorder();
  if (!r || Stopped(stopEvent)) return FALSE;
  std::string error;
  if (!r->Start(error)) {
    PutText(text, error);
    return FALSE;
  }
  return TRUE;
}

BOOL CBurnEngine::WriteData(DWORD sectorsWritten, const BYTE* data, DWORD bytes, HANDLE stopEvent) {
  Recorder* r = WorkingRecorder();
  if (!r || Stopped(stopEvent) || (bytes && !data)) return FALSE;
  std::string error;
  if (!r->Write(sectorsWritten, {data, bytes}, error)) {
    WriteErrorLog("Recorder write failed at sector %u: %s", static_cast<unsigned>(sectorsWritten),
                  error.c_str());
    return FALSE;
  }
  return TRUE;
}

void CBurnEngine::SetLeadoutStart(DWORD sectors) {
  if (Recorder* r = WorkingRecorder()) r->SetLeadoutStart(sectors);
}

BOOL CBurnEngine::FinishDAO(HWND, char* text, HANDLE stopEvent) {
  Recorder* r = WorkingRecorder();
  if (!r) return FALSE;
  if (Stopped(stopEvent)) {
    r->Abort();
    return FALSE;
  }
  std::string error;
  if (!r->Finish(error)) {
    PutText(text, error);
    return FALSE;
  }
  return TRUE;
}

void CBurnEngine::AbortDAO() {
  if (Recorder* r = WorkingRecorder()) r->Abort();
}
