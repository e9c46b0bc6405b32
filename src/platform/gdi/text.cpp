// DrawTextW: lines laid out in a rectangle and drawn in the DC's font, colours and mode.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "gdi/canvas.h"
#include "gdi/font.h"
#include "gdi/objects.h"
#include "gdi/raster.h"
#include "platform/gdi.h"

using namespace platform;
using namespace platform::gdi;

namespace {

struct Line {
    std::wstring text;
    int width = 0;
};

int measure(FontFace& face, const std::wstring& text) {
    int width = 0;
    for (wchar_t c : text) width += face.glyph(c).advance;
    return width;
}

// "&x" marks a mnemonic and shows as "x"; "&&" shows one "&".
std::wstring without_prefixes(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && ++i == text.size()) break;
        out += text[i];
    }
    return out;
}

// Greedy wrapping at spaces. A word wider than the line stands alone and is clipped, or with
// `break_words` goes on over as many lines as it needs (a path in a message must be read whole).
void wrap(FontFace& face, const std::wstring& paragraph, int limit, bool break_words, std::vector<Line>* lines) {
    std::wstring current;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(L' ', start);
        if (end == std::wstring::npos) end = paragraph.size();
        std::wstring word = paragraph.substr(start, end - start);
        const std::wstring joined = current.empty() ? word : current + L' ' + word;
        if (!current.empty() && measure(face, joined) > limit) {
            lines->push_back({current, measure(face, current)});
            current = word;
        } else {
            current = joined;
        }
        while (break_words && current.size() > 1 && measure(face, current) > limit) {
            std::size_t fits = 1;
            while (fits + 1 < current.size() && measure(face, current.substr(0, fits + 1)) <= limit) ++fits;
            lines->push_back({current.substr(0, fits), measure(face, current.substr(0, fits))});
            current.erase(0, fits);
        }
        start = end + 1;
    }
    lines->push_back({current, measure(face, current)});
}

std::vector<Line> lay_out(FontFace& face, std::wstring text, UINT format, int limit) {
    if (!(format & DT_NOPREFIX)) text = without_prefixes(text);
    std::erase(text, L'\r');
    std::vector<Line> lines;
    if (format & DT_SINGLELINE) {
        std::erase(text, L'\n');
        lines.push_back({text, measure(face, text)});
        return lines;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        const std::wstring paragraph = text.substr(start, end - start);
        if (format & DT_WORDBREAK)
            wrap(face, paragraph, limit, (format & DT_EDITCONTROL) != 0, &lines);
        else
            lines.push_back({paragraph, measure(face, paragraph)});
        if (end == text.size()) break;
        start = end + 1;
    }
    return lines;
}

std::uint32_t blend(std::uint32_t under, std::uint32_t over, std::uint32_t alpha) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        out |= ((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
    }
    return out;
}

struct Pen {
    const Canvas& canvas;
    const Rect& clip;
    std::uint32_t ink;  // the text colour as a pixel; on a 1-bit canvas glyphs draw 0
    bool mono;
};

// Draws one glyph with its image's top-left corner at (x, y) in surface coordinates; returns the
// area it touched.
Rect draw_glyph(const Pen& pen, const Glyph& g, std::int64_t x, std::int64_t y) {
    const std::int64_t left = std::max<std::int64_t>(x, pen.clip.left);
    const std::int64_t right = std::min<std::int64_t>(x + g.width, pen.clip.right);
    const std::int64_t top = std::max<std::int64_t>(y, pen.clip.top);
    const std::int64_t bottom = std::min<std::int64_t>(y + g.rows, pen.clip.bottom);
    if (left >= right || top >= bottom) return {};
    const ColourRule unused;
    for (auto py = static_cast<int>(top); py < bottom; ++py) {
        const std::uint8_t* coverage = g.coverage.data() + (py - y) * g.width;
        for (auto px = static_cast<int>(left); px < right; ++px) {
            const std::uint32_t alpha = coverage[px - x];
            if (pen.mono) {
                if (alpha > 127) write_pixel(pen.canvas.surface, px, py, 0);
            } else if (alpha == 255) {
                write_pixel(pen.canvas.surface, px, py, pen.ink);
            } else if (alpha != 0) {
                write_pixel(pen.canvas.surface, px, py, blend(read_pixel(pen.canvas.surface, px, py, unused), pen.ink, alpha));
            }
        }
    }
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}

}  // namespace

int DrawTextW(HDC dc_handle, LPCWSTR text, int length, RECT* rect, UINT format) {
    const DC* dc = find_dc(dc_handle);
    const Font* font = dc ? find_font(dc->font) : nullptr;
    if (!font || !text || !rect || length < -1) return 0;
    FontFace* face = face_for(font->logfont);
    if (!face) return 0;

    const std::size_t count = length == -1 ? std::wcslen(text) : static_cast<std::size_t>(length);
    const std::int64_t rect_width = std::int64_t{rect->right} - rect->left;
    const std::int64_t rect_height = std::int64_t{rect->bottom} - rect->top;
    const std::vector<Line> lines =
        lay_out(*face, std::wstring(text, count), format, static_cast<int>(std::clamp<std::int64_t>(rect_width, 0, INT32_MAX)));
    const int line_height = face->height();
    const auto text_height = static_cast<int>(std::min<std::int64_t>(std::int64_t{line_height} * static_cast<std::int64_t>(lines.size()), INT32_MAX));

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const Line& line : lines) widest = std::max(widest, line.width);
        rect->right = static_cast<LONG>(std::min<std::int64_t>(std::int64_t{rect->left} + widest, INT32_MAX));
        rect->bottom = static_cast<LONG>(std::min<std::int64_t>(std::int64_t{rect->top} + text_height, INT32_MAX));
        return text_height;
    }

    const Canvas* found = resolve_canvas(*dc);
    if (!found) return 0;
    const Canvas& canvas = *found;
    const Rect clip = clip_to_canvas(canvas, rect->left, rect->top, rect_width, rect_height);
    std::int64_t top = std::int64_t{rect->top} + canvas.origin_y;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        top += (rect_height - line_height) / 2;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        top += rect_height - line_height;

    const bool mono = canvas.surface.format == PixelFormat::Mono1;
    const Pen pen{canvas, clip, pixel_from_colorref(dc->text), mono};
    Rect touched;
    for (const Line& line : lines) {
        std::int64_t x = std::int64_t{rect->left} + canvas.origin_x;
        if (format & DT_CENTER)
            x += (rect_width - line.width) / 2;
        else if (format & DT_RIGHT)
            x += rect_width - line.width;
        if (dc->background_mode == OPAQUE) {
            const Rect cell = clip_to_canvas(canvas, x - canvas.origin_x, top - canvas.origin_y, line.width, line_height);
            const Rect box = intersect(cell, clip);
            fill_block(canvas.surface, box, canvas_value(canvas, dc->background));
            touched = unite(touched, box);
        }
        for (wchar_t c : line.text) {
            const Glyph& g = face->glyph(c);
            touched = unite(touched, draw_glyph(pen, g, x + g.left, top + face->ascent() - g.top));
            x += g.advance;
        }
        top += line_height;
    }
    if (!touched.empty()) canvas_changed(canvas, touched);
    return text_height;
}
