// Fonts: matching through fontconfig, loading and rendering with FreeType, and CreateFontIndirectW.
#include "gdi/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "gdi/objects.h"
#include "platform/gdi.h"

namespace platform::gdi {
namespace {

constexpr int kDefaultCellHeight = 16;
constexpr double kLargestEm = 1024;
const char* const kFallbackRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kFallbackBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return lib;
}

struct FontFile {
    std::string path;
    int index = 0;
    bool bold = false;
};

// The face names the program uses are the device's ("Swiss", "System"); Linux desktops do not
// have them, so every record is given the desktop's sans family in the weight and slant it asks.
bool match_sans(bool bold, bool italic, FontFile* file) {
    // Released at exit, so that leak checkers see only our own leaks.
    static const bool ready = [] { return FcInit() && std::atexit(FcFini) == 0; }();
    if (!ready) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* path = nullptr;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (found) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        *file = {reinterpret_cast<const char*>(path), index, weight >= FC_WEIGHT_DEMIBOLD};
    }
    FcPatternDestroy(match);
    return found;
}

FT_Face open_face(const FontFile& file) {
    FT_Face face = nullptr;
    if (!library() || FT_New_Face(library(), file.path.c_str(), file.index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face)) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

class FreeTypeFace final : public FontFace {
public:
    FreeTypeFace(FT_Face face, bool embolden, LONG height) : face_(face), embolden_(embolden) {
        // Ascent and descent in font units: the OS/2 table's cell, which is what a positive height
        // means, else the horizontal header's.
        double up = face->ascender, down = -face->descender;
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
            os2 && os2->usWinAscent + os2->usWinDescent > 0) {
            up = os2->usWinAscent;
            down = os2->usWinDescent;
        }
        if (up + down <= 0) {
            up = face->units_per_EM;
            down = 0;
        }
        // A negative height is the em size; a positive one the whole cell.
        const double cell = height == 0 ? kDefaultCellHeight : std::abs(static_cast<double>(height));
        double em = height < 0 ? cell : cell * face->units_per_EM / (up + down);
        em = std::clamp(em, 1.0, kLargestEm);
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
        ascent_ = static_cast<int>(std::lround(up * em / face->units_per_EM));
        descent_ = static_cast<int>(std::lround(down * em / face->units_per_EM));
    }
    ~FreeTypeFace() override { FT_Done_Face(face_); }
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;

    int ascent() const override { return ascent_; }
    int descent() const override { return descent_; }

    const Glyph& glyph(wchar_t c) override {
        if (auto it = glyphs_.find(c); it != glyphs_.end()) return it->second;
        return glyphs_.emplace(c, render(c)).first->second;
    }

private:
    Glyph render(wchar_t c) {
        Glyph g;
        const FT_UInt index = FT_Get_Char_Index(face_, static_cast<FT_ULong>(c));
        if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT) != 0) return g;
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_) FT_GlyphSlot_Embolden(slot);
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
        const FT_Bitmap& bitmap = slot->bitmap;
        const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
        if (!gray && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return g;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int>(bitmap.width);
        g.rows = static_cast<int>(bitmap.rows);
        g.coverage.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.rows));
        for (int y = 0; y < g.rows; ++y) {
            const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            for (int x = 0; x < g.width; ++x)
                g.coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(g.width) + static_cast<std::size_t>(x)] =
                    gray ? row[x] : ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0);
        }
        return g;
    }

    FT_Face face_;
    bool embolden_;
    int ascent_ = 0;
    int descent_ = 0;
    std::unordered_map<wchar_t, Glyph> glyphs_;
};

std::unique_ptr<FontFace> load_face(LONG height, bool bold, bool italic) {
    FontFile file;
    FT_Face face = match_sans(bold, italic, &file) ? open_face(file) : nullptr;
    if (!face) {
        file = {bold ? kFallbackBold : kFallbackRegular, 0, bold};
        face = open_face(file);
    }
    if (!face && bold) {
        file = {kFallbackRegular, 0, false};
        face = open_face(file);
    }
    if (!face) return nullptr;
    return std::make_unique<FreeTypeFace>(face, bold && !file.bold, height);
}

}  // namespace

FontFace* face_for(const LOGFONTW& font) {
    const bool bold = font.lfWeight >= 600;
    const bool italic = font.lfItalic != 0;
    static std::map<std::tuple<LONG, bool, bool>, std::unique_ptr<FontFace>> faces;
    const auto key = std::make_tuple(font.lfHeight, bold, italic);
    auto it = faces.find(key);
    if (it == faces.end()) it = faces.emplace(key, load_face(font.lfHeight, bold, italic)).first;
    return it->second.get();
}

}  // namespace platform::gdi

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) return nullptr;
    auto made = std::make_unique<platform::gdi::Font>();
    made->logfont = *font;
    return platform::gdi::add_font(std::move(made));
}
