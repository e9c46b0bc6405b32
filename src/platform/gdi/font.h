// Fonts as text drawing uses them: a sans face found through fontconfig at the size a LOGFONTW
// asks for, and its glyphs rendered by FreeType, kept for reuse.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi.h"

namespace platform::gdi {

struct Glyph {
    int left = 0;  // from the pen position to the image's first column
    int top = 0;   // from the baseline up to the image's first row
    int width = 0;
    int rows = 0;
    int advance = 0;                     // pixels from this pen position to the next
    std::vector<std::uint8_t> coverage;  // rows × width, 0 (none) to 255 (full)
};

class FontFace {
public:
    virtual ~FontFace() = default;
    virtual int ascent() const = 0;
    virtual int descent() const = 0;
    int height() const { return ascent() + descent(); }
    virtual const Glyph& glyph(wchar_t c) = 0;
};

// The face for a font record, or null when no font file can be loaded at all. Faces live as long
// as the process; a record asking again for the same size and style gets the same face.
FontFace* face_for(const LOGFONTW& font);

}  // namespace platform::gdi
