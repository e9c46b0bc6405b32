// Dialog templates as the resources hold them: readable text, one line per statement.
//
//   dialog X Y WIDTH HEIGHT          placement and size in dialog units
//   style NAME...                    the dialog's styles, by name or number, OR-ed together
//   font POINTS "FACE"
//   control CLASS ID X Y WIDTH HEIGHT "TEXT" STYLE...
//
// Controls keep their order, which is also the Tab order. A text "#n" names resource n (the
// picture of an SS_BITMAP or SS_ICON static). In quoted text \n is a line break, \" a quote and
// \\ a backslash. '#' outside quotes starts a comment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

struct DialogItemTemplate {
    std::wstring class_name;
    WORD id = 0;
    RECT units{};  // left, top, right, bottom in dialog units
    std::wstring text;
    DWORD style = 0;
};

struct DialogTemplate {
    RECT units{};
    DWORD style = 0;
    int font_points = 0;
    std::wstring font_face;
    std::vector<DialogItemTemplate> items;
};

// Nothing when the text is not a whole, well-formed template: an unknown statement or style name,
// a missing field, a number out of range, an unterminated string, no "dialog" line.
std::optional<DialogTemplate> parse_dialog_template(const std::uint8_t* text, std::size_t size);

}  // namespace platform
