#include "shell/FontSettings.h"

#include <cstddef>
#include <cstring>

#include "modules/data/ImageSprite.h"
#include "platform/base/Utf8.h"
#include "shell/ARRegistry.h"
#include "shell/SettingsSupport.h"

namespace {

constexpr char kTextFontSection[] = "TextFont";
constexpr char kSubtitleFontSection[] = "SubtitleFont";

// The 32-bit fields stored under a value name each, in the record's order after the name.
struct TextFontValue {
  const char* name;
  size_t offset;
  bool dword;  // a colour, kept with the DWORD writer and reader
};

#define TEXT_FONT_VALUE(name, field, dword) \
  { name, offsetof(_DVDImageTextFont, field), dword }
constexpr TextFontValue kTextFontValues[] = {
    TEXT_FONT_VALUE("TextColor", clrText, true),
    TEXT_FONT_VALUE("FontSize", nFontSize, false),
    TEXT_FONT_VALUE("ShadowEnable", bShadow, false),
    TEXT_FONT_VALUE("ShadowColor", clrShadow, true),
    TEXT_FONT_VALUE("ShadowXOffset", nShadowXOffset, false),
    TEXT_FONT_VALUE("ShadowYOffset", nShadowYOffset, false),
    TEXT_FONT_VALUE("Align", nAlign, false),
    TEXT_FONT_VALUE("Bold", bBold, false),
    TEXT_FONT_VALUE("Italic", bItalic, false),
    TEXT_FONT_VALUE("Underline", bUnderline, false),
    TEXT_FONT_VALUE("Width", nWidth, false),
    TEXT_FONT_VALUE("Height", nHeight, false),
    TEXT_FONT_VALUE("Transparency", nTransparency, false),
    TEXT_FONT_VALUE("ShadowTransparency", nShadowTransparency, false),
    TEXT_FONT_VALUE("RecentStyle", nEffectIndex, false),
};
#undef TEXT_FONT_VALUE

DWORD GetField(const _DVDImageTextFont& font, size_t offset) {
  DWORD value = 0;
  std::memcpy(&value, reinterpret_cast<const char*>(&font) + offset, sizeof value);
  return value;
}

void SetField(_DVDImageTextFont& font, size_t offset, DWORD value) {
  std::memcpy(reinterpret_cast<char*>(&font) + offset, &value, sizeof value);
}

constexpr int kDefaultSubtitleSize = 32;
constexpr int kSmallestSubtitleSize = 16;
constexpr int kLargestSubtitleSize = 64;

}  // namespace

CTextFontSettings::CTextFontSettings() {
  CDVDImageText::SetDefaultTextFontData(&Font);
}

BOOL CTextFontSettings::Load() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  if (!registry->Open(kTextFontSection)) return TRUE;
  CDVDImageText::SetDefaultTextFontData(&Font);
  CString name;
  registry->ReadStringOr("FontName", name, Font.szFaceName);
  pictavo::utf8::CopyToField(Font.szFaceName, static_cast<LPCTSTR>(name));
  for (const TextFontValue& value : kTextFontValues) {
    if (value.dword) {
      DWORD stored = 0;
      if (registry->ReadDword(value.name, stored)) SetField(Font, value.offset, stored);
    } else {
      int stored = 0;
      if (registry->ReadInt(value.name, stored)) SetField(Font, value.offset, static_cast<DWORD>(stored));
    }
  }
  return TRUE;
}

BOOL CTextFontSettings::Save() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (!settings::OpenSectionForWrite(*registry, kTextFontSection)) return TRUE;
  registry->WriteString("FontName", Font.szFaceName);
  for (const TextFontValue& value : kTextFontValues) {
    if (value.dword)
      registry->WriteDword(value.name, GetField(Font, value.offset));
    else
      registry->WriteInt(value.name, static_cast<int>(GetField(Font, value.offset)));
  }
  return TRUE;
}

BOOL CSubtitleFontSettings::Load() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  if (!registry->Open(kSubtitleFontSection)) return TRUE;
  Font = CDVDSubtitleFont();
  CString text;
  registry->ReadString("Charset", text);
  if (CDVDSubtitleFont::GetCharsetIndex(text) != -1) Font.Set_strCharset(text);
  registry->ReadString("FontFileName", text);
  Font.Set_strFontFileName(text);
  int size = kDefaultSubtitleSize;
  registry->ReadInt("FontSize", size);
  if (size >= kSmallestSubtitleSize && size <= kLargestSubtitleSize) Font.Set_nFontSize(size);
  return TRUE;
}

BOOL CSubtitleFontSettings::Save() {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (!settings::OpenSectionForWrite(*registry, kSubtitleFontSection)) return TRUE;
  registry->WriteString("Charset", Font.Get_strCharset());
  registry->WriteString("FontFileName", Font.Get_strFontFileName());
  registry->WriteInt("FontSize", Font.Get_nFontSize());
  return TRUE;
}
