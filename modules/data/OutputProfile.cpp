#include "modules/data/OutputProfile.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <string>

IMPLEMENT_DYNAMIC(CAVOutputProfile, CObject)
IMPLEMENT_DYNAMIC(CAVOutputProfileGroup, CObject)

namespace {

std::atomic<PROC_PROFILE_TRANSLATE_DICTIONARY> g_translate{nullptr};

bool ParsePositiveInt(std::string_view text, int& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || parsed <= 0) return false;
  value = parsed;
  return true;
}

bool ParsePositiveDouble(const CString& text, double& value) {
  const char* begin = text.GetString();
  char* end = nullptr;
  const double parsed = std::strtod(begin, &end);
  while (end != nullptr && *end == ' ') ++end;
  if (end == begin || end == nullptr || *end != '\0' || !(parsed > 0) || parsed > 1000) return false;
  value = parsed;
  return true;
}

}  // namespace

CAVOutputProfile::CAVOutputProfile() : m_pOptions(m_optionBlock) {
  for (int i = 0; i < AVOPT_COUNT; ++i) m_optionBlock[i] = &m_current[i];
}

CAVOutputProfile::~CAVOutputProfile() = default;

void CAVOutputProfile::SetProcProfileTranslateDictionary(PROC_PROFILE_TRANSLATE_DICTIONARY proc) {
  g_translate = proc;
}

CString CAVOutputProfile::TranslateWord(LPCTSTR word) {
  const PROC_PROFILE_TRANSLATE_DICTIONARY proc = g_translate;
  return proc != nullptr ? proc(word) : CString(word);
}

void CAVOutputProfile::Define(CAVOutputProfileGroup* group, const Definition& definition) {
  m_pGroup = group;
  m_strName = definition.name;
  m_strDescLong = definition.descLong;
  m_strExtension = definition.extension;
  m_strFormat = definition.format;
  for (int i = 0; i < AVOPT_COUNT; ++i) m_file[i] = definition.options[i];
  Reset();
}

void CAVOutputProfile::Reset() {
  for (int i = 0; i < AVOPT_COUNT; ++i) {
    _AV_OUTPUT_OPTION& option = m_current[i];
    void* property = option.pProperty;  // the page's link stays while it shows the option
    const OptionDefinition& file = m_file[i];
    option.dwFlags = file.flags;
    option.strName = file.name;
    option.strValue = file.value;
    option.strEditMask = file.editMask;
    option.strEditTemplate = file.editTemplate;
    option.strValidChars = file.validChars;
    option.arrChoices.RemoveAll();
    for (const CString& choice : file.choices) option.arrChoices.Add(choice);
    option.nMaxLength = file.maxLength;
    option.pProperty = property;
  }
}

_AV_OUTPUT_OPTION* CAVOutputProfile::GetOption(int index) const {
  return index >= 0 && index < AVOPT_COUNT ? m_optionBlock[index] : nullptr;
}

CString CAVOutputProfile::Get_strFormatDescLong() const {
  return TranslateWord(m_strDescLong);
}

bool CAVOutputProfile::ParseSize(const CString& text, int& width, int& height) const {
  const std::string_view view = text.View();
  const size_t x = view.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  return ParsePositiveInt(view.substr(0, x), width) && ParsePositiveInt(view.substr(x + 1), height) &&
         width <= 8192 && height <= 8192;
}

int CAVOutputProfile::Get_nVideoWidth() const {
  int w = 0, h = 0;
  if (!ParseSize(m_current[AVOPT_VIDEO_SIZE].strValue, w, h)) ParseSize(m_file[AVOPT_VIDEO_SIZE].value, w, h);
  return (w + 3) & ~3;
}

int CAVOutputProfile::Get_nVideoHeight() const {
  int w = 0, h = 0;
  if (!ParseSize(m_current[AVOPT_VIDEO_SIZE].strValue, w, h)) ParseSize(m_file[AVOPT_VIDEO_SIZE].value, w, h);
  return (h + 1) & ~1;
}

CString CAVOutputProfile::OptionOrFile(int index) const {
  int value = 0;
  if (ParsePositiveInt(m_current[index].strValue.View(), value)) return CString(std::to_string(value));
  return m_file[index].value;
}

CString CAVOutputProfile::Get_strVideoBitRate() const {
  return OptionOrFile(AVOPT_VIDEO_BITRATE);
}
CString CAVOutputProfile::Get_strAudioBitRate() const {
  return OptionOrFile(AVOPT_AUDIO_BITRATE);
}
CString CAVOutputProfile::Get_strAudioSampleRate() const {
  return OptionOrFile(AVOPT_AUDIO_SAMPLERATE);
}

double CAVOutputProfile::Get_dblVideoFrameRate() const {
  double rate = 0;
  if (!ParsePositiveDouble(m_current[AVOPT_VIDEO_FRAMERATE].strValue, rate))
    ParsePositiveDouble(m_file[AVOPT_VIDEO_FRAMERATE].value, rate);
  return rate;
}

int CAVOutputProfile::Get_nAudioSampleRate() const {
  return std::atoi(Get_strAudioSampleRate());
}

int CAVOutputProfile::Get_nAudioChannel() const {
  int channels = 0;
  if (!ParsePositiveInt(m_current[AVOPT_AUDIO_CHANNELS].strValue.View(), channels) || channels > 8)
    ParsePositiveInt(m_file[AVOPT_AUDIO_CHANNELS].value.View(), channels);
  return channels;
}

CAVOutputProfileGroup::CAVOutputProfileGroup() = default;
CAVOutputProfileGroup::~CAVOutputProfileGroup() = default;

CString CAVOutputProfileGroup::Get_strGroupDesc() const {
  return CAVOutputProfile::TranslateWord(m_strGroupDesc);
}

CAVOutputProfile* CAVOutputProfileGroup::Get_pProfileArray(int index) const {
  return index >= 0 && index < Get_nProfileCount() ? m_profiles[static_cast<size_t>(index)].get() : nullptr;
}

BOOL CAVOutputProfileGroup::Set_pActiveAVOutputProfile(CAVOutputProfile* profile) {
  for (const auto& own : m_profiles)
    if (own.get() == profile) {
      m_pActiveProfile = profile;
      return TRUE;
    }
  return FALSE;
}
