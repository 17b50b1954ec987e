// Marlett: the symbol face window buttons, arrows, check marks and the size grip are drawn with.
// No such face is installed here, so its symbols are drawn as shapes that fill square cells.
#pragma once

#include <memory>

#include "platform/gdi/FontEngine.h"

namespace pictavo::gdi {

// True when a LOGFONT face name asks for the symbol face (any case).
bool IsMarlettFace(const char* face);

// The symbol of character `c` in a square cell of `cell` pixels whose baseline lies `ascent`
// pixels below its top. Characters the face has no symbol for are blank; every character
// advances by one cell.
std::shared_ptr<const Glyph> MarlettGlyph(char32_t c, int cell, int ascent);

}  // namespace pictavo::gdi
