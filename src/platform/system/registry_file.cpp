#include "system/registry_file.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "core/utf8.h"

namespace platform {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::size_t kWrapColumn = 76;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view name) {
    std::string out(name);
    for (char& c : out) c = lower(c);
    return out;
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
    return s;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to `most` hex digits and nothing else.
std::optional<DWORD> parse_hex_number(std::string_view s, std::size_t most) {
    if (s.empty() || s.size() > most) return std::nullopt;
    DWORD value = 0;
    for (const char c : s) {
        const int digit = hex_digit(c);
        if (digit < 0) return std::nullopt;
        value = (value << 4) | static_cast<DWORD>(digit);
    }
    return value;
}

// The next line of the file, with the lines that continue a value (after a trailing '\') joined on.
std::string_view next_line(std::string_view text, std::size_t* pos, std::string* joined) {
    auto take = [&] {
        const std::size_t end = text.find('\n', *pos);
        const std::string_view line = text.substr(*pos, end == std::string_view::npos ? end : end - *pos);
        *pos = end == std::string_view::npos ? text.size() : end + 1;
        return trim(line);
    };
    std::string_view line = take();
    if (line.empty() || (line[0] != '"' && line[0] != '@') || line.back() != '\\') return line;
    joined->assign(line.substr(0, line.size() - 1));
    while (*pos < text.size()) {
        const std::string_view more = take();
        if (more.empty() || more.back() != '\\') {
            joined->append(more);
            break;
        }
        joined->append(more.substr(0, more.size() - 1));
    }
    return *joined;
}

// A quoted string at the start of `s` with \" and \\ (any escaped character stands for itself);
// `s` is left after the closing quote.
std::optional<std::string> parse_quoted(std::string_view* s) {
    if (s->empty() || s->front() != '"') return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < s->size(); ++i) {
        const char c = (*s)[i];
        if (c == '"') {
            s->remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (++i == s->size()) break;
            out.push_back((*s)[i]);
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

// "01,02,ff": bytes of one or two hex digits, spaces allowed around them; an empty list is no
// bytes, and a comma may close the list.
std::optional<std::vector<BYTE>> parse_hex_list(std::string_view s) {
    std::vector<BYTE> bytes;
    s = trim(s);
    while (!s.empty()) {
        const std::size_t comma = s.find(',');
        const std::string_view item = trim(s.substr(0, comma));
        const auto value = parse_hex_number(item, 2);
        if (!value) return std::nullopt;
        bytes.push_back(static_cast<BYTE>(*value));
        if (comma == std::string_view::npos) break;
        s = trim(s.substr(comma + 1));
    }
    return bytes;
}

std::vector<BYTE> string_bytes(const std::string& text) {
    std::wstring wide = utf8_to_wide(text);
    wide.push_back(L'\0');
    std::vector<BYTE> bytes(wide.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), wide.data(), bytes.size());
    return bytes;
}

std::optional<RegistryData> parse_data(std::string_view s) {
    if (!s.empty() && s.front() == '"') {
        auto text = parse_quoted(&s);
        if (!text || !s.empty()) return std::nullopt;
        return RegistryData{REG_SZ, string_bytes(*text)};
    }
    if (s.starts_with("dword:")) {
        const auto value = parse_hex_number(s.substr(6), 8);
        if (!value) return std::nullopt;
        std::vector<BYTE> bytes(4);
        for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(*value >> (8 * i));
        return RegistryData{REG_DWORD, bytes};
    }
    DWORD type = REG_BINARY;
    if (s.starts_with("hex(")) {
        const std::size_t close = s.find("):");
        if (close == std::string_view::npos) return std::nullopt;
        const auto number = parse_hex_number(s.substr(4, close - 4), 8);
        if (!number) return std::nullopt;
        type = *number;
        s.remove_prefix(close + 2);
    } else if (s.starts_with("hex:")) {
        s.remove_prefix(4);
    } else {
        return std::nullopt;
    }
    auto bytes = parse_hex_list(s);
    if (!bytes) return std::nullopt;
    return RegistryData{type, std::move(*bytes)};
}

// `"Name"=data` or `@=data`.
bool parse_value(std::string_view line, std::string* name, RegistryData* data) {
    if (line.front() == '@') {
        name->clear();
        line.remove_prefix(1);
    } else {
        auto quoted = parse_quoted(&line);
        if (!quoted) return false;
        *name = std::move(*quoted);
    }
    line = trim(line);
    if (line.empty() || line.front() != '=') return false;
    auto parsed = parse_data(trim(line.substr(1)));
    if (!parsed) return false;
    *data = std::move(*parsed);
    return true;
}

// The key a `[...]` line names; nothing for a broken line or one that deletes a key.
std::optional<std::string_view> parse_key(std::string_view line) {
    if (line.size() < 2 || line.back() != ']') return std::nullopt;
    std::string_view path = line.substr(1, line.size() - 2);
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty() || path.front() == '-') return std::nullopt;
    for (const char c : path)
        if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    return path;
}

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// The text of a REG_SZ value that can be written between quotes: whole wide characters, one
// terminating zero and nothing after it, no control characters, nothing that is no character.
std::optional<std::string> quotable_text(const RegistryData& data) {
    if (data.type != REG_SZ || data.bytes.empty() || data.bytes.size() % sizeof(wchar_t) != 0) return std::nullopt;
    std::wstring wide(data.bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data.bytes.data(), data.bytes.size());
    if (wide.back() != L'\0') return std::nullopt;
    wide.pop_back();
    for (const wchar_t c : wide)
        if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return wide_to_utf8(wide);
}

void format_hex_list(const std::vector<BYTE>& bytes, std::string* out) {
    std::size_t column = out->size() - out->rfind('\n');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char item[4];
        std::snprintf(item, sizeof item, "%02x", bytes[i]);
        out->append(item);
        column += 2;
        if (i + 1 == bytes.size()) break;
        out->push_back(',');
        ++column;
        if (column >= kWrapColumn) {
            out->append("\\\n  ");
            column = 2;
        }
    }
}

void format_value(const std::string& name, const RegistryData& data, std::string* out) {
    out->append(name.empty() ? "@" : quote(name));
    out->push_back('=');
    if (data.type == REG_DWORD && data.bytes.size() == 4) {
        const DWORD value = DWORD{data.bytes[0]} | (DWORD{data.bytes[1]} << 8) | (DWORD{data.bytes[2]} << 16) |
                            (DWORD{data.bytes[3]} << 24);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", value);
        out->append(text);
    } else if (const auto text = quotable_text(data)) {
        out->append(quote(*text));
    } else {
        char prefix[24];
        if (data.type == REG_BINARY)
            std::snprintf(prefix, sizeof prefix, "hex:");
        else
            std::snprintf(prefix, sizeof prefix, "hex(%x):", data.type);
        out->append(prefix);
        format_hex_list(data.bytes, out);
    }
    out->push_back('\n');
}

// Appends the kept lines that stood before entry `entry`, from `*next` on.
bool format_kept(const KeptLines& kept, std::size_t entry, std::size_t* next, std::string* out) {
    const std::size_t first = *next;
    for (; *next < kept.size() && kept[*next].first <= entry; ++*next) out->append(kept[*next].second).push_back('\n');
    return *next > first;
}

}  // namespace

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

const RegistryData* RegistryKey::find(std::string_view name) const {
    const auto found = index_.find(folded(name));
    return found == index_.end() ? nullptr : &values_[found->second].second;
}

void RegistryKey::set(std::string_view name, RegistryData data) {
    const auto [found, added] = index_.try_emplace(folded(name), values_.size());
    if (added)
        values_.emplace_back(std::string(name), std::move(data));
    else
        values_[found->second].second = std::move(data);
}

bool RegistryKey::erase(std::string_view name) {
    const auto found = index_.find(folded(name));
    if (found == index_.end()) return false;
    const std::size_t position = found->second;
    index_.erase(found);
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [_, later] : index_)
        if (later > position) --later;
    for (auto& [before, _] : kept_)
        if (before > position) --before;
    return true;
}

const RegistryKey* RegistryDocument::find(std::string_view path) const {
    const auto found = index_.find(folded(path));
    return found == index_.end() ? nullptr : &keys_[found->second];
}

RegistryKey* RegistryDocument::find(std::string_view path) {
    return const_cast<RegistryKey*>(std::as_const(*this).find(path));
}

RegistryKey& RegistryDocument::make(std::string_view path) {
    const auto [found, added] = index_.try_emplace(folded(path), keys_.size());
    if (added) keys_.emplace_back().path = std::string(path);
    return keys_[found->second];
}

bool RegistryDocument::has(std::string_view path) const {
    if (find(path)) return true;
    for (const RegistryKey& key : keys_) {
        const std::string_view p = key.path;
        if (p.size() > path.size() && p[path.size()] == '\\' && same_name(p.substr(0, path.size()), path)) return true;
    }
    return false;
}

RegistryDocument parse_registry(std::string_view text) {
    RegistryDocument document;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    // The key the value lines belong to. Only a key line adds keys, and it sets this anew, so the
    // pointer never outlives a move of the keys.
    RegistryKey* current = nullptr;
    std::size_t pos = 0;
    std::string joined;
    std::string name;
    RegistryData data;
    bool header = true;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const std::string_view line = next_line(text, &pos, &joined);
        if (line.empty()) continue;
        if (std::exchange(header, false) && line == kHeader) continue;
        if (line.front() == '[') {
            current = nullptr;
            if (const auto path = parse_key(line)) {
                current = &document.make(*path);
                continue;
            }
        } else if (current && (line.front() == '"' || line.front() == '@') && parse_value(line, &name, &data)) {
            current->set(name, std::move(data));
            continue;
        }
        // Kept as it was written, every line of it; one that still asks for a continuation gets an
        // empty line after it, as the end of the file gave it, so that it never takes in what follows.
        std::string kept(text.substr(start, pos - start));
        if (!kept.empty() && kept.back() == '\n') kept.pop_back();
        if (trim(kept).ends_with('\\')) kept.push_back('\n');
        if (current)
            current->keep(kept);
        else
            document.keep(kept);
    }
    return document;
}

std::string format_registry(const RegistryDocument& document) {
    std::string out(kHeader);
    out.append("\n\n");
    std::size_t outside = 0;
    for (std::size_t k = 0; k <= document.keys().size(); ++k) {
        if (format_kept(document.kept(), k, &outside, &out)) out.push_back('\n');
        if (k == document.keys().size()) break;
        const RegistryKey& key = document.keys()[k];
        out.append("[").append(key.path).append("]\n");
        std::size_t inside = 0;
        for (std::size_t v = 0; v < key.values().size(); ++v) {
            format_kept(key.kept(), v, &inside, &out);
            format_value(key.values()[v].first, key.values()[v].second, &out);
        }
        format_kept(key.kept(), key.values().size(), &inside, &out);
        out.push_back('\n');
    }
    return out;
}

}  // namespace platform
