// The output-profile manager and the reader of the group files (format in README.md).
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/xml/ValueNotation.h"
#include "platform/kernel/Path.h"

IMPLEMENT_DYNAMIC(CAVOutputProfileManager, CObject)

namespace fs = std::filesystem;
namespace path = pictavo::path;

namespace {

constexpr int kProfileFormat = 1;

// The option elements' ids, in the order of the option block.
constexpr const char* kOptionIds[AVOPT_COUNT] = {"video_codec",      "video_size",    "video_bitrate",
                                                 "video_framerate",  "audio_codec",   "audio_bitrate",
                                                 "audio_samplerate", "audio_channels"};

bool IsFolder(const std::string& p) {
  struct stat st {};
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int IntOf(const pugi::xml_attribute& attribute, int fallback) {
  const auto value = pictavo::xml::ParseInt(attribute.value());
  return value ? *value : fallback;
}

// What is wrong with a profile, "" when nothing is.
std::string CheckProfile(CAVOutputProfile& profile) {
  if (profile.Get_strOutputFileExtName().IsEmpty() || profile.Get_strOutputFormat().IsEmpty())
    return "it names no file extension or container";
  if (profile.Get_strVideoCodenc().IsEmpty() || profile.Get_strAudioCodenc().IsEmpty())
    return "it names no codec";
  const CString size = profile.GetOption(AVOPT_VIDEO_SIZE)->strValue;
  const int w = profile.Get_nVideoWidth();
  const int h = profile.Get_nVideoHeight();
  CString written;
  written.Format("%dx%d", w, h);
  if (w <= 0 || h <= 0 || written.CompareNoCase(size) != 0)
    return "its frame size must be a width that is a multiple of 4 and an even height";
  if (profile.Get_dblVideoFrameRate() <= 0) return "its frame rate is not a number";
  if (profile.Get_nAudioSampleRate() <= 0 || profile.Get_nAudioChannel() <= 0 ||
      profile.Get_strVideoBitRate().IsEmpty() || profile.Get_strAudioBitRate().IsEmpty())
    return "its bit rates, sample rate or channels are not numbers";
  return {};
}

}  // namespace

// Reads one group file.
class CProfileGroupLoader {
 public:
  static std::unique_ptr<CAVOutputProfileGroup> Load(const std::string& file, int& order,
                                                     std::string& error) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(file.c_str());
    if (!parsed) {
      error = std::string("it is not well-formed XML (") + parsed.description() + ")";
      return nullptr;
    }
    const pugi::xml_node root = doc.child("profile_group");
    if (!root) {
      error = "it holds no profile_group";
      return nullptr;
    }
    if (IntOf(root.attribute("format"), 0) > kProfileFormat) {
      error = "it was written for a newer version of the program";
      return nullptr;
    }
    auto group = std::make_unique<CAVOutputProfileGroup>();
    group->m_strGroupDesc = root.attribute("desc").value();
    group->m_strGroupFolderName = root.attribute("folder").value();
    group->m_strSourceFile = file.c_str();
    order = IntOf(root.attribute("order"), 1000000);
    if (group->m_strGroupDesc.IsEmpty() || group->m_strGroupFolderName.IsEmpty()) {
      error = "the group has no description or folder name";
      return nullptr;
    }
    for (const pugi::xml_node& node : root.children("profile")) {
      CAVOutputProfile::Definition definition;
      definition.name = node.attribute("name").value();
      definition.descLong = node.attribute("desc").value();
      definition.extension = node.attribute("ext").value();
      definition.format = node.attribute("format").value();
      bool complete = true;
      for (int i = 0; i < AVOPT_COUNT; ++i) {
        const pugi::xml_node option = node.find_child_by_attribute("option", "id", kOptionIds[i]);
        if (!option) {
          complete = false;
          error = "profile \"" + std::string(definition.name.View()) + "\" lacks the option " + kOptionIds[i];
          break;
        }
        CAVOutputProfile::OptionDefinition& o = definition.options[i];
        o.flags = static_cast<DWORD>(IntOf(option.attribute("flags"), AVOPT_SHOWN));
        o.name = option.attribute("name").value();
        o.value = option.attribute("value").value();
        o.editMask = option.attribute("mask").value();
        o.editTemplate = option.attribute("template").value();
        o.validChars = option.attribute("valid").value();
        o.maxLength = std::max(0, IntOf(option.attribute("max"), 0));
        for (const pugi::xml_node& choice : option.children("choice"))
          o.choices.emplace_back(choice.text().get());
      }
      if (!complete) return nullptr;
      auto profile = std::make_unique<CAVOutputProfile>();
      profile->Define(group.get(), definition);
      if (const std::string wrong = CheckProfile(*profile); !wrong.empty()) {
        error = "profile \"" + std::string(definition.name.View()) + "\": " + wrong;
        return nullptr;
      }
      const bool active = IntOf(node.attribute("active"), 0) != 0;
      group->m_profiles.push_back(std::move(profile));
      if (active || group->m_pActiveProfile == nullptr)
        group->m_pActiveProfile = group->m_profiles.back().get();
    }
    if (group->m_profiles.empty()) {
      error = "the group has no profile";
      return nullptr;
    }
    return group;
  }
};

CAVOutputProfileManager::CAVOutputProfileManager() {
  const char* home = std::getenv("HOME");
  m_strOutputPath = home != nullptr && *home != '\0' ? CString(path::Join(home, "Videos")) : CString("/tmp");
}

CAVOutputProfileManager::~CAVOutputProfileManager() = default;

void CAVOutputProfileManager::SetProfileFolder(LPCTSTR folder) {
  m_strProfileFolder = folder;
}

BOOL CAVOutputProfileManager::InitProfileManager(int, LPCTSTR, LPCTSTR) {
  m_groups.clear();
  m_nGroupCount = 0;
  m_pActiveGroup = nullptr;
  m_arrLoadErrors.RemoveAll();
  std::string folder = path::ToNative(m_strProfileFolder.View());
  // A name is a folder beside the program.
  if (path::IsRelative(folder)) folder = path::Join(CDVDProject::GetExeFilePath().View(), folder);
  folder = path::ResolveNoCase(folder);
  if (!IsFolder(folder)) {
    m_arrLoadErrors.Add(CString(("the profile folder " + folder + " does not exist").c_str()));
    return FALSE;
  }
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file(ec) && path::MatchesWildcard(name, "*.xml"))
      files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  std::vector<std::pair<int, std::unique_ptr<CAVOutputProfileGroup>>> loaded;
  for (const std::string& file : files) {
    int order = 0;
    std::string error;
    auto group = CProfileGroupLoader::Load(file, order, error);
    if (group)
      loaded.emplace_back(order, std::move(group));
    else
      m_arrLoadErrors.Add(CString((file + ": " + error).c_str()));
  }
  std::stable_sort(loaded.begin(), loaded.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [order, group] : loaded) {
    group->m_nGroupID = static_cast<int>(m_groups.size());
    m_groups.push_back(std::move(group));
  }
  m_nGroupCount = static_cast<int>(m_groups.size());
  if (m_groups.empty()) return FALSE;
  m_pActiveGroup = m_groups[static_cast<size_t>(std::min(kDefaultActiveGroup, m_nGroupCount - 1))].get();
  return TRUE;
}

CAVOutputProfileGroup* CAVOutputProfileManager::Get_pProfileGroupArray(int index) const {
  return index >= 0 && index < m_nGroupCount ? m_groups[static_cast<size_t>(index)].get() : nullptr;
}

void CAVOutputProfileManager::Set_pActiveProfileGroup(CAVOutputProfileGroup* group) {
  if (group == nullptr) {
    m_pActiveGroup = nullptr;
    return;
  }
  for (const auto& own : m_groups)
    if (own.get() == group) m_pActiveGroup = group;
}

CAVOutputProfile* CAVOutputProfileManager::Get_pActiveAVOutputProfile() const {
  return m_pActiveGroup != nullptr ? m_pActiveGroup->Get_pActiveAVOutputProfile() : nullptr;
}
