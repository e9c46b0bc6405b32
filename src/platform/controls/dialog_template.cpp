// Reading the text form of dialog templates.
#include "controls/dialog_template.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "core/utf8.h"
#include "platform/controls.h"

namespace platform {
namespace {

struct StyleName {
    std::string_view name;
    DWORD value;
};

constexpr StyleName kStyles[] = {
    {"WS_POPUP", WS_POPUP},
    {"WS_CHILD", WS_CHILD},
    {"WS_VISIBLE", WS_VISIBLE},
    {"WS_DISABLED", WS_DISABLED},
    {"WS_BORDER", WS_BORDER},
    {"WS_VSCROLL", WS_VSCROLL},
    {"WS_GROUP", WS_GROUP},
    {"WS_TABSTOP", WS_TABSTOP},
    {"DS_SETFONT", DS_SETFONT},
    {"SS_LEFT", SS_LEFT},
    {"SS_ICON", SS_ICON},
    {"SS_BITMAP", SS_BITMAP},
    {"SS_NOPREFIX", SS_NOPREFIX},
    {"SS_NOTIFY", SS_NOTIFY},
    {"BS_GROUPBOX", BS_GROUPBOX},
    {"ES_RIGHT", ES_RIGHT},
    {"ES_NUMBER", ES_NUMBER},
    {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
    {"CBS_SORT", CBS_SORT},
    {"UDS_SETBUDDYINT", UDS_SETBUDDYINT},
    {"UDS_ALIGNRIGHT", UDS_ALIGNRIGHT},
    {"UDS_AUTOBUDDY", UDS_AUTOBUDDY},
};

// One line split into words and quoted strings; `quoted` tells which is which.
struct Token {
    std::string text;
    bool quoted = false;
};

std::optional<std::vector<Token>> tokenize(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token t{{}, true};
            for (++i;; ++i) {
                if (i >= line.size()) return std::nullopt;
                if (line[i] == '"') break;
                if (line[i] == '\\') {
                    if (++i >= line.size()) return std::nullopt;
                    const char e = line[i];
                    if (e == 'n') t.text += '\n';
                    else if (e == '"' || e == '\\') t.text += e;
                    else return std::nullopt;
                } else {
                    t.text += line[i];
                }
            }
            ++i;
            tokens.push_back(std::move(t));
        } else {
            const std::size_t end = line.find_first_of(" \t\r\"", i);
            const std::size_t stop = end == std::string_view::npos ? line.size() : end;
            tokens.push_back({std::string(line.substr(i, stop - i)), false});
            i = stop;
        }
    }
    return tokens;
}

// A decimal or 0x-prefixed hexadecimal number within [low, high].
std::optional<long> number(const Token& t, long low, long high) {
    if (t.quoted || t.text.empty()) return std::nullopt;
    std::string_view digits = t.text;
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
        base = 16;
    }
    long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc{} || end != digits.data() + digits.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<DWORD> styles(const std::vector<Token>& tokens, std::size_t from) {
    DWORD style = 0;
    for (std::size_t i = from; i < tokens.size(); ++i) {
        if (const auto n = number(tokens[i], 0, 0xFFFFFFFFL)) {
            style |= static_cast<DWORD>(*n);
            continue;
        }
        bool known = false;
        for (const StyleName& s : kStyles)
            if (!tokens[i].quoted && tokens[i].text == s.name) {
                style |= s.value;
                known = true;
            }
        if (!known) return std::nullopt;
    }
    return style;
}

// Four numbers from `from` on: x, y, width, height.
std::optional<RECT> placement(const std::vector<Token>& tokens, std::size_t from) {
    constexpr long kLimit = 0x7FFF;
    long v[4];
    for (std::size_t i = 0; i < 4; ++i) {
        const auto n = number(tokens[from + i], i < 2 ? -kLimit : 0, kLimit);
        if (!n) return std::nullopt;
        v[i] = *n;
    }
    return RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[0] + v[2]),
                static_cast<LONG>(v[1] + v[3])};
}

bool read_control(const std::vector<Token>& t, DialogTemplate& dialog) {
    if (t.size() < 8 || t[1].quoted || !t[7].quoted) return false;
    const auto id = number(t[2], 0, 0xFFFF);
    const auto where = placement(t, 3);
    const auto style = styles(t, 8);
    if (!id || !where || !style) return false;
    dialog.items.push_back({utf8_to_wide(t[1].text), static_cast<WORD>(*id), *where, utf8_to_wide(t[7].text), *style});
    return true;
}

bool read_statement(const std::vector<Token>& t, DialogTemplate& dialog, bool& placed) {
    const std::string& word = t[0].text;
    if (t[0].quoted) return false;
    if (word == "dialog") {
        const auto where = t.size() == 5 ? placement(t, 1) : std::nullopt;
        if (!where || placed) return false;
        dialog.units = *where;
        placed = true;
        return true;
    }
    if (word == "style") {
        const auto style = styles(t, 1);
        if (!style) return false;
        dialog.style |= *style;
        return true;
    }
    if (word == "font") {
        const auto points = t.size() == 3 && t[2].quoted ? number(t[1], 1, 72) : std::nullopt;
        if (!points) return false;
        dialog.font_points = static_cast<int>(*points);
        dialog.font_face = utf8_to_wide(t[2].text);
        return true;
    }
    if (word == "control") return read_control(t, dialog);
    return false;
}

}  // namespace

std::optional<DialogTemplate> parse_dialog_template(const std::uint8_t* text, std::size_t size) {
    if (!text) return std::nullopt;
    const std::string_view all(reinterpret_cast<const char*>(text), size);
    DialogTemplate dialog;
    bool placed = false;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = std::min(all.find('\n', start), all.size());
        const auto tokens = tokenize(all.substr(start, end - start));
        if (!tokens) return std::nullopt;
        if (!tokens->empty() && !read_statement(*tokens, dialog, placed)) return std::nullopt;
        start = end + 1;
    }
    if (!placed) return std::nullopt;
    return dialog;
}

}  // namespace platform
