// Output profiles: what a video file is made of (container, codecs, frame size, bit rates),
// grouped by target (one group per file of the profile folder), with the options the encode
// options page edits. The manager holds the groups and the active group and profile.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/Object.h"

// Option flags.
#define AVOPT_SHOWN 0x1     // listed on the encode options page
#define AVOPT_READONLY 0x2  // listed but not editable
#define AVOPT_TYPING 0x4    // a value may be typed besides the choices

// One editable option of a profile.
struct _AV_OUTPUT_OPTION {
  DWORD dwFlags = 0;
  CString strName;   // shown through the translation callback
  CString strValue;  // the current value
  CString strEditMask;
  CString strEditTemplate;
  CString strValidChars;
  CStringArray arrChoices;
  int nMaxLength = 0;         // 0: no limit
  void* pProperty = nullptr;  // the property that shows the option; set by the options page
};

// The four video and four audio options, in this order.
enum AVOutputOption {
  AVOPT_VIDEO_CODEC,
  AVOPT_VIDEO_SIZE,       // "640x480"
  AVOPT_VIDEO_BITRATE,    // kbit/s
  AVOPT_VIDEO_FRAMERATE,  // frames per second, "29.97"
  AVOPT_AUDIO_CODEC,
  AVOPT_AUDIO_BITRATE,     // kbit/s
  AVOPT_AUDIO_SAMPLERATE,  // Hz
  AVOPT_AUDIO_CHANNELS,
  AVOPT_COUNT
};

// Translates a word of a profile file into the user's language.
using PROC_PROFILE_TRANSLATE_DICTIONARY = CString (*)(LPCTSTR word);

class CAVOutputProfileGroup;

class CAVOutputProfile : public CObject {
  DECLARE_DYNAMIC(CAVOutputProfile)

 public:
  CAVOutputProfile();
  ~CAVOutputProfile() override;

  static void SetProcProfileTranslateDictionary(PROC_PROFILE_TRANSLATE_DICTIONARY proc);
  // A word through the translation callback (the word itself without one).
  static CString TranslateWord(LPCTSTR word);

  CAVOutputProfileGroup* GetGroup() const { return m_pGroup; }
  const CString& Get_strProfileName() const { return m_strName; }
  // The long description shown in the profile list, translated.
  CString Get_strFormatDescLong() const;
  const CString& Get_strOutputFileExtName() const { return m_strExtension; }
  // The container for ffmpeg's -f.
  const CString& Get_strOutputFormat() const { return m_strFormat; }

  // From the current option values. A size or rate that does not parse gives the file's value;
  // the width is raised to a multiple of 4 and the height to an even number, as frames are made.
  const CString& Get_strVideoCodenc() const { return m_pOptions[AVOPT_VIDEO_CODEC]->strValue; }
  int Get_nVideoWidth() const;
  int Get_nVideoHeight() const;
  CString Get_strVideoBitRate() const;
  double Get_dblVideoFrameRate() const;
  const CString& Get_strAudioCodenc() const { return m_pOptions[AVOPT_AUDIO_CODEC]->strValue; }
  CString Get_strAudioBitRate() const;
  CString Get_strAudioSampleRate() const;
  int Get_nAudioSampleRate() const;
  int Get_nAudioChannel() const;

  _AV_OUTPUT_OPTION* GetOption(int index) const;
  // The option values become the file's again.
  void Reset();

  // Filled by the manager's loader.
  struct OptionDefinition {
    DWORD flags = 0;
    CString name, value, editMask, editTemplate, validChars;
    std::vector<CString> choices;
    int maxLength = 0;
  };
  struct Definition {
    CString name, descLong, extension, format;
    OptionDefinition options[AVOPT_COUNT];
  };
  void Define(CAVOutputProfileGroup* group, const Definition& definition);

  // Fields other windows read directly: the block of option pointers, video first.
  _AV_OUTPUT_OPTION** m_pOptions;

 private:
  CString OptionOrFile(int index) const;
  bool ParseSize(const CString& text, int& width, int& height) const;

  CAVOutputProfileGroup* m_pGroup = nullptr;
  CString m_strName;
  CString m_strDescLong;
  CString m_strExtension;
  CString m_strFormat;
  _AV_OUTPUT_OPTION* m_optionBlock[AVOPT_COUNT];
  _AV_OUTPUT_OPTION m_current[AVOPT_COUNT];  // what m_optionBlock points at
  OptionDefinition m_file[AVOPT_COUNT];      // the values the file gave
};

class CAVOutputProfileGroup : public CObject {
  DECLARE_DYNAMIC(CAVOutputProfileGroup)

 public:
  CAVOutputProfileGroup();
  ~CAVOutputProfileGroup() override;

  // The description shown in the format lists, translated.
  CString Get_strGroupDesc() const;
  // The folder below the output folder that receives this group's files.
  const CString& Get_strGroupFolderName() const { return m_strGroupFolderName; }
  int Get_nGroupID() const { return m_nGroupID; }
  int Get_nProfileCount() const { return static_cast<int>(m_profiles.size()); }
  CAVOutputProfile* Get_pProfileArray(int index) const;
  CAVOutputProfile* Get_pActiveAVOutputProfile() const { return m_pActiveProfile; }
  // A profile of this group (others are refused).
  BOOL Set_pActiveAVOutputProfile(CAVOutputProfile* profile);
  const CString& Get_strSourceFile() const { return m_strSourceFile; }

  // Fields other windows read directly, in order.
  CString m_strGroupDesc;
  CString m_strGroupFolderName;
  int m_nGroupID = 0;  // the group's position in the manager, which is also its number

 private:
  friend class CAVOutputProfileManager;
  friend class CProfileGroupLoader;
  std::vector<std::unique_ptr<CAVOutputProfile>> m_profiles;
  CAVOutputProfile* m_pActiveProfile = nullptr;
  CString m_strSourceFile;
};

class CAVOutputProfileManager : public CObject {
  DECLARE_DYNAMIC(CAVOutputProfileManager)

 public:
  CAVOutputProfileManager();
  ~CAVOutputProfileManager() override;

  // The folder of the group files: a name is taken in the program folder
  // (CDVDProject::GetExeFilePath), a path as it is. Names are matched without regard to case.
  void SetProfileFolder(LPCTSTR folder);
  const CString& GetProfileFolder() const { return m_strProfileFolder; }
  // Reads every group file of the folder (replacing what was read before) and makes group 7, or
  // the last group when there are fewer, active. The arguments are accepted and not used (the
  // start-up passes 0, NULL, NULL). FALSE when no group could be read; the reasons of files that
  // were refused are in GetLoadErrors.
  BOOL InitProfileManager(int reserved, LPCTSTR reserved2, LPCTSTR reserved3);
  const CStringArray& GetLoadErrors() const { return m_arrLoadErrors; }

  int GetGroupCount() const { return m_nGroupCount; }
  CAVOutputProfileGroup* Get_pProfileGroupArray(int index) const;
  CAVOutputProfileGroup* Get_pActiveProfileGroup() const { return m_pActiveGroup; }
  // A group of this manager, or null.
  void Set_pActiveProfileGroup(CAVOutputProfileGroup* group);
  // The active group's active profile.
  CAVOutputProfile* Get_pActiveAVOutputProfile() const;
  const CString& Get_strOutputPath() const { return m_strOutputPath; }
  void Set_strOutputPath(LPCTSTR path) { m_strOutputPath = path; }

  static constexpr int kDefaultActiveGroup = 7;

  // Fields other windows read directly.
  int m_nGroupCount = 0;

 private:
  std::vector<std::unique_ptr<CAVOutputProfileGroup>> m_groups;
  CAVOutputProfileGroup* m_pActiveGroup = nullptr;
  CString m_strProfileFolder;
  CString m_strOutputPath;
  CStringArray m_arrLoadErrors;
};
