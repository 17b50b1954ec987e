// The fixed-size records the project file keeps field by field: one table per record, read and
// written by the same code, so the two sides never disagree.
#pragma once

#include <cstddef>
#include <span>

#include <pugixml.hpp>

#include "modules/data/AlbumTextSettings.h"
#include "modules/data/ProjectOptions.h"
#include "modules/data/TextRecords.h"

namespace pictavo::data::projectfile {

enum class FieldKind { Int, Colour, Text };

struct Field {
  const char* name;
  size_t offset;
  FieldKind kind;
  size_t size;  // bytes of a text field
};

#define PICTAVO_INT(record, member, name)             \
  Field {                                             \
    name, offsetof(record, member), FieldKind::Int, 0 \
  }
#define PICTAVO_COLOUR(record, member, name)             \
  Field {                                                \
    name, offsetof(record, member), FieldKind::Colour, 0 \
  }
#define PICTAVO_TEXT(record, member, name)                                                         \
  Field {                                                                                          \
    name, offsetof(record, member), FieldKind::Text, sizeof(static_cast<record*>(nullptr)->member) \
  }

inline constexpr Field kOptionFields[] = {
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, nTVSystem, "tv_system"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, bCropEnable, "crop"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, nCropRatio, "crop_ratio"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, nAspectCorrection, "aspect"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, bAntiFlicker, "anti_flicker"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, nPhotoScaleMode, "photo_scale"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, bCopySourceFiles, "copy_sources"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, nDriverMode, "driver_mode"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, bShutdownWhenDone, "shutdown_when_done"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, nVCDBurningMode, "vcd_burning_mode"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, bUseDVDMenu, "dvd_menu"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, nPlaybackMode, "playback_mode"),
    PICTAVO_INT(_PROJECT_OPTIONS_DATA, bPlaySlideshowAfterMenu, "slideshow_after_menu"),
};

inline constexpr Field kBrushFields[] = {
    PICTAVO_INT(_TextBrushStyle, nBrushType, "kind"),
    PICTAVO_COLOUR(_TextBrushStyle, clrSolid, "color"),
    PICTAVO_COLOUR(_TextBrushStyle, clrGradient1, "color1"),
    PICTAVO_COLOUR(_TextBrushStyle, clrGradient2, "color2"),
    PICTAVO_INT(_TextBrushStyle, nGradientAngle, "angle"),
    PICTAVO_INT(_TextBrushStyle, nTextureScale, "texture_scale"),
    PICTAVO_TEXT(_TextBrushStyle, szTextureFile, "texture"),
};

// The brushes of an effect are written as child elements of these names.
struct BrushMember {
  const char* name;
  size_t offset;
};
inline constexpr BrushMember kEffectBrushes[] = {
    {"brush", offsetof(_TextEffect, brush)},
    {"shadow_brush", offsetof(_TextEffect, shadowBrush)},
    {"outline_brush", offsetof(_TextEffect, outlineBrush)},
};

inline constexpr Field kEffectFields[] = {
    PICTAVO_TEXT(_TextEffect, szFaceName, "face"),
    PICTAVO_INT(_TextEffect, nFontSize, "size"),
    PICTAVO_INT(_TextEffect, bBold, "bold"),
    PICTAVO_INT(_TextEffect, bItalic, "italic"),
    PICTAVO_INT(_TextEffect, bUnderline, "underline"),
    PICTAVO_INT(_TextEffect, bShadow, "shadow"),
    PICTAVO_INT(_TextEffect, nShadowOffset, "shadow_offset"),
    PICTAVO_INT(_TextEffect, bOutline, "outline"),
    PICTAVO_INT(_TextEffect, nOutlineWidth, "outline_width"),
    PICTAVO_INT(_TextEffect, bGlow, "glow"),
    PICTAVO_COLOUR(_TextEffect, clrGlow, "glow_color"),
    PICTAVO_INT(_TextEffect, nGlowSize, "glow_size"),
};

inline constexpr Field kTextFontFields[] = {
    PICTAVO_TEXT(_DVDImageTextFont, szFaceName, "face"),
    PICTAVO_COLOUR(_DVDImageTextFont, clrText, "color"),
    PICTAVO_INT(_DVDImageTextFont, nFontSize, "size"),
    PICTAVO_INT(_DVDImageTextFont, bShadow, "shadow"),
    PICTAVO_COLOUR(_DVDImageTextFont, clrShadow, "shadow_color"),
    PICTAVO_INT(_DVDImageTextFont, nShadowXOffset, "shadow_x"),
    PICTAVO_INT(_DVDImageTextFont, nShadowYOffset, "shadow_y"),
    PICTAVO_INT(_DVDImageTextFont, nAlign, "align"),
    PICTAVO_INT(_DVDImageTextFont, bBold, "bold"),
    PICTAVO_INT(_DVDImageTextFont, bItalic, "italic"),
    PICTAVO_INT(_DVDImageTextFont, bUnderline, "underline"),
    PICTAVO_INT(_DVDImageTextFont, nWidth, "width"),
    PICTAVO_INT(_DVDImageTextFont, nHeight, "height"),
    PICTAVO_INT(_DVDImageTextFont, nTransparency, "transparency"),
    PICTAVO_INT(_DVDImageTextFont, nShadowTransparency, "shadow_transparency"),
    PICTAVO_INT(_DVDImageTextFont, nEffectIndex, "effect_index"),
};

// The text itself is the element's content; the effect file is a stored path.
inline constexpr Field kAlbumTextFields[] = {
    PICTAVO_INT(_ALBUM_TEXT_SETTINGS, bEnabled, "enabled"),
    PICTAVO_COLOUR(_ALBUM_TEXT_SETTINGS, clrFont, "color"),
    PICTAVO_COLOUR(_ALBUM_TEXT_SETTINGS, clrBackground, "background"),
    PICTAVO_INT(_ALBUM_TEXT_SETTINGS, nFontSize, "size"),
    PICTAVO_INT(_ALBUM_TEXT_SETTINGS, nDuration, "duration"),
};

// Writes a record's fields as attributes, and reads them back: a missing or malformed attribute
// leaves its field as it was, a text longer than its field is cut.
void WriteFields(pugi::xml_node node, const void* record, std::span<const Field> fields);
void ReadFields(const pugi::xml_node& node, void* record, std::span<const Field> fields);
void WriteTextFont(pugi::xml_node node, const _DVDImageTextFont& font);
void ReadTextFont(const pugi::xml_node& node, _DVDImageTextFont& font);

#undef PICTAVO_INT
#undef PICTAVO_COLOUR
#undef PICTAVO_TEXT

}  // namespace pictavo::data::projectfile
