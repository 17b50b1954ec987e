#include "shell/RecorderSettings.h"

#include "shell/ARRegistry.h"
#include "shell/SettingsSupport.h"

namespace {

constexpr char kRecorderSection[] = "Recorder";
constexpr char kOutputSection[] = "AVOutputProfile";

struct RecorderValue {
  const char* name;
  int CRecorderSettings::*field;
};

constexpr RecorderValue kRecorderValues[] = {
    {"DriverMode", &CRecorderSettings::DriverMode},
    {"CDWritingMode", &CRecorderSettings::CDWritingMode},
    {"bInterBurningEngine", &CRecorderSettings::bInterBurningEngine},
    {"nCurrentNeroDrive", &CRecorderSettings::nCurrentNeroDrive},
    {"nTalvaneBurningEngine", &CRecorderSettings::nTalvaneBurningEngine},
    {"VideoEncodingQuality", &CRecorderSettings::VideoEncodingQuality},
    {"PaddingDVD", &CRecorderSettings::PaddingDVD},
};

// Runs `write` on the section's key, creating it when missing.
template <class Write>
BOOL WithRecorderSection(Write write) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kRecorderSection)) write(*registry);
  return TRUE;
}

}  // namespace

BOOL CRecorderSettings::Load() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  if (!registry->Open(kRecorderSection)) return TRUE;
  for (const RecorderValue& value : kRecorderValues) {
    this->*value.field = 0;
    registry->ReadInt(value.name, this->*value.field);
  }
  return TRUE;
}

BOOL CRecorderSettings::Save() {
  return WithRecorderSection([&](CARRegistry& registry) {
    for (const RecorderValue& value : kRecorderValues) registry.WriteInt(value.name, this->*value.field);
  });
}

BOOL CRecorderSettings::SaveVideoEncodingQuality() {
  return WithRecorderSection(
      [&](CARRegistry& registry) { registry.WriteInt("VideoEncodingQuality", VideoEncodingQuality); });
}

BOOL CRecorderSettings::SavePaddingDVD() {
  return WithRecorderSection([&](CARRegistry& registry) { registry.WriteInt("PaddingDVD", PaddingDVD); });
}

BOOL CAVOutputProfileSettings::Load() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  if (registry->Open(kOutputSection)) registry->ReadString("OutputFolder", OutputFolder);
  return TRUE;
}

BOOL CAVOutputProfileSettings::Save() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (settings::OpenSectionForWrite(*registry, kOutputSection))
    registry->WriteString("OutputFolder", OutputFolder);
  return TRUE;
}
